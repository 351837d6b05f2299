// Tables of foreign files (dBASE, FoxPro, Paradox, Excel) attached to a database: read through
// SQL and record sets, written where the format allows, kept across reopening.

#include "engine/Engine.h"
#include "engine/isam/XlsWorkbook.h"
#include "engine/isam/XlsxWorkbook.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kv::engine;

namespace {

QString testdaten(const QString& relativ)
{
    return qEnvironmentVariable("KV_TESTDATA") + QLatin1Char('/') + relativ;
}

/// The German message of a failing call; empty when it succeeds.
template <class F> QString meldung(F f)
{
    try {
        f();
    } catch (const EngineError& e) {
        return e.description();
    }
    return QString();
}

void einbinden(Database& db, const QString& name, const QString& connect, const QString& quelle)
{
    auto t = db.createTableDef(name);
    t->setConnect(connect);
    t->setSourceTableName(quelle);
    db.tableDefs().append(std::move(t));
}

QVariant wert(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->eof() ? QVariant() : rs->value(0);
}

/// Copies the files of one table (all endings) into a folder of the test.
void kopiere(const QString& quellordner, const QString& basis, const QString& ziel)
{
    const QDir q(quellordner);
    for (const QString& datei :
        q.entryList({ basis + QStringLiteral(".*") }, QDir::Files | QDir::CaseSensitive)) {
        QVERIFY(QFile::copy(q.filePath(datei), QDir(ziel).filePath(datei)));
        QFile(QDir(ziel).filePath(datei))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

/// A folder "fremd" in dir with copies of one table's files of the dBASE test data.
QString fremdOrdner(const kv::test::TempDir& dir, const QString& basis)
{
    const QString ordner = dir.file(QStringLiteral("fremd"));
    QDir().mkpath(ordner);
    kopiere(testdaten(QStringLiteral("dbf/infused_dbf")), basis, ordner);
    return ordner;
}

} // namespace

class TestFremdTabellen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!QFileInfo::exists(testdaten(QStringLiteral("EXPECTED.md"))))
            QSKIP("Testdaten fehlen");
    }

    void lesenUeberSql_data()
    {
        QTest::addColumn<QString>("connect");
        QTest::addColumn<QString>("quelle");
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<QString>("abfrage");
        QTest::addColumn<QVariant>("erwartet");
        const QString dbf = testdaten(QStringLiteral("dbf/infused_dbf/"));
        QTest::newRow("dBASE III mit Memo")
            << QStringLiteral("dBASE III;DATABASE=") + dbf + QLatin1Char(';')
            << QStringLiteral("dbase_83") << 67
            << QStringLiteral("SELECT NAME FROM F WHERE ID = 34")
            << QVariant(QStringLiteral("Apricot Brandy Fruitcake"));
        QTest::newRow("dBASE III Memo")
            << QStringLiteral("dBASE III;DATABASE=") + dbf << QStringLiteral("DBASE_83") << 67
            << QStringLiteral("SELECT Left([DESC], 23) FROM F WHERE rowid = 1")
            << QVariant(QStringLiteral("Our Original assortment"));
        QTest::newRow("dBASE IV") << QStringLiteral("dBASE IV;DATABASE=") + dbf
                                  << QStringLiteral("dbase_8b") << 10
                                  << QStringLiteral("SELECT CHARACTER FROM F WHERE rowid = 1")
                                  << QVariant(QStringLiteral("One"));
        QTest::newRow("FoxPro 2.6 Datum")
            << QStringLiteral("FoxPro 2.6;DATABASE=") + dbf << QStringLiteral("dbase_f5") << 975
            << QStringLiteral("SELECT DATN FROM F WHERE rowid = 4")
            << QVariant(QDateTime(QDate(1870, 6, 30), QTime(0, 0)));
        QTest::newRow("FoxPro 3.0 Ordner")
            << QStringLiteral("FoxPro 3.0;DATABASE=") + dbf + QStringLiteral("foxprodb\\;")
            << QStringLiteral("calls") << 16 << QStringLiteral("SELECT count(*) FROM F")
            << QVariant(16);
        QTest::newRow("Paradox") << QStringLiteral("Paradox 4.x;DATABASE=")
                + testdaten(QStringLiteral("paradox/leonhad_paradoxdriver/fields/"))
                                 << QStringLiteral("bcd") << 3
                                 << QStringLiteral("SELECT * FROM F WHERE rowid = 3")
                                 << QVariant(0.0);
        QTest::newRow("Excel xls")
            << QStringLiteral("Excel 8.0;DATABASE=")
                + testdaten(QStringLiteral("xls/tidyverse_readxl/iris-excel-xls.xls"))
            << QString() << 150
            << QStringLiteral("SELECT count(*) FROM F WHERE [Species] = 'setosa'") << QVariant(50);
    }

    void lesenUeberSql()
    {
        QFETCH(QString, connect);
        QFETCH(QString, quelle);
        QFETCH(int, zeilen);
        QFETCH(QString, abfrage);
        QFETCH(QVariant, erwartet);
        if (quelle.isEmpty()) {
            const QString datei = connect.section(QStringLiteral("DATABASE="), 1);
            quelle = isam::XlsWorkbook(datei).tableNames().first();
        }
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        einbinden(*db, QStringLiteral("F"), connect, quelle);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM F")).toInt(), zeilen);
        QCOMPARE(db->openRecordset(QStringLiteral("F"))->recordCount(), zeilen);
        const QVariant ist = wert(*db, abfrage);
        if (erwartet.typeId() == QMetaType::Int)
            QCOMPARE(ist.toInt(), erwartet.toInt());
        else if (erwartet.typeId() == QMetaType::Double)
            QCOMPARE(ist.toDouble(), erwartet.toDouble());
        else
            QCOMPARE(ist, erwartet);
        TableDef& def = db->tableDefs().item(QStringLiteral("F"));
        QVERIFY(def.attributes() & dbAttachedTable);
        QCOMPARE(def.connect(), connect);
        QCOMPARE(def.sourceTableName(), quelle);
        QVERIFY(def.fields().count() > 0);
    }

    void abfragenUndVerknuepfungen()
    {
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        einbinden(*db, QStringLiteral("Blumen"),
            QStringLiteral("Excel 8.0;DATABASE=")
                + testdaten(QStringLiteral("xls/tidyverse_readxl/iris-excel-xls.xls")),
            isam::XlsWorkbook(testdaten(QStringLiteral("xls/tidyverse_readxl/iris-excel-xls.xls")))
                .tableNames()
                .first());
        db->execute(QStringLiteral("CREATE TABLE Arten (Art TEXT(20), Deutsch TEXT(30))"));
        db->execute(QStringLiteral("INSERT INTO Arten VALUES ('setosa', 'Borsten-Schwertlilie')"));
        db->execute(QStringLiteral("INSERT INTO Arten VALUES ('virginica', 'Virginia-Iris')"));
        auto rs = db->openRecordset(QStringLiteral(
            "SELECT a.Deutsch, Count(*) AS n FROM Blumen AS b INNER JOIN Arten AS a ON "
            "b.Species = a.Art GROUP BY a.Deutsch ORDER BY a.Deutsch"));
        QCOMPARE(rs->value(0).toString(), QStringLiteral("Borsten-Schwertlilie"));
        QCOMPARE(rs->value(1).toInt(), 50);
        rs->moveNext();
        QCOMPARE(rs->value(0).toString(), QStringLiteral("Virginia-Iris"));
        rs->moveNext();
        QVERIFY(rs->eof());
        QCOMPARE(wert(*db,
                     QStringLiteral("SELECT [Sepal.Length] FROM Blumen WHERE Species = 'virginica' "
                                    "ORDER BY [Sepal.Length] DESC"))
                     .toDouble(),
            7.9);
        // A workbook is only read: a write is refused in German and nothing changes.
        const QString fehler = meldung(
            [&] { db->execute(QStringLiteral("DELETE FROM Blumen WHERE Species = 'setosa'")); });
        QVERIFY2(fehler.contains(QStringLiteral("gelöscht")), qPrintable(fehler));
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Blumen")).toInt(), 150);
    }

    void xlsxArbeitsmappe()
    {
        kv::test::TempDir dir;
        const QString mappe = dir.file(QStringLiteral("liste.xlsx"));
        {
            isam::XlsxWorkbook neu(mappe);
            isam::IsamField name;
            name.name = QStringLiteral("Name");
            name.type = dbText;
            name.size = 30;
            isam::IsamField betrag;
            betrag.name = QStringLiteral("Betrag");
            betrag.type = dbDouble;
            auto t = neu.createTable(QStringLiteral("Posten"), { name, betrag });
            t->append({ QStringLiteral("Äpfel"), 2.5 });
            t->append({ QStringLiteral("Birnen"), 4.0 });
            t->flush();
        }
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        einbinden(*db, QStringLiteral("Posten"), QStringLiteral("Excel 5.0;DATABASE=") + mappe,
            QStringLiteral("Posten"));
        QCOMPARE(wert(*db, QStringLiteral("SELECT Sum(Betrag) FROM Posten")).toDouble(), 6.5);
        QCOMPARE(wert(*db, QStringLiteral("SELECT Name FROM Posten ORDER BY Betrag")).toString(),
            QStringLiteral("Äpfel"));
    }

    void dbfSchreibenUndWiederOeffnen()
    {
        kv::test::TempDir dir;
        const QString ordner = fremdOrdner(dir, QStringLiteral("dbase_83"));
        const QString pfad = dir.file(QStringLiteral("a.kdb"));
        const QString connect = QStringLiteral("dBASE III;DATABASE=") + ordner + QLatin1Char('\\');
        Workspace ws;
        {
            auto db = ws.createDatabase(pfad);
            einbinden(*db, QStringLiteral("Artikel"), connect, QStringLiteral("dbase_83"));
            db->execute(QStringLiteral("INSERT INTO Artikel (ID, CODE, NAME, PRICE, TAXABLE, "
                                       "[DESC]) VALUES (900, 'NEU', 'Neuer Artikel', 12.5, True, "
                                       "'Ein Memo')"));
            db->execute(
                QStringLiteral("UPDATE Artikel SET NAME = 'Aprikosenkuchen' WHERE ID = 34"));
            db->execute(QStringLiteral("DELETE FROM Artikel WHERE ID = 87"));
            // Record numbers belong to the file.
            const QString fehler = meldung([&] {
                db->execute(QStringLiteral("UPDATE Artikel SET rowid = 500 WHERE ID = 900"));
            });
            QVERIFY2(fehler.contains(QLatin1String("Datensatznummer")), qPrintable(fehler));
            // A record set edits the file too.
            auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Artikel WHERE ID = 900"));
            rs->edit();
            rs->setValue(QStringLiteral("COST"), 7.25);
            rs->update();
        }
        auto db = ws.openDatabase(pfad);
        QVERIFY(db->attachProblems().isEmpty());
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Artikel")).toInt(), 67);
        QCOMPARE(wert(*db, QStringLiteral("SELECT NAME FROM Artikel WHERE ID = 34")).toString(),
            QStringLiteral("Aprikosenkuchen"));
        QCOMPARE(
            wert(*db, QStringLiteral("SELECT count(*) FROM Artikel WHERE ID = 87")).toInt(), 0);
        auto neu = db->openRecordset(QStringLiteral("SELECT * FROM Artikel WHERE ID = 900"));
        QCOMPARE(neu->value(QStringLiteral("NAME")).toString(), QStringLiteral("Neuer Artikel"));
        QCOMPARE(neu->value(QStringLiteral("PRICE")).toDouble(), 12.5);
        QCOMPARE(neu->value(QStringLiteral("COST")).toDouble(), 7.25);
        QCOMPARE(neu->value(QStringLiteral("TAXABLE")).toBool(), true);
        QCOMPARE(neu->value(QStringLiteral("DESC")).toString(), QStringLiteral("Ein Memo"));
        TableDef& def = db->tableDefs().item(QStringLiteral("Artikel"));
        QCOMPARE(def.connect(), connect);
        QCOMPARE(def.sourceTableName(), QStringLiteral("dbase_83"));

        // Renamed, it still reaches its file, also after reopening.
        neu.reset();
        def.setName(QStringLiteral("Waren"));
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Waren")).toInt(), 67);
        db.reset();
        db = ws.openDatabase(pfad);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Waren WHERE ID = 900")).toInt(), 1);

        // Removing the table leaves its file.
        db->tableDefs().remove(QStringLiteral("Waren"));
        QVERIFY(QFileInfo::exists(QDir(ordner).filePath(QStringLiteral("dbase_83.dbf"))));
        db.reset();
        db = ws.openDatabase(pfad);
        QVERIFY(!db->tableDefs().contains(QStringLiteral("Waren")));
    }

    void fehlendeDateiBeimOeffnen()
    {
        kv::test::TempDir dir;
        const QString ordner = fremdOrdner(dir, QStringLiteral("dbase_03"));
        const QString pfad = dir.file(QStringLiteral("a.kdb"));
        Workspace ws;
        {
            auto db = ws.createDatabase(pfad);
            db->execute(QStringLiteral("CREATE TABLE Lokal (Nr LONG)"));
            db->execute(QStringLiteral("INSERT INTO Lokal VALUES (1)"));
            einbinden(*db, QStringLiteral("Alt"), QStringLiteral("dBASE III;DATABASE=") + ordner,
                QStringLiteral("dbase_03"));
            QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Alt")).toInt(), 14);
        }
        QVERIFY(QFile::remove(QDir(ordner).filePath(QStringLiteral("dbase_03.dbf"))));
        auto db = ws.openDatabase(pfad);
        QCOMPARE(db->attachProblems().size(), 1);
        QVERIFY2(db->attachProblems().first().contains(QLatin1String("dbase_03")),
            qPrintable(db->attachProblems().first()));
        QCOMPARE(wert(*db, QStringLiteral("SELECT Nr FROM Lokal")).toInt(), 1);
        QVERIFY(db->tableDefs().contains(QStringLiteral("Alt")));
        const QString fehler
            = meldung([&] { db->tableDefs().item(QStringLiteral("Alt")).fields(); });
        QVERIFY2(fehler.contains(QLatin1String("dbase_03")), qPrintable(fehler));

        // Brought back, the file is found again without reopening.
        kopiere(testdaten(QStringLiteral("dbf/infused_dbf")), QStringLiteral("dbase_03"), ordner);
        QVERIFY(db->tableDefs().item(QStringLiteral("Alt")).fields().count() > 0);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Alt")).toInt(), 14);

        // Attaching a missing table names it as well.
        const QString neu = meldung([&] {
            einbinden(*db, QStringLiteral("Weg"), QStringLiteral("FoxPro 2.6;DATABASE=") + ordner,
                QStringLiteral("gibtsnicht"));
        });
        QVERIFY2(neu.contains(QLatin1String("gibtsnicht")), qPrintable(neu));
        QVERIFY(!db->tableDefs().contains(QStringLiteral("Weg")));
    }
};

QTEST_GUILESS_MAIN(TestFremdTabellen)
#include "tst_fremdtabellen.moc"
