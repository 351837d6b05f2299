#pragma once

// Private to the engine: every statement text enters SQLite through here.

#include "engine/Parameter.h"
#include "engine/Sqlite.h"

#include <QStringList>
#include <memory>

namespace kv::engine {

/// A statement of the desktop dialect, translated and prepared, with the names of its
/// parameters in placeholder order.
class DialectStatement {
public:
    /// Translates and prepares sql. Names SQLite cannot resolve become parameters (the
    /// dialect turns them into placeholders). values serve a crosstab without IN list, whose
    /// columns are the values its rows hold. Throws EngineError for anything else.
    DialectStatement(sqlite3* db, const QString& dialectSql, const QStringList& declared = {},
        const QList<Parameter>& values = {});

    Statement& statement() { return *m_statement; }
    const QStringList& parameters() const { return m_parameters; }
    const QString& sql() const { return m_sql; }

    /// Binds the values by name (case-insensitive); throws 3061 when one has none.
    void bind(const QList<Parameter>& values);
    /// Binds the values into another statement with the same placeholders.
    static void bind(
        Statement& statement, const QStringList& names, const QList<Parameter>& values);

    /// The dialect translation of a statement; unresolved names become parameters as above.
    static QString translateOnly(sqlite3* db, const QString& dialectSql, QStringList* parameters);

private:
    std::unique_ptr<Statement> m_statement;
    QStringList m_parameters;
    QString m_sql;
};

} // namespace kv::engine
