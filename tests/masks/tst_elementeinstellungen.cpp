#include "base/Zahlenformate.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"

#include <QDateTime>
#include <QTest>

using namespace kv;

class TestElementeinstellungen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ZahlenformateNeuBilden();
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void texteingabe();
    void zahleingabe_data();
    void zahleingabe();
    void datumeingabe();
    void checkboxUndOptionen();
    void anzeigetext();
    void bilder();
    void combobox();
    void tabellenelement();
    void anweisung_data();
    void anweisung();
    void schreibenLaesstFremdeFelder();
    void namenlisten();
};

namespace {

/// The element of one line, read through the file reader.
Maskenelement element(const QString& zeile)
{
    const Maskendefinition d = leseMaskendefinition(zeile + QStringLiteral("\r\n")).definition;
    return d.elemente.value(0);
}

} // namespace

void TestElementeinstellungen::texteingabe()
{
    const Maskenelement e = element(QStringLiteral("EingabeText: 0;A;A;0;0;1;1;1;;A9;;;1;2"));
    const TexteingabeEinstellungen t = TexteingabeEinstellungen::aus(e);
    QVERIFY(t.sperre);
    QCOMPARE(t.eingabeformat, QStringLiteral("A9"));
    QCOMPARE(t.horizontal, HorizontaleAusrichtung::Rechts);
    QCOMPARE(t.vertikal, VertikaleAusrichtung::Zentriert);
    Maskenelement neu;
    t.in(neu);
    QCOMPARE(TexteingabeEinstellungen::aus(neu), t);
    QCOMPARE(TexteingabeEinstellungen::aus(
                 element(QStringLiteral("EingabeText: 0;A;A;0;0;1;1;2;;;;;9;x"))),
        TexteingabeEinstellungen());
}

void TestElementeinstellungen::zahleingabe_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("formatIndex");
    QTest::addColumn<bool>("tausender");
    QTest::addColumn<double>("innen");
    QTest::addColumn<double>("aussen");

    QTest::newRow("zwei Stellen") << "EingabeZahl: 0;P;P;0;0;1;1;0;;4;0,5;999,99;1;0;2;0;1;#,##0.00"
                                  << 5 << true << 999.99 << 1000.0;
    QTest::newRow("Währung") << "EingabeZahl: 0;P;P;0;0;1;1;0;;0;-10;;0;0;2;1;0" << 3 << false
                             << 1e9 << -10.5;
    QTest::newRow("ganze Zahl bei -1")
        << "EingabeZahl: 0;P;P;0;0;1;1;0;;0;;;0;0;-1;0;" << 1 << false << -1e9 << qQNaN();
    QTest::newRow("Stellen außerhalb")
        << "EingabeZahl: 0;P;P;0;0;1;1;0;;0;;;0;0;12;0;x" << 1 << true << 0.0 << qQNaN();
    QTest::newRow("Ganzzahl ohne Stellen")
        << "EingabeGanzzahl: 0;M;M;0;0;1;1;0;;2;1;100;0;0;3;1;0" << 1 << false << 100.0 << 0.0;
}

void TestElementeinstellungen::zahleingabe()
{
    QFETCH(QString, zeile);
    QFETCH(int, formatIndex);
    QFETCH(double, innen);
    QFETCH(double, aussen);
    const ZahleingabeEinstellungen z = ZahleingabeEinstellungen::aus(element(zeile));
    QCOMPARE(z.zahlenformatIndex(), formatIndex);
    QTEST(z.tausendertrennung, "tausender");
    QVERIFY(z.imBereich(innen));
    if (!qIsNaN(aussen))
        QVERIFY(!z.imBereich(aussen));
    Maskenelement e = element(zeile);
    z.in(e);
    QCOMPARE(ZahleingabeEinstellungen::aus(e), z);
    QCOMPARE(
        Zahlenformate().value(5), QStringLiteral("#,###,###,###,##0.00;-#,###,###,###,##0.00"));
}

void TestElementeinstellungen::datumeingabe()
{
    const DatumeingabeEinstellungen d = DatumeingabeEinstellungen::aus(element(QStringLiteral(
        "EingabeDatum: 0;G;G;0;0;1;1;0;;3;01.01.1900;31.12.2099;0;0;0;;;dd.mm.yyyy")));
    QCOMPARE(d.spin, Spinanzeige::EinMitButtonLinks);
    QCOMPARE(d.minimum, QDate(1900, 1, 1));
    QCOMPARE(d.maximum, QDate(2099, 12, 31));
    QVERIFY(!d.leereingabe);
    QVERIFY(d.imBereich(QDate(2000, 2, 29)));
    QVERIFY(!d.imBereich(QDate(1899, 12, 31)));
    QCOMPARE(d.anzeigeformat, QStringLiteral("dd.mm.yyyy"));
    Maskenelement e;
    e.art = Maskenelementart::EingabeDatum;
    d.in(e);
    QCOMPARE(e.feld(11), QStringLiteral("01.01.1900"));
    QCOMPARE(DatumeingabeEinstellungen::aus(e), d);
    // Without limits and switch: no limits, empty dates allowed.
    const DatumeingabeEinstellungen leer = DatumeingabeEinstellungen::aus(
        element(QStringLiteral("EingabeDatum: 0;G;G;0;0;1;1;0;;;kein Datum")));
    QVERIFY(!leer.minimum && !leer.maximum);
    QVERIFY(leer.leereingabe);
}

void TestElementeinstellungen::checkboxUndOptionen()
{
    const CheckboxEinstellungen c = CheckboxEinstellungen::aus(
        element(QStringLiteral("EingabeCheckbox: 0;S;Stammkunde;0;0;1;1;1;;2;1;13;1")));
    QCOMPARE(c.text, QStringLiteral("Stammkunde"));
    QCOMPARE(c.textausrichtung, HorizontaleAusrichtung::Zentriert);
    QCOMPARE(c.boxausrichtung, Boxausrichtung::Rechts);
    QCOMPARE(c.boxgroesse, 13);
    QVERIFY(c.mehrzeilig && c.sperre);

    const Maskenelement o = element(
        QStringLiteral("EingabeOptionbox: 0;Anrede;Herr@H/Frau@F//Firma|Anrede;0;0;1;1;0;;1"));
    const OptionboxEinstellungen opt = OptionboxEinstellungen::aus(o);
    QCOMPARE(opt.beschriftung, QStringLiteral("Anrede"));
    QCOMPARE(opt.optionen,
        (QList<Option> { { QStringLiteral("Herr"), QStringLiteral("H") },
            { QStringLiteral("Frau"), QStringLiteral("F") },
            { QStringLiteral("Firma"), QString() } }));
    QVERIFY(opt.textLinks);
    Maskenelement neu;
    neu.art = Maskenelementart::EingabeOptionbox;
    OptionboxEinstellungen mitTrennern = opt;
    mitTrennern.optionen.append({ QStringLiteral("a/b@c|d"), QStringLiteral("1;2") });
    mitTrennern.in(neu);
    QCOMPARE(neu.beschriftung, QStringLiteral("Herr@H/Frau@F/Firma@/a b c d@1 2|Anrede"));
    QCOMPARE(OptionboxEinstellungen::aus(neu).optionen.size(), 4);
    // Without "|" the whole field is options.
    QCOMPARE(
        OptionboxEinstellungen::aus(element(QStringLiteral("EingabeOptionbox: 0;A;Ja@1/Nein@0")))
            .optionen.size(),
        2);
}

void TestElementeinstellungen::anzeigetext()
{
    const Maskenelement e = element(
        QStringLiteral("AnzeigeText: 0;;Summe;0;0;1;1;2;;1;2;4;#,##0.00|-#,##0.00;-1;2;Zeile "
                       "1|Zeile 2;{Menge}*{Preis};12,5"));
    const AnzeigetextEinstellungen a = AnzeigetextEinstellungen::aus(e);
    QCOMPARE(a.horizontal, HorizontaleAusrichtung::Zentriert);
    QCOMPARE(a.vertikal, VertikaleAusrichtung::Unten);
    QCOMPARE(a.umrandung, Umrandung::EinfachAbgerundet);
    QCOMPARE(a.schriftstil, Schriftstil::EingestanztMitRahmen);
    QCOMPARE(a.anzeigeformat, QStringLiteral("#,##0.00;-#,##0.00"));
    QVERIFY(a.mehrzeilig);
    QCOMPARE(a.textfarbe, Textfarbe::Blau);
    QCOMPARE(textfarbwert(a.textfarbe), 0xFF0000u);
    QCOMPARE(a.statischerText, QStringLiteral("Zeile 1\nZeile 2"));
    QCOMPARE(a.formel, QStringLiteral("{Menge}*{Preis}"));
    QCOMPARE(a.schriftgroesse, std::optional<float>(12.5f));
    QVERIFY(!e.gesperrt()); // field 8 is the alignment here
    Maskenelement neu;
    neu.art = Maskenelementart::AnzeigeText;
    a.in(neu);
    QCOMPARE(neu.feld(13), QStringLiteral("#,##0.00|-#,##0.00"));
    QCOMPARE(neu.feld(16), QStringLiteral("Zeile 1|Zeile 2"));
    QCOMPARE(AnzeigetextEinstellungen::aus(neu), a);
    QVERIFY(!AnzeigetextEinstellungen::aus(element(QStringLiteral("AnzeigeText: 0;F;F")))
                 .schriftgroesse);
}

void TestElementeinstellungen::bilder()
{
    QCOMPARE(BildEinstellungen::aus(element(QStringLiteral("AnzeigeBild: 0;B;B;0;0;1;1;0;;11")))
                 .ausrichtung,
        Bildausrichtung::Gezoomt);
    QCOMPARE(BildEinstellungen::aus(element(QStringLiteral("AnzeigeOLE: 0;B;B;0;0;1;1;0;;12")))
                 .ausrichtung,
        Bildausrichtung::LinksOben);
    const StatikbildEinstellungen s = StatikbildEinstellungen::aus(
        element(QStringLiteral("AnzeigeStatikbild: 0;/bilder/logo.png;;0;0;1;1;1;;9;7")));
    QCOMPARE(s.datei, QStringLiteral("/bilder/logo.png"));
    QVERIFY(s.sperre);
    QCOMPARE(s.ausrichtung, Bildausrichtung::Gestreckt);
    QCOMPARE(s.rahmen, Bildrahmen::SchatteneffektInnen);
}

void TestElementeinstellungen::combobox()
{
    const Maskenelement e = element(QStringLiteral(
        "EingabeCombobox: 0;OrtID;Ort;0;0;1;1;0;;OrtID@-1@Zahl@500/PLZ@0@text@800/Ort@1@Text@"
        "2000/Preis@0@WÄHRUNG@1000/Bild@0@n.v.@900/Neu@0@Farbe@-5;OrtID;;1@53111@Bonn/"
        "2@50667@Köln;"));
    const ComboboxEinstellungen c = ComboboxEinstellungen::aus(e);
    QCOMPARE(c.spalten.size(), 6);
    QCOMPARE(c.spalten.at(0).typ, Combospaltentyp::Zahl);
    QCOMPARE(c.spalten.at(0).format(), QStringLiteral("General Number"));
    QVERIFY(!c.spalten.at(0).sichtbar());
    QCOMPARE(c.spalten.at(1).typ, Combospaltentyp::Text);
    QVERIFY(!c.spalten.at(2).sichtbar());
    QCOMPARE(c.spalten.at(3).format(), QStringLiteral("Currency"));
    QVERIFY(!c.spalten.at(4).sichtbar());
    QCOMPARE(c.spalten.at(5).breite, 0);
    QCOMPARE(c.listenbreite(), 1800);
    QCOMPARE(c.angezeigteSpalte(), QStringLiteral("OrtID"));
    QVERIFY(!c.listeAusSql());
    QCOMPARE(c.festeWerte.size(), 2);
    QCOMPARE(c.festeWerte.at(1),
        (QStringList { QStringLiteral("2"), QStringLiteral("50667"), QStringLiteral("Köln") }));
    Maskenelement neu;
    neu.art = Maskenelementart::EingabeCombobox;
    c.in(neu);
    QCOMPARE(neu.feld(10).section(u'/', 0, 1), QStringLiteral("OrtID@-1@Zahl@500/PLZ@0@Text@800"));
    QCOMPARE(ComboboxEinstellungen::aus(neu), c);
    QCOMPARE(combospaltentyp(11), Combospaltentyp::NichtVerfuegbar);
    QCOMPARE(combospaltentyp(5), Combospaltentyp::Waehrung);
}

void TestElementeinstellungen::tabellenelement()
{
    const TabellenelementEinstellungen t = TabellenelementEinstellungen::aus(element(QStringLiteral(
        "EingabeTabelle: 0;;Positionen;0;0;1;1;1;;RechnungsNr;RechnungsNr;SELECT * FROM Positionen;"
        "PositionsNr ASC;RechnungsNr/positionsnr;0/1500/x/900;Positionen;0;1;Betrag/Menge")));
    QVERIFY(t.sperre);
    QVERIFY(t.istVersteckt(QStringLiteral("PositionsNr")));
    QVERIFY(!t.istVersteckt(QStringLiteral("Menge")));
    QCOMPARE(t.spaltenbreite(0), std::nullopt);
    QCOMPARE(t.spaltenbreite(1), std::optional<int>(1500));
    QCOMPARE(t.spaltenbreite(2), std::nullopt);
    QCOMPARE(t.spaltenbreite(3), std::optional<int>(900));
    QCOMPARE(t.spaltenbreite(4), std::nullopt);
    QVERIFY(!t.neuberechnen);
    QVERIFY(t.fuerReport);
    QVERIFY(t.istSummenspalte(QStringLiteral("betrag")));
    QCOMPARE(t.reportangabe(),
        QStringLiteral("RechnungsNr;RechnungsNr;PositionsNr ASC;SELECT * FROM Positionen"));
    Maskenelement neu;
    neu.art = Maskenelementart::EingabeTabelle;
    t.in(neu);
    QCOMPARE(neu.feld(15), QStringLiteral("0/1500/0/900"));
    // Only "0" stops the recomputation; an empty field keeps it.
    const TabellenelementEinstellungen leer
        = TabellenelementEinstellungen::aus(element(QStringLiteral("EingabeTabelle: 0;;T")));
    QVERIFY(leer.neuberechnen);
    QVERIFY(!leer.fuerReport);
    QVERIFY(leer.versteckteSpalten.isEmpty());
}

void TestElementeinstellungen::anweisung_data()
{
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("sortierung");
    QTest::addColumn<QString>("anweisung");

    const QString basis = QStringLiteral("SELECT * FROM [Pos] WHERE ");
    QTest::newRow("Zahl") << QVariant(42) << "Nr ASC" << basis + "RechnungsNr = 42 ORDER BY Nr ASC";
    QTest::newRow("leer") << QVariant() << "Nr" << basis + "RechnungsNr = NULL ORDER BY Nr";
    QTest::newRow("leerer Text") << QVariant(QString()) << "" << basis + "RechnungsNr = NULL";
    QTest::newRow("Text mit Anführung")
        << QVariant(QStringLiteral("O'Neil")) << " " << basis + "RechnungsNr = 'O''Neil'";
    QTest::newRow("Dezimalzahl deutsch") << QVariant(12.5) << "" << basis + "RechnungsNr = 12.5";
    QTest::newRow("Datum") << QVariant(QDateTime(QDate(2021, 3, 4), QTime(10, 5))) << ""
                           << basis + "RechnungsNr = #2021-03-04 10:05:00#";
    QTest::newRow("Wahrheitswert") << QVariant(true) << "" << basis + "RechnungsNr = True";
}

void TestElementeinstellungen::anweisung()
{
    QFETCH(QVariant, wert);
    QFETCH(QString, sortierung);
    TabellenelementEinstellungen t;
    t.sql = QStringLiteral("SELECT * FROM [Pos] ");
    t.feldUntertabelle = QStringLiteral("RechnungsNr");
    t.sortierung = sortierung;
    QTEST(t.anweisung(wert), "anweisung");
    t.feldUntertabelle = QStringLiteral("Rechnungs Nr");
    QVERIFY(t.anweisung(wert).contains(QStringLiteral("WHERE [Rechnungs Nr] = ")));
}

void TestElementeinstellungen::schreibenLaesstFremdeFelder()
{
    // Settings of one kind leave the fields they do not own as they were.
    Maskenelement e
        = element(QStringLiteral("EingabeText: 0;A;A;0;0;1;1;0;;x;y;z;0;0;a;b;c;d;e;f"));
    TexteingabeEinstellungen t = TexteingabeEinstellungen::aus(e);
    t.eingabeformat = QStringLiteral("99");
    t.in(e);
    QCOMPARE(elementfelder(e), QStringLiteral("0;A;A;0;0;1;1;0;;99;y;z;0;0;a;b;c;d;e;f"));
}

void TestElementeinstellungen::namenlisten()
{
    QCOMPARE(spinanzeigenamen().size(), 7);
    QCOMPARE(bildausrichtungsnamen().size(), 12);
    QCOMPARE(bildausrichtungsnamen().at(10), QStringLiteral("Repliziert"));
    QCOMPARE(bildrahmennamen().size(), 10);
    QCOMPARE(bildrahmennamen().at(7), QStringLiteral("Schatteneffekt (innen)"));
    QCOMPARE(umrandungsnamen().size(), 3);
    QCOMPARE(schriftstilnamen().size(), 5);
    QCOMPARE(textfarbnamen().at(3), QStringLiteral("Cyan"));
}

QTEST_MAIN(TestElementeinstellungen)
#include "tst_elementeinstellungen.moc"
