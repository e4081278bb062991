#pragma once

#include <QString>

// The one place where the Jet dialect the windows speak becomes SQLite's.
namespace jetsql {

// "Delete * from T" -> "DELETE FROM T"; a bare table name -> "SELECT * FROM T"; everything
// else passes unchanged.
QString Adapt(const QString& sql);

// A text value joined into SQL between apostrophes: apostrophes are doubled, so the value can
// neither end the literal early nor change the statement's meaning.
QString QuoteText(const QString& value);

// The first table or view named after FROM, for writing a row back; empty when there is none.
QString SourceTable(const QString& sql);

} // namespace jetsql
