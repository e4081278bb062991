#pragma once

#include "platform/Twips.h"

#include <QLoggingCategory>
#include <span>

class QWidget;

Q_DECLARE_LOGGING_CATEGORY(lcUi)

// One row of a window's layout table: the control's objectName and its place in twips.
struct ControlPlace {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

// Where a row puts its control in pixels, at the window's scale factor (1: the designed place).
QRect PlaceRect(const ControlPlace& place, double factor = 1.0);

// Places every named child of form at the factor. A row naming no control is passed over and
// logged: it is a fault of the table, never of the user.
void PlaceControls(QWidget* form, std::span<const ControlPlace> table, double factor = 1.0);
