#include "engine/Savepoint.h"

#include "engine/Sqlite.h"

#include <atomic>

namespace kv::engine {

Savepoint::Savepoint(Connection& connection)
    : m_connection(connection)
{
    static std::atomic<int> zaehler { 0 };
    m_name = QStringLiteral("kv_sp%1").arg(++zaehler);
    m_connection.exec(QStringLiteral("SAVEPOINT ") + m_name);
}

Savepoint::~Savepoint()
{
    if (!m_open)
        return;
    try {
        m_connection.exec(QStringLiteral("ROLLBACK TO ") + m_name);
        m_connection.exec(QStringLiteral("RELEASE ") + m_name);
    } catch (const EngineError&) {
        // The connection is gone or the savepoint was ended by SQLite itself; nothing to undo.
    }
}

void Savepoint::release()
{
    m_connection.exec(QStringLiteral("RELEASE ") + m_name);
    m_open = false;
}

} // namespace kv::engine
