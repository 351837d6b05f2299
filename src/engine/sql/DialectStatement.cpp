#include "engine/sql/DialectStatement.h"

#include "engine/sql/Lexer.h"
#include "engine/sql/ParameterValue.h"
#include "engine/sqlite/SqliteError.h"

#include <algorithm>

namespace kv::engine::sql {

namespace {

// INSERT INTO … SELECT without a column list: each column of the SELECT goes to the target's
// column of the same name, as the dialect fills appended rows.
QString appendByName(sqlite3* db, const Translation& t, const Statement& select)
{
    QStringList targetColumns;
    {
        Statement info(db,
            t.targetSchema.isEmpty()
                ? QStringLiteral("SELECT name FROM pragma_table_info(?1)")
                : QStringLiteral("SELECT name FROM pragma_table_info(?1, ?2)"));
        info.bind(1, QVariant(t.target));
        if (!t.targetSchema.isEmpty())
            info.bind(2, QVariant(t.targetSchema));
        while (info.step())
            targetColumns << info.value(0).toString();
    }
    if (targetColumns.isEmpty())
        return t.sql; // SQLite names the missing table
    QStringList columns;
    for (int i = 0; i < select.columnCount(); ++i) {
        const QString name = select.columnName(i);
        const auto target = std::find_if(targetColumns.cbegin(), targetColumns.cend(),
            [&](const QString& z) { return z.compare(name, Qt::CaseInsensitive) == 0; });
        if (target == targetColumns.cend())
            throw EngineError(err::UnknownAppendField,
                QStringLiteral("Das INSERT INTO-Statement enthält den folgenden unbekannten "
                               "Feldnamen: '%1'. Stellen Sie sicher, dass Sie den Namen richtig "
                               "eingegeben haben, und wiederholen Sie den Vorgang.")
                    .arg(name));
        // SQLite would keep one of two values for the same column without a word.
        const QString column = quoteName(*target);
        if (columns.contains(column))
            throw EngineError(
                err::InvalidOperation, QStringLiteral("Doppeltes Ausgabeziel '%1'.").arg(*target));
        columns << column;
    }
    const QString schema
        = t.targetSchema.isEmpty() ? QString() : quoteName(t.targetSchema) + QLatin1Char('.');
    return QStringLiteral("INSERT INTO ") + schema + quoteName(t.target) + QStringLiteral(" (")
        + columns.join(QStringLiteral(", ")) + QStringLiteral(") ") + t.selectSql;
}

// A name SQLite could not resolve, to be translated again as a parameter.
struct NewParameter { };

} // namespace

DialectStatement::DialectStatement(sqlite3* db, const QString& dialectSql,
    const QStringList& declared, const QList<Parameter>& values, const ExternalSchema& externals)
{
    QStringList names = declared;
    // Prepares sql; a name SQLite cannot resolve becomes a parameter in another round of
    // translation.
    auto prepare = [&](const QString& sql) {
        try {
            return std::make_unique<Statement>(db, sql);
        } catch (const EngineError&) {
            const QString message = sqliteMessage(db);
            const QLatin1String prefix("no such column: ");
            if (message.startsWith(prefix)) {
                const QString name = message.mid(prefix.size()).trimmed();
                if (!names.contains(name, Qt::CaseInsensitive)) {
                    names << name;
                    throw NewParameter {};
                }
            }
            throw;
        }
    };
    TranslateContext context;
    context.externalSchema = externals;
    context.firstColumn = [&](const QString& sql, const QStringList& parameters,
                              const QList<DeclaredParameter>& declaredTypes) {
        const std::unique_ptr<Statement> st = prepare(sql);
        try {
            bind(*st, parameters, typedParameters(values, declaredTypes));
        } catch (const EngineError& e) {
            // Without values (when the engine asks only for the parameters) there are no columns
            // yet; the statement itself still asks for the values.
            if (e.number() != err::TooFewParameters)
                throw;
            return QVariantList();
        }
        QVariantList column;
        while (st->step())
            column << st->value(0);
        return column;
    };
    for (;;) {
        try {
            Translation t = translate(dialectSql, names, context);
            QString text = t.sql;
            if (t.appendByName)
                text = appendByName(db, t, *prepare(t.selectSql));
            m_statement = prepare(text);
            m_sql = text;
            m_parameters = t.parameters;
            m_translation = std::move(t);
        } catch (const NewParameter&) {
            continue;
        }
        // Native placeholders (":Name") count as parameters, too.
        const int count = m_statement->parameterCount();
        for (int i = static_cast<int>(m_parameters.size()) + 1; i <= count; ++i) {
            const QString name = m_statement->parameterName(i);
            m_parameters << (name.isEmpty() ? QStringLiteral("Parameter%1").arg(i) : name);
        }
        return;
    }
}

void DialectStatement::bind(const QList<Parameter>& values)
{
    bind(*m_statement, m_parameters, typed(values));
}

QList<Parameter> DialectStatement::typed(const QList<Parameter>& values) const
{
    return typedParameters(values, m_translation.declared);
}

void DialectStatement::bind(
    Statement& statement, const QStringList& names, const QList<Parameter>& values)
{
    int missing = 0;
    for (int i = 0; i < names.size(); ++i) {
        // A statement made of part of another (a crosstab's pivot lookup) leaves some unused.
        if (!statement.hasPlaceholder(i + 1))
            continue;
        const Parameter* p = nullptr;
        for (const Parameter& v : values)
            if (v.name.compare(names[i], Qt::CaseInsensitive) == 0)
                p = &v;
        if (!p || !p->value.isValid()) {
            ++missing;
            continue;
        }
        statement.bind(i + 1, p->value);
    }
    if (missing > 0)
        throw EngineError(err::TooFewParameters,
            QStringLiteral("Zu wenige Parameter. Erwartet: %1.").arg(missing));
}

QStringList DialectStatement::parametersOf(sqlite3* db, const QString& dialectSql)
{
    return DialectStatement(db, dialectSql).parameters();
}

} // namespace kv::engine::sql
