#pragma once

#include <QList>
#include <QString>

namespace kv::engine {

class TableDef;

/// One field of an index with its direction.
struct IndexField {
    QString name;
    bool descending = false;
};

/// An index of a table definition. Only the name of a stored index can change.
class Index {
public:
    explicit Index(QString name = {});

    QString name() const { return m_name; }
    void setName(const QString& name);
    const QList<IndexField>& fields() const { return m_fields; }
    void setFields(const QList<IndexField>& fields);
    void appendField(const QString& name, bool descending = false);
    bool primary() const { return m_primary; }
    void setPrimary(bool primary);
    bool unique() const { return m_unique || m_primary; }
    void setUnique(bool unique);
    bool required() const { return m_required || m_primary; }
    void setRequired(bool required);
    bool ignoreNulls() const { return m_ignoreNulls; }
    void setIgnoreNulls(bool ignore);
    /// True for the index made for a relation's foreign side.
    bool foreign() const { return m_foreign; }

    TableDef* table() const { return m_table; }

private:
    friend class Catalog;
    friend class Database;
    friend class TableDef;
    void pruefeNeu() const;

    QString m_name;
    QList<IndexField> m_fields;
    bool m_primary = false;
    bool m_unique = false;
    bool m_required = false;
    bool m_ignoreNulls = false;
    bool m_foreign = false;
    QString m_sqlName;
    TableDef* m_table = nullptr;
};

} // namespace kv::engine
