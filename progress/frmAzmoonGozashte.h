#pragma once

#include "card/QuestionCard.h"
#include "ui/ChildForm.h"

class BoundSource;
class QLabel;
class QTableWidget;
class ReadAloud;
class SharhPanel;

// "مرور آزمون": one kept exam looked through again, its questions in the order they were asked on
// the shared card, each with the option chosen (red when wrong) and the correct one (green) as
// they were kept, the exam's date, score and verdict, and its share of right answers per category.
// A question no longer in the bank keeps its place and says so. Opening another exam shows it here.
class frmAzmoonGozashte : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmAzmoonGozashte(QWidget* parent = nullptr);
    void Form_Load() override;
    // Shows the kept exam of that ExamID from its first question, or why it cannot be shown.
    void ShowExam(int examId);
    int examId() const { return examId_; }
    QuestionCard* card() const { return card_; }
    SharhPanel* sharh() const { return sharh_; }
    ReadAloud* readAloud() const { return readAloud_; }

private:
    // The shown question's position, colours and answer line, after every move.
    void afterKeyMove() override;
    // The colours are the kept answer's, painted after each move, not the bank's correct option.
    void correctOptionChanged(QuestionCard&) override {}
    // Shows the card and its answer line, or hides them behind the reason there is nothing.
    void ShowCard(bool shown, const QString& reason = {});

    BoundSource* adoSoalat_ = nullptr;
    QuestionCard* card_ = nullptr;
    SharhPanel* sharh_ = nullptr;
    ReadAloud* readAloud_ = nullptr;
    CardControls c_;
    QLabel* lblAzmoon_ = nullptr; // the exam's kind, date, score and verdict
    QLabel* lblPasokh_ = nullptr; // the answer given to the shown question
    QLabel* lblKhali_ = nullptr;  // why there is nothing to show
    QTableWidget* grdMozooat_ = nullptr;
    QList<QWidget*> optionLabels_; // the options with their numbers and colons
    int examId_ = 0;
};
