#pragma once

#include <QRect>
#include <QtMath>

// Positions in the window layouts are in twips, 15 to the pixel.
inline int Twips(int twips) {
    return qRound(twips / 15.0);
}
inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}
