#include "data/BoundSource.h"

#include "data/Connection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

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

BoundSource::BoundSource(QObject* parent) : QObject(parent) {}
BoundSource::~BoundSource() = default;

void BoundSource::setConnectionString(const QString& connectionString) {
    if (connectionString != connectionString_)
        connection_.reset();
    connectionString_ = connectionString;
}

Connection* BoundSource::connection() {
    if (!connection_ || !connection_->isOpen())
        connection_ = std::make_unique<Connection>(connectionString_);
    return connection_.get();
}

bool BoundSource::refresh() {
    const bool ok = rows_.load(*connection(), recordSource_);
    // A fresh result announces its first row like a move, so windows that count positions by
    // comparing IDs see the same ID before and after.
    emit willMove();
    showCurrentRow();
    emit moveComplete();
    return ok;
}

QString BoundSource::text(const QString& column) const {
    const QVariant v = rows_.value(column);
    return v.isNull() ? QString() : v.toString();
}

bool BoundSource::moveTo(std::optional<int> target) {
    if (!target)
        return false;
    emit willMove();
    rows_.setPosition(*target);
    showCurrentRow();
    emit moveComplete();
    return true;
}

bool BoundSource::moveFirst() {
    return moveTo(rows_.firstTarget());
}
bool BoundSource::moveLast() {
    return moveTo(rows_.lastTarget());
}
bool BoundSource::moveNext() {
    return moveTo(rows_.nextTarget());
}
bool BoundSource::movePrevious() {
    return moveTo(rows_.previousTarget());
}
bool BoundSource::moveFromFirst(int n) {
    return moveTo(rows_.forwardFromFirstTarget(n));
}

bool BoundSource::update() {
    return rows_.update(*connection());
}

void BoundSource::bind(const QString& column, QWidget* widget, std::function<void()> onChange) {
    bindings_.append({column, widget, std::move(onChange)});
    if (SetBoundText(widget, text(column)) && bindings_.last().onChange)
        bindings_.last().onChange();
}

void BoundSource::showCurrentRow() {
    // Copy first: a change handler may bind or move, and must not invalidate this walk.
    const QVector<Binding> bindings = bindings_;
    for (const Binding& b : bindings) {
        if (SetBoundText(b.widget, text(b.column)) && b.onChange)
            b.onChange();
    }
}
