#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// Who is practising, asked when the program opens a school server's bank: the learners' names in
// a list and a box for a new one. Enter chooses the name typed in the box, or else the name picked
// in the list; a new name is kept on the server for the next time. Escape leaves no one named.
class frmShagerd : public QDialog {
    Q_OBJECT
public:
    frmShagerd(const QString& connectionString, QWidget* parent = nullptr);
    // Opens the dialog over parent and returns the name chosen once it is closed; empty when none
    // was.
    static QString Choose(const QString& connectionString, QWidget* parent);

    QString chosen() const { return chosen_; }

private slots:
    void cmdOK_Click();

private:
    QString connection_;
    QString chosen_;
    QListWidget* lstShagerdan_ = nullptr;
    QLineEdit* txtNameJadid_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};
