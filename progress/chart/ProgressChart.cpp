// The progress chart module: correct answers per exam against the pass mark, on Qt Charts.
#include "ProgressChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>

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
    chart->setTitleFont(data.titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(data.legendFont);
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
        axis->setLabelsFont(data.labelFont);
        axis->setTitleFont(data.axisTitleFont);
        chart->addAxis(axis, axis == x ? Qt::AlignBottom : Qt::AlignLeft);
        correct->attachAxis(axis);
        pass->attachAxis(axis);
    }
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}
