#pragma once

#include "engine/Collection.h"
#include "engine/Field.h"
#include "engine/Index.h"

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
    ~TableDef();

    QString name() const { return m_name; }
    /// Renames a stored table (references in relations and rules follow).
    void setName(const QString& name);
    Collection<Field>& fields();
    Collection<Index>& indexes();
    qint64 attributes() const { return m_attributes; }
    /// Only the hidden bit can be set; the attached bit follows from Connect.
    void setAttributes(qint64 attributes);
    QString connect() const { return m_connect; }
    void setConnect(const QString& connect);
    QString sourceTableName() const { return m_sourceTableName; }
    void setSourceTableName(const QString& name);
    bool isAttached() const { return (m_attributes & dbAttachedTable) != 0; }
    bool isSystem() const { return (m_attributes & dbSystemObject) == dbSystemObject; }
    /// Rows in the stored table (0 for a new definition).
    qint64 recordCount() const;
    QDateTime dateCreated() const { return m_dateCreated; }
    QDateTime lastUpdated() const { return m_lastUpdated; }

    std::unique_ptr<Field> createField(const QString& name = {}, int type = dbText, int size = -1);
    std::unique_ptr<Index> createIndex(const QString& name = {});

    Database* database() const { return m_db; }
    bool isStored() const { return m_db != nullptr; }

private:
    friend class Catalog;
    friend class Database;
    friend class Field;
    void bindCollections();
    void ladeFelder();
    void ladeIndizes();

    QString m_name;
    qint64 m_attributes = 0;
    QString m_connect;
    QString m_sourceTableName;
    QDateTime m_dateCreated;
    QDateTime m_lastUpdated;
    Collection<Field> m_fields;
    Collection<Index> m_indexes;
    bool m_felderGeladen = true;
    bool m_indizesGeladen = true;
    Database* m_db = nullptr;
};

} // namespace kv::engine
