#include "Hauptfensterumfeld.h"
#include "Kundendatenbank.h"
#include "base/Programmverzeichnis.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Datenbankhandling.h"
#include "shell/Einstellungen.h"
#include "shell/Historienliste.h"
#include "shell/Prozesswerte.h"
#include "shell/Sicherung.h"
#include "shell/ui/GMainEP.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmMainZugang.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace kv;
using namespace kv::engine;
using kv::test::gewaehlt;

namespace {

void erzeuge(const QString& pfad, int n = 3, const QString& passwort = QString())
{
    test::KundendatenbankErzeugen(pfad, n, passwort);
}

qint64 zeilen(Database* db)
{
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden"));
    if (rs->recordCount() > 0)
        rs->moveLast();
    return rs->recordCount();
}

/// A file that is no database at all.
void schreibeKaputteDatei(const QString& pfad)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
}

} // namespace

class TestDatenbank : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void neuOeffnenSchliessen();
    void neuAufVorhandeneDatei();
    void oeffnenSchreibgeschuetzt();
    void fehlgeschlagenesOeffnenBehaeltDatenbank();
    void speichernUnter();
    void passwortschleife();
    void passwortschleife_data();
    void transaktionBeimSchliessen();
    void transaktionBeimSchliessen_data();
    void komprimieren();
    void reparieren();
    void historieFehlendeDatei();
    void historieOeffnet();
    void speichernFragtNachFenstern();
    void ersterStart();
    void fehlendeSymbole();
    void sicherungSchliesstUndOeffnetWieder();

private:
    Einstellungen einstellungen() { return Einstellungen(); }
    QString setting(const QString& k) { return Einstellungen().lese(AbschnittSettings, k); }

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<AktuelleDatenbank> m_db;
    Datenbankhandling* m_h = nullptr;
};

void TestDatenbank::init()
{
    test::Hauptfensterumfeld { m_dir, m_dlg, m_main, m_db, m_h }.aufbauen();
}

void TestDatenbank::cleanup()
{
    QVERIFY((test::Hauptfensterumfeld { m_dir, m_dlg, m_main, m_db, m_h }.abbauen()));
}

void TestDatenbank::neuOeffnenSchliessen()
{
    const QString pfad = m_dir->file(QStringLiteral("adressen"));
    m_dlg->erwarteDatei(gewaehlt(pfad, 2));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateineu"));

    const DateiDialogOptionen o = m_dlg->dateiDialoge().constLast();
    QCOMPARE(o.titel, QStringLiteral("Neue Datenbank erstellen"));
    QCOMPARE(o.filter.count(QLatin1Char('|')), 5);
    QCOMPARE(o.filterIndex, 1);
    QVERIFY(o.speichern);
    // Without a database the dialog starts in the user's documents, not in the program folder.
    QCOMPARE(QDir::cleanPath(o.startVerzeichnis),
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));

    const QString mdb = pfad + QStringLiteral(".Mdb");
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, mdb);
    QCOMPARE(m_db->db()->property(QStringLiteral("VersionOption")).toInt(), int(dbVersion20));
    QCOMPARE(m_main->aktiveDatenbankWerkzeug()->text(), QStringLiteral("adressen.Mdb"));
    QCOMPARE(setting(QStringLiteral("Datenbank")), mdb);
    QCOMPARE(setting(QStringLiteral("DatenbankTyp")), QStringLiteral("1"));
    QCOMPARE(m_main->historie().eintraege().size(), 1);
    for (const char* w :
        { "dateischließen", "dateispeichern", "bearbeitenimport", "transaktionbeginnen" })
        QVERIFY2(m_main->werkzeugAktiv(QString::fromUtf8(w)), w);
    QVERIFY(m_dlg->meldungen().isEmpty());

    m_main->ActiveBar21_ToolClick(QStringLiteral("dateischließen"));
    QVERIFY(!m_db->offen());
    QCOMPARE(setting(QStringLiteral("Datenbank")), QString());
    QCOMPARE(setting(QStringLiteral("DatenbankTyp")), QStringLiteral("0"));
    QCOMPARE(m_main->aktiveDatenbankWerkzeug()->text(), QStringLiteral("<keine aktive Datenbank>"));
    for (const char* w : { "dateischließen", "dateispeichern", "dateispeichernunter",
             "bearbeitendatenzentrale", "transaktionbeginnen" })
        QVERIFY2(!m_main->werkzeugAktiv(QString::fromUtf8(w)), w);
}

void TestDatenbank::neuAufVorhandeneDatei()
{
    const QString pfad = m_dir->file(QStringLiteral("da.mdb"));
    erzeuge(pfad);
    m_dlg->erwarteDatei(gewaehlt(pfad));
    m_h->neu();
    // The file dialog does not ask about overwriting: the program's own message is the only one.
    QVERIFY(!m_dlg->dateiDialoge().constLast().ueberschreibenFragen);
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QCOMPARE(m_dlg->letzteMeldung().text,
        QStringLiteral("Die gewählte Datenbank ist bereits vorhanden!\n"
                       "Bitte geben Sie für die Neuanlage einen neuen\n"
                       "Dateinamen an, der noch nicht vorhanden ist."));
    QVERIFY(!m_db->offen());
}

void TestDatenbank::oeffnenSchreibgeschuetzt()
{
    const QString pfad = m_dir->file(QStringLiteral("a.mdb"));
    erzeuge(pfad);
    m_dlg->erwarteDatei(gewaehlt(pfad, 1, true));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
    const DateiDialogOptionen o = m_dlg->dateiDialoge().constLast();
    QCOMPARE(o.titel, QStringLiteral("Datenbank öffnen"));
    QCOMPARE(o.filter.split(QLatin1Char('|')).size(), 28);
    QVERIFY(o.schreibgeschuetztAnzeigen);
    QVERIFY(m_db->offen());
    QVERIFY(m_db->DatenbankNurLesen);
    QCOMPARE(setting(QStringLiteral("DatenbankNurLesen")), QStringLiteral("True"));
    // What would write is not offered at all.
    for (const char* w : { "dateispeichern", "dateikomprimieren", "transaktionbeginnen" })
        QVERIFY2(!m_main->werkzeugAktiv(QString::fromUtf8(w)), w);
    QVERIFY(m_main->werkzeugAktiv(QStringLiteral("dateispeichernunter")));

    // The next dialog starts in the database's folder with its type.
    m_dlg->erwarteDatei({});
    m_h->oeffnen();
    QCOMPARE(QDir::cleanPath(m_dlg->dateiDialoge().constLast().startVerzeichnis),
        QDir::cleanPath(m_dir->path()));
    QVERIFY(m_db->offen());
}

void TestDatenbank::fehlgeschlagenesOeffnenBehaeltDatenbank()
{
    const QString pfad = m_dir->file(QStringLiteral("a.mdb"));
    erzeuge(pfad, 3, QStringLiteral("geheim"));
    m_db->Datenbank = pfad;
    m_dlg->erwarteEingabe(QStringLiteral("geheim"));
    QVERIFY(m_h->OeffneDatenbank());
    m_dlg->vergiss();
    m_main->historie().ausfuehren(Historienliste::Modus::Hinzufuegen,
        Historienliste::eintragText({ m_dir->file(QStringLiteral("kaputt.mdb")), 1, false }));

    // A damaged file: its error is shown, then the database of before is open again (without
    // asking for its password once more).
    const QString kaputt = m_dir->file(QStringLiteral("kaputt.mdb"));
    schreibeKaputteDatei(kaputt);
    m_dlg->erwarteDatei(gewaehlt(kaputt));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Öffnen der Datenbank:\n\n") + kaputt));
    QVERIFY(m_dlg->eingaben().isEmpty());
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, pfad);
    QCOMPARE(zeilen(m_db->db()), 3);
    QCOMPARE(setting(QStringLiteral("Datenbank")), pfad);
    QCOMPARE(m_main->aktiveDatenbankWerkzeug()->text(), QStringLiteral("a.mdb"));
    QVERIFY(m_main->werkzeugAktiv(QStringLiteral("dateischließen")));

    // The same through the history list.
    m_dlg->vergiss();
    m_main->ActiveBar21_ToolClick(QStringLiteral("Historie02"));
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QCOMPARE(m_db->Datenbank, pfad);
    QVERIFY(m_db->offen());

    // Without a database before, a failed open leaves none.
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateischließen"));
    m_dlg->erwarteDatei(gewaehlt(kaputt));
    m_h->oeffnen();
    QVERIFY(!m_db->offen());
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("dateischließen")));
}

void TestDatenbank::speichernUnter()
{
    const QString pfad = m_dir->file(QStringLiteral("a.mdb"));
    erzeuge(pfad);
    m_db->Datenbank = pfad;
    QVERIFY(m_h->OeffneDatenbank());

    // Onto itself: nothing happens, the database stays open.
    m_dlg->erwarteDatei(gewaehlt(pfad));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateispeichernunter"));
    QCOMPARE(m_dlg->dateiDialoge().constLast().filter, QStringLiteral("Access (*.MDB)|*.MDB"));
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, pfad);
    QVERIFY(m_dlg->meldungen().isEmpty());

    const QString kopie = m_dir->file(QStringLiteral("b.mdb"));
    m_dlg->erwarteDatei(gewaehlt(kopie));
    m_h->speichernUnter();
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, kopie);
    QCOMPARE(zeilen(m_db->db()), 3);
    QVERIFY(QFileInfo::exists(pfad));
    QCOMPARE(setting(QStringLiteral("Datenbank")), kopie);
    QCOMPARE(m_main->historie().eintraege().size(), 2);
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestDatenbank::passwortschleife_data()
{
    QTest::addColumn<QStringList>("antworten");
    QTest::addColumn<bool>("offen");
    QTest::newRow("leer gibt auf") << QStringList { QString() } << false;
    QTest::newRow("falsch, dann leer") << QStringList { QStringLiteral("x"), QString() } << false;
    QTest::newRow("falsch, dann richtig")
        << QStringList { QStringLiteral("x"), QStringLiteral("geheim") } << true;
}

void TestDatenbank::passwortschleife()
{
    QFETCH(QStringList, antworten);
    QFETCH(bool, offen);
    const QString pfad = m_dir->file(QStringLiteral("p.mdb"));
    erzeuge(pfad, 3, QStringLiteral("geheim"));
    for (const QString& a : antworten)
        m_dlg->erwarteEingabe(a);
    m_db->Datenbank = pfad;
    QCOMPARE(m_h->OeffneDatenbank(), offen);

    QCOMPARE(m_dlg->eingaben().size(), antworten.size());
    QCOMPARE(m_dlg->eingaben().constFirst().titel, QStringLiteral("Passworteingabe"));
    QCOMPARE(m_dlg->eingaben().constFirst().aufforderung,
        QStringLiteral("Bitte geben Sie das Passwort für den Zugriff auf die Datenbank an:"));
    // Every failed try shows the error first.
    QCOMPARE(m_dlg->meldungen().size(), antworten.size());
    for (const Meldung& m : m_dlg->meldungen())
        QVERIFY2(m.text.startsWith(QStringLiteral("Fehler beim Öffnen der Datenbank:\n\n") + pfad
                     + QStringLiteral("\n\nFehler:3031\nBeschreibung: ")),
            qPrintable(m.text));
    QCOMPARE(m_main->werkzeugAktiv(QStringLiteral("dateischließen")), offen);
}

void TestDatenbank::transaktionBeimSchliessen_data()
{
    QTest::addColumn<bool>("bestaetigen");
    QTest::newRow("Ja führt durch") << true;
    QTest::newRow("Nein nimmt zurück") << false;
}

void TestDatenbank::transaktionBeimSchliessen()
{
    QFETCH(bool, bestaetigen);
    const QString pfad = m_dir->file(QStringLiteral("t.mdb"));
    erzeuge(pfad);
    m_db->Datenbank = pfad;
    QVERIFY(m_h->OeffneDatenbank());
    m_main->ActiveBar21_ToolClick(QStringLiteral("transaktionbeginnen"));
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
    QVERIFY(m_main->werkzeugAktiv(QStringLiteral("transaktionupdate")));
    QVERIFY(m_main->werkzeugAktiv(QStringLiteral("transaktionrollback")));
    m_db->db()->execute(QStringLiteral("DELETE FROM Kunden"));

    m_dlg->erwarteAntwort(bestaetigen ? Antwort::Ja : Antwort::Nein);
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateischließen"));
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Transaktion beenden"));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Eine begonnene Transaktion ist noch nicht abgeschlossen!\n")));
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionupdate")));
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionrollback")));

    Workspace ws;
    auto db = ws.openDatabase(pfad);
    QCOMPARE(zeilen(db.get()), bestaetigen ? 0 : 3);
}

void TestDatenbank::komprimieren()
{
    const QString pfad = m_dir->file(QStringLiteral("k.mdb"));
    erzeuge(pfad, 2000);
    {
        Workspace ws;
        auto db = ws.openDatabase(pfad);
        db->execute(QStringLiteral("DELETE FROM Kunden WHERE Name <> 'K1'"));
    }
    const qint64 vorher = QFileInfo(pfad).size();
    m_db->Datenbank = pfad;
    QVERIFY(m_h->OeffneDatenbank());

    m_dlg->erwarteAntwort(Antwort::Ja);
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateikomprimieren"));
    const QList<Meldung> m = m_dlg->meldungen();
    QCOMPARE(m.size(), 2);
    QCOMPARE(m.at(0).titel, QStringLiteral("Datenbank komprimieren"));
    QCOMPARE(m.at(0).text,
        QStringLiteral("Möchten Sie die aktuelle Datenbank\n\n") + pfad
            + QStringLiteral("\n\njetzt komprimieren?"));
    const qint64 nachher = QFileInfo(pfad).size();
    QVERIFY(nachher < vorher);
    QCOMPARE(m.at(1).text,
        QStringLiteral("Das Komprimieren wurde erfolgreich beendet!\n\n"
                       "Die Datei wurde von %1 Bytes auf %2 Bytes komprimiert.")
            .arg(vorher)
            .arg(nachher));
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, pfad);
    QCOMPARE(zeilen(m_db->db()), 1);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);

    // No: nothing happens.
    m_dlg->erwarteAntwort(Antwort::Nein);
    m_h->komprimieren();
    QVERIFY(m_db->offen());
}

void TestDatenbank::reparieren()
{
    const QString pfad = m_dir->file(QStringLiteral("r.mdb"));
    erzeuge(pfad);
    m_db->Datenbank = pfad;
    QVERIFY(m_h->OeffneDatenbank());

    m_dlg->erwarteDatei(gewaehlt(pfad));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateireparieren"));
    const DateiDialogOptionen o = m_dlg->dateiDialoge().constLast();
    QCOMPARE(o.titel, QStringLiteral("Datenbank im Access-Format reparieren"));
    QCOMPARE(o.dateiname, pfad);
    QCOMPARE(
        m_dlg->letzteMeldung().text, QStringLiteral("Die Reparatur wurde erfolgreich beendet!"));
    QVERIFY(m_db->offen());
    QCOMPARE(zeilen(m_db->db()), 3);

    const QString kaputt = m_dir->file(QStringLiteral("kaputt.mdb"));
    schreibeKaputteDatei(kaputt);
    m_dlg->erwarteDatei(gewaehlt(kaputt));
    m_h->reparieren();
    QVERIFY2(
        m_dlg->letzteMeldung().text.startsWith(QStringLiteral("Fehler bei der Reparatur von:\n\n")
            + kaputt + QStringLiteral("\n\nFehler: ")),
        qPrintable(m_dlg->letzteMeldung().text));
    // The open database was not touched.
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, pfad);
}

void TestDatenbank::historieFehlendeDatei()
{
    const QString pfad = m_dir->file(QStringLiteral("weg.mdb"));
    const QString da = m_dir->file(QStringLiteral("da.mdb"));
    m_main->historie().hinzufuegen({ da, 1, false });
    m_main->historie().hinzufuegen({ pfad, 1, false });
    m_main->ActiveBar21_ToolClick(QStringLiteral("Historie01"));
    QCOMPARE(m_dlg->letzteMeldung().text,
        QStringLiteral("Die angegebene Datei ist nicht mehr vorhanden!"));
    QCOMPARE(m_main->historie().eintraege().size(), 1);
    QCOMPARE(m_main->historie().eintraege().constFirst().pfad, da);
    QVERIFY(!setting(QStringLiteral("MRUListe")).contains(QStringLiteral("weg.mdb")));
    QVERIFY(!m_db->offen());
}

void TestDatenbank::historieOeffnet()
{
    const QString pfad = m_dir->file(QStringLiteral("h.mdb"));
    erzeuge(pfad);
    m_main->historie().hinzufuegen({ pfad, 1, true });
    m_main->ActiveBar21_ToolClick(QStringLiteral("Historie01"));
    QVERIFY(m_db->offen());
    QVERIFY(m_db->DatenbankNurLesen);
    QVERIFY(!m_main->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
}

void TestDatenbank::speichernFragtNachFenstern()
{
    const QString pfad = m_dir->file(QStringLiteral("s.mdb"));
    erzeuge(pfad);
    m_db->Datenbank = pfad;
    QVERIFY(m_h->OeffneDatenbank());
    for (int i = 0; i < 3; ++i)
        m_main->mdiArea()->addSubWindow(new QWidget)->show();

    m_dlg->erwarteAntwort(Antwort::Nein);
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateispeichern"));
    QCOMPARE(m_dlg->letzteMeldung().text,
        QStringLiteral("Die aktuelle Aktion kann nur durchgeführt werden,\n"
                       "wenn alle Fenster geschlossen sind!\n\n"
                       "Sollen alle Fenster jetzt geschlossen werden?"));
    QCOMPARE(m_main->mdiArea()->subWindowList().size(), 3);
    QVERIFY(m_db->offen());

    // Yes keeps the first window (the navigator) and reopens the database.
    m_dlg->erwarteAntwort(Antwort::Ja);
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateispeichern"));
    QCOMPARE(m_main->mdiArea()->subWindowList().size(), 1);
    QVERIFY(m_db->offen());
    QCOMPARE(m_db->Datenbank, pfad);
}

void TestDatenbank::ersterStart()
{
    // Another window replaces the fixture's, with the program's own open database.
    m_main->setzeDatenbankbefehle(nullptr);
    m_main.reset();
    // A program folder of its own, so that the layout files written on closing stay here.
    const QString programm = m_dir->file(QStringLiteral("programm"));
    QVERIFY(QDir().mkpath(programm + QStringLiteral("/Grafik")));
    QFile symbol(programm + QStringLiteral("/Grafik/Abbruch16.ico"));
    QVERIFY(symbol.open(QIODevice::WriteOnly));
    symbol.close();
    setzeProgrammverzeichnis(programm);
    std::unique_ptr<frmMain> f = GMainEP({}, m_dir->file(QStringLiteral("keineinstallation")));
    // The icons lie beside the program, so no warning is shown.
    QVERIFY(m_dlg->meldungen().isEmpty());
    QCOMPARE(Programmschrift().family(), QStringLiteral("Arial"));
    QVERIFY(!aktuelleDatenbank().offen());
    QVERIFY(f->historie().eintraege().isEmpty());
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("dateischließen")));
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
    QCOMPARE(f->windowTitle(), QStringLiteral("Kelvado 7.0 "));

    // The database of the previous run is opened again.
    const QString pfad = m_dir->file(QStringLiteral("vorher.mdb"));
    erzeuge(pfad);
    f->close();
    f.reset();
    Einstellungen().schreibe(AbschnittSettings, QStringLiteral("Datenbank"), pfad);
    Einstellungen().schreibe(
        AbschnittSettings, QStringLiteral("DatenbankTyp"), QStringLiteral("0"));
    f = GMainEP({}, QString());
    QVERIFY(aktuelleDatenbank().offen());
    QCOMPARE(aktuelleDatenbank().Datenbank, pfad);
    QVERIFY(f->werkzeugAktiv(QStringLiteral("dateischließen")));
    // Closing the main window closes the database and writes the state.
    f->close();
    QVERIFY(!aktuelleDatenbank().offen());
    QCOMPARE(setting(QStringLiteral("Datenbank")), pfad);
    QVERIFY(!setting(QStringLiteral("MainState")).isEmpty());
    setzeProgrammverzeichnis(QString());
    m_main = std::make_unique<frmMain>();
}

void TestDatenbank::fehlendeSymbole()
{
    m_main->setzeDatenbankbefehle(nullptr);
    m_main.reset();
    const QString programm = m_dir->file(QStringLiteral("ohneSymbole"));
    QVERIFY(QDir().mkpath(programm));
    setzeProgrammverzeichnis(programm);
    std::unique_ptr<frmMain> f = GMainEP({}, m_dir->file(QStringLiteral("keineinstallation")));
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Achtung! Der Zugriff auf die Grafiksymbole ist nicht möglich.\n\n")));
    // Start-up goes on.
    QVERIFY(f->isVisible());
    f->close();
    f.reset();
    setzeProgrammverzeichnis(QString());
    m_main = std::make_unique<frmMain>();
}

void TestDatenbank::sicherungSchliesstUndOeffnetWieder()
{
    // Records the order instead of showing the backup window, and whether the database was
    // closed while the window would have worked on its files.
    struct Zugang : frmMainZugang {
        Zugang(frmMain& f, AktuelleDatenbank& d)
            : frmMainZugang(f)
            , db(d)
        { }
        void sicherungStarten(const SicherungsAuftrag& a) override
        {
            auftraege.append(a);
            offenWaehrenddessen = db.offen();
        }
        AktuelleDatenbank& db;
        QList<SicherungsAuftrag> auftraege;
        bool offenWaehrenddessen = true;
    };
    const QString pfad = m_dir->file(QStringLiteral("kunden.mdb"));
    m_dlg->erwarteDatei(gewaehlt(pfad, 1));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    QVERIFY(m_db->offen());

    auto zugang = std::make_unique<Zugang>(*m_main, *m_db);
    Zugang* z = zugang.get();
    m_main->setzeDatenbankbefehle(
        std::make_unique<Datenbankhandling>(std::move(zugang), m_db.get()));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateirücksichern"));

    QCOMPARE(z->auftraege.size(), 1);
    const SicherungsAuftrag& a = z->auftraege.constFirst();
    QVERIFY(a.ruecksicherung);
    QCOMPARE(a.datenbank, pfad);
    QCOMPARE(QDir::cleanPath(a.verzeichnis), QDir::cleanPath(m_dir->path()));
    QCOMPARE(a.ueberschrift, QStringLiteral("RückDatensicherung"));
    QCOMPARE(a.hilfedatei, QStringLiteral("sicherung.html"));
    QVERIFY(!z->offenWaehrenddessen);
    QVERIFY(m_db->offen());

    // Without a database there is no folder: the window asks for one, never the program's.
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateischließen"));
    m_main->ActiveBar21_ToolClick(QStringLiteral("dateirücksichern"));
    QCOMPARE(z->auftraege.size(), 2);
    QCOMPARE(z->auftraege.constLast().verzeichnis, QString());
    QVERIFY(!m_db->offen());
}

QTEST_MAIN(TestDatenbank)
#include "tst_datenbank.moc"
