#include "engine/DialectStatement.h"

#include "engine/sql/Dialect.h"
#include "engine/sql/Lexer.h"

#include <algorithm>

namespace kv::engine {

namespace {

// INSERT INTO … SELECT without a column list: each column of the SELECT goes to the target's
// column of the same name, as the dialect fills appended rows.
QString anfuegenNachNamen(sqlite3* db, const sql::Translation& t, const Statement& auswahl)
{
    QStringList zielSpalten;
    {
        Statement info(db,
            t.targetSchema.isEmpty()
                ? QStringLiteral("SELECT name FROM pragma_table_info(?1)")
                : QStringLiteral("SELECT name FROM pragma_table_info(?1, ?2)"));
        info.bind(1, QVariant(t.target));
        if (!t.targetSchema.isEmpty())
            info.bind(2, QVariant(t.targetSchema));
        while (info.step())
            zielSpalten << info.value(0).toString();
    }
    if (zielSpalten.isEmpty())
        return t.sql; // SQLite names the missing table
    QStringList spalten;
    for (int i = 0; i < auswahl.columnCount(); ++i) {
        const QString name = auswahl.columnName(i);
        const auto ziel = std::find_if(zielSpalten.cbegin(), zielSpalten.cend(),
            [&](const QString& z) { return z.compare(name, Qt::CaseInsensitive) == 0; });
        if (ziel == zielSpalten.cend())
            throw EngineError(err::UnknownAppendField,
                QStringLiteral("Das INSERT INTO-Statement enthält den folgenden unbekannten "
                               "Feldnamen: '%1'. Stellen Sie sicher, dass Sie den Namen richtig "
                               "eingegeben haben, und wiederholen Sie den Vorgang.")
                    .arg(name));
        // SQLite would keep one of two values for the same column without a word.
        const QString spalte = sql::quoteName(*ziel);
        if (spalten.contains(spalte))
            throw EngineError(
                err::InvalidOperation, QStringLiteral("Doppeltes Ausgabeziel '%1'.").arg(*ziel));
        spalten << spalte;
    }
    const QString schema
        = t.targetSchema.isEmpty() ? QString() : sql::quoteName(t.targetSchema) + QLatin1Char('.');
    return QStringLiteral("INSERT INTO ") + schema + sql::quoteName(t.target) + QStringLiteral(" (")
        + spalten.join(QStringLiteral(", ")) + QStringLiteral(") ") + t.selectSql;
}

} // namespace

namespace {
// A name SQLite could not resolve, to be translated again as a parameter.
struct NeuerParameter { };
} // namespace

DialectStatement::DialectStatement(sqlite3* db, const QString& dialectSql,
    const QStringList& declared, const QList<Parameter>& values)
{
    QStringList namen = declared;
    // Prepares sql; a name SQLite cannot resolve becomes a parameter in another round of
    // translation.
    auto vorbereiten = [&](const QString& sql) {
        try {
            return std::make_unique<Statement>(db, sql);
        } catch (const EngineError&) {
            const QString meldung = QString::fromUtf8(sqlite3_errmsg(db));
            const QLatin1String praefix("no such column: ");
            if (meldung.startsWith(praefix)) {
                const QString name = meldung.mid(praefix.size()).trimmed();
                if (!namen.contains(name, Qt::CaseInsensitive)) {
                    namen << name;
                    throw NeuerParameter {};
                }
            }
            throw;
        }
    };
    sql::TranslateContext kontext;
    kontext.firstColumn = [&](const QString& sql, const QStringList& parameter) {
        const std::unique_ptr<Statement> st = vorbereiten(sql);
        try {
            bind(*st, parameter, values);
        } catch (const EngineError& e) {
            // Without values (when the engine asks only for the parameters) there are no columns
            // yet; the statement itself still asks for the values.
            if (e.number() != err::TooFewParameters)
                throw;
            return QVariantList();
        }
        QVariantList werte;
        while (st->step())
            werte << st->value(0);
        return werte;
    };
    for (;;) {
        try {
            const sql::Translation t = sql::translate(dialectSql, namen, kontext);
            QString text = t.sql;
            if (t.appendByName)
                text = anfuegenNachNamen(db, t, *vorbereiten(t.selectSql));
            m_statement = vorbereiten(text);
            m_sql = text;
            m_parameters = t.parameters;
        } catch (const NeuerParameter&) {
            continue;
        }
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
        // A statement made of part of another (a crosstab's pivot lookup) leaves some unused.
        if (!sqlite3_bind_parameter_name(statement.handle(), i + 1))
            continue;
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
