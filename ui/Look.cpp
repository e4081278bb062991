#include "ui/Look.h"

#include "platform/Picture.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QSet>
#include <QWidget>
#include <algorithm>

static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {
struct StandIn {
    const char* designed;
    const char* installed[2];
};

// Installed faces that draw the Persian of these fonts themselves where they are not installed: on
// the packaged fonts, the ones fontconfig picks too (Nazli is what it maps Nazanin to; Times New
// Roman carries only the Latin "OK"). A desktop with more fonts may pick another; these still draw.
const StandIn kStandIns[] = {
    {"Tahoma", {"DejaVu Sans", nullptr}},
    {"MS Sans Serif", {"DejaVu Sans", nullptr}},
    {"Nazanin", {"B Nazanin", "Nazli"}},
    {"Times New Roman", {"Noto Serif", "DejaVu Serif"}},
};
} // namespace

namespace look {

QString InstalledFamily(const QString& designed) {
    // Asked for a family it does not have, Qt has fontconfig sort every installed font, once for
    // each script and style it meets, before the first text is drawn: that search was most of a
    // window's first paint. Naming the face it would settle on draws the same glyphs at once.
    // (QFontDatabase::hasFamily asks fontconfig for aliases, as dear as the search itself.)
    static QHash<QString, QString> chosen;
    static QSet<QString> installed;
    const auto known = chosen.constFind(designed);
    if (known != chosen.cend())
        return *known;
    if (installed.isEmpty()) {
        for (const QString& family : QFontDatabase::families())
            installed.insert(family.toCaseFolded());
    }
    const auto has = [](const QString& family) { return installed.contains(family.toCaseFolded()); };
    QString family = designed;
    const auto standIn = std::find_if(std::begin(kStandIns), std::end(kStandIns), [&](const StandIn& s) {
        return designed == QLatin1String(s.designed);
    });
    if (!has(designed) && standIn != std::end(kStandIns)) {
        for (const char* candidate : standIn->installed) {
            if (candidate && has(QLatin1String(candidate))) {
                family = QLatin1String(candidate);
                break;
            }
        }
    }
    chosen.insert(designed, family);
    return family;
}

QFont Font(const QString& designed, double points, bool bold) {
    QFont font(InstalledFamily(designed));
    // Hinting each glyph on first draw was a fifth of a window's first paint; at these sizes the
    // unhinted glyphs look the same.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void UseInstalledDefaultFont() {
    // With no desktop font set, Qt's is fontconfig's generic "Sans Serif", a Latin face: each
    // Persian menu text then searched for a face with its letters. The windows' own stand-in has them.
    QFont font = QApplication::font();
    if (font.family() == QLatin1String("Sans Serif")) {
        font.setFamily(InstalledFamily(QStringLiteral("Tahoma")));
        font.setHintingPreference(QFont::PreferNoHinting);
        QApplication::setFont(font);
    }
}

QFont NazaninBold(double points) {
    return Font(QStringLiteral("Nazanin"), points, true);
}

QFont TahomaBold(double points) {
    return Font(QStringLiteral("Tahoma"), points, true);
}

QFont Tahoma(double points) {
    return Font(QStringLiteral("Tahoma"), points, false);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

void SetBackColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetFormBackground(QWidget* form) {
    QPalette p = form->palette();
    p.setColor(QPalette::Window, kFormBlue);
    form->setPalette(p);
    form->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

QIcon Picture(const QString& name) {
    // The twice-size copy only where a screen is sharp enough to show it and the picture has one.
    QIcon icon;
    icon.addPixmap(ReadPicture(name + QStringLiteral(".png"), "png"));
    if (const QString sharpName = name + QStringLiteral("@2x.png");
        qApp->devicePixelRatio() > 1 && QFile::exists(sharpName)) {
        if (const QPixmap sharp = ReadPicture(sharpName, "png"); !sharp.isNull())
            icon.addPixmap(sharp);
    }
    return icon;
}

void EnsureResources() {
    static const bool done = (initResources(), true);
    Q_UNUSED(done);
}

} // namespace look
