#pragma once

#include "card/QuestionCard.h"
#include "ui/ChildForm.h"

#include <QVector>

class BoundSource;
class Circle;
class QLabel;
class QPushButton;
class QTimer;

// The timed exam: 30 questions drawn afresh at every opening, answered with the arrow keys, the
// digit keys or a click against the countdown, graded at time-up or on request.
class frmAzmoon : public ChildForm, private CardHooks {
    Q_OBJECT
public:
    explicit frmAzmoon(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;
    bool graded() const { return Graded; }
    // Makes this the mistakes exam over these questions (most missed first, at most 30 asked);
    // called before Form_Load. Without it the exam is drawn from the 30 ranges.
    void setQuestionIDs(const QVector<int>& ids);

    // The answer marker sits 5 pixels into the circle of the chosen option: at the designed size
    // its top is one of these; a scaled window scales the 5 pixels with it.
    static constexpr int kMarkerTops[4] = {167, 235, 303, 371};

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
    void tmrAzmoon_Timer();

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
    // Puts the marker on option 1..4 and stores it, as the arrow keys do: a click or a digit key.
    void ChooseOption(int option);
    void SaveAnswer();
    void ShowAnswer();
    void GradeExam();
    int shownPosition() const;
    // The marker's top on option 1..4, in the window's own (possibly scaled) pixels.
    int markerTop(int option) const;
    // The option the marker stands exactly on, or 0.
    int markedOption() const;

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
    qint64 startMs_ = 0; // when the exam began, on the monotonic clock
    bool Graded = false;
    bool mistakesExam_ = false;
    QVector<int> questionIds_; // the mistakes exam's questions
    QVector<int> examIds_;     // the graded exam's questions in position order
};
