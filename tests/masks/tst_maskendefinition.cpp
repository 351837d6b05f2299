#include "base/LeseDatei.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Systemfarben.h"
#include "tables/Definitionsdatei.h"
#include "tables/Definitionstext.h"
#include "tables/Definitionszeilen.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

using namespace kv;

class TestMaskendefinition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void jedeArtUndJederSchluesselHinUndZurueck();
    void hoeheNachDenElementen();
    void schluesselInJederSchreibweise();
    void weglassregeln();
    void kurzeElementzeile();
    void felderJenseitsDerArtBleiben();
    void seitenbereich_data();
    void seitenbereich();
    void karteikarte();
    void feldbeschriftung();
    void farbenAusDemSystem();
    void schlechteEingabe();
    void trennerInTexten();
    void ohneNamen();
};

namespace {

Maskendefinition lies(const QString& text)
{
    return leseMaskendefinition(text).definition;
}

QString zeilen(const QStringList& z)
{
    return z.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

const QStringList Kopf {
    QStringLiteral("KV-Maske: Kunden"),
    QStringLiteral("Virtuell: 1"),
    QStringLiteral("SQL: SELECT * From [Kunden]"),
    QStringLiteral("Bedienelemente: OBEN"),
    QStringLiteral("Höhe: 5000"),
    QStringLiteral("Breite: 9000,5"),
    QStringLiteral("VirtuelleHöhe: 12000"),
    QStringLiteral("VirtuelleBreite: 10000"),
    QStringLiteral("Links: 100"),
    QStringLiteral("Oben: 200"),
    QStringLiteral("Karteikarte: 100;2000;8000;2500;&1. Seite|&2. Seite"),
    QStringLiteral("Feldbeschriftung: 1;-600;4"),
    QStringLiteral("Videoleisteanzeige: 2"),
    QStringLiteral("Videoleistedatenfeld: Name"),
    QStringLiteral("Funktionsleisteanzeige: 3"),
    QStringLiteral("Editiersperre: 1"),
    QStringLiteral("Proportional: 1"),
    QStringLiteral("Zwischenablageformat:{Name}<crlf>{Ort}"),
    QStringLiteral("Schriftgröße: 9,5"),
    QStringLiteral("Reportfelder: Bild,Foto"),
    QStringLiteral("MaskeReportDateiFilter: Kunden*"),
    QStringLiteral("HintergrundbildDatei: /bilder/papier.png"),
    QStringLiteral("HintergrundbildAusrichtung: 10"),
    QStringLiteral("FarbeMaskeHintergrund: 16777215"),
    QStringLiteral("FarbeMaskeText: 0"),
    QStringLiteral("FarbeElementHintergrund: 15790320"),
    QStringLiteral("FarbeElementText: 255"),
    QStringLiteral("MaskenDruckOhneBeschriftung: 1"),
    QStringLiteral("MaskenDruckMitFeldumrandung: 1"),
    QStringLiteral("FensterMitStatuszeile: 1"),
};

/// One line of every kind, with settings in the fields each kind uses.
const QStringList Elemente {
    QStringLiteral(
        "EingabeText: 0;Name;Name;2500;100;4000;315;1;Name des Kunden|Nachname;A9;;;1;2;;;;;;"),
    QStringLiteral("EingabeTextMemo: 1;Bemerkung;Notiz;100;100;6000;945;0;;;;;0;0;;;;;;"),
    QStringLiteral("EingabeGanzzahl: 0;Menge;Menge;2500;500;1500;315;0;;2;0;100;1;0;;;1;;;"),
    QStringLiteral(
        "EingabeZahl: 0;Preis;Preis;2500;900;1500;315;0;;4;0,5;999,99;1;2;2;0;1;#,##0.00;;"),
    QStringLiteral(
        "EingabeDatum: "
        "2;Geburtsdatum;Geboren;100;500;1500;315;0;;3;01.01.1900;31.12.2099;0;0;0;;;dd.mm.yyyy;;"),
    QStringLiteral(
        "EingabeCheckbox: 0;Stammkunde;Stammkunde;2500;1300;2000;315;0;;1;1;13;1;;;;;;;"),
    QStringLiteral(
        "EingabeOptionbox: "
        "0;Anrede;Herr@Herr/Frau@Frau/Firma@Firma|Anrede;2500;1700;3000;900;0;;1;;;;;;;;;;"),
    QStringLiteral("AnzeigeText: 0;;Summe;2500;2700;2000;315;1;;2;1;3;#,##0.00|-#,##0.00;1;1;Zeile "
                   "1|Zeile 2;{Menge}*{Preis};12;;"),
    QStringLiteral("AnzeigeBild: 0;Bild;Bild;7000;100;1500;1500;0;;9;;;;;;;;;;"),
    QStringLiteral("AnzeigeStatikbild: 0;/bilder/logo.png;;7000;1700;1500;800;1;;4;2;;;;;;;;;"),
    QStringLiteral("AnzeigeOLE: 0;Dokument;Dokument;7000;2600;1500;800;0;;11;;;;;;;;;;"),
    QStringLiteral("EingabeCombobox: "
                   "0;OrtID;Ort;2500;3100;3000;315;0;;OrtID@-1@Zahl@0/PLZ@0@Text@800/"
                   "Ort@0@Text@2000;OrtID;Ort;;SELECT OrtID, PLZ, Ort FROM Orte;;;;;;"),
    QStringLiteral(
        "EingabeTabelle: 0;;Rechnungen;100;3500;8000;2000;1;;KundenNr;KundenNr;SELECT * FROM "
        "Rechnungen;Rechnungsdatum DESC;KundenNr/RechnungsNr;800/1500/1500;Rechnungen;0;1;Betrag;"),
};

} // namespace

void TestMaskendefinition::jedeArtUndJederSchluesselHinUndZurueck()
{
    const QString text = zeilen(Kopf + Elemente);
    const Maskendefinitionslesung lesung = leseMaskendefinition(text);
    QVERIFY2(lesung.hinweise.isEmpty(), qPrintable(lesung.hinweise.join(u'\n')));
    const Maskendefinition& d = lesung.definition;
    QCOMPARE(d.elemente.size(), 13);
    for (int id = 0; id < 13; ++id)
        QCOMPARE(int(d.elemente.at(id).art), id);
    QCOMPARE(d.titel, QStringLiteral("Kunden"));
    QVERIFY(d.virtuell);
    QCOMPARE(d.sql, QStringLiteral("SELECT * From [Kunden]"));
    QVERIFY(d.bedienelementeOben);
    QCOMPARE(d.hoehe, 5000);
    QCOMPARE(d.breite, 9000.5f);
    QCOMPARE(d.virtuelleHoehe, 12000.0f);
    QCOMPARE(d.seitenzahl(), 2);
    QCOMPARE(d.karteikarte->titel.at(1), QStringLiteral("&2. Seite"));
    QCOMPARE(d.feldbeschriftung.position, Beschriftungsposition::Oben);
    QCOMPARE(d.feldbeschriftung.groesse, -600);
    QCOMPARE(d.feldbeschriftung.ausrichtung, Beschriftungsausrichtung::ZentriertZentriert);
    QCOMPARE(d.videoleisteAnzeige, Videoleiste::Reduziert);
    QCOMPARE(d.funktionsleisteAnzeige, Funktionsleiste::VollMitVorZurueck);
    QVERIFY(d.editiersperre && d.proportional && d.fensterMitStatuszeile);
    QVERIFY(d.druckOhneBeschriftung && d.druckMitFeldumrandung);
    QCOMPARE(d.schriftgroesse, 9.5f);
    QCOMPARE(d.reportfelder.value(0).name, QStringLiteral("Foto"));
    QCOMPARE(d.hintergrundbildAusrichtung, Hintergrundausrichtung::Repliziert);
    QCOMPARE(d.farbeMaskeText, 0u);
    QCOMPARE(d.farbeElementText, 255u);
    const Maskenelement& name = d.elemente.first();
    QCOMPARE(name.tooltip(), QStringLiteral("Name des Kunden"));
    QCOMPARE(name.hilfetext(), QStringLiteral("Nachname"));
    QVERIFY(name.gesperrt());
    QCOMPARE(d.reportTabellenelement(), 12);

    // The writer gives back exactly this text, and it reads to the same mask.
    QCOMPARE(maskendefinitionstext(d), text);
    QCOMPARE(lies(maskendefinitionstext(d)), d);
}

void TestMaskendefinition::hoeheNachDenElementen()
{
    QStringList umgestellt = Kopf;
    const QString hoehe = umgestellt.takeAt(4);
    umgestellt += Elemente;
    umgestellt.append(hoehe);
    QCOMPARE(lies(zeilen(umgestellt)), lies(zeilen(Kopf + Elemente)));
}

void TestMaskendefinition::schluesselInJederSchreibweise()
{
    QStringList klein;
    for (const QString& z : Kopf + Elemente) {
        const qsizetype doppelpunkt = z.indexOf(u':');
        klein.append(
            QStringLiteral("  ") + z.left(doppelpunkt).toLower() + z.mid(doppelpunkt) + u' ');
    }
    // "VideoleisteAnzeige" (default text) and "Videoleisteanzeige" (designer) are one key.
    klein.replace(12, QStringLiteral("VideoleisteAnzeige: 2"));
    const Maskendefinition d = lies(zeilen(klein));
    QCOMPARE(maskendefinitionstext(d), zeilen(Kopf + Elemente));
}

void TestMaskendefinition::weglassregeln()
{
    Maskendefinition d = neueMaskendefinition();
    const QString text = maskendefinitionstext(d);
    for (const char* fehlt :
        { "Schriftgröße", "Reportfelder", "MaskeReportDateiFilter", "Karteikarte" })
        QVERIFY2(!text.contains(QString::fromUtf8(fehlt)), fehlt);
    QVERIFY(text.contains(QStringLiteral("\r\nZwischenablageformat:\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nBedienelemente: UNTEN\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nFeldbeschriftung: 0;-500;7\r\n")));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 26);
    // The copy template is written without a blank and read back untrimmed.
    d.zwischenablageformat = QStringLiteral(" {A} ");
    QCOMPARE(lies(maskendefinitionstext(d)).zwischenablageformat, QStringLiteral(" {A}"));
}

void TestMaskendefinition::kurzeElementzeile()
{
    const Maskendefinition d = lies(
        QStringLiteral("KV-Maske: X\r\nEingabeTextMemo: 0;Notiz;Notiz;2500;100;4000;945\r\n"));
    QCOMPARE(d.elemente.size(), 1);
    const Maskenelement& e = d.elemente.first();
    QCOMPARE(e.hoehe, 945);
    QCOMPARE(e.feld8, 0);
    QCOMPARE(e.feld9, QString());
    for (int n = 10; n <= 20; ++n)
        QCOMPARE(e.feld(n), QString());
    QVERIFY(maskendefinitionstext(d).contains(
        QStringLiteral("\r\nEingabeTextMemo: 0;Notiz;Notiz;2500;100;4000;945;0;;;;;;;;;;;;\r\n")));
}

void TestMaskendefinition::felderJenseitsDerArtBleiben()
{
    // A check box reads 13 fields; 14 to 20 go back into the file but are not used.
    const QString zeile = QStringLiteral(
        "EingabeCheckbox: 0;A;A;0;0;100;100;0;;1;1;13;1;x14;x15;x16;x17;x18;x19;x20");
    const Maskendefinition d = lies(
        zeile + QStringLiteral("\r\nEingabeCheckbox: 0;B;B;0;0;1;1;0;;;;;;;;;;;;;;überzählig\r\n"));
    QCOMPARE(d.elemente.size(), 2);
    const Maskenelement& e = d.elemente.first();
    QCOMPARE(e.feld(14), QStringLiteral("x14"));
    QCOMPARE(e.genutztesFeld(14), QString());
    QCOMPARE(e.genutztesFeld(13), QStringLiteral("1"));
    const QString text = maskendefinitionstext(d);
    QVERIFY(text.contains(zeile + QStringLiteral("\r\n")));
    QVERIFY(!text.contains(QStringLiteral("überzählig")));
    // A tab belongs to the value: field 20 keeps it even when it ends the written line.
    const Maskendefinition tab
        = lies(QStringLiteral("EingabeText: 0;A;A;0;0;1;1;0;;;;;;;;;;;;x\t;weg\t \r\n"));
    QCOMPARE(tab.elemente.value(0).feld(20), QStringLiteral("x\t"));
    QCOMPARE(lies(maskendefinitionstext(tab)), tab);
}

void TestMaskendefinition::seitenbereich_data()
{
    QTest::addColumn<QString>("karteikarte");
    QTest::addColumn<QString>("seite");
    QTest::addColumn<bool>("gezeigt");

    const QString zwei = QStringLiteral("Karteikarte: 0;0;100;100;A|B");
    QTest::newRow("Seite 0 ohne Karteikarte") << ""
                                              << "0" << true;
    QTest::newRow("Seite 1 ohne Karteikarte") << ""
                                              << "1" << false;
    QTest::newRow("Seite 2 von 2") << zwei << "2" << true;
    QTest::newRow("Seite 3 von 2") << zwei << "3" << false;
    QTest::newRow("Seite 99") << zwei << "99" << false;
    QTest::newRow("Seite -1") << zwei << "-1" << false;
    QTest::newRow("Seite 70000") << zwei << "70000" << true; // no 16-bit number: taken as 0
    QTest::newRow("Seite keine Zahl") << zwei << "zwei" << true;
}

void TestMaskendefinition::seitenbereich()
{
    QFETCH(QString, karteikarte);
    QFETCH(QString, seite);
    const Maskendefinitionslesung l = leseMaskendefinition(
        karteikarte + QStringLiteral("\r\nEingabeText: ") + seite + QStringLiteral(";Name\r\n"));
    QTEST(l.definition.elemente.size() == 1, "gezeigt");
    QCOMPARE(l.hinweise.size(), l.definition.elemente.size() == 1 ? 0 : 1);
}

void TestMaskendefinition::karteikarte()
{
    // The designer ends a new tab control's titles with "|"; the count is that of the titles.
    Maskendefinition d
        = lies(QStringLiteral("Karteikarte: 10;20;3000;2000;&1. Seite|&2. Seite|\r\n"));
    QCOMPARE(d.karteikarte->titel,
        (QStringList { QStringLiteral("&1. Seite"), QStringLiteral("&2. Seite") }));
    QCOMPARE(d.karteikarte->links, 10);
    QVERIFY(maskendefinitionstext(d).contains(
        QStringLiteral("\r\nKarteikarte: 10;20;3000;2000;&1. Seite|&2. Seite\r\n")));
    QCOMPARE(lies(QStringLiteral("Karteikarte: 0;0;1;1;A|||\r\n")).seitenzahl(), 1);
    QCOMPARE(lies(QStringLiteral("Karteikarte: 0;0;1;1;||\r\n")).seitenzahl(), 1);
    d = lies(QStringLiteral("KARTEIKARTE: 10;20\r\n"));
    QCOMPARE(d.seitenzahl(), 1);
    QCOMPARE(d.karteikarte->breite, 0);
    d = lies(QStringLiteral("Karteikarte: 0;0;1;1;") + QStringLiteral("x|").repeated(5000));
    QCOMPARE(d.seitenzahl(), HoechsteSeitenzahl);
}

void TestMaskendefinition::feldbeschriftung()
{
    QCOMPARE(lies(QString()).feldbeschriftung, Feldbeschriftung());
    const Feldbeschriftung f
        = lies(QStringLiteral("Feldbeschriftung: 7;abc;9\r\n")).feldbeschriftung;
    QCOMPARE(f.position, Beschriftungsposition::Links);
    QCOMPARE(f.groesse, 0);
    QCOMPARE(f.ausrichtung, Beschriftungsausrichtung::RechtsZentriert);
    QCOMPARE(lies(QStringLiteral("Feldbeschriftung: 3;250\r\n")).feldbeschriftung.groesse, 250);
}

void TestMaskendefinition::farbenAusDemSystem()
{
    const QPalette p = QGuiApplication::palette();
    const auto bgr = [](const QColor& c) {
        return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
    };
    Maskendefinition d = lies(QStringLiteral("FarbeElementText: 255\r\n"));
    QCOMPARE(d.farbeMaskeHintergrund, bgr(p.color(QPalette::Button)));
    QCOMPARE(d.farbeMaskeText, bgr(p.color(QPalette::ButtonText)));
    QCOMPARE(d.farbeElementHintergrund, bgr(p.color(QPalette::Base)));
    QCOMPARE(d.farbeElementText, 255u);
    // A value beyond 32 bits keeps the preset.
    d = lies(QStringLiteral("FarbeElementText: 1099511627776\r\nFarbeMaskeText: -2147483640\r\n"));
    QCOMPARE(d.farbeElementText, bgr(p.color(QPalette::Text)));
    QCOMPARE(d.farbeMaskeText, 0x80000008u);
    QCOMPARE(aufgeloesteFarbe(d.farbeMaskeText), bgr(p.color(QPalette::Text)));
}

void TestMaskendefinition::schlechteEingabe()
{
    const QString text = QStringLiteral("\r\n"
                                        "Unbekannt: 1\r\n"
                                        "ohne Doppelpunkt\r\n"
                                        "EingabeFantasie: 0;A;A;0;0;1;1\r\n"
                                        "EingabeText: 0;Breite;B;1,5;1e12;-5;abc;99999\r\n"
                                        "EingabeText:\r\n"
                                        "Höhe: 1e300\r\n"
                                        "Virtuell: 1,0\r\n"
                                        "HintergrundbildAusrichtung: 11\r\n"
                                        "Funktionsleisteanzeige: -1\r\n"
                                        "\x80\x81\xff: \x9d\r\n");
    const Maskendefinitionslesung l = leseMaskendefinition(text);
    const Maskendefinition& d = l.definition;
    QCOMPARE(d.titel, QString());
    QCOMPARE(d.hoehe, int(Twipsgrenze));
    QVERIFY(d.virtuell);
    QCOMPARE(d.hintergrundbildAusrichtung, Hintergrundausrichtung::LinksOben);
    QCOMPARE(d.funktionsleisteAnzeige, Funktionsleiste::VollOhneVorZurueck);
    QCOMPARE(d.elemente.size(), 2);
    const Maskenelement& e = d.elemente.first();
    QCOMPARE(e.links, 2);
    QCOMPARE(e.oben, int(Twipsgrenze));
    QCOMPARE(e.breite, 0);
    QCOMPARE(e.hoehe, 0);
    QCOMPARE(e.feld8, 0);
    QCOMPARE(d.elemente.at(1), Maskenelement());
    QCOMPARE(l.hinweise.size(), 3);
    QVERIFY(l.hinweise.at(1).startsWith(QStringLiteral("Zeile 4: Der Eintrag „EINGABEFANTASIE“")));
}

void TestMaskendefinition::trennerInTexten()
{
    Maskendefinition d = neueMaskendefinition();
    Maskenelement e;
    e.datenfeld = QStringLiteral("Name");
    e.beschriftung = QStringLiteral("Name; Vorname\nzweite Zeile");
    e.feld9 = QStringLiteral("Tipp|Hilfe");
    e.setzeFeld(10, QStringLiteral("A;9"));
    d.elemente.append(e);
    const Maskendefinition wieder = lies(maskendefinitionstext(d));
    QCOMPARE(wieder.elemente.size(), 1);
    QCOMPARE(wieder.elemente.first().beschriftung, QStringLiteral("Name, Vorname zweite Zeile"));
    QCOMPARE(wieder.elemente.first().hilfetext(), QStringLiteral("Hilfe"));
    QCOMPARE(wieder.elemente.first().feld(10), QStringLiteral("A,9"));
}

void TestMaskendefinition::ohneNamen()
{
    const test::TempDir dir;
    const QString db = dir.file(QStringLiteral("Beispiel.mdb"));
    const Maskendefinition d = lies(zeilen(Kopf + Elemente));
    for (const char* erwartet : { "OhneNamen0001", "OhneNamen0002" }) {
        const std::optional<QString> name = freierOhneNamenName(db, Definitionsart::Maske);
        QCOMPARE(name, QString::fromUtf8(erwartet));
        const QString pfad = definitionsdateiname(db, *name, Definitionsart::Maske);
        QVERIFY(!speichereMaskendefinition(pfad, d));
        QCOMPARE(definitionstitel(pfad, Definitionsart::Maske), QStringLiteral("Kunden"));
        QCOMPARE(lies(LeseDatei(pfad)), d);
    }
    QVERIFY(QFile::exists(dir.file(QStringLiteral("Beispiel_KELVAD_OhneNamen0002.MSK"))));
    const std::optional<QString> fehler
        = speichereMaskendefinition(dir.file(QStringLiteral("fehlt/x.MSK")), d);
    QVERIFY(fehler
        && fehler->startsWith(QStringLiteral("Fehler beim Öffnen der Maskendatei!\n\nNr: ")));
}

QTEST_MAIN(TestMaskendefinition)
#include "tst_maskendefinition.moc"
