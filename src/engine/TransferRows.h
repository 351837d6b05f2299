#pragma once

#include <QtGlobal>
#include <functional>

namespace kv::engine {

class Connection;

/// Progress of an import or export while its statement runs inside SQLite, where nothing else
/// sees the rows: the foreign tables count what they give and take, and the check is asked
/// with the rows done after each row and between SQLite's own steps (for files of our own
/// format, which no driver reads). When the check answers false the statement stops with an
/// error and cancelled() tells it apart from a failure. One tally is current per thread.
class TransferRows {
public:
    using Check = std::function<bool(qint64 done)>;

    /// Without a check the tally only counts.
    explicit TransferRows(Connection& connection, Check check = {});
    ~TransferRows();
    TransferRows(const TransferRows&) = delete;
    TransferRows& operator=(const TransferRows&) = delete;

    qint64 read() const { return m_read; }
    qint64 written() const { return m_written; }
    /// Rows done so far: the larger of the two, so that both directions show progress.
    qint64 done() const { return qMax(m_read, m_written); }
    bool cancelled() const { return m_cancelled; }

    /// Called by the drivers for each row; nothing happens while no tally is current. Throws
    /// EngineError once the check has answered false.
    static void countRead();
    static void countWritten();

private:
    bool keepGoing();
    static void count(qint64 TransferRows::*counter);

    Connection& m_connection;
    Check m_check;
    TransferRows* m_previous;
    qint64 m_read = 0;
    qint64 m_written = 0;
    bool m_cancelled = false;
};

} // namespace kv::engine
