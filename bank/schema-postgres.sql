-- The question bank on a school server (PostgreSQL): the same tables, saved queries and steps as
-- schema.sql, in this engine's words. Names are unquoted, so the server folds them to lower case;
-- the program reads columns by name without regard to case.
--
-- What stands before the first step is the bank at version 0; each "-- step N: ..." section brings
-- it to version N, with the same N as schema.sql up to 5; the steps after it are the server's
-- alone (learners and roles). The version is the one row of tblSchemaVersion.
-- make-datadir --postgres builds the whole of it in one transaction; the program itself never
-- changes a server's schema, since every PC shares it.
--
-- The exam being taken (tblAzmoon, tblAzmoonTartib) is each program run's own: its rows carry the
-- run's key (the setting ravex.session, set on every connection) and the windows see them through
-- views of that key alone, so "Delete * from tblAzmoon" on one PC leaves the others' exams. Row
-- level security on the tables behind the views holds the same rule for any other way in.

CREATE TABLE tblSchemaVersion (
    Single  BOOLEAN PRIMARY KEY DEFAULT TRUE CHECK (Single),
    Version INTEGER NOT NULL
);
INSERT INTO tblSchemaVersion (Version) VALUES (0);

CREATE TABLE tblNoeSoal (
    NoeSoal TEXT PRIMARY KEY NOT NULL,
    Farsi   TEXT NOT NULL,
    Tartib  INTEGER NOT NULL UNIQUE
);

CREATE TABLE tblSoal (
    ID          INTEGER PRIMARY KEY CHECK (ID BETWEEN 1 AND 32767),
    Majmooe     TEXT NOT NULL CHECK (Majmooe IN ('general', 'signs', 'old')),
    Azmoon      INTEGER NOT NULL DEFAULT 1 CHECK (Azmoon IN (0, 1)),
    NoeSoal     TEXT NOT NULL REFERENCES tblNoeSoal (NoeSoal),
    SoorateSoal TEXT NOT NULL DEFAULT '',
    G1          TEXT NOT NULL DEFAULT '',
    G2          TEXT NOT NULL DEFAULT '',
    G3          TEXT NOT NULL DEFAULT '',
    G4          TEXT NOT NULL DEFAULT '',
    G_Sahih     INTEGER NOT NULL CHECK (G_Sahih BETWEEN 1 AND 4),
    Shekl       INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX tblSoal_NoeSoal ON tblSoal (NoeSoal);
CREATE INDEX tblSoal_NoeSoal_Majmooe ON tblSoal (NoeSoal, Majmooe);
CREATE INDEX tblSoal_Majmooe ON tblSoal (Majmooe);

-- Every run's exam being taken, under the run's key.
CREATE TABLE tblAzmoonSessions (
    Session     TEXT NOT NULL DEFAULT current_setting('ravex.session'),
    ID          INTEGER NOT NULL,
    SoorateSoal TEXT,
    G1          TEXT,
    G2          TEXT,
    G3          TEXT,
    G4          TEXT,
    G_Sahih     INTEGER,
    Shekl       INTEGER,
    NoeSoal     TEXT,
    PRIMARY KEY (Session, ID)
);
ALTER TABLE tblAzmoonSessions ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblAzmoonSessions FORCE ROW LEVEL SECURITY;
CREATE POLICY tblAzmoonSessions_own ON tblAzmoonSessions
    USING (Session = current_setting('ravex.session', true))
    WITH CHECK (Session = current_setting('ravex.session', true));
-- The run's own exam, as the windows name it; a plain view of one table takes their deletes,
-- inserts and updates, the key coming from the column's default.
CREATE VIEW tblAzmoon AS
    SELECT ID, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl, NoeSoal FROM tblAzmoonSessions
    WHERE Session = current_setting('ravex.session', true)
    WITH CASCADED CHECK OPTION;

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

CREATE VIEW qryNoeSoal AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'general')
    ORDER BY c.Tartib;
CREATE VIEW qryNoeSoaleTabloha AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'signs')
    ORDER BY c.Tartib;
CREATE VIEW qryNoeSoalatOLD AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Majmooe = 'old')
    ORDER BY c.Tartib;
CREATE VIEW qryNoeSoaleAzmoon AS
    SELECT c.NoeSoal AS NoeSoal FROM tblNoeSoal c
    WHERE EXISTS (SELECT 1 FROM tblSoal s WHERE s.NoeSoal = c.NoeSoal AND s.Azmoon = 1)
    ORDER BY c.Tartib;

CREATE FUNCTION qrySoalat_update() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    UPDATE tblSoal SET NoeSoal = NEW.NoeSoal, SoorateSoal = NEW.SoorateSoal, G1 = NEW.G1, G2 = NEW.G2,
        G3 = NEW.G3, G4 = NEW.G4, G_Sahih = NEW.G_Sahih, Shekl = NEW.Shekl
    WHERE ID = OLD.ID AND Majmooe = 'general';
    RETURN NEW;
END;
$$;
CREATE TRIGGER qrySoalat_update INSTEAD OF UPDATE ON qrySoalat FOR EACH ROW EXECUTE FUNCTION qrySoalat_update();
CREATE FUNCTION qryTabloha_update() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    UPDATE tblSoal SET NoeSoal = NEW.NoeSoal, SoorateSoal = NEW.SoorateSoal, G1 = NEW.G1, G2 = NEW.G2,
        G3 = NEW.G3, G4 = NEW.G4, G_Sahih = NEW.G_Sahih, Shekl = NEW.Shekl
    WHERE ID = OLD.ID AND Majmooe = 'signs';
    RETURN NEW;
END;
$$;
CREATE TRIGGER qryTabloha_update INSTEAD OF UPDATE ON qryTabloha FOR EACH ROW EXECUTE FUNCTION qryTabloha_update();

-- step 1: the learner's history
CREATE TABLE IF NOT EXISTS tblExamHistory (
    ExamID    INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    TakenAt   TEXT NOT NULL,
    Seconds   INTEGER NOT NULL,
    PassMark  INTEGER NOT NULL,
    Questions INTEGER NOT NULL,
    Correct   INTEGER NOT NULL,
    Wrong     INTEGER NOT NULL,
    Passed    INTEGER NOT NULL CHECK (Passed IN (0, 1)),
    Kind      TEXT NOT NULL DEFAULT 'main' CHECK (Kind IN ('main', 'mistakes'))
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
-- How the run's exam was dealt, under the run's key as its questions are.
CREATE TABLE IF NOT EXISTS tblAzmoonTartibSessions (
    Session  TEXT NOT NULL DEFAULT current_setting('ravex.session'),
    Position INTEGER NOT NULL,
    ID       INTEGER NOT NULL,
    O1       INTEGER NOT NULL,
    O2       INTEGER NOT NULL,
    O3       INTEGER NOT NULL,
    O4       INTEGER NOT NULL,
    PRIMARY KEY (Session, Position),
    UNIQUE (Session, ID)
);
ALTER TABLE tblAzmoonTartibSessions ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblAzmoonTartibSessions FORCE ROW LEVEL SECURITY;
CREATE POLICY tblAzmoonTartibSessions_own ON tblAzmoonTartibSessions
    USING (Session = current_setting('ravex.session', true))
    WITH CHECK (Session = current_setting('ravex.session', true));
CREATE OR REPLACE VIEW tblAzmoonTartib AS
    SELECT Position, ID, O1, O2, O3, O4 FROM tblAzmoonTartibSessions
    WHERE Session = current_setting('ravex.session', true)
    WITH CASCADED CHECK OPTION;

-- step 2: explanations of the questions
CREATE TABLE IF NOT EXISTS tblSharh (
    ID    INTEGER PRIMARY KEY,
    Sharh TEXT NOT NULL
);

-- step 3: the program's own settings
CREATE TABLE IF NOT EXISTS tblTanzimatJadid (
    Name  TEXT PRIMARY KEY NOT NULL,
    Value TEXT
);

-- step 4: the Leitner box and practice answers
CREATE TABLE IF NOT EXISTS tblLeitner (
    ID          INTEGER PRIMARY KEY,
    Box         INTEGER NOT NULL CHECK (Box BETWEEN 1 AND 5),
    Due         TEXT NOT NULL,
    Fingerprint TEXT NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS tblLeitnerState (
    ID           INTEGER PRIMARY KEY CHECK (ID = 1),
    NewPerDay    INTEGER NOT NULL DEFAULT 20,
    LastNewDay   TEXT,
    NewOnLastDay INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE IF NOT EXISTS tblPractice (
    PracticeID INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY,
    AnsweredAt TEXT NOT NULL,
    QuestionID INTEGER NOT NULL,
    IsRight    INTEGER NOT NULL CHECK (IsRight IN (0, 1))
);

-- step 5: a running summary of each question's answers
CREATE TABLE IF NOT EXISTS tblAnswerSummary (
    QuestionID  INTEGER PRIMARY KEY,
    Answered    INTEGER NOT NULL,
    RightCount  INTEGER NOT NULL,
    RefDay      INTEGER NOT NULL,
    Weight      DOUBLE PRECISION NOT NULL,
    RightWeight DOUBLE PRECISION NOT NULL
);

-- step 6: learners, each one's own history and practice, and the school's two roles
-- Who practises is the setting ravex.learner, set on every connection like the run's key: every
-- result row carries it and row level security (forced, so the owner is held too) lets a session
-- read and write its own learner's rows alone. A session of the instructor's role that names no
-- learner reads every learner's history, for the instructor's report; the box, its state and the
-- answers' summary stay each learner's own, so no window ever mixes two learners' practice.
-- The roles ravex_instructor and ravex_learner are made (NOLOGIN) by make-datadir before this runs.
CREATE TABLE IF NOT EXISTS tblLearners (
    Name TEXT PRIMARY KEY NOT NULL CHECK (btrim(Name) <> '')
);

CREATE FUNCTION ravex_reads_learner(learner TEXT) RETURNS boolean LANGUAGE sql STABLE AS $$
    SELECT learner = coalesce(current_setting('ravex.learner', true), '')
        OR (coalesce(current_setting('ravex.learner', true), '') = ''
            AND pg_has_role('ravex_instructor', 'MEMBER'))
$$;

ALTER TABLE tblExamHistory ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
ALTER TABLE tblExamAnswers ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
ALTER TABLE tblPractice ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
CREATE INDEX tblExamHistory_Learner ON tblExamHistory (Learner);
CREATE INDEX tblPractice_Learner ON tblPractice (Learner);

ALTER TABLE tblLeitner ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
ALTER TABLE tblLeitner DROP CONSTRAINT tblleitner_pkey;
ALTER TABLE tblLeitner ADD PRIMARY KEY (Learner, ID);
ALTER TABLE tblLeitnerState ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
ALTER TABLE tblLeitnerState DROP CONSTRAINT tblleitnerstate_pkey;
ALTER TABLE tblLeitnerState ADD PRIMARY KEY (Learner, ID);
ALTER TABLE tblAnswerSummary ADD COLUMN Learner TEXT NOT NULL DEFAULT current_setting('ravex.learner');
ALTER TABLE tblAnswerSummary DROP CONSTRAINT tblanswersummary_pkey;
ALTER TABLE tblAnswerSummary ADD PRIMARY KEY (Learner, QuestionID);

ALTER TABLE tblExamHistory ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblExamHistory FORCE ROW LEVEL SECURITY;
CREATE POLICY tblExamHistory_learner ON tblExamHistory USING (ravex_reads_learner(Learner))
    WITH CHECK (Learner = current_setting('ravex.learner', true));
ALTER TABLE tblExamAnswers ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblExamAnswers FORCE ROW LEVEL SECURITY;
CREATE POLICY tblExamAnswers_learner ON tblExamAnswers USING (ravex_reads_learner(Learner))
    WITH CHECK (Learner = current_setting('ravex.learner', true));
ALTER TABLE tblPractice ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblPractice FORCE ROW LEVEL SECURITY;
CREATE POLICY tblPractice_learner ON tblPractice USING (ravex_reads_learner(Learner))
    WITH CHECK (Learner = current_setting('ravex.learner', true));
ALTER TABLE tblLeitner ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblLeitner FORCE ROW LEVEL SECURITY;
CREATE POLICY tblLeitner_learner ON tblLeitner USING (Learner = current_setting('ravex.learner', true))
    WITH CHECK (Learner = current_setting('ravex.learner', true));
ALTER TABLE tblLeitnerState ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblLeitnerState FORCE ROW LEVEL SECURITY;
CREATE POLICY tblLeitnerState_learner ON tblLeitnerState
    USING (Learner = current_setting('ravex.learner', true))
    WITH CHECK (Learner = current_setting('ravex.learner', true));
ALTER TABLE tblAnswerSummary ENABLE ROW LEVEL SECURITY;
ALTER TABLE tblAnswerSummary FORCE ROW LEVEL SECURITY;
CREATE POLICY tblAnswerSummary_learner ON tblAnswerSummary
    USING (Learner = current_setting('ravex.learner', true))
    WITH CHECK (Learner = current_setting('ravex.learner', true));

-- What each role may do: both read the bank and keep their own results (the policies above say
-- whose), and the exam being taken; the instructor alone changes questions and explanations.
GRANT SELECT ON tblSchemaVersion, tblNoeSoal, tblSoal, tblSharh, qrySoalat, qryTabloha, qrySoalatOLD,
    qrySoalateAzmoon, qryNoeSoal, qryNoeSoaleTabloha, qryNoeSoalatOLD, qryNoeSoaleAzmoon
    TO ravex_instructor, ravex_learner;
GRANT SELECT, INSERT, UPDATE, DELETE ON tblAzmoonSessions, tblAzmoon, tblAzmoonTartibSessions,
    tblAzmoonTartib, tblExamHistory, tblExamAnswers, tblPractice, tblLeitner, tblLeitnerState,
    tblAnswerSummary, tblTanzimat, tblTanzimatJadid TO ravex_instructor, ravex_learner;
GRANT SELECT, INSERT ON tblLearners TO ravex_instructor, ravex_learner;
GRANT UPDATE, DELETE ON tblLearners TO ravex_instructor;
GRANT INSERT, UPDATE, DELETE ON tblSoal, tblNoeSoal, tblSharh TO ravex_instructor;
GRANT UPDATE ON qrySoalat, qryTabloha TO ravex_instructor;
DO $$
BEGIN
    EXECUTE format('GRANT USAGE, SELECT ON SEQUENCE %s, %s TO ravex_instructor, ravex_learner',
                   pg_get_serial_sequence('tblExamHistory', 'examid'),
                   pg_get_serial_sequence('tblPractice', 'practiceid'));
END;
$$;

-- An exam or a practice answer kept on a PC while the server was out of reach is uploaded later
-- under a key the PC made for it: a retry after a lost acknowledgement inserts nothing twice.
ALTER TABLE tblExamHistory ADD COLUMN ClientKey UUID UNIQUE;
ALTER TABLE tblPractice ADD COLUMN ClientKey UUID UNIQUE;
