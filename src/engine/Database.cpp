#include "engine/Database.h"

#include "engine/Catalog.h"
#include "engine/DialectStatement.h"
#include "engine/Fehlerliste.h"
#include "engine/Recordset.h"
#include "engine/Savepoint.h"
#include "engine/SqlTokens.h"
#include "engine/Sqlite.h"
#include "engine/Workspace.h"
#include "engine/sql/Lexer.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace kv::engine {

namespace {
const QString passwortSchluessel = QStringLiteral("kv.Password");

QString passwortHash(const QString& salz, const QString& passwort)
{
    return QString::fromLatin1(QCryptographicHash::hash(
        (salz + QLatin1Char(':') + passwort).toUtf8(), QCryptographicHash::Sha256)
                                   .toHex());
}
} // namespace

Database::Database(Workspace* workspace, QString path, QString connect)
    : m_workspace(workspace)
    , m_name(std::move(path))
    , m_connect(std::move(connect))
    , m_connection(std::make_unique<Connection>())
    , m_catalog(std::make_unique<Catalog>(*m_connection))
{
    bindCollections();
    if (m_workspace)
        m_workspace->anmelden(this);
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_workspace) {
        m_workspace->abmelden(this);
        m_workspace = nullptr;
    }
    m_tableDefs.clear();
    m_queryDefs.clear();
    m_relations.clear();
    m_tempQueries.clear();
    m_connection->close();
}

bool Database::isOpen() const
{
    return m_connection->isOpen();
}

void Database::pruefeOffen() const
{
    if (!m_connection->isOpen())
        throw EngineError(err::ObjectInvalid,
            QStringLiteral("Die Datenbank ist geschlossen; das Objekt ist ungültig."));
}

Connection& Database::connection() const
{
    pruefeOffen();
    return *m_connection;
}

Catalog& Database::catalog() const
{
    pruefeOffen();
    return *m_catalog;
}

bool Database::updatable() const
{
    return isOpen() && !m_readOnly && !m_connection->isReadOnly();
}

void Database::bindCollections()
{
    m_tableDefs.setHooks(
        [this](TableDef& t) {
            if (!t.m_connect.isEmpty())
                catalog().createAttachedTable(t);
            else
                catalog().createTable(t);
            t.m_db = this;
            for (Field* f : t.m_fields.items()) {
                f->m_table = &t;
                f->m_sourceTable = t.m_name;
                f->m_sourceField = f->m_name;
                f->m_dataUpdatable = true;
            }
            for (Index* ix : t.m_indexes.items())
                ix->m_table = &t;
            if (!t.m_connect.isEmpty()) {
                t.m_felderGeladen = false;
                t.m_indizesGeladen = false;
            }
        },
        [this](TableDef& t) {
            if (t.isSystem())
                throw EngineError(err::InvalidOperation,
                    QStringLiteral("Systemtabellen können nicht gelöscht werden."));
            catalog().dropTable(t.name());
        },
        [this](Collection<TableDef>& c) {
            c.clear();
            for (auto& t : catalog().loadTables(this))
                c.adopt(std::move(t));
            m_tablesLoaded = true;
        });
    m_queryDefs.setHooks(
        [this](QueryDef& q) {
            q.m_db = this;
            catalog().storeQuery(q, true);
        },
        [this](QueryDef& q) { catalog().dropQuery(q.name()); },
        [this](Collection<QueryDef>& c) {
            c.clear();
            for (auto& q : catalog().loadQueries(this))
                c.adopt(std::move(q));
            m_queriesLoaded = true;
        });
    m_relations.setHooks(
        [this](Relation& r) {
            catalog().createRelation(r);
            // The foreign side got its index.
            if (TableDef* t = m_tableDefs.find(r.foreignTable()))
                t->m_indizesGeladen = false;
        },
        [this](Relation& r) {
            catalog().dropRelation(r.name());
            // The foreign index went with the relation.
            if (TableDef* t = m_tableDefs.find(r.foreignTable()))
                t->m_indizesGeladen = false;
        },
        [this](Collection<Relation>& c) {
            c.clear();
            for (auto& r : catalog().loadRelations())
                c.adopt(std::move(r));
            m_relationsLoaded = true;
        });
}

Collection<TableDef>& Database::tableDefs()
{
    pruefeOffen();
    if (!m_tablesLoaded)
        m_tableDefs.refresh();
    return m_tableDefs;
}

Collection<QueryDef>& Database::queryDefs()
{
    pruefeOffen();
    if (!m_queriesLoaded)
        m_queryDefs.refresh();
    return m_queryDefs;
}

Collection<Relation>& Database::relations()
{
    pruefeOffen();
    if (!m_relationsLoaded)
        m_relations.refresh();
    auto& c = m_relations;
    // A new relation adds an index on the foreign side.
    return c;
}

void Database::refreshAll()
{
    m_tablesLoaded = m_queriesLoaded = m_relationsLoaded = false;
    m_tableDefs.clear();
    m_queryDefs.clear();
    m_relations.clear();
}

std::unique_ptr<TableDef> Database::createTableDef(const QString& name)
{
    pruefeOffen();
    return std::make_unique<TableDef>(name);
}

std::unique_ptr<Relation> Database::createRelation(
    const QString& name, const QString& table, const QString& foreignTable, qint64 attributes)
{
    pruefeOffen();
    return std::make_unique<Relation>(name, table, foreignTable, attributes);
}

QueryDef& Database::createQueryDef(const QString& name, const QString& sql)
{
    pruefeOffen();
    auto q = std::make_unique<QueryDef>(this, name, sql);
    if (name.isEmpty()) {
        m_tempQueries.push_back(std::move(q));
        return *m_tempQueries.back();
    }
    return queryDefs().append(std::move(q));
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, int type)
{
    return merkeFehler([&] {
        pruefeOffen();
        const QString name = source.trimmed();
        if (TableDef* t = tableDefs().find(name))
            return Recordset::open(
                *this, QStringLiteral("SELECT * FROM [") + t->name() + QLatin1Char(']'), type, {});
        if (QueryDef* q = queryDefs().find(name))
            return q->openRecordset(type);
        bool einName = false;
        try {
            einName = sql::tokenize(name).size() == 2; // the name and End
        } catch (const EngineError&) {
            // not even a statement: opening it reports the syntax error
        }
        if (einName)
            throw EngineError(err::NoSuchTable,
                QStringLiteral("Die Tabelle oder Abfrage '%1' ist nicht vorhanden.").arg(name));
        return Recordset::open(*this, source, type, {});
    });
}

qint64 Database::executeWith(const QString& sql, const QList<Parameter>& parameters)
{
    return merkeFehler([&] {
        pruefeOffen();
        if (!updatable())
            throw EngineError(err::ReadOnly, QStringLiteral("Die Datenbank ist schreibgeschützt."));
        DialectStatement ds(m_connection->handle(), sql);
        if (ds.statement().columnCount() > 0 && sqlite3_stmt_readonly(ds.statement().handle()))
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Eine Auswahlabfrage kann nicht ausgeführt werden."));
        ds.bind(parameters);
        const SqlTokens tk(ds.sql());
        const bool ddl = !tk.tokens().empty()
            && (tk.tokens()[0].is("CREATE") || tk.tokens()[0].is("DROP")
                || tk.tokens()[0].is("ALTER"));
        Savepoint sp(*m_connection);
        qint64 anzahl = 0;
        // A make-table query reports the rows it copied, which SQLite does not count for it.
        const int als
            = ddl && tk.tokens().size() > 2 && tk.tokens()[1].is("TABLE") ? tk.findTop("AS") : -1;
        auto ausfuehren = [&] {
            while (ds.statement().step()) { }
            anzahl = als > 2
                ? m_connection->scalar(QStringLiteral("SELECT count(*) FROM ") + tk.slice(2, als))
                      .toLongLong()
                : m_connection->changes();
        };
        if (ddl) {
            m_catalog->schemaStatement(tk, ausfuehren);
            refreshAll();
        } else {
            ausfuehren();
        }
        sp.release();
        m_recordsAffected = anzahl;
        return anzahl;
    });
}

void Database::execute(const QString& sql, int options)
{
    Q_UNUSED(options); // statements are atomic with or without dbFailOnError
    m_recordsAffected = 0;
    executeWith(sql, {});
}

QList<Property> Database::properties() const
{
    pruefeOffen();
    QList<Property> liste { { QStringLiteral("Name"), m_name },
        { QStringLiteral("Connect"), m_connect }, { QStringLiteral("Transactions"), true },
        { QStringLiteral("Updatable"), updatable() }, { QStringLiteral("Version"), version() },
        { QStringLiteral("RecordsAffected"), m_recordsAffected } };
    Statement st(m_connection->handle(),
        QStringLiteral("SELECT Name, Value FROM MSysKvProperties WHERE Name NOT LIKE 'kv.%' "
                       "ORDER BY Name"));
    while (st.step())
        liste.append(Property { st.value(0).toString(), st.value(1) });
    return liste;
}

QVariant Database::property(const QString& name) const
{
    for (const Property& p : properties())
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return p.value;
    throw EngineError::itemNotFound(name);
}

void Database::setProperty(const QString& name, const QVariant& value)
{
    pruefeOffen();
    for (const char* fest :
        { "Name", "Connect", "Transactions", "Updatable", "Version", "RecordsAffected" })
        if (name.compare(QLatin1String(fest), Qt::CaseInsensitive) == 0)
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Die Eigenschaft '%1' kann nicht gesetzt werden.").arg(name));
    if (name.startsWith(QLatin1String("kv."), Qt::CaseInsensitive) || name.isEmpty())
        throw EngineError(
            err::InvalidOperation, QStringLiteral("Ungültiger Eigenschaftsname '%1'.").arg(name));
    m_catalog->setProperty(name, value.toString());
}

void Database::pruefePasswort(const QString& connect) const
{
    const QString gespeichert = m_catalog->property(passwortSchluessel);
    if (gespeichert.isEmpty())
        return;
    QString passwort;
    for (const QString& teil : connect.split(QLatin1Char(';')))
        if (teil.trimmed().startsWith(QLatin1String("pwd="), Qt::CaseInsensitive))
            passwort = teil.trimmed().mid(4);
    const QString salz = gespeichert.section(QLatin1Char('$'), 0, 0);
    if (passwortHash(salz, passwort) != gespeichert.section(QLatin1Char('$'), 1))
        throw EngineError(err::PasswordInvalid, QStringLiteral("Kein gültiges Kennwort."));
}

void Database::newPassword(const QString& oldPassword, const QString& newPassword)
{
    pruefeOffen();
    const QString gespeichert = m_catalog->property(passwortSchluessel);
    if (!gespeichert.isEmpty()) {
        const QString salz = gespeichert.section(QLatin1Char('$'), 0, 0);
        if (passwortHash(salz, oldPassword) != gespeichert.section(QLatin1Char('$'), 1))
            throw EngineError(err::PasswordInvalid, QStringLiteral("Kein gültiges Kennwort."));
    }
    if (newPassword.isEmpty()) {
        m_catalog->setProperty(passwortSchluessel, QString());
        return;
    }
    const QString salz = QString::number(QRandomGenerator::system()->generate64(), 16);
    m_catalog->setProperty(
        passwortSchluessel, salz + QLatin1Char('$') + passwortHash(salz, newPassword));
}

} // namespace kv::engine
