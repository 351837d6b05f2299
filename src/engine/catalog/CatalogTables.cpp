#include "engine/catalog/CatalogTables.h"

#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"

#include <QDateTime>

namespace kv::engine {

namespace {
const char* const catalogSql = R"(
CREATE TABLE IF NOT EXISTS MSysKvObjects(Name TEXT PRIMARY KEY COLLATE NOCASE, Kind TEXT NOT NULL,
  Attributes INTEGER NOT NULL DEFAULT 0, Connect TEXT, SourceTableName TEXT, DateCreated TEXT,
  LastUpdated TEXT);
CREATE TABLE IF NOT EXISTS MSysKvFields(TableName TEXT NOT NULL COLLATE NOCASE,
  Name TEXT NOT NULL COLLATE NOCASE, Type INTEGER, Size INTEGER, Attributes INTEGER,
  DefaultValue TEXT, Required INTEGER, AllowZeroLength INTEGER, ValidationRule TEXT,
  ValidationText TEXT, OrdinalPosition INTEGER, PRIMARY KEY(TableName, Name));
CREATE TABLE IF NOT EXISTS MSysKvIndexes(TableName TEXT NOT NULL COLLATE NOCASE,
  Name TEXT NOT NULL COLLATE NOCASE, SqlName TEXT, IsPrimary INTEGER, IsUnique INTEGER,
  IsRequired INTEGER, IgnoreNulls INTEGER, IsForeign INTEGER, Fields TEXT,
  PRIMARY KEY(TableName, Name));
CREATE TABLE IF NOT EXISTS MSysKvRelations(Name TEXT PRIMARY KEY COLLATE NOCASE,
  TableName TEXT, ForeignTable TEXT, Attributes INTEGER, Fields TEXT);
CREATE TABLE IF NOT EXISTS MSysKvQueries(Name TEXT PRIMARY KEY COLLATE NOCASE, SQL TEXT,
  DateCreated TEXT, LastUpdated TEXT);
CREATE TABLE IF NOT EXISTS MSysKvProperties(Name TEXT PRIMARY KEY COLLATE NOCASE, Value TEXT);
)";
} // namespace

bool hasCatalogTables(Connection& db)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                    "'MSysKvProperties'"))
               .toInt()
        == 1;
}

void ensureCatalogTables(Connection& db)
{
    if (db.isReadOnly() || hasCatalogTables(db))
        return;
    db.exec(QString::fromUtf8(catalogSql));
}

bool isCatalogTable(const QString& name)
{
    return name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive);
}

QString catalogTimestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void touchTable(Connection& db, const QString& table)
{
    Statement st(db.handle(),
        QStringLiteral(
            "INSERT INTO MSysKvObjects(Name, Kind, DateCreated, LastUpdated) "
            "VALUES (?1, 'T', ?2, ?2) ON CONFLICT(Name) DO UPDATE SET LastUpdated = ?2"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(catalogTimestamp()));
    st.step();
}

void requireFreeName(Connection& db, const QString& name)
{
    if (name.trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Objektname."));
    Statement st(db.handle(),
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 "
                       "COLLATE NOCASE UNION ALL SELECT 1 FROM MSysKvObjects WHERE Name = ?1 "
                       "UNION ALL SELECT 1 FROM MSysKvQueries WHERE Name = ?1"));
    st.bind(1, QVariant(name));
    if (st.step())
        throw EngineError(
            err::ObjectExists, QStringLiteral("Das Objekt '%1' ist bereits vorhanden.").arg(name));
}

} // namespace kv::engine
