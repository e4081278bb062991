#include "platform/Picture.h"

#include <QFileInfo>
#include <QImageReader>

QPixmap LoadPicture(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return QPixmap::fromImage(image);
}
