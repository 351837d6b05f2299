#pragma once

#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/catalog/Definitions.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace kv::engine {

class Database;

/// A table of the database. A new definition is stored by Database::tableDefs().append()
/// and needs at least one field; from then on changes to its name, fields and indexes are
/// stored at once.
class TableDef {
public:
    explicit TableDef(QString name = {});
    /// A stored table of db as the catalog lists it; its fields and indexes are read when first
    /// asked for.
    TableDef(Database& db, TableEntry entry);
    ~TableDef();

    QString name() const { return m_entry.name; }
    /// Renames a stored table (references in relations and rules follow).
    void setName(const QString& name);
    Collection<Field>& fields();
    Collection<Index>& indexes();
    qint64 attributes() const { return m_entry.attributes; }
    /// Only the hidden bit can be set; the attached bit follows from Connect.
    void setAttributes(qint64 attributes);
    QString connect() const { return m_entry.connect; }
    void setConnect(const QString& connect);
    QString sourceTableName() const { return m_entry.sourceTableName; }
    void setSourceTableName(const QString& name);
    bool isAttached() const { return (m_entry.attributes & dbAttachedTable) != 0; }
    bool isSystem() const { return (m_entry.attributes & dbSystemObject) == dbSystemObject; }
    /// Rows in the stored table (0 for a new definition).
    qint64 recordCount() const;
    QDateTime dateCreated() const { return m_entry.dateCreated; }
    QDateTime lastUpdated() const { return m_entry.lastUpdated; }

    std::unique_ptr<Field> createField(const QString& name = {}, int type = dbText, int size = -1);
    std::unique_ptr<Index> createIndex(const QString& name = {});

    Database* database() const { return m_db; }
    bool isStored() const { return m_db != nullptr; }

    /// Stores the new definition in db with its fields and indexes; Database::tableDefs().append()
    /// calls it.
    void store(Database& db);
    /// The indexes changed in the catalog (a relation's foreign index): read them again when
    /// next asked for.
    void forgetIndexes() { m_indexesLoaded = false; }

private:
    void bindCollections();
    void loadFields();
    void loadFieldsNow();
    void loadIndexes();
    void loadIndexesNow();

    TableEntry m_entry;
    Collection<Field> m_fields;
    Collection<Index> m_indexes;
    bool m_fieldsLoaded = true;
    bool m_indexesLoaded = true;
    Database* m_db = nullptr;
};

} // namespace kv::engine
