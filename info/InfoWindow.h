#pragma once

#include "ui/ChildForm.h"

#include <QCursor>
#include <QLoggingCategory>
#include <QPixmap>
#include <QRect>

Q_DECLARE_LOGGING_CATEGORY(lcInfo)

// The sizing rules of the information windows, in pixels; "main" is the main window's outer size
// and a window's size is that of its frame.

// A window around a picture shown at its natural size: 100 twips wider and 400 twips taller.
QSize FrameAroundPicture(const QSize& picture);
// A window of size frame centred across `over` (the main window, or its area), at the top.
QRect AtTopCentre(const QSize& frame, const QSize& over);

// Where the enlarged-picture window stands in the area the learner sees (the main window's MDI
// area), and whether its picture must be shown scaled: a window around the picture that would be
// wider or taller than the area becomes one 1000 twips narrower and 1500 twips shorter than the
// area instead, so it never runs under the main window's menu or button strip. Either stands
// centred across the area, at its top.
struct EnlargedFit {
    QRect frame;
    bool scaled = false;
};
EnlargedFit FitEnlarged(const QSize& picture, const QSize& area);

// The pointer over the about window's clickable pictures and its button.
QCursor ClickCursor();

// A picture of the data folder by its file name; a missing or unreadable file gives an empty
// picture, logged.
QPixmap LoadDataPicture(const QString& file);

// The common ground of the information windows: their frame is sized and placed in pixels.
class InfoWindow : public ChildForm {
    Q_OBJECT
public:
    using ChildForm::ChildForm;

protected:
    QSize FrameOfClient(const QSize& client) const; // the frame whose inside is client
    QSize ClientOfFrame(const QSize& frame) const;
    void SetFrame(const QRect& frame); // the frame's size and place over the main window
    QSize areaSize() const;            // the MDI area's visible size; the main window's outside without one
    void CloseWindow();                // closes the window with its frame
};
