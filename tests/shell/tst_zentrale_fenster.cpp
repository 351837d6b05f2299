#include "Kundendatenbank.h"
#include "Zentraleumfeld.h"
#include "base/NichtVerfuegbar.h"
#include "base/Windows1252.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Datenbankhandling.h"
#include "shell/Einstellungen.h"
#include "shell/Objektuebergabe.h"
#include "shell/ui/Hauptfensteraufrufe.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/Zentralemodell.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmMainZugang.h"
#include "shell/ui/frmZentrale.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace kv;
using namespace kv::engine;

namespace {

/// What the hand-over table received, one line per call.
QStringList& uebergaben()
{
    static QStringList liste;
    return liste;
}

void alleEintraegeInstallieren()
{
    Objektuebergabe& t = objektuebergabe();
    auto definition = [](const char* fenster) {
        return [fenster](const QString& name, const QString& text) {
            uebergaben().append(
                QString::fromLatin1(fenster) + QLatin1Char('|') + name + QLatin1Char('|') + text);
        };
    };
    t.maske = definition("maske");
    t.maskenGenerator = definition("maskenGenerator");
    t.tabelle = definition("tabelle");
    t.tabellenGenerator = definition("tabellenGenerator");
    t.abfrage = [](const QString& name, bool bearbeiten) {
        uebergaben().append(QStringLiteral("abfrage|") + name + QLatin1Char('|')
            + (bearbeiten ? QStringLiteral("bearbeiten") : QStringLiteral("zeigen")));
    };
    t.texteditor = [](bool maske, const QString& tabelle, const QString& text,
                       const QString& datei) {
        uebergaben().append(QStringLiteral("texteditor|") + (maske ? "MSK" : "TSK")
            + QLatin1Char('|') + tabelle + QLatin1Char('|') + text + QLatin1Char('|') + datei);
    };
    t.strukturGenerator = [] { uebergaben().append(QStringLiteral("strukturGenerator")); };
}

const QString MaskenText = QStringLiteral("KV-Maske: Kundenmaske\r\nSQL: SELECT * FROM Kunden\r\n");

} // namespace

class TestZentraleFenster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void laden();
    void oeffnen_data();
    void oeffnen();
    void tastatur();
    void fehlenderEintrag();
    void platzhalter();
    void ohneTabellen_data();
    void ohneTabellen();
    void loeschenDatei_data();
    void loeschenDatei();
    void loeschenAbfrage();
    void dateiVonAussenGeloescht();
    void kontextmenue_data();
    void kontextmenue();
    void schalter();
    void schliessen_data();
    void schliessen();
    void hauptfenster();

private:
    /// A database with the table Kunden (unless ohneTabellen), a select query and a user mask.
    void erzeugeDatenbank(bool mitTabellen = true);
    frmZentrale* zeige();
    int zeileVon(const QString& artText, const QString& anfang) const;
    Zentraleumgebung umgebung();

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<AktuelleDatenbank> m_db;
    std::unique_ptr<QMdiArea> m_mdi;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
    frmZentrale* m_z = nullptr;
    QString m_maske;
    // What the surroundings were asked and answer.
    QList<int> m_aktionen;
    bool m_aktionErlaubt = true;
    int m_fensterSchliessen = 0;
    bool m_fensterGeschlossen = true;
    int m_datenbankSchliessen = 0;
    QList<QStringList> m_popups;
    int m_popupWahl = 0;
};

void TestZentraleFenster::init()
{
    test::Zentraleumfeld(m_dir, m_dlg, m_db, m_mdi).aufbauen({ 900, 700 });
    uebergaben().clear();
    alleEintraegeInstallieren();
    m_aktionen.clear();
    m_aktionErlaubt = true;
    m_fensterSchliessen = 0;
    m_fensterGeschlossen = true;
    m_datenbankSchliessen = 0;
    m_popups.clear();
    m_popupWahl = 0;
}

void TestZentraleFenster::cleanup()
{
    m_tester.reset();
    m_z = nullptr;
    QVERIFY(test::Zentraleumfeld(m_dir, m_dlg, m_db, m_mdi).abbauen());
}

void TestZentraleFenster::erzeugeDatenbank(bool mitTabellen)
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    if (mitTabellen) {
        test::KundendatenbankErzeugen(pfad, 0, QString(), { "Alle Kunden=SELECT * FROM Kunden" });
    } else {
        Workspace ws;
        ws.createDatabase(pfad)->close();
    }
    m_maske = m_dir->file(QStringLiteral("Adressen_KELVAD_Kunden.MSK"));
    QVERIFY(schreibeTextdatei(m_maske, MaskenText));
    m_db->Datenbank = pfad;
    m_db->DatenbankTyp = 1;
    m_db->oeffne();
}

Zentraleumgebung TestZentraleFenster::umgebung()
{
    Zentraleumgebung u;
    u.datenbank = m_db.get();
    u.aktionErlaubt = [this](int aktion) {
        m_aktionen.append(aktion);
        return m_aktionErlaubt;
    };
    u.alleFensterSchliessen = [this] {
        ++m_fensterSchliessen;
        return m_fensterGeschlossen;
    };
    u.datenbankSchliessen = [this] { ++m_datenbankSchliessen; };
    return u;
}

frmZentrale* TestZentraleFenster::zeige()
{
    m_z = frmZentrale::zeigen(m_mdi.get(), umgebung(), [this](const QStringList& eintraege) {
        m_popups.append(eintraege);
        return m_popupWahl;
    });
    if (m_z && !m_tester)
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_z->modell(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    return m_z;
}

int TestZentraleFenster::zeileVon(const QString& artText, const QString& anfang) const
{
    const QList<Zentralezeile>& zeilen = m_z->liste().zeilen();
    for (int i = 0; i < zeilen.size(); ++i) {
        if (zeilen.at(i).artText() == artText && zeilen.at(i).anzeige.startsWith(anfang))
            return i;
    }
    return -1;
}

void TestZentraleFenster::laden()
{
    erzeugeDatenbank();
    QVERIFY(zeige());
    QCOMPARE(m_z->windowTitle(), QStringLiteral("Datenzentrale: Adressen.mdb"));
    QCOMPARE(m_z->kopfzeile()->text(),
        QStringLiteral("Datenbankobjekte aus: Adressen.mdb  Änderbar: Ja  Format: Access 7.0/8.0"));
    QCOMPARE(m_z->modell()->columnCount(), 2);
    QCOMPARE(m_z->modell()->rowCount(), 5);
    QCOMPARE(m_z->modell()->index(3, 1).data().toString(),
        QStringLiteral("<noch keine Tabelle vorhanden>"));
    QVERIFY(!m_z->modell()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(m_z->aktuelleZeile(), 0);
    QCOMPARE(m_z->Command1(frmZentrale::Oeffnen)->text(), QStringLiteral("&Öffnen"));
    QCOMPARE(
        m_z->Command1(frmZentrale::Schliessen)->toolTip(), QStringLiteral("Datenbank schließen"));
    QCOMPARE(m_z->Check1(2)->text(), QStringLiteral("Standard"));
    QCOMPARE(m_z->Check1(2)->toolTip(),
        QStringLiteral("Standard-Datenbankobjekte anzeigen, ein-/ausschalten"));

    // Shown again: the same window, its list rebuilt.
    QVERIFY(schreibeTextdatei(
        m_dir->file(QStringLiteral("Adressen_KELVAD_Liste.TSK")), "KV-Tabelle: Liste\r\n"));
    frmZentrale* vorher = m_z;
    QCOMPARE(zeige(), vorher);
    QCOMPARE(m_mdi->subWindowList().size(), 1);
    QCOMPARE(m_z->modell()->index(3, 1).data().toString(), QStringLiteral("Liste : Liste"));

    // No database: no navigator.
    frmZentrale::entladen(m_mdi.get());
    QCOMPARE(m_mdi->subWindowList().size(), 0);
    m_db->schliesse();
    QVERIFY(!zeige());
}

void TestZentraleFenster::oeffnen_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<int>("knopf");
    QTest::addColumn<QString>("erwartet");

    const QString m = QStringLiteral("Benutzer-Maske");
    QTest::newRow("Standard-Maske öffnen") << "Standard-Maske" << 0 << "maske|Kunden|";
    QTest::newRow("Standard-Maske neu") << "Standard-Maske" << 1 << "maskenGenerator|Kunden|";
    QTest::newRow("Standard-Maske bearbeiten")
        << "Standard-Maske" << 2 << "maskenGenerator|Kunden|";
    QTest::newRow("Standard-Tabelle öffnen") << "Standard-Tabelle" << 0 << "tabelle|Kunden|";
    QTest::newRow("Standard-Tabelle neu") << "Standard-Tabelle" << 1 << "tabellenGenerator|Kunden|";
    QTest::newRow("Benutzer-Maske öffnen") << m << 0 << "maske|%1|" + MaskenText;
    QTest::newRow("Benutzer-Maske neu") << m << 1 << "maskenGenerator||" + MaskenText;
    QTest::newRow("Benutzer-Maske bearbeiten") << m << 2 << "maskenGenerator|%1|" + MaskenText;
    QTest::newRow("Abfrage öffnen") << "Tabellen-Abfrage" << 0 << "abfrage|Alle Kunden|zeigen";
    QTest::newRow("Abfrage neu") << "Tabellen-Abfrage" << 1 << "abfrage||bearbeiten";
    QTest::newRow("Abfrage bearbeiten")
        << "Tabellen-Abfrage" << 2 << "abfrage|Alle Kunden|bearbeiten";
}

void TestZentraleFenster::oeffnen()
{
    QFETCH(QString, art);
    QFETCH(int, knopf);
    QFETCH(QString, erwartet);
    erzeugeDatenbank();
    zeige();
    const int zeile = zeileVon(art, QString());
    QVERIFY(zeile >= 0);
    m_z->setzeAktuelleZeile(zeile);
    QTest::mouseClick(m_z->Command1(knopf), Qt::LeftButton);
    QCOMPARE(uebergaben(),
        QStringList { erwartet.contains(QLatin1String("%1")) ? erwartet.arg(m_maske) : erwartet });
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestZentraleFenster::tastatur()
{
    erzeugeDatenbank();
    zeige();
    QTableView* grid = m_z->TDBGrid1();
    // Rows: Kunden, Kunden, Kunden : Kundenmaske, <noch keine Tabelle vorhanden>, Alle Kunden.
    m_z->setzeAktuelleZeile(0);
    QTest::keyClick(grid, Qt::Key_K);
    QCOMPARE(m_z->aktuelleZeile(), 1);
    QTest::keyClick(grid, Qt::Key_K);
    QCOMPARE(m_z->aktuelleZeile(), 2);
    QTest::keyClick(grid, Qt::Key_K);
    QCOMPARE(m_z->aktuelleZeile(), 0);
    QTest::keyClick(grid, Qt::Key_A);
    QCOMPARE(m_z->aktuelleZeile(), 4);
    QTest::keyClick(grid, Qt::Key_X);
    QCOMPARE(m_z->aktuelleZeile(), 4);
    // Pos1 and Ende go to the first and last row, whichever column is current.
    grid->setCurrentIndex(m_z->modell()->index(2, 1));
    QTest::keyClick(grid, Qt::Key_Home);
    QCOMPARE(m_z->aktuelleZeile(), 0);
    QTest::keyClick(grid, Qt::Key_End);
    QCOMPARE(m_z->aktuelleZeile(), 4);

    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(uebergaben(), QStringList { "abfrage|Alle Kunden|zeigen" });
    m_z->setzeAktuelleZeile(1);
    const QRect zelle = grid->visualRect(m_z->modell()->index(1, 1));
    // The view takes a double click only on the index its press went to.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, zelle.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, zelle.center());
    QCOMPARE(uebergaben().constLast(), QStringLiteral("tabelle|Kunden|"));
}

void TestZentraleFenster::fehlenderEintrag()
{
    erzeugeDatenbank();
    objektuebergabe().maske = nullptr;
    zeige();
    m_z->knopfGeklickt(frmZentrale::Oeffnen);
    QCOMPARE(m_dlg->texte(), QStringList { NichtVerfuegbarText() });
    QVERIFY(uebergaben().isEmpty());
}

void TestZentraleFenster::platzhalter()
{
    erzeugeDatenbank();
    zeige();
    m_z->setzeAktuelleZeile(zeileVon(QStringLiteral("Benutzer-Tabelle"), QString()));
    for (int knopf : { 0, 1, 2 })
        m_z->knopfGeklickt(knopf);
    const QString text = QStringLiteral(
        "Es ist noch keine Tabelle vorhanden.\nSie können eine neue Tabelle erzeugen,\n"
        "indem Sie eine Standard-Tabelle-Zeile\naktivieren und dann den Schalter 'Neu' betätigen.");
    QCOMPARE(m_dlg->texte(), (QStringList { text, text, text }));
    QVERIFY(uebergaben().isEmpty());
}

void TestZentraleFenster::ohneTabellen_data()
{
    QTest::addColumn<bool>("eintrag");
    QTest::addColumn<bool>("erlaubt");
    QTest::addColumn<bool>("geschlossen");
    QTest::addColumn<int>("gefragt");
    QTest::addColumn<QStringList>("erwartet");

    QTest::newRow("Struktur-Generator")
        << true << true << true << 1 << QStringList { "strukturGenerator" };
    QTest::newRow("Passwort falsch") << true << false << true << 0 << QStringList();
    QTest::newRow("Fenster bleiben offen") << true << true << false << 1 << QStringList();
    QTest::newRow("Fenster fehlt") << false << true << true << 0 << QStringList();
}

void TestZentraleFenster::ohneTabellen()
{
    QFETCH(bool, eintrag);
    QFETCH(bool, erlaubt);
    QFETCH(bool, geschlossen);
    QFETCH(int, gefragt);
    QFETCH(QStringList, erwartet);
    erzeugeDatenbank(false);
    if (!eintrag)
        objektuebergabe().strukturGenerator = nullptr;
    m_aktionErlaubt = erlaubt;
    m_fensterGeschlossen = geschlossen;
    zeige();
    QCOMPARE(m_z->modell()->index(0, 1).data().toString(),
        QStringLiteral("<noch keine Maske vorhanden>"));
    QCOMPARE(m_z->modell()->index(1, 1).data().toString(),
        QStringLiteral("<noch keine Tabelle vorhanden>"));
    // Even on the user mask the database's emptiness comes first.
    m_z->setzeAktuelleZeile(zeileVon(QStringLiteral("Benutzer-Maske"), QString()));
    m_z->knopfGeklickt(frmZentrale::Bearbeiten);
    QStringList texte { "Es sind noch keine Tabellen in der Datenbank definiert!\n"
                        "Der Struktur-Generator wird daher jetzt aufgerufen." };
    if (!eintrag)
        texte.append(NichtVerfuegbarText());
    QCOMPARE(m_dlg->texte(), texte);
    QCOMPARE(m_aktionen, eintrag ? QList<int> { 9 } : QList<int>());
    QCOMPARE(m_fensterSchliessen, gefragt);
    QCOMPARE(uebergaben(), erwartet);
}

void TestZentraleFenster::loeschenDatei_data()
{
    QTest::addColumn<int>("antwort");
    QTest::newRow("Nein") << static_cast<int>(Antwort::Nein);
    QTest::newRow("Ja") << static_cast<int>(Antwort::Ja);
}

void TestZentraleFenster::loeschenDatei()
{
    QFETCH(int, antwort);
    const bool ja = static_cast<Antwort>(antwort) == Antwort::Ja;
    erzeugeDatenbank();
    zeige();
    const int zeile = zeileVon(QStringLiteral("Benutzer-Maske"), QStringLiteral("Kunden"));
    m_z->setzeAktuelleZeile(zeile);
    m_popupWahl = 3; // "Benutzer-Maske Löschen"
    m_dlg->erwarteAntwort(static_cast<Antwort>(antwort));
    m_z->kontextmenue(zeile);

    const Meldung frage = m_dlg->meldungen().constFirst();
    QCOMPARE(frage.text,
        QStringLiteral("Möchten Sie diese Datei löschen?\n\n") + m_maske
            + QStringLiteral("\n\nBitte nochmal bestätigen!"));
    QCOMPARE(frage.titel, QStringLiteral("Datei löschen"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QCOMPARE(frage.standardKnopf, 2);
    QCOMPARE(QFile::exists(m_maske), !ja);
    QCOMPARE(m_z->modell()->index(zeile, 1).data().toString(),
        ja ? QStringLiteral("<noch keine Maske vorhanden>")
           : QStringLiteral("Kunden : Kundenmaske"));
    // The current row stays where it was.
    QCOMPARE(m_z->aktuelleZeile(), zeile);
}

void TestZentraleFenster::loeschenAbfrage()
{
    erzeugeDatenbank();
    zeige();
    const int zeile = zeileVon(QStringLiteral("Tabellen-Abfrage"), QString());
    m_popupWahl = 3; // "Abfrage Löschen"
    m_dlg->erwarteAntwort(Antwort::Ja);
    m_z->kontextmenue(zeile);
    QCOMPARE(m_dlg->letzteMeldung().text,
        QStringLiteral(
            "Möchten Sie diese Abfrage löschen?\n\nAlle Kunden\n\nBitte nochmal bestätigen!"));
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Abfrage löschen"));
    QVERIFY(!m_db->db()->queryDefs().contains(QStringLiteral("Alle Kunden")));
    QCOMPARE(m_z->modell()->index(zeile, 1).data().toString(),
        QStringLiteral("<noch keine Tabellen-Abfrage vorhanden>"));
}

void TestZentraleFenster::dateiVonAussenGeloescht()
{
    erzeugeDatenbank();
    zeige();
    const int zeile = zeileVon(QStringLiteral("Benutzer-Maske"), QStringLiteral("Kunden"));
    m_z->setzeAktuelleZeile(zeile);
    QVERIFY(QFile::remove(m_maske));
    m_z->knopfGeklickt(frmZentrale::Oeffnen);
    QCOMPARE(m_dlg->texte(),
        QStringList { QStringLiteral("Die Definitionsdatei ist nicht mehr vorhanden:\n\n") + m_maske
            + QStringLiteral("\n\nDie Liste wird neu aufgebaut.") });
    QVERIFY(uebergaben().isEmpty());
    QCOMPARE(m_z->modell()->index(zeile, 1).data().toString(),
        QStringLiteral("<noch keine Maske vorhanden>"));
}

void TestZentraleFenster::kontextmenue_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<bool>("nurLesen");
    QTest::addColumn<QStringList>("eintraege");
    QTest::addColumn<int>("wahl");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("Benutzer-Maske Texteditor")
        << "Benutzer-Maske" << false
        << QStringList { "Per Masken-Generator bearbeiten;Generator;",
               "Per Texteditor bearbeiten;Brieftext;", "Benutzer-Maske Löschen;Löschen",
               "Struktur-Generator aufrufen;Struktur", "Zurück;abbruch" }
        << 2 << "texteditor|MSK||" + MaskenText + "|%1";
    QTest::newRow("Standard-Maske Generator")
        << "Standard-Maske" << false
        << QStringList { "Neue Benutzer-Maske im Masken-Generator erzeugen;Generator;",
               "Neue Benutzer-Maske per Texteditor erzeugen;Brieftext;",
               "Struktur-Generator aufrufen;Struktur", "Zurück;abbruch" }
        << 1 << "maskenGenerator|Kunden|";
    QTest::newRow("Standard-Tabelle Texteditor, schreibgeschützt")
        << "Standard-Tabelle" << true
        << QStringList { "Neue Benutzer-Tabelle im Tabellen-Generator erzeugen;Generator;",
               "Neue Benutzer-Tabelle per Texteditor erzeugen;Brieftext;", "Zurück;abbruch" }
        << 2 << "texteditor|TSK|Kunden||";
    // Opened read-only, nothing in the menu deletes.
    QTest::newRow("Benutzer-Maske schreibgeschützt")
        << "Benutzer-Maske" << true
        << QStringList { "Per Masken-Generator bearbeiten;Generator;",
               "Per Texteditor bearbeiten;Brieftext;", "Zurück;abbruch" }
        << 3 << "";
    QTest::newRow("Abfrage schreibgeschützt")
        << "Tabellen-Abfrage" << true
        << QStringList { "Neue Abfrage erzeugen;Abfragen", "Abfrage öffnen/bearbeiten;Abfragen",
               "Zurück;abbruch" }
        << 3 << "";
    QTest::newRow("Abfrage bearbeiten")
        << "Tabellen-Abfrage" << false
        << QStringList { "Neue Abfrage erzeugen;Abfragen", "Abfrage öffnen/bearbeiten;Abfragen",
               "Abfrage Löschen;Löschen", "Struktur-Generator aufrufen;Struktur", "Zurück;abbruch" }
        << 2 << "abfrage|Alle Kunden|bearbeiten";
    QTest::newRow("Struktur-Generator")
        << "Tabellen-Abfrage" << false << QStringList() << 4 << "strukturGenerator";
    QTest::newRow("Zurück") << "Standard-Maske" << false << QStringList() << 4 << "";
    QTest::newRow("nichts gewählt") << "Standard-Maske" << false << QStringList() << 0 << "";
}

void TestZentraleFenster::kontextmenue()
{
    QFETCH(QString, art);
    QFETCH(bool, nurLesen);
    QFETCH(QStringList, eintraege);
    QFETCH(int, wahl);
    QFETCH(QString, erwartet);
    m_db->DatenbankNurLesen = nurLesen;
    erzeugeDatenbank();
    zeige();
    const int zeile = zeileVon(art, QString());
    m_popupWahl = wahl;
    m_z->kontextmenue(zeile);
    QCOMPARE(m_z->aktuelleZeile(), zeile);
    QCOMPARE(m_popups.size(), 1);
    if (!eintraege.isEmpty())
        QCOMPARE(m_popups.constFirst(), eintraege);
    QCOMPARE(uebergaben(),
        erwartet.isEmpty()
            ? QStringList()
            : QStringList {
                erwartet.contains(QLatin1String("%1")) ? erwartet.arg(m_maske) : erwartet });
}

void TestZentraleFenster::schalter()
{
    erzeugeDatenbank();
    zeige();
    QCOMPARE(m_z->modell()->rowCount(), 5);
    m_z->setzeAktuelleZeile(zeileVon(QStringLiteral("Tabellen-Abfrage"), QString()));
    QTest::mouseClick(m_z->Check1(0), Qt::LeftButton);
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("MaskenZentraleAnzeigen")),
        QStringLiteral("0"));
    QCOMPARE(m_z->modell()->rowCount(), 3);
    // The query stays current although its position changed.
    QCOMPARE(m_z->liste().zeilen().at(m_z->aktuelleZeile()).art, Zeilenart::Abfrage);

    // With every group off nothing can be opened, made or edited.
    for (int i = 1; i < Zentraleschalter::Anzahl; ++i)
        QTest::mouseClick(m_z->Check1(i), Qt::LeftButton);
    QCOMPARE(m_z->modell()->rowCount(), 0);
    for (int knopf : { frmZentrale::Oeffnen, frmZentrale::Neu, frmZentrale::Bearbeiten })
        QVERIFY(!m_z->Command1(knopf)->isEnabled());
    QVERIFY(m_z->Command1(frmZentrale::Schliessen)->isEnabled());
    for (int i = 1; i < Zentraleschalter::Anzahl; ++i)
        QTest::mouseClick(m_z->Check1(i), Qt::LeftButton);
    QVERIFY(m_z->Command1(frmZentrale::Oeffnen)->isEnabled());

    // Unloading writes the switches and the geometry; a new navigator starts from them.
    m_z->parentWidget()->setGeometry(20, 30, 700, 450);
    frmZentrale::entladen(m_mdi.get());
    QCOMPARE(m_mdi->subWindowList().size(), 0);
    QVERIFY(!Einstellungen().lese(AbschnittSettings, QStringLiteral("frmZentrale")).isEmpty());
    m_tester.reset();
    zeige();
    QVERIFY(!m_z->Check1(0)->isChecked());
    QVERIFY(m_z->Check1(1)->isChecked());
    QCOMPARE(m_z->modell()->rowCount(), 3);
    QCOMPARE(m_z->parentWidget()->geometry(), QRect(20, 30, 700, 450));

    // A stored size too small for the switches and buttons is not taken as it is.
    m_z->parentWidget()->setMinimumSize(0, 0);
    m_z->parentWidget()->setGeometry(20, 30, 200, 100);
    frmZentrale::entladen(m_mdi.get());
    m_tester.reset();
    zeige();
    QCOMPARE(m_z->parentWidget()->pos(), QPoint(20, 30));
    QVERIFY(m_z->parentWidget()->width() >= m_z->parentWidget()->minimumSizeHint().width());
    QVERIFY(m_z->parentWidget()->height() >= m_z->parentWidget()->minimumSizeHint().height());
}

void TestZentraleFenster::schliessen_data()
{
    QTest::addColumn<bool>("ja");
    QTest::newRow("Nein") << false;
    QTest::newRow("Ja") << true;
}

void TestZentraleFenster::schliessen()
{
    QFETCH(bool, ja);
    erzeugeDatenbank();
    zeige();
    m_dlg->erwarteAntwort(ja ? Antwort::Ja : Antwort::Nein);
    QTest::mouseClick(m_z->Command1(frmZentrale::Schliessen), Qt::LeftButton);
    const Meldung frage = m_dlg->letzteMeldung();
    QCOMPARE(frage.text, QStringLiteral("Möchten Sie die aktuelle Datenbank schließen?"));
    QCOMPARE(frage.titel, QStringLiteral("Datenbank schließen"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QCOMPARE(m_datenbankSchliessen, ja ? 1 : 0);
}

void TestZentraleFenster::hauptfenster()
{
    // The main window shows the navigator after an open and unloads it with the close command.
    erzeugeDatenbank();
    const QString pfad = m_db->Datenbank;
    m_db->schliesse();
    frmMain haupt;
    auto zentrale = std::make_shared<Zentraleanzeige>(haupt);
    auto handling = std::make_unique<Datenbankhandling>(
        std::make_unique<frmMainZugang>(haupt, zentrale), m_db.get());
    Datenbankhandling* h = handling.get();
    zentrale->setzeDatenbankhandling(h);
    haupt.setzeDatenbankbefehle(std::move(handling));
    haupt.setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(haupt, zentrale));

    m_db->Datenbank = pfad;
    QVERIFY(h->OeffneDatenbank());
    frmZentrale* z = frmZentrale::finde(haupt.mdiArea());
    QVERIFY(z);
    QCOMPARE(z->windowTitle(), QStringLiteral("Datenzentrale: Adressen.mdb"));
    QCOMPARE(haupt.mdiArea()->activeSubWindow()->widget(), z);

    // Closed by the user, the command brings it back.
    z->parentWidget()->close();
    QTRY_VERIFY(!frmZentrale::finde(haupt.mdiArea()));
    haupt.ActiveBar21_ToolClick(QStringLiteral("bearbeitendatenzentrale"));
    z = frmZentrale::finde(haupt.mdiArea());
    QVERIFY(z);

    // "Schließen" on the navigator runs the close command, which unloads it.
    m_dlg->erwarteAntwort(Antwort::Ja);
    z->knopfGeklickt(frmZentrale::Schliessen);
    QVERIFY(!m_db->offen());
    QVERIFY(!frmZentrale::finde(haupt.mdiArea()));
    QVERIFY(!zentrale->zeigen());
    haupt.setzeDatenbankbefehle(nullptr);
}

QTEST_MAIN(TestZentraleFenster)
#include "tst_zentrale_fenster.moc"
