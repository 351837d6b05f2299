#include "engine/catalog/GeneratedObjects.h"

#include "engine/catalog/CatalogReader.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/RuleTriggers.h"
#include "engine/core/EngineError.h"
#include "engine/core/QueryType.h"
#include "engine/sql/Dialect.h"
#include "engine/sql/StatementType.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <algorithm>

namespace kv::engine {

using namespace catalogtext;

namespace {
// Whether sql (lower case) names name (lower case) as a whole word: over-approximates the
// objects a change reaches, which then are only made once more.
bool mentions(const QString& sql, const QString& name)
{
    auto wordCharacter = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    for (qsizetype i = sql.indexOf(name); i >= 0; i = sql.indexOf(name, i + 1)) {
        const qsizetype end = i + name.size();
        if ((i == 0 || !wordCharacter(sql.at(i - 1)))
            && (end >= sql.size() || !wordCharacter(sql.at(end))))
            return true;
    }
    return false;
}

bool listed(const QStringList& names, const QString& name)
{
    return names.contains(name, Qt::CaseInsensitive);
}
} // namespace

GeneratedObjects::GeneratedObjects(Connection& db, const CatalogReader& reader)
    : m_db(db)
    , m_reader(reader)
{ }

void GeneratedObjects::dropAll()
{
    QStringList statements;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT type, name FROM sqlite_master WHERE (type = 'trigger' AND name "
                       "LIKE 'kv\\_%' ESCAPE '\\') OR (type = 'view' AND instr(sql, '%1') > 0)")
            .arg(QLatin1String(viewMark)));
    while (st.step())
        statements << QStringLiteral("DROP ") + st.value(0).toString().toUpper() + QLatin1Char(' ')
                + quoteIdentifier(st.value(1).toString());
    for (const QString& s : statements)
        m_db.exec(s);
}

QStringList GeneratedObjects::withPartners(const QStringList& tables) const
{
    QStringList all = tables;
    for (const RelationDefinition& r : m_reader.relations()) {
        if (listed(tables, r.table) && !listed(all, r.foreignTable))
            all << r.foreignTable;
        if (listed(tables, r.foreignTable) && !listed(all, r.table))
            all << r.table;
    }
    return all;
}

QStringList GeneratedObjects::dropOver(
    const QStringList& names, const QStringList& tables, bool views)
{
    struct Object {
        bool view;
        QString name;
        QString table;
        QString sql; // lower case
        bool dropped = false;
    };
    std::vector<Object> objects;
    if (views) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE (type = "
                           "'trigger' AND name LIKE 'kv\\_%' ESCAPE '\\') OR (type = 'view' AND "
                           "instr(sql, '%1') > 0)")
                .arg(QLatin1String(viewMark)));
        while (st.step())
            objects.push_back({ st.value(0).toString() == QLatin1String("view"),
                st.value(1).toString(), st.value(2).toString(), st.value(3).toString().toLower() });
    }
    // The names reached: the changed objects and, in rounds, every view that uses one.
    QStringList reached;
    for (const QString& n : names)
        reached << n.toLower();
    bool again = views;
    while (again) {
        again = false;
        for (Object& o : objects) {
            if (!o.view || o.dropped)
                continue;
            const bool affected = listed(reached, o.name)
                || std::any_of(reached.begin(), reached.end(),
                    [&](const QString& n) { return mentions(o.sql, n); });
            if (affected) {
                o.dropped = true;
                reached << o.name.toLower();
                again = true;
            }
        }
    }
    // Triggers go per table: a table's triggers are made again all together.
    QStringList triggerTables = tables;
    for (const Object& o : objects)
        if (!o.view && !listed(triggerTables, o.table)
            && std::any_of(reached.begin(), reached.end(),
                [&](const QString& n) { return mentions(o.sql, n); }))
            triggerTables << o.table;
    for (const Object& o : objects)
        if (o.view && o.dropped)
            m_db.exec(QStringLiteral("DROP VIEW ") + quoteIdentifier(o.name));
    dropTriggersOf(triggerTables);
    return triggerTables;
}

void GeneratedObjects::dropTriggersOf(const QStringList& tables)
{
    for (const QString& t : tables) {
        QStringList names;
        {
            Statement st(m_db.handle(),
                QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name "
                               "= ?1 COLLATE NOCASE AND name LIKE 'kv\\_%' ESCAPE '\\'"));
            st.bind(1, QVariant(t));
            while (st.step())
                names << st.value(0).toString();
        }
        for (const QString& n : names)
            m_db.exec(QStringLiteral("DROP TRIGGER ") + quoteIdentifier(n));
    }
}

void GeneratedObjects::createTriggers(const QStringList& only)
{
    const std::vector<RelationDefinition> relations = m_reader.relations();
    QStringList tables;
    {
        // Only the tables asked for are looked up: creating tables in a row stays linear.
        Statement st(m_db.handle(),
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                           "'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'MSys%'")
                + (only.isEmpty() ? QString() : QStringLiteral(" AND name = ?1 COLLATE NOCASE")));
        for (qsizetype i = 0; i < std::max<qsizetype>(only.size(), 1); ++i) {
            st.reset();
            if (!only.isEmpty())
                st.bind(1, QVariant(only.at(i)));
            while (st.step())
                if (!listed(tables, st.value(0).toString()))
                    tables << st.value(0).toString();
        }
    }
    // A table whose triggers are still there gets them afresh.
    if (!only.isEmpty())
        dropTriggersOf(tables);
    for (const QString& t : tables) {
        const std::vector<FieldDefinition> fields = m_reader.fields(t);
        const std::vector<IndexDefinition> indexes = m_reader.indexes(t);
        std::vector<RelationDefinition> own;
        for (const RelationDefinition& r : relations)
            if (sameName(r.table, t) || sameName(r.foreignTable, t))
                own.push_back(r);
        for (const QString& sql : RuleTriggers(t, fields, indexes, own).statements())
            m_db.exec(sql);
    }
}

void GeneratedObjects::createQueryViews()
{
    QList<QPair<QString, QString>> open;
    {
        // Views that are there stay; a change that dropped them has dropped them all.
        Statement st(m_db.handle(),
            QStringLiteral("SELECT q.Name, q.SQL FROM MSysKvQueries AS q WHERE NOT EXISTS "
                           "(SELECT 1 FROM sqlite_master AS m WHERE m.type = 'view' AND m.name "
                           "= q.Name COLLATE NOCASE)"));
        while (st.step()) {
            const int type = sql::statementType(st.value(1).toString());
            if (type == dbQSelect || type == dbQSetOperation)
                open.append({ st.value(0).toString(), st.value(1).toString() });
        }
    }
    // Queries over queries: create in rounds until nothing more succeeds.
    bool again = true;
    while (again && !open.isEmpty()) {
        again = false;
        for (auto it = open.begin(); it != open.end();) {
            const QString name = quoteIdentifier(it->first);
            try {
                const sql::Translation t = sql::translate(it->second);
                if (!t.parameters.isEmpty())
                    throw EngineError(err::TooFewParameters, QString());
                m_db.exec(QStringLiteral("SAVEPOINT kv_view"));
                try {
                    m_db.exec(QStringLiteral("CREATE VIEW ") + name + QStringLiteral(" AS ")
                        + QLatin1String(viewMark) + QLatin1Char(' ') + t.sql);
                    Statement probe(m_db.handle(),
                        QStringLiteral("SELECT * FROM ") + name + QStringLiteral(" LIMIT 0"));
                    if (probe.parameterCount() > 0)
                        throw EngineError(err::TooFewParameters, QString());
                    m_db.exec(QStringLiteral("RELEASE kv_view"));
                } catch (const EngineError&) {
                    m_db.exec(QStringLiteral("ROLLBACK TO kv_view"));
                    m_db.exec(QStringLiteral("RELEASE kv_view"));
                    throw;
                }
                it = open.erase(it);
                again = true;
            } catch (const EngineError&) {
                ++it; // parameter queries and broken texts are used by name only
            }
        }
    }
}

} // namespace kv::engine
