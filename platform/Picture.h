#pragma once

#include <QPixmap>
#include <QString>

// Loads a picture file whose format is told by its content (the data folder's files carry no
// extension). A missing, unreadable or damaged file gives a null pixmap, never an error.
QPixmap LoadPicture(const QString& path);
