#include "engine/sqlite/ProgressScope.h"

#include "engine/core/EngineError.h"

namespace kv::engine {

namespace {
// Progress checks run on the thread of their statement; a check of one connection may run a
// statement of another one, which then has its own check.
thread_local sqlite3* t_reporting = nullptr;
} // namespace

ProgressScope::ProgressScope(sqlite3* db)
    : m_previous(t_reporting)
{
    t_reporting = db;
}

ProgressScope::~ProgressScope()
{
    t_reporting = m_previous;
}

bool ProgressScope::active(sqlite3* db)
{
    return db && db == t_reporting;
}

void ProgressScope::refuse(sqlite3* db)
{
    if (active(db))
        throw EngineError(err::FileLocked,
            QStringLiteral("Die Datenbank ist gerade mit einer längeren Änderung beschäftigt."));
}

} // namespace kv::engine
