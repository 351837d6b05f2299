#include "engine/ForeignMakeTable.h"

#include "engine/ForeignTableSource.h"
#include "engine/TransferRows.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/DeclaredType.h"
#include "engine/core/DataType.h"
#include "engine/core/EngineError.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/VerificationReport.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Statement.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace kv::engine {

using namespace isam;

namespace {

/// A field for a result column: its declared type where it comes from a table, else the kind
/// of its first value (row may be empty when there is none).
IsamField fieldOf(const Statement& st, int column, bool haveRow)
{
    IsamField f;
    f.name = st.columnName(column);
    const QString declared = st.columnDeclType(column);
    if (!declared.isEmpty()) {
        datatype::fromDeclaredType(declared, f.type, f.size);
    } else if (haveRow) {
        switch (sqlite3_column_type(st.handle(), column)) {
        case SQLITE_INTEGER:
            // A whole number beyond Long keeps its value in a Double.
            f.type = st.int64(column) == qint64(qint32(st.int64(column))) ? dbLong : dbDouble;
            break;
        case SQLITE_FLOAT:
            f.type = dbDouble;
            break;
        case SQLITE_BLOB:
            f.type = dbLongBinary;
            break;
        default:
            f.type = dbText;
            f.size = 255;
            break;
        }
    } else {
        f.type = dbText;
        f.size = 255;
    }
    if (f.type != dbText && f.size <= 0)
        f.size = fixedSize(f.type);
    return f;
}

} // namespace

IsamFields resultFields(const Statement& select, bool haveRow)
{
    IsamFields fields;
    for (int i = 0; i < select.columnCount(); ++i)
        fields << fieldOf(select, i, haveRow);
    return fields;
}

QString makeTableDefinition(const QString& qualifiedName, const IsamFields& fields)
{
    QStringList columns;
    for (const IsamField& f : fields)
        columns << sql::quoteName(f.name) + QLatin1Char(' ')
                + datatype::declaredType(f.type, f.size);
    return QStringLiteral("CREATE TABLE ") + qualifiedName + QStringLiteral(" (")
        + columns.join(QStringLiteral(", ")) + QLatin1Char(')');
}

namespace {

/// The folder whose new files are removed when the table cannot be completed.
QString folderOf(const QString& connect)
{
    QString path = catalogtext::connectValue(connect, QStringLiteral("DATABASE"));
    if (catalogtext::connectPrefix(connect).startsWith(QLatin1String("Excel"), Qt::CaseInsensitive))
        return QFileInfo(path).absolutePath();
    return path;
}

QSet<QString> filesIn(const QString& folder)
{
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    return QSet<QString>(entries.cbegin(), entries.cend());
}

} // namespace

qint64 makeForeignTable(Connection& connection, const QString& connect, const QString& table,
    const QString& selectSql, const QStringList& parameterNames, const QList<Parameter>& values,
    VerificationReport* report)
{
    Statement st(connection.handle(), selectSql);
    sql::DialectStatement::bind(st, parameterNames, values);
    const bool haveRow = st.step();
    const IsamFields fields = resultFields(st, haveRow);

    const QString folder = folderOf(connect);
    const QSet<QString> before = filesIn(folder);
    qint64 written = 0;
    try {
        std::unique_ptr<IsamTable> target = createForeignTable(connect, table, fields);
        if (report)
            target->setIssueSink(report->sink(table));
        for (bool more = haveRow; more; more = st.step()) {
            IsamRow row;
            row.reserve(fields.size());
            for (int i = 0; i < fields.size(); ++i)
                row << isam::driverValue(st.value(i), fields.at(i).type);
            if (report)
                report->countRead(table);
            target->append(row);
            ++written;
            TransferRows::countWritten();
            if (report)
                report->countWritten(table);
        }
        target->flush();
    } catch (const std::exception& e) {
        // Nothing half-written stays behind; files that were there before are left alone.
        for (const QString& name : filesIn(folder) - before)
            QFile::remove(QDir(folder).filePath(name));
        if (const auto* isam = dynamic_cast<const IsamError*>(&e))
            throw EngineError(isam->number(), isam->description());
        throw;
    }
    return written;
}

} // namespace kv::engine
