// The import/export window: statements it generates, the other file chosen through the file
// dialog, the confirmations, deleting the target's records, storing the statement as a query.

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "tables/Datenaustausch.h"
#include "tables/Fremdtabellenwahl.h"
#include "tables/ui/frmExtTabelle.h"
#include "tables/ui/frmImportTabellen.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace kv;
using namespace kv::engine;

namespace {

QString testdaten(const QString& relativ)
{
    return kv::test::testdataDir() + QLatin1Char('/') + relativ;
}

int anzahl(Database& db, const QString& sql)
{
    return db.openRecordset(sql)->field(0).value().toInt();
}

/// A folder of the test with a copy of the dBASE table dbase_83 (with its memo file).
QString dbaseOrdner(const kv::test::TempDir& dir)
{
    const QString ordner = dir.file(QStringLiteral("dbase"));
    QDir().mkpath(ordner);
    const QDir quelle(testdaten(QStringLiteral("dbf/infused_dbf")));
    for (const QString& name : quelle.entryList({ QStringLiteral("dbase_83.*") }, QDir::Files)) {
        QFile::copy(quelle.filePath(name), QDir(ordner).filePath(name));
        QFile(QDir(ordner).filePath(name))
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return ordner;
}

} // namespace

class TestImportTabellen : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (!QFileInfo::exists(testdaten(QStringLiteral("EXPECTED.md"))))
            QSKIP("Testdaten fehlen");
    }

    void formate()
    {
        const QStringList filter = Austauschfilter().split(QLatin1Char('|'));
        QCOMPARE(filter.size(), 28);
        QCOMPARE(filter.at(0), QStringLiteral("Access (*.MDB)"));
        QCOMPARE(filter.at(2), QStringLiteral("dBase III (*.DBF)"));
        QCOMPARE(filter.at(26), QStringLiteral("Excel 5.0/95 (*.XLS)"));
        QCOMPARE(Austauschpraefix(0), QString());
        QCOMPARE(Austauschpraefix(1), QStringLiteral("dBASE III;"));
        QCOMPARE(Austauschpraefix(13), QStringLiteral("Excel 5.0;"));
        QCOMPARE(Austauschpraefix(14), QString());
        QVERIFY(!IstArbeitsmappe(10));
        QVERIFY(IstArbeitsmappe(11));
    }

    void befehle()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir);
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE [Alte Kunden] (Nr LONG)"));

        Datenaustausch import(*db, false);
        import.oeffneAndereDatei(QDir(ordner).filePath(QStringLiteral("dbase_83.dbf")), 1);
        QCOMPARE(import.andereTabellen(), QStringList { QStringLiteral("dbase_83") });
        // The reference names the folder, not the file.
        const QString in = QStringLiteral(" IN '") + QDir::toNativeSeparators(ordner)
            + QDir::separator() + QStringLiteral("' 'dBASE III;'");
        QCOMPARE(import.externeReferenz(), in);
        QCOMPARE(import.befehl(QStringLiteral("dbase_83"), QStringLiteral("Neu")),
            QStringLiteral("SELECT * INTO [Neu] FROM [dbase_83]") + in);
        QCOMPARE(import.befehl(QStringLiteral("dbase_83"), QStringLiteral("alte kunden")),
            QStringLiteral("INSERT INTO [alte kunden] SELECT * FROM [dbase_83]") + in);
        QCOMPARE(import.loeschBefehl(QStringLiteral("Alte Kunden")),
            QStringLiteral("DELETE * FROM [Alte Kunden]"));

        Datenaustausch export_(*db, true);
        const QString mappe = testdaten(QStringLiteral("xls/tidyverse_readxl/iris-excel-xls.xls"));
        export_.oeffneAndereDatei(mappe, 13);
        const QString blatt = export_.andereTabellen().value(0);
        QVERIFY(!blatt.isEmpty());
        const QString inMappe = QStringLiteral(" IN '") + mappe + QStringLiteral("' 'Excel 5.0;'");
        // Into an existing sheet: INSERT INTO with the reference right after the target.
        QCOMPARE(export_.befehl(QStringLiteral("Alte Kunden"), blatt.toUpper()),
            QStringLiteral("INSERT INTO [") + blatt.toUpper() + QLatin1Char(']') + inMappe
                + QStringLiteral(" SELECT * FROM [Alte Kunden]"));
        QCOMPARE(export_.befehl(QStringLiteral("Alte Kunden"), QStringLiteral("Neu")),
            QStringLiteral("SELECT * INTO [Neu]") + inMappe
                + QStringLiteral(" FROM [Alte Kunden]"));
        QCOMPARE(export_.loeschBefehl(QStringLiteral("Neu")),
            QStringLiteral("DELETE * FROM [Neu]") + inMappe);
        // No library writes the old workbooks: the export goes into an .xlsx beside it.
        QCOMPARE(export_.ersatzArbeitsmappe(),
            QFileInfo(mappe).dir().filePath(QStringLiteral("iris-excel-xls.xlsx")));

        // Our own format: the file alone.
        const QString andere = dir.file(QStringLiteral("b.kdb"));
        ws.createDatabase(andere)->close();
        Datenaustausch eigen(*db, false);
        eigen.oeffneAndereDatei(andere, 0);
        QCOMPARE(eigen.externeReferenz(), QStringLiteral(" IN '") + andere + QLatin1Char('\''));
    }

    void importAusDbaseUeberDasFenster()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir);
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, false);
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("Datenimport"));
        QCOMPARE(f.Reiter()->tabText(0), QStringLiteral("Automatik"));
        QCOMPARE(f.Reiter()->tabText(1), QStringLiteral("Manuelle SQL-Eingabe"));
        QVERIFY(!f.Startknopf()->isEnabled());

        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("DBASE_83.DBF")), 2));
        f.dateiWaehlen();
        QCOMPARE(dlg.dateiDialoge().last().titel,
            QStringLiteral("Aus welcher Datenbank soll importiert werden?"));
        QCOMPARE(dlg.dateiDialoge().last().filter, Austauschfilter());
        QCOMPARE(f.List1()->count(), 1);
        // Choosing the source puts its name into the target box.
        QCOMPARE(f.Text1()->text(), QStringLiteral("dbase_83"));
        f.Text1()->setText(QStringLiteral("Artikel"));
        QVERIFY(f.Startknopf()->isEnabled());

        // Cancelling the confirmation changes nothing.
        dlg.erwarteAntwort(Antwort::Abbrechen);
        f.starten();
        const Meldung frage = dlg.letzteMeldung();
        QVERIFY(frage.text.startsWith(
            QStringLiteral("Die Automatik hat diesen SQL-Befehl generiert:\n\n")));
        QVERIFY(frage.text.endsWith(QStringLiteral("\n\nBitte bestätigen Sie diese Aktion.")));
        QCOMPARE(frage.knoepfe, Knoepfe::OkAbbrechen);
        QCOMPARE(frage.symbol, Symbol::Frage);
        QCOMPARE(frage.standardKnopf, 2);
        QVERIFY(!db->tableDefs().contains(QStringLiteral("Artikel")));
        QVERIFY(f.Text2()->toPlainText().startsWith(
            QStringLiteral("SELECT * INTO [Artikel] FROM [dbase_83] IN '")));

        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text, QStringLiteral("Es wurden 67 Datensätze hinzugefügt!"));
        QVERIFY(db->tableDefs().contains(QStringLiteral("Artikel")));
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Artikel")), 67);
        QVERIFY(dlg.leer());
    }

    void loeschenUndFehlschlag()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir);
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Ziel (ID LONG, NAME TEXT(60))"));
        db->execute(QStringLiteral("INSERT INTO Ziel VALUES (1, 'alt')"));
        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, false);
        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("dbase_83.dbf")), 3));
        f.dateiWaehlen();
        f.Text1()->setText(QStringLiteral("ziel"));
        f.Check1()->setChecked(true);

        // Cancelling the question about deleting stops before anything happens.
        dlg.erwarteAntwort(Antwort::Abbrechen);
        f.starten();
        QCOMPARE(dlg.letzteMeldung().titel, QStringLiteral("Löschen von Tabellen"));
        QCOMPARE(dlg.letzteMeldung().text,
            QStringLiteral("Sie haben das Löschen von vorhandenen\nDaten in der vorhandenen "
                           "Ziel-Tabelle gewählt!\n\nBitte bestätigen Sie diese Aktion."));
        QCOMPARE(dlg.letzteMeldung().standardKnopf, 2);
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Ziel")), 1);

        // The source has more fields than the target: the append fails, and the records that
        // were deleted first come back with the rollback.
        dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        const QString fehler = dlg.letzteMeldung().text;
        QVERIFY2(fehler.startsWith(
                     QStringLiteral("Fehler beim Hinzufügen zur Ziel-Tabelle!\n\nFehler:")),
            qPrintable(fehler));
        QVERIFY(fehler.contains(QStringLiteral("\nBeschreibung: ")));
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Ziel")), 1);

        // With the fields named on the manual tab it works; deleting is for the automatic tab.
        f.Reiter()->setCurrentIndex(1);
        f.Text2()->setPlainText(QStringLiteral("INSERT INTO Ziel SELECT ID, NAME FROM dbase_83")
            + f.austausch().externeReferenz());
        QVERIFY(f.Startknopf()->isEnabled());
        f.starten();
        QCOMPARE(dlg.letzteMeldung().text, QStringLiteral("Es wurden 67 Datensätze hinzugefügt!"));
        QCOMPARE(anzahl(*db, QStringLiteral("SELECT count(*) FROM Ziel")), 68);

        // Stored as a query, replacing one of the same name.
        QVERIFY(!f.Speicherknopf()->isEnabled());
        db->createQueryDef(QStringLiteral("Übernahme"), QStringLiteral("SELECT 1"));
        f.QueryCombo()->setEditText(QStringLiteral("Übernahme"));
        QVERIFY(f.Speicherknopf()->isEnabled());
        f.abfrageSpeichern();
        QCOMPARE(db->queryDefs().item(QStringLiteral("Übernahme")).sql(), f.Text2()->toPlainText());
        QCOMPARE(f.QueryCombo()->findText(QStringLiteral("Übernahme")) >= 0, true);
        f.Text2()->clear();
        f.QueryCombo()->activated(f.QueryCombo()->findText(QStringLiteral("Übernahme")));
        QVERIFY(f.Text2()->toPlainText().startsWith(QStringLiteral("INSERT INTO Ziel")));
        QVERIFY(dlg.leer());
    }

    void andereDateiPruefen()
    {
        kv::test::TempDir dir;
        Workspace ws;
        const QString pfad = dir.file(QStringLiteral("a.kdb"));
        auto db = ws.createDatabase(pfad);
        const QString andere = dir.file(QStringLiteral("b.kdb"));
        {
            auto b = ws.createDatabase(andere);
            b->execute(QStringLiteral("CREATE TABLE Orte (Plz TEXT(5))"));
            auto t = b->createTableDef(QStringLiteral("Verknuepft"));
            t->setConnect(QStringLiteral(";DATABASE=") + pfad);
            db->execute(QStringLiteral("CREATE TABLE Hier (X LONG)"));
            t->setSourceTableName(QStringLiteral("Hier"));
            b->tableDefs().append(std::move(t));
        }
        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, false);
        // The open database itself is refused.
        dlg.erwarteDatei(test::gewaehlt(pfad, 1));
        f.dateiWaehlen();
        QCOMPARE(dlg.letzteMeldung().text,
            QStringLiteral("Die gewählte Datenbank ist die aktuell geöffnete Datenbank!\n\nBitte "
                           "wählen Sie eine andere Datenbank aus."));
        QVERIFY(!f.austausch().hatAndereDatei());
        // System and attached tables of the other database are not offered.
        dlg.erwarteDatei(test::gewaehlt(andere, 1));
        f.dateiWaehlen();
        QCOMPARE(f.List1()->count(), 1);
        QCOMPARE(f.List1()->item(0)->text(), QStringLiteral("Orte"));
        // A file that cannot be opened is named in the message; the list stays.
        dlg.erwarteDatei(test::gewaehlt(dir.file(QStringLiteral("fehlt.kdb")), 1));
        f.dateiWaehlen();
        QVERIFY2(dlg.letzteMeldung().text.startsWith(
                     QStringLiteral("Fehler beim Öffnen der Datenbank:\n\n")
                     + QDir::toNativeSeparators(dir.file(QStringLiteral("fehlt.kdb")))
                     + QStringLiteral("\n\nFehler:")),
            qPrintable(dlg.letzteMeldung().text));
        QCOMPARE(f.List1()->count(), 1);
        QCOMPARE(f.austausch().pfad(), andere);
    }

    void externeTabelleWaehlen()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir);
        const QString dbf = QDir(ordner).filePath(QStringLiteral("dbase_83.dbf"));
        Workspace ws;
        kv::test::ScriptedDialoge dlg;
        frmExtTabelle wahl(ws, 1, dbf);
        QCOMPARE(wahl.List1()->count(), 1);
        QCOMPARE(wahl.gewaehlteTabelle(), QStringLiteral("dbase_83"));
        QVERIFY(wahl.okKnopf()->isEnabled());
        // Attaching names the folder for the table formats, the workbook for Excel.
        QCOMPARE(Verbindungstext(1, dbf),
            QStringLiteral("dBASE III;DATABASE=") + QDir::toNativeSeparators(ordner)
                + QDir::separator() + QLatin1Char(';'));
        QCOMPARE(Verbindungstext(12, QStringLiteral("/d/b.xls")),
            QStringLiteral("Excel 4.0;DATABASE=/d/b.xls;"));
        QCOMPARE(
            Verbindungstext(0, QStringLiteral("/d/b.kdb")), QStringLiteral(";DATABASE=/d/b.kdb;"));

        frmExtTabelle fehlt(ws, 9, dir.file(QStringLiteral("fehlt/x.db")));
        QVERIFY2(dlg.letzteMeldung().text.startsWith(QStringLiteral(
                     "Fehler beim Öffnen der zu verknüpfenden Datenbank\n\nFehler:")),
            qPrintable(dlg.letzteMeldung().text));
        QCOMPARE(fehlt.List1()->count(), 0);
        QVERIFY(!fehlt.okKnopf()->isEnabled());
    }

    void exportInDbaseUndZurueck()
    {
        kv::test::TempDir dir;
        const QString ordner = dbaseOrdner(dir);
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG, Name TEXT(20))"));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (1, 'Müller')"));
        db->execute(QStringLiteral("INSERT INTO Kunden VALUES (2, 'Öztürk')"));
        kv::test::ScriptedDialoge dlg;
        frmImportTabellen f(*db, true);
        QCOMPARE(f.windowTitle(), QStringLiteral("Datenexport"));
        QCOMPARE(f.Startknopf()->text(), QStringLiteral("Exportieren"));
        QCOMPARE(f.Dateiknopf()->text(), QStringLiteral("Exportdatei wählen"));
        QCOMPARE(f.Text1()->toolTip(), QStringLiteral("Export erfolgt in diese Ziel-Tabelle"));
        // The sources of an export are the open database's tables.
        QCOMPARE(f.List1()->count(), 1);
        f.List1()->setCurrentRow(0);
        QVERIFY(f.Text1()->text().isEmpty());
        dlg.erwarteDatei(test::gewaehlt(QDir(ordner).filePath(QStringLiteral("neu.dbf")), 3));
        f.dateiWaehlen();
        f.Text1()->setText(QStringLiteral("KUNDEN"));
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        // A new foreign table is verified: the counts and every value that changed.
        QCOMPARE(dlg.letzteMeldung().text.split(QLatin1Char('\n')),
            QStringList({ QStringLiteral("Es wurden 2 Datensätze hinzugefügt!"), QString(),
                QStringLiteral("KUNDEN: 2 gelesen, 2 geschrieben, 0 abgewiesen") }));
        QVERIFY(
            f.austausch().andereTabellen().contains(QStringLiteral("KUNDEN"), Qt::CaseInsensitive));

        // Again, now into the existing file, with its records deleted first.
        f.Check1()->setChecked(true);
        dlg.erwarteAntwort(Antwort::Ok);
        dlg.erwarteAntwort(Antwort::Ok);
        f.starten();
        QVERIFY(f.Text2()->toPlainText().startsWith(QStringLiteral("INSERT INTO [KUNDEN] IN '")));
        QCOMPARE(dlg.letzteMeldung().text, QStringLiteral("Es wurden 2 Datensätze hinzugefügt!"));
        QCOMPARE(
            anzahl(*db,
                QStringLiteral("SELECT count(*) FROM KUNDEN") + f.austausch().externeReferenz()),
            2);
        QCOMPARE(db->openRecordset(QStringLiteral("SELECT Name FROM KUNDEN")
                       + f.austausch().externeReferenz() + QStringLiteral(" WHERE Nr = 2"))
                     ->field(0)
                     .value(),
            QVariant(QStringLiteral("Öztürk")));
        QVERIFY(dlg.leer());
    }
};

QTEST_MAIN(TestImportTabellen)
#include "tst_importtabellen.moc"
