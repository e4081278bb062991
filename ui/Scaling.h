#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// How far a window of the designed size must shrink to fit the available area: the smaller of
// the two ratios, never above 1 (a larger area leaves the window at its designed size). An
// unknown or empty area, or a window with no size, leaves it at 1.
double ScaleFactor(QSize designed, QSize available);

// A designed rectangle in pixels at a factor, edge by edge; at 1 it is the rectangle itself.
QRect ScaledRect(const QRect& designed, double factor);

// Scales a widget's own font and, for a button with an icon, its icon size, from what they were
// the first time this was called on it: scaling again at another factor never compounds.
void ScaleLook(QWidget* widget, double factor);
