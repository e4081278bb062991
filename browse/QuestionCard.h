#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class BoundSource;
class PictureBox;
class QComboBox;
class QLabel;
class QWidget;

inline const QColor kCorrectGreen(2, 134, 5);
inline const QColor kQuestionBlue(0, 0, 192);
inline const QColor kTitleYellow(255, 255, 192);
inline const QColor kFormBlue(155, 188, 225);

// The one-question card every question window shows: question text, four options with the
// correct one marked, the picture, the position in the list and its size, the four move buttons
// and, where the window has one, the category chooser. It works on the window's own controls,
// found by their names, and on the window's bound source adoSoalat.
class QuestionCard : public QObject {
    Q_OBJECT
public:
    // Where one window's card differs from the plain review card.
    struct Options {
        // Arriving at the same ID as before sets the position to 1 (the exam's rule).
        bool equalIdRestartsCount = false;
        // Marking the correct option happens only while this says yes (the exam: once graded).
        std::function<bool()> markingAllowed;
        // Runs after every move made for a key (the exam puts its answer marker back).
        std::function<void()> afterKeyMove;
        // Shows option k (1..4) as correct or not; by default the text turns green or black.
        std::function<void(int option, bool correct)> paintOption;
        // The note shown in the picture area where a question has no picture (the archive).
        QLabel* noPictureNote = nullptr;
    };

    QuestionCard(QWidget* form, BoundSource* adoSoalat, Options options);
    QuestionCard(QWidget* form, BoundSource* adoSoalat);

    // Key codes: 33 first, 34 last, 37 previous, 39 next; any other code does nothing.
    void NavigateQuestion(int keyCode);
    void ShowPicture();
    void ResetOptionColors();

    // The category chooser: the window's category SQL, its full question SQL and its filter
    // prefix (the filter is the prefix, the quoted code and a closing apostrophe).
    void SetCategories(BoundSource* adoNoeSoal, QComboBox* cboNoeSoal, const QString& categorySql,
                       const QString& fullSql, const QString& filterPrefix);
    // Loads the full list, fills the chooser and loads its first category.
    void LoadCategories();
    // Selects a category by list position as a user's choice would; false when there is none.
    bool SelectCategory(int listIndex);
    void cboNoeSoal_Click();

    int position() const; // the position shown, read back as a number
    int count() const;    // the list size shown, read back as a number

    static constexpr int kFirst = 33;
    static constexpr int kLast = 34;
    static constexpr int kPrevious = 37;
    static constexpr int kNext = 39;

private slots:
    void adoSoalat_WillMove();
    void adoSoalat_MoveComplete();
    void lblG_Sahih_Change();
    void lblShekl_Change() { ShowPicture(); }

private:
    QLabel* label(const char* name) const;
    void setPosition(const QString& text);

    QWidget* form_;
    BoundSource* adoSoalat_;
    Options options_;
    QPointer<PictureBox> imgShekl_;
    QPointer<BoundSource> adoNoeSoal_;
    QPointer<QComboBox> cboNoeSoal_;
    QString fullSql_;
    QString filterPrefix_;

    QVariant PrevID; // the ID of the row being left; empty (read as 0) until the first move
    qint16 CurID = 0;
};

// The card's controls, made with their names, fonts and colours, for a window to place with its
// own layout table: the question, the four options with their numbers and colons, the position
// and its colon, the count with its caption and colon, the category title, the hidden bound
// labels, the rule under the question, the picture and the four move buttons.
void BuildCardControls(QWidget* form, bool ruleUnderQuestion = true);
// The category chooser's caption and list.
void BuildCategoryChooser(QWidget* form);
// Nazanin and Tahoma at the sizes the windows use.
QFont NazaninBold(double points);
QFont TahomaBold(double points);
// Right-aligned text stays on the right under right-to-left.
inline constexpr Qt::Alignment kAlignRight = Qt::AlignRight | Qt::AlignAbsolute;
void SetTextColour(QWidget* widget, const QColor& colour);
