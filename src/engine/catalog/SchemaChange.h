#pragma once

#include "engine/catalog/GeneratedObjects.h"
#include "engine/core/EngineError.h"
#include "engine/sqlite/Savepoint.h"

#include <QStringList>
#include <utility>

namespace kv::engine {

namespace sql {
struct Translation;
}

/// What a change can affect of the generated triggers and views.
enum class ChangeScope {
    Everything, // everything is dropped and made again
    NewTable, // names: the new table; gets its triggers, views that now can be made
    NewQuery, // views that now can be made
    Tables, // names: changed tables or queries (old and new names); their triggers, their
            // relation partners' triggers and every view over them are made again
    Relation, // names: the tables of a relation; only triggers are made again
};

/// Runs schema changes in a savepoint and makes again what they may have changed of the
/// generated triggers and views; a change to one table leaves the rest of a large database
/// alone. Changes nested in another (an index appended with its table) regenerate once, at the
/// outermost.
class SchemaChange {
public:
    SchemaChange(Connection& db, GeneratedObjects& generated);

    template <class Op> void run(Op&& op, ChangeScope scope, const QStringList& names = {});

    /// From now on every change is refused with this German message (a database whose tables
    /// are files of another format has no schema of its own to keep).
    void refuseChanges(const QString& message) { m_refusal = message; }
    /// Throws the refusal when changes are refused.
    void requireChangeable() const
    {
        if (!m_refusal.isEmpty())
            throw EngineError(err::NotSupported, m_refusal);
    }

    /// What a statement in SQLite's own schema language reaches (a DDL statement or a make-table
    /// query, as translated): its table when it names one in this database, all else when not.
    static ChangeScope scopeOf(const sql::Translation& statement, QStringList& names);

private:
    /// Before op: drops what the scope reaches; returns the tables whose triggers are to be made.
    QStringList before(ChangeScope scope, const QStringList& names);
    void after(ChangeScope scope, const QStringList& names, QStringList triggerTables);

    Connection& m_db;
    GeneratedObjects& m_generated;
    int m_depth = 0;
    QString m_refusal;
};

template <class Op> void SchemaChange::run(Op&& op, ChangeScope scope, const QStringList& names)
{
    requireChangeable();
    if (m_depth > 0) {
        op();
        return;
    }
    Savepoint sp(m_db);
    ++m_depth;
    try {
        QStringList triggerTables = before(scope, names);
        std::forward<Op>(op)();
        after(scope, names, std::move(triggerTables));
    } catch (...) {
        --m_depth;
        throw;
    }
    --m_depth;
    sp.release();
}

} // namespace kv::engine
