#pragma once

#include <QColor>
#include <QFont>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

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
    // The exam numbers grow from the right edge leftwards, the value axis stands at the right.
    bool rightToLeft = false;
    // Shown while the pointer is over a point of `correct`, one text a point in the same order.
    QStringList tips;
    // The point of `correct` ringed as chosen, -1 for none.
    int marked = -1;
    // Told the point of `correct` a click landed on.
    std::function<void(int)> pointClicked;
    // The window's scale factor: the fonts above are their designed sizes, drawn at this share.
    double scale = 1.0;
};

// The chart lives in a module of its own, loaded when the progress window first needs it: the
// charting library and the graphics libraries it brings would otherwise load with every start.
using MakeProgressChartFn = QWidget* (*)(QWidget* parent);
using FillProgressChartFn = void (*)(QWidget* chart, const ProgressChartData& data);
// Rings another point of `correct` (-1: none) without drawing the chart afresh.
using MarkProgressChartFn = void (*)(QWidget* chart, int point);
inline constexpr const char* kMakeProgressChart = "ravexMakeProgressChart";
inline constexpr const char* kFillProgressChart = "ravexFillProgressChart";
inline constexpr const char* kMarkProgressChart = "ravexMarkProgressChart";
