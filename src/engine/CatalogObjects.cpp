#include "engine/Catalog.h"

#include "engine/CatalogText.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/RuleTriggers.h"
#include "engine/Savepoint.h"
#include "engine/SqlTokens.h"
#include "engine/Sqlite.h"
#include "engine/TableDef.h"
#include "engine/sql/Dialect.h"

// Relations, stored queries, database properties and the generated triggers and views.

namespace kv::engine {

using namespace catalogtext;

// ---- relations ------------------------------------------------------------------------

std::vector<std::unique_ptr<Relation>> Catalog::loadRelations()
{
    std::vector<std::unique_ptr<Relation>> liste;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, TableName, ForeignTable, Attributes, Fields FROM "
                       "MSysKvRelations ORDER BY Name COLLATE NOCASE"));
    while (st.step()) {
        auto r = std::make_unique<Relation>(st.value(0).toString(), st.value(1).toString(),
            st.value(2).toString(), st.value(3).toLongLong());
        r->m_fields = relationFelder(st.value(4).toString());
        r->m_stored = true;
        liste.push_back(std::move(r));
    }
    return liste;
}

void Catalog::createRelation(Relation& r)
{
    if (r.m_fields.isEmpty())
        throw EngineError(err::NoFields,
            QStringLiteral("Die Beziehung '%1' enthält keine Felder.").arg(r.m_name));
    veraendere(
        [&] {
            Statement name(
                m_db.handle(), QStringLiteral("SELECT 1 FROM MSysKvRelations WHERE Name = ?1"));
            name.bind(1, QVariant(r.m_name));
            if (r.m_name.trimmed().isEmpty() || name.step())
                throw EngineError(err::NameExists,
                    QStringLiteral("Die Beziehung '%1' ist bereits vorhanden.").arg(r.m_name));
            const std::vector<Field> primaer = physicalFields(r.m_table);
            const std::vector<Field> fremd = physicalFields(r.m_foreignTable);
            if (primaer.empty())
                throw EngineError::itemNotFound(r.m_table);
            if (fremd.empty())
                throw EngineError::itemNotFound(r.m_foreignTable);
            auto pruefe = [](const std::vector<Field>& felder, const QString& name) {
                for (const Field& f : felder)
                    if (gleich(f.m_name, name))
                        return;
                throw EngineError::itemNotFound(name);
            };
            QStringList kinder, paare, nichtNull;
            for (const RelationField& f : r.m_fields) {
                pruefe(primaer, f.name);
                pruefe(fremd, f.foreignName);
                paare << QStringLiteral("p.") + quote(f.name) + QStringLiteral(" = c.")
                        + quote(f.foreignName);
                nichtNull << QStringLiteral("c.") + quote(f.foreignName)
                        + QStringLiteral(" IS NOT NULL");
            }
            if (r.enforced()) {
                const QVariant verstoss
                    = m_db.scalar(QStringLiteral("SELECT 1 FROM ") + quote(r.m_foreignTable)
                        + QStringLiteral(" AS c WHERE ") + nichtNull.join(QStringLiteral(" AND "))
                        + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + quote(r.m_table)
                        + QStringLiteral(" AS p WHERE ") + paare.join(QStringLiteral(" AND "))
                        + QStringLiteral(") LIMIT 1"));
                if (verstoss.isValid())
                    throw EngineError(err::IntegrityChild,
                        QStringLiteral(
                            "Die Beziehung '%1' kann nicht erstellt werden: Daten in der "
                            "Tabelle '%2' verletzen die referentielle Integrität.")
                            .arg(r.m_name, r.m_foreignTable));
            }
            Statement st(m_db.handle(),
                QStringLiteral("INSERT INTO MSysKvRelations(Name, TableName, ForeignTable, "
                               "Attributes, Fields) VALUES (?1, ?2, ?3, ?4, ?5)"));
            st.bind(1, QVariant(r.m_name));
            st.bind(2, QVariant(r.m_table));
            st.bind(3, QVariant(r.m_foreignTable));
            st.bind(4, r.m_attributes);
            st.bind(5, QVariant(relationFelderText(r.m_fields)));
            st.step();
            // The foreign side gets its index, named after the relation.
            Index ix(r.m_name);
            for (const RelationField& f : r.m_fields)
                ix.m_fields.append(IndexField { f.foreignName, false });
            ix.m_foreign = true;
            ix.m_sqlName = r.m_foreignTable + QLatin1Char('.') + r.m_name;
            speichereIndex(r.m_foreignTable, ix);
            r.m_stored = true;
        },
        Umfang::Beziehung, { r.m_table, r.m_foreignTable });
}

void Catalog::dropRelation(const QString& name)
{
    Statement st(m_db.handle(),
        QStringLiteral("SELECT TableName, ForeignTable FROM MSysKvRelations WHERE Name = ?1"));
    st.bind(1, QVariant(name));
    if (!st.step())
        throw EngineError::itemNotFound(name);
    const QString primaer = st.value(0).toString();
    const QString fremd = st.value(1).toString();
    st.reset();
    veraendere(
        [&] {
            Statement ix(m_db.handle(),
                QStringLiteral(
                    "SELECT SqlName FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2 "
                    "AND IsForeign = 1"));
            ix.bind(1, QVariant(fremd));
            ix.bind(2, QVariant(name));
            const QString fremdIndex = ix.step() ? ix.value(0).toString() : QString();
            ix.reset();
            if (!fremdIndex.isEmpty())
                m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quote(fremdIndex));
            for (const char* sql :
                { "DELETE FROM MSysKvIndexes WHERE TableName = ?2 AND Name = ?1 AND "
                  "IsForeign = 1",
                    "DELETE FROM MSysKvRelations WHERE Name = ?1" }) {
                Statement del(m_db.handle(), QString::fromUtf8(sql));
                del.bind(1, QVariant(name));
                if (del.parameterCount() > 1)
                    del.bind(2, QVariant(fremd));
                del.step();
            }
        },
        Umfang::Beziehung, { primaer, fremd });
}

// ---- queries --------------------------------------------------------------------------

std::vector<std::unique_ptr<QueryDef>> Catalog::loadQueries(Database* db)
{
    std::vector<std::unique_ptr<QueryDef>> liste;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, SQL, DateCreated, LastUpdated FROM MSysKvQueries ORDER BY "
                       "Name COLLATE NOCASE"));
    while (st.step()) {
        auto q = std::make_unique<QueryDef>(db, st.value(0).toString(), st.value(1).toString());
        q->m_dateCreated = datatype::parseIsoDate(st.value(2).toString());
        q->m_lastUpdated = datatype::parseIsoDate(st.value(3).toString());
        q->m_stored = true;
        liste.push_back(std::move(q));
    }
    return liste;
}

void Catalog::storeQuery(QueryDef& query, bool neu)
{
    veraendere(
        [&] {
            const QString jetzt = now();
            if (neu)
                pruefeNameFrei(query.m_name);
            Statement st(m_db.handle(),
                neu ? QStringLiteral("INSERT INTO MSysKvQueries(Name, SQL, DateCreated, "
                                     "LastUpdated) VALUES (?1, ?2, ?3, ?3)")
                    : QStringLiteral(
                        "UPDATE MSysKvQueries SET SQL = ?2, LastUpdated = ?3 WHERE Name = ?1"));
            st.bind(1, QVariant(query.m_name));
            st.bind(2, QVariant(query.m_sql));
            st.bind(3, QVariant(jetzt));
            st.step();
            if (neu)
                query.m_dateCreated = datatype::parseIsoDate(jetzt);
            query.m_lastUpdated = datatype::parseIsoDate(jetzt);
            query.m_stored = true;
        },
        neu ? Umfang::NeueAbfrage : Umfang::Tabellen, { query.m_name });
}

void Catalog::dropQuery(const QString& name)
{
    veraendere(
        [&] {
            Statement st(
                m_db.handle(), QStringLiteral("DELETE FROM MSysKvQueries WHERE Name = ?1"));
            st.bind(1, QVariant(name));
            st.step();
        },
        Umfang::Tabellen, { name });
}

void Catalog::renameQuery(const QString& oldName, const QString& newName)
{
    veraendere(
        [&] {
            if (!gleich(oldName, newName))
                pruefeNameFrei(newName);
            Statement st(m_db.handle(),
                QStringLiteral(
                    "UPDATE MSysKvQueries SET Name = ?2, LastUpdated = ?3 WHERE Name = ?1"));
            st.bind(1, QVariant(oldName));
            st.bind(2, QVariant(newName));
            st.bind(3, QVariant(now()));
            st.step();
        },
        Umfang::Tabellen, { oldName, newName });
}

// ---- properties -----------------------------------------------------------------------

QString Catalog::property(const QString& name) const
{
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                   "'MSysKvProperties'"))
            .toInt()
        == 0)
        return QString();
    Statement st(
        m_db.handle(), QStringLiteral("SELECT Value FROM MSysKvProperties WHERE Name = ?1"));
    st.bind(1, QVariant(name));
    return st.step() ? st.value(0).toString() : QString();
}

void Catalog::setProperty(const QString& name, const QString& value)
{
    Statement st(m_db.handle(),
        value.isNull() ? QStringLiteral("DELETE FROM MSysKvProperties WHERE Name = ?1")
                       : QStringLiteral("INSERT OR REPLACE INTO MSysKvProperties(Name, Value) "
                                        "VALUES (?1, ?2)"));
    st.bind(1, QVariant(name));
    if (!value.isNull())
        st.bind(2, QVariant(value));
    st.step();
}

// ---- generated triggers and views -----------------------------------------------------

void Catalog::dropGenerated()
{
    QStringList befehle;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT type, name FROM sqlite_master WHERE (type = 'trigger' AND name "
                       "LIKE 'kv\\_%' ESCAPE '\\') OR (type = 'view' AND instr(sql, '%1') > 0)")
            .arg(QLatin1String(viewMarke)));
    while (st.step())
        befehle << QStringLiteral("DROP ") + st.value(0).toString().toUpper() + QLatin1Char(' ')
                + quote(st.value(1).toString());
    for (const QString& b : befehle)
        m_db.exec(b);
}

namespace {
// Whether sql (lower case) names name (lower case) as a whole word: over-approximates the
// objects a change reaches, which then are only made once more.
bool nennt(const QString& sql, const QString& name)
{
    auto wortzeichen = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    for (qsizetype i = sql.indexOf(name); i >= 0; i = sql.indexOf(name, i + 1)) {
        const qsizetype ende = i + name.size();
        if ((i == 0 || !wortzeichen(sql.at(i - 1)))
            && (ende >= sql.size() || !wortzeichen(sql.at(ende))))
            return true;
    }
    return false;
}

bool enthaelt(const QStringList& liste, const QString& name)
{
    return liste.contains(name, Qt::CaseInsensitive);
}
} // namespace

QStringList Catalog::mitPartnern(const QStringList& tabellen)
{
    QStringList alle = tabellen;
    for (const auto& r : loadRelations()) {
        if (enthaelt(tabellen, r->table()) && !enthaelt(alle, r->foreignTable()))
            alle << r->foreignTable();
        if (enthaelt(tabellen, r->foreignTable()) && !enthaelt(alle, r->table()))
            alle << r->table();
    }
    return alle;
}

QStringList Catalog::dropGeneratedOver(
    const QStringList& namen, const QStringList& tabellen, bool sichten)
{
    struct Objekt {
        bool sicht;
        QString name;
        QString tabelle;
        QString sql; // lower case
        bool weg = false;
    };
    std::vector<Objekt> objekte;
    if (sichten) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE (type = "
                           "'trigger' AND name LIKE 'kv\\_%' ESCAPE '\\') OR (type = 'view' AND "
                           "instr(sql, '%1') > 0)")
                .arg(QLatin1String(viewMarke)));
        while (st.step())
            objekte.push_back({ st.value(0).toString() == QLatin1String("view"),
                st.value(1).toString(), st.value(2).toString(), st.value(3).toString().toLower() });
    }
    // The names reached: the changed objects and, in rounds, every view that uses one.
    QStringList erreicht;
    for (const QString& n : namen)
        erreicht << n.toLower();
    bool weiter = sichten;
    while (weiter) {
        weiter = false;
        for (Objekt& o : objekte) {
            if (!o.sicht || o.weg)
                continue;
            const bool betroffen = enthaelt(erreicht, o.name)
                || std::any_of(erreicht.begin(), erreicht.end(),
                    [&](const QString& n) { return nennt(o.sql, n); });
            if (betroffen) {
                o.weg = true;
                erreicht << o.name.toLower();
                weiter = true;
            }
        }
    }
    // Triggers go per table: a table's triggers are made again all together.
    QStringList triggerTabellen = tabellen;
    for (const Objekt& o : objekte)
        if (!o.sicht && !enthaelt(triggerTabellen, o.tabelle)
            && std::any_of(erreicht.begin(), erreicht.end(),
                [&](const QString& n) { return nennt(o.sql, n); }))
            triggerTabellen << o.tabelle;
    for (const Objekt& o : objekte)
        if (o.sicht && o.weg)
            m_db.exec(QStringLiteral("DROP VIEW ") + quote(o.name));
    dropTriggersOf(triggerTabellen);
    return triggerTabellen;
}

void Catalog::dropTriggersOf(const QStringList& tabellen)
{
    for (const QString& t : tabellen) {
        QStringList namen;
        {
            Statement st(m_db.handle(),
                QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' AND tbl_name "
                               "= ?1 COLLATE NOCASE AND name LIKE 'kv\\_%' ESCAPE '\\'"));
            st.bind(1, QVariant(t));
            while (st.step())
                namen << st.value(0).toString();
        }
        for (const QString& n : namen)
            m_db.exec(QStringLiteral("DROP TRIGGER ") + quote(n));
    }
}

void Catalog::createTriggers(const QStringList& nur)
{
    std::vector<std::unique_ptr<Relation>> relationen = loadRelations();
    QList<Relation*> alle;
    for (const auto& r : relationen)
        alle << r.get();
    QStringList tabellen;
    {
        // Only the tables asked for are looked up: creating tables in a row stays linear.
        Statement st(m_db.handle(),
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                           "'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'MSys%'")
                + (nur.isEmpty() ? QString() : QStringLiteral(" AND name = ?1 COLLATE NOCASE")));
        for (qsizetype i = 0; i < std::max<qsizetype>(nur.size(), 1); ++i) {
            st.reset();
            if (!nur.isEmpty())
                st.bind(1, QVariant(nur.at(i)));
            while (st.step())
                if (!enthaelt(tabellen, st.value(0).toString()))
                    tabellen << st.value(0).toString();
        }
    }
    // A table whose triggers are still there gets them afresh.
    if (!nur.isEmpty())
        dropTriggersOf(tabellen);
    for (const QString& t : tabellen) {
        const std::vector<Field> felder = physicalFields(t);
        TableDef hilfe(t);
        loadIndexes(hilfe);
        QList<Relation*> eigene;
        for (Relation* r : alle)
            if (gleich(r->table(), t) || gleich(r->foreignTable(), t))
                eigene << r;
        const QList<Index*> indizes = hilfe.m_indexes.items();
        for (const QString& sql : RuleTriggers(t, felder, indizes, eigene).statements())
            m_db.exec(sql);
    }
}

void Catalog::createQueryViews()
{
    QList<QPair<QString, QString>> offen;
    {
        // Views that are there stay; a change that dropped them has dropped them all.
        Statement st(m_db.handle(),
            QStringLiteral("SELECT q.Name, q.SQL FROM MSysKvQueries AS q WHERE NOT EXISTS "
                           "(SELECT 1 FROM sqlite_master AS m WHERE m.type = 'view' AND m.name "
                           "= q.Name COLLATE NOCASE)"));
        while (st.step())
            if (QueryDef::typeOf(st.value(1).toString()) == dbQSelect
                || QueryDef::typeOf(st.value(1).toString()) == dbQSetOperation)
                offen.append({ st.value(0).toString(), st.value(1).toString() });
    }
    // Queries over queries: create in rounds until nothing more succeeds.
    bool weiter = true;
    while (weiter && !offen.isEmpty()) {
        weiter = false;
        for (auto it = offen.begin(); it != offen.end();) {
            const QString name = quote(it->first);
            try {
                const sql::Translation t = sql::translate(it->second);
                if (!t.parameters.isEmpty())
                    throw EngineError(err::TooFewParameters, QString());
                m_db.exec(QStringLiteral("SAVEPOINT kv_view"));
                try {
                    m_db.exec(QStringLiteral("CREATE VIEW ") + name + QStringLiteral(" AS ")
                        + QLatin1String(viewMarke) + QLatin1Char(' ') + t.sql);
                    Statement probe(m_db.handle(),
                        QStringLiteral("SELECT * FROM ") + name + QStringLiteral(" LIMIT 0"));
                    if (probe.parameterCount() > 0)
                        throw EngineError(err::TooFewParameters, QString());
                    m_db.exec(QStringLiteral("RELEASE kv_view"));
                } catch (const EngineError&) {
                    m_db.exec(QStringLiteral("ROLLBACK TO kv_view"));
                    m_db.exec(QStringLiteral("RELEASE kv_view"));
                    throw;
                }
                it = offen.erase(it);
                weiter = true;
            } catch (const EngineError&) {
                ++it; // parameter queries and broken texts are used by name only
            }
        }
    }
}

void Catalog::schemaStatement(const SqlTokens& tk, const std::function<void()>& op)
{
    const auto& t = tk.tokens();
    auto wort = [&](size_t i, const char* w) { return i < t.size() && t[i].is(w); };
    // The table named at i, optionally as main.table; empty for another schema or none.
    auto tabelle = [&](size_t i) {
        if (i >= t.size())
            return QString();
        if (wort(i + 1, ".")) {
            if (SqlTokens::unquote(t[i].text).compare(QLatin1String("main"), Qt::CaseInsensitive))
                return QString();
            i += 2;
        }
        return i < t.size() ? SqlTokens::unquote(t[i].text) : QString();
    };
    auto nachIf = [&](size_t i) { return wort(i, "IF") ? i + (wort(i + 1, "NOT") ? 3 : 2) : i; };
    Umfang umfang = Umfang::Alles;
    QStringList namen;
    if (wort(0, "CREATE") && wort(1, "TABLE")) {
        namen << tabelle(nachIf(2));
        umfang = Umfang::NeueTabelle;
    } else if (wort(0, "CREATE") && (wort(1, "INDEX") || (wort(1, "UNIQUE") && wort(2, "INDEX")))) {
        const int on = tk.findTop("ON");
        if (on > 0)
            namen << tabelle(static_cast<size_t>(on) + 1);
        umfang = Umfang::Tabellen;
    } else if (wort(0, "DROP") && wort(1, "TABLE")) {
        namen << tabelle(nachIf(2));
        umfang = Umfang::Tabellen;
    } else if (wort(0, "ALTER") && wort(1, "TABLE")) {
        namen << tabelle(2);
        const int umbenannt = tk.findTop("RENAME");
        if (umbenannt > 0 && wort(static_cast<size_t>(umbenannt) + 1, "TO"))
            namen << tabelle(static_cast<size_t>(umbenannt) + 2);
        umfang = Umfang::Tabellen;
    }
    if (namen.isEmpty() || namen.contains(QString()))
        umfang = Umfang::Alles;
    veraendere(op, umfang, namen);
}

} // namespace kv::engine
