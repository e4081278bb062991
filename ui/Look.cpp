#include "ui/Look.h"

#include <QLabel>
#include <QWidget>

static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace look {

QFont NazaninBold(double points) {
    QFont font(QStringLiteral("Nazanin"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QFont TahomaBold(double points) {
    QFont font = Tahoma(points);
    font.setBold(true);
    return font;
}

QFont Tahoma(double points) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

void SetBackColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetFormBackground(QWidget* form) {
    QPalette p = form->palette();
    p.setColor(QPalette::Window, kFormBlue);
    form->setPalette(p);
    form->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

void EnsureResources() {
    static const bool done = (initResources(), true);
    Q_UNUSED(done);
}

} // namespace look
