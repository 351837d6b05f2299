#pragma once

// Private to the engine: the triggers that enforce field rules and referential integrity
// inside the database, so that every writer (record sets, SQL statements) obeys them.

#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/Relation.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::engine {

/// Builds the CREATE TRIGGER statements of one table from its fields, indexes and the
/// relations it takes part in. Trigger names start with "kv_".
class RuleTriggers {
public:
    RuleTriggers(QString table, const std::vector<Field>& fields, const QList<Index*>& indexes,
        const QList<Relation*>& relations);

    QStringList statements() const;

    /// Turns a validation rule with an implied left side ("> 0", "Between 1 And 9") into a
    /// condition over the field and then into SQLite SQL through the dialect.
    static QString ruleCondition(const QString& field, const QString& rule);
    /// A dialect expression (default value) as SQLite SQL.
    static QString expression(const QString& dialectExpression);

private:
    QString feldPruefungen() const;
    QString kindPruefungen() const;
    QString trigger(const char* suffix, const char* wann, const QString& rumpf) const;

    QString m_table;
    const std::vector<Field>& m_fields;
    const QList<Index*>& m_indexes;
    const QList<Relation*>& m_relations;
};

} // namespace kv::engine
