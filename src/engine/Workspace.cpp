#include "engine/Workspace.h"

#include "engine/Database.h"
#include "engine/ExternalFiles.h"
#include "engine/ForeignDatabase.h"
#include "engine/ForeignTableModule.h"
#include "engine/ForeignTableSource.h"
#include "engine/catalog/Catalog.h"
#include "engine/catalog/Repair.h"
#include "engine/sql/Dialect.h"
#include "engine/sqlite/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::engine {

namespace {
void requireFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw EngineError(
            err::FileNotFound, QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(path));
    if (info.isDir())
        throw EngineError(err::InvalidPath,
            QStringLiteral("'%1' ist ein Verzeichnis und keine Datenbankdatei.").arg(path));
}

QString notADatabaseText(const QString& path)
{
    return QStringLiteral("Die Datei '%1' ist keine Datenbank oder ist beschädigt.").arg(path);
}

// How long a statement waits for another process's lock before it gives up.
constexpr int BusyTimeout = 1000;
} // namespace

Workspace::Workspace() = default;

Workspace::~Workspace()
{
    for (Database* db : m_databases)
        db->m_workspace = nullptr;
}

void Workspace::adopt(Database* db)
{
    m_databases.append(db);
}

void Workspace::forget(Database* db)
{
    m_databases.removeAll(db);
}

std::unique_ptr<Database> Workspace::openForeign(
    Workspace* ws, const QString& path, bool readOnly, const QString& connect)
{
    auto db = std::unique_ptr<Database>(new Database(ws, path, connect));
    Connection& c = *db->m_connection;
    // The tables live in the user's files; the connection holds only what describes them.
    sql::openConnection(c, QStringLiteral(":memory:"), OpenMode::Create);
    registerForeignTableModule(c);
    db->catalog().ensure();
    ForeignTables tables = ForeignTables::create(c, path, connect);
    QString format = connect.section(QLatin1Char(';'), 0, 0).trimmed();
    db->m_foreignFormat = format;
    db->m_openProblems = tables.problems;
    // Record sets and statements ask updatable() before they write.
    db->m_readOnly = readOnly || !tables.writable;
    db->catalog().refuseChanges(
        QStringLiteral("Diese Änderung ist in einer Datenbank im Format '%1' nicht möglich; sie "
                       "verlangt eine Datenbank im eigenen Format.")
            .arg(format));
    return db;
}

std::unique_ptr<Database> Workspace::open(
    Workspace* ws, const QString& path, bool exclusive, bool readOnly, const QString& connect)
{
    if (isForeignConnect(connect))
        return openForeign(ws, path, readOnly, connect);
    requireFile(path);
    // SQLite takes an empty file for a new database and would write a catalog into it.
    if (QFileInfo(path).size() == 0)
        throw EngineError(err::NotADatabase, notADatabaseText(path));
    const bool onlyRead = readOnly || !QFileInfo(path).isWritable();
    auto db = std::unique_ptr<Database>(new Database(ws, path, connect));
    Connection& c = *db->m_connection;
    sql::openConnection(c, path, onlyRead ? OpenMode::ReadOnly : OpenMode::ReadWrite);
    c.setBusyTimeout(BusyTimeout);
    try {
        // The first read tells a database from any other file.
        c.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const EngineError& e) {
        if (e.number() == err::NotADatabase)
            throw EngineError(err::NotADatabase, notADatabaseText(path));
        throw;
    }
    if (exclusive) {
        c.exec(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        try {
            c.exec(onlyRead ? QStringLiteral("BEGIN; SELECT count(*) FROM sqlite_master; COMMIT")
                            : QStringLiteral("BEGIN EXCLUSIVE; COMMIT"));
        } catch (const EngineError&) {
            throw EngineError(err::FileLocked,
                QStringLiteral("Die Datei '%1' wird bereits verwendet und kann nicht exklusiv "
                               "geöffnet werden.")
                    .arg(path));
        }
    }
    // A larger page cache keeps the pages of the rows a grid shows between page fetches.
    c.exec(QStringLiteral("PRAGMA cache_size = -8000"));
    db->m_readOnly = onlyRead;
    db->catalog().ensure();
    db->checkPassword(connect);
    registerForeignTableModule(c);
    db->catalog().attachLinkedTables();
    return db;
}

std::unique_ptr<Database> Workspace::openDatabase(
    const QString& path, bool exclusive, bool readOnly, const QString& connect)
{
    return recordErrors(&m_errors, [&] { return open(this, path, exclusive, readOnly, connect); });
}

std::unique_ptr<Database> Workspace::createDatabase(
    const QString& path, const QString& locale, int version)
{
    return recordErrors(&m_errors, [&] {
        if (QFileInfo::exists(path))
            throw EngineError(err::DatabaseExists,
                QStringLiteral("Die Datenbank '%1' ist bereits vorhanden.").arg(path));
        auto db = std::unique_ptr<Database>(new Database(this, path, QString()));
        Connection& c = *db->m_connection;
        sql::openConnection(c, path, OpenMode::Create);
        registerForeignTableModule(c);
        c.setBusyTimeout(BusyTimeout);
        try {
            c.exec(QStringLiteral("BEGIN"));
            db->catalog().ensure();
            db->catalog().setProperty(QStringLiteral("VersionOption"), QString::number(version));
            db->catalog().setProperty(QStringLiteral("Locale"), locale);
            c.exec(QStringLiteral("COMMIT"));
        } catch (...) {
            db->close();
            QFile::remove(path);
            throw;
        }
        return db;
    });
}

void Workspace::beginTrans()
{
    recordErrors(&m_errors, [&] {
        if (m_inTransaction)
            throw EngineError(err::TransactionNesting,
                QStringLiteral("Es ist bereits eine Transaktion begonnen; Transaktionen können "
                               "nicht verschachtelt werden."));
        for (Database* db : m_databases)
            db->connection().exec(QStringLiteral("BEGIN"));
        m_inTransaction = true;
    });
}

void Workspace::commitTrans()
{
    recordErrors(&m_errors, [&] {
        if (!m_inTransaction)
            throw EngineError(
                err::TransactionNesting, QStringLiteral("Commit ohne vorheriges BeginTrans."));
        for (Database* db : m_databases)
            if (db->connection().inTransaction())
                db->connection().exec(QStringLiteral("COMMIT"));
        m_inTransaction = false;
        for (Database* db : m_databases)
            db->externalFiles().endWork(true);
    });
}

void Workspace::rollback()
{
    recordErrors(&m_errors, [&] {
        if (!m_inTransaction)
            throw EngineError(
                err::TransactionNesting, QStringLiteral("Rollback ohne vorheriges BeginTrans."));
        m_inTransaction = false;
        for (Database* db : m_databases) {
            if (db->connection().inTransaction())
                db->connection().exec(QStringLiteral("ROLLBACK"));
            // Schema changes were undone too: the collections are read again.
            db->refreshAll();
            db->externalFiles().endWork(false);
        }
    });
}

void Workspace::compactDatabase(
    const QString& source, const QString& target, const QString& password)
{
    recordErrors(&m_errors, [&] {
        if (QFileInfo::exists(target))
            throw EngineError(err::DatabaseExists,
                QStringLiteral("Die Datenbank '%1' ist bereits vorhanden.").arg(target));
        // Opened outside the workspace: the copy takes no part in its transactions.
        auto db = open(nullptr, source, false, true,
            password.isEmpty() ? QString() : QStringLiteral(";pwd=") + password);
        Statement st(db->connection().handle(), QStringLiteral("VACUUM INTO ?1"));
        st.bind(1, QVariant(target));
        try {
            st.step();
        } catch (...) {
            QFile::remove(target);
            throw;
        }
    });
}

QStringList Workspace::repairDatabase(const QString& path)
{
    return recordErrors(&m_errors, [&] { return Repair(path).run(); });
}

} // namespace kv::engine
