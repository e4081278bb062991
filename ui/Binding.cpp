#include "ui/Binding.h"

#include "data/BoundSource.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

QString BoundText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return plain->toPlainText();
    return {};
}

bool SetBoundText(QWidget* widget, const QString& text) {
    if (!widget || BoundText(widget) == text)
        return false;
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(text);
    else
        return false;
    return true;
}

Binder::Binder(BoundSource* source) : QObject(source), source_(source) {
    connect(source_, &BoundSource::currentRowChanged, this, &Binder::showCurrentRow);
}

void Binder::bind(const QString& column, QWidget* widget, std::function<void()> onChange) {
    bindings_.append({column, widget, std::move(onChange)});
    if (SetBoundText(widget, source_->text(column)) && bindings_.last().onChange)
        bindings_.last().onChange();
}

void Binder::showCurrentRow() {
    // Copy first: a change handler may bind or move, and must not invalidate this walk.
    const QVector<Binding> bindings = bindings_;
    for (const Binding& b : bindings) {
        if (SetBoundText(b.widget, source_->text(b.column)) && b.onChange)
            b.onChange();
    }
}
