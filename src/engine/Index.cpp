#include "engine/Index.h"

#include "engine/Database.h"
#include "engine/TableDef.h"
#include "engine/catalog/Catalog.h"

namespace kv::engine {

Index::Index(QString name)
{
    m_def.name = std::move(name);
}

Index::Index(TableDef& table, IndexDefinition definition)
    : m_def(std::move(definition))
    , m_table(&table)
{ }

void Index::requireNew() const
{
    if (m_table && m_table->isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Der gespeicherte Index '%1' kann nicht geändert werden.")
                .arg(m_def.name));
}

void Index::setName(const QString& name)
{
    if (m_table && m_table->isStored()) {
        for (Index* ix : m_table->indexes().items())
            if (ix != this && ix->name().compare(name, Qt::CaseInsensitive) == 0)
                throw EngineError(err::NameExists,
                    QStringLiteral("Der Index '%1' ist bereits vorhanden.").arg(name));
        m_table->database()->catalog().renameIndex(m_table->name(), m_def.name, name);
    }
    m_def.name = name;
}

void Index::setFields(const QList<IndexField>& fields)
{
    requireNew();
    m_def.fields = fields;
}

void Index::appendField(const QString& name, bool descending)
{
    requireNew();
    m_def.fields.append(IndexField { name, descending });
}

void Index::setPrimary(bool primary)
{
    requireNew();
    m_def.primary = primary;
}

void Index::setUnique(bool unique)
{
    requireNew();
    m_def.unique = unique;
}

void Index::setRequired(bool required)
{
    requireNew();
    m_def.required = required;
}

void Index::setIgnoreNulls(bool ignore)
{
    requireNew();
    m_def.ignoreNulls = ignore;
}

} // namespace kv::engine
