#include "engine/sqlite/Connection.h"

#include "engine/sqlite/ProgressScope.h"
#include "engine/sqlite/SqliteError.h"

namespace kv::engine {

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, OpenMode mode)
{
    close();
    int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case OpenMode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case OpenMode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case OpenMode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        EngineError error = sqliteError(db, rc);
        sqlite3_close_v2(db);
        throw error;
    }
    sqlite3_extended_result_codes(db, 1);
    m_db = db;
}

void Connection::close()
{
    m_statements.clear(); // finalized before their connection
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Connection::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

void Connection::setCancelFlag(const std::atomic<bool>* flag)
{
    // A non-zero answer makes SQLite stop the running statement with SQLITE_INTERRUPT.
    const auto check = [](void* f) -> int {
        return static_cast<const std::atomic<bool>*>(f)->load(std::memory_order_relaxed) ? 1 : 0;
    };
    sqlite3_progress_handler(
        m_db, flag ? 4096 : 0, flag ? +check : nullptr, const_cast<std::atomic<bool>*>(flag));
}

void Connection::setProgressCheck(std::function<bool()> check)
{
    m_progressCheck = std::move(check);
    const auto call = [](void* c) -> int {
        auto* self = static_cast<Connection*>(c);
        const ProgressScope scope(self->m_db);
        return self->m_progressCheck() ? 0 : 1;
    };
    // About a millisecond of work between two calls: often enough for a window to repaint.
    sqlite3_progress_handler(
        m_db, m_progressCheck ? 20000 : 0, m_progressCheck ? +call : nullptr, this);
}

void Connection::exec(const QString& sql)
{
    ProgressScope::refuse(m_db);
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, sqlite3_extended_errcode(m_db));
}

QVariant Connection::scalar(const QString& sql)
{
    const std::shared_ptr<Statement> st = cached(sql);
    const QVariant value = st->step() ? st->value(0) : QVariant();
    st->reset();
    return value;
}

std::shared_ptr<Statement> Connection::cached(const QString& sql)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end() && it->second.use_count() > 1)
        return std::make_shared<Statement>(m_db, sql); // in use further up: a statement of its own
    if (it == m_statements.end()) {
        // Texts with literals in them come once; a full cache starts afresh (statements still
        // held live on with their holders).
        if (m_statements.size() >= 256)
            m_statements.clear();
        it = m_statements.emplace(sql, std::make_shared<Statement>(m_db, sql)).first;
    }
    std::shared_ptr<Statement> st = it->second;
    st->reset();
    st->clearBindings();
    return st;
}

qint64 Connection::changes() const
{
    return sqlite3_changes64(m_db);
}

qint64 Connection::lastInsertRowid() const
{
    return sqlite3_last_insert_rowid(m_db);
}

bool Connection::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

bool Connection::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

} // namespace kv::engine
