#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

// Loads a picture file whose format is told by its content (the data folder's files carry no
// extension). A missing, unreadable or damaged file gives a null pixmap, never an error.
// Pictures are decoded once: the most recent ones (up to kPictureCacheSize of them and
// kPictureCacheBytes in all) are kept by path and decoded again only when their file's size or
// modification time changes.
QPixmap LoadPicture(const QString& path);

inline constexpr int kPictureCacheSize = 32;
inline constexpr qint64 kPictureCacheBytes = 24 * 1024 * 1024;

// Starts decoding a picture file on another core; the LoadPicture that next asks for that file
// takes the result (or decodes afresh if the file changed meanwhile). The main window's ground
// decodes this way while the window itself is being built.
void PrefetchPicture(const QString& path);

// Reads one of the program's own pictures, whose format is known ("png", "ppm"): only that
// format's reader is asked, where Qt would otherwise load every image plugin it has first.
QPixmap ReadPicture(const QString& path, const char* format);

// How many times a picture file has been decoded since the program started (a cache miss).
quint64 PictureDecodes();

// Where a picture of size picture stands in area: at its own size, or scaled down (never up)
// with its shape kept when it does not fit; centred either way.
QRect FitCentred(const QSize& picture, const QSize& area);
