#include "base/Programmverzeichnis.h"
#include "base/Windows1252.h"
#include "shell/Einstellungen.h"
#include "shell/IniDatei.h"
#include "shell/StartEinstellungen.h"
#include "shell/VorgaengerUebernahme.h"
#include "shell/WebUpdate.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <memory>

using namespace kv;

class TestEinstellungen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void lesenUndSchreiben();
    void boolText_data();
    void boolText();
    void abschnittLesenUndLoeschen();
    void vonHandBearbeiteteDatei();

    void ersterStart();
    void leereSchriftwerte();
    void werteFalscherForm();
    void letzteDatenbank_data();
    void letzteDatenbank();

    void uebernahmeFragtUndKopiert();
    void uebernahmeNurBeimErstenStart();

    void iniWerte();
    void iniDateiFehlt();
    void webUpdateFrage_data();
    void webUpdateFrage();
    void webUpdateFragtMitIniWerten();

    void grafikverzeichnisFehlt();

private:
    std::unique_ptr<test::TempDir> m_ordner;
};

void TestEinstellungen::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_ordner = std::make_unique<test::TempDir>();
    Einstellungen::setzeSpeicherordner(m_ordner->path());
    setzeProgrammverzeichnis(m_ordner->path());
}

void TestEinstellungen::cleanup()
{
    Einstellungen::setzeSpeicherordner(QString());
    setzeProgrammverzeichnis(QString());
    m_ordner.reset();
}

void TestEinstellungen::lesenUndSchreiben()
{
    const QString s = AbschnittSettings;
    const QString wert = QStringLiteral("  C:\\Daten\\Müller, \"Kunden\";1@x  ");
    {
        Einstellungen e;
        QCOMPARE(e.lese(s, QStringLiteral("Fehlt"), QStringLiteral("vorgabe")),
            QStringLiteral("vorgabe"));
        e.schreibe(s, QStringLiteral("SchriftartMenü"), QStringLiteral("Ärial"));
        e.schreibe(s, QStringLiteral("Leer"), QString());
        e.schreibe(s, QStringLiteral("Wert"), wert);
        e.schreibe(AbschnittDruckausgaben, QStringLiteral("Wert"), QStringLiteral("anders"));
    }
    QVERIFY(QFile::exists(m_ordner->file(QStringLiteral("Kelvado 7.0.ini"))));
    const Einstellungen e;
    QCOMPARE(e.lese(s, QStringLiteral("SchriftartMenü")), QStringLiteral("Ärial"));
    // A stored empty text is a value, not a missing key.
    QCOMPARE(e.lese(s, QStringLiteral("Leer"), QStringLiteral("vorgabe")), QString());
    QCOMPARE(e.lese(s, QStringLiteral("Wert")), wert);
    QCOMPARE(e.lese(AbschnittDruckausgaben, QStringLiteral("Wert")), QStringLiteral("anders"));
    // Another application name is another store.
    QCOMPARE(Einstellungen(VorgaengerAnwendungstitel).lese(s, QStringLiteral("Wert"), "x"), "x");
}

void TestEinstellungen::boolText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("erwartet"); // -1 = no Boolean text
    QTest::newRow("True") << "True" << 1;
    QTest::newRow("true") << "true" << 1;
    QTest::newRow("FALSE") << "FALSE" << 0;
    QTest::newRow("-1") << "-1" << 1;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("Blanks") << " False " << 0;
    QTest::newRow("2") << "2" << -1;
    QTest::newRow("Wahr") << "Wahr" << -1;
    QTest::newRow("leer") << "" << -1;
}

void TestEinstellungen::boolText()
{
    QFETCH(QString, text);
    QFETCH(int, erwartet);
    const std::optional<bool> b = boolAusText(text);
    QCOMPARE(b.has_value() ? int(*b) : -1, erwartet);

    Einstellungen e;
    e.schreibe(AbschnittSettings, QStringLiteral("B"), text);
    QCOMPARE(e.leseBool(AbschnittSettings, QStringLiteral("B"), true), erwartet != 0);
    QCOMPARE(e.leseBool(AbschnittSettings, QStringLiteral("B"), false), erwartet == 1);
    e.schreibeBool(AbschnittSettings, QStringLiteral("B"), false);
    QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("B")), QStringLiteral("False"));
}

void TestEinstellungen::abschnittLesenUndLoeschen()
{
    Einstellungen e;
    e.schreibe(AbschnittSettings, QStringLiteral("A"), QStringLiteral("1"));
    e.schreibe(AbschnittSettings, QStringLiteral("Höhe"), QStringLiteral("2"));
    e.schreibe(AbschnittDruckausgaben, QStringLiteral("C"), QStringLiteral("3"));
    const QList<QPair<QString, QString>> erwartet { { QStringLiteral("A"), QStringLiteral("1") },
        { QStringLiteral("Höhe"), QStringLiteral("2") } };
    QCOMPARE(e.leseAbschnitt(AbschnittSettings), erwartet);
    QVERIFY(e.leseAbschnitt(QStringLiteral("Gibtsnicht")).isEmpty());

    e.loesche(AbschnittSettings, QStringLiteral("A"));
    QVERIFY(!e.enthaelt(AbschnittSettings, QStringLiteral("A")));
    QVERIFY(e.enthaelt(AbschnittSettings, QStringLiteral("Höhe")));
    e.loesche(AbschnittSettings);
    QVERIFY(e.leseAbschnitt(AbschnittSettings).isEmpty());
    QCOMPARE(e.lese(AbschnittDruckausgaben, QStringLiteral("C")), QStringLiteral("3"));
}

void TestEinstellungen::vonHandBearbeiteteDatei()
{
    QFile datei(Einstellungen::dateipfad(Anwendungstitel));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    // Unquoted commas make the INI reader see a list; the text must come back whole.
    datei.write("[Settings]\nMRUListe=/d/a.mdb, 1,True\n");
    datei.close();
    const Einstellungen e;
    QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("MRUListe")), "/d/a.mdb,1,True");
}

void TestEinstellungen::ersterStart()
{
    const Einstellungen e;
    const StartEinstellungen w = StartEinstellungen::lade(e);
    QCOMPARE(w.mainState, 0);
    QCOMPARE(w.schriftart, QStringLiteral("Arial"));
    QCOMPARE(w.schriftpoint, 8.0F);
    QCOMPARE(w.schriftartMenue, QStringLiteral("MS Sans Serif"));
    QCOMPARE(w.schriftpointMenue, 8.0F);
    QCOMPARE(w.datenbank, QString());
    QCOMPARE(w.datenbankTyp, 1);
    QVERIFY(w.iconToolbarKlein && w.iconFensterToolbarKlein);
    QCOMPARE(w.toolbarTextanzeige, 0);
    QCOMPARE(w.iconFensterToolbarTextanzeige, 4);
    QVERIFY(w.hauptStatusleisteAnzeigen && w.hauptSymbolleisteAnzeigen);
    QVERIFY(!w.reportausgabeZielSpeichern && w.emailAusgabemitDialog && !w.reportDateiAenderbar);
    QVERIFY(!w.mainTop && !w.mainLeft && !w.mainHeight && !w.mainWidth);
    QVERIFY(w.mruListe.isEmpty() && w.datenbankAktionStatus.isEmpty());
    QVERIFY(!w.letzteDatenbank());
}

void TestEinstellungen::leereSchriftwerte()
{
    Einstellungen e;
    const QString s = AbschnittSettings;
    e.schreibe(s, QStringLiteral("Schriftart"), QString());
    e.schreibe(s, QStringLiteral("Schriftpoint"), QString());
    e.schreibe(s, QStringLiteral("SchriftartMenü"), QStringLiteral("Tahoma"));
    e.schreibe(s, QStringLiteral("SchriftpointMenü"), QStringLiteral("9,75"));
    const StartEinstellungen w = StartEinstellungen::lade(e);
    QCOMPARE(w.schriftart, QStringLiteral("MS Sans Serif"));
    QCOMPARE(w.schriftpoint, 8.0F);
    QCOMPARE(w.schriftartMenue, QStringLiteral("Tahoma"));
    QCOMPARE(w.schriftpointMenue, 9.75F);
}

void TestEinstellungen::werteFalscherForm()
{
    Einstellungen e;
    const QString s = AbschnittSettings;
    e.schreibe(s, QStringLiteral("MainState"), QStringLiteral("7"));
    e.schreibe(s, QStringLiteral("Schriftpoint"), QStringLiteral("groß"));
    e.schreibe(s, QStringLiteral("DatenbankTyp"), QStringLiteral("Access"));
    e.schreibe(s, QStringLiteral("Datenbank"), QStringLiteral("/daten/Adressen.mdb"));
    e.schreibe(s, QStringLiteral("ToolbarTextanzeige"), QStringLiteral("x"));
    e.schreibe(s, QStringLiteral("IconToolbarKlein"), QStringLiteral("vielleicht"));
    e.schreibe(s, QStringLiteral("MainTop"), QStringLiteral("oben"));
    e.schreibe(s, QStringLiteral("MainLeft"), QStringLiteral("-120"));
    const StartEinstellungen w = StartEinstellungen::lade(e);
    QCOMPARE(w.mainState, -1);
    QCOMPARE(w.schriftpoint, 8.0F);
    QCOMPARE(w.datenbankTyp, 0);
    QCOMPARE(w.toolbarTextanzeige, 0);
    QVERIFY(w.iconToolbarKlein);
    QVERIFY(!w.mainTop);
    QCOMPARE(w.mainLeft, std::optional<int>(-120));
    // An unusable type is derived from the path.
    QCOMPARE(w.letzteDatenbank()->typ, 1);
}

void TestEinstellungen::letzteDatenbank_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("typ");
    QTest::addColumn<int>("erwarteterTyp");
    QTest::addColumn<bool>("erwartetNurLesen");
    QTest::newRow("Excel aus Endung") << "C:\\Daten\\Liste.XLS"
                                      << "0" << 14 << false;
    QTest::newRow("mdb klein") << "/daten/a.mdb"
                               << "0" << 1 << false;
    QTest::newRow("dBASE") << "/daten/kunden.dbf"
                           << "0" << 2 << false;
    QTest::newRow("Paradox") << "/daten/kunden.db"
                             << "0" << 11 << false;
    QTest::newRow("unbekannt") << "/daten/kunden.txt"
                               << "0" << 0 << false;
    QTest::newRow("Typ gesetzt") << "/daten/kunden.dbf"
                                 << "4" << 4 << true;
}

void TestEinstellungen::letzteDatenbank()
{
    QFETCH(QString, pfad);
    QFETCH(QString, typ);
    Einstellungen e;
    e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), pfad);
    e.schreibe(AbschnittSettings, QStringLiteral("DatenbankTyp"), typ);
    e.schreibe(AbschnittSettings, QStringLiteral("DatenbankNurLesen"), QStringLiteral("True"));
    const auto d = StartEinstellungen::lade(e).letzteDatenbank();
    QVERIFY(d);
    QCOMPARE(d->pfad, pfad);
    QTEST(d->typ, "erwarteterTyp");
    QTEST(d->nurLesen, "erwartetNurLesen");
}

void TestEinstellungen::uebernahmeFragtUndKopiert()
{
    for (const Antwort antwort : { Antwort::Nein, Antwort::Ja }) {
        Einstellungen aktuell;
        aktuell.loesche(AbschnittSettings);
        Einstellungen alt(VorgaengerAnwendungstitel);
        alt.schreibe(AbschnittSettings, QStringLiteral("MainTop"), QStringLiteral("1200"));
        alt.schreibe(AbschnittSettings, QStringLiteral("SchriftartMenü"), QStringLiteral("Tahoma"));
        alt.schreibe(AbschnittDruckausgaben, QStringLiteral("Drucker"), QStringLiteral("x"));

        test::ScriptedDialoge dialoge;
        dialoge.erwarteAntwort(antwort);
        QCOMPARE(VorgaengerEinstellungenUebernehmen(aktuell, alt), antwort == Antwort::Ja);
        QCOMPARE(dialoge.meldungen().size(), 1);
        const Meldung m = dialoge.letzteMeldung();
        QCOMPARE(m.text,
            QStringLiteral("Möchten Sie die Programmeinstellungen aus Kelvado 6.0 übernehmen?"));
        QCOMPARE(m.titel, QStringLiteral("Kelvado"));
        QCOMPARE(m.knoepfe, Knoepfe::JaNein);
        QCOMPARE(m.symbol, Symbol::Frage);
        QCOMPARE(m.standardKnopf, 2);

        const Einstellungen neu;
        QCOMPARE(neu.lese(AbschnittSettings, QStringLiteral("SchriftartMenü")),
            antwort == Antwort::Ja ? QStringLiteral("Tahoma") : QString());
        QCOMPARE(neu.lese(AbschnittSettings, QStringLiteral("MainTop")),
            antwort == Antwort::Ja ? QStringLiteral("1200") : QString());
        QVERIFY(!neu.enthaelt(AbschnittDruckausgaben, QStringLiteral("Drucker")));
    }
}

void TestEinstellungen::uebernahmeNurBeimErstenStart()
{
    test::ScriptedDialoge dialoge;
    Einstellungen aktuell;
    Einstellungen alt(VorgaengerAnwendungstitel);
    alt.schreibe(AbschnittSettings, QStringLiteral("Schriftart"), QStringLiteral("Tahoma"));
    // The previous generation never closed its main window: nothing to take over.
    QVERIFY(!VorgaengerEinstellungenUebernehmen(aktuell, alt));
    alt.schreibe(AbschnittSettings, QStringLiteral("MainTop"), QStringLiteral("0"));
    aktuell.schreibe(AbschnittSettings, QStringLiteral("MainState"), QStringLiteral("0"));
    QVERIFY(!VorgaengerEinstellungenUebernehmen(aktuell, alt));
    QVERIFY(dialoge.meldungen().isEmpty());
}

void TestEinstellungen::iniWerte()
{
    QString text = QStringLiteral("; Installation\r\n[Allgemein]\r\nAutoPrüfung=99\r\n"
                                  "[webupdate]\r\n  autoprüfung =  7  \r\nAutoPrüfung=8\r\n"
                                  "Zuletztgeprüftam=\"01.12.2026\"\r\nLeer=\r\nLang=");
    text += QString(1100, u'x') + QStringLiteral("\r\n[WebUpdate]\r\nNachtrag=1\r\n");
    QVERIFY(schreibeTextdatei(IniDateiPfad(), text));
    QCOMPARE(IniDateiPfad(), m_ordner->file(QStringLiteral("KELVAD.INI")));

    const QString a = QStringLiteral("WebUpdate");
    QCOMPARE(LeseIniWert(a, QStringLiteral("AutoPrüfung"), QStringLiteral("0")), "7");
    QCOMPARE(LeseIniWert(a, QStringLiteral("ZULETZTGEPRÜFTAM"), QString()), "01.12.2026");
    QCOMPARE(LeseIniWert(a, QStringLiteral("Leer"), QStringLiteral("v")), QString());
    QCOMPARE(LeseIniWert(a, QStringLiteral("Lang"), QString()), QString(1024, u'x'));
    QCOMPARE(LeseIniWert(a, QStringLiteral("Fehlt"), QStringLiteral("v")), "v");
    QCOMPARE(
        LeseIniWert(QStringLiteral("Andere"), QStringLiteral("Leer"), QStringLiteral("v")), "v");
}

void TestEinstellungen::iniDateiFehlt()
{
    QCOMPARE(LeseIniWert(QStringLiteral("WebUpdate"), QStringLiteral("AutoPrüfung"), "0"), "0");
    // A directory where the file should be reads as a missing file.
    QVERIFY(QDir(m_ordner->path()).mkdir(QStringLiteral("KELVAD.INI")));
    QCOMPARE(LeseIniWert(QStringLiteral("WebUpdate"), QStringLiteral("AutoPrüfung"), "0"), "0");
}

void TestEinstellungen::webUpdateFrage_data()
{
    QTest::addColumn<QString>("autoPruefung");
    QTest::addColumn<QString>("zuletzt");
    QTest::addColumn<bool>("fragen");
    // Today is 10.12.2026 in every row.
    QTest::newRow("aus") << "0"
                         << "01.01.2020" << false;
    QTest::newRow("keine Zahl") << "oft"
                                << "01.01.2020" << false;
    QTest::newRow("zu frisch") << "10"
                               << "01.12.2026" << false;
    QTest::newRow("genau fällig") << "9"
                                  << "01.12.2026" << true;
    QTest::newRow("überfällig") << "7"
                                << "1.1.2026" << true;
    QTest::newRow("kein Datum") << "7"
                                << "gestern" << false;
    QTest::newRow("leer") << "7"
                          << "" << false;
    QTest::newRow("Zukunft") << "1"
                             << "01.01.2027" << false;
}

void TestEinstellungen::webUpdateFrage()
{
    QFETCH(QString, autoPruefung);
    QFETCH(QString, zuletzt);
    QFETCH(bool, fragen);
    const auto frage = WebUpdateFrage(autoPruefung, zuletzt, QDate(2026, 12, 10));
    QCOMPARE(frage.has_value(), fragen);
    if (frage) {
        QCOMPARE(*frage,
            QStringLiteral("Die automatische Update-Prüfung ist eingeschaltet\n"
                           "und die letzte Prüfung war am: ")
                + zuletzt
                + QStringLiteral("\n\nMöchten Sie jetzt nach einem neuen Update suchen?"));
    }
}

void TestEinstellungen::webUpdateFragtMitIniWerten()
{
    QVERIFY(schreibeTextdatei(IniDateiPfad(),
        QStringLiteral("[WebUpdate]\nAutoPrüfung=3\nZuletztgeprüftam=01.12.2026\n")));
    test::ScriptedDialoge dialoge;
    dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(WebUpdateFragen(QDate(2026, 12, 6)));
    QCOMPARE(dialoge.letzteMeldung().titel, QStringLiteral("Kelvado / Web-Update"));
    QCOMPARE(dialoge.letzteMeldung().knoepfe, Knoepfe::JaNein);
    QCOMPARE(dialoge.letzteMeldung().symbol, Symbol::Frage);
    dialoge.erwarteAntwort(Antwort::Nein);
    QVERIFY(!WebUpdateFragen(QDate(2026, 12, 6)));
    QVERIFY(!WebUpdateFragen(QDate(2026, 12, 3)));
    QCOMPARE(dialoge.meldungen().size(), 2);
}

void TestEinstellungen::grafikverzeichnisFehlt()
{
    QVERIFY(Programmverzeichnis().endsWith(QDir::separator()));
    QCOMPARE(Grafikverzeichnis(), Programmverzeichnis() + QStringLiteral("Grafik/"));
    const QString meldung = pruefeGrafikverzeichnis(QString(), QStringLiteral("/opt/kv"));
    QVERIFY(meldung.startsWith(
        QStringLiteral("Achtung! Der Zugriff auf die Grafiksymbole ist nicht möglich.\n\nFalls")));
    QVERIFY(meldung.endsWith(
        QStringLiteral("funktionieren.\n\nDer momentane Aufrufpfad ist: /opt/kv")));
    QCOMPARE(meldung.count(u'\n'), 8);

    // The installation directory takes over when it has the icons.
    const test::TempDir installation;
    QVERIFY(QDir(installation.path()).mkpath(QStringLiteral("Grafik")));
    QFile ico(installation.file(QStringLiteral("Grafik/Abbruch16.ico")));
    QVERIFY(ico.open(QIODevice::WriteOnly));
    ico.close();
    QCOMPARE(pruefeGrafikverzeichnis(installation.path(), QStringLiteral("/opt/kv")), QString());
    QCOMPARE(Programmverzeichnis(), installation.path() + QDir::separator());
    QCOMPARE(pruefeGrafikverzeichnis(QString(), QString()), QString());
}

QTEST_GUILESS_MAIN(TestEinstellungen)
#include "tst_einstellungen.moc"
