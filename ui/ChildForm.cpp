#include "ui/ChildForm.h"

#include "platform/Twips.h"

#include <QMdiSubWindow>

QMdiSubWindow* ChildForm::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QSize ChildForm::mainOuterSize() const {
    const QWidget* main = window() != this ? window() : nullptr;
    return main ? main->frameGeometry().size() : QSize();
}

void ChildForm::PlaceOnMain(int widthTwips, int heightTwips, double divisor) {
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    const QSize size(Twips(widthTwips), Twips(heightTwips));
    frame->resize(size);
    const QSize outer = mainOuterSize();
    if (!outer.isValid() || !subWindow())
        return;
    frame->move(static_cast<int>((outer.width() - size.width()) / 2.0),
                static_cast<int>((outer.height() - size.height()) / divisor));
}
