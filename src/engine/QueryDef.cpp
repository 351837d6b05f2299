#include "engine/QueryDef.h"

#include "engine/Database.h"
#include "engine/ExternalFiles.h"
#include "engine/Recordset.h"
#include "engine/catalog/Catalog.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sql/StatementType.h"
#include "engine/sqlite/Connection.h"

namespace kv::engine {

QueryDef::QueryDef(Database* db, QString name, QString sql)
    : m_db(db)
{
    m_entry.name = std::move(name);
    m_entry.sql = std::move(sql);
}

QueryDef::QueryDef(Database& db, QueryEntry stored)
    : m_db(&db)
    , m_entry(std::move(stored))
    , m_stored(true)
{ }

void QueryDef::store(Database& db)
{
    m_db = &db;
    db.catalog().storeQuery(m_entry, true);
    m_stored = true;
}

void QueryDef::setName(const QString& name)
{
    if (m_stored)
        m_db->catalog().renameQuery(m_entry.name, name);
    m_entry.name = name;
}

void QueryDef::setSql(const QString& sql)
{
    const QString previous = m_entry.sql;
    m_entry.sql = sql;
    if (m_stored) {
        try {
            m_db->catalog().storeQuery(m_entry, false);
        } catch (...) {
            m_entry.sql = previous;
            throw;
        }
    }
    m_parametersKnown = false;
    m_parameters.clear();
}

int QueryDef::typeOf(const QString& sql)
{
    return sql::statementType(sql);
}

int QueryDef::type() const
{
    return typeOf(m_entry.sql);
}

void QueryDef::findParameters()
{
    if (m_parametersKnown)
        return;
    // A query that names other files with IN needs them to be prepared.
    ExternalUse externals(m_db->externalFiles());
    const QStringList names = sql::DialectStatement(
        m_db->connection().handle(), m_entry.sql, {}, {}, externals.resolver())
                                  .parameters();
    const QList<Parameter> previous = m_parameters;
    m_parameters.clear();
    for (const QString& n : names) {
        Parameter p { n, dbText, QVariant() };
        for (const Parameter& a : previous)
            if (a.name.compare(n, Qt::CaseInsensitive) == 0)
                p.value = a.value;
        m_parameters.append(p);
    }
    m_parametersKnown = true;
}

QList<Parameter>& QueryDef::parameters()
{
    findParameters();
    return m_parameters;
}

void QueryDef::setParameter(const QString& name, const QVariant& value)
{
    for (Parameter& p : parameters()) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            p.value = value;
            return;
        }
    }
    throw EngineError::itemNotFound(name);
}

std::unique_ptr<Recordset> QueryDef::openRecordset(int type)
{
    return recordErrors(m_db ? m_db->errorList() : nullptr, [&] {
        findParameters();
        return Recordset::open(*m_db, m_entry.sql, type, m_parameters);
    });
}

qint64 QueryDef::execute()
{
    return recordErrors(m_db ? m_db->errorList() : nullptr, [&] {
        findParameters();
        return m_db->executeWith(m_entry.sql, m_parameters);
    });
}

} // namespace kv::engine
