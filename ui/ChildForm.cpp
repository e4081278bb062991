#include "ui/ChildForm.h"

#include "platform/Twips.h"
#include "ui/Scaling.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

QMdiSubWindow* ChildForm::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QSize ChildForm::mainOuterSize() const {
    const QWidget* main = window() != this ? window() : nullptr;
    return main ? main->frameGeometry().size() : QSize();
}

double ChildForm::FitFactor(const QSize& client) const {
    const QMdiSubWindow* sub = subWindow();
    const QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area)
        return 1.0;
    // The frame's title and borders keep their size: only the inside shrinks.
    return ScaleFactor(client, area->viewport()->size().shrunkBy(sub->contentsMargins()));
}

void ChildForm::PlaceOnMain(int widthTwips, int heightTwips, double divisor) {
    placement_ = Placement{widthTwips, heightTwips, divisor};
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    QSize size(Twips(widthTwips), Twips(heightTwips));
    const QMargins margins = subWindow() ? subWindow()->contentsMargins() : QMargins();
    const QSize client = size.shrunkBy(margins);
    if (const double factor = FitFactor(client); factor != factor_) {
        ApplyScale(factor);
        size = ScaledRect(QRect(QPoint(), client), factor).size().grownBy(margins);
    }
    frame->resize(size);
    const QSize outer = mainOuterSize();
    if (!outer.isValid() || !subWindow())
        return;
    const QPoint at(static_cast<int>((outer.width() - size.width()) / 2.0),
                    static_cast<int>((outer.height() - size.height()) / divisor));
    // Measured on the main window's outside, a window that only just fits would reach past the
    // area's bottom: it is kept inside, where its buttons can be reached.
    frame->move(InsideArea(at, size));
}

void ChildForm::Refit() {
    if (placement_ && subWindow()) {
        const QSize client = QSize(Twips(placement_->widthTwips), Twips(placement_->heightTwips))
                                 .shrunkBy(subWindow()->contentsMargins());
        if (FitFactor(client) != factor_) {
            PlaceOnMain(placement_->widthTwips, placement_->heightTwips, placement_->divisor);
            return;
        }
    }
    KeepInArea();
}

QPoint ChildForm::InsideArea(QPoint at, const QSize& frame) const {
    const QMdiArea* area = subWindow() ? subWindow()->mdiArea() : nullptr;
    if (!area)
        return at;
    const QSize room = area->viewport()->size() - frame;
    return QPoint(std::clamp(at.x(), 0, std::max(0, room.width())),
                  std::clamp(at.y(), 0, std::max(0, room.height())));
}

void ChildForm::KeepInArea() {
    if (QMdiSubWindow* sub = subWindow())
        sub->move(InsideArea(sub->pos(), sub->size()));
}

void ChildForm::PlaceLayout(std::span<const ControlPlace> table) {
    tables_.append(table);
    PlaceControls(this, table, factor_);
}

void ChildForm::ApplyScale(double factor) {
    factor_ = factor;
    for (const auto& table : std::as_const(tables_))
        PlaceControls(this, table, factor_);
    ScaleLook(this, factor_);
    for (QWidget* control : findChildren<QWidget*>())
        ScaleLook(control, factor_);
}

int ChildForm::Scaled(int pixels) const {
    return qRound(pixels * factor_);
}
