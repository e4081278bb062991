#include "ui/Layout.h"

#include <QWidget>

Q_LOGGING_CATEGORY(lcUi, "ravex.ui", QtCriticalMsg)

void PlaceControls(QWidget* form, std::span<const ControlPlace> table) {
    for (const ControlPlace& place : table) {
        if (auto* control = form->findChild<QWidget*>(QString::fromLatin1(place.name)))
            control->setGeometry(TwipsRect(place.left, place.top, place.width, place.height));
        else
            qCWarning(lcUi) << form->metaObject()->className() << "has no control" << place.name
                            << "to place";
    }
}
