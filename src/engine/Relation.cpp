#include "engine/Relation.h"

#include "engine/catalog/Catalog.h"
#include "engine/core/EngineError.h"

namespace kv::engine {

Relation::Relation(QString name, QString table, QString foreignTable, qint64 attributes)
    : m_def { std::move(name), std::move(table), std::move(foreignTable), attributes, {} }
{ }

Relation::Relation(RelationDefinition stored)
    : m_def(std::move(stored))
    , m_stored(true)
{ }

void Relation::store(Catalog& catalog)
{
    catalog.createRelation(m_def);
    m_stored = true;
}

void Relation::requireNew() const
{
    if (m_stored)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die gespeicherte Beziehung '%1' kann nicht geändert werden.")
                .arg(m_def.name));
}

void Relation::setName(const QString& name)
{
    requireNew();
    m_def.name = name;
}

void Relation::setTable(const QString& table)
{
    requireNew();
    m_def.table = table;
}

void Relation::setForeignTable(const QString& table)
{
    requireNew();
    m_def.foreignTable = table;
}

void Relation::setAttributes(qint64 attributes)
{
    requireNew();
    m_def.attributes = attributes;
}

void Relation::appendField(const QString& name, const QString& foreignName)
{
    requireNew();
    m_def.fields.append(RelationField { name, foreignName });
}

} // namespace kv::engine
