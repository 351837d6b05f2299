#include "engine/QueryDef.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/DialectStatement.h"
#include "engine/Fehlerliste.h"
#include "engine/Recordset.h"
#include "engine/sql/Lexer.h"

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
    QList<sql::Token> t;
    try {
        t = sql::tokenize(sql);
    } catch (const EngineError&) {
        return dbQSelect; // the statement reports its fault when it is run
    }
    t.removeLast(); // End
    const qsizetype n = t.size();
    // Index of the keyword outside all parentheses; -1 if none.
    auto aussen = [&](QStringView wort) {
        int tiefe = 0;
        for (qsizetype k = 0; k < n; ++k) {
            if (t[k].isSymbol(u"("))
                ++tiefe;
            else if (t[k].isSymbol(u")"))
                --tiefe;
            else if (tiefe == 0 && t[k].isKeyword(wort))
                return k;
        }
        return qsizetype(-1);
    };
    qsizetype i = 0;
    // A PARAMETERS declaration ends with ';'.
    if (n > 0 && t[0].isKeyword(u"PARAMETERS")) {
        while (i < n && !t[i].isSymbol(u";"))
            ++i;
        ++i;
    }
    while (i < n && t[i].isSymbol(u"("))
        ++i;
    if (i >= n)
        return dbQSelect;
    const sql::Token& erstes = t[i];
    if (erstes.isKeyword(u"TRANSFORM"))
        return dbQCrosstab;
    if (erstes.isKeyword(u"DELETE"))
        return dbQDelete;
    if (erstes.isKeyword(u"UPDATE"))
        return dbQUpdate;
    if (erstes.isKeyword(u"INSERT"))
        return dbQAppend;
    if (aussen(u"UNION") >= 0)
        return dbQSetOperation;
    if (erstes.isKeyword(u"SELECT") && aussen(u"INTO") > 0)
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
    return merkeFehler([&] {
        ermittleParameter();
        return Recordset::open(*m_db, m_sql, type, m_parameters);
    });
}

qint64 QueryDef::execute()
{
    return merkeFehler([&] {
        ermittleParameter();
        return m_db->executeWith(m_sql, m_parameters);
    });
}

} // namespace kv::engine
