#include "engine/JetConversion.h"

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Index.h"
#include "engine/Recordset.h"
#include "engine/Relation.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/core/DataType.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/MdbDatabase.h"
#include "engine/sql/DialectStatement.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::engine {

using namespace isam;

const QString JetConversion::KeptQueriesTable = QStringLiteral("Nicht übernommene Abfragen");

namespace {

// Query kinds whose text is no statement of ours: pass-through and data-definition queries.
constexpr int PassThrough = 112;
constexpr int DataDefinition = 96;
// The old engine's number for an operation the user cancelled.
constexpr int Cancelled = 3059;

class Converter {
public:
    Converter(Database& db, MdbDatabase& source, const JetConversion::Progress& progress)
        : m_db(db)
        , m_source(source)
        , m_progress(progress)
    { }

    JetConversionResult run()
    {
        const QStringList tables = m_source.tableNames();
        m_total = tables.size() * 2 + 2;
        for (const QString& name : tables)
            copyTable(name);
        for (const QString& name : tables)
            addIndexes(name);
        step(QStringLiteral("Beziehungen"));
        addRelations();
        step(QStringLiteral("Abfragen"));
        addQueries();
        return m_result;
    }

private:
    void step(const QString& what)
    {
        if (m_progress && !m_progress(m_done, m_total, what))
            throw EngineError(Cancelled, QStringLiteral("Die Umwandlung wurde abgebrochen."));
        ++m_done;
    }

    void copyTable(const QString& name)
    {
        step(QStringLiteral("Tabelle %1").arg(name));
        std::unique_ptr<IsamTable> source = m_source.openTable(name);
        auto def = m_db.createTableDef(name);
        for (const IsamField& f : source->fields()) {
            auto field = def->createField(f.name, f.type, f.size > 0 ? f.size : fixedSize(f.type));
            if (f.autoIncrement)
                field->setAttributes(dbFixedField | dbAutoIncrField);
            field->setRequired(f.required && !f.autoIncrement);
            def->fields().append(std::move(field));
        }
        m_db.tableDefs().append(std::move(def));
        ++m_result.tables;

        QStringList columns;
        QStringList marks;
        for (int i = 0; i < source->fields().size(); ++i) {
            columns << quoteIdentifier(source->fields().at(i).name);
            marks << QStringLiteral("?%1").arg(i + 1);
        }
        Connection& c = m_db.connection();
        Statement insert(c.handle(),
            QStringLiteral("INSERT INTO main.") + quoteIdentifier(name) + QStringLiteral(" (")
                + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
                + marks.join(QStringLiteral(", ")) + QLatin1Char(')'));
        std::unique_ptr<IsamCursor> rows = source->openCursor(false);
        qint64 count = 0;
        while (rows->next()) {
            for (int i = 0; i < source->fields().size(); ++i)
                insert.bind(
                    i + 1, datatype::toStorage(rows->value(i), source->fields().at(i).type));
            insert.step();
            insert.reset();
            insert.clearBindings();
            // Large tables report on their way, so that the window stays answerable.
            if (++count % 20000 == 0)
                step(QStringLiteral("Tabelle %1: %2 Datensätze").arg(name).arg(count));
        }
        m_result.rows += count;
    }

    void addIndexes(const QString& table)
    {
        step(QStringLiteral("Indizes von %1").arg(table));
        TableDef& def = m_db.tableDefs().item(table);
        for (const MdbDatabase::IndexInfo& info : m_source.indexes(table)) {
            auto index = def.createIndex(info.name);
            for (int i = 0; i < info.fields.size(); ++i)
                index->appendField(
                    info.fields.at(i), i < info.descending.size() && info.descending.at(i));
            index->setPrimary(info.primary);
            index->setUnique(info.unique || info.primary);
            index->setRequired(info.required);
            index->setIgnoreNulls(info.ignoreNulls);
            try {
                def.indexes().append(std::move(index));
                ++m_result.indexes;
            } catch (const EngineError& e) {
                m_result.skipped << QStringLiteral("Index '%1' der Tabelle '%2': %3")
                                        .arg(info.name, table, e.description());
            }
        }
    }

    void addRelations()
    {
        constexpr qint64 kept = dbRelationUnique | dbRelationDontEnforce | dbRelationUpdateCascade
            | dbRelationDeleteCascade | dbRelationLeft | dbRelationRight;
        for (const MdbDatabase::RelationInfo& info : m_source.relations()) {
            // Relations among the old engine's own system tables have nothing to join here.
            if (!m_db.tableDefs().contains(info.table)
                || !m_db.tableDefs().contains(info.foreignTable))
                continue;
            // Ours names the one side first, the old engine the referencing table.
            auto relation = m_db.createRelation(
                info.name, info.foreignTable, info.table, qint64(info.attributes) & kept);
            for (int i = 0; i < info.fields.size() && i < info.foreignFields.size(); ++i)
                relation->appendField(info.foreignFields.at(i), info.fields.at(i));
            try {
                m_db.relations().append(std::move(relation));
                ++m_result.relations;
            } catch (const EngineError& e) {
                m_result.skipped
                    << QStringLiteral("Beziehung '%1': %2").arg(info.name, e.description());
            }
        }
    }

    /// Prepares a stored query's statement: the dialect takes it over when this succeeds.
    QString translationError(const QString& sql)
    {
        try {
            sql::DialectStatement probe(m_db.connection().handle(), sql);
        } catch (const EngineError& e) {
            return e.description();
        }
        return QString();
    }

    void addQueries()
    {
        QVector<MdbDatabase::QueryInfo> queries = m_source.queries();
        QVector<std::pair<MdbDatabase::QueryInfo, QString>> kept;
        QStringList stored;
        for (const MdbDatabase::QueryInfo& q : std::as_const(queries)) {
            if (q.type == PassThrough || q.type == DataDefinition) {
                kept.append({ q, QStringLiteral("Diese Abfrageart wird nicht übernommen.") });
                continue;
            }
            try {
                m_db.createQueryDef(q.name, q.sql);
                stored << q.name;
            } catch (const EngineError& e) {
                kept.append({ q, e.description() });
            }
        }
        // A query may use another one: what fails is taken out until the rest all translate.
        for (bool changed = true; changed;) {
            changed = false;
            for (const MdbDatabase::QueryInfo& q : std::as_const(queries)) {
                if (!stored.contains(q.name))
                    continue;
                const QString why = translationError(q.sql);
                if (why.isEmpty())
                    continue;
                m_db.queryDefs().remove(q.name);
                stored.removeAll(q.name);
                kept.append({ q, why });
                changed = true;
            }
        }
        m_result.queries = static_cast<int>(stored.size());
        if (kept.isEmpty())
            return;
        auto def = m_db.createTableDef(JetConversion::KeptQueriesTable);
        def->fields().append(def->createField(QStringLiteral("Name"), dbText, 255));
        def->fields().append(def->createField(QStringLiteral("SQL"), dbMemo));
        def->fields().append(def->createField(QStringLiteral("Grund"), dbMemo));
        m_db.tableDefs().append(std::move(def));
        Statement insert(m_db.connection().handle(),
            QStringLiteral("INSERT INTO main.") + quoteIdentifier(JetConversion::KeptQueriesTable)
                + QStringLiteral(" (Name, SQL, Grund) VALUES (?1, ?2, ?3)"));
        for (const auto& [q, why] : std::as_const(kept)) {
            insert.bind(1, QVariant(q.name));
            insert.bind(2, QVariant(q.sql));
            insert.bind(3, QVariant(why));
            insert.step();
            insert.reset();
            m_result.keptQueries << q.name;
        }
    }

    Database& m_db;
    MdbDatabase& m_source;
    const JetConversion::Progress& m_progress;
    JetConversionResult m_result;
    int m_done = 0;
    int m_total = 0;
};

} // namespace

bool JetConversion::isJetFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    // The first page names the engine that wrote it.
    return head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB";
}

QString JetConversion::freeTargetName(const QString& source)
{
    const QFileInfo info(source);
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("mdb") : info.suffix();
    for (int i = 1;; ++i) {
        const QString name = i == 1
            ? QStringLiteral("%1 (umgewandelt).%2").arg(info.completeBaseName(), suffix)
            : QStringLiteral("%1 (umgewandelt %2).%3")
                  .arg(info.completeBaseName())
                  .arg(i)
                  .arg(suffix);
        const QString candidate = info.dir().filePath(name);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

JetConversionResult JetConversion::run(Workspace& ws, const QString& source, const QString& target,
    const Progress& progress, const QString& password)
{
    std::unique_ptr<MdbDatabase> jet;
    try {
        jet = std::make_unique<MdbDatabase>(source, password);
    } catch (const IsamError& e) {
        throw EngineError(e.number(), e.description());
    }
    std::unique_ptr<Database> db = ws.createDatabase(target);
    try {
        // One transaction: fast, and nothing half-made stays in the file.
        db->connection().exec(QStringLiteral("BEGIN"));
        JetConversionResult result = Converter(*db, *jet, progress).run();
        db->connection().exec(QStringLiteral("COMMIT"));
        result.target = target;
        db->close();
        return result;
    } catch (const IsamError& e) {
        db->close();
        QFile::remove(target);
        throw EngineError(e.number(), e.description());
    } catch (...) {
        db->close();
        QFile::remove(target);
        throw;
    }
}

} // namespace kv::engine
