#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class QSqlDatabase;

// Every SQL text the program sends to the bank, by purpose; no other folder spells one out.
//
// The texts of namespace sql are the ones the windows have always sent, in the bank's own dialect
// and word for word, over the saved queries by name; the data layer adapts them to the engine
// (data/JetSql.h), so they are the same whatever engine keeps the bank. Everything else is in the
// engine's own dialect, in an EngineSql: another engine is one more implementation of it.

// The question collections, each read through saved queries of its own.
enum class Collection {
    General,  // qrySoalat: the question review window
    Signs,    // qryTabloha: signs and right of way
    Old,      // qrySoalatOLD: the past years' archive, never drawn into an exam
    ExamPool, // qrySoalateAzmoon: what an exam may draw and the editor may change
};

namespace sql {

// The collection's categories as (NoeSoal, Farsi), in list order.
QString CategoryList(Collection collection);
// Every question of the collection; empty for the exam pool, which is read only by category.
QString Questions(Collection collection);
// The start of the collection's questions of one category: the quoted code and an apostrophe
// complete it.
QString CategoryFilterPrefix(Collection collection);

// The exam pool's question numbers from low up to, not including, high.
QString ExamPoolNumbers(int low, int high);
// The exam pool's questions a condition names (terms "ID=" + number joined by " Or ").
QString ExamPoolWhere(const QString& condition);
// The exam being taken: emptied, opened by name to append to, and read back.
QString ClearExam();
QString ExamTable();
QString ExamQuestions();

// Where a save looks for question number: among the general questions, then among the signs.
QStringList SaveLookups(const QString& number);
// The one settings row's music file.
QString MusicSetting();

} // namespace sql

// The texts of the engine's own dialect.
class EngineSql {
public:
    virtual ~EngineSql() = default;

    // --- The connection
    virtual QString OpenConnection() const = 0; // run once on every new connection
    virtual QString ProbeBank() const = 0;      // a read that fails on a file that is not a database
    virtual QString BeginWrite() const = 0;     // takes the write lock at once
    virtual QString Commit() const = 0;
    virtual QString Rollback() const = 0;
    // How long a statement waits for another program's lock, in milliseconds: read and set.
    virtual QString BusyTimeout() const = 0;
    virtual QString SetBusyTimeout(int ms) const = 0;
    // One row of table written back: "col = ?" terms, and the terms that find the row.
    virtual QString UpdateRow(const QString& table, const QStringList& sets,
                              const QStringList& where) const = 0;
    // One row appended to table, a bound value per column.
    virtual QString InsertRow(const QString& table, const QStringList& columns) const = 0;
    // A term that finds a row by a column's bound value, a null matching a null.
    virtual QString SameValueTerm(const QString& column) const = 0;
    // A text of the windows, already freed of Jet's own words (jetsql::Adapt), as this engine
    // must read it to give the same rows in the same order.
    virtual QString FinishJet(const QString& adapted) const = 0;
    // How many rows a SELECT with an ID column gives, counting the IDs alone.
    virtual QString CountIds(const QString& select) const = 0;

    // --- The schema and its version
    virtual QString ReadSchemaVersion() const = 0;
    virtual QString SetSchemaVersion(int version) const = 0;
    // Whether a table or view of the bound name exists: one row holding 1 or 0.
    virtual QString HasObject() const = 0;
    // The names of the bank's tables, one a row.
    virtual QString TableNames() const = 0;
    // The columns of the table of the bound name, one a row: name, type, not-null, default,
    // primary-key place.
    virtual QString TableColumns() const = 0;
    // A bank of the exam's table alone, where the exam goes when the bank cannot be written.
    virtual QString CreateScratchExamTable() const = 0;

    // --- The questions, read through the collections' queries
    // The questions of the given numbers, wherever a collection holds them, in the order given.
    virtual QString QuestionsInOrder(const QVector<int>& ids) const = 0;

    // --- The history of graded exams
    virtual QString CountHistoryTables() const = 0;
    virtual QString ClearExamOrder() const = 0;
    virtual QString AddExamOrder() const = 0; // Position, ID, O1..O4
    virtual QString ReadExamOrder() const = 0;
    // TakenAt, Seconds, PassMark, Questions, Correct, Wrong, Passed, Kind; where the engine can,
    // the new ExamID comes back as the statement's one row (otherwise as its last insert id).
    virtual QString AddKeptExam() const = 0;
    virtual QString AddKeptAnswer() const = 0;     // ExamID, Position, QuestionID, Chosen, Correct
    virtual QString ProbeHistoryWrite() const = 0; // a write that changes nothing
    virtual QString KeptExams() const = 0;         // newest first
    // Per category code of the answered questions: title, answers, right answers.
    virtual QString CategoryAnswers() const = 0;
    // The questions last answered wrongly, with how often: most missed first.
    virtual QString Mistakes() const = 0;
    // One kept exam's row as KeptExams gives it; binds the ExamID.
    virtual QString KeptExam() const = 0;
    // How many answers one kept exam has; binds the ExamID.
    virtual QString CountKeptAnswers() const = 0;
    // One kept exam's questions in the order they were asked, as the card reads them, with the
    // kept correct option as G_Sahih and besides Chosen, Position and InBank (0 for a question
    // no collection holds any more, whose question columns are then empty).
    virtual QString PastExamQuestions(int examId) const = 0;
    // As CategoryAnswers, over one kept exam's answers.
    virtual QString PastExamCategoryAnswers(int examId) const = 0;

    // --- The program's own settings, one value a name (tblTanzimatJadid)
    virtual QString ReadSetting() const = 0;  // Name; one row of its Value, or none
    virtual QString WriteSetting() const = 0; // Name, Value: added, or replacing the one stored
    // The table as the schema's step makes it, for a bank that was not given the step.
    virtual QString CreateSettingsTable() const = 0;

    // --- The questions' explanations (tblSharh)
    // The table as the schema's step makes it, for a bank that was not given the step; a server's
    // bank always has it (and is never changed in shape by the program).
    virtual QString CreateExplanationsTable() const = 0;
    virtual QString PutExplanation() const = 0; // ID, Sharh: added, or replacing the one stored

    // --- Writing a new bank
    virtual QString AddCategory() const = 0; // NoeSoal, Farsi, Tartib
    virtual QString
    AddQuestion() const = 0; // ID, Majmooe, Azmoon, NoeSoal, SoorateSoal, G1..G4, G_Sahih, Shekl
    virtual QString AddSettingsRow() const = 0;

    // --- The Leitner box and practice
    virtual QString CountLeitnerTables() const = 0;
    // What the box holds: the exam pool's questions (Pool 1) and the signs (Pool 0), by number:
    // ID, NoeSoal, SoorateSoal, G1..G4, G_Sahih, Pool.
    virtual QString LeitnerPool() const = 0;
    // Every question's category, through all the collections: ID, NoeSoal.
    virtual QString QuestionCategories() const = 0;
    virtual QString LeitnerCards() const = 0; // ID, Box, Due, Fingerprint
    // The same two, for the given questions only (a kept exam's thirty), read by key.
    virtual QString LeitnerPoolOf(const QVector<int>& ids) const = 0;
    virtual QString LeitnerCardsOf(const QVector<int>& ids) const = 0;
    virtual QString PutLeitnerCard() const = 0;    // ID, Box, Due, Fingerprint
    virtual QString RemoveLeitnerCard() const = 0; // ID
    virtual QString LeitnerState() const = 0;      // NewPerDay, LastNewDay, NewOnLastDay
    virtual QString PutLeitnerState() const = 0;   // NewPerDay, LastNewDay, NewOnLastDay
    virtual QString AddPracticeAnswer() const = 0; // AnsweredAt, QuestionID, IsRight
    // Every answer kept, exam and practice: QuestionID, the day as a Julian day number (null when
    // unreadable), right (1 or 0).
    virtual QString AllAnswers() const = 0;
    // The running summary of every question's answers (tblAnswerSummary):
    // QuestionID, Answered, RightCount, RefDay, Weight, RightWeight.
    virtual QString AnswerSummaries() const = 0;
    virtual QString PutAnswerSummary() const = 0; // the same columns
    virtual QString ClearAnswerSummaries() const = 0;
    // How many answers are kept and how many the summary counts, in one row.
    virtual QString CountSummarisedAnswers() const = 0;
    // One kept exam's answers (ExamID), in the columns of AllAnswers.
    virtual QString ExamAnswersOf() const = 0;
    // One question with its options dealt in order (order[k] = the option shown at k + 1) and its
    // correct option renumbered to match, in the columns of QuestionsInOrder.
    virtual QString DealtQuestion(int id, const std::array<int, 4>& order) const = 0;
};

// The two engines a bank may be kept in: an SQLite file, or a PostgreSQL server.
const EngineSql& SqliteEngine();
const EngineSql& PostgresEngine();

// The dialect of the engine a connection reaches, by its driver. A program on a server bank still
// keeps scratch banks in SQLite files, so the dialect follows each connection, never the program.
const EngineSql& Engine(const QSqlDatabase& db);
// The dialect of the engine a connection string names: a server address as its Data Source
// (postgresql://...) is PostgreSQL, anything else an SQLite file.
const EngineSql& EngineOf(const QString& connectionString);
