#include "platform/Twips.h"

#include <QWidget>

void PlaceControls(QWidget* form, std::span<const ControlPlace> table) {
    for (const ControlPlace& place : table) {
        if (auto* control = form->findChild<QWidget*>(QString::fromLatin1(place.name)))
            control->setGeometry(TwipsRect(place.left, place.top, place.width, place.height));
    }
}
