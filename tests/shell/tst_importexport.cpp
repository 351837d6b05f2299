// The main menu's import and export commands open the import/export window on the open
// database.

#include "Hauptfensterumfeld.h"
#include "Programmumgebung.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Zentraleliste.h"
#include "shell/ui/Hauptfensteraufrufe.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmZentrale.h"
#include "tables/ui/frmImportTabellen.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QTimer>
#include <QtTest>

using namespace kv;

class TestImportExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void befehle_data()
    {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<int>("quellen");
        QTest::newRow("Import") << QStringLiteral("bearbeitenimport")
                                << QStringLiteral("Datenimport") << 0;
        QTest::newRow("Export") << QStringLiteral("bearbeitenexport")
                                << QStringLiteral("Datenexport") << 1;
    }

    void befehle()
    {
        QFETCH(QString, befehl);
        QFETCH(QString, titel);
        QFETCH(int, quellen);
        test::Programmumgebung umgebung;
        const QString pfad = umgebung.ordner.file(QStringLiteral("adressen.kdb"));
        {
            engine::Workspace ws;
            ws.createDatabase(pfad)->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG)"));
        }
        frmMain haupt;
        haupt.setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(haupt));

        // Without an open database the window does not open.
        haupt.ActiveBar21_ToolClick(befehl);
        QCOMPARE(umgebung.dialoge.letzteMeldung().text,
            QStringLiteral("Es ist keine Datenbank geöffnet!"));

        AktuelleDatenbank& db = aktuelleDatenbank();
        db.Datenbank = pfad;
        db.DatenbankTyp = 1;
        db.oeffne();
        QString gezeigt;
        int liste = -1;
        QTimer::singleShot(0, &haupt, [&] {
            auto* f = qobject_cast<frmImportTabellen*>(QApplication::activeModalWidget());
            if (!f)
                return;
            gezeigt = f->windowTitle();
            liste = f->List1()->count();
            f->reject();
        });
        haupt.ActiveBar21_ToolClick(befehl);
        db.schliesse();
        QCOMPARE(gezeigt, titel);
        QCOMPARE(liste, quellen);
        QVERIFY(!umgebung.dialoge.texte().contains(
            QStringLiteral("Dieses Fenster ist in dieser Version noch nicht verfügbar.")));
    }

    // The import command's window, cancelled through its progress box, then run through: the
    // cancel leaves the database as it was and says so, never a success.
    void importAbbrechenUeberDasMenue()
    {
        test::Programmumgebung umgebung;
        const QString pfad = umgebung.ordner.file(QStringLiteral("adressen.kdb"));
        const QString ordner = umgebung.ordner.file(QStringLiteral("dbase"));
        QVERIFY(QDir().mkpath(ordner));
        {
            engine::Workspace ws;
            auto quelle = ws.createDatabase(umgebung.ordner.file(QStringLiteral("quelle.kdb")));
            quelle->execute(QStringLiteral("CREATE TABLE Orte (Plz TEXT(5))"));
            for (int i = 0; i < 40; ++i)
                quelle->execute(QStringLiteral("INSERT INTO Orte VALUES ('%1')").arg(10000 + i));
            quelle->execute(
                QStringLiteral("SELECT * INTO ORTE IN '%1/' 'dBASE IV;' FROM Orte").arg(ordner));
            ws.createDatabase(pfad)->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG)"));
        }
        frmMain haupt;
        haupt.setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(haupt));
        AktuelleDatenbank& db = aktuelleDatenbank();
        db.Datenbank = pfad;
        db.DatenbankTyp = 1;
        db.oeffne();

        test::ScriptedDialoge& dlg = umgebung.dialoge;
        QStringList meldungen;
        QTimer::singleShot(0, &haupt, [&] {
            auto* f = qobject_cast<frmImportTabellen*>(QApplication::activeModalWidget());
            if (!f)
                return;
            DateiDialogErgebnis wahl;
            wahl.abgebrochen = false;
            wahl.pfad = QDir(ordner).filePath(QStringLiteral("ORTE.DBF"));
            wahl.filterIndex = 3;
            dlg.erwarteDatei(wahl);
            f->dateiWaehlen();
            f->Text1()->setText(QStringLiteral("Orte"));
            f->setzeFortschrittsverzoegerung(0);
            f->beobachteFortschritt([](QProgressDialog* d) {
                if (d->value() >= 20)
                    d->cancel();
            });
            dlg.erwarteAntwort(Antwort::Ok);
            f->starten();
            meldungen << dlg.letzteMeldung().text;
            f->beobachteFortschritt({});
            dlg.erwarteAntwort(Antwort::Ok);
            f->starten();
            meldungen << dlg.letzteMeldung().text;
            f->reject();
        });
        haupt.ActiveBar21_ToolClick(QStringLiteral("bearbeitenimport"));
        QCOMPARE(meldungen,
            QStringList({ QStringLiteral("Der Vorgang wurde abgebrochen.\n\nDie Datenbank ist so, "
                                         "wie sie vorher war."),
                QStringLiteral("Es wurden 40 Datensätze hinzugefügt!") }));
        QCOMPARE(db.db()
                     ->openRecordset(QStringLiteral("SELECT count(*) FROM Orte"))
                     ->field(0)
                     .value()
                     .toInt(),
            40);
        db.schliesse();
        QVERIFY(dlg.leer());
    }

    // After the window closes the navigator lists what the import made.
    void navigatorZeigtNeueTabelle()
    {
        std::unique_ptr<test::TempDir> dir;
        std::unique_ptr<test::ScriptedDialoge> dlg;
        std::unique_ptr<frmMain> main;
        std::unique_ptr<AktuelleDatenbank> db;
        std::shared_ptr<Zentraleanzeige> zentrale;
        Datenbankhandling* h = nullptr;
        test::Hauptfensterumfeld umfeld { dir, dlg, main, db, h };
        umfeld.aufbauen(&zentrale);
        main->setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(*main, zentrale));
        const QString pfad = dir->file(QStringLiteral("adressen.kdb"));
        {
            engine::Workspace ws;
            ws.createDatabase(pfad)->execute(QStringLiteral("CREATE TABLE Kunden (Nr LONG)"));
        }
        dlg->erwarteDatei(test::gewaehlt(pfad));
        main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
        QVERIFY(db->offen());
        const auto gelistet = [&](const QString& name) {
            frmZentrale* z = frmZentrale::finde(main->mdiArea());
            if (!z)
                return false;
            for (const Zentralezeile& zeile : z->liste().zeilen())
                if (zeile.schluessel == name)
                    return true;
            return false;
        };
        QVERIFY(gelistet(QStringLiteral("Kunden")));

        QTimer::singleShot(0, main.get(), [&] {
            if (auto* f = qobject_cast<frmImportTabellen*>(QApplication::activeModalWidget())) {
                // What a finished import leaves: a new table, the definitions read again.
                db->db()->execute(QStringLiteral("CREATE TABLE Importiert (Nr LONG)"));
                db->db()->tableDefs().refresh();
                f->reject();
            }
        });
        main->ActiveBar21_ToolClick(QStringLiteral("bearbeitenimport"));
        QVERIFY(gelistet(QStringLiteral("Importiert")));
        QVERIFY(umfeld.abbauen());
    }
};

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
