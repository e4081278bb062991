#include "exam/frmNatije.h"

#include "data/SharedState.h"
#include "platform/Picture.h"
#include "platform/Twips.h"
#include "ui/Look.h"
#include "ui/Scaling.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kTitleBar = 30; // the frame's title bar, which does not shrink

QLabel* valueLabel(QWidget* parent, const char* name, int top, const QColor& colour) {
    QLabel* label = look::MakeLabel(parent, QString::fromLatin1(name), {},
                                    look::Font(QStringLiteral("MS Sans Serif"), 18, true), Qt::AlignCenter);
    label->setGeometry(TwipsRect(150, top, 1605, 405));
    if (colour.isValid())
        look::SetTextColour(label, colour);
    return label;
}
} // namespace

frmNatije::frmNatije(QWidget* parent, QSize available) : QDialog(parent) {
    look::EnsureResources();
    setObjectName(QStringLiteral("frmNatije"));
    setWindowTitle(QStringLiteral("Ravex"));
    // On a screen smaller than the window and its title bar, the whole window shrinks to fit.
    if (available.isEmpty()) {
        const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        available = screen ? screen->availableGeometry().size() : QSize();
    }
    const QSize designed(Twips(6045), Twips(4680));
    factor_ = ScaleFactor(designed, available - QSize(0, kTitleBar));
    setFixedSize(ScaledRect(QRect(QPoint(), designed), factor_).size());
    background_ = ReadPicture(QStringLiteral(":/result-background.ppm"), "ppm");
    lblTedad_ = valueLabel(this, "Label1", 300, {});
    lblTedad_->setText(QStringLiteral("30"));
    lblNadorost_ = valueLabel(this, "lblNadorost", 1020, look::kRed);
    lblDorost_ = valueLabel(this, "lblDorost", 1680, QColor(0, 128, 0));
    lblModateTeiShode_ = valueLabel(this, "lblModateTeiShode", 2340, {});
    lblJavabeNatije_ = valueLabel(this, "lblJavabeNatije", 3030, {});
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setFont(look::Font(QStringLiteral("Times New Roman"), 15.75, true));
    ok->setGeometry(TwipsRect(1860, 3870, 2325, 495));
    ok->setDefault(true);
    if (factor_ < 1) {
        for (QWidget* control : findChildren<QWidget*>()) {
            control->setGeometry(ScaledRect(control->geometry(), factor_));
            ScaleLook(control, factor_);
        }
    }
    connect(ok, &QPushButton::clicked, this, &frmNatije::Command1_Click);
}

void frmNatije::ShowResult(const ExamResult& result) {
    lblTedad_->setText(QString::number(result.questions));
    lblDorost_->setText(result.correctText());
    lblNadorost_->setText(result.wrongText());
    lblJavabeNatije_->setText(result.verdictText());
    lblModateTeiShode_->setText(result.elapsedText());
}

void frmNatije::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(ScaledRect(QRect(QPoint(), background_.deviceIndependentSize().toSize()), factor_),
                       background_);
}

// The exam window reveals the wrong count however this window closes (OK, Escape or its close
// box), so the result is never lost.
void frmNatije::Command1_Click() {
    accept();
}
