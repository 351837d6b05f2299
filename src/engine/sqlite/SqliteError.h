#pragma once

#include "engine/core/EngineError.h"
#include "engine/sqlite/SqliteApi.h"

#include <QString>

namespace kv::engine {

/// Builds the engine error for a failed SQLite call; context names the failed action (German).
EngineError sqliteError(sqlite3* db, int rc, const QString& context = QString());

/// SQLite's own message of the last failure on db.
QString sqliteMessage(sqlite3* db);

} // namespace kv::engine
