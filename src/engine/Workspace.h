#pragma once

#include "engine/ErrorList.h"
#include "engine/core/EngineError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace kv::engine {

class Database;

/// File version options of createDatabase (all create the same SQLite file; the option is
/// recorded as the property "VersionOption").
enum DatabaseVersion : int {
    dbVersion10 = 1,
    dbVersion11 = 8,
    dbVersion20 = 16,
    dbVersion30 = 32,
};

/// The engine's workspace: opens and creates databases, runs one-level transactions over
/// them, compacts and repairs files. Errors of the last failure stay readable in errors().
/// A workspace and everything opened through it belong to one thread (see engine/Engine.h).
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    /// connect: empty or ";pwd=<password>" (or ";DATABASE=…" pieces, ignored here) for the
    /// engine's own file; a format prefix ("dBASE III;", "Paradox 5.x;", "Excel 5.0;") opens the
    /// folder (dBASE, FoxPro, Paradox) or the workbook at path, whose tables are then the
    /// database's tables; its schema cannot be changed.
    /// Throws 3024 (missing), 3343 (not a database), 3031 (password), 3045 (locked with
    /// exclusive), 3027 (read-only file opened for writing is opened read-only instead).
    std::unique_ptr<Database> openDatabase(const QString& path, bool exclusive = false,
        bool readOnly = false, const QString& connect = {});
    /// locale: the collating string (";LANGID=…;CP=…;COUNTRY=0"); version: DatabaseVersion.
    /// Throws 3204 when the file exists.
    std::unique_ptr<Database> createDatabase(
        const QString& path, const QString& locale = {}, int version = dbVersion30);

    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    /// Copies source into a new, compacted file target. password: the source's password.
    void compactDatabase(
        const QString& source, const QString& target, const QString& password = {});
    /// Checks the file; when damaged, rebuilds what can be read into a fresh file that
    /// replaces it (the damaged original is kept as "<path>.beschaedigt"). Returns the list
    /// of objects or rows that could not be saved (empty when nothing was lost).
    QStringList repairDatabase(const QString& path);

    /// The errors of the last failure in this workspace (number, description), newest last.
    QList<EngineError> errors() const { return m_errors.errors(); }

private:
    // Databases register with the workspace they were opened in and leave it when they close.
    friend class Database;
    void adopt(Database* db);
    void forget(Database* db);
    ErrorList& errorList() { return m_errors; }
    static std::unique_ptr<Database> open(
        Workspace* ws, const QString& path, bool exclusive, bool readOnly, const QString& connect);
    static std::unique_ptr<Database> openForeign(
        Workspace* ws, const QString& path, bool readOnly, const QString& connect);

    QList<Database*> m_databases;
    bool m_inTransaction = false;
    ErrorList m_errors;
};

} // namespace kv::engine
