-- The question bank. The windows read questions through the views, which carry the names the
-- windows ask for and return rows in ascending ID order; the two browsable collections take
-- edits through INSTEAD OF UPDATE triggers.
--
-- What stands before the first step is the bank as it was before it kept a version (version 0).
-- Each "-- step N: ..." section after it brings a bank from version N-1 to N; a bank records the
-- last step it has in its header (PRAGMA user_version). The program gives an older bank the steps
-- it lacks when it opens it, each step in one transaction, so a step must also do no harm to a
-- bank that has some of it already (IF NOT EXISTS): the tables it finds must have the columns the
-- step gives them, or the step is undone. A change to the schema is one more step at the end; a
-- step once shipped is never changed.

CREATE TABLE tblNoeSoal (
    NoeSoal TEXT PRIMARY KEY NOT NULL,
    Farsi   TEXT NOT NULL,
    -- the order of every category list; the main window's sign buttons pick categories by it
    Tartib  INTEGER NOT NULL UNIQUE
);

CREATE TABLE tblSoal (
    ID          INTEGER PRIMARY KEY CHECK (ID BETWEEN 1 AND 32767),
    -- general: the review window; signs: signs and right of way; old: the past years' archive
    Majmooe     TEXT NOT NULL CHECK (Majmooe IN ('general', 'signs', 'old')),
    -- 1 when an exam may draw the question (and the editor may change it)
    Azmoon      INTEGER NOT NULL DEFAULT 1 CHECK (Azmoon IN (0, 1)),
    NoeSoal     TEXT NOT NULL REFERENCES tblNoeSoal (NoeSoal),
    SoorateSoal TEXT NOT NULL DEFAULT '',
    G1          TEXT NOT NULL DEFAULT '',
    G2          TEXT NOT NULL DEFAULT '',
    G3          TEXT NOT NULL DEFAULT '',
    G4          TEXT NOT NULL DEFAULT '',
    G_Sahih     INTEGER NOT NULL CHECK (typeof(G_Sahih) = 'integer' AND G_Sahih BETWEEN 1 AND 4),
    Shekl       INTEGER NOT NULL DEFAULT 0
);
-- Chosen by measuring on banks of up to a million questions (EXPLAIN QUERY PLAN): a category of a
-- collection is read and counted in ID order on (NoeSoal, Majmooe) and whether it has a question
-- is one look-up there; a whole collection on (Majmooe); the exam pool's categories on (NoeSoal),
-- which keeps ID order where (NoeSoal, Majmooe) would need a sort.
CREATE INDEX tblSoal_NoeSoal ON tblSoal (NoeSoal);
CREATE INDEX tblSoal_NoeSoal_Majmooe ON tblSoal (NoeSoal, Majmooe);
CREATE INDEX tblSoal_Majmooe ON tblSoal (Majmooe);

-- The exam being taken: the drawn questions with their options in shuffled order.
CREATE TABLE tblAzmoon (
    ID          INTEGER PRIMARY KEY,
    SoorateSoal TEXT,
    G1          TEXT,
    G2          TEXT,
    G3          TEXT,
    G4          TEXT,
    G_Sahih     INTEGER,
    Shekl       INTEGER,
    NoeSoal     TEXT
);

CREATE TABLE tblTanzimat (
    Music TEXT
);

CREATE VIEW qrySoalat AS
    SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl
    FROM tblSoal WHERE Majmooe = 'general' ORDER BY ID;
CREATE VIEW qryTabloha AS
    SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl
    FROM tblSoal WHERE Majmooe = 'signs' ORDER BY ID;
CREATE VIEW qrySoalatOLD AS
    SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl
    FROM tblSoal WHERE Majmooe = 'old' ORDER BY ID;
CREATE VIEW qrySoalateAzmoon AS
    SELECT ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl
    FROM tblSoal WHERE Azmoon = 1 ORDER BY ID;

-- The categories that have a question in a collection, in list order: each category is asked
-- whether it has one (an index look-up), so the list costs the same however many questions there are.
-- The grouping keeps each view a result of its own, so a join with it keeps the list order.
CREATE VIEW qryNoeSoal AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'general')
    GROUP BY c.NoeSoal ORDER BY min(c.Tartib);
CREATE VIEW qryNoeSoaleTabloha AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'signs')
    GROUP BY c.NoeSoal ORDER BY min(c.Tartib);
CREATE VIEW qryNoeSoalatOLD AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'old')
    GROUP BY c.NoeSoal ORDER BY min(c.Tartib);
CREATE VIEW qryNoeSoaleAzmoon AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Azmoon = 1)
    GROUP BY c.NoeSoal ORDER BY min(c.Tartib);

CREATE TRIGGER qrySoalat_update INSTEAD OF UPDATE ON qrySoalat
BEGIN
    UPDATE tblSoal SET NoeSoal = NEW.NoeSoal, SoorateSoal = NEW.SoorateSoal, G1 = NEW.G1, G2 = NEW.G2,
        G3 = NEW.G3, G4 = NEW.G4, G_Sahih = NEW.G_Sahih, Shekl = NEW.Shekl
    WHERE ID = OLD.ID AND Majmooe = 'general';
END;
CREATE TRIGGER qryTabloha_update INSTEAD OF UPDATE ON qryTabloha
BEGIN
    UPDATE tblSoal SET NoeSoal = NEW.NoeSoal, SoorateSoal = NEW.SoorateSoal, G1 = NEW.G1, G2 = NEW.G2,
        G3 = NEW.G3, G4 = NEW.G4, G_Sahih = NEW.G_Sahih, Shekl = NEW.Shekl
    WHERE ID = OLD.ID AND Majmooe = 'signs';
END;

-- step 1: the learner's history
-- Every graded exam and its answers, in the source's option numbering, read through the shuffle
-- the exam being taken was dealt in (tblAzmoonTartib).
CREATE TABLE IF NOT EXISTS tblExamHistory (
    ExamID   INTEGER PRIMARY KEY AUTOINCREMENT,
    TakenAt  TEXT NOT NULL,
    Seconds  INTEGER NOT NULL,
    PassMark INTEGER NOT NULL,
    Questions INTEGER NOT NULL,
    Correct  INTEGER NOT NULL,
    Wrong    INTEGER NOT NULL,
    Passed   INTEGER NOT NULL CHECK (Passed IN (0, 1)),
    Kind     TEXT NOT NULL DEFAULT 'main' CHECK (Kind IN ('main', 'mistakes'))
);
CREATE TABLE IF NOT EXISTS tblExamAnswers (
    ExamID     INTEGER NOT NULL REFERENCES tblExamHistory (ExamID) ON DELETE CASCADE,
    Position   INTEGER NOT NULL,
    QuestionID INTEGER NOT NULL,
    Chosen     INTEGER CHECK (Chosen BETWEEN 1 AND 4),
    Correct    INTEGER CHECK (Correct BETWEEN 1 AND 4),
    PRIMARY KEY (ExamID, Position)
);
CREATE INDEX IF NOT EXISTS tblExamAnswers_QuestionID ON tblExamAnswers (QuestionID);
CREATE TABLE IF NOT EXISTS tblAzmoonTartib (
    Position INTEGER PRIMARY KEY,
    ID       INTEGER NOT NULL UNIQUE,
    O1       INTEGER NOT NULL,
    O2       INTEGER NOT NULL,
    O3       INTEGER NOT NULL,
    O4       INTEGER NOT NULL
);

-- step 2: explanations of the questions
-- One explanation a question, by its number.
CREATE TABLE IF NOT EXISTS tblSharh (
    ID    INTEGER PRIMARY KEY,
    Sharh TEXT NOT NULL
);

-- step 3: the program's own settings
-- One value a setting, by its name; tblTanzimat keeps its one row of the music file as before.
CREATE TABLE IF NOT EXISTS tblTanzimatJadid (
    Name  TEXT PRIMARY KEY NOT NULL,
    Value TEXT
);

-- step 4: the Leitner box and practice answers
-- A question's box (1..5) and the day it is due again; Fingerprint is its text as it was when it
-- joined, so an edited question leaves the box and joins afresh.
CREATE TABLE IF NOT EXISTS tblLeitner (
    ID          INTEGER PRIMARY KEY,
    Box         INTEGER NOT NULL CHECK (Box BETWEEN 1 AND 5),
    Due         TEXT NOT NULL,
    Fingerprint TEXT NOT NULL DEFAULT ''
);
-- One row: how many new questions join a day, and how many joined on the last day any did.
CREATE TABLE IF NOT EXISTS tblLeitnerState (
    ID           INTEGER PRIMARY KEY CHECK (ID = 1),
    NewPerDay    INTEGER NOT NULL DEFAULT 20,
    LastNewDay   TEXT,
    NewOnLastDay INTEGER NOT NULL DEFAULT 0
);
-- Every answer given in the Leitner box, on the local calendar day it was given.
CREATE TABLE IF NOT EXISTS tblPractice (
    PracticeID INTEGER PRIMARY KEY AUTOINCREMENT,
    AnsweredAt TEXT NOT NULL,
    QuestionID INTEGER NOT NULL,
    IsRight    INTEGER NOT NULL CHECK (IsRight IN (0, 1))
);

-- step 5: a running summary of each question's answers
-- Every question answered, exam or practice: how many answers and how many right, and the answers
-- weighed by their age as seen from RefDay (a Julian day number, its latest answer's day), so the
-- chance of passing reads one row a question. The program fills it from the answers when it is
-- empty and they are not, and adds to it in the transaction that keeps an answer.
CREATE TABLE IF NOT EXISTS tblAnswerSummary (
    QuestionID  INTEGER PRIMARY KEY,
    Answered    INTEGER NOT NULL,
    RightCount  INTEGER NOT NULL,
    RefDay      INTEGER NOT NULL,
    Weight      REAL NOT NULL,
    RightWeight REAL NOT NULL
);
