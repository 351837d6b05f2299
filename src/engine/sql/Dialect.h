#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace kv::engine::sql {

/// Result of turning one desktop-dialect statement into SQLite SQL.
struct Translation {
    QString sql;
    /// Parameter names in the order of their placeholders ?1, ?2, … in sql.
    QStringList parameters;
};

/// The single entry point every statement text passes through before SQLite sees it.
/// parameterNames: names that are to be treated as parameters (declared with PARAMETERS or
/// found unresolved by the engine); they become numbered placeholders.
/// Throws EngineError on text the dialect cannot read.
Translation translate(const QString& dialectSql, const QStringList& parameterNames = {});

/// Registers the collation, LIKE and the function library on a connection. Call once per
/// connection right after it is opened.
void registerFunctions(sqlite3* db);

/// Name of the German, case-insensitive collation that text columns are declared with.
inline constexpr const char* CollationName = "KVDE";

} // namespace kv::engine::sql
