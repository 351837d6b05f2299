#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;
using kv::test::auftragsDb;
using kv::test::fehlerNummer;

namespace {
int anzahl(Database& db, const QString& sql)
{
    return db.openRecordset(sql)->value(0).toInt();
}
} // namespace

class TestRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enforcedRelationRefusesOrphans();
    void cascadesReachEveryWriter_data();
    void cascadesReachEveryWriter();
    void violatingDataRefusesTheRelation();
    void unenforcedRelationStoresJoinFlags();
    void validationRulesWithImpliedField_data();
    void validationRulesWithImpliedField();
    void brokenRuleIsRefusedAndNothingChanges();
};

void TestRules::enforcedRelationRefusesOrphans()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = auftragsDb(ws, dir.file(QStringLiteral("a.kdb")), 0);
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('X')"));
    }),
        err::IntegrityChild);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("DELETE FROM Kunden WHERE Nr = 'A'")); }),
        err::IntegrityParent);
    QCOMPARE(fehlerNummer(
                 [&] { db->execute(QStringLiteral("UPDATE Kunden SET Nr = 'C' WHERE Nr = 'A'")); }),
        err::IntegrityParent);
    // A parent without children can go; a record set gets the same answers.
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE Nr = 'B'"));
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    QCOMPARE(fehlerNummer([&] { rs->remove(); }), err::IntegrityParent);
    QCOMPARE(rs->value(0).toString(), QStringLiteral("A"));
    auto auftraege = db->openRecordset(QStringLiteral("Auftraege"));
    auftraege->addNew();
    auftraege->setValue(QStringLiteral("Kunde"), QStringLiteral("Z"));
    QCOMPARE(fehlerNummer([&] { auftraege->update(); }), err::IntegrityChild);
    QCOMPARE(auftraege->editMode(), int(dbEditAdd));
    auftraege->setValue(QStringLiteral("Kunde"), QStringLiteral("A"));
    auftraege->update();
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Auftraege")), 4);
}

void TestRules::cascadesReachEveryWriter_data()
{
    QTest::addColumn<bool>("mitDatensatzgruppe");
    QTest::newRow("sql") << false;
    QTest::newRow("datensatzgruppe") << true;
}

void TestRules::cascadesReachEveryWriter()
{
    QFETCH(bool, mitDatensatzgruppe);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = auftragsDb(ws, dir.file(QStringLiteral("a.kdb")),
        dbRelationUpdateCascade | dbRelationDeleteCascade | dbRelationLeft);
    if (mitDatensatzgruppe) {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE Nr = 'A'"));
        rs->edit();
        rs->setValue(QStringLiteral("Nr"), QStringLiteral("C"));
        rs->update();
    } else {
        db->execute(QStringLiteral("UPDATE Kunden SET Nr = 'C' WHERE Nr = 'A'"));
    }
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Auftraege WHERE Kunde = 'C'")), 2);
    if (mitDatensatzgruppe) {
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE Nr = 'C'"));
        rs->remove();
    } else {
        db->execute(QStringLiteral("DELETE FROM Kunden WHERE Nr = 'C'"));
    }
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Auftraege")), 1);
    // Inside a transaction the cascade is undone with the rest.
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('B')"));
    ws.beginTrans();
    db->execute(QStringLiteral("DELETE FROM Kunden"));
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Auftraege")), 1);
    ws.rollback();
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Auftraege")), 2);
}

void TestRules::violatingDataRefusesTheRelation()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = auftragsDb(ws, dir.file(QStringLiteral("a.kdb")), dbRelationDontEnforce);
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('X')"));
    auto r = db->createRelation(
        QStringLiteral("Streng"), QStringLiteral("Kunden"), QStringLiteral("Auftraege"));
    r->appendField(QStringLiteral("Nr"), QStringLiteral("Kunde"));
    QCOMPARE(fehlerNummer([&] { db->relations().append(std::move(r)); }), err::IntegrityChild);
    db->relations().refresh();
    QCOMPARE(db->relations().count(), 1);
    QVERIFY(!db->tableDefs()
                 .item(QStringLiteral("Auftraege"))
                 .indexes()
                 .contains(QStringLiteral("Streng")));
    auto falsch = db->createRelation(
        QStringLiteral("Falsch"), QStringLiteral("Kunden"), QStringLiteral("Auftraege"));
    falsch->appendField(QStringLiteral("Nr"), QStringLiteral("Gibtsnicht"));
    QCOMPARE(fehlerNummer([&] { db->relations().append(std::move(falsch)); }), err::ItemNotFound);
}

void TestRules::unenforcedRelationStoresJoinFlags()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    const qint64 flags
        = dbRelationDontEnforce | dbRelationRight | dbRelationUnique | dbRelationInherited;
    auftragsDb(ws, pfad, flags);
    auto db = ws.openDatabase(pfad);
    const Relation& r = db->relations().item(QStringLiteral("kundeauftrag"));
    QCOMPARE(r.attributes(), flags);
    QCOMPARE(r.table(), QStringLiteral("Kunden"));
    QCOMPARE(r.foreignTable(), QStringLiteral("Auftraege"));
    QCOMPARE(r.fields().size(), 1);
    QCOMPARE(r.fields()[0].foreignName, QStringLiteral("Kunde"));
    QCOMPARE(
        fehlerNummer([&] { db->relations().item(0).setAttributes(0); }), err::InvalidOperation);
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('X')"));
    db->relations().remove(QStringLiteral("KundeAuftrag"));
    QCOMPARE(db->relations().count(), 0);
    QVERIFY(!db->tableDefs()
                 .item(QStringLiteral("Auftraege"))
                 .indexes()
                 .contains(QStringLiteral("KundeAuftrag")));
}

void TestRules::validationRulesWithImpliedField_data()
{
    QTest::addColumn<QString>("regel");
    QTest::addColumn<int>("gut");
    QTest::addColumn<int>("schlecht");
    QTest::newRow("vergleich") << QStringLiteral("> 0") << 5 << 0;
    QTest::newRow("zwischen") << QStringLiteral("Between 1 And 9") << 9 << 10;
    QTest::newRow("in") << QStringLiteral("In (1, 2, 3)") << 2 << 4;
    QTest::newRow("ausdruck") << QStringLiteral("[Menge] <> 7") << 6 << 7;
    QTest::newRow("verknuepft") << QStringLiteral(">= 0 And < 100") << 99 << 100;
}

void TestRules::validationRulesWithImpliedField()
{
    QFETCH(QString, regel);
    QFETCH(int, gut);
    QFETCH(int, schlecht);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    auto t = db->createTableDef(QStringLiteral("Posten"));
    auto menge = t->createField(QStringLiteral("Menge"), dbLong);
    menge->setValidationRule(regel);
    t->fields().append(std::move(menge));
    db->tableDefs().append(std::move(t));
    db->execute(QStringLiteral("INSERT INTO Posten (Menge) VALUES (%1)").arg(gut));
    try {
        db->execute(QStringLiteral("INSERT INTO Posten (Menge) VALUES (%1)").arg(schlecht));
        QFAIL("rule not enforced");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), err::ValidationRule);
        QVERIFY2(e.description().contains(regel), qPrintable(e.description()));
    }
    QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Posten")), 1);
}

void TestRules::brokenRuleIsRefusedAndNothingChanges()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = auftragsDb(ws, dir.file(QStringLiteral("a.kdb")), 0);
    Field& f
        = db->tableDefs().item(QStringLiteral("Auftraege")).fields().item(QStringLiteral("Kunde"));
    QVERIFY(fehlerNummer([&] { f.setValidationRule(QStringLiteral("> > (")); }) != 0);
    QCOMPARE(f.validationRule(), QString());
    // The triggers are all still there: integrity still holds.
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('X')"));
    }),
        err::IntegrityChild);
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
