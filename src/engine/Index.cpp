#include "engine/Index.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/TableDef.h"

namespace kv::engine {

Index::Index(QString name)
    : m_name(std::move(name))
{ }

void Index::pruefeNeu() const
{
    if (m_table && m_table->isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Der gespeicherte Index '%1' kann nicht geändert werden.").arg(m_name));
}

void Index::setName(const QString& name)
{
    if (m_table && m_table->isStored()) {
        for (Index* ix : m_table->indexes().items())
            if (ix != this && ix->name().compare(name, Qt::CaseInsensitive) == 0)
                throw EngineError(err::NameExists,
                    QStringLiteral("Der Index '%1' ist bereits vorhanden.").arg(name));
        m_table->database()->catalog().renameIndex(*m_table, m_name, name);
    }
    m_name = name;
}

void Index::setFields(const QList<IndexField>& fields)
{
    pruefeNeu();
    m_fields = fields;
}

void Index::appendField(const QString& name, bool descending)
{
    pruefeNeu();
    m_fields.append(IndexField { name, descending });
}

void Index::setPrimary(bool primary)
{
    pruefeNeu();
    m_primary = primary;
}

void Index::setUnique(bool unique)
{
    pruefeNeu();
    m_unique = unique;
}

void Index::setRequired(bool required)
{
    pruefeNeu();
    m_required = required;
}

void Index::setIgnoreNulls(bool ignore)
{
    pruefeNeu();
    m_ignoreNulls = ignore;
}

} // namespace kv::engine
