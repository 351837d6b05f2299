#pragma once

#include "engine/sqlite/Statement.h"

#include <QString>
#include <QVariant>
#include <atomic>
#include <functional>
#include <memory>
#include <unordered_map>

namespace kv::engine {

/// How a database file is opened.
enum class OpenMode { ReadOnly, ReadWrite, Create };

/// Owns one SQLite connection.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Throws EngineError. The connection knows no dialect yet: sql::openConnection opens with it.
    void open(const QString& path, OpenMode mode);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }
    /// How long a statement waits for another process's lock before it reports 3045.
    void setBusyTimeout(int milliseconds);
    /// Statements stop with an error soon after *flag turns true (nullptr: never). The flag may
    /// be set from any thread; the connection stays on its own.
    void setCancelFlag(const std::atomic<bool>* flag);
    /// While statements run, check is called every few thousand steps of SQLite's machine; a
    /// false answer stops the running statement with an error (3000, "abgebrochen"). An empty
    /// check removes it; it replaces a cancel flag and the other way round.
    void setProgressCheck(std::function<bool()> check);

    /// Runs one or more statements without results; throws EngineError.
    void exec(const QString& sql);
    /// First column of the first row, or an invalid QVariant. The statement stays prepared for
    /// the next call with the same text.
    QVariant scalar(const QString& sql);
    /// The statement for sql, prepared once per connection and handed out reset, without
    /// bindings; for statements that run again and again (a record set's writes, savepoints,
    /// lookups). A statement still held by a caller is not handed out twice.
    std::shared_ptr<Statement> cached(const QString& sql);
    qint64 changes() const;
    qint64 lastInsertRowid() const;
    bool isReadOnly() const;
    bool inTransaction() const;

private:
    sqlite3* m_db = nullptr;
    std::function<bool()> m_progressCheck;
    std::unordered_map<QString, std::shared_ptr<Statement>> m_statements;
};

} // namespace kv::engine
