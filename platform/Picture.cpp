#include "platform/Picture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <list>

namespace {
// The bank's pictures are a few hundred pixels a side; these bounds leave room for far larger.
constexpr int kPictureAllocationLimitMb = 64;
constexpr qint64 kPictureMaxPixels = 4096LL * 4096;

struct CachedPicture {
    QString path;
    qint64 size = 0;
    QDateTime modified;
    QPixmap pixmap;
    qint64 bytes = 0;
};

// Most recently used first; a handful of entries, so a linear walk is the fastest look-up.
std::list<CachedPicture>& cache() {
    static std::list<CachedPicture> pictures;
    return pictures;
}

quint64 decodes = 0;
qint64 cachedBytes = 0;

void forget(std::list<CachedPicture>::iterator entry) {
    cachedBytes -= entry->bytes;
    cache().erase(entry);
}

QPixmap decode(const QString& path) {
    ++decodes;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    // A file that declares a huge picture is refused before any pixel is decoded.
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kPictureMaxPixels)
        return {};
    const QImage image = reader.read();
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
} // namespace

QPixmap LoadPicture(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    auto& pictures = cache();
    const auto hit = std::find_if(pictures.begin(), pictures.end(),
                                  [&](const CachedPicture& p) { return p.path == path; });
    if (!info.isFile()) {
        if (hit != pictures.end())
            forget(hit);
        return {};
    }
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    if (hit != pictures.end()) {
        if (hit->size == size && hit->modified == modified) {
            pictures.splice(pictures.begin(), pictures, hit);
            return hit->pixmap;
        }
        forget(hit); // the file changed: decode it afresh
    }
    const QPixmap pixmap = decode(path);
    const qint64 bytes = qint64(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 8) / 8;
    pictures.push_front({path, size, modified, pixmap, bytes});
    cachedBytes += bytes;
    // The newest always stays, however large; older ones go until the cache is within bounds.
    while (pictures.size() > 1 &&
           (pictures.size() > static_cast<size_t>(kPictureCacheSize) || cachedBytes > kPictureCacheBytes))
        forget(std::prev(pictures.end()));
    return pixmap;
}

quint64 PictureDecodes() {
    return decodes;
}

QRect FitCentred(const QSize& picture, const QSize& area) {
    QSize size = picture;
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2), size);
}
