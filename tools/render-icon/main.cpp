// Draws an SVG picture to a square PNG of the given size, for the icon theme's sizes.
// Usage: render-icon IN.svg OUT.png SIZE
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
    bool ok = false;
    const int size = args.value(3).toInt(&ok);
    if (args.size() != 4 || !ok || size < 1) {
        std::fprintf(stderr, "usage: render-icon IN.svg OUT.png SIZE\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icon: %s is no SVG picture\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    QDir().mkpath(QFileInfo(args[2]).absolutePath());
    if (!image.save(args[2], "PNG")) {
        std::fprintf(stderr, "render-icon: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
