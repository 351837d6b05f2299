#include "engine/ForeignDatabase.h"

#include "engine/ForeignTableModule.h"
#include "engine/ForeignTableSource.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/LinkedTables.h"
#include "engine/core/EngineError.h"
#include "engine/isam/IsamError.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <QDir>
#include <QFileInfo>

namespace kv::engine {

using namespace isam;

namespace {

bool startsWith(const QString& prefix, const char* family)
{
    return prefix.startsWith(QLatin1String(family), Qt::CaseInsensitive);
}

bool isFolderFormat(const QString& prefix)
{
    return startsWith(prefix, "dBASE") || startsWith(prefix, "FoxPro")
        || startsWith(prefix, "Paradox");
}

QStringList tableNames(const QString& source)
{
    try {
        return foreignTableNames(source);
    } catch (const IsamError& e) {
        throw EngineError(e.number(), e.description());
    }
}

} // namespace

ForeignTables ForeignTables::create(Connection& db, const QString& path, const QString& connect)
{
    const QString prefix = catalogtext::connectPrefix(connect);
    const QFileInfo info(path);
    const bool folder = isFolderFormat(prefix);
    if (!startsWith(prefix, "Excel") && !folder)
        throw EngineError(err::NotSupported,
            QStringLiteral("Das Datenbankformat '%1' wird nicht unterstützt.").arg(prefix));
    if (folder ? !info.isDir() : !info.isFile())
        throw EngineError(err::FileNotFound,
            (folder ? QStringLiteral("Der Ordner '%1' wurde nicht gefunden.")
                    : QStringLiteral("Die Datei '%1' wurde nicht gefunden."))
                .arg(QDir::toNativeSeparators(path)));

    ForeignTables result;
    // Paradox tables are only appended to when we create them; workbooks are written whole.
    result.writable = folder && !startsWith(prefix, "Paradox") && info.isWritable();
    const QString source = prefix + QStringLiteral(";DATABASE=") + info.absoluteFilePath();
    for (const QString& table : tableNames(source)) {
        try {
            db.exec(QStringLiteral("CREATE VIRTUAL TABLE main.") + quoteIdentifier(table)
                + QStringLiteral(" USING ") + QLatin1String(foreignModuleName) + QLatin1Char('(')
                + sql::quoteLiteral(source) + QStringLiteral(", ") + sql::quoteLiteral(table)
                + QLatin1Char(')'));
        } catch (const EngineError& e) {
            result.problems << LinkedTables::tableProblem(table, e.description());
        }
    }
    return result;
}

} // namespace kv::engine
