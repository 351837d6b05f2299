#include "engine/TableDef.h"

#include "engine/Database.h"
#include "engine/catalog/Catalog.h"
#include "engine/sqlite/Connection.h"

namespace kv::engine {

TableDef::TableDef(QString name)
{
    m_entry.name = std::move(name);
    bindCollections();
}

TableDef::TableDef(Database& db, TableEntry entry)
    : m_entry(std::move(entry))
    , m_fieldsLoaded(false)
    , m_indexesLoaded(false)
    , m_db(&db)
{
    bindCollections();
}

TableDef::~TableDef() = default;

void TableDef::bindCollections()
{
    auto errors = [this] { return m_db ? m_db->errorList() : nullptr; };
    m_fields.setHooks(
        [this](Field& f) {
            if (isStored()) {
                m_db->catalog().addField(m_entry.name, f.m_def);
                f.m_sourceTable = m_entry.name;
                f.m_sourceField = f.m_def.name;
            }
            f.m_table = this;
        },
        [this](Field& f) {
            if (isStored())
                m_db->catalog().dropField(m_entry.name, f.name());
        },
        [this](Collection<Field>&) {
            if (isStored())
                loadFieldsNow();
        },
        errors);
    m_indexes.setHooks(
        [this](Index& ix) {
            if (isStored())
                m_db->catalog().createIndex(m_entry.name, ix.m_def);
            ix.m_table = this;
        },
        [this](Index& ix) {
            if (ix.foreign())
                throw EngineError(err::FieldInUse,
                    QStringLiteral("Der Index '%1' gehört zu einer Beziehung und kann nicht "
                                   "gelöscht werden.")
                        .arg(ix.name()));
            if (isStored())
                m_db->catalog().dropIndex(m_entry.name, ix.name());
        },
        [this](Collection<Index>&) {
            if (isStored())
                loadIndexesNow();
        },
        errors);
}

void TableDef::loadFields()
{
    if (!m_fieldsLoaded && m_db) {
        // A failure (an attached file missing) is tried again on the next call.
        loadFieldsNow();
        m_fieldsLoaded = true;
    }
}

void TableDef::loadFieldsNow()
{
    m_fields.clear();
    for (FieldDefinition& f : m_db->catalog().reader().fieldsInOrder(m_entry.name))
        m_fields.adopt(std::make_unique<Field>(*this, std::move(f)));
}

void TableDef::loadIndexes()
{
    if (!m_indexesLoaded && m_db) {
        m_indexesLoaded = true;
        loadIndexesNow();
    }
}

void TableDef::loadIndexesNow()
{
    m_indexes.clear();
    if (isAttached())
        return;
    for (IndexDefinition& ix : m_db->catalog().reader().indexes(m_entry.name))
        m_indexes.adopt(std::make_unique<Index>(*this, std::move(ix)));
}

Collection<Field>& TableDef::fields()
{
    loadFields();
    return m_fields;
}

Collection<Index>& TableDef::indexes()
{
    loadIndexes();
    return m_indexes;
}

void TableDef::store(Database& db)
{
    Catalog& catalog = db.catalog();
    if (!m_entry.connect.isEmpty()) {
        catalog.createAttachedTable(m_entry);
    } else {
        std::vector<FieldDefinition> fields;
        for (const Field* f : m_fields.items())
            fields.push_back(f->m_def);
        std::vector<IndexDefinition> indexes;
        for (const Index* ix : m_indexes.items())
            indexes.push_back(ix->m_def);
        catalog.createTable(m_entry, fields, indexes);
        // Storing decided positions and SQLite names.
        for (int i = 0; i < m_fields.count(); ++i)
            m_fields.item(i).m_def = fields[static_cast<size_t>(i)];
        for (int i = 0; i < m_indexes.count(); ++i)
            m_indexes.item(i).m_def = indexes[static_cast<size_t>(i)];
    }
    m_db = &db;
    for (Field* f : m_fields.items()) {
        f->m_table = this;
        f->m_sourceTable = m_entry.name;
        f->m_sourceField = f->m_def.name;
        f->m_dataUpdatable = true;
    }
    for (Index* ix : m_indexes.items())
        ix->m_table = this;
    // An attached table's fields and indexes are those of the other file.
    if (!m_entry.connect.isEmpty()) {
        m_fieldsLoaded = false;
        m_indexesLoaded = false;
    }
}

void TableDef::setName(const QString& name)
{
    if (isStored()) {
        if (isSystem())
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Systemtabellen können nicht umbenannt werden."));
        m_db->catalog().renameTable(m_entry.name, name);
        for (Field* f : fields().items())
            f->m_sourceTable = name;
        m_entry.lastUpdated = QDateTime::currentDateTime();
    }
    m_entry.name = name;
}

void TableDef::setAttributes(qint64 attributes)
{
    const qint64 changed
        = (m_entry.attributes & ~qint64(dbHiddenObject)) | (attributes & dbHiddenObject);
    if (isStored())
        m_db->catalog().setTableAttributes(m_entry.name, changed & dbHiddenObject);
    m_entry.attributes = changed;
}

void TableDef::setConnect(const QString& connect)
{
    if (isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral(
                "Die Verbindung einer gespeicherten Tabelle kann nicht geändert werden."));
    m_entry.connect = connect;
}

void TableDef::setSourceTableName(const QString& name)
{
    if (isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Quelltabelle einer gespeicherten Tabelle kann nicht geändert "
                           "werden."));
    m_entry.sourceTableName = name;
}

qint64 TableDef::recordCount() const
{
    if (!isStored())
        return 0;
    return m_db->connection()
        .scalar(
            QStringLiteral("SELECT count(*) FROM ") + m_db->catalog().qualifiedTable(m_entry.name))
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
