#include "data/BoundSource.h"

#include "data/Connection.h"

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
    emit currentRowChanged();
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
    emit currentRowChanged();
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
