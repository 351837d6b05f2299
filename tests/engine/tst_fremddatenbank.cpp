// A folder of dBASE, FoxPro or Paradox tables, or a workbook, opened as the database itself:
// its tables are the database's tables, read and (where the format allows) written in place.

#include "engine/Engine.h"
#include "engine/isam/XlsxWorkbook.h"
#include "testutils/TempDir.h"
#include "testutils/Testdatenkopie.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kv::engine;

namespace {

QVariant wert(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->eof() ? QVariant() : rs->value(0);
}

template <class F> EngineError fehler(F f)
{
    try {
        f();
    } catch (const EngineError& e) {
        return e;
    }
    return EngineError(0, QString());
}

QStringList tabellen(Database& db)
{
    QStringList namen;
    for (TableDef* t : db.tableDefs().items())
        if (!t->isSystem())
            namen << t->name();
    return namen;
}

QStringList dateien(const QString& ordner)
{
    return QDir(ordner).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestFremddatenbank : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dbaseOrdner()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QVERIFY(kv::test::kopiereTestdaten(QStringLiteral("dbf/infused_dbf"),
            { QStringLiteral("dbase_83.dbf"), QStringLiteral("dbase_83.dbt"),
                QStringLiteral("dbase_03.dbf") },
            ordner));
        const QStringList vorher = dateien(ordner);
        Workspace ws;
        {
            auto db = ws.openDatabase(ordner, false, false, QStringLiteral("dBASE III;"));
            QCOMPARE(db->name(), ordner);
            QCOMPARE(db->connect(), QStringLiteral("dBASE III;"));
            QCOMPARE(db->foreignFormat(), QStringLiteral("dBASE III"));
            QVERIFY(db->updatable());
            QVERIFY(!db->transactions());
            QVERIFY(db->attachProblems().isEmpty());
            QCOMPARE(tabellen(*db),
                (QStringList { QStringLiteral("dbase_03"), QStringLiteral("dbase_83") }));
            TableDef& t = db->tableDefs().item(QStringLiteral("dbase_83"));
            QCOMPARE(t.fields().count(), 15);
            QCOMPARE(t.fields().item(QStringLiteral("NAME")).type(), int(dbText));
            QCOMPARE(t.fields().item(QStringLiteral("DESC")).type(), int(dbMemo));
            QCOMPARE(t.recordCount(), 67);
            QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM dbase_03")).toInt(), 14);
            auto rs = db->openRecordset(QStringLiteral("dbase_83"));
            QCOMPARE(rs->value(QStringLiteral("NAME")).toString(),
                QStringLiteral("Assorted Petits Fours"));
            QVERIFY(rs->value(QStringLiteral("DESC"))
                        .toString()
                        .startsWith(QStringLiteral("Our Original assortment")));
            QCOMPARE(rs->value(QStringLiteral("TAXABLE")).toBool(), true);
            // Dialect statements work on the files.
            QCOMPARE(
                wert(*db, QStringLiteral("SELECT [NAME] FROM dbase_83 WHERE [CODE] LIKE 'AB0*'"))
                    .toString(),
                QStringLiteral("Apricot Brandy Fruitcake"));
            rs.reset();
        }
        // Only reading leaves the folder as it was: nothing written beside the user's files.
        QCOMPARE(dateien(ordner), vorher);

        {
            auto db = ws.openDatabase(ordner, false, false, QStringLiteral("dBASE III;"));
            auto rs = db->openRecordset(QStringLiteral("SELECT * FROM dbase_83 WHERE ID = 34"));
            QVERIFY(rs->updatable());
            rs->edit();
            rs->setValue(QStringLiteral("NAME"), QStringLiteral("Aprikosenkuchen"));
            rs->update();
            db->execute(QStringLiteral("DELETE FROM dbase_83 WHERE ID = 87"));
            QCOMPARE(db->recordsAffected(), 1);
        }
        auto db = ws.openDatabase(ordner, false, true, QStringLiteral("dBASE III;"));
        QCOMPARE(wert(*db, QStringLiteral("SELECT NAME FROM dbase_83 WHERE ID = 34")).toString(),
            QStringLiteral("Aprikosenkuchen"));
        QCOMPARE(wert(*db, QStringLiteral("SELECT count(*) FROM dbase_83")).toInt(), 66);
        QCOMPARE(dateien(ordner), vorher);
    }

    void schreibgeschuetztGeoeffnet()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QVERIFY(kv::test::kopiereTestdaten(
            QStringLiteral("dbf/infused_dbf"), { QStringLiteral("dbase_03.dbf") }, ordner));
        const QByteArray inhalt = [&] {
            QFile f(QDir(ordner).filePath(QStringLiteral("dbase_03.dbf")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        Workspace ws;
        auto db = ws.openDatabase(ordner, false, true, QStringLiteral("dBASE IV;"));
        QVERIFY(!db->updatable());
        auto rs = db->openRecordset(QStringLiteral("dbase_03"));
        QVERIFY(!rs->updatable());
        QCOMPARE(fehler([&] { db->execute(QStringLiteral("DELETE FROM dbase_03")); }).number(),
            err::ReadOnly);
        rs.reset();
        db.reset();
        QFile f(QDir(ordner).filePath(QStringLiteral("dbase_03.dbf")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), inhalt);
    }

    void strukturAenderungenAbgelehnt()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QVERIFY(kv::test::kopiereTestdaten(
            QStringLiteral("dbf/infused_dbf"), { QStringLiteral("dbase_03.dbf") }, ordner));
        Workspace ws;
        auto db = ws.openDatabase(ordner, false, false, QStringLiteral("FoxPro 2.6;"));
        const auto pruefe = [](const EngineError& e) {
            QCOMPARE(e.number(), err::NotSupported);
            QVERIFY2(e.description().contains(QLatin1String("Format 'FoxPro 2.6'")),
                qPrintable(e.description()));
        };
        pruefe(fehler([&] { db->execute(QStringLiteral("CREATE TABLE Neu (Nr LONG)")); }));
        pruefe(fehler([&] { db->execute(QStringLiteral("SELECT * INTO Kopie FROM dbase_03")); }));
        pruefe(fehler([&] {
            auto t = db->createTableDef(QStringLiteral("Neu"));
            t->fields().append(t->createField(QStringLiteral("Nr"), dbLong));
            db->tableDefs().append(std::move(t));
        }));
        pruefe(fehler([&] {
            db->createQueryDef(QStringLiteral("Abfrage"), QStringLiteral("SELECT * FROM dbase_03"));
        }));
        pruefe(fehler([&] { db->tableDefs().remove(QStringLiteral("dbase_03")); }));
        pruefe(fehler([&] { db->setProperty(QStringLiteral("Titel"), QStringLiteral("x")); }));
        // What was refused left the tables as they were; an unnamed query still works.
        QCOMPARE(tabellen(*db), QStringList { QStringLiteral("dbase_03") });
        QCOMPARE(dateien(ordner), QStringList { QStringLiteral("dbase_03.dbf") });
        QueryDef& q
            = db->createQueryDef(QString(), QStringLiteral("SELECT count(*) FROM dbase_03"));
        QCOMPARE(q.openRecordset()->value(0).toInt(), 14);
    }

    void unlesbareTabelleUndFehlenderOrdner()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QVERIFY(kv::test::kopiereTestdaten(
            QStringLiteral("dbf/infused_dbf"), { QStringLiteral("dbase_03.dbf") }, ordner));
        QFile leer(QDir(ordner).filePath(QStringLiteral("leer.dbf")));
        QVERIFY(leer.open(QIODevice::WriteOnly));
        leer.close();
        Workspace ws;
        auto db = ws.openDatabase(ordner, false, false, QStringLiteral("dBASE III;"));
        QCOMPARE(tabellen(*db), QStringList { QStringLiteral("dbase_03") });
        QCOMPARE(db->attachProblems().size(), 1);
        QVERIFY2(db->attachProblems().first().startsWith(QStringLiteral("Tabelle 'leer': "))
                && db->attachProblems().first().contains(QLatin1String("leer.dbf")),
            qPrintable(db->attachProblems().first()));

        const EngineError e = fehler([&] {
            ws.openDatabase(
                dir.file(QStringLiteral("fehlt")), false, false, QStringLiteral("Paradox 4.x;"));
        });
        QCOMPARE(e.number(), err::FileNotFound);
        QVERIFY2(e.description().contains(QLatin1String("fehlt")), qPrintable(e.description()));
        QCOMPARE(fehler([&] {
            ws.openDatabase(
                dir.file(QStringLiteral("fehlt.xls")), false, false, QStringLiteral("Excel 5.0;"));
        }).number(),
            err::FileNotFound);
        QCOMPARE(fehler([&] {
            ws.openDatabase(ordner, false, false, QStringLiteral("Lotus WK3;"));
        }).number(),
            err::NotSupported);
    }

    void paradoxOrdner()
    {
        kv::test::TempDir dir;
        const QString ordner = dir.file(QStringLiteral("px"));
        QVERIFY(kv::test::kopiereTestdaten(QStringLiteral("paradox/leonhad_paradoxdriver/areas"),
            { QStringLiteral("AREACODE.DB"), QStringLiteral("STATES.DB") }, ordner));
        Workspace ws;
        auto db = ws.openDatabase(ordner, false, false, QStringLiteral("Paradox 3.x;"));
        // The driver cannot change a table it did not create.
        QVERIFY(!db->updatable());
        QCOMPARE(
            tabellen(*db), (QStringList { QStringLiteral("AREACODE"), QStringLiteral("STATES") }));
        auto rs = db->openRecordset(QStringLiteral("STATES"));
        QCOMPARE(rs->value(QStringLiteral("Abv")).toString(), QStringLiteral("AK"));
        QCOMPARE(rs->value(QStringLiteral("State")).toString(), QStringLiteral("Alaska"));
    }

    void arbeitsmappen()
    {
        kv::test::TempDir dir;
        // .xls through its own driver, read only.
        const QString xls = dir.file(QStringLiteral("iris.xls"));
        QVERIFY(QFile::copy(
            kv::test::testdataDir() + QStringLiteral("/xls/tidyverse_readxl/iris-excel-xls.xls"),
            xls));
        Workspace ws;
        {
            auto db = ws.openDatabase(xls, false, false, QStringLiteral("Excel 5.0;"));
            QVERIFY(!db->updatable());
            const QStringList namen = tabellen(*db);
            QCOMPARE(namen.size(), 1);
            TableDef& t = db->tableDefs().item(namen.first());
            QCOMPARE(t.fields().item(0).name(), QStringLiteral("Sepal.Length"));
            QCOMPARE(t.fields().item(4).name(), QStringLiteral("Species"));
            QCOMPARE(t.recordCount(), 150);
            QCOMPARE(fehler([&] {
                db->execute(QStringLiteral("DELETE FROM [") + namen.first() + QLatin1Char(']'));
            }).number(),
                err::ReadOnly);
        }
        // .xlsx: each sheet a table.
        const QString xlsx = dir.file(QStringLiteral("liste.xlsx"));
        {
            isam::IsamFields felder(2);
            felder[0].name = QStringLiteral("Name");
            felder[0].size = 30;
            felder[1].name = QStringLiteral("Betrag");
            felder[1].type = dbDouble;
            auto t = isam::XlsxWorkbook(xlsx).createTable(QStringLiteral("Posten"), felder);
            for (const auto& [name, betrag] : { std::pair { "Äpfel", 2.5 }, { "Birnen", 4.0 } })
                t->append({ QString::fromUtf8(name), betrag });
            t->flush();
        }
        auto db = ws.openDatabase(xlsx, false, false, QStringLiteral("Excel 4.0;"));
        QCOMPARE(tabellen(*db), QStringList { QStringLiteral("Posten") });
        QCOMPARE(wert(*db, QStringLiteral("SELECT Sum(Betrag) FROM Posten")).toDouble(), 6.5);
        QCOMPARE(wert(*db, QStringLiteral("SELECT Name FROM Posten WHERE Betrag < 3")).toString(),
            QStringLiteral("Äpfel"));
    }
};

QTEST_GUILESS_MAIN(TestFremddatenbank)
#include "tst_fremddatenbank.moc"
