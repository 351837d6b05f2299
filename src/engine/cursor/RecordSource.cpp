#include "engine/cursor/RecordSource.h"

#include "engine/catalog/Catalog.h"
#include "engine/core/EngineError.h"
#include "engine/cursor/Keyset.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SortMemory.h"
#include "engine/sqlite/SqlText.h"

#include <algorithm>
#include <atomic>

namespace kv::engine {

SnapshotTable::SnapshotTable(Connection& db, QString name)
    : m_db(db)
    , m_name(std::move(name))
{ }

SnapshotTable::~SnapshotTable()
{
    try {
        if (m_db.isOpen())
            m_db.exec(QStringLiteral("DROP TABLE IF EXISTS temp.") + quoteIdentifier(m_name));
    } catch (const EngineError&) {
        // A closing database takes its temporary tables along.
    }
}

std::shared_ptr<const RecordSource> RecordSource::open(Connection& db, const Catalog& catalog,
    const sql::DialectStatement& statement, const QList<Parameter>& parameters)
{
    auto source = std::make_shared<RecordSource>();
    if (!source->keyBaseTable(db, catalog, statement))
        source->copyResult(db, statement, parameters);
    source->m_rowSql = QStringLiteral("SELECT ")
        + (source->isCopy() ? QStringLiteral("*") : statement.translation().singleTable.list)
        + QStringLiteral(", ") + source->m_qualifier + QStringLiteral(".rowid AS kv_rowid FROM ")
        + source->m_fromItem;
    return source;
}

bool RecordSource::keyBaseTable(
    Connection& db, const Catalog& catalog, const sql::DialectStatement& statement)
{
    const sql::SingleTableSelect& select = statement.translation().singleTable;
    if (select.table.isEmpty() || !select.schema.isEmpty())
        return false;
    QString schema;
    QString name;
    catalog.resolveTable(select.table, schema, name);
    // A view (a stored query) has no rowids to key; an attached table's rows are a table there.
    if (schema == QLatin1String("main")) {
        Statement kind(db.handle(),
            QStringLiteral(
                "SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND name = "
                "?1 COLLATE NOCASE"));
        kind.bind(1, QVariant(select.table));
        kind.step();
        if (kind.int64(0) == 0)
            return false;
    }
    const QString table = quoteIdentifier(schema) + QLatin1Char('.') + quoteIdentifier(name);
    m_qualifier = quoteIdentifier(select.qualifier);
    m_fromItem = table + QStringLiteral(" AS ") + m_qualifier;
    QString rest = select.rest;
    // Ties broken by the key: the keys read with a LIMIT are then the head of those read
    // without, however SQLite sorts the one and the other.
    m_pageable = !rest.isEmpty() && !select.limited;
    if (m_pageable)
        rest += (select.order.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(", "))
            + m_qualifier + QStringLiteral(".rowid");
    m_keySql = QStringLiteral("SELECT ") + m_qualifier + QStringLiteral(".rowid FROM ") + m_fromItem
        + (rest.isEmpty() ? QString() : QLatin1Char(' ') + rest);
    try {
        Statement probe(db.handle(), m_keySql);
    } catch (const EngineError&) {
        m_pageable = false;
        return false; // e.g. ORDER BY on a column alias: take a copy instead
    }
    if (select.rest.isEmpty())
        m_wholeTable = table;
    m_baseTable = table;
    m_baseSchema = schema;
    m_baseName = name;
    return true;
}

void RecordSource::copyResult(
    Connection& db, const sql::DialectStatement& statement, const QList<Parameter>& parameters)
{
    static std::atomic<int> counter { 0 };
    const QString name = QStringLiteral("kvsnap_%1").arg(++counter);
    Statement copy(db.handle(),
        QStringLiteral("CREATE TEMP TABLE ") + quoteIdentifier(name) + QStringLiteral(" AS ")
            + statement.sql());
    sql::DialectStatement::bind(copy, statement.parameters(), parameters);
    copy.step();
    m_copy = std::make_unique<SnapshotTable>(db, name);
    m_qualifier = quoteIdentifier(name);
    m_fromItem = QStringLiteral("temp.") + m_qualifier + QStringLiteral(" AS ") + m_qualifier;
    m_keySql = QStringLiteral("SELECT rowid FROM temp.") + m_qualifier
        + QStringLiteral(" ORDER BY rowid");
}

std::vector<qint64> KeyQuery::run(Connection& db) const
{
    // Declared first: the statement is finished before the cache is set back.
    const SortMemory sortMemory(db.handle());
    std::vector<qint64> keys;
    Statement st(db.handle(), sql);
    sql::DialectStatement::bind(st, parameterNames, parameters);
    while (st.step())
        keys.push_back(st.int64(0));
    return keys;
}

std::optional<KeyQuery> RecordSource::firstKeysQuery(
    qint64 rows, const QStringList& parameterNames, const QList<Parameter>& parameters) const
{
    if (!m_pageable || !keysReadableElsewhere())
        return std::nullopt;
    return KeyQuery { m_keySql + QStringLiteral(" LIMIT ")
            + QString::number(std::max<qint64>(rows, 1)),
        parameterNames, parameters };
}

std::shared_ptr<Keyset> RecordSource::readKeys(
    Connection& db, const QStringList& parameterNames, const QList<Parameter>& parameters) const
{
    if (!m_wholeTable.isEmpty())
        return std::make_shared<Keyset>(db.handle(), m_wholeTable, m_qualifier);
    if (isCopy())
        return std::make_shared<Keyset>(KeyQuery { m_keySql, {}, {} }.run(db));
    return std::make_shared<Keyset>(keyQuery(parameterNames, parameters).run(db));
}

} // namespace kv::engine
