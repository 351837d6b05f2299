// Statements that name another file with IN '<file>' ['<connect>']: import from and export into
// dBASE folders, Excel workbooks and other databases of our own, through plain SQL.

#include "engine/Engine.h"
#include "engine/isam/DbfFolder.h"
#include "engine/isam/VerificationReport.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace kv::engine;

namespace {

QString testdaten(const QString& relativ)
{
    return kv::test::testdataDir() + QLatin1Char('/') + relativ;
}

template <class F> EngineError fehlerVon(F f)
{
    try {
        f();
    } catch (const EngineError& e) {
        return e;
    }
    return EngineError(0, QString());
}

QVariant wert(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->eof() ? QVariant() : rs->value(0);
}

/// A folder of the test with copies of the dBASE test tables named (all their files).
QString dbaseOrdner(const kv::test::TempDir& dir, const QStringList& tabellen)
{
    const QString ordner = dir.file(QStringLiteral("dbase"));
    QDir().mkpath(ordner);
    const QDir quelle(testdaten(QStringLiteral("dbf/infused_dbf")));
    for (const QString& basis : tabellen)
        for (const QString& datei :
            quelle.entryList({ basis + QStringLiteral(".*") }, QDir::Files)) {
            const QString ziel = QDir(ordner).filePath(datei);
            QFile::copy(quelle.filePath(datei), ziel);
            QFile(ziel).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    return ordner + QLatin1Char('/');
}

/// The system's Python, where the Debian packages of other programs' readers are installed.
QString python()
{
    const QString debian = QStringLiteral("/usr/bin/python3");
    return QFileInfo::exists(debian) ? debian : QStringLiteral("python3");
}

/// A local table with one value of every kind the formats take, and a Null.
void lokaleTabelle(Database& db)
{
    db.execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG, Name TEXT(30), Betrag DOUBLE, "
                              "Seit DATETIME, Aktiv YESNO, Notiz MEMO)"));
    db.execute(QStringLiteral("INSERT INTO Kunden VALUES (1, 'Müller', 12.5, #03/15/2001#, True, "
                              "'erste Zeile')"));
    db.execute(QStringLiteral(
        "INSERT INTO Kunden VALUES (2, 'Schäfer & Söhne', -3.25, #12/31/1999#, False, Null)"));
    db.execute(QStringLiteral("INSERT INTO Kunden VALUES (3, Null, 0, Null, False, 'x')"));
}

} // namespace

class TestExterneReferenzen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!QFileInfo::exists(testdaten(QStringLiteral("EXPECTED.md"))))
            QSKIP("Testdaten fehlen");
    }

    void dbaseImportInNeueTabelle()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir, { QStringLiteral("dbase_83") });
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("SELECT * INTO Artikel FROM [dbase_83] IN '%1' 'dBASE III;'")
                        .arg(ordner));
        QCOMPARE(db->recordsAffected(), 67);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Artikel")).toInt(), 67);
        auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Artikel WHERE ID = 34"));
        QCOMPARE(rs->field(QStringLiteral("NAME")).value().toString(),
            QStringLiteral("Apricot Brandy Fruitcake"));
        QCOMPARE(rs->field(QStringLiteral("PRICE")).value().toDouble(), 37.95);
        QVERIFY(rs->field(QStringLiteral("DESC"))
                    .value()
                    .toString()
                    .startsWith(QStringLiteral("Once tasted you will understand why we won The\r\n"
                                               "Boston Herald's Fruitcake Taste-off.")));
        QCOMPARE(rs->field(QStringLiteral("TAXABLE")).value().toBool(), false);
        rs.reset();
        const QString memo
            = wert(*db, QStringLiteral("SELECT [DESC] FROM Artikel WHERE ID = 87")).toString();
        QVERIFY(memo.startsWith(QStringLiteral("Our Original assortment")));
        QVERIFY(memo.endsWith(QStringLiteral("Plum Squares, Milk chocolate squares, and "
                                             "Raspberry Blanc.")));
        // The new table keeps the kinds of the fields it came from.
        TableDef& t = db->tableDefs().item(QStringLiteral("Artikel"));
        QCOMPARE(t.fields().item(QStringLiteral("NAME")).type(), int(dbText));
        QCOMPARE(t.fields().item(QStringLiteral("DESC")).type(), int(dbMemo));
        QCOMPARE(t.fields().item(QStringLiteral("TAXABLE")).type(), int(dbBoolean));
        // Nothing of the other folder stays attached once the statement is done.
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM pragma_database_list")).toInt(), 2);
    }

    void anfuegenInVorhandeneTabelle()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir, { QStringLiteral("dbase_83") });
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Ziel (ID LONG, NAME TEXT(60), Extra TEXT(5))"));
        db->execute(QStringLiteral("INSERT INTO Ziel (ID, NAME) VALUES (1000, 'vorher')"));
        db->execute(
            QStringLiteral("INSERT INTO Ziel SELECT ID, NAME FROM dbase_83 IN '%1' 'dBASE III;' "
                           "WHERE PRICE > 30")
                .arg(ordner));
        const int teure = wert(*db,
            QStringLiteral("SELECT count(*) FROM dbase_83 IN '%1' 'dBASE III;' WHERE PRICE > 30")
                .arg(ordner))
                              .toInt();
        QVERIFY(teure > 0);
        QCOMPARE(db->recordsAffected(), teure);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM Ziel")).toInt(), teure + 1);
        QCOMPARE(wert(*db, QStringLiteral("SELECT NAME FROM Ziel WHERE ID = 34")).toString(),
            QStringLiteral("Apricot Brandy Fruitcake"));
    }

    void exportInNeueDbfDatei()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.path() + QLatin1Char('/');
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        lokaleTabelle(*db);
        isam::VerificationReport bericht;
        db->setVerificationReport(&bericht);
        db->execute(
            QStringLiteral("SELECT * INTO Ausgabe IN '%1' 'dBASE IV;' FROM Kunden").arg(ordner));
        db->setVerificationReport(nullptr);
        QCOMPARE(db->recordsAffected(), 3);
        QCOMPARE(bericht.tables().size(), 1);
        QCOMPARE(bericht.tables().first().written, 3);

        // Read back through our own driver …
        isam::DbfFolder folder(dir.path(), isam::DbfFlavor::Dbase4);
        QVERIFY(folder.tableNames().contains(QStringLiteral("Ausgabe"), Qt::CaseInsensitive));
        auto t = folder.openTable(QStringLiteral("Ausgabe"));
        QCOMPARE(t->fields().size(), 6);
        QCOMPARE(t->fields().at(1).name.toUpper(), QStringLiteral("NAME"));
        // … and through SQL over the new file.
        const QString quelle = QStringLiteral("Ausgabe IN '%1' 'dBASE IV;'").arg(ordner);
        QCOMPARE(wert(*db, QStringLiteral("SELECT Name FROM %1 WHERE Nr = 2").arg(quelle)),
            QVariant(QStringLiteral("Schäfer & Söhne")));
        QCOMPARE(
            wert(*db, QStringLiteral("SELECT Betrag FROM %1 WHERE Nr = 2").arg(quelle)).toDouble(),
            -3.25);
        QCOMPARE(wert(*db, QStringLiteral("SELECT Seit FROM %1 WHERE Nr = 1").arg(quelle)),
            QVariant(QDateTime(QDate(2001, 3, 15), QTime(0, 0))));
        QCOMPARE(wert(*db, QStringLiteral("SELECT Notiz FROM %1 WHERE Nr = 1").arg(quelle)),
            QVariant(QStringLiteral("erste Zeile")));
        QCOMPARE(wert(*db, QStringLiteral("SELECT Aktiv FROM %1 WHERE Nr = 1").arg(quelle)),
            QVariant(true));

        // Appending and deleting go through the same reference.
        db->execute(QStringLiteral("INSERT INTO %1 SELECT * FROM Kunden WHERE Nr = 1").arg(quelle));
        QCOMPARE(db->recordsAffected(), 1);
        db->execute(QStringLiteral("DELETE * FROM %1 WHERE Nr = 1").arg(quelle));
        QCOMPARE(db->recordsAffected(), 2);
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM %1").arg(quelle)).toInt(), 2);

        // Another program's reader sees the same values.
        if (QProcess::execute(python(), { QStringLiteral("-c"), QStringLiteral("import dbfread") })
            != 0)
            QSKIP("python3-dbfread ist nicht installiert");
        QProcess py;
        py.start(python(),
            { QStringLiteral("-c"),
                QStringLiteral("import dbfread,sys\n"
                               "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                               "    print(*list(r.values())[:5])"),
                QDir(dir.path())
                    .filePath(QDir(dir.path())
                                  .entryList({ QStringLiteral("Ausgabe.*") }, QDir::Files)
                                  .filter(QStringLiteral(".dbf"), Qt::CaseInsensitive)
                                  .first()) });
        QVERIFY(py.waitForFinished());
        const QString ausgabe = QString::fromUtf8(py.readAllStandardOutput());
        QVERIFY2(py.exitCode() == 0, qPrintable(QString::fromUtf8(py.readAllStandardError())));
        QCOMPARE(ausgabe.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            QStringList({ QStringLiteral("2 Schäfer & Söhne -3.25 1999-12-31 False"),
                // dBASE IV keeps no Null in a character field: it reads as empty.
                QStringLiteral("3  0.0 None False") }));
    }

    void exportInExcelSchreibtXlsx()
    {
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        lokaleTabelle(*db);
        const QString mappe = dir.file(QStringLiteral("liste.xls"));
        db->execute(
            QStringLiteral("SELECT Nr, Name, Betrag INTO Blatt1 IN '%1' 'Excel 5.0;' FROM Kunden")
                .arg(mappe));
        QCOMPARE(db->recordsAffected(), 3);
        // No library writes the old binary workbooks: the sheet goes into an .xlsx beside it.
        QVERIFY(!QFileInfo::exists(mappe));
        const QString xlsx = dir.file(QStringLiteral("liste.xlsx"));
        QVERIFY(QFileInfo::exists(xlsx));
        QCOMPARE(wert(*db,
                     QStringLiteral("SELECT Name FROM Blatt1 IN '%1' 'Excel 8.0;' WHERE Nr = 2")
                         .arg(xlsx)),
            QVariant(QStringLiteral("Schäfer & Söhne")));
        // A workbook is written whole; adding a sheet to it is refused by name.
        const EngineError e = fehlerVon([&] {
            db->execute(
                QStringLiteral("SELECT * INTO Blatt2 IN '%1' 'Excel 8.0;' FROM Kunden").arg(xlsx));
        });
        QVERIFY(e.number() != 0);
        QVERIFY2(
            e.description().contains(QStringLiteral("liste.xlsx")), qPrintable(e.description()));
    }

    void eigenesFormat()
    {
        kv::test::TempDir dir;
        Workspace ws;
        const QString andere = dir.file(QStringLiteral("andere.kdb"));
        {
            auto db2 = ws.createDatabase(andere);
            db2->execute(QStringLiteral("CREATE TABLE Orte (Plz TEXT(5), Ort TEXT(30))"));
            db2->execute(QStringLiteral("INSERT INTO Orte VALUES ('10115', 'Berlin')"));
        }
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        lokaleTabelle(*db);
        QCOMPARE(wert(*db, QStringLiteral("SELECT Ort FROM Orte IN '%1'").arg(andere)),
            QVariant(QStringLiteral("Berlin")));
        db->execute(
            QStringLiteral("INSERT INTO Orte IN '%1' VALUES ('20095', 'Hamburg')").arg(andere));
        QCOMPARE(db->recordsAffected(), 1);
        db->execute(QStringLiteral("SELECT * INTO Kopie IN '%1' FROM Kunden").arg(andere));
        QCOMPARE(db->recordsAffected(), 3);
        // A record set over the other file keeps it while another statement names other files.
        auto rs = db->openRecordset(
            QStringLiteral("SELECT * FROM Orte IN '%1' ORDER BY Plz").arg(andere));
        db->execute(QStringLiteral("SELECT * INTO Kopie2 FROM Kopie IN '%1'").arg(andere));
        QCOMPARE(rs->field(QStringLiteral("Ort")).value().toString(), QStringLiteral("Berlin"));
        rs->moveNext();
        QCOMPARE(rs->field(QStringLiteral("Ort")).value().toString(), QStringLiteral("Hamburg"));
        rs.reset();
        db->close();
        auto wieder = ws.openDatabase(andere);
        QCOMPARE(wert(*wieder, QStringLiteral("SELECT count(*) FROM Orte")).toInt(), 2);
        QCOMPARE(wert(*wieder, QStringLiteral("SELECT Name FROM Kopie WHERE Nr = 1")),
            QVariant(QStringLiteral("Müller")));
    }

    void fehlerNennenDieDatei_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("enthaelt");
        QTest::newRow("fehlender Ordner")
            << QStringLiteral("SELECT * FROM T IN '@/fehlt/' 'dBASE III;'")
            << QStringLiteral("fehlt");
        QTest::newRow("fehlende Tabelle")
            << QStringLiteral("SELECT * FROM Gibtsnicht IN '@/' 'dBASE III;'")
            << QStringLiteral("Gibtsnicht");
        QTest::newRow("fehlende Datenbank")
            << QStringLiteral("SELECT * FROM T IN '@/keine.kdb'") << QStringLiteral("keine.kdb");
        QTest::newRow("keine Datenbank")
            << QStringLiteral("SELECT * FROM T IN '@/text.kdb'") << QStringLiteral("text.kdb");
        QTest::newRow("unbekanntes Format")
            << QStringLiteral("SELECT * FROM T IN '@/' 'Lotus 1-2-3;'") << QStringLiteral("Lotus");
    }

    void fehlerNennenDieDatei()
    {
        QFETCH(QString, sql);
        QFETCH(QString, enthaelt);
        kv::test::TempDir dir;
        QFile text(dir.file(QStringLiteral("text.kdb")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("kein SQLite");
        text.close();
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        const EngineError e = fehlerVon(
            [&] { db->openRecordset(QString(sql).replace(QLatin1Char('@'), dir.path())); });
        QVERIFY(e.number() != 0);
        QVERIFY2(e.description().contains(enthaelt), qPrintable(e.description()));
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM pragma_database_list")).toInt(), 2);
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("keine.kdb"))));
    }

    void misslungenerExportHinterlaesstKeineDatei()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir, { QStringLiteral("dbase_83") });
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Werte (Text1 TEXT(20))"));
        db->execute(QStringLiteral("INSERT INTO Werte VALUES ('01.02.2003')"));
        db->execute(QStringLiteral("INSERT INTO Werte VALUES ('kein Datum')"));
        const QStringList vorher = QDir(ordner).entryList(QDir::Files);
        // The second row fails after the new file has been started.
        const EngineError e = fehlerVon([&] {
            db->execute(QStringLiteral("SELECT CDate(Text1) AS Tag INTO Neu IN '%1' 'dBASE IV;' "
                                       "FROM Werte")
                            .arg(ordner));
        });
        QVERIFY(e.number() != 0);
        QCOMPARE(QDir(ordner).entryList(QDir::Files), vorher);
        // A table that is there already is not replaced.
        const EngineError schonDa = fehlerVon([&] {
            db->execute(QStringLiteral("SELECT * INTO dbase_83 IN '%1' 'dBASE III;' FROM Werte")
                            .arg(ordner));
        });
        QVERIFY2(schonDa.description().contains(QStringLiteral("dbase_83")),
            qPrintable(schonDa.description()));
        QCOMPARE(
            wert(*db,
                QStringLiteral("SELECT count(*) FROM dbase_83 IN '%1' 'dBASE III;'").arg(ordner))
                .toInt(),
            67);
    }
};

QTEST_GUILESS_MAIN(TestExterneReferenzen)
#include "tst_externereferenzen.moc"
