#pragma once

#include "card/QuestionCard.h"
#include "rules/LeitnerBox.h"
#include "ui/ChildForm.h"

#include <QVector>
#include <array>

class BoundSource;
class QLabel;
class QPushButton;
class QSpinBox;
class ReadAloud;
class SharhPanel;

// "جعبه لايتنر": how many questions sit in each of the five boxes and how many are due, the chance
// of passing, and a session over today's due questions, one at a time on the shared card with the
// options shuffled. A click on an option or the keys 1 to 4 answer; the answer is marked at once,
// the correct option green and a wrong choice red, with the question's explanation.
class frmLeitner : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmLeitner(QWidget* parent = nullptr);
    void Form_Load() override;
    void RefreshHistory() override { ReadBox(); }

    QuestionCard* card() const { return card_; }
    SharhPanel* sharh() const { return sharh_; }
    ReadAloud* readAloud() const { return readAloud_; }
    const LeitnerBox& box() const { return box_; }
    int shownId() const { return shownId_; }
    int chosen() const { return chosen_; } // 0 until the shown question is answered
    // The shown option k (1..4) is the source's option order()[k - 1].
    const std::array<int, 4>& order() const { return order_; }

    // Answers the shown question with option 1..4; nothing once answered or with no question.
    void Answer(int option);

private slots:
    void cmdBadi_Click();
    void txtJadid_Changed(int perDay);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ReadBox(); // the box as it stands today, and the first due question
    void ShowCounts();
    void ShowNext(); // the next due question, or the note that none is left
    void correctOptionChanged(QuestionCard& card) override;
    void paintOption(QuestionCard& card, int k, bool correct) override;

    LeitnerBox box_;
    QVector<int> due_;
    int shownId_ = 0;
    int chosen_ = 0;
    int answeredToday_ = 0;
    std::array<int, 4> order_{1, 2, 3, 4};

    BoundSource* adoSoalat_ = nullptr;
    QuestionCard* card_ = nullptr;
    SharhPanel* sharh_ = nullptr;
    ReadAloud* readAloud_ = nullptr;
    CardControls c_;
    std::array<QLabel*, kLeitnerBoxes> lblJabe_{};
    QLabel* lblMoed_ = nullptr;
    QLabel* lblMoedBadi_ = nullptr; // the first day after today a question is due, Jalali
    QLabel* lblShansQabooli_ = nullptr;
    QLabel* lblKhali_ = nullptr;
    QLabel* lblJadid_ = nullptr;
    QSpinBox* txtJadid_ = nullptr;
    QPushButton* cmdBadi_ = nullptr;
};
