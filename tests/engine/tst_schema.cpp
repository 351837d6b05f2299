#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/catalog/SchemaChange.h"
#include "engine/sql/Dialect.h"
#include "testutils/Fehlernummer.h"
#include "testutils/SqliteFile.h"
#include "testutils/TempDir.h"

#include <QtTest>
#include <functional>
#include <sqlite3.h>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {
// Reads a value with plain SQLite, the way any other tool sees the file.
QString rohWert(const QString& pfad, const char* sql)
{
    const kv::test::SqliteFile db(pfad, SQLITE_OPEN_READONLY);
    sqlite3_stmt* st = nullptr;
    QString wert = QStringLiteral("<Fehler>");
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        wert = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return wert;
}

std::unique_ptr<TableDef> kundenTabelle(Database& db)
{
    auto t = db.createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    auto name = t->createField(QStringLiteral("Name"), dbText, 40);
    name->setRequired(true);
    t->fields().append(std::move(name));
    t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
    auto aktiv = t->createField(QStringLiteral("Aktiv"), dbBoolean);
    aktiv->setDefaultValue(QStringLiteral("-1"));
    t->fields().append(std::move(aktiv));
    auto ix = t->createIndex(QStringLiteral("PrimaryKey"));
    ix->appendField(QStringLiteral("ID"));
    ix->setPrimary(true);
    t->indexes().append(std::move(ix));
    return t;
}
// Kunden 1:n Auftraege(KundeID), enforced with cascading deletes.
std::unique_ptr<Database> kundenMitAuftraegen(Workspace& ws, const QString& pfad)
{
    auto db = ws.createDatabase(pfad);
    db->tableDefs().append(kundenTabelle(*db));
    auto t = db->createTableDef(QStringLiteral("Auftraege"));
    t->fields().append(t->createField(QStringLiteral("KundeID"), dbLong));
    db->tableDefs().append(std::move(t));
    auto r = db->createRelation(QStringLiteral("KundenAuftraege"), QStringLiteral("Kunden"),
        QStringLiteral("Auftraege"), dbRelationDeleteCascade);
    r->appendField(QStringLiteral("ID"), QStringLiteral("KundeID"));
    db->relations().append(std::move(r));
    return db;
}
} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTypeRoundTrips();
    void catalogTablesCarryTheSystemAttribute();
    void unknownNamesAreItemNotFound();
    void storedFieldsRefuseTypeSizeAndAttributeChanges();
    void fieldsAreAppendedAndDeletedOnTablesWithData();
    void renamingKeepsRulesAndRelations();
    void uniqueIndexOverDuplicatesLeavesNothing();
    void tableWithoutFieldsIsRefused();
    void transactionRollbackRestoresDataAndSchema();
    void secondBeginTransIsAnError();
    void propertiesAndVersion();
    void newTableServesQueriesAndRules();
    void changesRemakeOnlyWhatTheyReach();
    void schemaStatementsReachTheirTable_data();
    void schemaStatementsReachTheirTable();
    void fieldIsReplacedWithItsIndexesAndRelations();
};

void TestSchema::everyTypeRoundTrips()
{
    kv::test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("typen.kdb"));
    Workspace ws;
    {
        auto db = ws.createDatabase(
            pfad, QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0"), dbVersion30);
        auto t = db->createTableDef(QStringLiteral("Alles"));
        const int typen[] = { dbBoolean, dbByte, dbInteger, dbLong, dbCurrency, dbSingle, dbDouble,
            dbDate, dbText, dbLongBinary, dbMemo };
        int n = 0;
        for (int typ : typen) {
            auto f = t->createField(QStringLiteral("F%1").arg(typ), typ, typ == dbText ? 77 : -1);
            f->setRequired(typ == dbByte);
            f->setAllowZeroLength(typ == dbText);
            f->setValidationText(QStringLiteral("Text %1").arg(typ));
            if (typ == dbLong)
                f->setValidationRule(QStringLiteral("> 0"));
            if (typ == dbInteger)
                f->setDefaultValue(QStringLiteral("7"));
            t->fields().append(std::move(f));
            ++n;
        }
        db->tableDefs().append(std::move(t));
    }
    auto db = ws.openDatabase(pfad);
    TableDef& t = db->tableDefs().item(QStringLiteral("alles"));
    QCOMPARE(t.fields().count(), 11);
    QVERIFY(t.dateCreated().isValid());
    QVERIFY(t.lastUpdated() >= t.dateCreated());
    QCOMPARE(t.fields().item(QStringLiteral("F10")).size(), 77);
    QCOMPARE(t.fields().item(QStringLiteral("F10")).type(), int(dbText));
    QVERIFY(t.fields().item(QStringLiteral("F10")).allowZeroLength());
    QCOMPARE(t.fields().item(QStringLiteral("F12")).type(), int(dbMemo));
    QCOMPARE(t.fields().item(QStringLiteral("F5")).size(), 8);
    QCOMPARE(t.fields().item(QStringLiteral("F3")).defaultValue(), QStringLiteral("7"));
    QCOMPARE(t.fields().item(QStringLiteral("F4")).validationRule(), QStringLiteral("> 0"));
    QCOMPARE(t.fields().item(QStringLiteral("F4")).validationText(), QStringLiteral("Text 4"));
    QVERIFY(t.fields().item(QStringLiteral("F2")).required());
    QVERIFY(!t.fields().item(QStringLiteral("F1")).required());
    QCOMPARE(t.fields().item(QStringLiteral("F12")).attributes() & dbVariableField,
        int(dbVariableField));
    QCOMPARE(t.fields().item(QStringLiteral("F7")).attributes() & dbFixedField, int(dbFixedField));
    for (int i = 0; i < t.fields().count(); ++i)
        QCOMPARE(t.fields().item(i).ordinalPosition(), i);
    QCOMPARE(db->property(QStringLiteral("VersionOption")).toInt(), int(dbVersion30));

    // Any SQLite tool sees the type in the declared column type.
    const QString decl
        = rohWert(pfad, "SELECT type FROM pragma_table_info('Alles') WHERE name = 'F10'");
    QVERIFY2(decl.startsWith(QLatin1String("VARCHAR(77)")), qPrintable(decl));

    // Values come back typed.
    auto rs = db->openRecordset(QStringLiteral("Alles"));
    rs->addNew();
    QCOMPARE(rs->value(QStringLiteral("F3")).toInt(), 7);
    rs->setValue(QStringLiteral("F1"), true);
    rs->setValue(QStringLiteral("F2"), 200);
    rs->setValue(QStringLiteral("F4"), 5);
    rs->setValue(QStringLiteral("F5"), 12.345678);
    rs->setValue(QStringLiteral("F8"), QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)));
    rs->setValue(QStringLiteral("F10"), QStringLiteral("00123"));
    rs->setValue(QStringLiteral("F11"), QByteArray("\x00\x01\x02", 3));
    rs->setValue(QStringLiteral("F12"), QStringLiteral("Ärger"));
    rs->update();
    rs->requery();
    QCOMPARE(rs->value(QStringLiteral("F1")).typeId(), int(QMetaType::Bool));
    QCOMPARE(rs->value(QStringLiteral("F1")).toBool(), true);
    QCOMPARE(rs->value(QStringLiteral("F5")).toDouble(), 12.3457);
    QCOMPARE(rs->value(QStringLiteral("F8")).toDateTime(),
        QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)));
    QCOMPARE(rs->value(QStringLiteral("F10")).toString(), QStringLiteral("00123"));
    QCOMPARE(rs->value(QStringLiteral("F11")).toByteArray(), QByteArray("\x00\x01\x02", 3));
    db.reset();
    QCOMPARE(rohWert(pfad, "SELECT typeof(F1) || F1 FROM Alles"), QStringLiteral("integer-1"));
    QCOMPARE(rohWert(pfad, "SELECT F8 FROM Alles"), QStringLiteral("2024-02-29 13:05:09"));
    QCOMPARE(rohWert(pfad, "SELECT typeof(F10) FROM Alles"), QStringLiteral("text"));
}

void TestSchema::catalogTablesCarryTheSystemAttribute()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().append(kundenTabelle(*db));
    QStringList sichtbar;
    int system = 0;
    for (TableDef* t : db->tableDefs().items()) {
        if (t->attributes() & dbSystemObject)
            ++system;
        else
            sichtbar << t->name();
    }
    QCOMPARE(sichtbar, QStringList { QStringLiteral("Kunden") });
    QVERIFY(system >= 5);
    for (TableDef* t : db->tableDefs().items())
        if (t->isSystem())
            QVERIFY(t->name().startsWith(QLatin1String("MSys")));
}

void TestSchema::unknownNamesAreItemNotFound()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().append(kundenTabelle(*db));
    QCOMPARE(
        fehlerNummer([&] { db->tableDefs().item(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    QCOMPARE(
        fehlerNummer([&] { db->queryDefs().item(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    QCOMPARE(
        fehlerNummer([&] { db->relations().item(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    QCOMPARE(fehlerNummer([&] {
        db->tableDefs().item(QStringLiteral("Kunden")).fields().item(QStringLiteral("X"));
    }),
        err::ItemNotFound);
    QCOMPARE(fehlerNummer([&] { db->tableDefs().item(99); }), err::ItemNotFound);
    QCOMPARE(
        fehlerNummer([&] { db->tableDefs().remove(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    QCOMPARE(fehlerNummer([&] { rs->field(QStringLiteral("Nix")); }), err::ItemNotFound);
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("Fehlt")); }), err::NoSuchTable);
    QCOMPARE(fehlerNummer([&] { db->execute(QStringLiteral("UPDATE Fehlt SET a = 1")); }),
        err::NoSuchTable);
    // Malformed SQL names the offending text in the description.
    try {
        db->execute(QStringLiteral("UPDAT Kunden SET Name = 'x'"));
        QFAIL("no error");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), err::SyntaxError);
        QVERIFY2(e.description().contains(QLatin1String("UPDAT")), qPrintable(e.description()));
    }
}

void TestSchema::storedFieldsRefuseTypeSizeAndAttributeChanges()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().append(kundenTabelle(*db));
    Field& name
        = db->tableDefs().item(QStringLiteral("Kunden")).fields().item(QStringLiteral("Name"));
    QCOMPARE(fehlerNummer([&] { name.setType(dbMemo); }), err::InvalidOperation);
    QCOMPARE(fehlerNummer([&] { name.setSize(80); }), err::InvalidOperation);
    QCOMPARE(fehlerNummer([&] { name.setAttributes(dbFixedField); }), err::InvalidOperation);
    QCOMPARE(name.type(), int(dbText));
    QCOMPARE(name.size(), 40);
    // The other properties are stored at once.
    name.setRequired(false);
    name.setValidationRule(QStringLiteral("<> 'X'"));
    name.setValidationText(QStringLiteral("Kein X"));
    name.setDefaultValue(QStringLiteral("'Neu'"));
    db->tableDefs().refresh();
    Field& wieder
        = db->tableDefs().item(QStringLiteral("Kunden")).fields().item(QStringLiteral("Name"));
    QVERIFY(!wieder.required());
    QCOMPARE(wieder.validationText(), QStringLiteral("Kein X"));
    QCOMPARE(wieder.defaultValue(), QStringLiteral("'Neu'"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Umsatz) VALUES (1)"));
    QCOMPARE(db->openRecordset(QStringLiteral("Kunden"))->value(QStringLiteral("Name")).toString(),
        QStringLiteral("Neu"));
}

void TestSchema::fieldsAreAppendedAndDeletedOnTablesWithData()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    auto t = db->createTableDef(QStringLiteral("Daten"));
    t->fields().append(t->createField(QStringLiteral("Text"), dbText, 20));
    db->tableDefs().append(std::move(t));
    for (int i = 0; i < 5; ++i)
        db->execute(QStringLiteral("INSERT INTO Daten (Text) VALUES ('z%1')").arg(i));
    TableDef& d = db->tableDefs().item(QStringLiteral("Daten"));
    auto zaehler = d.createField(QStringLiteral("Nr"), dbLong);
    zaehler->setAttributes(dbAutoIncrField | dbFixedField);
    d.fields().append(std::move(zaehler));
    auto zahl = d.createField(QStringLiteral("Menge"), dbDouble);
    zahl->setDefaultValue(QStringLiteral("2.5"));
    d.fields().append(std::move(zahl));
    d.fields().append(d.createField(QStringLiteral("Weg"), dbInteger));
    QCOMPARE(d.recordCount(), 5);
    d.fields().remove(QStringLiteral("Weg"));
    db->tableDefs().refresh();
    TableDef& neu = db->tableDefs().item(QStringLiteral("Daten"));
    QCOMPARE(neu.fields().count(), 3);
    QVERIFY(neu.fields().item(QStringLiteral("Nr")).isAutoIncrement());
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Daten ORDER BY Nr"));
    QCOMPARE(rs->recordCount(), 5);
    QCOMPARE(rs->value(QStringLiteral("Nr")).toInt(), 1);
    QCOMPARE(rs->value(QStringLiteral("Menge")).toDouble(), 2.5);
    rs->addNew();
    QCOMPARE(rs->value(QStringLiteral("Nr")).toInt(), 6);
    rs->setValue(QStringLiteral("Text"), QStringLiteral("neu"));
    rs->update();
    QCOMPARE(neu.recordCount(), 6);
    // The last field cannot go; a field in an index cannot either.
    auto ix = neu.createIndex(QStringLiteral("TextIx"));
    ix->appendField(QStringLiteral("Text"));
    neu.indexes().append(std::move(ix));
    QCOMPARE(fehlerNummer([&] { neu.fields().remove(QStringLiteral("Text")); }), err::FieldInUse);
    QCOMPARE(neu.fields().count(), 3);
}

void TestSchema::renamingKeepsRulesAndRelations()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenMitAuftraegen(ws, dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().item(QStringLiteral("Kunden")).setName(QStringLiteral("Kundschaft"));
    db->tableDefs()
        .item(QStringLiteral("Auftraege"))
        .fields()
        .item(QStringLiteral("KundeID"))
        .setName(QStringLiteral("Kunde"));
    db->relations().refresh();
    const Relation& rel = db->relations().item(QStringLiteral("KundenAuftraege"));
    QCOMPARE(rel.table(), QStringLiteral("Kundschaft"));
    QCOMPARE(rel.fields().value(0).foreignName, QStringLiteral("Kunde"));
    QCOMPARE(fehlerNummer(
                 [&] { db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES (5)")); }),
        err::IntegrityChild);
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Kundschaft (Umsatz) VALUES (1)"));
    }),
        err::Required);
    // The foreign index of the relation is listed and cannot be deleted on its own.
    Index& fremd = db->tableDefs()
                       .item(QStringLiteral("Auftraege"))
                       .indexes()
                       .item(QStringLiteral("KundenAuftraege"));
    QVERIFY(fremd.foreign());
    QCOMPARE(fehlerNummer([&] {
        db->tableDefs()
            .item(QStringLiteral("Auftraege"))
            .indexes()
            .remove(QStringLiteral("KundenAuftraege"));
    }),
        err::FieldInUse);
}

void TestSchema::uniqueIndexOverDuplicatesLeavesNothing()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().append(kundenTabelle(*db));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Meier')"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('MEIER')"));
    TableDef& t = db->tableDefs().item(QStringLiteral("Kunden"));
    auto ix = t.createIndex(QStringLiteral("NameEindeutig"));
    ix->appendField(QStringLiteral("Name"), true);
    ix->setUnique(true);
    QCOMPARE(fehlerNummer([&] { t.indexes().append(std::move(ix)); }), err::DuplicateKey);
    QCOMPARE(t.indexes().count(), 1);
    t.indexes().refresh();
    QCOMPARE(t.indexes().count(), 1);
    QCOMPARE(
        rohWert(db->name(), "SELECT count(*) FROM sqlite_master WHERE name LIKE '%Eindeutig%'"),
        QStringLiteral("0"));
    // Index properties read back after reopening.
    auto neu = t.createIndex(QStringLiteral("NameSort"));
    neu->appendField(QStringLiteral("Name"), true);
    neu->appendField(QStringLiteral("Umsatz"));
    neu->setIgnoreNulls(true);
    t.indexes().append(std::move(neu));
    t.indexes().refresh();
    Index& gelesen = t.indexes().item(QStringLiteral("namesort"));
    QCOMPARE(gelesen.fields().size(), 2);
    QVERIFY(gelesen.fields()[0].descending);
    QVERIFY(!gelesen.fields()[1].descending);
    QVERIFY(gelesen.ignoreNulls());
    QVERIFY(!gelesen.unique());
    QVERIFY(t.indexes().item(QStringLiteral("PrimaryKey")).primary());
    QCOMPARE(fehlerNummer([&] { gelesen.setUnique(true); }), err::InvalidOperation);
    gelesen.setName(QStringLiteral("NameAbsteigend"));
    t.indexes().refresh();
    QVERIFY(t.indexes().contains(QStringLiteral("NameAbsteigend")));
}

void TestSchema::tableWithoutFieldsIsRefused()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    QCOMPARE(
        fehlerNummer([&] { db->tableDefs().append(db->createTableDef(QStringLiteral("Leer"))); }),
        err::NoFields);
    db->tableDefs().append(kundenTabelle(*db));
    QCOMPARE(fehlerNummer([&] { db->tableDefs().append(kundenTabelle(*db)); }), err::NameExists);
    QCOMPARE(fehlerNummer([&] {
        auto t = kundenTabelle(*db);
        t->setName(QStringLiteral("KUNDEN"));
        db->tableDefs().append(std::move(t));
    }),
        err::NameExists);
}

void TestSchema::transactionRollbackRestoresDataAndSchema()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->tableDefs().append(kundenTabelle(*db));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Alt')"));
    ws.beginTrans();
    db->execute(QStringLiteral("DELETE FROM Kunden"));
    QCOMPARE(db->recordsAffected(), 1);
    auto t = db->createTableDef(QStringLiteral("Neu"));
    t->fields().append(t->createField(QStringLiteral("A")));
    db->tableDefs().append(std::move(t));
    db->tableDefs()
        .item(QStringLiteral("Kunden"))
        .fields()
        .append(db->tableDefs().item(QStringLiteral("Kunden")).createField(QStringLiteral("Mehr")));
    ws.rollback();
    QVERIFY(!db->tableDefs().contains(QStringLiteral("Neu")));
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).fields().count(), 4);
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 1);
    ws.beginTrans();
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Neu')"));
    ws.commitTrans();
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 2);
}

void TestSchema::secondBeginTransIsAnError()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    QCOMPARE(fehlerNummer([&] { ws.commitTrans(); }), err::TransactionNesting);
    QCOMPARE(fehlerNummer([&] { ws.rollback(); }), err::TransactionNesting);
    ws.beginTrans();
    QCOMPARE(fehlerNummer([&] { ws.beginTrans(); }), err::TransactionNesting);
    QCOMPARE(ws.errors().constFirst().number(), err::TransactionNesting);
    ws.commitTrans();

    // Every kind of failure becomes the last error, and stays it while later calls succeed.
    auto t = db->createTableDef(QStringLiteral("T"));
    auto f = t->createField(QStringLiteral("Nr"), dbLong);
    f->setRequired(true);
    t->fields().append(std::move(f));
    db->tableDefs().append(std::move(t));
    const QList<std::pair<int, std::function<void()>>> faelle {
        { err::NoSuchTable, [&] { db->execute(QStringLiteral("DELETE FROM Fehlt")); } },
        { err::NameExists,
            [&] { db->tableDefs().append(db->createTableDef(QStringLiteral("t"))); } },
        { err::Required,
            [&] {
                auto rs = db->openRecordset(QStringLiteral("T"));
                rs->addNew();
                rs->update();
            } },
        { err::TooFewParameters,
            [&] {
                db->createQueryDef(QString(), QStringLiteral("DELETE FROM T WHERE Nr = [x]"))
                    .execute();
            } },
    };
    for (const auto& [nummer, aufruf] : faelle) {
        QCOMPARE(fehlerNummer(aufruf), nummer);
        db->execute(QStringLiteral("DELETE FROM T"));
        QCOMPARE(ws.errors().size(), 1);
        QCOMPARE(ws.errors().constFirst().number(), nummer);
    }
}

void TestSchema::propertiesAndVersion()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    auto db = ws.createDatabase(pfad);
    QCOMPARE(db->version(), QStringLiteral("4.0"));
    QCOMPARE(db->name(), pfad);
    QVERIFY(db->updatable());
    QVERIFY(db->transactions());
    db->setProperty(QStringLiteral("AppTitle"), QStringLiteral("Kunden"));
    QCOMPARE(fehlerNummer([&] { db->setProperty(QStringLiteral("Version"), 1); }),
        err::InvalidOperation);
    db.reset();
    db = ws.openDatabase(pfad, false, true);
    QVERIFY(!db->updatable());
    QCOMPARE(db->property(QStringLiteral("apptitle")).toString(), QStringLiteral("Kunden"));
    QCOMPARE(fehlerNummer([&] { db->property(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    QCOMPARE(fehlerNummer([&] { db->execute(QStringLiteral("DELETE FROM MSysKvProperties")); }),
        err::ReadOnly);
}

// A new table adds only its own rules and the query views it makes possible; the rest stays.
void TestSchema::newTableServesQueriesAndRules()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->createQueryDef(
        QStringLiteral("Bonner"), QStringLiteral("SELECT Name FROM Kunden WHERE Ort = 'Bonn'"));
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("SELECT * FROM Bonner")); }),
        err::NoSuchTable);

    auto t = db->createTableDef(QStringLiteral("Kunden"));
    auto name = t->createField(QStringLiteral("Name"), dbText, 20);
    name->setRequired(true);
    t->fields().append(std::move(name));
    t->fields().append(t->createField(QStringLiteral("Ort"), dbText, 20));
    db->tableDefs().append(std::move(t));
    auto zweite = db->createTableDef(QStringLiteral("Orte"));
    auto plz = zweite->createField(QStringLiteral("PLZ"), dbText, 5);
    plz->setValidationRule(QStringLiteral("Like \"#####\""));
    zweite->fields().append(std::move(plz));
    db->tableDefs().append(std::move(zweite));

    db->execute(QStringLiteral("INSERT INTO Kunden (Name, Ort) VALUES ('Aa', 'Bonn')"));
    QCOMPARE(db->openRecordset(QStringLiteral("SELECT * FROM Bonner"))->recordCount(), 1);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO Kunden (Ort) VALUES ('x')")); }),
        err::Required);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO Orte (PLZ) VALUES ('x')")); }),
        err::ValidationRule);
    db->execute(QStringLiteral("INSERT INTO Orte (PLZ) VALUES ('53111')"));

    // A query over a query stored later becomes usable once the later one is there.
    db->createQueryDef(QStringLiteral("Ueber"), QStringLiteral("SELECT * FROM Spaeter"));
    db->createQueryDef(QStringLiteral("Spaeter"), QStringLiteral("SELECT Name FROM Bonner"));
    QCOMPARE(db->openRecordset(QStringLiteral("SELECT * FROM Ueber"))->recordCount(), 1);
}

// A change to one table makes again its own rules, its relation partners' rules and the views
// over it, and leaves the rest of the database as it was (the same catalog rows).
void TestSchema::schemaStatementsReachTheirTable_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("names");
    const QStringList t { QStringLiteral("T") };
    QTest::newRow("create table") << "CREATE TABLE T (A LONG)" << int(ChangeScope::NewTable) << t;
    QTest::newRow("make-table") << "SELECT * INTO T FROM U" << int(ChangeScope::NewTable) << t;
    QTest::newRow("make-table in another file")
        << "SELECT * INTO T IN 'b.kdb' FROM U" << int(ChangeScope::Everything) << QStringList();
    QTest::newRow("create index") << "CREATE UNIQUE INDEX i ON T (A)" << int(ChangeScope::Tables)
                                  << t;
    QTest::newRow("alter table") << "ALTER TABLE T ADD COLUMN B TEXT(5)" << int(ChangeScope::Tables)
                                 << t;
    QTest::newRow("drop table") << "DROP TABLE T" << int(ChangeScope::Tables) << t;
    // An index alone names no table that SQLite's schema could be asked for beforehand.
    QTest::newRow("drop index") << "DROP INDEX i ON T" << int(ChangeScope::Everything)
                                << QStringList();
    QTest::newRow("no schema statement")
        << "DELETE FROM T" << int(ChangeScope::Everything) << QStringList();
}

void TestSchema::schemaStatementsReachTheirTable()
{
    QFETCH(QString, sql);
    QFETCH(int, scope);
    QFETCH(QStringList, names);
    QStringList reached { QStringLiteral("vorher") };
    QCOMPARE(int(SchemaChange::scopeOf(sql::translate(sql), reached)), scope);
    QCOMPARE(reached, names);
}

void TestSchema::changesRemakeOnlyWhatTheyReach()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    auto db = kundenMitAuftraegen(ws, pfad);
    auto orte = db->createTableDef(QStringLiteral("Orte"));
    auto plz = orte->createField(QStringLiteral("PLZ"), dbText, 5);
    plz->setValidationRule(QStringLiteral("Like \"#####\""));
    orte->fields().append(std::move(plz));
    db->tableDefs().append(std::move(orte));
    db->createQueryDef(QStringLiteral("Liste"), QStringLiteral("SELECT Name FROM Kunden"));
    db->createQueryDef(QStringLiteral("Ueber"), QStringLiteral("SELECT * FROM Liste"));
    db->createQueryDef(QStringLiteral("OrtListe"), QStringLiteral("SELECT PLZ FROM Orte"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Aa')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID) VALUES (1)"));

    const char* unberuehrt = "SELECT group_concat(rowid || name) FROM (SELECT rowid, name FROM "
                             "sqlite_master WHERE tbl_name IN ('Orte', 'OrtListe') ORDER BY name)";
    const char* kundenTrigger = "SELECT group_concat(rowid) FROM sqlite_master WHERE type = "
                                "'trigger' AND tbl_name IN ('Kunden', 'Auftraege')";
    const QString vorher = rohWert(pfad, unberuehrt);
    const QString kundenVorher = rohWert(pfad, kundenTrigger);
    QVERIFY(vorher.contains(QLatin1String("OrtListe")));

    // A new field with a default (the table is rebuilt) and a renamed one.
    TableDef& kunden = db->tableDefs().item(QStringLiteral("Kunden"));
    auto ort = kunden.createField(QStringLiteral("Ort"), dbText, 20);
    ort->setDefaultValue(QStringLiteral("'Bonn'"));
    kunden.fields().append(std::move(ort));
    kunden.fields().item(QStringLiteral("Umsatz")).setName(QStringLiteral("Betrag"));
    auto ix = kunden.createIndex(QStringLiteral("NachOrt"));
    ix->appendField(QStringLiteral("Ort"));
    kunden.indexes().append(std::move(ix));
    db->queryDefs()
        .item(QStringLiteral("Liste"))
        .setSql(QStringLiteral("SELECT Name, Ort FROM Kunden"));

    QCOMPARE(rohWert(pfad, unberuehrt), vorher);
    QVERIFY(rohWert(pfad, kundenTrigger) != kundenVorher);
    auto ueber = db->openRecordset(QStringLiteral("SELECT * FROM Ueber"));
    QCOMPARE(ueber->fieldCount(), 2);
    QCOMPARE(ueber->value(QStringLiteral("Ort")).toString(), QStringLiteral("Bonn"));
    ueber->close();
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID) VALUES (5)"));
    }),
        err::IntegrityChild);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO Kunden (Ort) VALUES ('x')")); }),
        err::Required);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO Orte (PLZ) VALUES ('x')")); }),
        err::ValidationRule);
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE Betrag IS NULL"));
    QCOMPARE(
        db->openRecordset(QStringLiteral("SELECT count(*) FROM Auftraege"))->value(0).toInt(), 0);

    // A dropped relation takes its rules along and leaves the other tables alone.
    db->relations().remove(QStringLiteral("KundenAuftraege"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID) VALUES (5)"));
    QCOMPARE(rohWert(pfad, unberuehrt), vorher);
    db->tableDefs().item(QStringLiteral("Kunden")).setName(QStringLiteral("Kundschaft"));
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("SELECT * FROM Ueber")); }),
        err::NoSuchTable);
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Kundschaft (Betrag) VALUES (1)"));
    }),
        err::Required);
    QCOMPARE(rohWert(pfad, unberuehrt), vorher);

    // Statements of the schema language reach as far as the engine's own changes.
    db->execute(QStringLiteral("INSERT INTO Kundschaft (Name, Betrag) VALUES ('Bb', 2)"));
    db->execute(QStringLiteral("INSERT INTO Kundschaft (Name, Betrag) VALUES ('Cc', 3)"));
    db->execute(QStringLiteral("SELECT Name, Betrag INTO Neu FROM Kundschaft"));
    QCOMPARE(db->recordsAffected(), 2); // the rows copied, as an import reports them
    QCOMPARE(db->tableDefs().item(QStringLiteral("Neu")).recordCount(), 2);
    db->createQueryDef(QStringLiteral("NeuListe"), QStringLiteral("SELECT * FROM Neu"));
    db->execute(QStringLiteral("CREATE INDEX NachName ON Neu (Name)"));
    QVERIFY(rohWert(pfad, "SELECT count(*) FROM sqlite_master WHERE name = 'NeuListe'") == "1");
    db->execute(QStringLiteral("DROP TABLE Neu"));
    QVERIFY(!db->tableDefs().contains(QStringLiteral("Neu")));
    QCOMPARE(rohWert(pfad, unberuehrt), vorher);
}

// A field changes its type the only way stored fields can: a new field takes the data, the
// indexes and the relations, then the old one goes and the new one takes its name, all in one
// transaction; a rollback halfway leaves the table as it was.
void TestSchema::fieldIsReplacedWithItsIndexesAndRelations()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenMitAuftraegen(ws, dir.file(QStringLiteral("a.kdb")));
    TableDef& t = db->tableDefs().item(QStringLiteral("Auftraege"));
    t.fields().append(t.createField(QStringLiteral("Zeichen"), dbText, 10));
    auto ix = t.createIndex(QStringLiteral("NachZeichen"));
    ix->appendField(QStringLiteral("Zeichen"), true);
    ix->setUnique(true);
    t.indexes().append(std::move(ix));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Aa')"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Bb')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID, Zeichen) VALUES (1, 'A-1')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID, Zeichen) VALUES (2, 'B-1')"));

    auto ersetze = [&](const QString& feld, int typ, int groesse, bool festschreiben) {
        TableDef& tabelle = db->tableDefs().item(QStringLiteral("Auftraege"));
        const QString temp = feld + QLatin1Char('1');
        ws.beginTrans();
        tabelle.fields().append(tabelle.createField(temp, typ, groesse));
        db->execute(
            QStringLiteral("UPDATE [Auftraege] SET [%1] = [%2]").arg(temp, feld), dbFailOnError);
        for (Index* alt : tabelle.indexes().items()) {
            if (alt->foreign())
                continue;
            auto neu = tabelle.createIndex(alt->name());
            bool betroffen = false;
            for (const IndexField& f : alt->fields()) {
                betroffen = betroffen || f.name == feld;
                neu->appendField(f.name == feld ? temp : f.name, f.descending);
            }
            if (!betroffen)
                continue;
            neu->setUnique(alt->unique());
            tabelle.indexes().remove(alt->name());
            tabelle.indexes().append(std::move(neu));
        }
        for (Relation* alt : db->relations().items()) {
            auto neu = db->createRelation(
                alt->name(), alt->table(), alt->foreignTable(), alt->attributes());
            bool betroffen = false;
            for (const RelationField& f : alt->fields()) {
                betroffen = betroffen || f.foreignName == feld;
                neu->appendField(f.name, f.foreignName == feld ? temp : f.foreignName);
            }
            if (!betroffen)
                continue;
            db->relations().remove(alt->name());
            db->relations().append(std::move(neu));
        }
        if (!festschreiben) {
            ws.rollback();
            return;
        }
        tabelle.fields().remove(feld);
        tabelle.fields().item(temp).setName(feld);
        ws.commitTrans();
    };

    ersetze(QStringLiteral("Zeichen"), dbText, 50, false);
    db->tableDefs().refresh();
    QCOMPARE(db->tableDefs().item(QStringLiteral("Auftraege")).fields().count(), 2);
    QCOMPARE(db->tableDefs()
                 .item(QStringLiteral("Auftraege"))
                 .fields()
                 .item(QStringLiteral("Zeichen"))
                 .size(),
        10);
    QCOMPARE(db->tableDefs()
                 .item(QStringLiteral("Auftraege"))
                 .indexes()
                 .item(QStringLiteral("NachZeichen"))
                 .fields()
                 .value(0)
                 .name,
        QStringLiteral("Zeichen"));

    ersetze(QStringLiteral("Zeichen"), dbText, 50, true);
    ersetze(QStringLiteral("KundeID"), dbDouble, 0, true);
    db->tableDefs().refresh();
    db->relations().refresh();
    TableDef& auftraege = db->tableDefs().item(QStringLiteral("Auftraege"));
    QCOMPARE(auftraege.fields().item(QStringLiteral("Zeichen")).size(), 50);
    QCOMPARE(auftraege.fields().item(QStringLiteral("KundeID")).type(), int(dbDouble));
    const Index& nachZeichen = auftraege.indexes().item(QStringLiteral("NachZeichen"));
    QVERIFY(nachZeichen.unique());
    QCOMPARE(nachZeichen.fields().value(0).name, QStringLiteral("Zeichen"));
    QVERIFY(nachZeichen.fields().value(0).descending);
    const Relation& rel = db->relations().item(QStringLiteral("KundenAuftraege"));
    QCOMPARE(rel.fields().value(0).foreignName, QStringLiteral("KundeID"));
    QVERIFY(auftraege.indexes().item(QStringLiteral("KundenAuftraege")).foreign());

    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Auftraege ORDER BY Zeichen"));
    QCOMPARE(rs->recordCount(), 2);
    QCOMPARE(rs->value(QStringLiteral("Zeichen")).toString(), QStringLiteral("A-1"));
    QCOMPARE(rs->value(QStringLiteral("KundeID")).toDouble(), 1.0);
    rs->close();
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID, Zeichen) VALUES (1, 'A-1')"));
    }),
        err::DuplicateKey);
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Auftraege (KundeID, Zeichen) VALUES (9, 'X')"));
    }),
        err::IntegrityChild);
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 2"));
    QCOMPARE(auftraege.recordCount(), 1);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
