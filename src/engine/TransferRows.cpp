#include "engine/TransferRows.h"

#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/ProgressScope.h"

namespace kv::engine {

namespace {
// Statements run on the thread that started them, so the drivers find the tally here.
thread_local TransferRows* t_current = nullptr;

[[noreturn]] void stop()
{
    throw EngineError(err::Generic, QStringLiteral("Der Vorgang wurde abgebrochen."));
}
} // namespace

TransferRows::TransferRows(Connection& connection, Check check)
    : m_connection(connection)
    , m_check(std::move(check))
    , m_previous(t_current)
{
    t_current = this;
    // Once stopped, the rollback that follows must run to its end.
    if (m_check)
        m_connection.setProgressCheck([this] { return m_cancelled || keepGoing(); });
}

TransferRows::~TransferRows()
{
    if (m_check)
        m_connection.setProgressCheck({});
    t_current = m_previous;
}

bool TransferRows::keepGoing()
{
    if (!m_check || m_cancelled)
        return !m_cancelled;
    m_cancelled = !m_check(done());
    return !m_cancelled;
}

void TransferRows::count(qint64 TransferRows::*counter)
{
    if (!t_current)
        return;
    ++(t_current->*counter);
    // The window shown meanwhile must not read from the connection the statement is using.
    const ProgressScope scope(t_current->m_connection.handle());
    if (!t_current->keepGoing())
        stop();
}

void TransferRows::countRead()
{
    count(&TransferRows::m_read);
}

void TransferRows::countWritten()
{
    count(&TransferRows::m_written);
}

} // namespace kv::engine
