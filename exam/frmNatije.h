#pragma once

#include "rules/ExamSession.h"

#include <QDialog>
#include <QPixmap>

class QLabel;

// The result of a graded exam: the number of questions, wrong and correct answers, the time
// taken and the verdict, over a background that carries their captions.
class frmNatije : public QDialog {
    Q_OBJECT
public:
    // available: the screen area the window must fit; empty for the parent's screen's free area.
    explicit frmNatije(QWidget* parent = nullptr, QSize available = {});
    double scaleFactor() const { return factor_; }
    // Fills the value labels from a graded exam: its size (30, or fewer in a mistakes exam),
    // wrong and correct answers, the time taken and the verdict.
    void ShowResult(const ExamResult& result);

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void Command1_Click();

private:
    QPixmap background_;
    double factor_ = 1;          // below 1 on a screen too small for the designed window
    QLabel* lblTedad_ = nullptr; // Label1: how many questions
    QLabel* lblNadorost_ = nullptr;
    QLabel* lblDorost_ = nullptr;
    QLabel* lblModateTeiShode_ = nullptr;
    QLabel* lblJavabeNatije_ = nullptr;
};
