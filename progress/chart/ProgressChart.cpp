// The progress chart module: correct answers per exam against the pass mark, on Qt Charts.
#include "ProgressChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QToolTip>
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

// The chart's view: it names the point under the pointer and passes a click on one to the window.
class PointChartView : public QChartView {
public:
    explicit PointChartView(QWidget* parent) : QChartView(parent) {
        setRenderHint(QPainter::Antialiasing);
        // The chart lays itself out; which way the exams run is the data's choice (rightToLeft).
        setLayoutDirection(Qt::LeftToRight);
        viewport()->setMouseTracking(true);
    }

    void display(const ProgressChartData& data, QChart* chart, QLineSeries* correct, QScatterSeries* ring) {
        tips_ = data.tips;
        pointClicked_ = data.pointClicked;
        reach_ = std::max(6.0, 10.0 * data.scale);
        correct_ = correct;
        ring_ = ring;
        QChart* old = this->chart();
        setChart(chart);
        delete old;
        mark(data.marked);
    }

    void mark(int point) {
        if (!ring_)
            return;
        ring_->clear();
        if (correct_ && point >= 0 && point < correct_->count())
            ring_->append(correct_->at(point));
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        const int point = pointAt(event->position());
        if (point >= 0 && point < tips_.size()) {
            QToolTip::showText(event->globalPosition().toPoint(), tips_[point], viewport(),
                               aroundPoint(point));
            viewport()->setCursor(Qt::PointingHandCursor);
        } else {
            QToolTip::hideText();
            viewport()->unsetCursor();
        }
        QChartView::mouseMoveEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        const int point = event->button() == Qt::LeftButton ? pointAt(event->position()) : -1;
        if (point >= 0 && pointClicked_)
            pointClicked_(point);
        QChartView::mousePressEvent(event);
    }

private:
    QPointF placeOf(int point) const {
        const QPointF inChart = chart()->mapToPosition(correct_->at(point), correct_);
        return mapFromScene(chart()->mapToScene(inChart));
    }

    // The point of `correct` nearest `at` within reach, -1 where none is.
    int pointAt(QPointF at) const {
        if (!correct_)
            return -1;
        int nearest = -1;
        double best = reach_ * reach_;
        for (int i = 0; i < correct_->count(); ++i) {
            const QPointF d = placeOf(i) - at;
            const double distance = QPointF::dotProduct(d, d);
            if (distance <= best) {
                best = distance;
                nearest = i;
            }
        }
        return nearest;
    }

    QRect aroundPoint(int point) const {
        const QPoint centre = placeOf(point).toPoint();
        const int r = qCeil(reach_);
        return QRect(centre - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1));
    }

    QStringList tips_;
    std::function<void(int)> pointClicked_;
    double reach_ = 10;
    QLineSeries* correct_ = nullptr;
    QScatterSeries* ring_ = nullptr;
};
} // namespace

extern "C" Q_DECL_EXPORT QWidget* ravexMakeProgressChart(QWidget* parent) {
    return new PointChartView(parent);
}

extern "C" Q_DECL_EXPORT void ravexFillProgressChart(QWidget* widget, const ProgressChartData& data) {
    auto* view = dynamic_cast<PointChartView*>(widget);
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
    auto* ring = new QScatterSeries(chart);
    ring->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    ring->setMarkerSize(16 * data.scale);
    ring->setBrush(Qt::NoBrush);
    ring->setPen(QPen(data.correctColour, std::max(1.0, 2 * data.scale)));
    for (const auto& [x, y] : data.correct)
        correct->append(x, y);
    for (const auto& [x, y] : data.pass)
        pass->append(x, y);
    chart->addSeries(correct);
    chart->addSeries(pass);
    chart->addSeries(ring);
    for (QLegendMarker* marker : chart->legend()->markers(ring))
        marker->setVisible(false);

    // Category axes carry their own labels, so both axes read in the window's digits.
    auto* x = new QCategoryAxis(chart);
    auto* y = new QCategoryAxis(chart);
    for (const auto& [label, at] : data.xLabels)
        x->append(label, at);
    for (const auto& [label, at] : data.yLabels)
        y->append(label, at);
    // Half an exam's room either side keeps the end points and their labels off the chart's edges.
    x->setRange(0.5, data.xMax + 0.5);
    y->setRange(0, data.yMax);
    x->setReverse(data.rightToLeft);
    x->setTitleText(data.xTitle);
    for (QCategoryAxis* axis : {x, y}) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setLabelsFont(Scaled(data.labelFont, data.scale));
        axis->setTitleFont(Scaled(data.axisTitleFont, data.scale));
        const Qt::Alignment side = axis == x          ? Qt::AlignBottom
                                   : data.rightToLeft ? Qt::AlignRight
                                                      : Qt::AlignLeft;
        chart->addAxis(axis, side);
        for (QXYSeries* series : std::initializer_list<QXYSeries*>{correct, pass, ring})
            series->attachAxis(axis);
    }
    view->display(data, chart, correct, ring);
}

extern "C" Q_DECL_EXPORT void ravexMarkProgressChart(QWidget* widget, int point) {
    if (auto* view = dynamic_cast<PointChartView*>(widget))
        view->mark(point);
}
