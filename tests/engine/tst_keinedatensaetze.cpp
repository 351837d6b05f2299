// A statement that gives no rows, opened as a record set or asked for its first row, is refused
// with the same message naming the statement.

#include "engine/Engine.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;

class TestKeineDatensaetze : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void abgelehnt_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("ersteZeile");
        QTest::newRow("Datensatzgruppe, Löschabfrage")
            << QStringLiteral("DELETE * FROM Kunden WHERE Nr = 1") << false;
        QTest::newRow("Datensatzgruppe, Tabelle anlegen")
            << QStringLiteral("CREATE TABLE Neu (A LONG)") << false;
        QTest::newRow("erste Zeile, Aktualisierung")
            << QStringLiteral("UPDATE Kunden SET Name = 'x'") << true;
        QTest::newRow("erste Zeile, Löschabfrage")
            << QStringLiteral("DELETE * FROM Kunden") << true;
    }

    void abgelehnt()
    {
        QFETCH(QString, sql);
        QFETCH(bool, ersteZeile);
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG, Name TEXT(20))"));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (1, 'Meier')"));
        try {
            if (ersteZeile)
                db->firstRow(sql);
            else
                db->openRecordset(sql);
            QFAIL("nicht abgelehnt");
        } catch (const EngineError& e) {
            QCOMPARE(e.number(), 3219);
            QCOMPARE(
                e.description(), QStringLiteral("Die Anweisung liefert keine Datensätze: ") + sql);
        }
        // Nothing ran.
        QCOMPARE(db->firstRow(QStringLiteral("SELECT count(*) & Name FROM Kunden")),
            QVariantList({ QStringLiteral("1Meier") }));
    }
};

QTEST_GUILESS_MAIN(TestKeineDatensaetze)
#include "tst_keinedatensaetze.moc"
