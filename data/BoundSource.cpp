#include "data/BoundSource.h"

#include "data/Connection.h"

BoundSource::BoundSource(QObject* parent) : QObject(parent) {}
BoundSource::~BoundSource() = default;

void BoundSource::setConnectionString(const QString& connectionString) {
    if (connectionString != connectionString_)
        connection_.reset(); // the rows held keep the old connection until the next refresh
    connectionString_ = connectionString;
}

std::shared_ptr<Connection> BoundSource::connection() {
    if (!connection_ || !connection_->isOpen())
        connection_ = std::make_shared<Connection>(connectionString_);
    return connection_;
}

bool BoundSource::refresh() {
    const bool ok = rows_.open(connection(), recordSource_);
    // A fresh result announces its first row like a move, so windows that count positions by
    // comparing IDs see the same ID before and after.
    emit willMove();
    emit currentRowChanged();
    emit moveComplete();
    return ok;
}

int BoundSource::recordCount() const {
    return rows_.count();
}
bool BoundSource::isBOF() const {
    return rows_.isBOF();
}
bool BoundSource::isEOF() const {
    return rows_.isEOF();
}

QVariant BoundSource::value(const QString& column) const {
    return rows_.value(column);
}

QString BoundSource::text(const QString& column) const {
    const QVariant v = rows_.value(column);
    return v.isNull() ? QString() : v.toString();
}

bool BoundSource::setValue(const QString& column, const QVariant& value) {
    return rows_.setValue(column, value);
}

bool BoundSource::moveTo(std::optional<PagedRows::Move> target) {
    if (!target)
        return false;
    emit willMove();
    rows_.make(std::move(*target));
    emit currentRowChanged();
    emit moveComplete();
    return true;
}

bool BoundSource::moveFirst() {
    return moveTo(rows_.first());
}
bool BoundSource::moveLast() {
    return moveTo(rows_.last());
}
bool BoundSource::moveNext() {
    return moveTo(rows_.next());
}
bool BoundSource::movePrevious() {
    return moveTo(rows_.previous());
}
QVector<QVariantList> BoundSource::firstRows(const QStringList& columns, int n) {
    QVector<QVariantList> rows;
    for (auto move = rows_.first(); move && rows.size() < n; move = rows_.next()) {
        rows_.make(std::move(*move));
        if (rows_.isEOF())
            break;
        QVariantList row;
        for (const QString& column : columns)
            row.append(rows_.value(column));
        rows.append(row);
    }
    moveFirst();
    return rows;
}

bool BoundSource::moveFromFirst(int n) {
    return moveTo(rows_.fromFirst(n));
}

bool BoundSource::update() {
    return rows_.update(*connection());
}
