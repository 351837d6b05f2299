#include "engine/catalog/SchemaChange.h"

#include "engine/sql/Dialect.h"

namespace kv::engine {

SchemaChange::SchemaChange(Connection& db, GeneratedObjects& generated)
    : m_db(db)
    , m_generated(generated)
{ }

QStringList SchemaChange::before(ChangeScope scope, const QStringList& names)
{
    switch (scope) {
    case ChangeScope::Everything:
        m_generated.dropAll();
        return {};
    case ChangeScope::NewTable:
        return names;
    case ChangeScope::NewQuery:
        return {};
    case ChangeScope::Tables:
    case ChangeScope::Relation:
        // Before the change: SQLite checks views and triggers that name a table it alters.
        return m_generated.dropOver(
            names, m_generated.withPartners(names), scope == ChangeScope::Tables);
    }
    return {};
}

void SchemaChange::after(ChangeScope scope, const QStringList& names, QStringList triggerTables)
{
    if (scope == ChangeScope::Tables || scope == ChangeScope::Relation)
        triggerTables += m_generated.withPartners(names); // relations the change made or renamed
    // A new query is no part of any trigger, and no view can use a name that was free.
    if (scope == ChangeScope::Everything)
        m_generated.createTriggers();
    else if (!triggerTables.isEmpty())
        m_generated.createTriggers(triggerTables);
    if (scope != ChangeScope::Relation)
        m_generated.createQueryViews();
}

ChangeScope SchemaChange::scopeOf(const sql::Translation& statement, QStringList& names)
{
    using sql::StatementKind;
    names.clear();
    ChangeScope scope = ChangeScope::Everything;
    switch (statement.kind) {
    case StatementKind::CreateTable:
        scope = ChangeScope::NewTable;
        break;
    case StatementKind::MakeTable:
        // A new table in another file changes nothing here that can be named.
        if (statement.targetSchema.isEmpty())
            scope = ChangeScope::NewTable;
        break;
    case StatementKind::CreateIndex:
    case StatementKind::AlterTable:
        scope = ChangeScope::Tables;
        break;
    case StatementKind::Drop:
        if (statement.index.isEmpty())
            scope = ChangeScope::Tables;
        break;
    default:
        break;
    }
    if (scope != ChangeScope::Everything) {
        if (statement.target.isEmpty())
            return ChangeScope::Everything;
        names << statement.target;
    }
    return scope;
}

} // namespace kv::engine
