#include "engine/ExternalFiles.h"

#include "engine/ForeignTableModule.h"
#include "engine/ForeignTableSource.h"
#include "engine/core/EngineError.h"
#include "engine/isam/IsamError.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <exception>

namespace kv::engine {

namespace {

QString quoteLiteral(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''"))
        + QLatin1Char('\'');
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

/// The format of a connect text of IN ("dBASE IV;" or "dBASE IV"); empty for our own files.
QString prefixOf(const QString& connect)
{
    return connect.section(QLatin1Char(';'), 0, 0).trimmed();
}

/// A file of our own must exist and be a database file: SQLite would make a new empty one.
void checkOwnFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw EngineError(err::FileNotFound,
            QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(nativePath(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(err::FileLocked,
            QStringLiteral("Die Datei '%1' kann nicht gelesen werden: %2")
                .arg(nativePath(path), file.errorString()));
    if (file.read(16) != QByteArray("SQLite format 3\0", 16))
        throw EngineError(err::NotADatabase,
            QStringLiteral("Die Datei '%1' ist keine Datenbank dieses Programms.")
                .arg(nativePath(path)));
}

} // namespace

ExternalFiles::ExternalFiles(Connection& connection)
    : m_connection(connection)
{ }

ExternalFiles::~ExternalFiles() = default;

ExternalFiles::Attached* ExternalFiles::find(const QString& schema)
{
    for (Attached& a : m_attached)
        if (a.schema == schema)
            return &a;
    return nullptr;
}

const ExternalFiles::Attached* ExternalFiles::find(const QString& schema) const
{
    return const_cast<ExternalFiles*>(this)->find(schema);
}

QString ExternalFiles::foreignConnect(const QString& schema) const
{
    const Attached* a = find(schema);
    if (!a || a->prefix.isEmpty())
        return {};
    return a->prefix + QStringLiteral(";DATABASE=") + a->path + QLatin1Char(';');
}

QString ExternalFiles::path(const QString& schema) const
{
    const Attached* a = find(schema);
    return a ? a->path : QString();
}

QString ExternalFiles::acquire(
    const sql::ExternalReference& ref, const QString& table, sql::ExternalAccess access)
{
    detachUnused();
    const QString prefix = prefixOf(ref.connect);
    // Foreign tables decide by their own files whether they can be written.
    const bool writable = !prefix.isEmpty() || access != sql::ExternalAccess::Read;
    Attached* found = nullptr;
    for (Attached& a : m_attached)
        if (a.path == ref.path && a.prefix.compare(prefix, Qt::CaseInsensitive) == 0
            && a.writable == writable)
            found = &a;
    Attached& a = found ? *found : attach(ref.path, prefix, writable);
    if (!a.prefix.isEmpty() && access != sql::ExternalAccess::Read)
        m_copies.keep(
            a.path, a.prefix.startsWith(QLatin1String("Excel"), Qt::CaseInsensitive), table);
    if (!a.prefix.isEmpty() && access != sql::ExternalAccess::Create) {
        try {
            provideTable(a, table);
        } catch (const EngineError&) {
            detachUnused(); // a folder attached for this table alone goes again
            throw;
        }
    }
    ++a.uses;
    return a.schema;
}

ExternalFiles::Attached& ExternalFiles::attach(
    const QString& path, const QString& prefix, bool writable)
{
    if (path.trimmed().isEmpty())
        throw EngineError(err::InvalidPath, QStringLiteral("Nach IN fehlt der Dateiname."));
    int number = 1;
    while (find(QStringLiteral("kvext%1").arg(number)))
        ++number;
    Attached a;
    a.schema = QStringLiteral("kvext%1").arg(number);
    a.path = path;
    a.prefix = prefix;
    a.writable = writable;
    QString target = QStringLiteral(":memory:");
    if (prefix.isEmpty()) {
        checkOwnFile(path);
        target
            = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
            + (writable ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro"));
    } else {
        try {
            // Checks the folder or workbook now, so that the message names it.
            foreignTableNames(prefix + QStringLiteral(";DATABASE=") + path + QLatin1Char(';'));
        } catch (const isam::IsamError& e) {
            // A new workbook or table is made by the statement itself.
            const bool newWorkbook = prefix.startsWith(QLatin1String("Excel"), Qt::CaseInsensitive)
                && e.number() == isam::isamerr::FileNotFound && writable;
            if (!newWorkbook)
                throw EngineError(e.number(), e.description());
        }
    }
    Statement st(m_connection.handle(), QStringLiteral("ATTACH ?1 AS ") + sql::quoteName(a.schema));
    st.bind(1, QVariant(target));
    try {
        st.step();
    } catch (const EngineError& e) {
        throw EngineError(e.number(),
            QStringLiteral("Die Datei '%1' kann nicht geöffnet werden: %2")
                .arg(nativePath(path), e.description()));
    }
    m_attached.push_back(a);
    return m_attached.back();
}

void ExternalFiles::provideTable(Attached& a, const QString& table)
{
    if (table.isEmpty() || a.tables.contains(table.toLower()))
        return;
    const QString connect = a.prefix + QStringLiteral(";DATABASE=") + a.path + QLatin1Char(';');
    try {
        m_connection.exec(
            QStringLiteral("CREATE VIRTUAL TABLE %1.%2 USING %3(%4, %5)")
                .arg(sql::quoteName(a.schema), sql::quoteName(table),
                    QLatin1String(foreignModuleName), quoteLiteral(connect), quoteLiteral(table)));
    } catch (const EngineError& e) {
        throw EngineError(e.number(),
            QStringLiteral("Die Tabelle '%1' in '%2' kann nicht geöffnet werden: %3")
                .arg(table, nativePath(a.path), e.description()));
    }
    a.tables << table.toLower();
}

void ExternalFiles::release(const QString& schema)
{
    if (Attached* a = find(schema))
        --a->uses;
    detachUnused();
}

void ExternalFiles::detachUnused()
{
    if (!m_connection.isOpen()) {
        m_attached.clear();
        return;
    }
    for (auto it = m_attached.begin(); it != m_attached.end();) {
        if (it->uses > 0) {
            ++it;
            continue;
        }
        try {
            m_connection.exec(QStringLiteral("DETACH ") + sql::quoteName(it->schema));
            it = m_attached.erase(it);
        } catch (const EngineError&) {
            // A schema written in an open transaction stays until the transaction ends.
            ++it;
        }
    }
}

QStringList ExternalFiles::endWork(bool succeeded)
{
    detachUnused();
    if (succeeded) {
        m_copies.drop();
        return {};
    }
    return m_copies.putBack();
}

ExternalWork::ExternalWork(ExternalFiles& files, Connection& connection)
    : m_files(files)
    , m_connection(connection)
    , m_exceptions(std::uncaught_exceptions())
{ }

ExternalWork::~ExternalWork()
{
    // Inside a transaction its end decides.
    if (m_connection.isOpen() && m_connection.inTransaction())
        return;
    m_files.endWork(std::uncaught_exceptions() == m_exceptions);
}

ExternalUse::~ExternalUse()
{
    for (const QString& schema : std::as_const(m_schemas))
        m_files.release(schema);
}

sql::ExternalSchema ExternalUse::resolver()
{
    return [this](const sql::ExternalReference& ref, const QString& table,
               sql::ExternalAccess access) {
        const QString schema = m_files.acquire(ref, table, access);
        // A statement translated again after finding a parameter names its files again.
        if (m_schemas.contains(schema))
            m_files.release(schema);
        else
            m_schemas << schema;
        return schema;
    };
}

} // namespace kv::engine
