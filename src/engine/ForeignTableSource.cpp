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

} // namespace

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
