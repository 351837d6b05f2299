#pragma once

#include "engine/core/Parameter.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace kv::engine {

class Catalog;
class Connection;
class Keyset;

namespace sql {
class DialectStatement;
}

/// The statement that reads a record set's keys, to be run on any connection to the same file.
struct KeyQuery {
    QString sql;
    QStringList parameterNames;
    QList<Parameter> parameters;

    /// The keys in the statement's order.
    std::vector<qint64> run(Connection& db) const;
};

/// A temporary copy of a result that has no base table to key; dropped with the last record set
/// that reads it.
class SnapshotTable {
public:
    SnapshotTable(Connection& db, QString name);
    ~SnapshotTable();
    SnapshotTable(const SnapshotTable&) = delete;
    SnapshotTable& operator=(const SnapshotTable&) = delete;

private:
    Connection& m_db;
    QString m_name;
};

/// Where a record set reads its keys and rows, decided when it opens and shared by its clones:
/// its base table, whose rowids are the keys, when the statement reads one table row by row and
/// SQLite can key it so; else a temporary copy of the result, keyed by the copy's rowids.
class RecordSource {
public:
    /// The source of a prepared statement, whose parameter values are bound already.
    static std::shared_ptr<const RecordSource> open(Connection& db, const Catalog& catalog,
        const sql::DialectStatement& statement, const QList<Parameter>& parameters);

    bool isCopy() const { return m_copy != nullptr; }
    /// The base table ("schema"."table", quoted) that writes go to; empty for a copy.
    const QString& baseTable() const { return m_baseTable; }
    /// The same unquoted: the schema and the table's name there.
    const QString& baseSchema() const { return m_baseSchema; }
    const QString& baseName() const { return m_baseName; }
    /// The name the rows are qualified with in keySql and rowSql (quoted).
    const QString& qualifier() const { return m_qualifier; }
    /// "<table> AS <qualifier>".
    const QString& fromItem() const { return m_fromItem; }
    /// "SELECT <columns>, <qualifier>.rowid AS kv_rowid FROM <fromItem>" (no WHERE).
    const QString& rowSql() const { return m_rowSql; }

    /// The keys in the statement's order; a whole table in table order is read as the cursors
    /// reach its rows (the parameters serve the statement's WHERE).
    std::shared_ptr<Keyset> readKeys(Connection& db, const QStringList& parameterNames,
        const QList<Parameter>& parameters) const;
    /// Whether another connection can read the keys (a base table sorted or filtered): a whole
    /// table in table order reads them as needed, a copy exists only on this connection.
    bool keysReadableElsewhere() const { return !isCopy() && m_wholeTable.isEmpty(); }
    KeyQuery keyQuery(const QStringList& parameterNames, const QList<Parameter>& parameters) const
    {
        return { m_keySql, parameterNames, parameters };
    }
    /// The first rows keys of keyQuery, the same as its first rows keys are (its order is
    /// total); nullopt when the statement limits its rows itself or reads no keys elsewhere.
    std::optional<KeyQuery> firstKeysQuery(
        qint64 rows, const QStringList& parameterNames, const QList<Parameter>& parameters) const;

private:
    bool keyBaseTable(Connection& db, const Catalog& catalog, const sql::DialectStatement& st);
    void copyResult(
        Connection& db, const sql::DialectStatement& st, const QList<Parameter>& parameters);

    QString m_baseTable;
    QString m_baseSchema;
    QString m_baseName;
    QString m_qualifier;
    QString m_fromItem;
    QString m_keySql;
    QString m_rowSql;
    QString m_wholeTable; // set when the keys are a whole table in table order
    bool m_pageable = false; // m_keySql is ordered totally and takes a LIMIT
    std::unique_ptr<SnapshotTable> m_copy;
};

} // namespace kv::engine
