#include "engine/catalog/LinkedTables.h"

#include "engine/catalog/CatalogText.h"
#include "engine/core/EngineError.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <QFileInfo>

namespace kv::engine {

using namespace catalogtext;

QString LinkedTables::tableProblem(const QString& table, const QString& why)
{
    return QStringLiteral("Tabelle '%1': %2").arg(table, why);
}

LinkedTables::LinkedTables(Connection& db)
    : m_db(db)
{ }

QString LinkedTables::schemaFor(const QString& path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    auto it = m_schemas.find(key);
    if (it != m_schemas.end())
        return it.value();
    if (!QFileInfo(key).isFile())
        throw EngineError(err::FileNotFound,
            QStringLiteral("Die Datei '%1' der eingebundenen Tabelle wurde nicht gefunden.")
                .arg(path));
    const QString schema = QStringLiteral("kvlnk_%1").arg(m_schemas.size() + 1);
    Statement st(m_db.handle(), QStringLiteral("ATTACH DATABASE ?1 AS ") + quoteIdentifier(schema));
    st.bind(1, QVariant(key));
    st.step();
    m_schemas.insert(key, schema);
    return schema;
}

void LinkedTables::createForeign(
    const QString& table, const QString& connect, const QString& source)
{
    m_db.exec(QStringLiteral("CREATE VIRTUAL TABLE temp.") + quoteIdentifier(table)
        + QStringLiteral(" USING kv_foreign(") + sql::quoteLiteral(connect) + QStringLiteral(", ")
        + sql::quoteLiteral(source) + QLatin1Char(')'));
}

bool LinkedTables::isForeign(const QString& table) const
{
    QString path;
    QString source;
    QString connect;
    return lookUp(table, path, source, &connect) && !connectPrefix(connect).isEmpty();
}

void LinkedTables::attachAll()
{
    m_problems.clear();
    Statement st(m_db.handle(),
        QStringLiteral(
            "SELECT Name, Connect, SourceTableName FROM MSysKvObjects WHERE Kind = 'L'"));
    while (st.step()) {
        if (!connectPrefix(st.value(1).toString()).isEmpty()) {
            try {
                createForeign(
                    st.value(0).toString(), st.value(1).toString(), st.value(2).toString());
            } catch (const EngineError& e) {
                // The rest of the database opens; the table says why when it is used.
                m_problems << tableProblem(st.value(0).toString(), e.description());
            }
            continue;
        }
        try {
            const QString schema
                = schemaFor(connectValue(st.value(1).toString(), QStringLiteral("DATABASE")));
            m_db.exec(QStringLiteral("CREATE TEMP VIEW IF NOT EXISTS ")
                + quoteIdentifier(st.value(0).toString()) + QStringLiteral(" AS SELECT * FROM ")
                + quoteIdentifier(schema) + QLatin1Char('.')
                + quoteIdentifier(st.value(2).toString()));
        } catch (const EngineError& e) {
            // The database opens all the same; the table says why again when it is used.
            if (e.number() == err::FileNotFound)
                m_problems << tableProblem(st.value(0).toString(), e.description());
        }
    }
}

QString LinkedTables::qualifiedTable(const QString& table) const
{
    QString schema;
    QString name;
    resolve(table, schema, name);
    return quoteIdentifier(schema) + QLatin1Char('.') + quoteIdentifier(name);
}

bool LinkedTables::lookUp(
    const QString& table, QString& path, QString& source, QString* connect) const
{
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Connect, SourceTableName FROM MSysKvObjects WHERE Name = ?1 AND "
                       "Kind = 'L'"));
    st.bind(1, QVariant(table));
    if (!st.step())
        return false;
    path = connectValue(st.value(0).toString(), QStringLiteral("DATABASE"));
    source = st.value(1).toString();
    if (connect)
        *connect = st.value(0).toString();
    return true;
}

void LinkedTables::resolve(const QString& table, QString& schema, QString& name) const
{
    schema = QStringLiteral("main");
    name = table;
    QString path;
    QString source;
    QString connect;
    if (!lookUp(table, path, source, &connect))
        return;
    if (!connectPrefix(connect).isEmpty()) {
        schema = QStringLiteral("temp");
        return;
    }
    const QString attached = m_schemas.value(QFileInfo(path).absoluteFilePath());
    if (!attached.isEmpty()) {
        schema = attached;
        name = source;
    }
}

void LinkedTables::locate(const QString& table, QString& schema, QString& source)
{
    schema = QStringLiteral("main");
    source = table;
    QString path;
    QString connect;
    if (!lookUp(table, path, source, &connect))
        return;
    if (connectPrefix(connect).isEmpty()) {
        schema = schemaFor(path);
        return;
    }
    // A foreign table whose file was missing at opening is tried again: the user may have
    // brought the file back, and if not, the driver's message says which file is missing.
    schema = QStringLiteral("temp");
    const QString made = QStringLiteral("SELECT count(*) FROM temp.sqlite_master WHERE name = ")
        + sql::quoteLiteral(table);
    if (m_db.scalar(made).toInt() == 0)
        createForeign(table, connect, source);
    source = table;
}

} // namespace kv::engine
