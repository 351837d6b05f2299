#include "base/Programmverzeichnis.h"
#include "base/Windows1252.h"
#include "shell/Einstellungen.h"
#include "shell/IniDatei.h"
#include "shell/Sicherung.h"
#include "shell/ui/frmSicherung.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QTest>

using namespace kv;

namespace {

QByteArray binaer(int groesse)
{
    QByteArray b(groesse, '\0');
    for (int i = 0; i < groesse; ++i)
        b[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return b;
}

void schreibe(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

QByteArray lies(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

/// Every file of a folder with its contents.
QMap<QString, QByteArray> stand(const QString& ordner)
{
    QMap<QString, QByteArray> m;
    for (const QString& n : QDir(ordner).entryList(QDir::Files | QDir::Hidden))
        m.insert(n, lies(ordner + u'/' + n));
    return m;
}

const QStringList Gesichert = { QStringLiteral("Adressen.MDB"), QStringLiteral("kunden.msk"),
    QStringLiteral("tabelle.dbf"), QStringLiteral("Übersicht Größe.LST") };

} // namespace

class TestSicherung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { Einstellungen::setzeSpeicherordner(QString()); }

    void dateiliste();
    void rundreise();
    void ueberschreiben_data();
    void ueberschreiben();
    void kaputtesArchiv_data();
    void kaputtesArchiv();
    void beschaedigterInhaltLaesstOrdnerUnveraendert();
    void unbeschreibbaresZiel_data();
    void unbeschreibbaresZiel();
    void abbrechen();
    void fensterRundreise();
    void frageNieUnterFortschritt();
    void ruecksicherungOhneDatenbank();

private:
    QString dbOrdner() const { return m_db->path() + u'/'; }
    QString sichere();

    std::unique_ptr<test::TempDir> m_db;
    std::unique_ptr<test::TempDir> m_ablage;
    std::unique_ptr<test::TempDir> m_einstellungen;
};

void TestSicherung::init()
{
    m_db = std::make_unique<test::TempDir>();
    m_ablage = std::make_unique<test::TempDir>();
    m_einstellungen = std::make_unique<test::TempDir>();
    Einstellungen::setzeSpeicherordner(m_einstellungen->path());
    schreibe(m_db->file(QStringLiteral("Adressen.MDB")), binaer(300000));
    schreibe(m_db->file(QStringLiteral("kunden.msk")), "[Maske]\r\nName=Kunden\r\n");
    schreibe(m_db->file(QStringLiteral("tabelle.dbf")), binaer(17));
    schreibe(m_db->file(QStringLiteral("Übersicht Größe.LST")), QByteArray("\0\xff\xfe", 3));
    schreibe(m_db->file(QStringLiteral("Notiz.txt")), "nicht sichern");
    schreibe(m_db->file(QStringLiteral("alt.DBX")), "nicht sichern");
}

QString TestSicherung::sichere()
{
    const QString archiv = m_ablage->file(QStringLiteral("sicherung.zip"));
    const auto e = Sicherung::Sichern(dbOrdner(), Gesichert, archiv);
    if (!e.ok)
        qWarning() << e.meldung;
    return archiv;
}

void TestSicherung::dateiliste()
{
    const SicherungsAuftrag a = ErzeugeSicherungsAuftrag(true, dbOrdner());
    QCOMPARE(a.dateiliste,
        dbOrdner() + QStringLiteral("*.MDB|*.XLS|*.DBF|*.DB;*.TSK;*.MSK;*.LST;*.CRD;*.LBL"));
    QCOMPARE(a.ueberschrift, QStringLiteral("RückDatensicherung"));
    QCOMPARE(
        ErzeugeSicherungsAuftrag(false, dbOrdner()).ueberschrift, QStringLiteral("Datensicherung"));
    QCOMPARE(a.iniAbschnitt, QStringLiteral("KelvadSicherung"));
    QVERIFY(a.symbol.endsWith(QStringLiteral("Sichern32.ico")));
    const QStringList muster = Sicherung::Muster(a.dateiliste, a.verzeichnis);
    QCOMPARE(muster.size(), 9);
    QCOMPARE(
        Sicherung::Muster(QStringLiteral("C:\\Daten\\*.MDB|*.XLS"), QStringLiteral("c:\\daten\\")),
        (QStringList { QStringLiteral("*.MDB"), QStringLiteral("*.XLS") }));
    QCOMPARE(Sicherung::PassendeDateien(a.verzeichnis, muster), Gesichert);
}

void TestSicherung::rundreise()
{
    const QMap<QString, QByteArray> vorher = stand(m_db->path());
    int letzter = -1;
    const auto e = Sicherung::Sichern(dbOrdner(), Gesichert,
        m_ablage->file(QStringLiteral("s.zip")), [&](int erledigt, int gesamt, const QString&) {
            letzter = erledigt;
            return gesamt == Gesichert.size();
        });
    QVERIFY2(e.ok, qPrintable(e.meldung));
    QCOMPARE(letzter, Gesichert.size());
    QCOMPARE(
        QDir(m_ablage->path()).entryList(QDir::Files), QStringList { QStringLiteral("s.zip") });

    QString fehler;
    QCOMPARE(Sicherung::ArchivInhalt(m_ablage->file(QStringLiteral("s.zip")), &fehler), Gesichert);
    QVERIFY(fehler.isEmpty());

    // Restore into an empty folder: no question, identical files.
    test::TempDir leer;
    int fragen = 0;
    const auto r = Sicherung::Ruecksichern(
        m_ablage->file(QStringLiteral("s.zip")), Gesichert, leer.path(), [&](const QString&) {
            ++fragen;
            return Antwort::Ja;
        });
    QVERIFY2(r.ok, qPrintable(r.meldung));
    QCOMPARE(r.dateien, Gesichert.size());
    QCOMPARE(fragen, 0);
    QMap<QString, QByteArray> erwartet = vorher;
    erwartet.remove(QStringLiteral("Notiz.txt"));
    erwartet.remove(QStringLiteral("alt.DBX"));
    QCOMPARE(stand(leer.path()), erwartet);
}

void TestSicherung::ueberschreiben_data()
{
    QTest::addColumn<Antwort>("antwort");
    QTest::newRow("Ja") << Antwort::Ja;
    QTest::newRow("Nein") << Antwort::Nein;
    QTest::newRow("Abbrechen") << Antwort::Abbrechen;
}

void TestSicherung::ueberschreiben()
{
    QFETCH(Antwort, antwort);
    const QString archiv = sichere();
    const QByteArray original = lies(m_db->file(QStringLiteral("kunden.msk")));
    schreibe(m_db->file(QStringLiteral("kunden.msk")), "geändert");
    QFile::remove(m_db->file(QStringLiteral("tabelle.dbf")));

    QStringList gefragt;
    const auto r
        = Sicherung::Ruecksichern(archiv, Gesichert, dbOrdner(), [&](const QString& datei) {
              gefragt.append(datei);
              return datei == QStringLiteral("kunden.msk") ? antwort : Antwort::Nein;
          });
    // Only the files that exist are asked about, the missing one is restored without asking.
    QCOMPARE(gefragt.size(), antwort == Antwort::Abbrechen ? 2 : 3);
    QVERIFY(!gefragt.contains(QStringLiteral("tabelle.dbf")));
    QCOMPARE(r.ok, antwort != Antwort::Abbrechen);
    QCOMPARE(r.abgebrochen, antwort == Antwort::Abbrechen);
    QCOMPARE(lies(m_db->file(QStringLiteral("kunden.msk"))),
        antwort == Antwort::Ja ? original : QByteArray("geändert"));
    QCOMPARE(
        QFile::exists(m_db->file(QStringLiteral("tabelle.dbf"))), antwort != Antwort::Abbrechen);
    QCOMPARE(
        QDir(m_db->path()).entryList(QDir::Files).size(), antwort == Antwort::Abbrechen ? 5 : 6);
}

void TestSicherung::kaputtesArchiv_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QString>("grund");
    QTest::newRow("Text") << QByteArray("Das ist keine Sicherung.\r\n")
                          << QStringLiteral("kein Zip-Archiv");
    QTest::newRow("leer") << QByteArray() << QStringLiteral("kein Zip-Archiv");
    QTest::newRow("abgeschnitten") << QByteArray("halb") << QStringLiteral("kein Zip-Archiv");
    QTest::newRow("Kopf zerstört") << QByteArray("kopf") << QStringLiteral("beschädigt");
    QTest::newRow("fehlt") << QByteArray("fehlt") << QStringLiteral("nicht geöffnet");
}

void TestSicherung::kaputtesArchiv()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, grund);
    QString archiv = m_ablage->file(QStringLiteral("kaputt.zip"));
    if (inhalt == "halb") {
        const QByteArray ganz = lies(sichere());
        schreibe(archiv, ganz.left(ganz.size() / 2));
    } else if (inhalt == "kopf") {
        QByteArray ganz = lies(sichere());
        ganz[0] = 'X';
        schreibe(archiv, ganz);
    } else if (inhalt == "fehlt") {
        archiv = m_ablage->file(QStringLiteral("gibtsnicht.zip"));
    } else {
        schreibe(archiv, inhalt);
    }
    const QMap<QString, QByteArray> vorher = stand(m_db->path());
    QString fehler;
    QVERIFY(Sicherung::ArchivInhalt(archiv, &fehler).isEmpty());
    QVERIFY2(fehler.contains(grund), qPrintable(fehler));
    QVERIFY(fehler.startsWith(QStringLiteral("Das Archiv kann nicht gelesen werden:")));
    const auto r = Sicherung::Ruecksichern(archiv, Gesichert, dbOrdner(), {});
    QVERIFY(!r.ok);
    QCOMPARE(r.meldung, fehler);
    QCOMPARE(stand(m_db->path()), vorher);
}

void TestSicherung::beschaedigterInhaltLaesstOrdnerUnveraendert()
{
    // A damaged entry in the middle: the files before it must not be written either.
    const QString archiv = sichere();
    QByteArray bytes = lies(archiv);
    const qsizetype mitte = bytes.indexOf("Adressen.MDB") + 200;
    for (qsizetype i = mitte; i < mitte + 64; ++i)
        bytes[i] = static_cast<char>(~bytes[i]);
    schreibe(archiv, bytes);
    for (const QString& n : Gesichert)
        QFile::remove(m_db->file(n));
    schreibe(m_db->file(QStringLiteral("kunden.msk")), "aktuell");
    const QMap<QString, QByteArray> vorher = stand(m_db->path());

    QStringList reihenfolge = Gesichert;
    reihenfolge.move(0, 3); // the damaged database file last
    const auto r = Sicherung::Ruecksichern(
        archiv, reihenfolge, dbOrdner(), [](const QString&) { return Antwort::Ja; });
    QVERIFY(!r.ok);
    QVERIFY2(r.meldung.startsWith(QStringLiteral("Fehler beim Zurückschreiben von:")),
        qPrintable(r.meldung));
    QVERIFY(r.meldung.contains(QStringLiteral("Adressen.MDB")));
    QCOMPARE(stand(m_db->path()), vorher);
}

void TestSicherung::unbeschreibbaresZiel_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::newRow("Ordner fehlt") << QStringLiteral("fehlt/s.zip");
    QTest::newRow("Ziel ist ein Ordner") << QStringLiteral("ordner");
}

void TestSicherung::unbeschreibbaresZiel()
{
    QFETCH(QString, ziel);
    QVERIFY(QDir(m_ablage->path()).mkdir(QStringLiteral("ordner")));
    const auto e = Sicherung::Sichern(dbOrdner(), Gesichert, m_ablage->file(ziel));
    QVERIFY(!e.ok);
    QVERIFY2(e.meldung.startsWith(QStringLiteral("Fehler beim Schreiben der Sicherung:")),
        qPrintable(e.meldung));
    QVERIFY(e.meldung.contains(QStringLiteral("geschrieben werden")));
    QCOMPARE(QDir(m_ablage->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo(m_ablage->file(QStringLiteral("ordner"))).isDir());
}

void TestSicherung::abbrechen()
{
    // An existing archive survives a cancelled backup unchanged.
    const QString archiv = sichere();
    const QByteArray alt = lies(archiv);
    schreibe(m_db->file(QStringLiteral("kunden.msk")), "neu");
    const auto e = Sicherung::Sichern(dbOrdner(), Gesichert, archiv,
        [](int erledigt, int, const QString&) { return erledigt < 1; });
    QVERIFY(e.abgebrochen);
    QVERIFY(!e.ok);
    QCOMPARE(lies(archiv), alt);
    QCOMPARE(QDir(m_ablage->path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("sicherung.zip") });

    // A cancelled restore writes nothing, even the files unpacked before.
    const QMap<QString, QByteArray> vorher = stand(m_db->path());
    const auto r = Sicherung::Ruecksichern(
        archiv, Gesichert, dbOrdner(), [](const QString&) { return Antwort::Ja; },
        [](int erledigt, int, const QString&) { return erledigt < 3; });
    QVERIFY(r.abgebrochen);
    QCOMPARE(stand(m_db->path()), vorher);
}

void TestSicherung::fensterRundreise()
{
    test::ScriptedDialoge dialoge;
    SicherungsAuftrag a = ErzeugeSicherungsAuftrag(false, dbOrdner());
    a.iniPfad = m_ablage->file(QStringLiteral("KELVAD.INI"));
    schreibe(a.iniPfad, zuWindows1252(QStringLiteral("[WebUpdate]\r\nAutoPrüfung=3\r\n")));
    const QString archiv = m_ablage->file(QStringLiteral("Fenster.zip"));
    {
        frmSicherung fenster(a);
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Datensicherung Kelvado"));
        QCOMPARE(fenster.dateien(), Gesichert);
        DateiDialogErgebnis wahl;
        wahl.abgebrochen = false;
        wahl.pfad = archiv;
        dialoge.erwarteDatei(wahl);
        QVERIFY(fenster.archivWaehlen());
        QCOMPARE(dialoge.dateiDialoge().back().startVerzeichnis, dbOrdner());
        QVERIFY(dialoge.dateiDialoge().back().speichern);
        QVERIFY(fenster.ausfuehren());
        QVERIFY(dialoge.letzteMeldung().text.startsWith(
            QStringLiteral("Die Datensicherung wurde erfolgreich beendet!")));
    }
    // The folder is remembered for the user; the installation's file stays as it was.
    QCOMPARE(IniWert(a.iniPfad, QStringLiteral("KelvadSicherung"), QStringLiteral("Verzeichnis")),
        std::optional<QString>(m_ablage->path()));
    QCOMPARE(lies(a.iniPfad), zuWindows1252(QStringLiteral("[WebUpdate]\r\nAutoPrüfung=3\r\n")));
    QVERIFY(QFile::exists(m_einstellungen->file(QStringLiteral("KELVAD.INI"))));

    schreibe(m_db->file(QStringLiteral("kunden.msk")), "geändert");
    a = ErzeugeSicherungsAuftrag(true, dbOrdner());
    a.iniPfad = m_ablage->file(QStringLiteral("KELVAD.INI"));
    frmSicherung rueck(a);
    DateiDialogErgebnis wahl;
    wahl.abgebrochen = false;
    wahl.pfad = archiv;
    dialoge.erwarteDatei(wahl);
    QVERIFY(rueck.archivWaehlen());
    QCOMPARE(dialoge.dateiDialoge().back().startVerzeichnis, m_ablage->path());
    QCOMPARE(rueck.ausgewaehlteDateien(), Gesichert);
    // Four files exist: overwrite only the changed mask.
    dialoge.erwarteAntwort(Antwort::Nein);
    dialoge.erwarteAntwort(Antwort::Ja);
    dialoge.erwarteAntwort(Antwort::Nein);
    dialoge.erwarteAntwort(Antwort::Nein);
    QVERIFY(rueck.ausfuehren());
    QVERIFY(dialoge.leer());
    QCOMPARE(
        lies(m_db->file(QStringLiteral("kunden.msk"))), QByteArray("[Maske]\r\nName=Kunden\r\n"));
    QVERIFY(dialoge.letzteMeldung().text.contains(QStringLiteral("1 Datei zurückgeschrieben.")));

    // A damaged archive chosen in the window: message, nothing to start.
    schreibe(m_ablage->file(QStringLiteral("kaputt.zip")), "kaputt");
    QVERIFY(!rueck.setzeArchiv(m_ablage->file(QStringLiteral("kaputt.zip"))));
    QVERIFY(dialoge.letzteMeldung().text.contains(QStringLiteral("kein Zip-Archiv")));
    QVERIFY(rueck.dateien().isEmpty());
}

void TestSicherung::frageNieUnterFortschritt()
{
    // The question waits long beyond the moment the progress box would appear; at no time may
    // a progress box lie over it.
    test::ScriptedDialoge dialoge;
    const QString archiv = sichere();
    SicherungsAuftrag a = ErzeugeSicherungsAuftrag(true, dbOrdner());
    a.iniPfad = m_ablage->file(QStringLiteral("KELVAD.INI"));
    frmSicherung rueck(a);
    rueck.show();
    QVERIFY(rueck.setzeArchiv(archiv));
    int verdeckt = 0;
    dialoge.beimZeigen([&](const Meldung& m) {
        if (m.knoepfe != Knoepfe::JaNeinAbbrechen)
            return;
        QTest::qWait(700);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QProgressDialog*>(w) && w->isVisible())
                ++verdeckt;
        }
    });
    for (int i = 0; i < Gesichert.size(); ++i)
        dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(rueck.ausfuehren());
    QCOMPARE(verdeckt, 0);
    QVERIFY(dialoge.letzteMeldung().text.contains(QStringLiteral("4 Dateien zurückgeschrieben.")));
}

void TestSicherung::ruecksicherungOhneDatenbank()
{
    test::ScriptedDialoge dialoge;
    const QString archiv = sichere();
    // The archive knows where it came from.
    QCOMPARE(Sicherung::Quellverzeichnis(archiv), QDir(dbOrdner()).absolutePath());
    QCOMPARE(Sicherung::Quellverzeichnis(m_ablage->file(QStringLiteral("fehlt.zip"))), QString());

    test::TempDir programm;
    setzeProgrammverzeichnis(programm.path());
    test::TempDir ziel;
    SicherungsAuftrag a = ErzeugeSicherungsAuftrag(true, QString());
    a.iniPfad = programm.file(QStringLiteral("KELVAD.INI"));
    frmSicherung rueck(a);
    QVERIFY(rueck.setzeArchiv(archiv));
    DateiDialogErgebnis wahl;
    wahl.abgebrochen = false;
    // First the program folder, which is refused, then a folder of the user's.
    wahl.pfad = programm.path();
    dialoge.erwarteDatei(wahl);
    wahl.pfad = ziel.path();
    dialoge.erwarteDatei(wahl);
    QVERIFY(rueck.ausfuehren());
    setzeProgrammverzeichnis(QString());

    QCOMPARE(dialoge.dateiDialoge().size(), 2);
    const DateiDialogOptionen& frage = dialoge.dateiDialoge().front();
    QVERIFY(frage.ordner);
    QCOMPARE(frage.startVerzeichnis, QDir(dbOrdner()).absolutePath());
    QCOMPARE(dialoge.texte().front(),
        QStringLiteral("In das Programmverzeichnis wird nicht zurückgesichert.\n\nBitte wählen "
                       "Sie das Verzeichnis Ihrer Datenbank."));
    QCOMPARE(QDir(programm.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(stand(ziel.path()).keys(), Gesichert);

    // Cancelling the folder choice restores nothing.
    frmSicherung nochmal(a);
    QVERIFY(nochmal.setzeArchiv(archiv));
    dialoge.erwarteDatei(DateiDialogErgebnis {});
    QVERIFY(!nochmal.ausfuehren());
}

QTEST_MAIN(TestSicherung)
#include "tst_sicherung.moc"
