#include "engine/catalog/RuleTriggers.h"

#include "engine/core/EngineError.h"
#include "engine/sql/Dialect.h"
#include "engine/sqlite/SqlText.h"

namespace kv::engine {

namespace {
QString q(const QString& name)
{
    return quoteIdentifier(name);
}

// A German message as SQL literal with our "KVnnnn|" prefix.
QString message(int number, const QString& text)
{
    QString t = QStringLiteral("KV%1|").arg(number) + text;
    t.replace(QLatin1String("'"), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString raise(int number, const QString& text, const QString& condition)
{
    return QStringLiteral("SELECT RAISE(ABORT, ") + message(number, text)
        + QStringLiteral(") WHERE ") + condition + QStringLiteral(";\n");
}
} // namespace

RuleTriggers::RuleTriggers(QString table, const std::vector<FieldDefinition>& fields,
    const std::vector<IndexDefinition>& indexes, const std::vector<RelationDefinition>& relations)
    : m_table(std::move(table))
    , m_fields(fields)
    , m_indexes(indexes)
    , m_relations(relations)
{ }

QString RuleTriggers::expression(const QString& dialectExpression)
{
    return sql::translateExpression(dialectExpression).sql;
}

QString RuleTriggers::ruleCondition(const QString& field, const QString& rule)
{
    // The dialect knows rules written with the field implied (">0 And <100").
    return sql::translateExpression(rule, field).sql;
}

QString RuleTriggers::trigger(const char* suffix, const char* when, const QString& body) const
{
    if (body.isEmpty())
        return QString();
    return QStringLiteral("CREATE TRIGGER ")
        + q(QStringLiteral("kv_") + m_table + QLatin1Char('_') + QLatin1String(suffix))
        + QLatin1Char(' ') + QLatin1String(when) + QStringLiteral(" ON ") + q(m_table)
        + QStringLiteral(" FOR EACH ROW BEGIN\n") + body + QStringLiteral("END");
}

QList<RuleTriggers::FieldRule> RuleTriggers::fieldRules(const QString& table,
    const FieldDefinition& f, bool inRequiredIndex, const QString& value, const QString& row)
{
    QList<FieldRule> rules;
    const QString name = table + QLatin1Char('.') + f.name;
    if (f.isAutoIncrement())
        return rules;
    if (f.required)
        rules.append({ err::Required,
            QStringLiteral("Das Feld '%1' darf keinen Nullwert enthalten, da für dieses Feld ein "
                           "Wert erforderlich ist. Geben Sie einen Wert ein.")
                .arg(name),
            value + QStringLiteral(" IS NULL") });
    else if (inRequiredIndex)
        rules.append({ err::IndexNull,
            QStringLiteral("Der Index oder Primärschlüssel darf keinen Nullwert enthalten (Feld "
                           "'%1').")
                .arg(name),
            value + QStringLiteral(" IS NULL") });
    if (datatype::isTextType(f.type) && !f.allowZeroLength)
        rules.append({ err::ZeroLength,
            QStringLiteral("Das Feld '%1' darf keine leere Zeichenfolge enthalten.").arg(name),
            QStringLiteral("typeof(%1) = 'text' AND length(%1) = 0").arg(value) });
    if (f.type == dbText && f.size > 0)
        rules.append({ err::FieldTooSmall,
            QStringLiteral("Das Feld '%1' ist zu klein für die Datenmenge, die Sie hinzufügen "
                           "wollten (höchstens %2 Zeichen).")
                .arg(name)
                .arg(f.size),
            QStringLiteral("typeof(%1) = 'text' AND length(%1) > %2").arg(value).arg(f.size) });
    if (!f.validationRule.trimmed().isEmpty()) {
        const QString text = f.validationText.isEmpty()
            ? QStringLiteral("Einer oder mehrere Werte werden durch die Gültigkeitsregel '%1' für "
                             "'%2' untersagt. Geben Sie einen Wert ein, den der Ausdruck für "
                             "dieses Feld akzeptiert.")
                  .arg(f.validationRule, name)
            : f.validationText;
        const QString condition = ruleCondition(f.name, f.validationRule);
        rules.append({ err::ValidationRule, text,
            row.isEmpty()
                ? QStringLiteral("NOT coalesce((%1), 1)").arg(condition)
                : QStringLiteral("NOT coalesce((SELECT (%1) FROM %2), 1)").arg(condition, row) });
    }
    return rules;
}

QString RuleTriggers::fieldChecks() const
{
    QString body;
    // The row's new values under the field names, so that rules can name any field.
    QStringList columns;
    for (const FieldDefinition& f : m_fields)
        columns << QStringLiteral("NEW.") + q(f.name) + QStringLiteral(" AS ") + q(f.name);
    const QString row
        = QStringLiteral("(SELECT ") + columns.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList indexFields;
    for (const IndexDefinition& ix : m_indexes)
        if (ix.isRequired())
            for (const IndexField& f : ix.fields)
                indexFields << f.name;
    for (const FieldDefinition& f : m_fields)
        for (const FieldRule& r :
            fieldRules(m_table, f, indexFields.contains(f.name, Qt::CaseInsensitive),
                QStringLiteral("NEW.") + q(f.name), row))
            body += raise(r.number, r.text, r.violated);
    return body;
}

namespace {
QString pairs(const RelationDefinition& r, const QString& left, const QString& right)
{
    QStringList parts;
    for (const RelationField& f : r.fields)
        parts << left + q(f.foreignName) + QStringLiteral(" = ") + right + q(f.name);
    return parts.join(QStringLiteral(" AND "));
}

QString notNull(const RelationDefinition& r, const QString& prefix)
{
    QStringList parts;
    for (const RelationField& f : r.fields)
        parts << prefix + q(f.foreignName) + QStringLiteral(" IS NOT NULL");
    return parts.join(QStringLiteral(" AND "));
}
} // namespace

QString RuleTriggers::childChecks() const
{
    QString body;
    for (const RelationDefinition& r : m_relations) {
        if (!r.enforced() || r.foreignTable.compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        body += raise(err::IntegrityChild,
            QStringLiteral("Sie können keinen Datensatz hinzufügen oder ändern, da ein "
                           "Datensatz in Beziehung in der Tabelle '%1' benötigt wird.")
                .arg(r.table),
            notNull(r, QStringLiteral("NEW.")) + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ")
                + q(r.table) + QStringLiteral(" AS p WHERE ")
                + pairs(r, QStringLiteral("NEW."), QStringLiteral("p.")) + QLatin1Char(')'));
    }
    return body;
}

QStringList RuleTriggers::statements() const
{
    const QString fields = fieldChecks();
    const QString child = childChecks();
    QString beforeDelete, afterDelete, beforeUpdate, afterUpdate;
    for (const RelationDefinition& r : m_relations) {
        if (!r.enforced() || r.table.compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        const QString children = QStringLiteral("EXISTS (SELECT 1 FROM ") + q(r.foreignTable)
            + QStringLiteral(" AS c WHERE ")
            + pairs(r, QStringLiteral("c."), QStringLiteral("OLD.")) + QLatin1Char(')');
        const QString text = QStringLiteral("Der Datensatz kann nicht gelöscht oder geändert "
                                            "werden, da die Tabelle '%1' in Beziehung stehende "
                                            "Datensätze enthält.")
                                 .arg(r.foreignTable);
        QStringList changed;
        for (const RelationField& f : r.fields)
            changed << QStringLiteral("OLD.") + q(f.name) + QStringLiteral(" IS NOT NEW.")
                    + q(f.name);
        const QString keyChanged
            = QLatin1Char('(') + changed.join(QStringLiteral(" OR ")) + QLatin1Char(')');
        if (r.attributes & dbRelationDeleteCascade)
            afterDelete += QStringLiteral("DELETE FROM ") + q(r.foreignTable)
                + QStringLiteral(" WHERE ") + pairs(r, QString(), QStringLiteral("OLD."))
                + QStringLiteral(";\n");
        else
            beforeDelete += raise(err::IntegrityParent, text, children);
        if (r.attributes & dbRelationUpdateCascade) {
            QStringList assignments;
            for (const RelationField& f : r.fields)
                assignments << q(f.foreignName) + QStringLiteral(" = NEW.") + q(f.name);
            afterUpdate += QStringLiteral("UPDATE ") + q(r.foreignTable) + QStringLiteral(" SET ")
                + assignments.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + keyChanged
                + QStringLiteral(" AND ") + pairs(r, QString(), QStringLiteral("OLD."))
                + QStringLiteral(";\n");
        } else {
            beforeUpdate += raise(
                err::IntegrityParent, text, keyChanged + QStringLiteral(" AND ") + children);
        }
    }
    QStringList statements;
    for (const QString& s : { trigger("bi", "BEFORE INSERT", fields + child),
             trigger("bu", "BEFORE UPDATE", fields + child + beforeUpdate),
             trigger("au", "AFTER UPDATE", afterUpdate),
             trigger("bd", "BEFORE DELETE", beforeDelete),
             trigger("ad", "AFTER DELETE", afterDelete) })
        if (!s.isEmpty())
            statements << s;
    return statements;
}

} // namespace kv::engine
