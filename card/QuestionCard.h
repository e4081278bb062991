#pragma once

#include <QObject>
#include <QVariant>
#include <array>

class BoundSource;
class Binder;
class PictureBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class QuestionCard;

// The card's controls on one window. The question and option fields are labels in the review and
// exam windows and read-only text boxes in the editor; the correct-option field is a hidden label
// or the editor's box.
struct CardControls {
    QWidget* lblSoorateSoal = nullptr;
    std::array<QWidget*, 4> lblG{};
    QLabel* lblShomareSoal = nullptr;
    QLabel* lblCount = nullptr;
    QLabel* lblTedadeNoeSoal = nullptr;
    QLabel* lblTedad = nullptr;
    QLabel* lblColonTedad = nullptr;
    QLabel* lblID = nullptr;
    QWidget* lblG_Sahih = nullptr;
    QLabel* lblShekl = nullptr;
    PictureBox* imgShekl = nullptr;
    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdEnd = nullptr;
    QComboBox* cboNoeSoal = nullptr; // only where the window has a category chooser
};

// Where one window's card differs from the plain review card. A window that differs implements
// the hooks it needs; the defaults are the review windows' behaviour.
class CardHooks {
public:
    virtual ~CardHooks() = default;
    // Before a move button moves the card (the editor saves the question first).
    virtual void beforeButtonMove() {}
    // After every move made for a key or a button (the exam puts its answer marker back).
    virtual void afterKeyMove() {}
    // Arriving at the ID just left: the review windows leave the position, the exam restarts at 1.
    virtual bool equalIdRestartsCount() const { return false; }
    // The correct-option text changed (the exam marks only once graded; the editor checks it).
    virtual void correctOptionChanged(QuestionCard& card);
    // Shows option k (1..4) as correct or not: by default its text turns green or black.
    virtual void paintOption(QuestionCard& card, int k, bool correct);
    // After the picture was shown or hidden (the archive shows its note where there is none).
    virtual void pictureShown(bool /*hasPicture*/) {}
};

// The one-question card every question window shows: question text, four options with the
// correct one marked, the picture, the position in the list and its size, the four move buttons
// and, where the window has one, the category chooser. It works on the window's bound source
// adoSoalat and the window's controls.
class QuestionCard : public QObject {
    Q_OBJECT
public:
    QuestionCard(QWidget* form, const CardControls& controls, BoundSource* adoSoalat,
                 CardHooks* hooks = nullptr);

    const CardControls& controls() const { return c_; }
    BoundSource* source() const { return adoSoalat_; }
    Binder* binder() const { return binder_; }

    // Key codes (platform/Keys.h): first, last, previous, next; any other code does nothing.
    void NavigateQuestion(int keyCode);
    // Page Up, Page Down, Left and Right move the card wherever the focus is in the window; an
    // open category list is a popup of its own and keeps its keys.
    void AddMoveShortcuts();
    // Goes straight to position n (1..count), as Page Up and Page Down go to the ends: one move,
    // the counter set, the window's after-move hook run. Nothing outside the list or where it is.
    void NavigateTo(int n);
    void ShowPicture();
    void ResetOptionColors();
    // Marks the option the correct-option text names ("1".."4"); other text changes nothing.
    void MarkCorrectOption();
    QString correctOptionText() const;

    // The category chooser: the window's category SQL, its full question SQL (empty: the list
    // starts with nothing loaded) and its filter prefix (prefix + quoted code + "'").
    void SetCategories(BoundSource* adoNoeSoal, const QString& categorySql, const QString& fullSql,
                       const QString& filterPrefix);
    // Fills the chooser and loads its first category (the whole collection when there is none).
    void LoadCategories();
    // Selects a category by list position as a user's choice would; false when there is none.
    bool SelectCategory(int listIndex);

    int position() const; // the position shown, read back as a number
    int count() const;    // the list size shown, read back as a number
    void setPosition(const QString& text);

public slots:
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdEnd_Click();
    void cboNoeSoal_Click();

private slots:
    void adoSoalat_WillMove();
    void adoSoalat_MoveComplete();
    void lblG_Sahih_Change();
    void lblShekl_Change() { ShowPicture(); }

private:
    // Says the bank is held by another program when the source's last read found it so.
    bool SaidBankBusy(BoundSource* source);

    CardControls c_;
    BoundSource* adoSoalat_;
    Binder* binder_;
    CardHooks* hooks_;
    BoundSource* adoNoeSoal_ = nullptr;
    QString fullSql_;
    QString filterPrefix_;

    QVariant PrevID; // the ID of the row being left; empty (read as 0) until the first move
    qint16 CurID = 0;
};
