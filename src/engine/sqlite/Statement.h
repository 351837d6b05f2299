#pragma once

#include "engine/sqlite/SqliteApi.h"

#include <QString>
#include <QVariant>

namespace kv::engine {

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
    /// Whether the 1-based parameter has a name or number of its own (numbered placeholders
    /// may leave gaps, which have none; nor has an anonymous '?').
    bool hasPlaceholder(int index) const;
    /// The 1-based index of a named parameter (with its sign), 0 when there is none.
    int parameterIndex(const char* name) const;
    /// Whether the statement leaves the database as it is (a SELECT).
    bool isReadOnly() const;
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace kv::engine
