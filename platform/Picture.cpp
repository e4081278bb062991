#include "platform/Picture.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <future>
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

// The bank's picture files have no suffix. Not told the format, or told it but left to detect,
// Qt loads every image plugin it has to ask each about the file; the first bytes name the
// common formats at once.
QByteArray FormatFromSignature(QIODevice* file) {
    const QByteArray head = file->peek(8);
    if (head.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (head.startsWith("GIF8"))
        return "gif";
    if (head.startsWith("BM"))
        return "bmp";
    return {};
}

// Safe on any thread: it touches nothing but its own file and image.
QImage decodeImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file);
    if (const QByteArray format = FormatFromSignature(&file); !format.isEmpty()) {
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
    } else {
        reader.setDecideFormatFromContent(true);
    }
    reader.setAutoTransform(true);
    // A file that declares a huge picture is refused before any pixel is decoded.
    reader.setAllocationLimit(kPictureAllocationLimitMb);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kPictureMaxPixels)
        return {};
    return reader.read();
}

struct Prefetch {
    QString path;
    qint64 size = 0;
    QDateTime modified;
    std::future<QImage> image;
};

Prefetch& prefetched() {
    static Prefetch pending;
    return pending;
}

// A picture decoded on another core when one was started for this very file, else here.
QPixmap decode(const QString& path, qint64 size, const QDateTime& modified) {
    ++decodes;
    Prefetch& p = prefetched();
    QImage image;
    if (p.image.valid() && p.path == path) {
        image = p.image.get();
        if (p.size != size || p.modified != modified)
            image = decodeImage(path); // the file changed since: what it holds now
    } else {
        image = decodeImage(path);
    }
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}
} // namespace

void PrefetchPicture(const QString& path) {
    const QFileInfo info(path);
    Prefetch& p = prefetched();
    static const bool waitAtExit = [] {
        // A program that ends before it shows the picture lets the decoding finish first.
        qAddPostRoutine([] {
            if (prefetched().image.valid())
                prefetched().image.wait();
        });
        return true;
    }();
    Q_UNUSED(waitAtExit);
    if (p.image.valid())
        p.image.wait(); // one at a time; an uncollected one is dropped
    if (!info.isFile()) {
        p = Prefetch();
        return;
    }
    p.path = path;
    p.size = info.size();
    p.modified = info.lastModified();
    p.image = std::async(std::launch::async, decodeImage, path);
}

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
    const QPixmap pixmap = decode(path, size, modified);
    const qint64 bytes = qint64(pixmap.width()) * pixmap.height() * std::max(pixmap.depth(), 8) / 8;
    pictures.push_front({path, size, modified, pixmap, bytes});
    cachedBytes += bytes;
    // The newest always stays, however large; older ones go until the cache is within bounds.
    while (pictures.size() > 1 &&
           (pictures.size() > static_cast<size_t>(kPictureCacheSize) || cachedBytes > kPictureCacheBytes))
        forget(std::prev(pictures.end()));
    return pixmap;
}

QPixmap ReadPicture(const QString& path, const char* format) {
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
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
