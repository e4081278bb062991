#include "exam/frmAzmoon.h"

#include "app/frmMain.h"
#include "app/mdlRavex.h"
#include "browse/PictureBox.h"
#include "browse/QuestionCard.h"
#include "data/BoundSource.h"
#include "exam/Circle.h"
#include "exam/ExamAssembly.h"
#include "exam/frmNatije.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "platform/Vb.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {
const QColor kMaroon(128, 0, 0);
const QColor kMarkerGraded(0, 0, 128);

const ControlPlace kExamLayout[] = {
    {"lblTedadeNoeSoal", 4500, 540, 5175, 675},
    {"lblShomareSoal", 13710, 1230, 300, 900},
    {"lblColonShomare", 13590, 1230, 120, 900},
    {"lblSoorateSoal", 5790, 1230, 7800, 1080},
    {"Shape1", 13710, 2430, 405, 405},
    {"Shape2", 13710, 3450, 405, 405},
    {"Shape3", 13710, 4470, 405, 405},
    {"Shape4", 13710, 5490, 405, 405},
    {"lblNumber1", 13410, 2400, 300, 900},
    {"lblNumber2", 13410, 3420, 300, 900},
    {"lblNumber3", 13410, 4440, 300, 900},
    {"lblNumber4", 13410, 5460, 300, 900},
    {"lblColon1", 13290, 2400, 120, 900},
    {"lblColon2", 13290, 3420, 120, 900},
    {"lblColon3", 13290, 4440, 120, 900},
    {"lblColon4", 13290, 5460, 120, 900},
    {"lblG1", 5790, 2400, 7500, 1080},
    {"lblG2", 5790, 3420, 7500, 1080},
    {"lblG3", 5790, 4440, 7500, 1080},
    {"lblG4", 5790, 5460, 7500, 1080},
    {"shpJavab", 13785, 2505, 255, 255},
    {"imgShekl", 90, 1500, 5625, 5070},
    {"cmdFirst", 7710, 6510, 1245, 600},
    {"cmdEnd", 10875, 6510, 1245, 600},
    {"cmdUp", 9660, 6360, 480, 480},
    {"cmdPrevious", 9150, 6870, 480, 480},
    {"cmdDown", 9660, 6870, 480, 480},
    {"cmdNext", 10170, 6870, 480, 480},
    {"Label14", 8670, 7350, 2505, 315},
    {"cmdTashih", 8880, 7590, 2055, 435},
    {"cmdAzmooneMojadad", 8880, 7590, 2055, 435},
    {"lblTedad", 2220, 6690, 2300, 375},
    {"lblColonTedad", 2130, 6690, 90, 375},
    {"lblCount", 1170, 6690, 960, 375},
    {"lblZaman", 2220, 7050, 2300, 375},
    {"lblColonZaman", 2130, 7050, 90, 375},
    {"lblTime", 1170, 7050, 960, 375},
    {"lblNatije2", 2220, 7410, 2300, 375},
    {"lblNatije3", 2130, 7410, 90, 375},
    {"lblNatije", 1170, 7410, 960, 375},
};

// A button that is only its picture, drawn from an SVG so it stays crisp at any size.
QPushButton* pictureButton(QPushButton* button, const QString& svg, const QString& tooltip) {
    button->setText(QString());
    button->setToolTip(tooltip);
    button->setIcon(QIcon(svg));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus); // the keys belong to the exam window
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border: none; padding: 0; background: transparent; }"));
    return button;
}

QLabel* footLabel(QWidget* form, const char* name, const QString& text) {
    auto* label = new QLabel(text, form);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(NazaninBold(12));
    label->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    return label;
}
} // namespace

frmAzmoon::frmAzmoon(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("فرم آزمون"));
    setAutoFillBackground(true);
    QPalette blue = palette();
    blue.setColor(QPalette::Window, kFormBlue);
    setPalette(blue);
    setFocusPolicy(Qt::StrongFocus);
    BuildControls();

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    QuestionCard::Options options;
    options.equalIdRestartsCount = true;
    options.markingAllowed = [this] { return Graded; };
    options.afterKeyMove = [this] { ShowAnswer(); };
    card_ = new QuestionCard(this, adoSoalat_, options);

    tmrAzmoon_ = new QTimer(this);
    tmrAzmoon_->setObjectName(QStringLiteral("tmrAzmoon"));
    tmrAzmoon_->setInterval(1000);
    connect(tmrAzmoon_, &QTimer::timeout, this, &frmAzmoon::tmrAzmoon_Timer);
}

void frmAzmoon::BuildControls() {
    BuildCardControls(this, false);
    findChild<QLabel*>(QStringLiteral("lblTedadeNoeSoal"))->setText(QStringLiteral("آزمون اصلي"));
    for (int k = 0; k < 4; ++k) {
        options_[k] = new Circle(Qt::white, QColor(0, 0, 128), this);
        options_[k]->setObjectName(QStringLiteral("Shape%1").arg(k + 1));
    }
    shpJavab_ = new Circle(Qt::white, QColor(0, 0, 128), this);
    shpJavab_->setObjectName(QStringLiteral("shpJavab"));

    pictureButton(findChild<QPushButton*>(QStringLiteral("cmdFirst")),
                  QStringLiteral(":/buttons/key-first.svg"), QStringLiteral("ابتدا"));
    pictureButton(findChild<QPushButton*>(QStringLiteral("cmdEnd")), QStringLiteral(":/buttons/key-end.svg"),
                  QStringLiteral("انتها"));
    pictureButton(findChild<QPushButton*>(QStringLiteral("cmdPrevious")),
                  QStringLiteral(":/buttons/key-left.svg"), QStringLiteral("قبلي"));
    pictureButton(findChild<QPushButton*>(QStringLiteral("cmdNext")),
                  QStringLiteral(":/buttons/key-right.svg"), QStringLiteral("بعدي"));
    const struct {
        const char* name;
        const char* svg;
        const char* tooltip;
        void (frmAzmoon::*slot)();
    } own[] = {
        {"cmdUp", ":/buttons/key-up.svg", "گزينه بالاتر", &frmAzmoon::cmdUp_Click},
        {"cmdDown", ":/buttons/key-down.svg", "گزينه پايين‌تر", &frmAzmoon::cmdDown_Click},
        {"cmdTashih", ":/buttons/grade.svg", "تصحيح آزمون", &frmAzmoon::cmdTashih_Click},
        {"cmdAzmooneMojadad", ":/buttons/new-exam.svg", "آزمون مجدد", &frmAzmoon::cmdAzmooneMojadad_Click},
    };
    for (const auto& b : own) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(b.name));
        pictureButton(button, QString::fromLatin1(b.svg), QString::fromUtf8(b.tooltip));
        connect(button, &QPushButton::clicked, this, b.slot);
    }
    findChild<QPushButton*>(QStringLiteral("cmdAzmooneMojadad"))->hide();

    auto* hint = new QLabel(QStringLiteral("از صفحه كليد استفاده كنيد"), this);
    hint->setObjectName(QStringLiteral("Label14"));
    hint->setFont(TahomaBold(9));
    hint->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The foot: the count, the time left and, once graded, the wrong answers.
    auto* tedad = findChild<QLabel*>(QStringLiteral("lblTedad"));
    tedad->setText(QStringLiteral("تعداد سؤالات آزمون"));
    tedad->setFont(NazaninBold(12));
    findChild<QLabel*>(QStringLiteral("lblColonTedad"))->setFont(NazaninBold(12));
    findChild<QLabel*>(QStringLiteral("lblCount"))->setFont(NazaninBold(12));
    footLabel(this, "lblZaman", QStringLiteral("زمان بر حسب دقيقه"));
    footLabel(this, "lblColonZaman", QStringLiteral(":"));
    footLabel(this, "lblTime", QStringLiteral("Time"))->setAlignment(Qt::AlignCenter);
    footLabel(this, "lblNatije2", QStringLiteral("تعداد سؤالات نادرست"))->hide();
    footLabel(this, "lblNatije3", QStringLiteral(":"))->hide();
    auto* wrong = footLabel(this, "lblNatije", QString());
    wrong->setAlignment(Qt::AlignCenter);
    SetTextColour(wrong, kMaroon);
    wrong->hide();

    PlaceControls(this, kExamLayout);
    for (const char* name : {"cmdFirst", "cmdEnd", "cmdPrevious", "cmdNext", "cmdUp", "cmdDown", "cmdTashih",
                             "cmdAzmooneMojadad"}) {
        auto* button = findChild<QPushButton*>(QString::fromLatin1(name));
        button->setIconSize(button->size());
    }
    shpJavab_->raise();
}

void frmAzmoon::closeEvent(QCloseEvent* event) {
    tmrAzmoon_->stop(); // closing ends the exam, ungraded
    ChildForm::closeEvent(event);
}

void frmAzmoon::Form_Load() {
    PlaceOnMain(14300, 8625);
    Graded = false;
    card_->ResetOptionColors();
    const bool assembled = BuildExam();
    gExamStart = Now();
    findChild<QLabel*>(QStringLiteral("lblCount"))->setText(QString::number(adoSoalat_->recordCount()));
    if (assembled) {
        tmrAzmoon_->start();
    } else {
        // Nothing to answer and nothing to grade: the window stays empty and still.
        findChild<QPushButton*>(QStringLiteral("cmdTashih"))->hide();
    }
}

bool frmAzmoon::BuildExam() {
    const ExamAssemblyResult result = AssembleExam(ConnectionString());
    if (!result.ok) {
        MsgBox(this, result.message, MsgIcon::Warning, kAppTitle);
        return false;
    }
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(QStringLiteral("Select * from tblAzmoon"));
    adoSoalat_->refresh();
    return true;
}

int frmAzmoon::shownPosition() const {
    return static_cast<int>(
        vb::RoundHalfEven(vb::Val(findChild<QLabel*>(QStringLiteral("lblShomareSoal"))->text())));
}

void frmAzmoon::keyPressEvent(QKeyEvent* event) {
    int code = 0;
    switch (event->key()) {
    case Qt::Key_PageUp:
        code = 33;
        break;
    case Qt::Key_PageDown:
        code = 34;
        break;
    case Qt::Key_Left:
        code = 37;
        break;
    case Qt::Key_Up:
        code = 38;
        break;
    case Qt::Key_Right:
        code = 39;
        break;
    case Qt::Key_Down:
        code = 40;
        break;
    default:
        break;
    }
    Form_KeyDown(code);
    if (code == 0)
        ChildForm::keyPressEvent(event);
}

void frmAzmoon::Form_KeyDown(int keyCode) {
    switch (keyCode) {
    case 33:
    case 34:
    case 37:
    case 39:
        card_->NavigateQuestion(keyCode);
        break;
    case 38:
    case 40: {
        // Only a marker standing exactly on a circle moves: 1 -> 4 going up, 4 -> 1 going down.
        for (int k = 0; k < 4; ++k) {
            if (shpJavab_->y() == kMarkerTops[k]) {
                const int next = keyCode == 38 ? (k + 3) % 4 : (k + 1) % 4;
                shpJavab_->move(shpJavab_->x(), options_[next]->y() + 5);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    SaveAnswer();
}

void frmAzmoon::SaveAnswer() {
    const int n = shownPosition();
    if (n < 1 || n > kExamSize)
        return;
    for (int k = 0; k < 4; ++k) {
        if (shpJavab_->y() == options_[k]->y() + 5) {
            gAnswers[n] = static_cast<quint8>(k + 1);
            return;
        }
    }
}

void frmAzmoon::ShowAnswer() {
    const int n = shownPosition();
    if (n < 1 || n > kExamSize)
        return;
    const int a = gAnswers[n];
    if (a >= 1 && a <= 4)
        shpJavab_->move(shpJavab_->x(), options_[a - 1]->y() + 5);
}

void frmAzmoon::tmrAzmoon_Timer() {
    auto* time = findChild<QLabel*>(QStringLiteral("lblTime"));
    if (time->text() == QLatin1String("Time"))
        gExamLimit = gExamTime; // later changes in the settings do not touch a running exam
    time->setText(vb::ShortTime(vb::Remaining(gExamLimit, gExamStart, Now())));
    if (time->text() == QLatin1String("00:00")) {
        // Stopped before anything modal, so no tick can announce time-up a second time.
        tmrAzmoon_->stop();
        MsgBox(this, QStringLiteral("زمان به پايان رسيد"), MsgIcon::None, QStringLiteral("Ravex V3"));
        GradeExam();
    }
}

void frmAzmoon::GradeExam() {
    tmrAzmoon_->stop();
    Graded = true;
    int correct = 0;
    adoSoalat_->moveFirst();
    for (int i = 1; i <= kExamSize; ++i) {
        bool number = false;
        const int stored = adoSoalat_->value(QStringLiteral("G_Sahih")).toString().toInt(&number);
        if (number && stored == gAnswers[i])
            ++correct;
        adoSoalat_->moveNext();
    }
    adoSoalat_->moveFirst();
    findChild<QLabel*>(QStringLiteral("lblShomareSoal"))->setText(QStringLiteral("1"));
    ShowAnswer();

    const bool passed = correct >= gPassMark;
    gCorrectText = QString::number(correct);
    gWrongText = QString::number(kExamSize - correct);
    gElapsedText = vb::ShortTime(vb::Elapsed(gExamStart, Now()));
    gVerdictText = passed ? QStringLiteral("قبول") : QStringLiteral("مردود");

    frmNatije result(this);
    result.ShowResult();
    ExecModal(&result);
    // However the result window was closed, the wrong count stays on the exam window.
    auto* wrong = findChild<QLabel*>(QStringLiteral("lblNatije"));
    wrong->setText(gWrongText);
    for (const char* name : {"lblNatije", "lblNatije2", "lblNatije3"})
        findChild<QLabel*>(QString::fromLatin1(name))->show();

    shpJavab_->setFill(kMarkerGraded);
    SetTextColour(wrong, passed ? kMaroon : QColor(255, 0, 0));
}

void frmAzmoon::cmdTashih_Click() {
    GradeExam();
    findChild<QPushButton*>(QStringLiteral("cmdTashih"))->hide();
    findChild<QPushButton*>(QStringLiteral("cmdAzmooneMojadad"))->show();
}

void frmAzmoon::cmdAzmooneMojadad_Click() {
    // Closing and opening again draws a new exam.
    const QPointer<frmMain> main = frmMain::Instance();
    if (QWidget* frame = subWindow())
        frame->close();
    if (main)
        main->ShowChild(QStringLiteral("frmAzmoon"));
}
