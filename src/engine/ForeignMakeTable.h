#pragma once

#include "engine/core/Parameter.h"
#include "engine/isam/IsamField.h"

#include <QString>
#include <QStringList>

namespace kv::engine {

class Connection;
class Statement;
namespace isam {
class VerificationReport;
}

/// Fields for the result columns of a SELECT: the declared type where a column comes from a
/// table, else the kind of its first value (haveRow: the statement stands on its first row).
isam::IsamFields resultFields(const Statement& select, bool haveRow);

/// The CREATE TABLE of a make-table query into a database of our own: the new table keeps the
/// types and sizes of the fields it is made from (SQLite's CREATE TABLE … AS keeps only their
/// affinity, which turns a Memo into a short Text).
QString makeTableDefinition(const QString& qualifiedName, const isam::IsamFields& fields);

/// SELECT … INTO a table of a foreign folder or workbook: creates the table with fields taken
/// from the columns of selectSql (type and size) and writes its rows. A table that could not be
/// filled completely is removed again together with every file it made. Returns the rows
/// written; report, when given, receives the counts and every value that changed.
qint64 makeForeignTable(Connection& connection, const QString& connect, const QString& table,
    const QString& selectSql, const QStringList& parameterNames, const QList<Parameter>& values,
    isam::VerificationReport* report = nullptr);

} // namespace kv::engine
