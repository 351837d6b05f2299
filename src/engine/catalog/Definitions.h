#pragma once

// Plain values of what the catalog stores: the object model wraps them (Field, Index, Relation,
// TableDef, QueryDef), the catalog writes and reads them.

#include "engine/core/DataType.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace kv::engine {

/// A field of a table.
struct FieldDefinition {
    QString name;
    int type = dbText;
    int size = 50;
    int attributes = dbVariableField;
    QString defaultValue;
    bool required = false;
    bool allowZeroLength = false;
    QString validationRule;
    QString validationText;
    int ordinalPosition = 0;

    bool isAutoIncrement() const { return (attributes & dbAutoIncrField) != 0; }
};

/// One field of an index with its direction.
struct IndexField {
    QString name;
    bool descending = false;
};

/// An index of a table.
struct IndexDefinition {
    QString name;
    QList<IndexField> fields;
    bool primary = false;
    bool unique = false; ///< as set; isUnique() counts a primary key too
    bool required = false;
    bool ignoreNulls = false;
    bool foreign = false; ///< made for a relation's foreign side
    QString sqlName; ///< the index's name in SQLite; given when it is stored

    bool isUnique() const { return unique || primary; }
    bool isRequired() const { return required || primary; }
};

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

/// A relation between a primary table and a foreign table.
struct RelationDefinition {
    QString name;
    QString table;
    QString foreignTable;
    qint64 attributes = 0;
    QList<RelationField> fields;

    bool enforced() const { return (attributes & dbRelationDontEnforce) == 0; }
};

/// A table as the catalog lists it (its fields and indexes are read when asked for).
struct TableEntry {
    QString name;
    qint64 attributes = 0;
    QString connect; ///< attached tables: the other file
    QString sourceTableName; ///< attached tables: the table's name there
    QDateTime dateCreated;
    QDateTime lastUpdated;
};

/// A stored query.
struct QueryEntry {
    QString name;
    QString sql;
    QDateTime dateCreated;
    QDateTime lastUpdated;
};

} // namespace kv::engine
