#pragma once

#include "card/QuestionCard.h"
#include "ui/ChildForm.h"

#include <QVector>

class BoundSource;
class QLabel;
class QPushButton;
class ReadAloud;
class SharhPanel;

// "مرور اشتباهات": the questions answered wrongly in a kept exam and not answered right since,
// most missed first, on the shared card with the correct option in green; and the way into an
// exam over them.
class frmEshtebahat : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmEshtebahat(QWidget* parent = nullptr);
    void Form_Load() override;
    void RefreshHistory() override { ReadMistakes(); }
    QuestionCard* card() const { return card_; }
    SharhPanel* sharh() const { return sharh_; }
    ReadAloud* readAloud() const { return readAloud_; }
    const QVector<int>& questionIds() const { return ids_; }

private slots:
    void cmdAzmooneEshtebahat_Click();

private:
    // The mistakes as the kept exams leave them, shown from the first.
    void ReadMistakes();
    // The list is in miss order, not in ID order: the card's counter follows the row instead.
    void afterKeyMove() override;

    BoundSource* adoSoalat_ = nullptr;
    QuestionCard* card_ = nullptr;
    SharhPanel* sharh_ = nullptr;
    ReadAloud* readAloud_ = nullptr;
    CardControls c_;
    QLabel* lblKhali_ = nullptr;  // shown when there is nothing to re-drill
    QLabel* lblDafaat_ = nullptr; // how often the shown question was missed
    QPushButton* cmdAzmooneEshtebahat_ = nullptr;
    QVector<int> ids_;
    QVector<int> misses_;
};

// The exam window as the mistakes exam over the current mistakes (at most 30, most missed first).
ChildForm* NewMistakesExam(QWidget* parent);
