#pragma once

// The engine's own catalog tables (names starting "MSysKv", system attribute): what SQLite cannot
// express of the schema lives there.

#include <QString>

namespace kv::engine {

class Connection;

/// Creates the catalog tables when missing (not for read-only connections).
void ensureCatalogTables(Connection& db);
/// Whether the catalog tables are there (a file made by other software has none).
bool hasCatalogTables(Connection& db);
bool isCatalogTable(const QString& name);
/// Now as the catalog stores dates of creation and change.
QString catalogTimestamp();
/// Notes a change of table (its LastUpdated), adding its catalog row when it has none.
void touchTable(Connection& db, const QString& table);
/// Throws 3075 for an empty name and 3010 when a table, view or query has the name.
void requireFreeName(Connection& db, const QString& name);

} // namespace kv::engine
