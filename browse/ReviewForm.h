#pragma once

#include "card/QuestionCard.h"
#include "ui/ChildForm.h"
#include "ui/Layout.h"

#include <QVector>

class BoundSource;
class QLabel;
class ReadAloud;
class SharhPanel;

// The review windows' card below their category chooser, in twips: every window that reviews
// questions on the card places it so.
std::span<const ControlPlace> ReviewCardLayout();

// A review window: a question card with a category chooser over one collection of the bank.
// The three review windows differ only in their caption, their SQL texts and their layout, and
// the archive in its note where a question has no picture.
class ReviewForm : public ChildForm, private CardHooks {
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
    SharhPanel* sharh() const { return sharh_; }
    ReadAloud* readAloud() const { return readAloud_; }

protected:
    ReviewForm(const Config& config, QWidget* parent);

private:
    void pictureShown(bool hasPicture) override;

    BoundSource* adoSoalat_ = nullptr;
    BoundSource* adoNoeSoal_ = nullptr;
    QuestionCard* card_ = nullptr;
    SharhPanel* sharh_ = nullptr;
    ReadAloud* readAloud_ = nullptr;
    QLabel* lblTazakor_ = nullptr;
    QVector<ControlPlace> layoutChanges_; // kept: the window is placed again when it is scaled
};
