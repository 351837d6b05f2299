#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine {

class Connection;

/// The tables of a folder of dBASE, FoxPro or Paradox files, or of a workbook, opened as the
/// database: each becomes a virtual table of the private in-memory connection over its file, so
/// nothing is written beside the user's files unless the user changes data.
struct ForeignTables {
    /// Makes the tables in db's main schema (the foreign-table module must be registered).
    /// Throws EngineError 3024 when the folder or workbook is missing and the driver's error
    /// when the workbook cannot be read; a table that cannot be read is left out and named in
    /// problems.
    static ForeignTables create(Connection& db, const QString& path, const QString& connect);

    /// Whether the format's driver writes the tables in place (dBASE and FoxPro in a folder the
    /// user may change; Paradox tables and workbooks are read only).
    bool writable = false;
    /// German, one line per table left out, naming the table and its file.
    QStringList problems;
};

} // namespace kv::engine
