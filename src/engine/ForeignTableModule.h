#pragma once

#include <QString>

namespace kv::engine {

class Connection;

/// Name of the virtual-table module that shows a table of a foreign file (dBASE, FoxPro,
/// Paradox, Excel) to SQLite: CREATE VIRTUAL TABLE temp.t USING kv_foreign('<connect>',
/// '<source table>').
inline constexpr const char* foreignModuleName = "kv_foreign";

/// Makes the module known to a connection; every connection of a database needs it before its
/// attached foreign tables are created.
void registerForeignTableModule(Connection& db);

} // namespace kv::engine
