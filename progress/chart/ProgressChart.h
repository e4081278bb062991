#pragma once

#include <QColor>
#include <QFont>
#include <QPair>
#include <QString>
#include <QVector>

class QWidget;

// What the progress window's chart shows, already in the window's words and digits: the module
// that draws it knows nothing of the program but this.
struct ProgressChartData {
    QString title;
    QFont titleFont;
    QFont legendFont;
    QFont labelFont;
    QFont axisTitleFont;
    QString correctName;
    QColor correctColour;
    QString passName;
    QColor passColour;
    QVector<QPair<int, int>> correct; // exam number, correct answers
    QVector<QPair<int, int>> pass;    // exam number, pass mark
    QVector<QPair<QString, int>> xLabels;
    QVector<QPair<QString, int>> yLabels;
    QString xTitle;
    int xMax = 2;
    int yMax = 30;
    // The window's scale factor: the fonts above are their designed sizes, drawn at this share.
    double scale = 1.0;
};

// The chart lives in a module of its own, loaded when the progress window first needs it: the
// charting library and the graphics libraries it brings would otherwise load with every start.
using MakeProgressChartFn = QWidget* (*)(QWidget* parent);
using FillProgressChartFn = void (*)(QWidget* chart, const ProgressChartData& data);
inline constexpr const char* kMakeProgressChart = "ravexMakeProgressChart";
inline constexpr const char* kFillProgressChart = "ravexFillProgressChart";
