#pragma once

// Private to the engine: the only header besides the engine's sources that includes sqlite3.h.

#include "engine/EngineError.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <sqlite3.h>
#include <unordered_map>

namespace kv::engine {

/// Builds the engine error for a failed SQLite call; context names the failed action (German).
EngineError sqliteError(sqlite3* db, int rc, const QString& context = QString());

/// Owns one prepared statement.
class Statement {
public:
    /// Prepares sql (already SQLite SQL); throws EngineError.
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;

    /// true when a row is ready; false when done. Throws EngineError.
    bool step();
    void reset();
    void clearBindings();
    /// 1-based parameter index. Null QVariant binds NULL.
    void bind(int index, const QVariant& value);
    void bind(int index, qint64 value);

    int columnCount() const;
    QString columnName(int column) const;
    /// NULL → invalid QVariant, INTEGER → qlonglong, REAL → double, TEXT → QString,
    /// BLOB → QByteArray.
    QVariant value(int column) const;
    qint64 int64(int column) const;
    bool isNull(int column) const;
    /// Origin of a result column (empty for expressions): schema, table and column name.
    QString columnDatabase(int column) const;
    QString columnTable(int column) const;
    QString columnOrigin(int column) const;
    QString columnDeclType(int column) const;
    int parameterCount() const;
    /// Name of a 1-based parameter without its ':', '@' or '$' sign; empty for '?'.
    QString parameterName(int index) const;
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

/// Owns one SQLite connection.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// flags: SQLITE_OPEN_* ; throws EngineError. Registers the SQL function library.
    void open(const QString& path, int flags);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

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
    std::unordered_map<QString, std::shared_ptr<Statement>> m_statements;
};

} // namespace kv::engine
