#include "engine/Catalog.h"

#include "engine/CatalogText.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/RuleTriggers.h"
#include "engine/Savepoint.h"
#include "engine/Sqlite.h"
#include "engine/TableDef.h"
#include "engine/sql/Dialect.h"

#include <QDateTime>
#include <QFileInfo>

namespace kv::engine {

namespace {
const char* const katalogSql = R"(
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

using namespace catalogtext;

Catalog::Catalog(Connection& connection)
    : m_db(connection)
{ }

QString Catalog::quote(const QString& identifier)
{
    return QLatin1Char('"')
        + QString(identifier).replace(QLatin1String("\""), QLatin1String("\"\""))
        + QLatin1Char('"');
}

QString Catalog::now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool Catalog::isCatalogTable(const QString& name)
{
    return name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive);
}

void Catalog::ensure()
{
    if (m_db.isReadOnly())
        return;
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = "
                                   "'MSysKvProperties'"))
            .toInt()
        == 1)
        return;
    m_db.exec(QString::fromUtf8(katalogSql));
}

void Catalog::pruefeNameFrei(const QString& name) const
{
    if (name.trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Objektname."));
    Statement st(m_db.handle(),
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 "
                       "COLLATE NOCASE UNION ALL SELECT 1 FROM MSysKvObjects WHERE Name = ?1 "
                       "UNION ALL SELECT 1 FROM MSysKvQueries WHERE Name = ?1"));
    st.bind(1, QVariant(name));
    if (st.step())
        throw EngineError(
            err::ObjectExists, QStringLiteral("Das Objekt '%1' ist bereits vorhanden.").arg(name));
}

void Catalog::touch(const QString& table)
{
    Statement st(m_db.handle(),
        QStringLiteral(
            "INSERT INTO MSysKvObjects(Name, Kind, DateCreated, LastUpdated) "
            "VALUES (?1, 'T', ?2, ?2) ON CONFLICT(Name) DO UPDATE SET LastUpdated = ?2"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(now()));
    st.step();
}

// ---- tables ---------------------------------------------------------------------------

std::vector<std::unique_ptr<TableDef>> Catalog::loadTables(Database* db)
{
    std::vector<std::unique_ptr<TableDef>> liste;
    Statement st(m_db.handle(),
        QStringLiteral(
            "SELECT m.name, o.Attributes, o.DateCreated, o.LastUpdated, '', '' FROM sqlite_master "
            "m "
            "LEFT JOIN MSysKvObjects o ON o.Name = m.name "
            "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
            "UNION ALL SELECT Name, Attributes, DateCreated, LastUpdated, Connect, SourceTableName "
            "FROM MSysKvObjects WHERE Kind = 'L' ORDER BY 1 COLLATE NOCASE"));
    while (st.step()) {
        auto t = std::make_unique<TableDef>(st.value(0).toString());
        t->m_attributes = st.value(1).toLongLong();
        if (isCatalogTable(t->m_name))
            t->m_attributes |= dbSystemObject;
        t->m_dateCreated = datatype::parseIsoDate(st.value(2).toString());
        t->m_lastUpdated = datatype::parseIsoDate(st.value(3).toString());
        t->m_connect = st.value(4).toString();
        t->m_sourceTableName = st.value(5).toString();
        if (!t->m_connect.isEmpty())
            t->m_attributes |= dbAttachedTable;
        t->m_db = db;
        t->m_felderGeladen = false;
        t->m_indizesGeladen = false;
        liste.push_back(std::move(t));
    }
    return liste;
}

std::vector<Field> Catalog::physicalFields(const QString& table)
{
    // Attached tables read their fields from the other file (and its catalog, if any).
    QString schema = QStringLiteral("main");
    QString quelle = table;
    {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT Connect, SourceTableName FROM MSysKvObjects WHERE Name = ?1 AND "
                           "Kind = 'L'"));
        st.bind(1, QVariant(table));
        if (st.step()) {
            schema = linkedSchema(connectWert(st.value(0).toString(), QStringLiteral("DATABASE")));
            quelle = st.value(1).toString();
        }
    }
    std::vector<Field> felder;
    int pkAnzahl = 0;
    {
        Statement st(m_db.handle(),
            QStringLiteral(
                "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1, "
                "?2)"));
        st.bind(1, QVariant(quelle));
        st.bind(2, QVariant(schema));
        while (st.step()) {
            Field f(st.value(0).toString());
            datatype::fromDeclaredType(st.value(1).toString(), f.m_type, f.m_size);
            f.m_required = st.value(2).toInt() != 0;
            f.m_defaultValue = st.value(3).toString();
            f.m_attributes = datatype::isTextType(f.m_type) ? dbVariableField : dbFixedField;
            f.m_allowZeroLength = datatype::isTextType(f.m_type);
            if (st.value(4).toInt() > 0) {
                ++pkAnzahl;
                if (st.value(1).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive)
                    == 0)
                    f.m_attributes |= dbAutoIncrField;
            }
            f.m_ordinalPosition = static_cast<int>(felder.size());
            felder.push_back(f);
        }
    }
    if (pkAnzahl > 1)
        for (Field& f : felder)
            f.m_attributes &= ~dbAutoIncrField;
    const bool hatKatalog = m_db.scalar(QStringLiteral("SELECT count(*) FROM %1.sqlite_master "
                                                       "WHERE name = 'MSysKvFields'")
                                            .arg(quote(schema)))
                                .toInt()
        > 0;
    if (hatKatalog) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT Name, Type, Size, Attributes, DefaultValue, Required, "
                           "AllowZeroLength, ValidationRule, ValidationText, OrdinalPosition FROM "
                           "%1.MSysKvFields WHERE TableName = ?1")
                .arg(quote(schema)));
        st.bind(1, QVariant(quelle));
        while (st.step()) {
            for (Field& f : felder) {
                if (!gleich(f.m_name, st.value(0).toString()))
                    continue;
                f.m_type = st.value(1).toInt();
                f.m_size = st.value(2).toInt();
                f.m_attributes = st.value(3).toInt();
                f.m_defaultValue = st.value(4).toString();
                f.m_required = st.value(5).toInt() != 0;
                f.m_allowZeroLength = st.value(6).toInt() != 0;
                f.m_validationRule = st.value(7).toString();
                f.m_validationText = st.value(8).toString();
                f.m_ordinalPosition = st.value(9).toInt();
            }
        }
    }
    for (Field& f : felder) {
        f.m_sourceTable = table;
        f.m_sourceField = f.m_name;
        f.m_dataUpdatable = true;
    }
    return felder;
}

void Catalog::loadFields(TableDef& table)
{
    std::vector<Field> felder = physicalFields(table.m_name);
    std::stable_sort(felder.begin(), felder.end(),
        [](const Field& a, const Field& b) { return a.m_ordinalPosition < b.m_ordinalPosition; });
    table.m_fields.clear();
    for (Field& f : felder) {
        auto feld = std::make_unique<Field>(f);
        feld->m_table = &table;
        table.m_fields.adopt(std::move(feld));
    }
}

void Catalog::loadIndexes(TableDef& table)
{
    table.m_indexes.clear();
    if (table.isAttached())
        return;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, SqlName, IsPrimary, IsUnique, IsRequired, IgnoreNulls, "
                       "IsForeign, Fields FROM MSysKvIndexes WHERE TableName = ?1 ORDER BY Name "
                       "COLLATE NOCASE"));
    st.bind(1, QVariant(table.m_name));
    QStringList bekannt;
    while (st.step()) {
        auto ix = std::make_unique<Index>(st.value(0).toString());
        ix->m_sqlName = st.value(1).toString();
        ix->m_primary = st.value(2).toInt() != 0;
        ix->m_unique = st.value(3).toInt() != 0;
        ix->m_required = st.value(4).toInt() != 0;
        ix->m_ignoreNulls = st.value(5).toInt() != 0;
        ix->m_foreign = st.value(6).toInt() != 0;
        ix->m_fields = indexFelder(st.value(7).toString());
        ix->m_table = &table;
        bekannt << ix->m_sqlName;
        table.m_indexes.adopt(std::move(ix));
    }
    // Indexes made by other tools appear under their SQLite names.
    Statement fremd(m_db.handle(),
        QStringLiteral("SELECT il.name, il.\"unique\", il.origin FROM pragma_index_list(?1) il"));
    fremd.bind(1, QVariant(table.m_name));
    while (fremd.step()) {
        const QString name = fremd.value(0).toString();
        if (bekannt.contains(name) || name.startsWith(QLatin1String("sqlite_autoindex")))
            continue;
        auto ix = std::make_unique<Index>(name);
        ix->m_sqlName = name;
        ix->m_unique = fremd.value(1).toInt() != 0;
        Statement spalten(m_db.handle(),
            QStringLiteral("SELECT name, desc FROM pragma_index_xinfo(?1) WHERE key = 1"));
        spalten.bind(1, QVariant(name));
        while (spalten.step())
            ix->m_fields.append(
                IndexField { spalten.value(0).toString(), spalten.value(1).toInt() != 0 });
        ix->m_table = &table;
        table.m_indexes.adopt(std::move(ix));
    }
}

QString Catalog::columnDefinition(const Field& f) const
{
    QString def = quote(f.m_name) + QLatin1Char(' ');
    if (f.isAutoIncrement())
        return def + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    def += datatype::declaredType(f.m_type, f.m_size);
    if (!f.m_defaultValue.trimmed().isEmpty())
        def += QStringLiteral(" DEFAULT (") + RuleTriggers::expression(f.m_defaultValue)
            + QLatin1Char(')');
    return def;
}

namespace {
void schreibeFeld(Connection& db, const QString& table, const Field& f)
{
    Statement st(db.handle(),
        QStringLiteral("INSERT OR REPLACE INTO MSysKvFields(TableName, Name, Type, Size, "
                       "Attributes, DefaultValue, Required, AllowZeroLength, ValidationRule, "
                       "ValidationText, OrdinalPosition) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
                       "?9, ?10, ?11)"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(f.name()));
    st.bind(3, qint64(f.type()));
    st.bind(4, qint64(f.size()));
    st.bind(5, qint64(f.attributes()));
    st.bind(6, QVariant(f.defaultValue()));
    st.bind(7, qint64(f.required() ? 1 : 0));
    st.bind(8, qint64(f.allowZeroLength() ? 1 : 0));
    st.bind(9, QVariant(f.validationRule()));
    st.bind(10, QVariant(f.validationText()));
    st.bind(11, qint64(f.ordinalPosition()));
    st.step();
}

void pruefeFeld(const Field& f)
{
    if (f.name().trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Feldname."));
    if (f.isAutoIncrement() && f.type() != dbLong)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Nur ein Feld vom Typ Long kann ein Automatikwert sein ('%1').")
                .arg(f.name()));
    if (f.type() == dbText && (f.size() < 0 || f.size() > 255))
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Feldgröße von '%1' muss zwischen 0 und 255 liegen.").arg(f.name()));
}
} // namespace

void Catalog::createTable(TableDef& table)
{
    if (table.m_fields.count() == 0)
        throw EngineError(err::NoFields,
            QStringLiteral("Die Tabelle '%1' muss mindestens ein Feld enthalten.")
                .arg(table.m_name));
    // A new table changes no other table's triggers and no view that is there, so creating many
    // tables in a row stays linear.
    veraendere(
        [&] {
            pruefeNameFrei(table.m_name);
            QStringList spalten;
            int zaehler = 0;
            int position = 0;
            for (Field* f : table.m_fields.items()) {
                pruefeFeld(*f);
                if (f->isAutoIncrement() && ++zaehler > 1)
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
                if (f->m_ordinalPosition == 0)
                    f->m_ordinalPosition = position;
                ++position;
                spalten << columnDefinition(*f);
            }
            m_db.exec(QStringLiteral("CREATE TABLE ") + quote(table.m_name) + QStringLiteral(" (")
                + spalten.join(QStringLiteral(", ")) + QLatin1Char(')'));
            const QString jetzt = now();
            Statement st(m_db.handle(),
                QStringLiteral("INSERT INTO MSysKvObjects(Name, Kind, Attributes, DateCreated, "
                               "LastUpdated) VALUES (?1, 'T', ?2, ?3, ?3)"));
            st.bind(1, QVariant(table.m_name));
            st.bind(2, qint64(table.m_attributes & dbHiddenObject));
            st.bind(3, QVariant(jetzt));
            st.step();
            for (Field* f : table.m_fields.items())
                schreibeFeld(m_db, table.m_name, *f);
            for (Index* ix : table.m_indexes.items())
                createIndex(table, *ix);
            table.m_dateCreated = table.m_lastUpdated = datatype::parseIsoDate(jetzt);
        },
        Umfang::NeueTabelle, { table.m_name });
}

QString Catalog::linkedSchema(const QString& path)
{
    const QString schluessel = QFileInfo(path).absoluteFilePath();
    auto it = m_linkedSchemas.find(schluessel);
    if (it != m_linkedSchemas.end())
        return it.value();
    if (!QFileInfo(schluessel).isFile())
        throw EngineError(err::FileNotFound,
            QStringLiteral("Die Datei '%1' der eingebundenen Tabelle wurde nicht gefunden.")
                .arg(path));
    const QString schema = QStringLiteral("kvlnk_%1").arg(m_linkedSchemas.size() + 1);
    Statement st(m_db.handle(), QStringLiteral("ATTACH DATABASE ?1 AS ") + quote(schema));
    st.bind(1, QVariant(schluessel));
    st.step();
    m_linkedSchemas.insert(schluessel, schema);
    return schema;
}

void Catalog::createAttachedTable(TableDef& table)
{
    const QString pfad = connectWert(table.m_connect, QStringLiteral("DATABASE"));
    if (pfad.isEmpty())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Die Verbindungsangabe '%1' nennt keine Datenbank.")
                .arg(table.m_connect));
    // ATTACH is not allowed inside a transaction; it happens before the savepoint.
    const QString schema = linkedSchema(pfad);
    const QString quelle
        = table.m_sourceTableName.isEmpty() ? table.m_name : table.m_sourceTableName;
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM %1.sqlite_master WHERE type IN "
                                   "('table','view') AND name = '%2' COLLATE NOCASE")
                        .arg(quote(schema),
                            QString(quelle).replace(QLatin1String("'"), QLatin1String("''"))))
            .toInt()
        == 0)
        throw EngineError(err::NoSuchTable,
            QStringLiteral("Die Tabelle '%1' ist in '%2' nicht vorhanden.").arg(quelle, pfad));
    aendere([&] {
        pruefeNameFrei(table.m_name);
        const QString jetzt = now();
        Statement st(m_db.handle(),
            QStringLiteral("INSERT INTO MSysKvObjects(Name, Kind, Attributes, Connect, "
                           "SourceTableName, DateCreated, LastUpdated) VALUES (?1, 'L', 0, ?2, ?3, "
                           "?4, ?4)"));
        st.bind(1, QVariant(table.m_name));
        st.bind(2, QVariant(table.m_connect));
        st.bind(3, QVariant(quelle));
        st.bind(4, QVariant(jetzt));
        st.step();
        m_db.exec(QStringLiteral("CREATE TEMP VIEW ") + quote(table.m_name)
            + QStringLiteral(" AS SELECT * FROM ") + quote(schema) + QLatin1Char('.')
            + quote(quelle));
        table.m_sourceTableName = quelle;
        table.m_attributes |= dbAttachedTable;
        table.m_dateCreated = table.m_lastUpdated = datatype::parseIsoDate(jetzt);
    });
}

void Catalog::attachLinkedTables()
{
    Statement st(m_db.handle(),
        QStringLiteral(
            "SELECT Name, Connect, SourceTableName FROM MSysKvObjects WHERE Kind = 'L'"));
    while (st.step()) {
        try {
            const QString schema
                = linkedSchema(connectWert(st.value(1).toString(), QStringLiteral("DATABASE")));
            m_db.exec(QStringLiteral("CREATE TEMP VIEW IF NOT EXISTS ")
                + quote(st.value(0).toString()) + QStringLiteral(" AS SELECT * FROM ")
                + quote(schema) + QLatin1Char('.') + quote(st.value(2).toString()));
        } catch (const EngineError&) {
            // A missing file shows when the table is used, not when the database opens.
        }
    }
}

QString Catalog::qualifiedTable(const QString& table) const
{
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Connect, SourceTableName FROM MSysKvObjects WHERE Name = ?1 AND "
                       "Kind = 'L'"));
    st.bind(1, QVariant(table));
    if (st.step()) {
        const QString pfad
            = QFileInfo(connectWert(st.value(0).toString(), QStringLiteral("DATABASE")))
                  .absoluteFilePath();
        const QString schema = m_linkedSchemas.value(pfad);
        if (!schema.isEmpty())
            return quote(schema) + QLatin1Char('.') + quote(st.value(1).toString());
    }
    return QStringLiteral("\"main\".") + quote(table);
}

void Catalog::dropTable(const QString& name)
{
    veraendere(
        [&] {
            for (const QString& tab : { QStringLiteral("MSysKvRelations") }) {
                Statement st(m_db.handle(),
                    QStringLiteral("SELECT Name FROM %1 WHERE TableName = ?1 OR ForeignTable = ?1")
                        .arg(tab));
                st.bind(1, QVariant(name));
                if (st.step())
                    throw EngineError(err::FieldInUse,
                        QStringLiteral(
                            "Die Tabelle '%1' ist Teil der Beziehung '%2' und kann nicht "
                            "gelöscht werden.")
                            .arg(name, st.value(0).toString()));
            }
            Statement art(
                m_db.handle(), QStringLiteral("SELECT Kind FROM MSysKvObjects WHERE Name = ?1"));
            art.bind(1, QVariant(name));
            const bool verknuepft = art.step() && art.value(0).toString() == QLatin1String("L");
            art.reset(); // a pending read would lock the schema against DROP
            if (verknuepft)
                m_db.exec(QStringLiteral("DROP VIEW IF EXISTS temp.") + quote(name));
            else
                m_db.exec(QStringLiteral("DROP TABLE ") + quote(name));
            for (const char* tab : { "MSysKvObjects", "MSysKvFields", "MSysKvIndexes" }) {
                Statement st(m_db.handle(),
                    QStringLiteral("DELETE FROM %1 WHERE %2 = ?1")
                        .arg(QLatin1String(tab),
                            QLatin1String(
                                qstrcmp(tab, "MSysKvObjects") == 0 ? "Name" : "TableName")));
                st.bind(1, QVariant(name));
                st.step();
            }
        },
        Umfang::Tabellen, { name });
}

void Catalog::renameTable(const QString& oldName, const QString& newName)
{
    veraendere(
        [&] {
            if (!gleich(oldName, newName))
                pruefeNameFrei(newName);
            Statement art(
                m_db.handle(), QStringLiteral("SELECT Kind FROM MSysKvObjects WHERE Name = ?1"));
            art.bind(1, QVariant(oldName));
            const bool verknuepft = art.step() && art.value(0).toString() == QLatin1String("L");
            art.reset();
            if (verknuepft) {
                const QString ziel = qualifiedTable(oldName);
                m_db.exec(QStringLiteral("DROP VIEW IF EXISTS temp.") + quote(oldName));
                m_db.exec(QStringLiteral("CREATE TEMP VIEW ") + quote(newName)
                    + QStringLiteral(" AS SELECT * FROM ") + ziel);
            } else {
                m_db.exec(QStringLiteral("ALTER TABLE ") + quote(oldName)
                    + QStringLiteral(" RENAME TO ") + quote(newName));
            }
            const char* const aenderungen[]
                = { "UPDATE MSysKvObjects SET Name = ?2 WHERE Name = ?1",
                      "UPDATE MSysKvFields SET TableName = ?2 WHERE TableName = ?1",
                      "UPDATE MSysKvIndexes SET TableName = ?2 WHERE TableName = ?1",
                      "UPDATE MSysKvRelations SET TableName = ?2 WHERE TableName = ?1",
                      "UPDATE MSysKvRelations SET ForeignTable = ?2 WHERE ForeignTable = ?1" };
            for (const char* sql : aenderungen) {
                Statement st(m_db.handle(), QString::fromUtf8(sql));
                st.bind(1, QVariant(oldName));
                st.bind(2, QVariant(newName));
                st.step();
            }
            touch(newName);
        },
        Umfang::Tabellen, { oldName, newName });
}

void Catalog::addField(TableDef& table, Field& field)
{
    pruefeFeld(field);
    veraendere(
        [&] {
            std::vector<Field> felder = physicalFields(table.m_name);
            int hoechste = -1;
            for (const Field& f : felder) {
                if (gleich(f.m_name, field.m_name))
                    throw EngineError(err::NameExists,
                        QStringLiteral("Das Feld '%1' ist bereits vorhanden.").arg(field.m_name));
                if (field.isAutoIncrement() && f.isAutoIncrement())
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Eine Tabelle kann nur ein Feld mit Automatikwert haben."));
                hoechste = std::max(hoechste, f.m_ordinalPosition);
            }
            if (field.m_ordinalPosition <= 0)
                field.m_ordinalPosition = hoechste + 1;
            schreibeFeld(m_db, table.m_name, field);
            if (field.isAutoIncrement() || !field.m_defaultValue.trimmed().isEmpty())
                rebuildTable(table.m_name);
            else
                m_db.exec(QStringLiteral("ALTER TABLE ") + quote(table.m_name)
                    + QStringLiteral(" ADD COLUMN ") + columnDefinition(field));
            touch(table.m_name);
        },
        Umfang::Tabellen, { table.m_name });
}

void Catalog::dropField(TableDef& table, const QString& name)
{
    veraendere(
        [&] {
            Statement ix(m_db.handle(),
                QStringLiteral("SELECT Name, Fields FROM MSysKvIndexes WHERE TableName = ?1"));
            ix.bind(1, QVariant(table.m_name));
            while (ix.step())
                for (const IndexField& f : indexFelder(ix.value(1).toString()))
                    if (gleich(f.name, name))
                        throw EngineError(err::FieldInUse,
                            QStringLiteral("Das Feld '%1' ist Teil des Index '%2' und kann nicht "
                                           "gelöscht werden.")
                                .arg(name, ix.value(0).toString()));
            for (const auto& r : loadRelations())
                for (const RelationField& f : r->fields())
                    if ((gleich(r->table(), table.m_name) && gleich(f.name, name))
                        || (gleich(r->foreignTable(), table.m_name) && gleich(f.foreignName, name)))
                        throw EngineError(err::FieldInUse,
                            QStringLiteral(
                                "Das Feld '%1' ist Teil der Beziehung '%2' und kann nicht "
                                "gelöscht werden.")
                                .arg(name, r->name()));
            std::vector<Field> felder = physicalFields(table.m_name);
            if (felder.size() <= 1)
                throw EngineError(err::NoFields,
                    QStringLiteral("Das letzte Feld der Tabelle '%1' kann nicht gelöscht werden.")
                        .arg(table.m_name));
            bool zaehler = false;
            for (const Field& f : felder)
                if (gleich(f.m_name, name))
                    zaehler = f.isAutoIncrement();
            Statement st(m_db.handle(),
                QStringLiteral("DELETE FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
            st.bind(1, QVariant(table.m_name));
            st.bind(2, QVariant(name));
            st.step();
            if (zaehler)
                rebuildTable(table.m_name); // the rowid alias cannot be dropped in place
            else
                m_db.exec(QStringLiteral("ALTER TABLE ") + quote(table.m_name)
                    + QStringLiteral(" DROP COLUMN ") + quote(name));
            touch(table.m_name);
        },
        Umfang::Tabellen, { table.m_name });
}

void Catalog::updateField(TableDef& table, const Field& old, const Field& changed)
{
    if (old.m_type != changed.m_type || old.m_size != changed.m_size
        || old.m_attributes != changed.m_attributes)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Typ, Größe und Attribute des gespeicherten Feldes '%1' können nicht "
                           "geändert werden.")
                .arg(old.m_name));
    veraendere(
        [&] {
            if (!gleich(old.m_name, changed.m_name) || old.m_name != changed.m_name) {
                for (const Field& f : physicalFields(table.m_name))
                    if (gleich(f.m_name, changed.m_name) && !gleich(old.m_name, changed.m_name))
                        throw EngineError(err::NameExists,
                            QStringLiteral("Das Feld '%1' ist bereits vorhanden.")
                                .arg(changed.m_name));
                m_db.exec(QStringLiteral("ALTER TABLE ") + quote(table.m_name)
                    + QStringLiteral(" RENAME COLUMN ") + quote(old.m_name) + QStringLiteral(" TO ")
                    + quote(changed.m_name));
                Statement del(m_db.handle(),
                    QStringLiteral("DELETE FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
                del.bind(1, QVariant(table.m_name));
                del.bind(2, QVariant(old.m_name));
                del.step();
                // Index and relation field lists follow the new name.
                Statement ix(m_db.handle(),
                    QStringLiteral("SELECT Name, Fields FROM MSysKvIndexes WHERE TableName = ?1"));
                ix.bind(1, QVariant(table.m_name));
                QList<QPair<QString, QString>> neueIndizes;
                while (ix.step()) {
                    QList<IndexField> liste = indexFelder(ix.value(1).toString());
                    for (IndexField& f : liste)
                        if (gleich(f.name, old.m_name))
                            f.name = changed.m_name;
                    neueIndizes.append({ ix.value(0).toString(), indexFelderText(liste) });
                }
                for (const auto& [name, text] : neueIndizes) {
                    Statement up(m_db.handle(),
                        QStringLiteral(
                            "UPDATE MSysKvIndexes SET Fields = ?3 WHERE TableName = ?1 AND "
                            "Name = ?2"));
                    up.bind(1, QVariant(table.m_name));
                    up.bind(2, QVariant(name));
                    up.bind(3, QVariant(text));
                    up.step();
                }
                for (const auto& r : loadRelations()) {
                    QList<RelationField> liste = r->fields();
                    bool geaendert = false;
                    for (RelationField& f : liste) {
                        if (gleich(r->table(), table.m_name) && gleich(f.name, old.m_name)) {
                            f.name = changed.m_name;
                            geaendert = true;
                        }
                        if (gleich(r->foreignTable(), table.m_name)
                            && gleich(f.foreignName, old.m_name)) {
                            f.foreignName = changed.m_name;
                            geaendert = true;
                        }
                    }
                    if (geaendert) {
                        Statement up(m_db.handle(),
                            QStringLiteral(
                                "UPDATE MSysKvRelations SET Fields = ?2 WHERE Name = ?1"));
                        up.bind(1, QVariant(r->name()));
                        up.bind(2, QVariant(relationFelderText(liste)));
                        up.step();
                    }
                }
            }
            schreibeFeld(m_db, table.m_name, changed);
            if (old.m_defaultValue != changed.m_defaultValue)
                rebuildTable(table.m_name);
            touch(table.m_name);
        },
        Umfang::Tabellen, { table.m_name });
}

void Catalog::rebuildTable(const QString& table)
{
    std::vector<Field> felder = physicalFields(table);
    QStringList alt;
    {
        Statement st(m_db.handle(), QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        st.bind(1, QVariant(table));
        while (st.step())
            alt << st.value(0).toString();
    }
    // Catalog rows of fields that the table does not hold yet are the fields being added.
    Statement neu(m_db.handle(),
        QStringLiteral("SELECT Name FROM MSysKvFields WHERE TableName = ?1 ORDER BY "
                       "OrdinalPosition"));
    neu.bind(1, QVariant(table));
    QStringList hinzu;
    while (neu.step())
        if (!alt.contains(neu.value(0).toString(), Qt::CaseInsensitive))
            hinzu << neu.value(0).toString();
    // Fields of the catalog and the physical table merged: physical ones keep their place.
    std::vector<Field> ziel;
    for (const Field& f : felder) {
        Statement da(m_db.handle(),
            QStringLiteral("SELECT count(*) FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
        da.bind(1, QVariant(table));
        da.bind(2, QVariant(f.m_name));
        da.step();
        if (da.int64(0) > 0 || !Catalog::isCatalogTable(table))
            ziel.push_back(f);
    }
    // physicalFields only knows physical columns; read the new ones from the catalog.
    for (const QString& name : hinzu) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT Type, Size, Attributes, DefaultValue FROM MSysKvFields WHERE "
                           "TableName = ?1 AND Name = ?2"));
        st.bind(1, QVariant(table));
        st.bind(2, QVariant(name));
        st.step();
        Field f(name, st.value(0).toInt(), st.value(1).toInt());
        f.m_attributes = st.value(2).toInt();
        f.m_defaultValue = st.value(3).toString();
        ziel.push_back(f);
    }
    // Dropped fields: the catalog row is gone already.
    std::vector<Field> bleibt;
    for (const Field& f : ziel) {
        Statement da(m_db.handle(),
            QStringLiteral("SELECT count(*) FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
        da.bind(1, QVariant(table));
        da.bind(2, QVariant(f.m_name));
        da.step();
        if (da.int64(0) > 0)
            bleibt.push_back(f);
    }
    QStringList definitionen, ziele, quellen;
    for (const Field& f : bleibt) {
        definitionen << columnDefinition(f);
        if (alt.contains(f.m_name, Qt::CaseInsensitive)) {
            ziele << quote(f.m_name);
            quellen << quote(f.m_name);
        } else if (f.isAutoIncrement()) {
            ziele << quote(f.m_name);
            quellen << QStringLiteral("rowid");
        }
    }
    const bool hatSequenzen = m_db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master "
                                                         "WHERE name = 'sqlite_sequence'"))
                                  .toInt()
        > 0;
    const QVariant sequenz = hatSequenzen
        ? m_db.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'")
                          .arg(QString(table).replace(QLatin1String("'"), QLatin1String("''"))))
        : QVariant();
    const QString temp = QStringLiteral("kv_neu_") + table;
    m_db.exec(QStringLiteral("CREATE TABLE ") + quote(temp) + QStringLiteral(" (")
        + definitionen.join(QStringLiteral(", ")) + QLatin1Char(')'));
    m_db.exec(QStringLiteral("INSERT INTO ") + quote(temp) + QStringLiteral(" (")
        + ziele.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ")
        + quellen.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + quote(table));
    m_db.exec(QStringLiteral("DROP TABLE ") + quote(table));
    m_db.exec(QStringLiteral("ALTER TABLE ") + quote(temp) + QStringLiteral(" RENAME TO ")
        + quote(table));
    if (sequenz.isValid())
        m_db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, %1) WHERE name = '%2'")
                      .arg(sequenz.toLongLong())
                      .arg(QString(table).replace(QLatin1String("'"), QLatin1String("''"))));
    Statement ix(m_db.handle(),
        QStringLiteral("SELECT Name, SqlName, IsPrimary, IsUnique, Fields FROM MSysKvIndexes "
                       "WHERE TableName = ?1"));
    ix.bind(1, QVariant(table));
    while (ix.step()) {
        Index i(ix.value(0).toString());
        i.m_sqlName = ix.value(1).toString();
        i.m_primary = ix.value(2).toInt() != 0;
        i.m_unique = ix.value(3).toInt() != 0;
        i.m_fields = indexFelder(ix.value(4).toString());
        m_db.exec(indexSql(table, i));
    }
}

// ---- indexes --------------------------------------------------------------------------

QString Catalog::indexSql(const QString& table, const Index& index) const
{
    QStringList spalten;
    for (const IndexField& f : index.m_fields)
        spalten << quote(f.name) + (f.descending ? QStringLiteral(" DESC") : QString());
    return QStringLiteral("CREATE ") + (index.unique() ? QStringLiteral("UNIQUE ") : QString())
        + QStringLiteral("INDEX ") + quote(index.m_sqlName) + QStringLiteral(" ON ") + quote(table)
        + QStringLiteral(" (") + spalten.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void Catalog::speichereIndex(const QString& table, const Index& index)
{
    m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quote(index.m_sqlName));
    m_db.exec(indexSql(table, index));
    Statement st(m_db.handle(),
        QStringLiteral("INSERT OR REPLACE INTO MSysKvIndexes(TableName, Name, SqlName, IsPrimary, "
                       "IsUnique, IsRequired, IgnoreNulls, IsForeign, Fields) VALUES (?1, ?2, ?3, "
                       "?4, ?5, ?6, ?7, ?8, ?9)"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(index.m_name));
    st.bind(3, QVariant(index.m_sqlName));
    st.bind(4, qint64(index.m_primary));
    st.bind(5, qint64(index.unique()));
    st.bind(6, qint64(index.required()));
    st.bind(7, qint64(index.m_ignoreNulls));
    st.bind(8, qint64(index.m_foreign));
    st.bind(9, QVariant(indexFelderText(index.m_fields)));
    st.step();
}

void Catalog::createIndex(TableDef& table, Index& index)
{
    if (index.m_fields.isEmpty())
        throw EngineError(err::NoFields,
            QStringLiteral("Der Index '%1' enthält keine Felder.").arg(index.m_name));
    if (index.m_name.trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Indexname."));
    veraendere(
        [&] {
            const std::vector<Field> felder = physicalFields(table.m_name);
            for (const IndexField& f : index.m_fields) {
                bool da = false;
                for (const Field& p : felder)
                    da = da || gleich(p.m_name, f.name);
                if (!da)
                    throw EngineError::itemNotFound(f.name);
            }
            Statement vorhanden(m_db.handle(),
                QStringLiteral("SELECT Name, IsPrimary FROM MSysKvIndexes WHERE TableName = ?1"));
            vorhanden.bind(1, QVariant(table.m_name));
            while (vorhanden.step()) {
                if (gleich(vorhanden.value(0).toString(), index.m_name))
                    throw EngineError(err::NameExists,
                        QStringLiteral("Der Index '%1' ist bereits vorhanden.").arg(index.m_name));
                if (index.m_primary && vorhanden.value(1).toInt() != 0)
                    throw EngineError(err::InvalidOperation,
                        QStringLiteral("Die Tabelle '%1' hat bereits einen Primärschlüssel.")
                            .arg(table.m_name));
            }
            if (index.m_sqlName.isEmpty())
                index.m_sqlName = table.m_name + QLatin1Char('.') + index.m_name;
            speichereIndex(table.m_name, index);
            touch(table.m_name);
        },
        Umfang::Tabellen, { table.m_name });
}

void Catalog::dropIndex(TableDef& table, const QString& name)
{
    veraendere(
        [&] {
            Statement st(m_db.handle(),
                QStringLiteral(
                    "SELECT SqlName FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2"));
            st.bind(1, QVariant(table.m_name));
            st.bind(2, QVariant(name));
            const QString sqlName = st.step() ? st.value(0).toString() : name;
            st.reset();
            m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quote(sqlName));
            Statement del(m_db.handle(),
                QStringLiteral("DELETE FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2"));
            del.bind(1, QVariant(table.m_name));
            del.bind(2, QVariant(name));
            del.step();
            touch(table.m_name);
        },
        Umfang::Tabellen, { table.m_name });
}

void Catalog::renameIndex(TableDef& table, const QString& oldName, const QString& newName)
{
    Savepoint sp(m_db);
    Statement st(m_db.handle(),
        QStringLiteral("UPDATE MSysKvIndexes SET Name = ?3 WHERE TableName = ?1 AND Name = ?2"));
    st.bind(1, QVariant(table.m_name));
    st.bind(2, QVariant(oldName));
    st.bind(3, QVariant(newName));
    st.step();
    touch(table.m_name);
    sp.release();
}

void Catalog::setTableAttributes(const QString& table, qint64 attributes)
{
    Savepoint sp(m_db);
    touch(table);
    Statement st(
        m_db.handle(), QStringLiteral("UPDATE MSysKvObjects SET Attributes = ?2 WHERE Name = ?1"));
    st.bind(1, QVariant(table));
    st.bind(2, attributes);
    st.step();
    sp.release();
}

} // namespace kv::engine
