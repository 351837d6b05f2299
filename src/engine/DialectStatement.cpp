#include "engine/DialectStatement.h"

#include "engine/sql/Dialect.h"

namespace kv::engine {

DialectStatement::DialectStatement(
    sqlite3* db, const QString& dialectSql, const QStringList& declared)
{
    QStringList namen = declared;
    for (;;) {
        const sql::Translation t = sql::translate(dialectSql, namen);
        try {
            m_statement = std::make_unique<Statement>(db, t.sql);
        } catch (const EngineError&) {
            const QString meldung = QString::fromUtf8(sqlite3_errmsg(db));
            const QLatin1String praefix("no such column: ");
            if (meldung.startsWith(praefix)) {
                const QString name = meldung.mid(praefix.size()).trimmed();
                if (!namen.contains(name, Qt::CaseInsensitive)) {
                    namen << name;
                    continue;
                }
            }
            throw;
        }
        m_sql = t.sql;
        m_parameters = t.parameters;
        // Native placeholders (":Name") count as parameters, too.
        const int anzahl = m_statement->parameterCount();
        for (int i = static_cast<int>(m_parameters.size()) + 1; i <= anzahl; ++i) {
            const QString name = m_statement->parameterName(i);
            m_parameters << (name.isEmpty() ? QStringLiteral("Parameter%1").arg(i) : name);
        }
        return;
    }
}

void DialectStatement::bind(const QList<Parameter>& values)
{
    bind(*m_statement, m_parameters, values);
}

void DialectStatement::bind(
    Statement& statement, const QStringList& names, const QList<Parameter>& values)
{
    int fehlend = 0;
    for (int i = 0; i < names.size(); ++i) {
        const Parameter* p = nullptr;
        for (const Parameter& v : values)
            if (v.name.compare(names[i], Qt::CaseInsensitive) == 0)
                p = &v;
        if (!p || !p->value.isValid()) {
            ++fehlend;
            continue;
        }
        statement.bind(i + 1, p->value);
    }
    if (fehlend > 0)
        throw EngineError(err::TooFewParameters,
            QStringLiteral("Zu wenige Parameter. Erwartet: %1.").arg(fehlend));
}

QString DialectStatement::translateOnly(
    sqlite3* db, const QString& dialectSql, QStringList* parameters)
{
    DialectStatement st(db, dialectSql);
    if (parameters)
        *parameters = st.parameters();
    return st.sql();
}

} // namespace kv::engine
