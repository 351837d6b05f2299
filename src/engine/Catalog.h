#pragma once

// Private to the engine: the catalog tables and every schema change.

#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/Relation.h"
#include "engine/Savepoint.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace kv::engine {

class Connection;
class QueryDef;
class TableDef;
class Database;
class SqlTokens;

/// The engine's own catalog tables (names starting "MSysKv", system attribute) and the
/// schema operations that keep SQLite's schema, the catalog rows and the generated rule
/// triggers and query views in step. Every operation runs inside a savepoint.
class Catalog {
public:
    explicit Catalog(Connection& connection);

    /// Creates the catalog tables when missing (not for read-only connections).
    void ensure();
    static bool isCatalogTable(const QString& name);

    // Tables
    /// Names of the tables in SQLite order of creation (user, catalog and attached).
    std::vector<std::unique_ptr<TableDef>> loadTables(Database* db);
    void loadFields(TableDef& table);
    void loadIndexes(TableDef& table);
    void createTable(TableDef& table);
    void createAttachedTable(TableDef& table);
    void dropTable(const QString& name);
    void renameTable(const QString& oldName, const QString& newName);
    void addField(TableDef& table, Field& field);
    void dropField(TableDef& table, const QString& name);
    /// Stores the changed properties of a stored field (name, position, required, zero
    /// length, default, rule, text). Type, size and attributes must be unchanged.
    void updateField(TableDef& table, const Field& old, const Field& changed);
    void createIndex(TableDef& table, Index& index);
    void dropIndex(TableDef& table, const QString& name);
    void renameIndex(TableDef& table, const QString& oldName, const QString& newName);
    void setTableAttributes(const QString& table, qint64 attributes);

    // Relations
    std::vector<std::unique_ptr<Relation>> loadRelations();
    void createRelation(Relation& relation);
    void dropRelation(const QString& name);

    // Queries
    std::vector<std::unique_ptr<QueryDef>> loadQueries(Database* db);
    void storeQuery(QueryDef& query, bool neu);
    void dropQuery(const QString& name);
    void renameQuery(const QString& oldName, const QString& newName);

    // Database properties
    QString property(const QString& name) const;
    void setProperty(const QString& name, const QString& value);

    /// Where the rows of a table live: "main"."T" or the attached file's schema and table.
    QString qualifiedTable(const QString& table) const;
    /// Attaches the files of attached tables and creates their temporary views.
    void attachLinkedTables();
    /// Runs op, which executes sql (as tokens), a statement in SQLite's own schema language (what a
    /// make-table query or a DDL statement translates to), and makes again the generated triggers
    /// and views it reaches: those of its table when it names one, all others when not.
    void schemaStatement(const SqlTokens& sql, const std::function<void()>& op);

    static QString quote(const QString& identifier);
    static QString now();

private:
    void dropGenerated();
    /// Drops every generated trigger of the tables in tabellen and, when sichten, the generated
    /// views that use one of namen (tables or queries), directly or through another view, and the
    /// triggers of tables whose triggers use one of those. Returns the tables whose triggers went.
    QStringList dropGeneratedOver(
        const QStringList& namen, const QStringList& tabellen, bool sichten);
    void dropTriggersOf(const QStringList& tabellen);
    /// The tables plus their relation partners.
    QStringList mitPartnern(const QStringList& tabellen);
    /// Every table's triggers, or only those of the tables in nur.
    void createTriggers(const QStringList& nur = {});
    void createQueryViews();
    void rebuildTable(const QString& table);
    void pruefeNameFrei(const QString& name) const;
    void touch(const QString& table);
    QString linkedSchema(const QString& path);
    /// What a change can affect of the generated triggers and views.
    enum class Umfang {
        Alles, // everything is dropped and made again
        NeueTabelle, // namen: the new table; gets its triggers, views that now can be made
        NeueAbfrage, // views that now can be made
        Tabellen, // namen: changed tables or queries (old and new names); their triggers, their
                  // relation partners' triggers and every view over them are made again
        Beziehung, // namen: the tables of a relation; only triggers are made again
    };
    /// Runs op in a savepoint and makes again what it may have changed of the generated triggers
    /// and views; a change to one table leaves the rest of a large database alone.
    template <class Op> void veraendere(Op&& op, Umfang umfang, const QStringList& namen = {});
    template <class Op> void aendere(Op&& op) { veraendere(std::forward<Op>(op), Umfang::Alles); }
    std::vector<Field> physicalFields(const QString& table);
    QString columnDefinition(const Field& field) const;
    QString indexSql(const QString& table, const Index& index) const;
    /// Creates the index in SQLite (again) and stores its catalog row.
    void speichereIndex(const QString& table, const Index& index);

    Connection& m_db;
    int m_tiefe = 0;
    QHash<QString, QString> m_linkedSchemas; // file path → schema name
};

template <class Op>
inline void Catalog::veraendere(Op&& op, Umfang umfang, const QStringList& namen)
{
    // Nested changes (an index appended with its table) regenerate once, at the outermost.
    if (m_tiefe > 0) {
        op();
        return;
    }
    Savepoint sp(m_db);
    ++m_tiefe;
    try {
        QStringList triggerTabellen;
        switch (umfang) {
        case Umfang::Alles:
            dropGenerated();
            break;
        case Umfang::NeueTabelle:
            triggerTabellen = namen;
            break;
        case Umfang::NeueAbfrage:
            break;
        case Umfang::Tabellen:
        case Umfang::Beziehung:
            // Before op: SQLite checks views and triggers that name a table it alters.
            triggerTabellen
                = dropGeneratedOver(namen, mitPartnern(namen), umfang == Umfang::Tabellen);
            break;
        }
        op();
        if (umfang == Umfang::Tabellen || umfang == Umfang::Beziehung)
            triggerTabellen += mitPartnern(namen); // relations op made or renamed
        // A new query is no part of any trigger, and no view can use a name that was free.
        if (umfang == Umfang::Alles)
            createTriggers();
        else if (!triggerTabellen.isEmpty())
            createTriggers(triggerTabellen);
        if (umfang != Umfang::Beziehung)
            createQueryViews();
    } catch (...) {
        --m_tiefe;
        throw;
    }
    --m_tiefe;
    sp.release();
}

} // namespace kv::engine
