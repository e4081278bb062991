#pragma once

#include "app/ChildForm.h"

class BoundSource;
class Circle;
class QuestionCard;
class QTimer;

// The timed exam: 30 questions drawn afresh at every opening, answered with the arrow keys
// against the countdown, graded at time-up or on request.
class frmAzmoon : public ChildForm {
    Q_OBJECT
public:
    explicit frmAzmoon(QWidget* parent = nullptr);
    void Form_Load() override;
    bool graded() const { return Graded; }

    // The answer marker sits 5 pixels into the circle of the chosen option.
    static constexpr int kMarkerTops[4] = {167, 235, 303, 371};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Form_KeyDown(int keyCode);
    void cmdUp_Click() { Form_KeyDown(38); }
    void cmdDown_Click() { Form_KeyDown(40); }
    void cmdTashih_Click();
    void cmdAzmooneMojadad_Click();
    void tmrAzmoon_Timer();

private:
    void BuildControls();
    bool BuildExam();
    void SaveAnswer();
    void ShowAnswer();
    void GradeExam();
    int shownPosition() const;

    BoundSource* adoSoalat_ = nullptr;
    QuestionCard* card_ = nullptr;
    QTimer* tmrAzmoon_ = nullptr;
    Circle* shpJavab_ = nullptr;
    Circle* options_[4] = {};
    bool Graded = false;
};
