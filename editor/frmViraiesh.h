#pragma once

#include "card/QuestionCard.h"
#include "rules/QuestionEdit.h"
#include "ui/ChildForm.h"

#include <array>

class BoundSource;
class QLineEdit;
class QPushButton;

// The question editor: the card over the exam's questions, category by category, with a box
// under each text for typing its replacement, the correct option typed into its own box, and a
// save that writes the shown question back to the bank (also before every move).
class frmViraiesh : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmViraiesh(QWidget* parent = nullptr);

    void Form_Load() override;
    QuestionCard* card() const { return card_; }

public slots:
    void cmdUpdate_Click();
    // Opens the shown question's explanation in a dialog of its own, saved from there.
    void cmdViraieshSharh_Click();

private:
    // The card's hooks: save before a button moves, the correct option checked as it changes and
    // shown by the option box's background.
    void beforeButtonMove() override;
    void afterKeyMove() override;
    void correctOptionChanged(QuestionCard& card) override;
    void paintOption(QuestionCard& card, int k, bool correct) override;

    void lblG_Sahih_Change();
    // The new-text rule for pair k: 0 the question text, 1..4 the options.
    void NewTextChanged(int k);
    void ClearNewTexts();
    // Writes the shown question where it differs from the bank; false when the bank refused it.
    bool Save();
    // The question as the boxes show it, and as it was read.
    EditedQuestion Edited() const;
    EditedQuestion Stored() const;
    // Puts what a save wrote into the shown row, so the boxes and later saves go on from it.
    void KeepSavedInDisplay();

    BoundSource* adoSoalat_ = nullptr;
    BoundSource* adoNoeSoal_ = nullptr;
    QuestionCard* card_ = nullptr;
    CardControls c_;
    QLineEdit* lblG_Sahih_ = nullptr;
    std::array<QLineEdit*, 5> bound_{}; // lblSoorateSoal, lblG1..lblG4
    std::array<QLineEdit*, 5> txt_{};   // txtSoorateSoal, txtG1..txtG4
    QPushButton* cmdUpdate_ = nullptr;
    bool restoring_ = false;         // the correct option is being put back after a refused value
    bool refusedBeforeMove_ = false; // the save before a move was refused: nothing typed follows
};
