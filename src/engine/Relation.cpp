#include "engine/Relation.h"

#include "engine/EngineError.h"

namespace kv::engine {

Relation::Relation(QString name, QString table, QString foreignTable, qint64 attributes)
    : m_name(std::move(name))
    , m_table(std::move(table))
    , m_foreignTable(std::move(foreignTable))
    , m_attributes(attributes)
{ }

void Relation::pruefeNeu() const
{
    if (m_stored)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die gespeicherte Beziehung '%1' kann nicht geändert werden.")
                .arg(m_name));
}

void Relation::setName(const QString& name)
{
    pruefeNeu();
    m_name = name;
}

void Relation::setTable(const QString& table)
{
    pruefeNeu();
    m_table = table;
}

void Relation::setForeignTable(const QString& table)
{
    pruefeNeu();
    m_foreignTable = table;
}

void Relation::setAttributes(qint64 attributes)
{
    pruefeNeu();
    m_attributes = attributes;
}

void Relation::appendField(const QString& name, const QString& foreignName)
{
    pruefeNeu();
    m_fields.append(RelationField { name, foreignName });
}

} // namespace kv::engine
