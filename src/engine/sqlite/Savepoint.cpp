#include "engine/sqlite/Savepoint.h"

#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"

namespace kv::engine {

namespace {
// One name for all: savepoints here are strictly nested, and SQLite releases or rolls back to
// the most recent one of a name; the same text lets the statements stay prepared.
void run(Connection& c, const char* sql)
{
    c.cached(QString::fromLatin1(sql))->step();
}
} // namespace

Savepoint::Savepoint(Connection& connection)
    : m_connection(connection)
{
    run(m_connection, "SAVEPOINT kv_sp");
}

Savepoint::~Savepoint()
{
    if (!m_open)
        return;
    try {
        run(m_connection, "ROLLBACK TO kv_sp");
        run(m_connection, "RELEASE kv_sp");
    } catch (const EngineError&) {
        // The connection is gone or the savepoint was ended by SQLite itself; nothing to undo.
    }
}

void Savepoint::release()
{
    run(m_connection, "RELEASE kv_sp");
    m_open = false;
}

} // namespace kv::engine
