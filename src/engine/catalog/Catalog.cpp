#include "engine/catalog/Catalog.h"

#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/SchemaSql.h"
#include "engine/core/EngineError.h"
#include "engine/sql/Dialect.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

// Tables, properties and statements that change the schema; fields, indexes, relations and
// queries have files of their own.

namespace kv::engine {

using namespace catalogtext;

Catalog::Catalog(Connection& db)
    : m_db(db)
    , m_linked(db)
    , m_reader(db, m_linked)
    , m_generated(db, m_reader)
    , m_change(db, m_generated)
{ }

void Catalog::ensure()
{
    ensureCatalogTables(m_db);
}

void Catalog::createTable(
    TableEntry& table, std::vector<FieldDefinition>& fields, std::vector<IndexDefinition>& indexes)
{
    if (fields.empty())
        throw EngineError(err::NoFields,
            QStringLiteral("Die Tabelle '%1' muss mindestens ein Feld enthalten.").arg(table.name));
    // A new table changes no other table's triggers and no view that is there, so creating many
    // tables in a row stays linear.
    m_change.run(
        [&] {
            requireFreeName(m_db, table.name);
            QStringList columns;
            int counters = 0;
            int position = 0;
            for (FieldDefinition& f : fields) {
                checkField(f);
                if (f.isAutoIncrement() && ++counters > 1)
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
                if (f.ordinalPosition == 0)
                    f.ordinalPosition = position;
                ++position;
                columns << columnDefinition(f);
            }
            m_db.exec(QStringLiteral("CREATE TABLE ") + quoteIdentifier(table.name)
                + QStringLiteral(" (") + columns.join(QStringLiteral(", ")) + QLatin1Char(')'));
            const QString now = catalogTimestamp();
            Statement st(m_db.handle(),
                QStringLiteral("INSERT INTO MSysKvObjects(Name, Kind, Attributes, DateCreated, "
                               "LastUpdated) VALUES (?1, 'T', ?2, ?3, ?3)"));
            st.bind(1, QVariant(table.name));
            st.bind(2, qint64(table.attributes & dbHiddenObject));
            st.bind(3, QVariant(now));
            st.step();
            for (const FieldDefinition& f : fields)
                writeFieldRow(table.name, f);
            for (IndexDefinition& ix : indexes)
                createIndex(table.name, ix);
            table.dateCreated = table.lastUpdated = datatype::parseIsoDate(now);
        },
        ChangeScope::NewTable, { table.name });
}

void Catalog::createAttachedTable(TableEntry& table)
{
    const QString path = connectValue(table.connect, QStringLiteral("DATABASE"));
    if (path.isEmpty())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Verbindungsangabe '%1' nennt keine Datenbank.").arg(table.connect));
    const QString source = table.sourceTableName.isEmpty() ? table.name : table.sourceTableName;
    if (!connectPrefix(table.connect).isEmpty()) {
        m_change.run(
            [&] {
                requireFreeName(m_db, table.name);
                const QString now = registerAttachedTable(table.name, table.connect, source);
                m_linked.createForeign(table.name, table.connect, source);
                table.sourceTableName = source;
                table.attributes |= dbAttachedTable;
                table.dateCreated = table.lastUpdated = datatype::parseIsoDate(now);
            },
            ChangeScope::Everything);
        return;
    }
    // ATTACH is not allowed inside a transaction; it happens before the savepoint.
    const QString schema = m_linked.schemaFor(path);
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type IN "
                                   "('table','view') AND name = ")
                        .arg(quoteIdentifier(schema))
                + sql::quoteLiteral(source) + QStringLiteral(" COLLATE NOCASE"))
            .toInt()
        == 0)
        throw EngineError(err::NoSuchTable,
            QStringLiteral("Die Tabelle '%1' ist in '%2' nicht vorhanden.").arg(source, path));
    m_change.run(
        [&] {
            requireFreeName(m_db, table.name);
            const QString now = registerAttachedTable(table.name, table.connect, source);
            m_db.exec(QStringLiteral("CREATE TEMP VIEW ") + quoteIdentifier(table.name)
                + QStringLiteral(" AS SELECT * FROM ") + quoteIdentifier(schema) + QLatin1Char('.')
                + quoteIdentifier(source));
            table.sourceTableName = source;
            table.attributes |= dbAttachedTable;
            table.dateCreated = table.lastUpdated = datatype::parseIsoDate(now);
        },
        ChangeScope::Everything);
}

QString Catalog::registerAttachedTable(
    const QString& name, const QString& connect, const QString& source)
{
    const QString now = catalogTimestamp();
    Statement st(m_db.handle(),
        QStringLiteral("INSERT INTO MSysKvObjects(Name, Kind, Attributes, Connect, "
                       "SourceTableName, DateCreated, LastUpdated) VALUES (?1, 'L', 0, "
                       "?2, ?3, ?4, ?4)"));
    st.bind(1, QVariant(name));
    st.bind(2, QVariant(connect));
    st.bind(3, QVariant(source));
    st.bind(4, QVariant(now));
    st.step();
    return now;
}

void Catalog::attachLinkedTables()
{
    m_linked.attachAll();
}

QString Catalog::qualifiedTable(const QString& table) const
{
    return m_linked.qualifiedTable(table);
}

void Catalog::resolveTable(const QString& table, QString& schema, QString& name) const
{
    m_linked.resolve(table, schema, name);
}

bool Catalog::isAttached(const QString& table)
{
    Statement kind(m_db.handle(), QStringLiteral("SELECT Kind FROM MSysKvObjects WHERE Name = ?1"));
    kind.bind(1, QVariant(table));
    const bool attached = kind.step() && kind.value(0).toString() == QLatin1String("L");
    kind.reset(); // a pending read would lock the schema against DROP
    return attached;
}

void Catalog::dropTable(const QString& name)
{
    m_change.run(
        [&] {
            {
                Statement st(m_db.handle(),
                    QStringLiteral("SELECT Name FROM MSysKvRelations WHERE TableName = ?1 OR "
                                   "ForeignTable = ?1"));
                st.bind(1, QVariant(name));
                if (st.step())
                    throw EngineError(err::FieldInUse,
                        QStringLiteral("Die Tabelle '%1' ist Teil der Beziehung '%2' und kann "
                                       "nicht gelöscht werden.")
                            .arg(name, st.value(0).toString()));
            }
            // The data of an attached table stays in its file.
            if (m_linked.isForeign(name))
                m_db.exec(QStringLiteral("DROP TABLE IF EXISTS temp.") + quoteIdentifier(name));
            else if (isAttached(name))
                m_db.exec(QStringLiteral("DROP VIEW IF EXISTS temp.") + quoteIdentifier(name));
            else
                m_db.exec(QStringLiteral("DROP TABLE ") + quoteIdentifier(name));
            for (const char* sql : { "DELETE FROM MSysKvObjects WHERE Name = ?1",
                     "DELETE FROM MSysKvFields WHERE TableName = ?1",
                     "DELETE FROM MSysKvIndexes WHERE TableName = ?1" }) {
                Statement del(m_db.handle(), QString::fromUtf8(sql));
                del.bind(1, QVariant(name));
                del.step();
            }
        },
        ChangeScope::Tables, { name });
}

void Catalog::renameTable(const QString& oldName, const QString& newName)
{
    m_change.run(
        [&] {
            if (!sameName(oldName, newName))
                requireFreeName(m_db, newName);
            if (m_linked.isForeign(oldName)) {
                QString schema;
                QString source;
                m_linked.locate(oldName, schema, source);
                m_db.exec(QStringLiteral("ALTER TABLE temp.") + quoteIdentifier(oldName)
                    + QStringLiteral(" RENAME TO ") + quoteIdentifier(newName));
            } else if (isAttached(oldName)) {
                const QString target = qualifiedTable(oldName);
                m_db.exec(QStringLiteral("DROP VIEW IF EXISTS temp.") + quoteIdentifier(oldName));
                m_db.exec(QStringLiteral("CREATE TEMP VIEW ") + quoteIdentifier(newName)
                    + QStringLiteral(" AS SELECT * FROM ") + target);
            } else {
                m_db.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(oldName)
                    + QStringLiteral(" RENAME TO ") + quoteIdentifier(newName));
            }
            for (const char* sql : { "UPDATE MSysKvObjects SET Name = ?2 WHERE Name = ?1",
                     "UPDATE MSysKvFields SET TableName = ?2 WHERE TableName = ?1",
                     "UPDATE MSysKvIndexes SET TableName = ?2 WHERE TableName = ?1",
                     "UPDATE MSysKvRelations SET TableName = ?2 WHERE TableName = ?1",
                     "UPDATE MSysKvRelations SET ForeignTable = ?2 WHERE ForeignTable = ?1" }) {
                Statement st(m_db.handle(), QString::fromUtf8(sql));
                st.bind(1, QVariant(oldName));
                st.bind(2, QVariant(newName));
                st.step();
            }
            touchTable(m_db, newName);
        },
        ChangeScope::Tables, { oldName, newName });
}

void Catalog::setTableAttributes(const QString& table, qint64 attributes)
{
    m_change.requireChangeable();
    Savepoint sp(m_db);
    touchTable(m_db, table);
    Statement st(
        m_db.handle(), QStringLiteral("UPDATE MSysKvObjects SET Attributes = ?2 WHERE Name = ?1"));
    st.bind(1, QVariant(table));
    st.bind(2, attributes);
    st.step();
    sp.release();
}

void Catalog::setProperty(const QString& name, const QString& value)
{
    m_change.requireChangeable();
    Statement st(m_db.handle(),
        value.isNull() ? QStringLiteral("DELETE FROM MSysKvProperties WHERE Name = ?1")
                       : QStringLiteral("INSERT OR REPLACE INTO MSysKvProperties(Name, Value) "
                                        "VALUES (?1, ?2)"));
    st.bind(1, QVariant(name));
    if (!value.isNull())
        st.bind(2, QVariant(value));
    st.step();
}

void Catalog::schemaStatement(const sql::Translation& statement, const std::function<void()>& op)
{
    QStringList names;
    const ChangeScope scope = SchemaChange::scopeOf(statement, names);
    m_change.run(op, scope, names);
}

} // namespace kv::engine
