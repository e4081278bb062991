#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The editor's dialog for one question's explanation: the question for reference, a plain-text
// box, a count of its characters against the longest the review strip takes, and OK and Cancel.
// OK stores the text straight away; when the bank refuses, the learner is told and the dialog
// stays open with what was typed, for another try.
class frmSharh : public QDialog {
    Q_OBJECT
public:
    frmSharh(int questionId, const QString& question, QWidget* parent = nullptr);
    // Opens the dialog over parent and returns once it is closed: true when it stored a change.
    static bool Edit(int questionId, const QString& question, QWidget* parent);

    QString text() const;
    bool saved() const { return saved_; } // whether OK wrote a change to the bank

private slots:
    void cmdOK_Click();
    void txtSharh_Change();

private:
    int id_;
    QString stored_; // the explanation as the bank held it when the dialog opened
    bool saved_ = false;
    QPlainTextEdit* txtSharh_ = nullptr;
    QLabel* lblHarf_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};
