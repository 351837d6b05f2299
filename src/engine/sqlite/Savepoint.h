#pragma once

namespace kv::engine {

class Connection;

/// Guard for one multi-statement change: rolls back in its destructor unless released.
/// Savepoints nest inside a user transaction, so a failed schema change inside BeginTrans
/// undoes only itself.
class Savepoint {
public:
    explicit Savepoint(Connection& connection);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    /// Makes the changes part of the enclosing transaction (or commits them).
    void release();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace kv::engine
