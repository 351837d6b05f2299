#pragma once

#include "engine/Collection.h"
#include "engine/Property.h"
#include "engine/QueryDef.h"
#include "engine/Relation.h"
#include "engine/TableDef.h"
#include "engine/core/Parameter.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <atomic>
#include <memory>
#include <vector>

namespace kv::engine {

class Catalog;
class Connection;
class ErrorList;
class ExternalFiles;
namespace sql {
struct Translation;
}
namespace isam {
class VerificationReport;
}
class Recordset;
class Workspace;

/// Options of Database::execute.
enum ExecuteOption : int {
    dbFailOnError = 128,
};

/// One open database file. Obtained from Workspace::openDatabase/createDatabase; the caller
/// owns it. Closing (or destroying) it closes its record sets' connection too, so record
/// sets must not outlive it.
class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// The file path.
    QString name() const { return m_name; }
    /// "4.0" for the engine's own files.
    QString version() const { return QStringLiteral("4.0"); }
    bool updatable() const;
    /// False for a folder or workbook of another format: its files are written at once.
    bool transactions() const { return m_foreignFormat.isEmpty(); }
    /// The connect prefix without its ";" ("dBASE III", "Excel 5.0") for a folder or workbook of
    /// another format opened as the database; empty for the engine's own file.
    QString foreignFormat() const { return m_foreignFormat; }
    QString connect() const { return m_connect; }
    bool isOpen() const;
    /// Why attached tables (or, for a folder or workbook of another format, its tables) could
    /// not be reached when the database was opened (German, one line per table, naming the
    /// table and its file); the rest of the database is usable.
    QStringList attachProblems() const;

    Collection<TableDef>& tableDefs();
    Collection<QueryDef>& queryDefs();
    Collection<Relation>& relations();

    std::unique_ptr<TableDef> createTableDef(const QString& name = {});
    std::unique_ptr<Relation> createRelation(const QString& name = {}, const QString& table = {},
        const QString& foreignTable = {}, qint64 attributes = 0);
    /// A named query is stored at once and belongs to queryDefs(); an unnamed one lives until
    /// the database is closed.
    QueryDef& createQueryDef(const QString& name = {}, const QString& sql = {});

    /// source: a table name, a stored query name or a statement. type: Recordset type.
    std::unique_ptr<Recordset> openRecordset(const QString& source, int type = 2);
    /// A statement's set whose sorted or filtered keys a worker reads on a connection of its
    /// own (Recordset::pendingKeys); other sets open with their keys as usual.
    std::unique_ptr<Recordset> openRecordsetKeysLater(const QString& statement, int type = 2);
    /// The first row of a statement that gives rows, such as totals or a count, read straight
    /// from its statement: no keys, no copy of the result. Empty without a row; fails as
    /// openRecordset does (3061 for a parameter without a value).
    QVariantList firstRow(const QString& statement);
    /// Runs an action statement; throws EngineError and changes nothing on failure.
    void execute(const QString& sql, int options = 0);
    /// Rows changed by the last execute().
    qint64 recordsAffected() const { return m_recordsAffected; }
    /// Receives the counts and changed values of the rows that statements write into foreign
    /// files from now on; nullptr stops it. The report must outlive its use here.
    void setVerificationReport(isam::VerificationReport* report) { m_report = report; }

    QList<Property> properties() const;
    /// Throws 3265 for an unknown name.
    QVariant property(const QString& name) const;
    /// Stores a user property in the database (built-in ones are read-only, 3027-style 3219).
    void setProperty(const QString& name, const QVariant& value);

    /// Sets, changes or removes (empty new) the access password. An access check, not
    /// encryption: the file itself stays readable by any SQLite tool.
    void newPassword(const QString& oldPassword, const QString& newPassword);

    void close();

    /// For a worker's own database: its statements stop with an error soon after *flag turns
    /// true, which the window's thread may set at any time. nullptr: they run to the end.
    void setCancelFlag(const std::atomic<bool>* flag);

    // Engine internals (record sets, queries, table definitions).
    Connection& connection() const;
    Catalog& catalog() const;
    /// The files statements name with IN, attached while they are used.
    ExternalFiles& externalFiles() const { return *m_externals; }
    Workspace* workspace() const { return m_workspace; }
    /// Where failures on this database are recorded: its workspace's list (none without one).
    ErrorList* errorList() const;
    /// Runs a dialect statement with parameters; returns the rows changed.
    qint64 executeWith(const QString& sql, const QList<Parameter>& parameters);
    /// Re-reads every collection (after a rollback).
    void refreshAll();

private:
    // Only a workspace opens databases, and it forgets them when they close.
    friend class Workspace;
    Database(Workspace* workspace, QString path, QString connect);
    void bindCollections();
    /// ALTER TABLE … ALTER COLUMN: the field replacement with the new declared type.
    /// SELECT … INTO a database of our own: the new table with the source's field types.
    void makeTable(
        const sql::Translation& t, const QStringList& names, const QList<Parameter>& values);
    void alterColumn(const QString& table, const QString& column, const QString& type);
    void requireOpen() const;
    /// Throws 3031 unless connect carries the stored password (or none is stored).
    void checkPassword(const QString& connect) const;

    Workspace* m_workspace;
    QString m_name;
    QString m_connect;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Catalog> m_catalog;
    std::unique_ptr<ExternalFiles> m_externals;
    isam::VerificationReport* m_report = nullptr;
    Collection<TableDef> m_tableDefs;
    Collection<QueryDef> m_queryDefs;
    Collection<Relation> m_relations;
    std::vector<std::unique_ptr<QueryDef>> m_tempQueries;
    bool m_tablesLoaded = false;
    bool m_queriesLoaded = false;
    bool m_relationsLoaded = false;
    bool m_readOnly = false;
    QString m_foreignFormat;
    QStringList m_openProblems;
    qint64 m_recordsAffected = 0;
};

} // namespace kv::engine
