#include "engine/QueryDef.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/DialectStatement.h"
#include "engine/Recordset.h"
#include "engine/SqlTokens.h"

namespace kv::engine {

QueryDef::QueryDef(Database* db, QString name, QString sql)
    : m_db(db)
    , m_name(std::move(name))
    , m_sql(std::move(sql))
{ }

void QueryDef::setName(const QString& name)
{
    if (m_stored)
        m_db->catalog().renameQuery(m_name, name);
    m_name = name;
}

void QueryDef::setSql(const QString& sql)
{
    const QString alt = m_sql;
    m_sql = sql;
    if (m_stored) {
        try {
            m_db->catalog().storeQuery(*this, false);
        } catch (...) {
            m_sql = alt;
            throw;
        }
    }
    m_parameterBekannt = false;
    m_parameters.clear();
}

int QueryDef::typeOf(const QString& sql)
{
    const SqlTokens tk(sql);
    const auto& t = tk.tokens();
    size_t i = 0;
    // A PARAMETERS declaration ends with ';'.
    if (!t.empty() && t[0].is("PARAMETERS")) {
        while (i < t.size() && !t[i].is(";"))
            ++i;
        ++i;
    }
    while (i < t.size() && t[i].is("("))
        ++i;
    if (i >= t.size())
        return dbQSelect;
    const auto& erstes = t[i];
    if (erstes.is("TRANSFORM"))
        return dbQCrosstab;
    if (erstes.is("DELETE"))
        return dbQDelete;
    if (erstes.is("UPDATE"))
        return dbQUpdate;
    if (erstes.is("INSERT"))
        return dbQAppend;
    if (tk.findTop("UNION") >= 0)
        return dbQSetOperation;
    const int into = tk.findTop("INTO");
    if (erstes.is("SELECT") && into > 0)
        return dbQMakeTable;
    return dbQSelect;
}

int QueryDef::type() const
{
    return typeOf(m_sql);
}

void QueryDef::ermittleParameter()
{
    if (m_parameterBekannt)
        return;
    QList<Parameter> alt = m_parameters;
    QStringList namen;
    DialectStatement::translateOnly(m_db->connection().handle(), m_sql, &namen);
    m_parameters.clear();
    for (const QString& n : namen) {
        Parameter p { n, dbText, QVariant() };
        for (const Parameter& a : alt)
            if (a.name.compare(n, Qt::CaseInsensitive) == 0)
                p.value = a.value;
        m_parameters.append(p);
    }
    m_parameterBekannt = true;
}

QList<Parameter>& QueryDef::parameters()
{
    ermittleParameter();
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
    ermittleParameter();
    return Recordset::open(*m_db, m_sql, type, m_parameters);
}

qint64 QueryDef::execute()
{
    ermittleParameter();
    return m_db->executeWith(m_sql, m_parameters);
}

} // namespace kv::engine
