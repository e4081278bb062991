#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

// Loads a picture file whose format is told by its content (the data folder's files carry no
// extension). A missing, unreadable or damaged file gives a null pixmap, never an error.
QPixmap LoadPicture(const QString& path);

// Where a picture of size picture stands in area: at its own size, or scaled down (never up)
// with its shape kept when it does not fit; centred either way.
QRect FitCentred(const QSize& picture, const QSize& area);
