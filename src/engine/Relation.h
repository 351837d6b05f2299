#pragma once

#include <QList>
#include <QString>

namespace kv::engine {

class Database;

/// Relation attribute flags.
enum RelationAttribute : qint64 {
    dbRelationUnique = 1,
    dbRelationDontEnforce = 2,
    dbRelationInherited = 4,
    dbRelationUpdateCascade = 256,
    dbRelationDeleteCascade = 4096,
    dbRelationLeft = 16777216,
    dbRelationRight = 33554432,
};

/// One field pair of a relation: the primary table's field and the foreign table's field.
struct RelationField {
    QString name;
    QString foreignName;
};

/// A relation between a primary table and a foreign table. A stored relation cannot change;
/// it is deleted and appended again.
class Relation {
public:
    Relation(
        QString name = {}, QString table = {}, QString foreignTable = {}, qint64 attributes = 0);

    QString name() const { return m_name; }
    void setName(const QString& name);
    QString table() const { return m_table; }
    void setTable(const QString& table);
    QString foreignTable() const { return m_foreignTable; }
    void setForeignTable(const QString& table);
    qint64 attributes() const { return m_attributes; }
    void setAttributes(qint64 attributes);
    const QList<RelationField>& fields() const { return m_fields; }
    void appendField(const QString& name, const QString& foreignName);
    bool enforced() const { return (m_attributes & dbRelationDontEnforce) == 0; }
    bool isStored() const { return m_stored; }

private:
    friend class Catalog;
    void pruefeNeu() const;

    QString m_name;
    QString m_table;
    QString m_foreignTable;
    qint64 m_attributes = 0;
    QList<RelationField> m_fields;
    bool m_stored = false;
};

} // namespace kv::engine
