#pragma once

#include <QString>

class EngineSql;

// The one place where the Jet dialect the windows speak becomes the engine's.
namespace jetsql {

// "Delete * from T" -> "DELETE FROM T"; a bare table name -> "SELECT * FROM T"; everything
// else passes unchanged. This much is the same for every engine.
QString Adapt(const QString& sql);
// The same, then finished for the engine (EngineSql::FinishJet).
QString Adapt(const QString& sql, const EngineSql& engine);

// A text value joined into SQL between apostrophes: apostrophes are doubled, so the value can
// neither end the literal early nor change the statement's meaning.
QString QuoteText(const QString& value);

// The first table or view named after FROM, for writing a row back; empty when there is none.
QString SourceTable(const QString& sql);

// The parts of a result read by key: the windows' question texts return their rows in ascending
// ID order, so a page is found by the ID it follows or precedes, never by counting rows.
enum class Part {
    First,  // the first rows; binds the row limit
    Last,   // the last rows, last first; binds the row limit
    After,  // the rows after an ID; binds the ID and the row limit
    Before, // the rows before an ID, nearest first; binds the ID and the row limit
    At,     // the rows from a position on; binds the row limit and the position
    Count,  // the number of rows
};

// Whether sql (Jet dialect) may be read in parts: a plain SELECT with no order or limit of its own.
// Whether its rows carry an ID is for the engine to say when the part's text is compiled.
bool Pageable(const QString& sql, const EngineSql& engine);

// The engine's text that reads one part of sql's rows.
QString PartOf(const QString& sql, Part part, const EngineSql& engine);

} // namespace jetsql
