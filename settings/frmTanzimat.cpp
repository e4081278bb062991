#include "settings/frmTanzimat.h"

#include "audio/Speech.h"
#include "card/ReadAloud.h"
#include "data/Recordset.h"
#include "data/Settings.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "platform/Vb.h"
#include "settings/mdlMusic.h"
#include "ui/FileDialog.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

using namespace look;

Q_LOGGING_CATEGORY(lcSettings, "ravex.settings", QtCriticalMsg)

namespace {
constexpr int kClientWidth = 5235;
// The designed 3510 twips and, under them, the frame of reading aloud and the school server's
// address.
constexpr int kClientHeight = 5070;

// Rows inside a frame are placed relative to that frame.
const ControlPlace kSettingsLayout[] = {
    {"Frame1", 120, 90, 4995, 765},
    {"Opt10", 3900, 330, 840, 315},
    {"Opt15", 2700, 330, 840, 315},
    {"Opt25", 1500, 330, 840, 315},
    {"Opt45", 300, 330, 840, 315},
    {"Label1", 1440, 1050, 3675, 315},
    {"txtNomre", 480, 1005, 855, 375},
    {"Frame2", 120, 1500, 4995, 1050},
    {"txtMusic", 120, 420, 3795, 375},
    {"cmdDelete", 3990, 375, 450, 450},
    {"cmdMp3Select", 4470, 375, 450, 450},
    {"cmdPF", 3180, 2790, 1935, 495},
    {"cmdClose", 120, 2790, 1455, 495},
    // In the strip between the music frame and the bottom row, where nothing else stands.
    {"chkBarrasiPishAzTashih", 120, 2550, 4995, 240},
    // Reading aloud, in a frame of its own under the designed window.
    {"Frame3", 120, 3390, 4995, 1140},
    {"chkBekhan", 2400, 300, 2475, 315},
    {"lblSorat", 1800, 300, 555, 315},
    {"sldSorat", 120, 300, 1620, 315},
    {"lblSeda", 4260, 705, 615, 315},
    {"cboSeda", 120, 675, 4080, 360},
};
// The school server's address, a row of its own under the frame of reading aloud.
const ControlPlace kServerLayout[] = {
    {"lblServer", 3420, 4650, 1695, 315},
    {"txtServer", 120, 4620, 3255, 375},
};

// The voice list asks the speech engine for its voices only when it is opened: opening the
// settings never starts the engine.
class VoiceBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

const QString kDefaultVoice = QStringLiteral("صداي پيش فرض");

const QString kPassMarkMessage = QStringLiteral("عدد انتخابي بايد بين 1 تا 30 باشد");
const QString kDefaultPassMark = QStringLiteral("27");
const QString kMp3Filter = QStringLiteral("MP3 files (*.mp3) | *.mp3");

QPushButton* iconButton(QWidget* parent, const char* name, const char* picture, const char* tooltip) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromUtf8(tooltip));
    button->setIcon(look::Picture(QString::fromLatin1(picture)));
    button->setIconSize(QSize(20, 20));
    return button;
}
} // namespace

std::optional<quint8> frmTanzimat::PassMarkOf(const QString& text) {
    const double value = vb::Val(text);
    if (value > 30 || value < 1)
        return std::nullopt;
    return static_cast<quint8>(vb::RoundHalfEven(value));
}

frmTanzimat::frmTanzimat(QWidget* parent) : ChildForm(parent) {
    EnsureResources();
    setWindowTitle(QStringLiteral("تنظيمات"));
    SetFormBackground(this);
    setFont(Tahoma(9.75));
    BuildControls();
}

void frmTanzimat::BuildControls() {
    frame1_ = new QGroupBox(QStringLiteral("زمان آزمون به دقيقه"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    const auto option = [this](const char* name, const char* caption, void (frmTanzimat::*slot)()) {
        auto* button = new QRadioButton(QString::fromLatin1(caption), frame1_);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QRadioButton::toggled, this, [this, slot](bool on) {
            if (on)
                (this->*slot)();
        });
        return button;
    };
    opt10_ = option("Opt10", "10", &frmTanzimat::Opt10_Click);
    opt15_ = option("Opt15", "15", &frmTanzimat::Opt15_Click);
    opt25_ = option("Opt25", "25", &frmTanzimat::Opt25_Click);
    opt45_ = option("Opt45", "45", &frmTanzimat::Opt45_Click);
    const QSignalBlocker designTime(opt25_);
    opt25_->setChecked(true);

    label1_ = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("حد نمره قبولي در آزمون بين 1 تا 30"),
                        Tahoma(9.75), kAlignRight | Qt::AlignVCenter);
    txtNomre_ = new QLineEdit(kDefaultPassMark, this);
    txtNomre_->setObjectName(QStringLiteral("txtNomre"));
    txtNomre_->setAlignment(Qt::AlignCenter);
    SetTextColour(txtNomre_, kCorrectGreen);
    connect(txtNomre_, &QLineEdit::textChanged, this, &frmTanzimat::txtNomre_Change);

    frame2_ = new QGroupBox(QStringLiteral("انتخاب آهنگ"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    txtMusic_ = new QLineEdit(frame2_);
    txtMusic_->setObjectName(QStringLiteral("txtMusic"));
    txtMusic_->setFont(Tahoma(8.25));
    // A path reads left to right whatever the window's direction.
    txtMusic_->setLayoutDirection(Qt::LeftToRight);
    cmdDelete_ = iconButton(frame2_, "cmdDelete", ":/settings/music-delete", "حذف آهنگ");
    cmdMp3Select_ = iconButton(frame2_, "cmdMp3Select", ":/settings/music-select", "انتخاب آهنگ");
    connect(cmdDelete_, &QPushButton::clicked, this, &frmTanzimat::cmdDelete_Click);
    connect(cmdMp3Select_, &QPushButton::clicked, this, &frmTanzimat::cmdMp3Select_Click);

    chkBarrasiPishAzTashih_ =
        new QCheckBox(QStringLiteral("پيش از تصحيح، سؤالهاي نديده و علامت دار را بپرس"), this);
    chkBarrasiPishAzTashih_->setObjectName(QStringLiteral("chkBarrasiPishAzTashih"));
    chkBarrasiPishAzTashih_->setFont(Tahoma(8.25));
    chkBarrasiPishAzTashih_->setChecked(gCheckBeforeGrading);
    // The learner's clicks and keys only: the window showing the setting stores nothing.
    connect(chkBarrasiPishAzTashih_, &QCheckBox::clicked, this, &frmTanzimat::chkBarrasiPishAzTashih_Click);

    frame3_ = new QGroupBox(QStringLiteral("خواندن با صدا"), this);
    frame3_->setObjectName(QStringLiteral("Frame3"));
    chkBekhan_ = new QCheckBox(QStringLiteral("خواندن سؤال با صدا (F4)"), frame3_);
    chkBekhan_->setObjectName(QStringLiteral("chkBekhan"));
    chkBekhan_->setFont(Tahoma(8.25));
    connect(chkBekhan_, &QCheckBox::clicked, this, &frmTanzimat::chkBekhan_Click);
    MakeLabel(frame3_, QStringLiteral("lblSorat"), QStringLiteral("سرعت"), Tahoma(8.25),
              kAlignRight | Qt::AlignVCenter);
    sldSorat_ = new QSlider(Qt::Horizontal, frame3_);
    sldSorat_->setObjectName(QStringLiteral("sldSorat"));
    sldSorat_->setRange(-10, 10);
    sldSorat_->setPageStep(2);
    sldSorat_->setToolTip(QStringLiteral("آهسته تر يا تندتر"));
    connect(sldSorat_, &QSlider::valueChanged, this, &frmTanzimat::sldSorat_Change);
    MakeLabel(frame3_, QStringLiteral("lblSeda"), QStringLiteral("صدا"), Tahoma(8.25),
              kAlignRight | Qt::AlignVCenter);
    auto* voices = new VoiceBox(frame3_);
    voices->beforePopup = [this] { FillVoices(); };
    cboSeda_ = voices;
    cboSeda_->setObjectName(QStringLiteral("cboSeda"));
    cboSeda_->setFont(Tahoma(8.25));
    connect(cboSeda_, &QComboBox::activated, this, &frmTanzimat::cboSeda_Click);

    cmdPF_ = new QPushButton(QStringLiteral("حالت پيش فرض"), this);
    cmdPF_->setObjectName(QStringLiteral("cmdPF"));
    connect(cmdPF_, &QPushButton::clicked, this, &frmTanzimat::cmdPF_Click);
    cmdClose_ = new QPushButton(QStringLiteral("بازگشت"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose_, &QPushButton::clicked, this, &frmTanzimat::cmdClose_Click);

    lblServer_ = MakeLabel(this, QStringLiteral("lblServer"), QStringLiteral("نشاني سرور آموزشگاه:"),
                           Tahoma(8.25), kAlignRight | Qt::AlignVCenter);
    txtServer_ = new QLineEdit(this);
    txtServer_->setObjectName(QStringLiteral("txtServer"));
    txtServer_->setFont(Tahoma(8.25));
    // An address reads left to right whatever the window's direction.
    txtServer_->setLayoutDirection(Qt::LeftToRight);
    txtServer_->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/ravex"));
    lblServer_->setBuddy(txtServer_);
    connect(txtServer_, &QLineEdit::editingFinished, this, &frmTanzimat::txtServer_LostFocus);

    PlaceLayout(kSettingsLayout);
    PlaceLayout(kServerLayout);
    setTabOrder(opt10_, txtNomre_);
    setTabOrder(txtNomre_, txtMusic_);
    setTabOrder(txtMusic_, cmdDelete_);
    setTabOrder(cmdDelete_, cmdMp3Select_);
    setTabOrder(cmdMp3Select_, chkBarrasiPishAzTashih_);
    setTabOrder(chkBarrasiPishAzTashih_, cmdPF_);
    setTabOrder(cmdPF_, cmdClose_);
    setTabOrder(cmdClose_, chkBekhan_);
    setTabOrder(chkBekhan_, sldSorat_);
    setTabOrder(sldSorat_, cboSeda_);
    setTabOrder(cboSeda_, txtServer_);
}

QSize frmTanzimat::sizeHint() const {
    return QSize(Twips(kClientWidth), Twips(kClientHeight));
}

void frmTanzimat::Form_Load() {
    // The frame around the designed client area, centred across the main window and set high.
    const QSize outer = subWindow() ? subWindow()->sizeHint() : sizeHint();
    PlaceOnMain(outer.width() * 15, outer.height() * 15, 2.5);
    ShowSettings();
    txtMusic_->setText(gMusicFile);
    storedServer_ = ReadSetting(LocalBankConnectionString(), kServerAddressSetting, QString());
    txtServer_->setText(storedServer_);
}

// Kept in the data folder's own bank for the next start; a text that is no server address is
// refused with why, and an empty box opens the folder's bank again.
void frmTanzimat::txtServer_LostFocus() {
    const QString address = txtServer_->text().trimmed();
    if (address == storedServer_)
        return;
    QString why;
    if (!address.isEmpty() && !ParseServerAddress(address, nullptr, &why)) {
        MsgBox(this, why, MsgIcon::Warning, kAppTitle);
        return;
    }
    BankError error = BankError::None;
    if (!WriteSetting(LocalBankConnectionString(), kServerAddressSetting, address, &error)) {
        qCWarning(lcSettings) << "cannot store the school server's address";
        MsgBox(this, error == BankError::Busy ? kBankBusyText : kNotSavedText, MsgIcon::Warning, kAppTitle);
        return;
    }
    storedServer_ = address;
}

void frmTanzimat::ShowSettings() {
    txtNomre_->setText(QString::number(gPassMark));
    const std::pair<QRadioButton*, int> options[] = {{opt10_, 10}, {opt15_, 15}, {opt25_, 25}, {opt45_, 45}};
    for (const auto& [button, minutes] : options) {
        if (gExamTime == DurationOf(minutes)) {
            button->setChecked(true);
            break;
        }
    }
    chkBarrasiPishAzTashih_->setChecked(gCheckBeforeGrading);
    ShowSpeechSettings();
}

void frmTanzimat::ShowSpeechSettings() {
    EnsureSpeechSettings();
    chkBekhan_->setChecked(gSpeechOn);
    const QSignalBlocker quiet(sldSorat_);
    sldSorat_->setValue(gSpeechRate);
    // Until the list is opened it holds the chosen voice alone.
    cboSeda_->clear();
    cboSeda_->addItem(kDefaultVoice, QString());
    if (!gSpeechVoice.isEmpty())
        cboSeda_->addItem(gSpeechVoice, gSpeechVoice);
    cboSeda_->setCurrentIndex(cboSeda_->count() - 1);
    voicesListed_ = false;
}

void frmTanzimat::FillVoices() {
    if (voicesListed_)
        return;
    voicesListed_ = true;
    cboSeda_->clear();
    cboSeda_->addItem(kDefaultVoice, QString());
    for (const QString& voice : CurrentSpeaker().voices())
        cboSeda_->addItem(voice, voice);
    if (cboSeda_->findData(gSpeechVoice) < 0)
        cboSeda_->addItem(gSpeechVoice, gSpeechVoice); // kept, though not on offer now
    cboSeda_->setCurrentIndex(std::max(0, cboSeda_->findData(gSpeechVoice)));
}

void frmTanzimat::chkBekhan_Click(bool on) {
    gSpeechOn = on;
    ApplySpeechOnOff();
    StoreSpeech(kSpeechOnSetting, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmTanzimat::sldSorat_Change(int rate) {
    gSpeechRate = rate;
    StoreSpeech(kSpeechRateSetting, QString::number(rate));
}

void frmTanzimat::cboSeda_Click(int index) {
    gSpeechVoice = cboSeda_->itemData(index).toString();
    StoreSpeech(kSpeechVoiceSetting, gSpeechVoice);
}

// Reading's choices hold for this run whether or not the bank keeps them.
void frmTanzimat::StoreSpeech(const QString& name, const QString& value) {
    BankError error = BankError::None;
    // The empty text, never NULL, for the default voice: NULL reads back as no setting at all.
    if (!WriteSetting(ConnectionString(), name, value.isNull() ? QStringLiteral("") : value, &error)) {
        qCWarning(lcSettings) << "cannot store the reading setting" << name;
        SayNotStored(error);
    }
}

void frmTanzimat::Opt10_Click() {
    gExamTime = DurationOf(10);
}
void frmTanzimat::Opt15_Click() {
    gExamTime = DurationOf(15);
}
void frmTanzimat::Opt25_Click() {
    gExamTime = DurationOf(25);
}
void frmTanzimat::Opt45_Click() {
    gExamTime = DurationOf(45);
}

// Runs at every change of the text, the user's keys and the program's own settings alike.
void frmTanzimat::txtNomre_Change() {
    if (!PassMarkOf(txtNomre_->text())) {
        MsgBox(this, kPassMarkMessage, MsgIcon::None, kAppTitle);
        txtNomre_->setText(kDefaultPassMark); // runs this check again, and passes
    }
    if (const auto mark = PassMarkOf(txtNomre_->text()))
        gPassMark = *mark;
}

void frmTanzimat::cmdMp3Select_Click() {
    const QString chosen = GetOpenFileName(this, kMp3Filter);
    if (chosen.isEmpty())
        return;
    // The file already chosen is not restarted.
    if (chosen == vb::Trim(txtMusic_->text()))
        return;
    SaveMusicPath(chosen);
    mdlMusic::instance().StopMusic();
    mdlMusic::instance().StartMusic();
}

void frmTanzimat::cmdDelete_Click() {
    SaveMusicPath(QString());
    mdlMusic::instance().StopMusic();
    // The main window's next tick finds nothing to play and switches the music off.
    gMusicDeleted = true;
}

void frmTanzimat::chkBarrasiPishAzTashih_Click(bool on) {
    SaveCheckBeforeGrading(on);
}

void frmTanzimat::cmdPF_Click() {
    gExamTime = DurationOf(25);
    gPassMark = 27;
    SaveMusicPath(mdlMusic::instance().defaultFile());
    mdlMusic::instance().StopMusic();
    mdlMusic::instance().StartMusic();
    // Stored only when it changes: a bank that refused the music path is not asked again.
    if (!gCheckBeforeGrading)
        SaveCheckBeforeGrading(true);
    if (!gSpeechOn || gSpeechRate != 0 || !gSpeechVoice.isEmpty()) {
        gSpeechOn = true;
        ApplySpeechOnOff();
        gSpeechRate = 0;
        gSpeechVoice.clear();
        StoreSpeech(kSpeechOnSetting, QStringLiteral("1"));
        StoreSpeech(kSpeechRateSetting, QStringLiteral("0"));
        StoreSpeech(kSpeechVoiceSetting, QString());
    }
    ShowSettings();
}

void frmTanzimat::cmdClose_Click() {
    if (QMdiSubWindow* sub = subWindow())
        sub->close();
    else
        close();
}

// A path that cannot be stored changes nothing: the box and the file in use keep the old one.
void frmTanzimat::SaveMusicPath(const QString& path) {
    Recordset rs;
    if (!rs.open(sql::MusicSetting(), ConnectionString())) {
        qCWarning(lcSettings) << "cannot open the music setting";
        SayNotStored(rs.error());
        return;
    }
    if (rs.isEOF())
        return;
    rs.moveFirst();
    // The empty text, never NULL, for no music: a null string would be bound as NULL.
    const QString stored = path.isNull() ? QStringLiteral("") : path;
    if (!rs.setValue(QStringLiteral("Music"), stored) || !rs.update()) {
        qCWarning(lcSettings) << "cannot store the music path" << path;
        SayNotStored(rs.error());
        return;
    }
    txtMusic_->setText(path);
    gMusicFile = path;
}

// The choice holds for this run whether or not the bank keeps it for the next.
void frmTanzimat::SaveCheckBeforeGrading(bool on) {
    gCheckBeforeGrading = on;
    BankError error = BankError::None;
    if (WriteFlag(ConnectionString(), kCheckBeforeGradingSetting, on, &error))
        return;
    qCWarning(lcSettings) << "cannot store whether grading asks first";
    if (error == BankError::Busy) {
        MsgBox(this, kBankBusyText, MsgIcon::Warning, kAppTitle);
    } else if (!toldCheckNotStored_) {
        toldCheckNotStored_ = true;
        MsgBox(this, kNotSavedText, MsgIcon::Warning, kAppTitle);
    }
}

void frmTanzimat::SayNotStored(BankError error) {
    // A damaged or missing bank stays silent here, as before; a held or unwritable one is told.
    if (error == BankError::Busy)
        MsgBox(this, kBankBusyText, MsgIcon::Warning, kAppTitle);
    else if (error == BankError::ReadOnly || error == BankError::Full)
        MsgBox(this, kNotSavedText, MsgIcon::Warning, kAppTitle);
}
