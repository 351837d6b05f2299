#pragma once

#include "engine/catalog/Definitions.h"

#include <QString>
#include <vector>

namespace kv::engine {

class Connection;
class LinkedTables;

/// Reads the definitions of the database: SQLite's schema completed by the catalog rows.
class CatalogReader {
public:
    CatalogReader(Connection& db, LinkedTables& linked);

    /// User, catalog and attached tables by name.
    std::vector<TableEntry> tables() const;
    /// The fields of a table in the order of its columns, positions as stored; attached tables
    /// read theirs from the other file (and its catalog, if it has one).
    std::vector<FieldDefinition> fields(const QString& table) const;
    /// The same in the order of their positions.
    std::vector<FieldDefinition> fieldsInOrder(const QString& table) const;
    /// The catalog's indexes of the table by name, then those other tools made under their
    /// SQLite names.
    std::vector<IndexDefinition> indexes(const QString& table) const;
    std::vector<RelationDefinition> relations() const;
    std::vector<QueryEntry> queries() const;
    /// A database property; empty when it is not set.
    QString property(const QString& name) const;

private:
    Connection& m_db;
    LinkedTables& m_linked;
};

} // namespace kv::engine
