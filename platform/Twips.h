#pragma once

#include <QRect>
#include <QtMath>
#include <span>

class QWidget;

// Positions in the window layouts are in twips, 15 to the pixel.
inline int Twips(int twips) {
    return qRound(twips / 15.0);
}
inline QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

// One row of a window's layout table: the control's objectName and its place in twips.
struct ControlPlace {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

// Places every named child of form; a name with no control is passed over.
void PlaceControls(QWidget* form, std::span<const ControlPlace> table);
