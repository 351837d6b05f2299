// Files of the previous engine converted into a database of our own: tables, types, data,
// indexes, relations and stored queries, the original left untouched.

#include "engine/Engine.h"
#include "engine/JetConversion.h"
#include "testutils/TempDir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kv::engine;

namespace {

/// A copy of a test-data file in the test's folder.
QString kopie(const kv::test::TempDir& dir, const QString& relativ)
{
    const QString ziel = dir.file(QFileInfo(relativ).fileName());
    if (!QFile::copy(kv::test::testdataDir() + QStringLiteral("/mdb/") + relativ, ziel))
        return QString();
    QFile(ziel).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ziel;
}

QByteArray pruefsumme(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QVariant wert(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->eof() ? QVariant() : rs->value(0);
}

struct Umgewandelt {
    JetConversionResult ergebnis;
    std::unique_ptr<Database> db;
};

Umgewandelt umwandeln(Workspace& ws, const QString& quelle)
{
    Umgewandelt u;
    u.ergebnis = JetConversion::run(ws, quelle, JetConversion::freeTargetName(quelle));
    u.db = ws.openDatabase(u.ergebnis.target);
    return u;
}

} // namespace

class TestJetUmwandlung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void northwind_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<bool>("mitUmsaetzen");
        QTest::newRow("Jet 3") << "mdbtools_mdbtestdata/nwind.mdb" << true;
        QTest::newRow("Jet 4") << "statdata_Northwind-Databse/Northwind.mdb" << false;
    }

    void northwind()
    {
        QFETCH(QString, datei);
        QFETCH(bool, mitUmsaetzen);
        kv::test::TempDir dir;
        const QString quelle = kopie(dir, datei);
        QVERIFY(!quelle.isEmpty());
        const QByteArray vorher = pruefsumme(quelle);
        Workspace ws;
        Umgewandelt u = umwandeln(ws, quelle);
        QCOMPARE(pruefsumme(quelle), vorher);
        QCOMPARE(QFileInfo(u.ergebnis.target).dir(), QFileInfo(quelle).dir());

        const QList<std::pair<const char*, int>> zeilen { { "Categories", 8 }, { "Customers", 91 },
            { "Employees", 9 }, { "Order Details", 2155 }, { "Orders", 830 }, { "Products", 77 },
            { "Shippers", 3 }, { "Suppliers", 29 } };
        for (const auto& [tabelle, anzahl] : zeilen)
            QCOMPARE(u.db->tableDefs().item(QString::fromUtf8(tabelle)).recordCount(), anzahl);
        QCOMPARE(u.db->tableDefs().contains(QStringLiteral("Umsätze")), mitUmsaetzen);

        auto kunde = u.db->openRecordset(
            QStringLiteral("SELECT * FROM Customers WHERE CustomerID = 'ALFKI'"));
        QCOMPARE(kunde->value(QStringLiteral("CompanyName")).toString(),
            QStringLiteral("Alfreds Futterkiste"));
        QCOMPARE(
            kunde->value(QStringLiteral("Address")).toString(), QStringLiteral("Obere Str. 57"));
        QCOMPARE(kunde->value(QStringLiteral("Phone")).toString(), QStringLiteral("030-0074321"));
        auto auftrag
            = u.db->openRecordset(QStringLiteral("SELECT * FROM Orders WHERE OrderID = 10330"));
        QCOMPARE(auftrag->value(QStringLiteral("CustomerID")).toString(), QStringLiteral("LILAS"));
        QCOMPARE(auftrag->value(QStringLiteral("OrderDate")).toDate(), QDate(1994, 11, 16));
        QCOMPARE(auftrag->value(QStringLiteral("Freight")).toDouble(), 12.75);

        // Types and sizes of the fields.
        TableDef& kunden = u.db->tableDefs().item(QStringLiteral("Customers"));
        QCOMPARE(kunden.fields().item(QStringLiteral("CompanyName")).type(), int(dbText));
        QCOMPARE(kunden.fields().item(QStringLiteral("CompanyName")).size(), 40);
        TableDef& artikel = u.db->tableDefs().item(QStringLiteral("Products"));
        QCOMPARE(artikel.fields().item(QStringLiteral("UnitPrice")).type(), int(dbCurrency));
        QCOMPARE(artikel.fields().item(QStringLiteral("Discontinued")).type(), int(dbBoolean));
        QVERIFY(artikel.fields().item(QStringLiteral("ProductID")).attributes() & dbAutoIncrField);

        // Indexes and relations; the relation is enforced in the new file too.
        bool primaer = false;
        for (Index* ix : kunden.indexes().items())
            primaer = primaer || (ix->primary() && ix->fields().constFirst().name == "CustomerID");
        QVERIFY(primaer);
        QCOMPARE(u.ergebnis.relations, 7);
        Relation& r = u.db->relations().item(QStringLiteral("CustomersOrders"));
        QCOMPARE(r.table(), QStringLiteral("Customers"));
        QCOMPARE(r.foreignTable(), QStringLiteral("Orders"));
        QCOMPARE(r.attributes() & dbRelationUpdateCascade, qint64(dbRelationUpdateCascade));
        bool abgelehnt = false;
        try {
            u.db->execute(QStringLiteral("DELETE FROM Customers WHERE CustomerID = 'ALFKI'"));
        } catch (const EngineError& e) {
            abgelehnt = e.number() == err::IntegrityParent;
        }
        QVERIFY(abgelehnt);

        // Every stored query is there: taken over or kept as text.
        QCOMPARE(u.ergebnis.queries + u.ergebnis.keptQueries.size(), 22);
        QVERIFY(u.ergebnis.queries > 0);
        QVERIFY(u.db->queryDefs().contains(QStringLiteral("Invoices")));
        if (!u.ergebnis.keptQueries.isEmpty())
            QCOMPARE(wert(*u.db,
                         QStringLiteral("SELECT count(*) FROM [") + JetConversion::KeptQueriesTable
                             + QLatin1Char(']'))
                         .toInt(),
                u.ergebnis.keptQueries.size());
    }

    void jackcessDateien()
    {
        kv::test::TempDir dir;
        Workspace ws;
        {
            Umgewandelt u
                = umwandeln(ws, kopie(dir, QStringLiteral("jahlborn_jackcess/testV1997.mdb")));
            QCOMPARE(u.ergebnis.tables, 4);
            TableDef& t = u.db->tableDefs().item(QStringLiteral("Table1"));
            QCOMPARE(t.fields().count(), 9);
            const int typen[] = { dbText, dbText, dbByte, dbInteger, dbLong, dbDouble, dbDate,
                dbCurrency, dbBoolean };
            for (int i = 0; i < 9; ++i)
                QCOMPARE(t.fields().item(i).type(), typen[i]);
            QCOMPARE(t.fields().item(0).size(), 50);
            QCOMPARE(t.fields().item(1).size(), 100);
            auto rs
                = u.db->openRecordset(QStringLiteral("SELECT * FROM Table1 WHERE A = 'abcdefg'"));
            QCOMPARE(rs->value(QStringLiteral("E")).toInt(), 333333333);
            QCOMPARE(rs->value(QStringLiteral("F")).toDouble(), 444.555);
            QCOMPARE(rs->value(QStringLiteral("G")).toDate(), QDate(1974, 9, 21));
            QCOMPARE(rs->value(QStringLiteral("H")).toDouble(), 3.5);
            QCOMPARE(rs->value(QStringLiteral("I")).toBool(), true);
            QCOMPARE(u.db->tableDefs().item(QStringLiteral("Table2")).fields().count(), 89);
        }
        {
            Umgewandelt u
                = umwandeln(ws, kopie(dir, QStringLiteral("jahlborn_jackcess/delTestV1997.mdb")));
            QCOMPARE(u.db->tableDefs().item(QStringLiteral("Table")).recordCount(), 2);
        }
        {
            Umgewandelt u
                = umwandeln(ws, kopie(dir, QStringLiteral("jahlborn_jackcess/indexTestV1997.mdb")));
            Relation& r = u.db->relations().item(QStringLiteral("Table2Table1"));
            QCOMPARE(r.table(), QStringLiteral("Table2"));
            QCOMPARE(r.foreignTable(), QStringLiteral("Table1"));
            QCOMPARE(r.fields().constFirst().name, QStringLiteral("id"));
            QCOMPARE(r.fields().constFirst().foreignName, QStringLiteral("otherfk1"));
            QCOMPARE(r.attributes() & dbRelationDeleteCascade, qint64(dbRelationDeleteCascade));
            QCOMPARE(u.db->relations().item(QStringLiteral("Table3Table1")).attributes()
                    & dbRelationUpdateCascade,
                qint64(dbRelationUpdateCascade));
        }
        {
            // Pass-through and data-definition texts are no statements of ours: kept as text.
            Umgewandelt u
                = umwandeln(ws, kopie(dir, QStringLiteral("jahlborn_jackcess/queryTestV1997.mdb")));
            QCOMPARE(u.ergebnis.queries + u.ergebnis.keptQueries.size(), 9);
            QVERIFY(u.ergebnis.keptQueries.contains(QStringLiteral("PassthroughQuery")));
            QVERIFY(u.ergebnis.keptQueries.contains(QStringLiteral("DataDefinitionQuery")));
            QVERIFY(u.db->queryDefs().contains(QStringLiteral("SelectQuery")));
            auto kept = u.db->openRecordset(QStringLiteral("SELECT SQL FROM [")
                + JetConversion::KeptQueriesTable
                + QStringLiteral("] WHERE Name = 'PassthroughQuery'"));
            QVERIFY(kept->value(0).toString().startsWith(QStringLiteral("ALTER TABLE Table4")));
        }
    }

    void weitereQuellen_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("abfrage");
        QTest::addColumn<QVariant>("erwartet");
        // The header's encoding is read through; the values are the plain ones.
        QTest::newRow("jackcess-encrypt Jet 4")
            << "jahlborn_jackcessencrypt/db-enc.mdb"
            << "SELECT col1 & '/' & col2 FROM Table1 WHERE ID = 2" << QVariant("world/42");
        QTest::newRow("jackcess-encrypt Jet 3")
            << "jahlborn_jackcessencrypt/db97-enc.mdb"
            << "SELECT col1 & '/' & col2 FROM Table1 WHERE ID = 1" << QVariant("hello/0");
        QTest::newRow("mdb-reader")
            << "andipaetzold_mdb-reader/V2000_no-password.mdb"
            << "SELECT count(*) & ':' & Min(Data) FROM Table1" << QVariant("3:One");
        QTest::newRow("jackcess gelöschte Spalten")
            << "jahlborn_jackcess/delColTestV1997.mdb"
            << "SELECT count(*) & ':' & Max(id2) & ':' & Max(data2) FROM Table1"
            << QVariant("2:5:foo2");
        QTest::newRow("jackcess Unicode")
            << "jahlborn_jackcess/testUnicodeCompV2003.mdb"
            << "SELECT [Unicode] FROM [Table] WHERE ID = 3" << QVariant("Мир");
        QTest::newRow("jackcess Festkomma")
            << "jahlborn_jackcess/fixedNumericTestV2000.mdb"
            << "SELECT col1 & ':' & col2 & ':' & col6 FROM test" << QVariant("some data:1:-1");
        QTest::newRow("jackcess Überlaufzeilen") << "jahlborn_jackcess/overflowTestV1997.mdb"
                                                 << "SELECT count(*) FROM Table1" << QVariant(7);
        QTest::newRow("jackcess lange Werte")
            << "jahlborn_jackcess/test2V1997.mdb"
            << "SELECT PROJ_PROP_COMPANY & ':' & Len(PROJ_PROP_AUTHOR) FROM MSP_PROJECTS"
            << QVariant("T:348");
        QTest::newRow("UCanAccess pivot")
            << "spannm_ucanaccess/pivot.mdb"
            << "SELECT count(*) & ':' & Sum(IIf(c_cod = 'pippo', c_val, 0)) FROM t_pivot"
            << QVariant("4:122");
        QTest::newRow("mdbtools Datumswerte")
            << "mdbtools_mdbtestdata/DateTestDatabase.mdb"
            << "SELECT Format(DateTimeCol, 'yyyy-mm-dd') FROM DateTest WHERE IDCol = 2"
            << QVariant("9999-01-01");
    }

    void weitereQuellen()
    {
        QFETCH(QString, datei);
        QFETCH(QString, abfrage);
        QFETCH(QVariant, erwartet);
        kv::test::TempDir dir;
        Workspace ws;
        Umgewandelt u = umwandeln(ws, kopie(dir, datei));
        QCOMPARE(wert(*u.db, abfrage).toString(), erwartet.toString());
    }

    void feldgroesse()
    {
        kv::test::TempDir dir;
        Workspace ws;
        Umgewandelt u = umwandeln(ws, kopie(dir, QStringLiteral("spannm_ucanaccess/size97.mdb")));
        QCOMPARE(u.db->tableDefs()
                     .item(QStringLiteral("table1"))
                     .fields()
                     .item(QStringLiteral("field1"))
                     .size(),
            10);
    }

    void freierNameUeberschreibtNichts()
    {
        kv::test::TempDir dir;
        const QString quelle = kopie(dir, QStringLiteral("jahlborn_jackcess/delTestV1997.mdb"));
        const QString erster = JetConversion::freeTargetName(quelle);
        QCOMPARE(QFileInfo(erster).fileName(), QStringLiteral("delTestV1997 (umgewandelt).mdb"));
        QFile f(erster);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("fremd");
        f.close();
        Workspace ws;
        Umgewandelt u = umwandeln(ws, quelle);
        QCOMPARE(QFileInfo(u.ergebnis.target).fileName(),
            QStringLiteral("delTestV1997 (umgewandelt 2).mdb"));
        QCOMPARE(pruefsumme(erster), QCryptographicHash::hash("fremd", QCryptographicHash::Sha256));
    }

    // A file with a database password converts only with it; a wrong one leaves no file.
    void kennwort()
    {
        kv::test::TempDir dir;
        Workspace ws;
        const QString quelle
            = kopie(dir, QStringLiteral("andipaetzold_mdb-reader/V2003_with-password.mdb"));
        const QString ziel = JetConversion::freeTargetName(quelle);
        for (const QString& falsch : { QString(), QStringLiteral("Password") }) {
            int nummer = 0;
            try {
                JetConversion::run(ws, quelle, ziel, {}, falsch);
            } catch (const EngineError& e) {
                nummer = e.number();
            }
            QCOMPARE(nummer, 3031);
            QVERIFY(!QFileInfo::exists(ziel));
        }
        const JetConversionResult r
            = JetConversion::run(ws, quelle, ziel, {}, QStringLiteral("password"));
        auto db = ws.openDatabase(r.target);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Table1")).toInt(), 3);
    }

    void fehlschlagRaeumtAuf()
    {
        kv::test::TempDir dir;
        Workspace ws;
        // A file cut short: a German message, no half-written file.
        const QString kurz = dir.file(QStringLiteral("kurz.mdb"));
        {
            QFile quelle(
                kv::test::testdataDir() + QStringLiteral("/mdb/mdbtools_mdbtestdata/nwind.mdb"));
            QVERIFY(quelle.open(QIODevice::ReadOnly));
            QFile f(kurz);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(quelle.read(6000));
        }
        QVERIFY(JetConversion::isJetFile(kurz));
        const QString ziel = JetConversion::freeTargetName(kurz);
        bool fehler = false;
        try {
            JetConversion::run(ws, kurz, ziel);
        } catch (const EngineError& e) {
            fehler = e.description().contains(QLatin1String("kurz.mdb"));
        }
        QVERIFY(fehler);
        QVERIFY(!QFileInfo::exists(ziel));

        // Cancelled on the way: the same.
        const QString quelle = kopie(dir, QStringLiteral("jahlborn_jackcess/testV1997.mdb"));
        const QString ziel2 = JetConversion::freeTargetName(quelle);
        int schritte = 0;
        QString meldung;
        try {
            JetConversion::run(
                ws, quelle, ziel2, [&](int, int, const QString&) { return ++schritte < 3; });
        } catch (const EngineError& e) {
            meldung = e.description();
        }
        QCOMPARE(meldung, QStringLiteral("Die Umwandlung wurde abgebrochen."));
        QVERIFY(!QFileInfo::exists(ziel2));
    }
};

QTEST_GUILESS_MAIN(TestJetUmwandlung)
#include "tst_jetumwandlung.moc"
