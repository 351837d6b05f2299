#include "engine/isam/DbfFolder.h"

#include "engine/isam/IsamError.h"

#include <QDir>
#include <QFileInfo>

namespace kv::engine::isam {

DbfFolder::DbfFolder(const QString& folder, DbfFlavor flavor, const CodePage& codePage)
    : m_flavor(flavor)
    , m_codePage(codePage)
{
    m_path = folder;
    const QFileInfo info(folder);
    if (!info.exists())
        throw IsamError::fileNotFound(folder);
    if (!info.isDir())
        throw IsamError(isamerr::NotADatabase,
            QStringLiteral("'%1' ist kein Ordner mit dBASE-Tabellen.")
                .arg(QDir::toNativeSeparators(folder)));
}

QStringList DbfFolder::tableNames() const
{
    QStringList names;
    const QFileInfoList files
        = QDir(m_path).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& f : files) {
        if (f.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0)
            names.append(f.completeBaseName());
    }
    return names;
}

QString DbfFolder::tablePath(const QString& name) const
{
    const QFileInfoList files = QDir(m_path).entryInfoList(QDir::Files);
    for (const QFileInfo& f : files) {
        if (f.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0
            && f.completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return f.filePath();
    }
    return {};
}

std::unique_ptr<IsamTable> DbfFolder::openTable(const QString& name, bool writable)
{
    const QString path = tablePath(name);
    if (path.isEmpty())
        throw IsamError(isamerr::ItemNotFound,
            QStringLiteral("Die Tabelle '%1' gibt es im Ordner '%2' nicht.")
                .arg(name, QDir::toNativeSeparators(m_path)));
    DbfOptions options;
    options.codePage = m_codePage;
    options.writable = writable;
    return DbfTable::open(path, options);
}

std::unique_ptr<IsamTable> DbfFolder::createTable(const QString& name, const IsamFields& fields)
{
    if (!tablePath(name).isEmpty())
        throw IsamError(isamerr::ObjectExists,
            QStringLiteral("Die Tabelle '%1' gibt es im Ordner '%2' schon.")
                .arg(name, QDir::toNativeSeparators(m_path)));
    const QString path = QDir(m_path).filePath(name + QStringLiteral(".DBF"));
    return DbfTable::create(path, fields, m_flavor, m_codePage.isValid() ? m_codePage : CodePage());
}

} // namespace kv::engine::isam
