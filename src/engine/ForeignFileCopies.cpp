#include "engine/ForeignFileCopies.h"

#include "engine/ForeignTableSource.h"
#include "engine/core/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace kv::engine {

ForeignFileCopies::ForeignFileCopies() = default;
ForeignFileCopies::~ForeignFileCopies() = default;

QStringList ForeignFileCopies::filesOf(const Place& p) const
{
    QStringList files;
    for (const QFileInfo& f : QDir(p.folder).entryInfoList(QDir::Files)) {
        const bool same = p.workbook
            ? f.fileName().compare(p.baseName, Qt::CaseInsensitive) == 0
            : f.completeBaseName().compare(p.baseName, Qt::CaseInsensitive) == 0;
        if (same)
            files << f.absoluteFilePath();
    }
    return files;
}

void ForeignFileCopies::keep(const QString& folderOrWorkbook, bool workbook, const QString& table)
{
    QList<Place> places;
    if (workbook) {
        // An old workbook is written as an .xlsx beside it: both may change.
        for (const QString& book : { folderOrWorkbook, excelTargetPath(folderOrWorkbook) }) {
            const QFileInfo info(book);
            places.append({ info.absolutePath(), info.fileName(), true, {} });
        }
    } else {
        places.append({ QFileInfo(folderOrWorkbook).absoluteFilePath(), table, false, {} });
    }
    for (Place& p : places) {
        const bool known = std::any_of(m_places.cbegin(), m_places.cend(), [&](const Place& k) {
            return k.workbook == p.workbook && k.folder == p.folder
                && k.baseName.compare(p.baseName, Qt::CaseInsensitive) == 0;
        });
        if (known)
            continue;
        if (!m_dir)
            m_dir = std::make_unique<QTemporaryDir>();
        p.before = filesOf(p);
        for (const QString& file : std::as_const(p.before)) {
            const QString copy = m_dir->filePath(QString::number(m_copies.size()));
            if (!QFile::copy(file, copy))
                throw EngineError(err::FileLocked,
                    QStringLiteral("Von der Datei '%1' kann vor dem Schreiben keine Sicherung "
                                   "angelegt werden.")
                        .arg(QDir::toNativeSeparators(file)));
            m_copies.append({ file, copy });
        }
        m_places.append(p);
    }
}

QStringList ForeignFileCopies::putBack()
{
    QStringList failed;
    for (const Place& p : std::as_const(m_places))
        for (const QString& file : filesOf(p))
            if (!p.before.contains(file) && !QFile::remove(file))
                failed << file;
    for (const Copy& c : std::as_const(m_copies)) {
        QFile::remove(c.file);
        if (!QFile::copy(c.copy, c.file))
            failed << c.file;
    }
    drop();
    return failed;
}

void ForeignFileCopies::drop()
{
    m_places.clear();
    m_copies.clear();
    m_dir.reset();
}

} // namespace kv::engine
