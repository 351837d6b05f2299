#include "base/LeseDatei.h"
#include "tables/Definitionsdatei.h"
#include "tables/Tabellendefinitionsformat.h"
#include "tables/Tabellenentwurf.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QTest>

using namespace kv;

// The designer's working model: start texts, captions, the lists' rules, saving and the close
// question.
class TestTabellenentwurf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void neueAnsicht();
    void vorhandeneAnsicht();
    void ansichtAlsVorlage();
    void spaltenlisten();
    void zeilenpruefung();
    void speichernOhneNamen();
    void speichernLaesstUnvollstaendigeZeilenWeg();
    void speicherfehler();
    void schliessenFragt();

private:
    QString datenbank() const { return m_dir.file(QStringLiteral("Adressen.mdb")); }
    test::TempDir m_dir;
};

void TestTabellenentwurf::neueAnsicht()
{
    const Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    QCOMPARE(e.titel(), QStringLiteral("Tabellen-Generator neu erstellen"));
    QVERIFY(e.neu());
    QVERIFY(!e.geaendert());
    QCOMPARE(e.name(), QString());
    const Tabellendefinition& d = e.definition();
    QCOMPARE(d.titel, QStringLiteral("Standard-Tabelle Kunden"));
    QCOMPARE(d.tabellenTitel, QStringLiteral("Kunden"));
    QVERIFY(d.suchzeile);
    QVERIFY(d.zebramuster);
    QCOMPARE(d.videoleisteAnzeige, Videoleiste::Voll);
    QCOMPARE(d.funktionsleisteAnzeige, Funktionsleiste::VollOhneVorZurueck);
    QCOMPARE(d.sql, QStringLiteral("SELECT * From [Kunden]"));
    QVERIFY(d.spalten.isEmpty());
    // Until the file sets colours, the designer shows its defaults: cyan for the zebra rows.
    QCOMPARE(d.designerfarbe(Tabellenfarbe::HintergrundZebramuster), 16776960u);
    QCOMPARE(d.designerfarbe(Tabellenfarbe::HintergrundAuswahlzeile), 0x8000000Du);
}

void TestTabellenentwurf::vorhandeneAnsicht()
{
    const QString datei = m_dir.file(QStringLiteral("Adressen_KELVAD_Umsatz.TSK"));
    const Tabellenentwurf e(QString(),
        QStringLiteral("KV-Tabelle: Umsätze\r\nSQL: SELECT * FROM Kunden\r\n"), datei, datenbank());
    QCOMPARE(e.titel(), QStringLiteral("Tabellen-Generator ändern"));
    QVERIFY(!e.neu());
    QCOMPARE(e.name(), QStringLiteral("Umsatz"));
    QCOMPARE(e.datei(), datei);
    QCOMPARE(e.definition().titel, QStringLiteral("Umsätze"));
    QVERIFY(!e.definition().suchzeile);
}

void TestTabellenentwurf::ansichtAlsVorlage()
{
    // "Neu" on a user view hands its text without the file: a new view from a copy.
    const Tabellenentwurf e(QString(),
        QStringLiteral("KV-Tabelle: Vorlage\r\nSQL: SELECT * FROM T\r\n"), QString(), datenbank());
    QVERIFY(e.neu());
    QCOMPARE(e.titel(), QStringLiteral("Tabellen-Generator neu erstellen"));
    QCOMPARE(e.definition().titel, QStringLiteral("Vorlage"));
    QCOMPARE(e.name(), QString());
}

void TestTabellenentwurf::spaltenlisten()
{
    Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    e.aendern().spalten = { { QStringLiteral("A"), QStringLiteral("a") },
        { QStringLiteral("B"), QStringLiteral("b") },
        { QStringLiteral("C"), QStringLiteral("c") } };
    e.aendern().reportfelder = { { QStringLiteral("Bild"), QStringLiteral("Foto") } };
    QVERIFY(e.geaendert());
    QVERIFY(e.verschiebeSpalte(0, +1));
    QVERIFY(e.verschiebeSpalte(2, -1));
    QStringList felder;
    for (const Tabellenspalte& s : e.definition().spalten)
        felder.append(s.datenfeld);
    QCOMPARE(felder, (QStringList { "b", "c", "a" }));
    QVERIFY(!e.verschiebeSpalte(0, -1));
    QVERIFY(!e.verschiebeSpalte(2, +1));
    QVERIFY(!e.verschiebeSpalte(7, -1));
    e.alleSpaltenLoeschen();
    QVERIFY(e.definition().spalten.isEmpty());
    QVERIFY(e.definition().reportfelder.isEmpty());
}

void TestTabellenentwurf::zeilenpruefung()
{
    Tabellenspalte s;
    s.titel = QStringLiteral("Ohne Feld");
    s.datenfeld = QStringLiteral("  ");
    QCOMPARE(Tabellenentwurf::pruefeSpalte(s),
        QStringLiteral("Eine Leereingabe ist nicht zulässig!\n\nBitte ergänzen Sie die Eingabe!"));
    s.datenfeld = QStringLiteral("Name");
    QCOMPARE(Tabellenentwurf::pruefeSpalte(s), std::nullopt);
    QCOMPARE(Tabellenentwurf::pruefeReportfeld({ QString(), QStringLiteral("Foto") }),
        QStringLiteral(
            "Die Auswahl des Grafikfeldes fehlt noch!\n\nBitte ergänzen Sie die Eingabe!"));
    QCOMPARE(
        Tabellenentwurf::pruefeReportfeld({ QStringLiteral("Bild"), QString() }), std::nullopt);
}

void TestTabellenentwurf::speichernOhneNamen()
{
    test::ScriptedDialoge dialoge;
    Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    e.aendern().hoehe = 4800;
    e.aendern().spalten = { { QStringLiteral("Kunde"), QStringLiteral("Name"), 2400.5f,
        Spaltenausrichtung::Rechts, true, QStringLiteral("#,##0.00"), true } };
    QVERIFY(e.speichern());
    QVERIFY(!e.geaendert());
    const QString datei = m_dir.file(QStringLiteral("Adressen_KELVAD_OhneNamen0001.TSK"));
    QCOMPARE(e.datei(), datei);
    QCOMPARE(e.name(), QStringLiteral("OhneNamen0001"));
    // What the runtime window reads is what the designer had, its default colours written out.
    Tabellendefinition erwartet = e.definition();
    for (int i = 0; i < TabellenfarbenAnzahl; ++i)
        erwartet.setzeFarbe(Tabellenfarbe(i), erwartet.designerfarbe(Tabellenfarbe(i)));
    QCOMPARE(leseTabellendefinition(LeseDatei(datei)).definition, erwartet);
    QVERIFY(dialoge.meldungen().isEmpty());

    // Saved again under a name of its own: the new file beside the database.
    e.setzeName(QStringLiteral("Kundenumsatz"));
    QVERIFY(e.geaendert());
    QVERIFY(e.speichern());
    QVERIFY(QFile::exists(m_dir.file(QStringLiteral("Adressen_KELVAD_Kundenumsatz.TSK"))));
}

void TestTabellenentwurf::speichernLaesstUnvollstaendigeZeilenWeg()
{
    test::ScriptedDialoge dialoge;
    Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    e.setzeName(QStringLiteral("Teilweise"));
    e.aendern().spalten = { { QStringLiteral("Leer"), QString() },
        { QStringLiteral("Kunde"), QStringLiteral("Name") } };
    e.aendern().reportfelder = { { QString(), QStringLiteral("Foto") },
        { QStringLiteral("Bild"), QStringLiteral("Bild") } };
    QVERIFY(e.speichern());
    const Tabellendefinition gelesen = leseTabellendefinition(LeseDatei(e.datei())).definition;
    QCOMPARE(gelesen.spalten.size(), 1);
    QCOMPARE(gelesen.spalten.at(0).datenfeld, QStringLiteral("Name"));
    QCOMPARE(gelesen.reportfelder,
        (QList<Reportfeld> { { QStringLiteral("Bild"), QStringLiteral("Bild") } }));
}

void TestTabellenentwurf::speicherfehler()
{
    test::ScriptedDialoge dialoge;
    // A folder where the file should go: opening it for output fails.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("Adressen_KELVAD_Ordner.TSK")));
    Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    e.setzeName(QStringLiteral("Ordner"));
    QVERIFY(!e.speichern());
    QVERIFY(e.geaendert());
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Öffnen der Strukturdatei!\n\nNr: ")));
    QVERIFY(dialoge.letzteMeldung().text.contains(QStringLiteral("\nBeschreibung: ")));
}

void TestTabellenentwurf::schliessenFragt()
{
    test::ScriptedDialoge dialoge;
    Tabellenentwurf e(QStringLiteral("Kunden"), QString(), QString(), datenbank());
    QVERIFY(e.schliessenErlaubt());
    QVERIFY(dialoge.meldungen().isEmpty());

    e.setzeName(QStringLiteral("Frage"));
    const QString datei = m_dir.file(QStringLiteral("Adressen_KELVAD_Frage.TSK"));
    dialoge.erwarteAntwort(Antwort::Abbrechen);
    QVERIFY(!e.schliessenErlaubt());
    const Meldung frage = dialoge.letzteMeldung();
    QCOMPARE(
        frage.text, QStringLiteral("Möchten Sie die Änderungen in der Strukturdatei speichern?"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNeinAbbrechen);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QVERIFY(!QFile::exists(datei));

    dialoge.erwarteAntwort(Antwort::Nein);
    QVERIFY(e.schliessenErlaubt());
    QVERIFY(!QFile::exists(datei));

    dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(e.schliessenErlaubt());
    QVERIFY(QFile::exists(datei));
    QVERIFY(dialoge.leer());
}

QTEST_GUILESS_MAIN(TestTabellenentwurf)
#include "tst_tabellenentwurf.moc"
