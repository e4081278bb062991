#include "app/ChildForm.h"

#include "platform/Twips.h"

#include <QMdiSubWindow>

QMdiSubWindow* ChildForm::subWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void ChildForm::PlaceOnMain(int widthTwips, int heightTwips, double divisor) {
    QWidget* frame = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    const QSize size(Twips(widthTwips), Twips(heightTwips));
    frame->resize(size);
    QWidget* main = window() != this ? window() : nullptr;
    if (!main || !subWindow())
        return;
    const QSize outer = main->frameGeometry().size();
    frame->move(static_cast<int>((outer.width() - size.width()) / 2.0),
                static_cast<int>((outer.height() - size.height()) / divisor));
}
