#include "engine/TableDef.h"

#include "engine/Catalog.h"
#include "engine/Database.h"
#include "engine/Sqlite.h"

namespace kv::engine {

TableDef::TableDef(QString name)
    : m_name(std::move(name))
{
    bindCollections();
}

TableDef::~TableDef() = default;

void TableDef::bindCollections()
{
    m_fields.setHooks(
        [this](Field& f) {
            if (isStored())
                m_db->catalog().addField(*this, f);
            f.m_table = this;
            if (isStored()) {
                f.m_sourceTable = m_name;
                f.m_sourceField = f.m_name;
            }
        },
        [this](Field& f) {
            if (isStored())
                m_db->catalog().dropField(*this, f.name());
        },
        [this](Collection<Field>&) {
            if (isStored())
                m_db->catalog().loadFields(*this);
        });
    m_indexes.setHooks(
        [this](Index& ix) {
            if (isStored())
                m_db->catalog().createIndex(*this, ix);
            ix.m_table = this;
        },
        [this](Index& ix) {
            if (ix.foreign())
                throw EngineError(err::FieldInUse,
                    QStringLiteral("Der Index '%1' gehört zu einer Beziehung und kann nicht "
                                   "gelöscht werden.")
                        .arg(ix.name()));
            if (isStored())
                m_db->catalog().dropIndex(*this, ix.name());
        },
        [this](Collection<Index>&) {
            if (isStored())
                m_db->catalog().loadIndexes(*this);
        });
}

void TableDef::ladeFelder()
{
    if (!m_felderGeladen && m_db) {
        m_felderGeladen = true;
        m_db->catalog().loadFields(*this);
    }
}

void TableDef::ladeIndizes()
{
    if (!m_indizesGeladen && m_db) {
        m_indizesGeladen = true;
        m_db->catalog().loadIndexes(*this);
    }
}

Collection<Field>& TableDef::fields()
{
    ladeFelder();
    return m_fields;
}

Collection<Index>& TableDef::indexes()
{
    ladeIndizes();
    return m_indexes;
}

void TableDef::setName(const QString& name)
{
    if (isStored()) {
        if (isSystem())
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Systemtabellen können nicht umbenannt werden."));
        m_db->catalog().renameTable(m_name, name);
        for (Field* f : fields().items())
            f->m_sourceTable = name;
        m_lastUpdated = QDateTime::currentDateTime();
    }
    m_name = name;
}

void TableDef::setAttributes(qint64 attributes)
{
    const qint64 neu = (m_attributes & ~qint64(dbHiddenObject)) | (attributes & dbHiddenObject);
    if (isStored())
        m_db->catalog().setTableAttributes(m_name, neu & dbHiddenObject);
    m_attributes = neu;
}

void TableDef::setConnect(const QString& connect)
{
    if (isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral(
                "Die Verbindung einer gespeicherten Tabelle kann nicht geändert werden."));
    m_connect = connect;
}

void TableDef::setSourceTableName(const QString& name)
{
    if (isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Quelltabelle einer gespeicherten Tabelle kann nicht geändert "
                           "werden."));
    m_sourceTableName = name;
}

qint64 TableDef::recordCount() const
{
    if (!isStored())
        return 0;
    return m_db->connection()
        .scalar(QStringLiteral("SELECT count(*) FROM ") + m_db->catalog().qualifiedTable(m_name))
        .toLongLong();
}

std::unique_ptr<Field> TableDef::createField(const QString& name, int type, int size)
{
    return std::make_unique<Field>(name, type, size);
}

std::unique_ptr<Index> TableDef::createIndex(const QString& name)
{
    return std::make_unique<Index>(name);
}

} // namespace kv::engine
