#include "base/Pfade.h"
#include "base/Windows1252.h"
#include "beispiel/Beispieldatenbank.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "shell/Einstellungen.h"
#include "shell/Statustext.h"
#include "shell/Zentraleliste.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QLocale>
#include <QTest>

using namespace kv;
using namespace kv::engine;

namespace {

/// A database "Adressen.mdb" in dir with the given tables (one text field each) and stored
/// queries ("name=SQL").
std::unique_ptr<Database> erzeuge(Workspace& ws, const QString& dir, const QStringList& tabellen,
    const QStringList& abfragen = {})
{
    auto db = ws.createDatabase(dir + QStringLiteral("/Adressen.mdb"));
    for (const QString& name : tabellen) {
        auto t = db->createTableDef(name);
        t->fields().append(t->createField(QStringLiteral("Name"), dbText, 50));
        t->fields().append(t->createField(QStringLiteral("Ort"), dbText, 50));
        db->tableDefs().append(std::move(t));
    }
    for (const QString& a : abfragen) {
        const qsizetype gleich = a.indexOf(QLatin1Char('='));
        db->createQueryDef(a.left(gleich), a.mid(gleich + 1));
    }
    return db;
}

/// "Kind|display|key" with the key's file name for user rows (their keys are full paths).
QStringList beschreibe(const QList<Zentralezeile>& zeilen)
{
    QStringList texte;
    for (const Zentralezeile& z : zeilen)
        texte.append(z.artText() + QLatin1Char('|') + z.anzeige + QLatin1Char('|')
            + (istBenutzer(z.art) ? Dateiname(z.schluessel) : z.schluessel));
    return texte;
}

Zentraleschalter schalterAus(const QString& bits)
{
    Zentraleschalter s;
    for (int i = 0; i < Zentraleschalter::Anzahl; ++i)
        s.an[static_cast<size_t>(i)] = bits.at(i) == QLatin1Char('1');
    return s;
}

} // namespace

class TestZentrale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void zeilen_data();
    void zeilen();
    void benutzerdateien();
    void beispieldatenbank();
    void statuszeile();
    void kopfzeile_data();
    void kopfzeile();
    void kopfzeileSchreibgeschuetzt();
    void sprung_data();
    void sprung();
    void wiederfinden();
    void schalterEinstellungen();
};

void TestZentrale::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestZentrale::zeilen_data()
{
    QTest::addColumn<QStringList>("tabellen");
    QTest::addColumn<QStringList>("abfragen");
    QTest::addColumn<QString>("schalter");
    QTest::addColumn<QStringList>("erwartet");

    const QStringList leer { "Standard-Maske|<noch keine Maske vorhanden>|",
        "Standard-Tabelle|<noch keine Tabelle vorhanden>|",
        "Benutzer-Maske|<noch keine Maske vorhanden>|",
        "Benutzer-Tabelle|<noch keine Tabelle vorhanden>|",
        "Tabellen-Abfrage|<noch keine Tabellen-Abfrage vorhanden>|" };
    // A new database holds only the engine's catalog tables, which are system tables.
    QTest::newRow("nur Systemtabellen") << QStringList() << QStringList() << "11111" << leer;
    QTest::newRow("alle Schalter aus")
        << QStringList { "Kunden" } << QStringList { "Alle=SELECT * FROM Kunden" } << "00000"
        << QStringList();

    const QStringList abfragen { "Auswahl=SELECT * FROM Kunden",
        "Kreuz=TRANSFORM Count(Name) AS Anzahl SELECT Ort FROM Kunden GROUP BY Ort PIVOT Name",
        "Vereinigung=SELECT Name FROM Kunden UNION SELECT Name FROM Artikel",
        "Aendern=UPDATE Kunden SET Ort = 'Bonn'", "Loeschen=DELETE * FROM Kunden",
        "Anfuegen=INSERT INTO Artikel (Name) SELECT Name FROM Kunden",
        "Erstellen=SELECT Name INTO Neu FROM Kunden" };
    const QStringList standard { "Standard-Maske|Artikel|Artikel", "Standard-Maske|Kunden|Kunden",
        "Standard-Tabelle|Artikel|Artikel", "Standard-Tabelle|Kunden|Kunden" };
    const QStringList benutzerLeer { "Benutzer-Maske|<noch keine Maske vorhanden>|",
        "Benutzer-Tabelle|<noch keine Tabelle vorhanden>|" };
    // Action queries are left out; the catalog keeps queries in name order.
    const QStringList auswahl { "Tabellen-Abfrage|Auswahl|Auswahl", "Tabellen-Abfrage|Kreuz|Kreuz",
        "Tabellen-Abfrage|Vereinigung|Vereinigung" };
    QTest::newRow("alles") << QStringList { "Kunden", "Artikel" } << abfragen << "11111"
                           << standard + benutzerLeer + auswahl;
    QTest::newRow("nur Masken") << QStringList { "Kunden", "Artikel" } << abfragen << "10110"
                                << QStringList { "Standard-Maske|Artikel|Artikel",
                                       "Standard-Maske|Kunden|Kunden",
                                       "Benutzer-Maske|<noch keine Maske vorhanden>|" };
    QTest::newRow("nur Abfragen") << QStringList { "Kunden", "Artikel" } << abfragen << "00001"
                                  << auswahl;
    QTest::newRow("Masken und Tabellen ohne Gruppe")
        << QStringList { "Kunden" } << QStringList() << "11001"
        << QStringList { "Tabellen-Abfrage|<noch keine Tabellen-Abfrage vorhanden>|" };
    QTest::newRow("nur Aktionsabfragen")
        << QStringList { "Kunden", "Artikel" }
        << QStringList { "Aendern=UPDATE Kunden SET Ort = 'Bonn'", "Loeschen=DELETE * FROM Kunden" }
        << "00001" << QStringList { "Tabellen-Abfrage|<noch keine Tabellen-Abfrage vorhanden>|" };
}

void TestZentrale::zeilen()
{
    QFETCH(QStringList, tabellen);
    QFETCH(QStringList, abfragen);
    QFETCH(QString, schalter);
    QFETCH(QStringList, erwartet);

    test::TempDir dir;
    Workspace ws;
    auto db = erzeuge(ws, dir.path(), tabellen, abfragen);
    QVERIFY(db->tableDefs().count() > tabellen.size()); // the catalog's own tables

    Zentraleliste liste;
    liste.ListenRefresh(*db, db->name(), 1, schalterAus(schalter));
    QCOMPARE(beschreibe(liste.zeilen()), erwartet);
    QCOMPARE(liste.hatTabellen(), !tabellen.isEmpty());
    for (const Zentralezeile& z : liste.zeilen())
        QCOMPARE(z.platzhalter(), z.anzeige.startsWith(QLatin1String("<noch keine ")));
}

void TestZentrale::benutzerdateien()
{
    test::TempDir dir;
    Workspace ws;
    auto db = erzeuge(ws, dir.path(), { "Kunden" });
    const auto schreibe = [&](const QString& name, const QString& text) {
        QVERIFY(schreibeTextdatei(dir.file(name), text));
    };
    schreibe(
        "Adressen_KELVAD_Kunden.MSK", "KV-Maske: Kundenmaske\r\nSQL: SELECT * FROM Kunden\r\n");
    // Extension and prefix in other case, title keyword in other case, blanks around the title.
    schreibe("adressen_kelvad_Klein.msk", "kv-maske:   Größe  \r\n");
    schreibe("Adressen_KELVAD_OhneTitel.MSK", "Titel: fehlt\r\n");
    schreibe("Adressen_KELVAD_Leer.TSK", "\r\nKV-Tabelle: zu spät\r\n");
    schreibe("Adressen_KELVAD_Liste.TSK", "KV-Tabelle: Kundenliste\r\n");
    // Other databases' files and other kinds of files stay out.
    schreibe("Adressen2_KELVAD_Fremd.MSK", "KV-Maske: fremd\r\n");
    schreibe("Lager_KELVAD_Kunden.TSK", "KV-Tabelle: fremd\r\n");
    schreibe("Adressen_KELVAD_Bericht.LST", "x\r\n");
    schreibe("Adressen.MSK", "KV-Maske: ohne Trenner\r\n");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Adressen_KELVAD_Ordner.MSK")));

    Zentraleliste liste;
    liste.ListenRefresh(*db, db->name(), 1, schalterAus(QStringLiteral("11010")));
    QStringList masken;
    QStringList tabellen;
    for (const Zentralezeile& z : liste.zeilen()) {
        if (z.art == Zeilenart::BenutzerMaske) {
            QVERIFY(QFileInfo(z.schluessel).isAbsolute());
            QCOMPARE(
                QFileInfo(z.schluessel).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
            masken.append(z.anzeige + QLatin1Char('|') + Dateiname(z.schluessel));
        } else if (z.art == Zeilenart::BenutzerTabelle) {
            tabellen.append(z.anzeige + QLatin1Char('|') + Dateiname(z.schluessel));
        }
    }
    // Sorted by definition name, ignoring case, whatever order the folder has.
    QCOMPARE(masken,
        (QStringList { "Klein : Größe|adressen_kelvad_Klein.msk",
            "Kunden : Kundenmaske|Adressen_KELVAD_Kunden.MSK",
            "OhneTitel : kein Titel vorhanden|Adressen_KELVAD_OhneTitel.MSK" }));
    QCOMPARE(tabellen,
        (QStringList { "Leer : Fehler beim Lesen der Titelinformation|Adressen_KELVAD_Leer.TSK",
            "Liste : Kundenliste|Adressen_KELVAD_Liste.TSK" }));
    // Masks come before table views.
    QList<Zeilenart> arten;
    for (const Zentralezeile& z : liste.zeilen())
        arten.append(z.art);
    QCOMPARE(arten,
        (QList<Zeilenart> { Zeilenart::BenutzerMaske, Zeilenart::BenutzerMaske,
            Zeilenart::BenutzerMaske, Zeilenart::BenutzerTabelle, Zeilenart::BenutzerTabelle }));
}

void TestZentrale::beispieldatenbank()
{
    test::TempDir dir;
    const QString pfad = erzeugeBeispieldatenbank(dir.path());
    Workspace ws;
    auto db = ws.openDatabase(pfad);
    Zentraleliste liste;
    liste.ListenRefresh(*db, pfad, 1, Zentraleschalter());
    QStringList erwartet;
    const QStringList tabellen { "Artikel", "Kunden", "Orte", "Rechnungen", "Rechnungspositionen" };
    for (const char* art : { "Standard-Maske", "Standard-Tabelle" }) {
        for (const QString& t : tabellen)
            erwartet.append(QString::fromUtf8(art) + QLatin1Char('|') + t + QLatin1Char('|') + t);
    }
    erwartet << "Benutzer-Maske|<noch keine Maske vorhanden>|"
             << "Benutzer-Tabelle|<noch keine Tabelle vorhanden>|";
    // The price update is an action query.
    for (const char* abfrage : { "Kunden mit Wohnort", "Rechnungen eines Kunden", "Telefonliste",
             "Umsatz je Artikel und Jahr" })
        erwartet.append(QStringLiteral("Tabellen-Abfrage|%1|%1").arg(QString::fromUtf8(abfrage)));
    QCOMPARE(beschreibe(liste.zeilen()), erwartet);
    QCOMPARE(liste.kopfzeile(),
        QStringLiteral("Datenbankobjekte aus: Beispiel.mdb  Änderbar: Ja  Format: Access 7.0/8.0"));
}

void TestZentrale::statuszeile()
{
    test::TempDir dir;
    Workspace ws;
    auto db = erzeuge(ws, dir.path(), { "Kunden" });
    QStringList texte;
    setzeStatusziel([&texte](const QString& t) { texte.append(t); });
    Zentraleliste liste;
    liste.ListenRefresh(*db, db->name(), 1, Zentraleschalter());
    setzeStatusziel({});
    QCOMPARE(texte, (QStringList { "Bitte warten...", "Bereit" }));
}

void TestZentrale::kopfzeile_data()
{
    QTest::addColumn<bool>("aenderbar");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("format");

    QTest::newRow("Access 1.1") << true << "1.1" << 1 << "Access 1.1";
    QTest::newRow("Access 2.0") << false << "2.0" << 1 << "Access 2.0";
    QTest::newRow("Access 3.0") << true << "3.0" << 1 << "Access 7.0/8.0";
    QTest::newRow("eigene Dateien") << true << "4.0" << 1 << "Access 7.0/8.0";
    QTest::newRow("dBASE III") << true << "" << 2 << "dBASE III";
    QTest::newRow("Excel 5.0") << false << "" << 14 << "Excel 5.0";
}

void TestZentrale::kopfzeile()
{
    QFETCH(bool, aenderbar);
    QFETCH(QString, version);
    QFETCH(int, typ);
    QFETCH(QString, format);
    QCOMPARE(Zentraleliste::kopfzeileFuer(
                 QStringLiteral("/daten/Adressen.mdb"), aenderbar, version, typ),
        QStringLiteral("Datenbankobjekte aus: Adressen.mdb  Änderbar: ")
            + (aenderbar ? "Ja" : "Nein") + QStringLiteral("  Format: ") + format);
}

void TestZentrale::kopfzeileSchreibgeschuetzt()
{
    test::TempDir dir;
    Workspace ws;
    erzeuge(ws, dir.path(), { "Kunden" })->close();
    auto db = ws.openDatabase(dir.file(QStringLiteral("Adressen.mdb")), false, true);
    Zentraleliste liste;
    liste.ListenRefresh(*db, db->name(), 1, Zentraleschalter());
    QCOMPARE(liste.kopfzeile(),
        QStringLiteral(
            "Datenbankobjekte aus: Adressen.mdb  Änderbar: Nein  Format: Access 7.0/8.0"));
}

void TestZentrale::sprung_data()
{
    QTest::addColumn<int>("aktuell");
    QTest::addColumn<QString>("zeichen");
    QTest::addColumn<int>("erwartet");

    // Rows: Adresse, anrede, Bestellung, Buch, Zahl.
    QTest::newRow("nächste nach der aktuellen") << 0 << "a" << 1;
    QTest::newRow("Großbuchstabe findet Kleinbuchstaben") << 0 << "A" << 1;
    QTest::newRow("von der letzten passenden nach oben") << 1 << "a" << 0;
    QTest::newRow("über das Ende hinweg") << 4 << "b" << 2;
    QTest::newRow("weiter in der Gruppe") << 2 << "B" << 3;
    QTest::newRow("nur die aktuelle passt") << 4 << "z" << 4;
    QTest::newRow("keine passt") << 2 << "q" << -1;
    QTest::newRow("ohne aktuelle Zeile") << -1 << "z" << 4;
}

void TestZentrale::sprung()
{
    QFETCH(int, aktuell);
    QFETCH(QString, zeichen);
    QFETCH(int, erwartet);

    test::TempDir dir;
    Workspace ws;
    auto db = erzeuge(ws, dir.path(), { "Zahl", "Buch", "Adresse", "Bestellung", "anrede" });
    Zentraleliste liste;
    liste.ListenRefresh(*db, db->name(), 1, schalterAus(QStringLiteral("10100")));
    QStringList namen;
    for (const Zentralezeile& z : liste.zeilen())
        namen.append(z.anzeige);
    QCOMPARE(namen, (QStringList { "Adresse", "anrede", "Bestellung", "Buch", "Zahl" }));
    QCOMPARE(liste.naechsteMitAnfang(aktuell, zeichen.at(0)), erwartet);
}

void TestZentrale::wiederfinden()
{
    test::TempDir dir;
    Workspace ws;
    auto db = erzeuge(ws, dir.path(), { "A", "B", "C" });
    Zentraleliste liste;
    const Zentraleschalter schalter = schalterAus(QStringLiteral("11111"));
    liste.ListenRefresh(*db, db->name(), 1, schalter);
    const Zentralezeile b = liste.zeilen().at(1);
    const Zentralezeile c = liste.zeilen().at(2);
    const Zentralezeile platzhalter = liste.zeilen().constLast();
    QVERIFY(platzhalter.platzhalter());

    db->tableDefs().remove(QStringLiteral("A"));
    liste.ListenRefresh(*db, db->name(), 1, schalter);
    QCOMPARE(liste.wiederfinden(b, 1), 0);
    QCOMPARE(liste.wiederfinden(platzhalter, 9), static_cast<int>(liste.zeilen().size()) - 1);
    db->tableDefs().remove(QStringLiteral("C"));
    liste.ListenRefresh(*db, db->name(), 1, schalter);
    // Gone: the same position.
    QCOMPARE(liste.wiederfinden(c, 1), 1);
    QCOMPARE(liste.wiederfinden(c, 99), static_cast<int>(liste.zeilen().size()) - 1);

    liste.ListenRefresh(*db, db->name(), 1, schalterAus(QStringLiteral("00000")));
    QCOMPARE(liste.wiederfinden(b, 0), -1);
}

void TestZentrale::schalterEinstellungen()
{
    test::TempDir dir;
    Einstellungen::setzeSpeicherordner(dir.path());
    {
        Einstellungen e;
        QCOMPARE(
            Zentraleschalter::lesen(e).an, (std::array<bool, 5> { true, true, true, true, true }));
        e.schreibe(
            AbschnittSettings, QStringLiteral("TabellenZentraleAnzeigen"), QStringLiteral("0"));
        e.schreibe(
            AbschnittSettings, QStringLiteral("AbfragenZentraleAnzeigen"), QStringLiteral("False"));
        e.schreibe(AbschnittSettings, QStringLiteral("StandardZentraleAnzeigen"),
            QStringLiteral("kaputt"));
        Zentraleschalter s = Zentraleschalter::lesen(e);
        QCOMPARE(s.an, (std::array<bool, 5> { true, false, true, true, false }));
        s.an[0] = false;
        s.schreiben(e);
        QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("MaskenZentraleAnzeigen")),
            QStringLiteral("0"));
        QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("BenutzerZentraleAnzeigen")),
            QStringLiteral("1"));
        QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("AbfragenZentraleAnzeigen")),
            QStringLiteral("0"));
    }
    Einstellungen::setzeSpeicherordner(QString());

    QCOMPARE(Zentraleschalter::tooltip(0),
        QStringLiteral("Datenbankobjekte Masken anzeigen, ein-/ausschalten"));
    QCOMPARE(Zentraleschalter::tooltip(4),
        QStringLiteral("Abfragen-Datenbankobjekte anzeigen, ein-/ausschalten"));
}

QTEST_GUILESS_MAIN(TestZentrale)
#include "tst_zentrale.moc"
