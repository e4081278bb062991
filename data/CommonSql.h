#pragma once

#include "data/Sql.h"

// What both engines read alike: the program's own tables in plain SQL. Each engine's dialect
// derives from it and writes only the texts its grammar needs in its own way.

// The columns every question query returns.
inline const QString kQuestionColumns =
    QStringLiteral("ID, NoeSoal, SoorateSoal, G1, G2, G3, G4, G_Sahih, Shekl");

// The collections' question queries: together they hold every question of the bank, whatever
// base tables stand behind them.
inline constexpr const char* kCollections[] = {"qrySoalat", "qryTabloha", "qrySoalatOLD"};

// Numbers only, so the list is safe to write into the text; an empty list matches nothing.
QString IdList(const QVector<int>& ids);

// The question numbers of the kept answers with their category codes, through the collections'
// queries; each arm is limited to the answered numbers, so only those are looked up.
QString AnsweredCategories();
// The answered questions of one kept exam with their card columns, through the collections' queries.
QString ExamQuestionArms(int examId);

class CommonSql : public EngineSql {
public:
    QString Commit() const override;
    QString QuestionsInOrder(const QVector<int>& ids) const override;
    QString Rollback() const override;
    QString UpdateRow(const QString& table, const QStringList& sets, const QStringList& where) const override;
    QString InsertRow(const QString& table, const QStringList& columns) const override;
    QString ClearExamOrder() const override;
    QString AddExamOrder() const override;
    QString ReadExamOrder() const override;
    QString AddKeptAnswer() const override;
    QString KeptExams() const override;
    QString KeptExam() const override;
    QString CountKeptAnswers() const override;
    QString ReadSetting() const override;
    QString CreateSettingsTable() const override;
    QString AddCategory() const override;
    QString AddQuestion() const override;
    QString AddSettingsRow() const override;
    QString LeitnerPool() const override;
    QString QuestionCategories() const override;
    QString LeitnerCards() const override;
    QString LeitnerCardsOf(const QVector<int>& ids) const override;
    QString RemoveLeitnerCard() const override;
    QString LeitnerState() const override;
    QString AddPracticeAnswer() const override;
    QString AnswerSummaries() const override;
    QString ClearAnswerSummaries() const override;
};
