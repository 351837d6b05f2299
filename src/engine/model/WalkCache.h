#pragma once

#include "engine/Database.h"
#include "engine/sqlite/Connection.h"

namespace kv::engine {

/// For a worker's connection that reads every row once (a count, totals): a few pages serve such
/// a walk, while a large cache is only filled, each of its pages fresh memory the system has to
/// hand out (on a million rows that costs more than a tenth of the walk).
inline void cacheForOneWalk(Database& db)
{
    db.connection().exec(QStringLiteral("PRAGMA cache_size = -512"));
}

} // namespace kv::engine
