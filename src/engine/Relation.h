#pragma once

#include "engine/catalog/Definitions.h"

#include <QList>
#include <QString>

namespace kv::engine {

class Catalog;

/// A relation between a primary table and a foreign table. A stored relation cannot change;
/// it is deleted and appended again.
class Relation {
public:
    Relation(
        QString name = {}, QString table = {}, QString foreignTable = {}, qint64 attributes = 0);
    /// A stored relation, as its catalog row describes it.
    explicit Relation(RelationDefinition stored);

    QString name() const { return m_def.name; }
    void setName(const QString& name);
    QString table() const { return m_def.table; }
    void setTable(const QString& table);
    QString foreignTable() const { return m_def.foreignTable; }
    void setForeignTable(const QString& table);
    qint64 attributes() const { return m_def.attributes; }
    void setAttributes(qint64 attributes);
    const QList<RelationField>& fields() const { return m_def.fields; }
    void appendField(const QString& name, const QString& foreignName);
    bool enforced() const { return m_def.enforced(); }
    bool isStored() const { return m_stored; }

    /// The definition as the catalog stores it.
    const RelationDefinition& definition() const { return m_def; }
    /// Stores the new relation; Database::relations().append() calls it.
    void store(Catalog& catalog);

private:
    void requireNew() const;

    RelationDefinition m_def;
    bool m_stored = false;
};

} // namespace kv::engine
