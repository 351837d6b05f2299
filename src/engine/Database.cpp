#include "engine/Database.h"

#include "engine/ExternalFiles.h"
#include "engine/FieldReplacement.h"
#include "engine/ForeignMakeTable.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/catalog/Catalog.h"
#include "engine/catalog/DeclaredType.h"
#include "engine/core/StatementErrors.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Savepoint.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace kv::engine {

namespace {
const QString passwordKey = QStringLiteral("kv.Password");

QString passwordHash(const QString& salt, const QString& password)
{
    return QString::fromLatin1(QCryptographicHash::hash(
        (salt + QLatin1Char(':') + password).toUtf8(), QCryptographicHash::Sha256)
                                   .toHex());
}

// Statements in SQLite's own schema language: their changes reach the catalog's generated
// triggers and views.
bool changesSchema(const sql::Translation& t)
{
    switch (t.kind) {
    case sql::StatementKind::CreateTable:
    case sql::StatementKind::AlterTable:
    case sql::StatementKind::CreateIndex:
    case sql::StatementKind::Drop:
    case sql::StatementKind::MakeTable:
        return true;
    default:
        return false;
    }
}
} // namespace

Database::Database(Workspace* workspace, QString path, QString connect)
    : m_workspace(workspace)
    , m_name(std::move(path))
    , m_connect(std::move(connect))
    , m_connection(std::make_unique<Connection>())
    , m_catalog(std::make_unique<Catalog>(*m_connection))
    , m_externals(std::make_unique<ExternalFiles>(*m_connection))
{
    bindCollections();
    if (m_workspace)
        m_workspace->adopt(this);
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_workspace) {
        m_workspace->forget(this);
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

QStringList Database::attachProblems() const
{
    return m_openProblems + m_catalog->attachProblems();
}

void Database::requireOpen() const
{
    if (!m_connection->isOpen())
        throw EngineError(err::ObjectInvalid,
            QStringLiteral("Die Datenbank ist geschlossen; das Objekt ist ungültig."));
}

void Database::setCancelFlag(const std::atomic<bool>* flag)
{
    requireOpen();
    m_connection->setCancelFlag(flag);
}

Connection& Database::connection() const
{
    requireOpen();
    return *m_connection;
}

Catalog& Database::catalog() const
{
    requireOpen();
    return *m_catalog;
}

ErrorList* Database::errorList() const
{
    return m_workspace ? &m_workspace->errorList() : nullptr;
}

bool Database::updatable() const
{
    return isOpen() && !m_readOnly && !m_connection->isReadOnly();
}

void Database::bindCollections()
{
    auto errors = [this] { return errorList(); };
    m_tableDefs.setHooks([this](TableDef& t) { t.store(*this); },
        [this](TableDef& t) {
            if (t.isSystem())
                throw EngineError(err::InvalidOperation,
                    QStringLiteral("Systemtabellen können nicht gelöscht werden."));
            catalog().dropTable(t.name());
        },
        [this](Collection<TableDef>& c) {
            c.clear();
            for (TableEntry& t : catalog().reader().tables())
                c.adopt(std::make_unique<TableDef>(*this, std::move(t)));
            m_tablesLoaded = true;
        },
        errors);
    m_queryDefs.setHooks([this](QueryDef& q) { q.store(*this); },
        [this](QueryDef& q) { catalog().dropQuery(q.name()); },
        [this](Collection<QueryDef>& c) {
            c.clear();
            for (QueryEntry& q : catalog().reader().queries())
                c.adopt(std::make_unique<QueryDef>(*this, std::move(q)));
            m_queriesLoaded = true;
        },
        errors);
    // A relation adds or takes away the index of its foreign side.
    auto foreignIndexChanged = [this](const Relation& r) {
        if (TableDef* t = m_tableDefs.find(r.foreignTable()))
            t->forgetIndexes();
    };
    m_relations.setHooks(
        [this, foreignIndexChanged](Relation& r) {
            r.store(catalog());
            foreignIndexChanged(r);
        },
        [this, foreignIndexChanged](Relation& r) {
            catalog().dropRelation(r.name());
            foreignIndexChanged(r);
        },
        [this](Collection<Relation>& c) {
            c.clear();
            for (RelationDefinition& r : catalog().reader().relations())
                c.adopt(std::make_unique<Relation>(std::move(r)));
            m_relationsLoaded = true;
        },
        errors);
}

Collection<TableDef>& Database::tableDefs()
{
    requireOpen();
    if (!m_tablesLoaded)
        m_tableDefs.refresh();
    return m_tableDefs;
}

Collection<QueryDef>& Database::queryDefs()
{
    requireOpen();
    if (!m_queriesLoaded)
        m_queryDefs.refresh();
    return m_queryDefs;
}

Collection<Relation>& Database::relations()
{
    requireOpen();
    if (!m_relationsLoaded)
        m_relations.refresh();
    return m_relations;
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
    requireOpen();
    return std::make_unique<TableDef>(name);
}

std::unique_ptr<Relation> Database::createRelation(
    const QString& name, const QString& table, const QString& foreignTable, qint64 attributes)
{
    requireOpen();
    return std::make_unique<Relation>(name, table, foreignTable, attributes);
}

QueryDef& Database::createQueryDef(const QString& name, const QString& sql)
{
    requireOpen();
    auto q = std::make_unique<QueryDef>(this, name, sql);
    if (name.isEmpty()) {
        m_tempQueries.push_back(std::move(q));
        return *m_tempQueries.back();
    }
    return queryDefs().append(std::move(q));
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& source, int type)
{
    return recordErrors(errorList(), [&] {
        requireOpen();
        const QString name = source.trimmed();
        if (TableDef* t = tableDefs().find(name))
            return Recordset::open(
                *this, QStringLiteral("SELECT * FROM [") + t->name() + QLatin1Char(']'), type, {});
        if (QueryDef* q = queryDefs().find(name))
            return q->openRecordset(type);
        bool oneName = false;
        try {
            oneName = sql::tokenize(name).size() == 2; // the name and End
        } catch (const EngineError&) {
            // not even a statement: opening it reports the syntax error
        }
        if (oneName)
            throw EngineError(err::NoSuchTable,
                QStringLiteral("Die Tabelle oder Abfrage '%1' ist nicht vorhanden.").arg(name));
        return Recordset::open(*this, source, type, {});
    });
}

std::unique_ptr<Recordset> Database::openRecordsetKeysLater(const QString& statement, int type)
{
    return recordErrors(errorList(), [&] {
        requireOpen();
        return Recordset::open(*this, statement, type, {}, true);
    });
}

QVariantList Database::firstRow(const QString& statement)
{
    return recordErrors(errorList(), [&] {
        requireOpen();
        // Declared first: the statement is finished before its files are detached.
        ExternalUse externals(*m_externals);
        sql::DialectStatement ds(m_connection->handle(), statement, {}, {}, externals.resolver());
        Statement& st = ds.statement();
        if (st.columnCount() == 0 || !st.isReadOnly())
            throw noRecordsError(statement);
        ds.bind({});
        QVariantList row;
        if (st.step()) {
            for (int i = 0; i < st.columnCount(); ++i)
                row.append(st.value(i));
        }
        return row;
    });
}

qint64 Database::executeWith(const QString& sql, const QList<Parameter>& parameters)
{
    return recordErrors(errorList(), [&] {
        requireOpen();
        if (!updatable())
            throw EngineError(err::ReadOnly, QStringLiteral("Die Datenbank ist schreibgeschützt."));
        // Declared first: the statement is finished before its files are detached, and they
        // are detached before the foreign files it wrote are kept or put back.
        const ExternalWork work(*m_externals, *m_connection);
        ExternalUse externals(*m_externals);
        sql::DialectStatement ds(m_connection->handle(), sql, {}, {}, externals.resolver());
        if (ds.statement().columnCount() > 0 && ds.statement().isReadOnly())
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Eine Auswahlabfrage kann nicht ausgeführt werden."));
        ds.bind(parameters);
        const sql::Translation& t = ds.translation();
        if (t.kind == sql::StatementKind::AlterColumn) {
            alterColumn(t.target, t.column, t.columnType);
            m_recordsAffected = 0;
            return qint64(0);
        }
        Savepoint sp(*m_connection);
        qint64 count = 0;
        auto run = [&] {
            if (t.kind == sql::StatementKind::MakeTable)
                makeTable(t, ds.parameters(), ds.typed(parameters));
            else
                while (ds.statement().step()) { }
            count = m_connection->changes();
        };
        const QString foreignTarget = t.kind == sql::StatementKind::MakeTable
            ? m_externals->foreignConnect(t.targetSchema)
            : QString();
        if (!foreignTarget.isEmpty()) {
            count = makeForeignTable(*m_connection, foreignTarget, t.target, t.selectSql,
                ds.parameters(), ds.typed(parameters), m_report);
        } else if (t.kind == sql::StatementKind::AlterTable && !t.autoIncrementColumns.isEmpty()) {
            // SQLite cannot add a rowid in place; the catalog rebuilds the table around it.
            FieldDefinition counter;
            counter.name = t.autoIncrementColumns.constFirst();
            counter.type = dbLong;
            counter.size = 4;
            counter.attributes = dbFixedField | dbAutoIncrField;
            m_catalog->addField(t.target, counter);
            refreshAll();
        } else if (changesSchema(t)) {
            m_catalog->schemaStatement(t, run);
            refreshAll();
        } else {
            run();
        }
        sp.release();
        m_recordsAffected = count;
        return count;
    });
}

void Database::makeTable(
    const sql::Translation& t, const QStringList& names, const QList<Parameter>& values)
{
    const QString target
        = (t.targetSchema.isEmpty() ? QString() : sql::quoteName(t.targetSchema) + QLatin1Char('.'))
        + sql::quoteName(t.target);
    {
        Statement select(m_connection->handle(), t.selectSql);
        sql::DialectStatement::bind(select, names, values);
        m_connection->exec(makeTableDefinition(target, resultFields(select, select.step())));
    }
    Statement fill(m_connection->handle(),
        QStringLiteral("INSERT INTO ") + target + QLatin1Char(' ') + t.selectSql);
    sql::DialectStatement::bind(fill, names, values);
    while (fill.step()) { }
}

void Database::alterColumn(const QString& table, const QString& column, const QString& type)
{
    FieldDefinition d = tableDefs().item(table).fields().item(column).definition();
    datatype::fromDeclaredType(type, d.type, d.size);
    // A counter that becomes another type is a plain field of that type.
    if (d.type != dbLong)
        d.attributes &= ~dbAutoIncrField;
    replaceField(*this, table, d.name, d);
}

void Database::execute(const QString& sql, int options)
{
    Q_UNUSED(options); // statements are atomic with or without dbFailOnError
    m_recordsAffected = 0;
    executeWith(sql, {});
}

QList<Property> Database::properties() const
{
    requireOpen();
    QList<Property> list { { QStringLiteral("Name"), m_name },
        { QStringLiteral("Connect"), m_connect }, { QStringLiteral("Transactions"), true },
        { QStringLiteral("Updatable"), updatable() }, { QStringLiteral("Version"), version() },
        { QStringLiteral("RecordsAffected"), m_recordsAffected } };
    Statement st(m_connection->handle(),
        QStringLiteral("SELECT Name, Value FROM MSysKvProperties WHERE Name NOT LIKE 'kv.%' "
                       "ORDER BY Name"));
    while (st.step())
        list.append(Property { st.value(0).toString(), st.value(1) });
    return list;
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
    requireOpen();
    for (const char* builtIn :
        { "Name", "Connect", "Transactions", "Updatable", "Version", "RecordsAffected" })
        if (name.compare(QLatin1String(builtIn), Qt::CaseInsensitive) == 0)
            throw EngineError(err::InvalidOperation,
                QStringLiteral("Die Eigenschaft '%1' kann nicht gesetzt werden.").arg(name));
    if (name.startsWith(QLatin1String("kv."), Qt::CaseInsensitive) || name.isEmpty())
        throw EngineError(
            err::InvalidOperation, QStringLiteral("Ungültiger Eigenschaftsname '%1'.").arg(name));
    m_catalog->setProperty(name, value.toString());
}

void Database::checkPassword(const QString& connect) const
{
    const QString stored = m_catalog->reader().property(passwordKey);
    if (stored.isEmpty())
        return;
    QString password;
    for (const QString& part : connect.split(QLatin1Char(';')))
        if (part.trimmed().startsWith(QLatin1String("pwd="), Qt::CaseInsensitive))
            password = part.trimmed().mid(4);
    const QString salt = stored.section(QLatin1Char('$'), 0, 0);
    if (passwordHash(salt, password) != stored.section(QLatin1Char('$'), 1))
        throw EngineError(err::PasswordInvalid, QStringLiteral("Kein gültiges Kennwort."));
}

void Database::newPassword(const QString& oldPassword, const QString& newPassword)
{
    requireOpen();
    const QString stored = m_catalog->reader().property(passwordKey);
    if (!stored.isEmpty()) {
        const QString salt = stored.section(QLatin1Char('$'), 0, 0);
        if (passwordHash(salt, oldPassword) != stored.section(QLatin1Char('$'), 1))
            throw EngineError(err::PasswordInvalid, QStringLiteral("Kein gültiges Kennwort."));
    }
    if (newPassword.isEmpty()) {
        m_catalog->setProperty(passwordKey, QString());
        return;
    }
    const QString salt = QString::number(QRandomGenerator::system()->generate64(), 16);
    m_catalog->setProperty(passwordKey, salt + QLatin1Char('$') + passwordHash(salt, newPassword));
}

} // namespace kv::engine
