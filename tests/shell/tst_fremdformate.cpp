// Databases of other formats through the program's own opening path: a folder of dBASE tables
// or a workbook as the open database, and attached tables whose files are missing.

#include "Hauptfensterumfeld.h"
#include "Kundendatenbank.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Datenbankhandling.h"
#include "shell/Einstellungen.h"
#include "shell/Historienliste.h"
#include "shell/Objektuebergabe.h"
#include "shell/Zentralebefehle.h"
#include "shell/Zentraleliste.h"
#include "shell/ui/Tabellenfenster.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmMainZugang.h"
#include "shell/ui/frmZentrale.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "testutils/Testdatenkopie.h"
#include "widgets/DataGrid.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace kv;
using namespace kv::engine;
using kv::test::gewaehlt;

namespace { } // namespace

class TestFremdformate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void dbaseOrdnerAlsDatenbank();
    void arbeitsmappeAlsDatenbank();
    void unlesbareTabelleWirdGenannt();
    void fehlendeEingebundeneDateien();
    void jetDateiWirdUmgewandelt();
    void jetUmwandlungAbgelehntOderFehlgeschlagen();
    void geschuetzteJetDatei();

private:
    QString setting(const QString& k) { return Einstellungen().lese(AbschnittSettings, k); }
    frmZentrale* zentrale() const;

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<frmMain> m_main;
    std::shared_ptr<Zentraleanzeige> m_zentrale;
    std::unique_ptr<AktuelleDatenbank> m_db;
    Datenbankhandling* m_h = nullptr;
};

void TestFremdformate::init()
{
    test::Hauptfensterumfeld { m_dir, m_dlg, m_main, m_db, m_h }.aufbauen(&m_zentrale);
}

void TestFremdformate::cleanup()
{
    objektuebergabe() = Objektuebergabe();
    QVERIFY((test::Hauptfensterumfeld { m_dir, m_dlg, m_main, m_db, m_h }.abbauen()));
    m_zentrale.reset();
}

frmZentrale* TestFremdformate::zentrale() const
{
    return frmZentrale::finde(m_main->mdiArea());
}

void TestFremdformate::dbaseOrdnerAlsDatenbank()
{
    const QString ordner = m_dir->file(QStringLiteral("artikel"));
    QVERIFY(kv::test::kopiereTestdaten(QStringLiteral("dbf/infused_dbf"),
        { QStringLiteral("dbase_83.dbf"), QStringLiteral("dbase_83.dbt"),
            QStringLiteral("dbase_03.dbf") },
        ordner));
    const QString datei = QDir(ordner).filePath(QStringLiteral("dbase_83.dbf"));
    m_dlg->erwarteDatei(gewaehlt(datei, 2));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));

    // The chosen file's whole folder is the database; the type is kept everywhere.
    QVERIFY(m_db->offen());
    QVERIFY(m_dlg->meldungen().isEmpty());
    QCOMPARE(m_db->db()->name(), QFileInfo(datei).absolutePath());
    QCOMPARE(m_db->Datenbank, datei);
    QCOMPARE(setting(QStringLiteral("DatenbankTyp")), QStringLiteral("2"));
    QCOMPARE(m_main->historie().eintraege().constFirst().typ, 2);
    frmZentrale* z = zentrale();
    QVERIFY(z);
    QCOMPARE(z->kopfzeile()->text(),
        QStringLiteral("Datenbankobjekte aus: dbase_83.dbf  Änderbar: Ja  Format: dBASE III"));
    // Nothing of this format keeps a transaction, so none is offered.
    QVERIFY(m_main->werkzeugAktiv(QStringLiteral("dateischließen")));
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));

    // The navigator hands a table over to its table view.
    TabellenfensterEinrichten(m_main->mdiArea(), *m_db, Recordsetansicht());
    Zentraleliste liste;
    liste.ListenRefresh(*m_db->db(), m_db->Datenbank, m_db->DatenbankTyp, Zentraleschalter());
    int zeile = -1;
    for (int i = 0; i < liste.zeilen().size(); ++i)
        if (liste.zeilen().at(i).art == Zeilenart::StandardTabelle
            && liste.zeilen().at(i).schluessel == QStringLiteral("dbase_83"))
            zeile = i;
    QVERIFY(zeile >= 0);
    Zentraleumgebung umgebung;
    umgebung.datenbank = m_db.get();
    umgebung.aktionErlaubt = [](int) { return true; };
    Zentralebefehle befehle(umgebung);
    QVERIFY(!befehle.knopf(Zentraleknopf::Oeffnen, liste, zeile));
    frmTabelle* f = nullptr;
    for (QMdiSubWindow* s : m_main->mdiArea()->subWindowList())
        if (auto* t = qobject_cast<frmTabelle*>(s->widget()))
            f = t;
    QVERIFY(f);
    QCOMPARE(f->TDBGrid1()->datenzeilen(), 67);
    QVERIFY(m_dlg->meldungen().isEmpty());

    // Compaction needs the engine's own file.
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateikomprimieren"));
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QVERIFY2(m_dlg->letzteMeldung().text.contains(QLatin1String("'dBASE III'")),
        qPrintable(m_dlg->letzteMeldung().text));
    QVERIFY(m_db->offen());
    // So does saving under another name: the folder is more than the one file.
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateispeichernunter"));
    QCOMPARE(m_dlg->meldungen().size(), 2);
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Das Speichern unter anderem Namen ist nur mit einer Datenbank im eigenen "
                       "Format möglich")));
    QCOMPARE(m_dlg->dateiDialoge().size(), 1);

    // A changed value is in the file: opened again from the history, it is still there.
    {
        auto rs = m_db->db()->openRecordset(QStringLiteral("SELECT * FROM dbase_83 WHERE ID = 34"));
        rs->edit();
        rs->setValue(QStringLiteral("NAME"), QStringLiteral("Aprikosenkuchen"));
        rs->update();
    }
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateischließen"));
    QVERIFY(!m_db->offen());
    m_h->historieOeffnen(1);
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->DatenbankTyp, 2);
    auto rs = m_db->db()->openRecordset(QStringLiteral("SELECT NAME FROM dbase_83 WHERE ID = 34"));
    QCOMPARE(rs->value(0).toString(), QStringLiteral("Aprikosenkuchen"));
}

void TestFremdformate::arbeitsmappeAlsDatenbank()
{
    const QString mappe = m_dir->file(QStringLiteral("iris.xls"));
    QVERIFY(QFile::copy(
        test::testdataDir() + QStringLiteral("/xls/tidyverse_readxl/iris-excel-xls.xls"), mappe));
    m_dlg->erwarteDatei(gewaehlt(mappe, 14));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->db()->name(), mappe);
    QCOMPARE(setting(QStringLiteral("DatenbankTyp")), QStringLiteral("14"));
    QVERIFY(zentrale());
    QCOMPARE(zentrale()->kopfzeile()->text(),
        QStringLiteral("Datenbankobjekte aus: iris.xls  Änderbar: Nein  Format: Excel 5.0"));
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
    const QList<TableDef*> tabellen = m_db->db()->tableDefs().items();
    TableDef* blatt = nullptr;
    for (TableDef* t : tabellen)
        if (!t->isSystem())
            blatt = t;
    QVERIFY(blatt);
    auto rs = m_db->db()->openRecordset(blatt->name());
    QVERIFY(!rs->updatable());
    QCOMPARE(rs->value(QStringLiteral("Species")).toString(), QStringLiteral("setosa"));
    QCOMPARE(rs->value(QStringLiteral("Sepal.Length")).toDouble(), 5.1);
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestFremdformate::unlesbareTabelleWirdGenannt()
{
    // A file of the folder that is no table: the others open, the user learns which one failed.
    const QString ordner = m_dir->file(QStringLiteral("gemischt"));
    QVERIFY(kv::test::kopiereTestdaten(
        QStringLiteral("dbf/infused_dbf"), { QStringLiteral("dbase_03.dbf") }, ordner));
    const QString leer = QDir(ordner).filePath(QStringLiteral("kunden.dbf"));
    QFile f(leer);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    m_dlg->erwarteDatei(gewaehlt(leer, 5));
    m_h->oeffnen();
    QVERIFY(m_db->offen());
    QCOMPARE(m_dlg->meldungen().size(), 1);
    const QString text = m_dlg->letzteMeldung().text;
    QVERIFY2(text.startsWith(QStringLiteral(
                 "Folgende Tabellen konnten beim Öffnen der Datenbank nicht erreicht werden:\n\n"
                 "Tabelle 'kunden': ")),
        qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("kunden.dbf")), qPrintable(text));
    QCOMPARE(m_db->db()->tableDefs().item(QStringLiteral("dbase_03")).recordCount(), 14);
}

void TestFremdformate::fehlendeEingebundeneDateien()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 3);
    const QString ordner = m_dir->file(QStringLiteral("fremd"));
    QVERIFY(kv::test::kopiereTestdaten(
        QStringLiteral("dbf/infused_dbf"), { QStringLiteral("dbase_03.dbf") }, ordner));
    const QString andere = m_dir->file(QStringLiteral("Andere.mdb"));
    test::KundendatenbankErzeugen(andere, 1);
    {
        Workspace ws;
        auto db = ws.openDatabase(pfad);
        auto t = db->createTableDef(QStringLiteral("Alt"));
        t->setConnect(QStringLiteral("dBASE III;DATABASE=") + ordner);
        t->setSourceTableName(QStringLiteral("dbase_03"));
        db->tableDefs().append(std::move(t));
        auto k = db->createTableDef(QStringLiteral("FremdeKunden"));
        k->setConnect(QStringLiteral(";DATABASE=") + andere);
        k->setSourceTableName(QStringLiteral("Kunden"));
        db->tableDefs().append(std::move(k));
    }
    QVERIFY(QFile::remove(QDir(ordner).filePath(QStringLiteral("dbase_03.dbf"))));
    QVERIFY(QFile::remove(andere));

    m_db->Datenbank = pfad;
    m_db->DatenbankTyp = 1;
    QVERIFY(m_h->OeffneDatenbank());
    // One message names both tables and their files; the database stays open and usable.
    QCOMPARE(m_dlg->meldungen().size(), 1);
    const QString text = m_dlg->letzteMeldung().text;
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Tabellen nicht erreichbar"));
    QVERIFY2(text.contains(QLatin1String("Tabelle 'Alt': "))
            && text.contains(QLatin1String("dbase_03"))
            && text.contains(QLatin1String("Tabelle 'FremdeKunden': "))
            && text.contains(QLatin1String("Andere.mdb")),
        qPrintable(text));
    QVERIFY(
        text.endsWith(QStringLiteral("Die übrigen Daten der Datenbank können verwendet werden.")));
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->db()->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 3);

    // Without missing files nothing is shown.
    m_db->db()->tableDefs().remove(QStringLiteral("Alt"));
    m_db->db()->tableDefs().remove(QStringLiteral("FremdeKunden"));
    QVERIFY(m_h->OeffneDatenbank());
    QCOMPARE(m_dlg->meldungen().size(), 1);
}

void TestFremdformate::jetDateiWirdUmgewandelt()
{
    const QString quelle = m_dir->file(QStringLiteral("alt.mdb"));
    QVERIFY(QFile::copy(
        test::testdataDir() + QStringLiteral("/mdb/jahlborn_jackcess/testV1997.mdb"), quelle));
    const QByteArray vorher = [&] {
        QFile f(quelle);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QString ziel = m_dir->file(QStringLiteral("alt (umgewandelt).mdb"));
    m_dlg->erwarteDatei(gewaehlt(quelle, 1));
    m_dlg->erwarteAntwort(Antwort::Ja);
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));

    QCOMPARE(m_dlg->meldungen().size(), 2);
    const Meldung frage = m_dlg->meldungen().at(0);
    QCOMPARE(frage.titel, QStringLiteral("Datenbank umwandeln"));
    QVERIFY2(frage.text.contains(quelle) && frage.text.contains(ziel), qPrintable(frage.text));
    QVERIFY2(m_dlg->letzteMeldung().text.startsWith(
                 QStringLiteral("Die Datenbank wurde umgewandelt in:\n\n") + ziel
                 + QStringLiteral("\n\nÜbernommen: 4 Tabellen mit ")),
        qPrintable(m_dlg->letzteMeldung().text));
    // The new file is the open database from now on; the original is as it was.
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, ziel);
    QCOMPARE(setting(QStringLiteral("Datenbank")), ziel);
    QCOMPARE(m_db->db()->tableDefs().item(QStringLiteral("Table1")).recordCount(), 2);
    QVERIFY(zentrale());
    QFile f(quelle);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), vorher);
}

void TestFremdformate::jetUmwandlungAbgelehntOderFehlgeschlagen()
{
    // The start of a file of the old engine, the rest cut off.
    const QString quelle = m_dir->file(QStringLiteral("alt.mdb"));
    {
        QFile voll(test::testdataDir() + QStringLiteral("/mdb/mdbtools_mdbtestdata/nwind.mdb"));
        QVERIFY(voll.open(QIODevice::ReadOnly));
        QFile f(quelle);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(voll.read(6000));
    }
    // No: nothing opens, nothing is written.
    m_db->Datenbank = quelle;
    m_db->DatenbankTyp = 1;
    m_dlg->erwarteAntwort(Antwort::Nein);
    QVERIFY(!m_h->OeffneDatenbank());
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { QStringLiteral("alt.mdb") });

    // Yes: the failure is told, no half-written file stays.
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(!m_h->OeffneDatenbank());
    QCOMPARE(m_dlg->meldungen().size(), 3);
    QVERIFY2(m_dlg->letzteMeldung().text.startsWith(
                 QStringLiteral("Fehler bei der Umwandlung der Datenbank:\n\n") + quelle),
        qPrintable(m_dlg->letzteMeldung().text));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { QStringLiteral("alt.mdb") });
    QVERIFY(!m_db->offen());
}

// A file with a database password: the error 3031, then the password box until the right
// password or an empty answer.
void TestFremdformate::geschuetzteJetDatei()
{
    const QString quelle = m_dir->file(QStringLiteral("geschuetzt.mdb"));
    QVERIFY(QFile::copy(test::testdataDir()
            + QStringLiteral("/mdb/andipaetzold_mdb-reader/V2000_with-password.mdb"),
        quelle));
    QFile(quelle).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_db->Datenbank = quelle;
    m_db->DatenbankTyp = 1;

    // Given up with an empty answer: nothing opens, nothing is written.
    m_dlg->erwarteAntwort(Antwort::Ja);
    m_dlg->erwarteEingabe(QString());
    QVERIFY(!m_h->OeffneDatenbank());
    QCOMPARE(m_dlg->meldungen().size(), 2);
    QVERIFY2(m_dlg->letzteMeldung().text.contains(QStringLiteral("3031")),
        qPrintable(m_dlg->letzteMeldung().text));
    QCOMPARE(m_dlg->eingaben().size(), 1);
    QCOMPARE(m_dlg->eingaben().at(0).titel, QStringLiteral("Passworteingabe"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
        QStringList { QStringLiteral("geschuetzt.mdb") });
    QVERIFY(!m_db->offen());

    // A wrong password is told and asked again; the right one converts.
    m_dlg->erwarteAntwort(Antwort::Ja);
    m_dlg->erwarteEingabe(QStringLiteral("Password"));
    m_dlg->erwarteEingabe(QStringLiteral("password"));
    QVERIFY(m_h->OeffneDatenbank());
    QCOMPARE(m_dlg->eingaben().size(), 3);
    QVERIFY2(m_dlg->letzteMeldung().text.startsWith(
                 QStringLiteral("Die Datenbank wurde umgewandelt in:")),
        qPrintable(m_dlg->letzteMeldung().text));
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, m_dir->file(QStringLiteral("geschuetzt (umgewandelt).mdb")));
    QVERIFY(m_dlg->leer());
}

QTEST_MAIN(TestFremdformate)
#include "tst_fremdformate.moc"
