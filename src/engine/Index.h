#pragma once

#include "engine/catalog/Definitions.h"

#include <QList>
#include <QString>

namespace kv::engine {

class TableDef;

/// An index of a table definition. Only the name of a stored index can change.
class Index {
public:
    explicit Index(QString name = {});
    /// An index of a stored table, as its catalog row describes it.
    Index(TableDef& table, IndexDefinition definition);

    QString name() const { return m_def.name; }
    void setName(const QString& name);
    const QList<IndexField>& fields() const { return m_def.fields; }
    void setFields(const QList<IndexField>& fields);
    void appendField(const QString& name, bool descending = false);
    bool primary() const { return m_def.primary; }
    void setPrimary(bool primary);
    bool unique() const { return m_def.isUnique(); }
    void setUnique(bool unique);
    bool required() const { return m_def.isRequired(); }
    void setRequired(bool required);
    bool ignoreNulls() const { return m_def.ignoreNulls; }
    void setIgnoreNulls(bool ignore);
    /// True for the index made for a relation's foreign side.
    bool foreign() const { return m_def.foreign; }

    TableDef* table() const { return m_table; }
    /// The definition as the catalog stores it.
    const IndexDefinition& definition() const { return m_def; }

private:
    // The table binds its indexes when it takes or stores them and notes what storing decided.
    friend class TableDef;
    void requireNew() const;

    IndexDefinition m_def;
    TableDef* m_table = nullptr;
};

} // namespace kv::engine
