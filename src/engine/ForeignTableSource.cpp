#include "engine/ForeignTableSource.h"

#include "engine/catalog/CatalogText.h"
#include "engine/isam/DbfFolder.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/ParadoxTable.h"
#include "engine/isam/XlsWorkbook.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QDir>
#include <QFileInfo>

namespace kv::engine {

using namespace isam;

namespace {

QString databasePath(const QString& connect)
{
    QString path = catalogtext::connectValue(connect, QStringLiteral("DATABASE"));
    // Folders are written with a closing separator, in either convention.
    while (path.size() > 1 && (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))))
        path.chop(1);
    return path;
}

bool startsWith(const QString& prefix, const char* family)
{
    return prefix.startsWith(QLatin1String(family), Qt::CaseInsensitive);
}

DbfFlavor dbfFlavor(const QString& prefix)
{
    if (prefix.compare(QLatin1String("dBASE III"), Qt::CaseInsensitive) == 0)
        return DbfFlavor::Dbase3;
    if (startsWith(prefix, "dBASE"))
        return DbfFlavor::Dbase4;
    if (prefix.compare(QLatin1String("FoxPro 3.0"), Qt::CaseInsensitive) == 0)
        return DbfFlavor::VisualFoxPro;
    return DbfFlavor::FoxPro2;
}

/// The file of a table in a folder, found without regard to case; source may carry its ending.
QString tableFile(const QString& folder, const QString& source, const char* suffix)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw IsamError::fileNotFound(folder);
    const QString wanted = QFileInfo(source).suffix().isEmpty()
        ? source + QLatin1Char('.') + QLatin1String(suffix)
        : source;
    for (const QString& entry : dir.entryList(QDir::Files))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    throw IsamError::fileNotFound(dir.filePath(wanted));
}

/// The driver of a folder or workbook; Paradox folders have none and are handled by name.
std::unique_ptr<IsamDatabase> foreignDatabase(const QString& prefix, const QString& path)
{
    if (startsWith(prefix, "dBASE") || startsWith(prefix, "FoxPro")) {
        if (!QFileInfo(path).isDir())
            throw IsamError::fileNotFound(path);
        return std::make_unique<DbfFolder>(path, dbfFlavor(prefix));
    }
    if (startsWith(prefix, "Excel")) {
        if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
            return std::make_unique<XlsxWorkbook>(path);
        if (!QFileInfo(path).isFile())
            throw IsamError::fileNotFound(path);
        return std::make_unique<XlsWorkbook>(path);
    }
    return nullptr;
}

ParadoxVersion paradoxVersion(const QString& prefix)
{
    if (startsWith(prefix, "Paradox 3"))
        return ParadoxVersion::V3;
    if (startsWith(prefix, "Paradox 4"))
        return ParadoxVersion::V4;
    return ParadoxVersion::V5;
}

[[noreturn]] void unknownFormat(const QString& prefix, const QString& path)
{
    throw IsamError(isamerr::NotSupported,
        QStringLiteral("Das Format '%1' der Datei '%2' kann nicht eingebunden werden.")
            .arg(prefix, QDir::toNativeSeparators(path)));
}

QDir existingFolder(const QString& path)
{
    const QDir dir(path);
    if (!dir.exists())
        throw IsamError::fileNotFound(path);
    return dir;
}

QString requiredPath(const QString& connect)
{
    const QString path = databasePath(connect);
    if (path.isEmpty())
        throw IsamError(isamerr::Generic,
            QStringLiteral("Die Verbindungsangabe '%1' nennt keine Datei und keinen Ordner.")
                .arg(connect));
    return path;
}

} // namespace

bool isForeignConnect(const QString& connect)
{
    return !catalogtext::connectPrefix(connect).isEmpty();
}

QString excelTargetPath(const QString& workbook)
{
    const QFileInfo info(workbook);
    if (info.suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return workbook;
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xlsx"));
}

QStringList foreignTableNames(const QString& connect)
{
    const QString prefix = catalogtext::connectPrefix(connect);
    const QString path = requiredPath(connect);
    if (startsWith(prefix, "Paradox")) {
        const QDir dir = existingFolder(path);
        QStringList names;
        for (const QFileInfo& f : dir.entryInfoList(QDir::Files, QDir::Name))
            if (f.suffix().compare(QLatin1String("DB"), Qt::CaseInsensitive) == 0)
                names << f.completeBaseName();
        return names;
    }
    if (startsWith(prefix, "Excel") && !QFileInfo(path).isFile())
        throw IsamError::fileNotFound(path);
    const std::unique_ptr<IsamDatabase> db = foreignDatabase(prefix, path);
    if (!db)
        unknownFormat(prefix, path);
    return db->tableNames();
}

std::unique_ptr<IsamTable> createForeignTable(
    const QString& connect, const QString& name, const IsamFields& fields)
{
    const QString prefix = catalogtext::connectPrefix(connect);
    const QString path = requiredPath(connect);
    if (startsWith(prefix, "Paradox")) {
        const QDir dir = existingFolder(path);
        const QString file = dir.filePath(name + QStringLiteral(".DB"));
        if (QFileInfo::exists(file))
            throw IsamError(isamerr::ObjectExists,
                QStringLiteral("Die Tabelle '%1' gibt es im Ordner '%2' schon.")
                    .arg(name, QDir::toNativeSeparators(path)));
        return ParadoxTable::create(file, fields, paradoxVersion(prefix));
    }
    const std::unique_ptr<IsamDatabase> db
        = foreignDatabase(prefix, startsWith(prefix, "Excel") ? excelTargetPath(path) : path);
    if (!db)
        unknownFormat(prefix, path);
    if (!db->canCreateTables())
        throw IsamError::notSupported(
            path, QStringLiteral("Das Anlegen der Tabelle '%1'").arg(name));
    return db->createTable(name, fields);
}

std::unique_ptr<IsamTable> openForeignTable(const QString& connect, const QString& source)
{
    const QString prefix = catalogtext::connectPrefix(connect);
    const QString path = databasePath(connect);
    if (path.isEmpty())
        throw IsamError(isamerr::Generic,
            QStringLiteral("Die Verbindungsangabe '%1' nennt keine Datei und keinen Ordner.")
                .arg(connect));
    if (startsWith(prefix, "dBASE") || startsWith(prefix, "FoxPro")) {
        // A file the user may not change is still read.
        const bool writable = QFileInfo(tableFile(path, source, "DBF")).isWritable();
        return DbfFolder(path, dbfFlavor(prefix)).openTable(source, writable);
    }
    if (startsWith(prefix, "Paradox")) {
        const QString file = tableFile(path, source, "DB");
        return ParadoxTable::open(file);
    }
    if (startsWith(prefix, "Excel")) {
        if (!QFileInfo(path).isFile())
            throw IsamError::fileNotFound(path);
        // Workbooks are read here; they are written whole by the export, never changed in place.
        if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
            return XlsxWorkbook(path).openTable(source, false);
        return XlsWorkbook(path).openTable(source, false);
    }
    throw IsamError(isamerr::NotSupported,
        QStringLiteral("Das Format '%1' der Datei '%2' kann nicht eingebunden werden.")
            .arg(prefix, QDir::toNativeSeparators(path)));
}

} // namespace kv::engine
