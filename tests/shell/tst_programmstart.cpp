#include "base/Programmschalter.h"
#include "base/Programmverzeichnis.h"
#include "shell/Aktionsschutz.h"
#include "shell/Einstellungen.h"
#include "shell/Programmstart.h"
#include "shell/Prozesswerte.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <memory>

using namespace kv;

class TestProgrammstart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void ersterStart();
    void gespeicherteWerte();
    void kommandozeileErsetztDatenbank();
    void uebernahmeAmAnfang();

private:
    void grafikAnlegen();

    std::unique_ptr<test::TempDir> m_ordner;
};

void TestProgrammstart::init()
{
    m_ordner = std::make_unique<test::TempDir>();
    Einstellungen::setzeSpeicherordner(m_ordner->path());
    setzeProgrammverzeichnis(m_ordner->path());
}

void TestProgrammstart::cleanup()
{
    Einstellungen::setzeSpeicherordner(QString());
    setzeProgrammverzeichnis(QString());
    m_ordner.reset();
}

void TestProgrammstart::grafikAnlegen()
{
    QVERIFY(QDir(m_ordner->path()).mkpath(QStringLiteral("Grafik")));
    QFile ico(m_ordner->file(QStringLiteral("Grafik/Abbruch16.ico")));
    QVERIFY(ico.open(QIODevice::WriteOnly));
}

void TestProgrammstart::ersterStart()
{
    test::ScriptedDialoge dialoge;
    aktionsschutz().setzePasswort(4, QStringLiteral("alt"));
    const Startzustand z = ProgrammstartVorbereiten({}, true);
    // Only the missing icons are reported; no takeover question without a previous generation.
    QCOMPARE(dialoge.meldungen().size(), 1);
    QVERIFY(dialoge.letzteMeldung().text.startsWith(QStringLiteral("Achtung! Der Zugriff")));
    QCOMPARE(Programmschrift().family(), QStringLiteral("Arial"));
    QCOMPARE(Programmschrift().pointSizeF(), 8.0);
    QVERIFY(!Programmschrift().bold());
    QCOMPARE(Menueschrift().family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(XPStil());
    QVERIFY(!z.letzteDatenbank);
    QCOMPARE(programmschalter(), Programmschalter {});
    for (int n = 1; n <= Aktionsschutz::Anzahl; ++n)
        QVERIFY(!aktionsschutz().geschuetzt(n));
    QVERIFY(Startzeitpunkt().isValid());
}

void TestProgrammstart::gespeicherteWerte()
{
    grafikAnlegen();
    Aktionsschutz schutz;
    schutz.setzePasswort(16, QStringLiteral("sich"));
    {
        Einstellungen e;
        const QString& s = AbschnittSettings;
        e.schreibe(s, QStringLiteral("MainState"), QStringLiteral("0"));
        e.schreibe(s, QStringLiteral("Schriftart"), QStringLiteral("DejaVu Sans"));
        e.schreibe(s, QStringLiteral("Schriftpoint"), QStringLiteral("9.75"));
        e.schreibe(s, QStringLiteral("Datenbank"), QStringLiteral("/daten/Umsatz.xls"));
        e.schreibe(s, QStringLiteral("DatenbankTyp"), QStringLiteral("0"));
        e.schreibe(s, QStringLiteral("DatenbankAktionStatus"), schutz.wert());
        e.schreibe(s, QStringLiteral("IconFensterToolbarKlein"), QStringLiteral("False"));
        e.schreibe(s, QStringLiteral("IconFensterToolbarTextanzeige"), QStringLiteral("2"));
        e.schreibe(s, QStringLiteral("ReportausgabeZielSpeichern"), QStringLiteral("1"));
        e.schreibe(s, QStringLiteral("EmailAusgabemitDialog"), QStringLiteral("0"));
        e.schreibe(s, QStringLiteral("ReportDateiÄnderbar"), QStringLiteral("True"));
    }
    test::ScriptedDialoge dialoge;
    const Startzustand z = ProgrammstartVorbereiten({ QStringLiteral("/XPStil:yes") }, true);
    QVERIFY(dialoge.meldungen().isEmpty());
    QVERIFY(!XPStil());
    QCOMPARE(Programmschrift().pointSizeF(), 9.75);
    QCOMPARE(z.letzteDatenbank->typ, 14);
    QVERIFY(aktionsschutz().geschuetzt(16));
    QCOMPARE(aktionsschutz().passwort(16), QStringLiteral("sich "));
    // The switches the child windows and the report output read later.
    QCOMPARE(programmschalter(), (Programmschalter { false, 2, true, false, true }));

    // The fonts are written back in the form they are read.
    Einstellungen e;
    SchriftenSpeichern(e);
    QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("Schriftpoint")), QStringLiteral("9.75"));
    QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("SchriftartMenü")),
        QStringLiteral("MS Sans Serif"));
}

void TestProgrammstart::kommandozeileErsetztDatenbank()
{
    grafikAnlegen();
    const QString neu = m_ordner->file(QStringLiteral("Neu.mdb"));
    QFile f(neu);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    {
        Einstellungen e;
        e.schreibe(AbschnittSettings, QStringLiteral("MainState"), QStringLiteral("2"));
        e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), QStringLiteral("/alt/a.dbf"));
        e.schreibe(AbschnittSettings, QStringLiteral("DatenbankTyp"), QStringLiteral("2"));
        e.schreibe(AbschnittSettings, QStringLiteral("DatenbankNurLesen"), QStringLiteral("True"));
    }
    const test::ScriptedDialoge dialoge;
    const Startzustand z = ProgrammstartVorbereiten({ QStringLiteral("/MDB:") + neu }, false);
    QCOMPARE(z.letzteDatenbank->pfad, neu);
    QCOMPARE(z.letzteDatenbank->typ, 1);
    QVERIFY(!z.letzteDatenbank->nurLesen);
    QCOMPARE(z.werte.mainState, 2);
}

void TestProgrammstart::uebernahmeAmAnfang()
{
    grafikAnlegen();
    Einstellungen alt(VorgaengerAnwendungstitel);
    alt.schreibe(AbschnittSettings, QStringLiteral("MainTop"), QStringLiteral("600"));
    alt.schreibe(AbschnittSettings, QStringLiteral("Schriftart"), QStringLiteral("Tahoma"));
    test::ScriptedDialoge dialoge;
    dialoge.erwarteAntwort(Antwort::Ja);
    ProgrammstartVorbereiten({}, false);
    QVERIFY(dialoge.leer());
    // The taken-over settings are the ones the start reads.
    QCOMPARE(Programmschrift().family(), QStringLiteral("Tahoma"));
}

QTEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
