#pragma once

#include "engine/core/Parameter.h"
#include "engine/sql/Dialect.h"
#include "engine/sqlite/Statement.h"

#include <QStringList>
#include <memory>

namespace kv::engine::sql {

/// A statement of the desktop dialect, translated and prepared, with the names of its
/// parameters in placeholder order. Every statement text enters SQLite through here.
class DialectStatement {
public:
    /// Translates and prepares sql. Names SQLite cannot resolve become parameters (the
    /// dialect turns them into placeholders). values serve a crosstab without IN list, whose
    /// columns are the values its rows hold. externals makes the files named with IN
    /// reachable before the statement is prepared. Throws EngineError for anything else.
    DialectStatement(sqlite3* db, const QString& dialectSql, const QStringList& declared = {},
        const QList<Parameter>& values = {}, const ExternalSchema& externals = {});

    Statement& statement() { return *m_statement; }
    const QStringList& parameters() const { return m_parameters; }
    /// The SQLite text that was prepared.
    const QString& sql() const { return m_sql; }
    /// What the translator made of the statement (its kind, target and shape).
    const Translation& translation() const { return m_translation; }

    /// Binds the values by name (case-insensitive), each converted to its declared type;
    /// throws 3061 when one has none, 3464 when one does not convert.
    void bind(const QList<Parameter>& values);
    /// The values converted to the types the statement's PARAMETERS declare.
    QList<Parameter> typed(const QList<Parameter>& values) const;
    /// Binds the values into another statement with the same placeholders.
    static void bind(
        Statement& statement, const QStringList& names, const QList<Parameter>& values);

    /// The names a statement needs values for; unresolved names become parameters as above.
    static QStringList parametersOf(sqlite3* db, const QString& dialectSql);

private:
    std::unique_ptr<Statement> m_statement;
    QStringList m_parameters;
    QString m_sql;
    Translation m_translation;
};

} // namespace kv::engine::sql
