#pragma once

// The triggers that enforce field rules and referential integrity inside the database, so that
// every writer (record sets, SQL statements) obeys them.

#include "engine/catalog/Definitions.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::engine {

/// Builds the CREATE TRIGGER statements of one table from its fields, indexes and the
/// relations it takes part in. Trigger names start with "kv_".
class RuleTriggers {
public:
    RuleTriggers(QString table, const std::vector<FieldDefinition>& fields,
        const std::vector<IndexDefinition>& indexes,
        const std::vector<RelationDefinition>& relations);

    QStringList statements() const;

    /// One rule of a field: the error it raises and the condition under which it does.
    struct FieldRule {
        int number = 0;
        QString text;
        QString violated;
    };
    /// The rules of field f of table (inRequiredIndex: part of an index without Nulls), over
    /// value; a validation rule finds the row's fields under their names in row (a subselect),
    /// or in the statement's own table when row is empty.
    static QList<FieldRule> fieldRules(const QString& table, const FieldDefinition& f,
        bool inRequiredIndex, const QString& value, const QString& row = {});

    /// Turns a validation rule with an implied left side ("> 0", "Between 1 And 9") into a
    /// condition over the field and then into SQLite SQL through the dialect.
    static QString ruleCondition(const QString& field, const QString& rule);
    /// A dialect expression (default value) as SQLite SQL.
    static QString expression(const QString& dialectExpression);

private:
    QString fieldChecks() const;
    QString childChecks() const;
    QString trigger(const char* suffix, const char* when, const QString& body) const;

    QString m_table;
    const std::vector<FieldDefinition>& m_fields;
    const std::vector<IndexDefinition>& m_indexes;
    const std::vector<RelationDefinition>& m_relations;
};

} // namespace kv::engine
