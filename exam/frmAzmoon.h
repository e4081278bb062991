#pragma once

#include "card/QuestionCard.h"
#include "data/ExamHistory.h"
#include "rules/ExamSession.h"
#include "ui/ChildForm.h"

#include <QVector>

class BoundSource;
class Circle;
class ExamOverview;
class QCheckBox;
class ReadAloud;
class SharhPanel;
class QLabel;
class QPushButton;
class QTimer;

// The oral exam: an exam window that reads each question aloud (the menu's "آزمون شفاهي").
ChildForm* NewOralExam(QWidget* parent);

// The timed exam: 30 questions drawn afresh at every opening, answered with the arrow keys, the
// digit keys or a click against the countdown, graded at time-up or on request.
class frmAzmoon : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmAzmoon(QWidget* parent = nullptr);
    ~frmAzmoon() override;
    void Form_Load() override;
    void Refit() override;
    bool graded() const { return session_.graded(); }
    // False when the window refused to open (another exam is being taken, or no exam could be
    // assembled): the learner was told why and the window is not shown.
    bool Opened() const override { return opened_; }
    // Makes this the mistakes exam over these questions (most missed first, at most 30 asked);
    // called before Form_Load. Without it the exam is drawn from the 30 ranges.
    void setQuestionIDs(const QVector<int>& ids);
    // Makes this the oral exam: each question is read aloud as it is shown and the result once
    // graded; called before Form_Load. Drawn, timed and graded as the main exam.
    void setOral();
    bool oral() const { return oral_; }
    ReadAloud* readAloud() const { return readAloud_; }
    // The exam this window shows; keys, clicks and the countdown act on it.
    const ExamSession& session() const { return session_; }
    ExamSession& session() { return session_; }
    // Why a new exam may not open now (an exam still being taken), or empty.
    static QString RefusalToOpen(const frmAzmoon* opening);
    // The key that flags the shown question to look at again.
    static constexpr Qt::Key kFlagKey = Qt::Key_F3;
    // The key that reads the time left aloud.
    static constexpr Qt::Key kTimeLeftKey = Qt::Key_F5;

    // The answer marker sits 5 pixels into the circle of the chosen option: at the designed size
    // its top is one of these; a scaled window scales the 5 pixels with it.
    static constexpr int kMarkerTops[4] = {167, 235, 303, 371};

public slots:
    void tmrAzmoon_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Form_KeyDown(int keyCode);
    void cmdUp_Click();
    void cmdDown_Click();
    void cmdTashih_Click();
    void cmdAzmooneMojadad_Click();
    void adoSoalat_MoveComplete();
    void chkAlamat_Click(bool checked);
    // Goes to a question of the overview through the card's own moves.
    void GoToQuestion(int position);

private:
    // Where the exam's card differs: the position restarts at 1 on the same ID, the correct
    // option is marked only once graded, and every move puts the answer marker back.
    bool equalIdRestartsCount() const override { return true; }
    void correctOptionChanged(QuestionCard& card) override;
    void afterKeyMove() override;
    // Once graded, a wrong answer's chosen option is red beside the correct one in green.
    void paintOption(QuestionCard& card, int k, bool correct) override;

    void BuildControls();
    bool BuildExam();
    // Reads the exam's rows as the card shows them into a new session.
    void StartSession();
    // A graded exam keeps its questions when a new exam takes the bank's exam table: its rows are
    // copied into a bank of its own first.
    void KeepOwnCopy();
    // Chooses option 1..4 of the shown question: a click or a digit key.
    void ChooseOption(int option);
    // Copies the session's answers into the shared answers the other windows read.
    void SaveAnswer();
    // Puts the marker on the shown question's stored answer.
    void ShowAnswer();
    void GradeExam();
    // Reads the time left aloud, as the foot shows it.
    void SayTimeLeft();
    // The overview and the flag box follow the session.
    void ShowOverview();
    // The marker's top on option 1..4, in the window's own (possibly scaled) pixels.
    int markerTop(int option) const;

    BoundSource* adoSoalat_ = nullptr;
    QuestionCard* card_ = nullptr;
    CardControls c_;
    QTimer* tmrAzmoon_ = nullptr;
    Circle* shpJavab_ = nullptr;
    Circle* options_[4] = {};
    QPushButton* cmdTashih_ = nullptr;
    QPushButton* cmdAzmooneMojadad_ = nullptr;
    QLabel* lblTime_ = nullptr;
    QLabel* lblNatije_ = nullptr;
    QLabel* lblNatije2_ = nullptr;
    QLabel* lblNatije3_ = nullptr;
    QLabel* lblNumber_[4] = {};
    ExamOverview* pnlFehrest_ = nullptr;
    QCheckBox* chkAlamat_ = nullptr;
    SharhPanel* sharh_ = nullptr; // the explanation, once graded
    ReadAloud* readAloud_ = nullptr;
    bool oral_ = false;
    bool resultSaid_ = false; // the oral exam reads its result at the first grading only
    bool asking_ = false;     // the check before grading is open
    bool timeUpWhileAsking_ = false;
    ExamSession session_;
    bool opened_ = true;
    bool mistakesExam_ = false;
    QVector<int> questionIds_;    // the mistakes exam's questions
    QString ownCopy_;             // the bank file holding this graded exam's own rows, if made
    QVector<ExamOrderRow> dealt_; // the option order each question was dealt in
};
