#pragma once

#include "data/Connection.h"
#include "ui/ChildForm.h"

#include <QTime>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

// The settings: the exam's duration and pass mark for the rest of the run, the background music
// file, whether grading first asks about unseen and flagged questions, and reading aloud (on or off,
// voice, pace), stored in the bank.
// Every change takes effect at once; nothing waits for a save.
class frmTanzimat : public ChildForm {
    Q_OBJECT
public:
    explicit frmTanzimat(QWidget* parent = nullptr);
    void Form_Load() override;
    // The designed client area, from which the MDI frame takes its size.
    QSize sizeHint() const override;

    // The exam durations the options stand for: one minute more than their captions.
    static QTime DurationOf(int minutes) { return QTime(0, minutes + 1); }
    // The pass mark a text gives: its leading number rounded halves to even, or nothing when that
    // number lies outside 1 to 30 (a text with no number is 0).
    static std::optional<quint8> PassMarkOf(const QString& text);

private slots:
    void Opt10_Click();
    void Opt15_Click();
    void Opt25_Click();
    void Opt45_Click();
    void txtNomre_Change();
    void cmdMp3Select_Click();
    void cmdDelete_Click();
    void chkBarrasiPishAzTashih_Click(bool on);
    void chkBekhan_Click(bool on);
    void sldSorat_Change(int rate);
    void cboSeda_Click(int index);
    void cmdPF_Click();
    void cmdClose_Click();
    void txtServer_LostFocus();

private:
    void BuildControls();
    void ShowSettings();
    void SaveMusicPath(const QString& path);
    void SayNotStored(BankError error);
    void SaveCheckBeforeGrading(bool on);
    void ShowSpeechSettings();
    // Lists the Persian voices the speech engine offers, the first time the list is opened.
    void FillVoices();
    void StoreSpeech(const QString& name, const QString& value);

    QGroupBox* frame1_ = nullptr;
    QRadioButton* opt10_ = nullptr;
    QRadioButton* opt15_ = nullptr;
    QRadioButton* opt25_ = nullptr;
    QRadioButton* opt45_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* txtNomre_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QLineEdit* txtMusic_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdMp3Select_ = nullptr;
    QCheckBox* chkBarrasiPishAzTashih_ = nullptr;
    QGroupBox* frame3_ = nullptr;
    QCheckBox* chkBekhan_ = nullptr;
    QSlider* sldSorat_ = nullptr;
    QComboBox* cboSeda_ = nullptr;
    bool voicesListed_ = false;
    QPushButton* cmdPF_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QLabel* lblServer_ = nullptr;
    QLineEdit* txtServer_ = nullptr;
    QString storedServer_; // the address as the data folder's bank keeps it
    // A bank that refuses the check's setting is told of once a window; the check holds this run.
    bool toldCheckNotStored_ = false;
};
