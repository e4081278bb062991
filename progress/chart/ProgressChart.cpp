// The progress chart module: correct answers per exam against the pass mark, on Qt Charts.
#include "ProgressChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <algorithm>

namespace {
// A designed font at the window's factor, as the window's own texts are.
QFont Scaled(QFont font, double scale) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(std::max(1.0, font.pointSizeF() * scale));
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * scale)));
    return font;
}
} // namespace

extern "C" Q_DECL_EXPORT QWidget* ravexMakeProgressChart(QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setLayoutDirection(Qt::LeftToRight); // time runs left to right on the axis
    return view;
}

extern "C" Q_DECL_EXPORT void ravexFillProgressChart(QWidget* widget, const ProgressChartData& data) {
    auto* view = qobject_cast<QChartView*>(widget);
    if (!view)
        return;
    auto* chart = new QChart;
    chart->setTitle(data.title);
    chart->setTitleFont(Scaled(data.titleFont, data.scale));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(Scaled(data.legendFont, data.scale));
    auto* correct = new QLineSeries(chart);
    correct->setName(data.correctName);
    correct->setPointsVisible(true);
    correct->setPen(QPen(data.correctColour, 2.5));
    auto* pass = new QLineSeries(chart);
    pass->setName(data.passName);
    pass->setPen(QPen(data.passColour, 1.5, Qt::DashLine));
    for (const auto& [x, y] : data.correct)
        correct->append(x, y);
    for (const auto& [x, y] : data.pass)
        pass->append(x, y);
    chart->addSeries(correct);
    chart->addSeries(pass);

    // Category axes carry their own labels, so both axes read in the window's digits.
    auto* x = new QCategoryAxis(chart);
    auto* y = new QCategoryAxis(chart);
    for (const auto& [label, at] : data.xLabels)
        x->append(label, at);
    for (const auto& [label, at] : data.yLabels)
        y->append(label, at);
    x->setRange(1, data.xMax);
    y->setRange(0, data.yMax);
    x->setTitleText(data.xTitle);
    for (QCategoryAxis* axis : {x, y}) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setLabelsFont(Scaled(data.labelFont, data.scale));
        axis->setTitleFont(Scaled(data.axisTitleFont, data.scale));
        chart->addAxis(axis, axis == x ? Qt::AlignBottom : Qt::AlignLeft);
        correct->attachAxis(axis);
        pass->attachAxis(axis);
    }
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}
