// Progress and cancel of an import or export: a cancelled import leaves the database as it was,
// a cancelled export leaves the foreign files as they were and removes a table it made.

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "tables/ui/frmImportTabellen.h"
#include "testutils/Ordnerinhalt.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QtTest>

using namespace kv;
using namespace kv::engine;

namespace {

qint64 anzahl(Database& db, const QString& sql)
{
    return db.openRecordset(sql)->field(0).value().toLongLong();
}

void fuelle(Database& db, const QString& tabelle, int zeilen)
{
    db.execute(QStringLiteral("CREATE TABLE [%1] (Nr LONG, Name TEXT(40))").arg(tabelle));
    db.execute(QStringLiteral("INSERT INTO [%1] VALUES (1, 'Kunde 1')").arg(tabelle));
    // Doubling the rows each time: a few statements for thousands of rows.
    for (int da = 1; da < zeilen; da *= 2)
        db.execute(
            QStringLiteral("INSERT INTO [%1] SELECT Nr + %2 AS Nr, 'Kunde ' & (Nr + %2) AS Name "
                           "FROM [%1] WHERE Nr + %2 <= %3")
                .arg(tabelle)
                .arg(da)
                .arg(zeilen));
}

enum class Weg { Knopf, Escape };

/// Cancels through the progress box, as the user would, once it shows at least ab rows done.
void brichAb(frmImportTabellen& f, Weg weg, int ab, QList<int>* gesehen, QString* text = nullptr)
{
    f.setzeFortschrittsverzoegerung(0);
    f.beobachteFortschritt([=](QProgressDialog* d) {
        gesehen->append(d->value());
        if (text)
            *text = d->labelText();
        if (d->value() < ab || d->wasCanceled())
            return;
        if (weg == Weg::Knopf)
            d->cancel();
        else
            QTest::keyClick(d, Qt::Key_Escape);
    });
}

const QString Abgebrochen = QStringLiteral("Der Vorgang wurde abgebrochen.");

} // namespace

class TestAustauschabbruch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void importAbbrechen_data()
    {
        QTest::addColumn<Weg>("weg");
        QTest::addColumn<bool>("loeschen");
        QTest::newRow("Knopf, neue Tabelle") << Weg::Knopf << false;
        QTest::newRow("Escape, Ziel vorher geleert") << Weg::Escape << true;
    }

    // A dBASE table made here is read back in; the cancel comes half-way through its rows.
    void importAbbrechen()
    {
        QFETCH(Weg, weg);
        QFETCH(bool, loeschen);
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QDir().mkpath(ordner);
        fuelle(*db, QStringLiteral("Quelle"), 300);
        db->execute(
            QStringLiteral("SELECT * INTO KUNDEN IN '%1/' 'dBASE IV;' FROM Quelle").arg(ordner));
        db->execute(QStringLiteral("SELECT * INTO Ziel FROM Quelle WHERE Nr <= 10"));

        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, false);
        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("KUNDEN.DBF")), 3));
        f.dateiWaehlen();
        f.Text1()->setText(loeschen ? QStringLiteral("Ziel") : QStringLiteral("Neu"));
        f.Check1()->setChecked(loeschen);
        QList<int> gesehen;
        QString text;
        brichAb(f, weg, 150, &gesehen, &text);
        if (loeschen)
            dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();

        QCOMPARE(dlg.letzteMeldung().text,
            Abgebrochen + QStringLiteral("\n\nDie Datenbank ist so, wie sie vorher war."));
        QVERIFY(!db->tableDefs().contains(QStringLiteral("Neu")));
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Ziel")), 10);
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT sum(Nr) FROM Ziel")), 55);
        // The rows in all were known from the table file; the box stopped where it was told.
        QVERIFY(!gesehen.isEmpty());
        QCOMPARE(gesehen.last(), 150);
        QCOMPARE(text, QStringLiteral("Daten werden importiert …\n150 von 300 Datensätzen"));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(dlg.leer());

        // Without a cancel the same import runs through.
        f.beobachteFortschritt({});
        f.Text1()->setText(QStringLiteral("Neu"));
        f.Check1()->setChecked(false);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text, QStringLiteral("Es wurden 300 Datensätze hinzugefügt!"));
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Neu")), 300);
    }

    // A file of our own format is read by SQLite itself; the cancel stops the statement there.
    void importAusEigenerDateiAbbrechen()
    {
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        const QString andere = dir.file(QStringLiteral("b.kdb"));
        fuelle(*ws.createDatabase(andere), QStringLiteral("Gross"), 20000);
        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, false);
        dlg.erwarteDatei(test::gewaehlt(andere, 1));
        f.dateiWaehlen();
        QList<int> gesehen;
        QString text;
        brichAb(f, Weg::Knopf, 0, &gesehen, &text);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text,
            Abgebrochen + QStringLiteral("\n\nDie Datenbank ist so, wie sie vorher war."));
        // Neither the rows in all nor the rows done are known here.
        QCOMPARE(text, QStringLiteral("Daten werden importiert …"));
        QVERIFY(!db->tableDefs().contains(QStringLiteral("Gross")));
        // The database works on afterwards: no transaction is left open.
        db->execute(QStringLiteral("CREATE TABLE Danach (X LONG)"));
        QVERIFY(db->tableDefs().contains(QStringLiteral("Danach")));
    }

    void exportNeuAbbrechen_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("eigene Datei") << 0 << QStringLiteral("b.kdb");
        QTest::newRow("dBASE IV") << 2 << QStringLiteral("kunden.dbf");
        QTest::newRow("FoxPro 2.6") << 6 << QStringLiteral("kunden.dbf");
        QTest::newRow("Paradox 5.x") << 10 << QStringLiteral("kunden.db");
        QTest::newRow("Excel 5.0") << 13 << QStringLiteral("mappe.xls");
    }

    // Into a new table of each kind of file: after the cancel the folder holds exactly what it
    // held before (a database file of our own is rolled back with the transaction).
    void exportNeuAbbrechen()
    {
        QFETCH(int, format);
        QFETCH(QString, name);
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        fuelle(*db, QStringLiteral("Kunden"), format == 0 ? 20000 : 300);
        const QString ordner = dir.file(QStringLiteral("ziel"));
        QDir().mkpath(ordner);
        const QString pfad = QDir(ordner).filePath(name);
        if (format == 0)
            fuelle(*ws.createDatabase(pfad), QStringLiteral("Alt"), 3);
        const QMap<QString, QByteArray> vorher = test::ordnerinhalt(ordner);

        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, true);
        f.List1()->setCurrentRow(0);
        dlg.erwarteDatei(test::gewaehlt(pfad, format + 1));
        f.dateiWaehlen();
        f.Text1()->setText(QStringLiteral("KUNDEN"));
        QList<int> gesehen;
        brichAb(f, Weg::Knopf, format == 0 ? 0 : 100, &gesehen);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QVERIFY2(
            dlg.letzteMeldung().text.startsWith(Abgebrochen), qPrintable(dlg.letzteMeldung().text));
        QCOMPARE(test::ordnerinhalt(ordner).keys(), vorher.keys());
        if (format != 0)
            QCOMPARE(test::ordnerinhalt(ordner), vorher);
        else
            QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Alt IN '%1'").arg(pfad)), 3);
        QVERIFY(dlg.leer());
    }

    // Into a new dBASE table: the cancel removes every file it made. Into the existing table
    // with its records deleted first: the files are put back byte for byte.
    void exportAbbrechen()
    {
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        fuelle(*db, QStringLiteral("Kunden"), 300);
        const QString ordner = dir.file(QStringLiteral("dbase"));
        QDir().mkpath(ordner);
        QFile fremd(QDir(ordner).filePath(QStringLiteral("ANDERE.TXT")));
        QVERIFY(fremd.open(QIODevice::WriteOnly));
        fremd.write("bleibt");
        fremd.close();
        const QMap<QString, QByteArray> vorher = test::ordnerinhalt(ordner);

        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, true);
        f.List1()->setCurrentRow(0);
        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("kunden.dbf")), 3));
        f.dateiWaehlen();
        f.Text1()->setText(QStringLiteral("KUNDEN"));
        QList<int> gesehen;
        brichAb(f, Weg::Knopf, 100, &gesehen);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text,
            Abgebrochen
                + QStringLiteral("\n\nDie Exportdatei ist so, wie sie vorher war; eine neu "
                                 "angelegte Tabelle wurde wieder entfernt."));
        QCOMPARE(test::ordnerinhalt(ordner), vorher);
        QCOMPARE(gesehen.last(), 100);

        // Now it runs through; then again into the file with its records deleted first.
        f.beobachteFortschritt({});
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text.section(QLatin1Char('\n'), 0, 0),
            QStringLiteral("Es wurden 300 Datensätze hinzugefügt!"));
        const QMap<QString, QByteArray> exportiert = test::ordnerinhalt(ordner);
        QCOMPARE(exportiert.size(), 2);
        db->execute(QStringLiteral("UPDATE Kunden SET Name = 'neu'"));
        f.Check1()->setChecked(true);
        brichAb(f, Weg::Escape, 250, &gesehen);
        dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text.section(QLatin1Char('\n'), 0, 0), Abgebrochen);
        QCOMPARE(test::ordnerinhalt(ordner), exportiert);
        QCOMPARE(anzahl(*db,
                     QStringLiteral("SELECT count(*) FROM KUNDEN") + f.austausch().externeReferenz()
                         + QStringLiteral(" WHERE Name = 'Kunde 300'")),
            1);
        QVERIFY(dlg.leer());
    }
};

QTEST_MAIN(TestAustauschabbruch)
#include "tst_austauschabbruch.moc"
