#pragma once

#include "engine/catalog/CatalogReader.h"
#include "engine/catalog/Definitions.h"
#include "engine/catalog/GeneratedObjects.h"
#include "engine/catalog/LinkedTables.h"
#include "engine/catalog/SchemaChange.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv::engine {

class Connection;

namespace sql {
struct Translation;
}

/// The schema of one database: SQLite's schema, the engine's catalog rows and the generated
/// rule triggers and query views kept in step. Every change runs inside a savepoint and leaves
/// everything as it was when it fails. Reads go through reader().
class Catalog {
public:
    explicit Catalog(Connection& db);
    Catalog(const Catalog&) = delete;
    Catalog& operator=(const Catalog&) = delete;

    /// Creates the catalog tables when missing (not for read-only connections).
    void ensure();
    const CatalogReader& reader() const { return m_reader; }

    /// Refuses every later change of the schema, the catalog and the properties with this
    /// German message.
    void refuseChanges(const QString& message) { m_change.refuseChanges(message); }

    // Tables
    /// Stores a new table with its fields and indexes; fills in what storing decides (positions,
    /// SQLite index names, dates).
    void createTable(TableEntry& table, std::vector<FieldDefinition>& fields,
        std::vector<IndexDefinition>& indexes);
    /// Stores a table of another file (connect ";DATABASE=<file>"); fills in its source name,
    /// attribute and dates.
    void createAttachedTable(TableEntry& table);
    void dropTable(const QString& name);
    void renameTable(const QString& oldName, const QString& newName);
    void setTableAttributes(const QString& table, qint64 attributes);
    /// Where the rows of a table live: "main"."T" or the attached file's schema and table.
    QString qualifiedTable(const QString& table) const;
    /// The same unquoted: the schema and the name there.
    void resolveTable(const QString& table, QString& schema, QString& name) const;
    /// Attaches the files of attached tables and creates their temporary views.
    void attachLinkedTables();
    /// German messages of the attached foreign tables that could not be made at opening.
    const QStringList& attachProblems() const { return m_linked.problems(); }

    // Fields
    /// Adds a field to a stored table; gives it the next position when it has none.
    void addField(const QString& table, FieldDefinition& field);
    void dropField(const QString& table, const QString& name);
    /// Stores the changed properties of a stored field (name, position, required, zero
    /// length, default, rule, text). Type, size and attributes must be unchanged.
    void updateField(
        const QString& table, const FieldDefinition& old, const FieldDefinition& changed);
    /// Gives the stored field changed.name a new type, size or other properties in one copy of
    /// the table, its values through source (an SQL expression over the old row); its indexes
    /// and relations stay, and the new values must obey its rules and enforced relations.
    /// rowsCopied is called between the copy and the indexes, copied after both.
    void replaceField(const QString& table, const FieldDefinition& changed, const QString& source,
        const std::function<void()>& rowsCopied = {}, const std::function<void()>& copied = {});

    // Indexes
    /// Stores a new index of a stored table; gives it its SQLite name when it has none.
    void createIndex(const QString& table, IndexDefinition& index);
    void dropIndex(const QString& table, const QString& name);
    void renameIndex(const QString& table, const QString& oldName, const QString& newName);

    // Relations
    /// Stores a new relation and the index of its foreign side.
    void createRelation(const RelationDefinition& relation);
    void dropRelation(const QString& name);

    // Queries
    /// Stores a new query or the new text of a stored one; fills in the dates.
    void storeQuery(QueryEntry& query, bool isNew);
    void dropQuery(const QString& name);
    void renameQuery(const QString& oldName, const QString& newName);

    // Database properties
    void setProperty(const QString& name, const QString& value);

    /// Runs op, which executes statement (a DDL statement or a make-table query, as translated),
    /// and makes again the generated triggers and views it reaches: those of its table when it
    /// names one, all others when not.
    void schemaStatement(const sql::Translation& statement, const std::function<void()>& op);

private:
    /// Creates the index in SQLite (again) and stores its catalog row.
    void storeIndex(const QString& table, const IndexDefinition& index);
    /// Whether the table is attached from another file.
    bool isAttached(const QString& table);
    /// Stores the catalog row of a field.
    void writeFieldRow(const QString& table, const FieldDefinition& field);
    /// Stores rows for the table's fields that have none (columns made by SQL).
    void writeMissingFieldRows(const QString& table);
    /// Throws for a field no table can have (no name, counter not Long, text size).
    static void checkField(const FieldDefinition& field);
    /// Throws when the stored values of field break its rules or an enforced relation it is in.
    void checkStoredValues(const QString& table, const FieldDefinition& field);
    /// Whether rows of the relation's foreign side have no partner on its primary side.
    bool hasOrphans(const RelationDefinition& relation) const;

    Connection& m_db;
    /// Writes the catalog row of an attached table; returns its creation time.
    QString registerAttachedTable(
        const QString& name, const QString& connect, const QString& source);

    LinkedTables m_linked;
    CatalogReader m_reader;
    GeneratedObjects m_generated;
    SchemaChange m_change;
};

} // namespace kv::engine
