#pragma once

#include "app/ChildForm.h"
#include "platform/Twips.h"

#include <QVector>

class BoundSource;
class QuestionCard;

// A review window: a question card with a category chooser over one collection of the bank.
// The three review windows differ only in their caption, their SQL texts and their layout.
class ReviewForm : public ChildForm {
    Q_OBJECT
public:
    struct Config {
        QString caption;
        QString categorySql;
        QString fullSql;
        QString filterPrefix;
        QVector<ControlPlace> layoutChanges; // placed after the common layout, overriding it
        bool noPictureNote = false;          // the archive's note where a question has no picture
    };

    void Form_Load() override;
    void SelectListIndex(int index) override;
    QuestionCard* card() const { return card_; }

protected:
    ReviewForm(const Config& config, QWidget* parent);
    void keyPressEvent(QKeyEvent* event) override;

private:
    BoundSource* adoSoalat_ = nullptr;
    BoundSource* adoNoeSoal_ = nullptr;
    QuestionCard* card_ = nullptr;
};
