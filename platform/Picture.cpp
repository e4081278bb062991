#include "platform/Picture.h"

#include <QFileInfo>
#include <QImageReader>

namespace {
// The bank's pictures are a few hundred pixels a side; these bounds leave room for far larger.
constexpr int kPictureAllocationLimitMb = 64;
constexpr qint64 kPictureMaxPixels = 4096LL * 4096;
} // namespace

QPixmap LoadPicture(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // A file that declares a huge picture is refused before any pixel is decoded.
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kPictureMaxPixels)
        return {};
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    return QPixmap::fromImage(image);
}

QRect FitCentred(const QSize& picture, const QSize& area) {
    QSize size = picture;
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
}
