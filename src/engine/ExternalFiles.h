#pragma once

#include "engine/ForeignFileCopies.h"
#include "engine/sql/Dialect.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kv::engine {

class Connection;

/// The files a database's statements name with IN '<file>' ['<connect>'], attached to its
/// connection while a statement or record set uses them. A database file of our own is
/// attached itself (read-only unless a statement writes into it); a foreign folder or workbook
/// gets an empty in-memory schema in which its tables appear as kv_foreign virtual tables.
class ExternalFiles {
public:
    explicit ExternalFiles(Connection& connection);
    ~ExternalFiles();
    ExternalFiles(const ExternalFiles&) = delete;
    ExternalFiles& operator=(const ExternalFiles&) = delete;

    /// The schema the file is reached under, attached on first use, with table made reachable
    /// in it (for Create only the file). Throws EngineError naming the file.
    QString acquire(const sql::ExternalReference& ref, const QString& table, sql::ExternalAccess);
    /// One use fewer; the schema is detached when none is left (after the transaction that
    /// wrote into it, where SQLite keeps it until then).
    void release(const QString& schema);

    /// Detaches what no statement uses any more; called when a transaction ends, which frees
    /// the files it wrote into.
    void detachUnused();

    /// A statement outside a transaction, or a transaction, has ended: the foreign files it
    /// wrote into are kept as they are now, or put back as they were before its first write
    /// (files it made are removed). Detaches what is unused first, so that the drivers have
    /// written their last bytes. Returns the files that could not be put back.
    QStringList endWork(bool succeeded);

    /// The connect text of a foreign schema ("dBASE IV;DATABASE=…"); empty for our own files.
    QString foreignConnect(const QString& schema) const;
    /// The folder or file a schema stands for, as written in the statement.
    QString path(const QString& schema) const;

private:
    struct Attached {
        QString schema;
        QString path;
        QString prefix; ///< empty for a database file of our own
        bool writable = false;
        int uses = 0;
        QStringList tables; ///< virtual tables made in a foreign schema (lower case)
    };
    Attached* find(const QString& schema);
    const Attached* find(const QString& schema) const;
    Attached& attach(const QString& path, const QString& prefix, bool writable);
    void provideTable(Attached& a, const QString& table);

    Connection& m_connection;
    std::vector<Attached> m_attached;
    ForeignFileCopies m_copies;
};

/// Ends the work of one statement on the external files when no transaction goes on around
/// it: put back when the statement failed, kept when it succeeded. Declared before the
/// statement's ExternalUse, so that it ends after the files have been let go.
class ExternalWork {
public:
    ExternalWork(ExternalFiles& files, Connection& connection);
    ~ExternalWork();
    ExternalWork(const ExternalWork&) = delete;
    ExternalWork& operator=(const ExternalWork&) = delete;

private:
    ExternalFiles& m_files;
    Connection& m_connection;
    int m_exceptions;
};

/// The files one statement or record set uses; gives them back when it ends.
class ExternalUse {
public:
    explicit ExternalUse(ExternalFiles& files)
        : m_files(files)
    { }
    ~ExternalUse();
    ExternalUse(const ExternalUse&) = delete;
    ExternalUse& operator=(const ExternalUse&) = delete;

    /// For the translator: attaches what a statement names and remembers it.
    sql::ExternalSchema resolver();
    ExternalFiles& files() const { return m_files; }

private:
    ExternalFiles& m_files;
    QStringList m_schemas;
};

} // namespace kv::engine
