#include "data/Recordset.h"

#include "data/Connection.h"
#include "data/JetSql.h"

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

bool Recordset::open(const QString& source, const QString& connectionString) {
    own_ = std::make_unique<Connection>(connectionString);
    return open(source, *own_);
}

bool Recordset::open(const QString& source, Connection& connection) {
    connection_ = &connection;
    source_ = source;
    return rows_.load(connection, source);
}

void Recordset::close() {
    rows_.clear();
    connection_ = nullptr;
    own_.reset();
}

bool Recordset::moveFirst() {
    const auto target = rows_.firstTarget();
    if (target)
        rows_.setPosition(*target);
    return target.has_value();
}

bool Recordset::moveNext() {
    const auto target = rows_.nextTarget();
    if (target)
        rows_.setPosition(*target);
    return target.has_value();
}

bool Recordset::update() {
    return connection_ && rows_.update(*connection_);
}

bool Recordset::addRow(const QVector<QPair<QString, QVariant>>& values) {
    return connection_ && RowSet::append(*connection_, jetsql::SourceTable(source_), values);
}

BankError Recordset::error() const {
    return connection_ ? connection_->error() : BankError::None;
}
