// Draws an SVG picture to a PNG: a square of SIZE pixels for the icon theme's sizes, or xN for the
// picture's own size N times over (the windows' pictures, at one and two times for sharp screens).
// OUT.ppm is drawn on white and kept as plain pixels, for a large picture that must open at once.
// Usage: render-icon IN.svg OUT.png|OUT.ppm SIZE|xN
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const QString sizeArg = args.value(3);
    const bool times = sizeArg.startsWith(QLatin1Char('x'));
    bool ok = false;
    const int number = (times ? sizeArg.mid(1) : sizeArg).toInt(&ok);
    if (args.size() != 4 || !ok || number < 1 || (times && number > 8)) {
        std::fprintf(stderr, "usage: render-icon IN.svg OUT.png|OUT.ppm SIZE|xN\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: %s is no SVG picture\n", qPrintable(args[1]));
        return 1;
    }
    const QSize size = times ? svg.defaultSize() * number : QSize(number, number);
    const bool opaque = args[2].endsWith(QLatin1String(".ppm"));
    QImage image(size, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    QDir().mkpath(QFileInfo(args[2]).absolutePath());
    if (!image.save(args[2], opaque ? "PPM" : "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
