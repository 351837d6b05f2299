#include "beispiel/Beispieldefinitionen.h"

#include "base/Pfade.h"
#include "engine/EngineError.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"
#include "tables/Definitionsdatei.h"
#include "tables/Definitionstext.h"
#include "tables/Tabellendefinitionsformat.h"

#include <QBuffer>
#include <QColor>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

namespace kv {

namespace {

const QString Logodatei = QStringLiteral("Beispiel_Logo.png");

/// The files are German: numbers and dates are written in the German form.
class DeutschesFormat {
public:
    DeutschesFormat()
        : m_vorher(QLocale())
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~DeutschesFormat() { QLocale::setDefault(m_vorher); }
    DeutschesFormat(const DeutschesFormat&) = delete;
    DeutschesFormat& operator=(const DeutschesFormat&) = delete;

private:
    QLocale m_vorher;
};

Tabellendefinition rechnungsansicht()
{
    Tabellendefinition d;
    d.titel = QStringLiteral("Rechnungspositionen mit Summen");
    d.bedienelementeOben = true;
    d.tabellenTitel = QStringLiteral("Alle Rechnungspositionen");
    d.videoleisteAnzeige = Videoleiste::Voll;
    d.funktionsleisteAnzeige = Funktionsleiste::VollMitVorZurueck;
    d.sql = QStringLiteral(
        "SELECT Rechnungspositionen.RechnungsNr, Rechnungspositionen.PositionsNr, "
        "Artikel.Bezeichnung, Rechnungspositionen.Menge, Rechnungspositionen.Einzelpreis, "
        "[Menge]*[Einzelpreis] AS Betrag FROM Rechnungspositionen INNER JOIN Artikel ON "
        "Rechnungspositionen.ArtikelNr = Artikel.ArtikelNr ORDER BY "
        "Rechnungspositionen.RechnungsNr");
    d.hoehe = 6000;
    d.breite = 10000;
    d.links = 300;
    d.oben = 300;
    d.zwischenablageformat
        = QStringLiteral("Rechnung {RechnungsNr}, Position {PositionsNr}<crlf>{Menge} x "
                         "{Bezeichnung} zu {Einzelpreis}<crlf>Betrag: {Betrag}");
    d.schriftgroesse = 10;
    d.zeilenhoehe = 300;
    // Light yellow rows alternating with white, a blue selection and a grey footer.
    const std::pair<Tabellenfarbe, quint32> farben[] = {
        { Tabellenfarbe::HintergrundAllgemein, 0xFFFFFF },
        { Tabellenfarbe::HintergrundAuswahlzeile, 0x8B4513 },
        { Tabellenfarbe::HintergrundZebramuster, 0xE0FFFF },
        { Tabellenfarbe::HintergrundNormalzeile, 0xFFFFFF },
        { Tabellenfarbe::HintergrundSuchzeile, 0xF0F0F0 },
        { Tabellenfarbe::HintergrundFusszeile, 0xD3D3D3 },
        { Tabellenfarbe::TextAllgemein, 0x202020 },
        { Tabellenfarbe::TextAuswahlzeile, 0xFFFFFF },
        { Tabellenfarbe::TextZebramuster, 0x202020 },
        { Tabellenfarbe::TextNormalzeile, 0x202020 },
        { Tabellenfarbe::TextSuchzeile, 0x800000 },
        { Tabellenfarbe::TextFusszeile, 0x000080 },
    };
    for (const auto& [farbe, wert] : farben)
        d.setzeFarbe(farbe, wert);
    d.suchzeile = true;
    d.zebramuster = true;
    d.rechteSpalteExpandieren = true;
    d.fensterMitStatuszeile = true;
    d.spalten = {
        { QStringLiteral("Rechnung"), QStringLiteral("RechnungsNr"), 1000,
            Spaltenausrichtung::Rechts, true, QString(), false },
        { QStringLiteral("Pos."), QStringLiteral("PositionsNr"), 700, Spaltenausrichtung::Rechts,
            true, QString(), false },
        { QStringLiteral("Artikel"), QStringLiteral("Bezeichnung"), 3000, Spaltenausrichtung::Links,
            true, QString(), false },
        { QStringLiteral("Menge"), QStringLiteral("Menge"), 900, Spaltenausrichtung::Rechts, false,
            QStringLiteral("#,##0"), true },
        { QStringLiteral("Einzelpreis"), QStringLiteral("Einzelpreis"), 1400,
            Spaltenausrichtung::Rechts, false, QStringLiteral("Currency"), false },
        { QStringLiteral("Betrag"), QStringLiteral("Betrag"), 1500, Spaltenausrichtung::Rechts,
            true, QStringLiteral("Currency"), true },
    };
    return d;
}

Tabellendefinition kundenliste()
{
    Tabellendefinition d;
    d.titel = QStringLiteral("Kundenliste (nur lesen)");
    d.tabellenTitel = QStringLiteral("Kunden mit Wohnort");
    d.videoleisteAnzeige = Videoleiste::Reduziert;
    d.funktionsleisteAnzeige = Funktionsleiste::Reduziert;
    d.sql = QStringLiteral("SELECT * From [Kunden mit Wohnort]");
    d.hoehe = 5000;
    d.breite = 9000;
    d.links = 600;
    d.oben = 600;
    d.videoleisteDatenfeld = QStringLiteral("Name");
    d.editiersperre = true;
    d.suchzeile = true;
    d.proportionaleSpaltenbreiten = true;
    return d;
}

Maskenelement element(Maskenelementart art, int seite, const QString& feld,
    const QString& beschriftung, int links, int oben, int breite, int hoehe = 315)
{
    Maskenelement e;
    e.art = art;
    e.seite = qint16(seite);
    e.datenfeld = feld;
    e.beschriftung = beschriftung;
    e.links = links;
    e.oben = oben;
    e.breite = breite;
    e.hoehe = hoehe;
    return e;
}

/// A check box on the surface whose own text is the field name.
Maskenelement ankreuzfeld(const QString& feld, int links, int oben, int breite)
{
    Maskenelement e
        = element(Maskenelementart::EingabeCheckbox, 0, feld, QString(), links, oben, breite);
    CheckboxEinstellungen c;
    c.text = feld;
    c.in(e);
    return e;
}

/// A drop-down list filled from an SQL statement.
Maskenelement auswahlliste(int seite, const QString& feld, const QString& beschriftung, int oben,
    QList<Combospalte> spalten, const QString& anzeigefeld, const QString& sql)
{
    Maskenelement e
        = element(Maskenelementart::EingabeCombobox, seite, feld, beschriftung, 1600, oben, 4500);
    ComboboxEinstellungen k;
    k.spalten = std::move(spalten);
    k.verknuepfungsfeld = feld;
    k.anzeigefeld = anzeigefeld;
    k.sql = sql;
    k.in(e);
    return e;
}

/// Colours and layout common to the demo masks.
Maskendefinition maske(const QString& titel, const QString& sql, int hoehe, int breite)
{
    Maskendefinition d;
    d.titel = titel;
    d.sql = sql;
    d.bedienelementeOben = true;
    d.hoehe = hoehe;
    d.breite = float(breite);
    d.links = 200;
    d.oben = 200;
    d.videoleisteAnzeige = Videoleiste::Voll;
    d.funktionsleisteAnzeige = Funktionsleiste::VollMitVorZurueck;
    d.fensterMitStatuszeile = true;
    d.farbeMaskeHintergrund = 0xF0F0F0;
    d.farbeMaskeText = 0x000000;
    d.farbeElementHintergrund = 0xFFFFFF;
    d.farbeElementText = 0x000000;
    return d;
}

Maskendefinition kundenmaske()
{
    using A = Maskenelementart;
    Maskendefinition d = maske(QStringLiteral("Kundenkartei"),
        QStringLiteral("SELECT * From [Kunden] ORDER BY [Name], [Vorname]"), 5200, 9800);
    d.karteikarte = Karteikarte { 100, 1300, 9400, 3700,
        { QStringLiteral("&1. Adresse"), QStringLiteral("&2. Weiteres") } };
    d.videoleisteDatenfeld = QStringLiteral("Name");
    d.zwischenablageformat = QStringLiteral("{Anrede} {Vorname} {Name}<crlf>{Straße}");

    Maskenelement nr = element(A::EingabeGanzzahl, 0, QStringLiteral("KundenNr"),
        QStringLiteral("Kunden-Nr."), 1600, 100, 1200);
    nr.feld9 = QStringLiteral("Die Nummer vergibt das Programm|Kundennummer (automatisch)");
    ZahleingabeEinstellungen z;
    z.sperre = true;
    z.minimum = 1;
    z.maximum = 999999;
    z.horizontal = HorizontaleAusrichtung::Rechts;
    z.in(nr);
    d.elemente.append(nr);

    Maskenelement logo
        = element(A::AnzeigeStatikbild, 0, QString(), QString(), 8200, 100, 1200, 1000);
    StatikbildEinstellungen s;
    s.datei = Logodatei;
    s.ausrichtung = Bildausrichtung::Gezoomt;
    s.rahmen = Bildrahmen::Eingestanzt;
    s.in(logo);
    d.elemente.append(logo);

    d.elemente.append(ankreuzfeld(QStringLiteral("Stammkunde"), 1600, 550, 2500));

    Maskenelement anrede = element(
        A::EingabeOptionbox, 1, QStringLiteral("Anrede"), QString(), 1600, 200, 4000, 400);
    OptionboxEinstellungen o;
    o.optionen = { { QStringLiteral("Herr"), QStringLiteral("Herr") },
        { QStringLiteral("Frau"), QStringLiteral("Frau") },
        { QStringLiteral("Firma"), QStringLiteral("Firma") } };
    o.beschriftung = QStringLiteral("Anrede");
    o.in(anrede);
    d.elemente.append(anrede);

    d.elemente.append(element(
        A::EingabeText, 1, QStringLiteral("Vorname"), QStringLiteral("Vorname"), 1600, 700, 3000));
    d.elemente.append(element(
        A::EingabeText, 1, QStringLiteral("Name"), QStringLiteral("Name"), 1600, 1100, 3000));
    d.elemente.append(element(
        A::EingabeText, 1, QStringLiteral("Straße"), QStringLiteral("Straße"), 1600, 1500, 4000));

    d.elemente.append(auswahlliste(1, QStringLiteral("OrtID"), QStringLiteral("Ort"), 1900,
        { { QStringLiteral("OrtID"), true, Combospaltentyp::Zahl, 0 },
            { QStringLiteral("PLZ"), false, Combospaltentyp::Text, 800 },
            { QStringLiteral("Ort"), false, Combospaltentyp::Text, 2500 } },
        QStringLiteral("Ort"), QStringLiteral("SELECT OrtID, PLZ, Ort FROM Orte ORDER BY Ort")));

    Maskenelement geboren = element(A::EingabeDatum, 2, QStringLiteral("Geburtsdatum"),
        QStringLiteral("Geboren am"), 1600, 200, 1600);
    DatumeingabeEinstellungen dat;
    dat.spin = Spinanzeige::EinMitButtonRechts;
    dat.minimum = QDate(1900, 1, 1);
    dat.maximum = QDate(2010, 12, 31);
    dat.anzeigeformat = QStringLiteral("dd.mm.yyyy");
    dat.in(geboren);
    d.elemente.append(geboren);

    d.elemente.append(element(
        A::EingabeText, 2, QStringLiteral("Telefon"), QStringLiteral("Telefon"), 1600, 600, 3000));
    d.elemente.append(element(
        A::EingabeText, 2, QStringLiteral("E-Mail"), QStringLiteral("E-Mail"), 1600, 1000, 4500));
    d.elemente.append(element(A::EingabeTextMemo, 2, QStringLiteral("Bemerkung"),
        QStringLiteral("Bemerkung"), 1600, 1400, 6000, 1200));

    Maskenelement hinweis = element(A::AnzeigeText, 2, QString(), QString(), 1600, 2800, 6000, 500);
    AnzeigetextEinstellungen h;
    h.statischerText
        = QStringLiteral("Bemerkungen erscheinen auf keinem Ausdruck.\nF3 sucht Kunden.");
    h.mehrzeilig = true;
    h.textfarbe = Textfarbe::Blau;
    h.in(hinweis);
    d.elemente.append(hinweis);
    return d;
}

Maskendefinition rechnungsmaske()
{
    using A = Maskenelementart;
    Maskendefinition d = maske(QStringLiteral("Rechnungen mit Positionen"),
        QStringLiteral("SELECT * From [Rechnungen] ORDER BY [RechnungsNr]"), 5400, 9800);

    Maskenelement nr = element(A::EingabeGanzzahl, 0, QStringLiteral("RechnungsNr"),
        QStringLiteral("Rechnung"), 1600, 100, 1200);
    ZahleingabeEinstellungen z;
    z.sperre = true;
    z.in(nr);
    d.elemente.append(nr);

    d.elemente.append(auswahlliste(0, QStringLiteral("KundenNr"), QStringLiteral("Kunde"), 500,
        { { QStringLiteral("KundenNr"), false, Combospaltentyp::Zahl, 900 },
            { QStringLiteral("Name"), false, Combospaltentyp::Text, 2000 },
            { QStringLiteral("Vorname"), false, Combospaltentyp::Text, 1600 } },
        QStringLiteral("Name"),
        QStringLiteral("SELECT KundenNr, Name, Vorname FROM Kunden ORDER BY Name, Vorname")));

    Maskenelement datum = element(A::EingabeDatum, 0, QStringLiteral("Rechnungsdatum"),
        QStringLiteral("Datum"), 1600, 900, 1600);
    DatumeingabeEinstellungen dat;
    dat.minimum = QDate(2000, 1, 1);
    dat.leereingabe = false;
    dat.in(datum);
    d.elemente.append(datum);

    d.elemente.append(ankreuzfeld(QStringLiteral("Bezahlt"), 4000, 900, 1500));

    Maskenelement positionen
        = element(A::EingabeTabelle, 0, QString(), QString(), 100, 1400, 9400, 3000);
    TabellenelementEinstellungen t;
    t.feldHaupttabelle = QStringLiteral("RechnungsNr");
    t.feldUntertabelle = QStringLiteral("RechnungsNr");
    t.sql = QStringLiteral("SELECT PositionsNr, RechnungsNr, ArtikelNr, Menge, Einzelpreis, "
                           "[Menge]*[Einzelpreis] AS Betrag FROM Rechnungspositionen");
    t.sortierung = QStringLiteral("PositionsNr ASC");
    t.versteckteSpalten = { QStringLiteral("PositionsNr"), QStringLiteral("RechnungsNr") };
    t.spaltenbreiten = { 0, 0, 1200, 1000, 1500, 1500 };
    t.titel = QStringLiteral("Positionen");
    t.fuerReport = true;
    t.summenspalten = { QStringLiteral("Menge"), QStringLiteral("Betrag") };
    t.in(positionen);
    d.elemente.append(positionen);

    const auto formel = [&](const QString& beschriftung, const QString& rechnung, int oben) {
        Maskenelement e = element(A::AnzeigeText, 0, QString(), beschriftung, 7600, oben, 1900);
        AnzeigetextEinstellungen a;
        a.horizontal = HorizontaleAusrichtung::Rechts;
        a.umrandung = Umrandung::Einfach;
        a.anzeigeformat = QStringLiteral("#,##0.00 €;-#,##0.00 €");
        a.formel = rechnung;
        a.in(e);
        d.elemente.append(e);
    };
    formel(QStringLiteral("Netto"), QStringLiteral("{@1/Betrag}"), 4600);
    formel(QStringLiteral("Brutto (19 %)"), QStringLiteral("{@1/Betrag}*1,19"), 5000);
    return d;
}

Maskendefinition artikelmaske()
{
    using A = Maskenelementart;
    Maskendefinition d = maske(QStringLiteral("Artikel mit Bild"),
        QStringLiteral("SELECT * From [Artikel] ORDER BY [Bezeichnung]"), 4200, 9000);
    d.reportfelder = { { QStringLiteral("Bild"), QStringLiteral("Artikelbild") } };
    d.elemente.append(element(A::EingabeText, 0, QStringLiteral("Bezeichnung"),
        QStringLiteral("Bezeichnung"), 1600, 100, 4000));

    Maskenelement preis = element(
        A::EingabeZahl, 0, QStringLiteral("Preis"), QStringLiteral("Preis"), 1600, 500, 1600);
    ZahleingabeEinstellungen p;
    p.minimum = 0;
    p.maximum = 10000;
    p.waehrung = true;
    p.tausendertrennung = true;
    p.horizontal = HorizontaleAusrichtung::Rechts;
    p.spin = Spinanzeige::EinMitButtonRechtsBeiFokus;
    p.in(preis);
    d.elemente.append(preis);

    Maskenelement bestand = element(A::EingabeGanzzahl, 0, QStringLiteral("Lagerbestand"),
        QStringLiteral("Lagerbestand"), 1600, 900, 1200);
    ZahleingabeEinstellungen b;
    b.minimum = 0;
    b.maximum = 100000;
    b.horizontal = HorizontaleAusrichtung::Rechts;
    b.spin = Spinanzeige::Ein;
    b.in(bestand);
    d.elemente.append(bestand);

    Maskenelement seit = element(A::EingabeDatum, 0, QStringLiteral("Aufnahmedatum"),
        QStringLiteral("Im Sortiment seit"), 1600, 1300, 1600);
    DatumeingabeEinstellungen dat;
    dat.anzeigeformat = QStringLiteral("mmmm yyyy");
    dat.in(seit);
    d.elemente.append(seit);

    Maskenelement bild = element(
        A::AnzeigeBild, 0, QStringLiteral("Bild"), QStringLiteral("Bild"), 6000, 100, 2700, 2000);
    BildEinstellungen { Bildausrichtung::Gezoomt }.in(bild);
    d.elemente.append(bild);

    Maskenelement ole = element(A::AnzeigeOLE, 0, QStringLiteral("Bild"),
        QStringLiteral("Als Objekt"), 6000, 2300, 2700, 1500);
    BildEinstellungen { Bildausrichtung::ZentriertZentriert }.in(ole);
    d.elemente.append(ole);

    // {Menge}*{Preis} over the items of the article: the list value of a quantity.
    Maskenelement wert
        = element(A::AnzeigeText, 0, QString(), QStringLiteral("Lagerwert"), 1600, 1700, 1900);
    AnzeigetextEinstellungen a;
    a.horizontal = HorizontaleAusrichtung::Rechts;
    a.anzeigeformat = QStringLiteral("Currency");
    a.formel = QStringLiteral("{Lagerbestand}*{Preis}");
    a.in(wert);
    d.elemente.append(wert);
    return d;
}

Maskendefinition positionsmaske()
{
    using A = Maskenelementart;
    Maskendefinition d = maske(QStringLiteral("Rechnungsposition"),
        QStringLiteral("SELECT Rechnungspositionen.PositionsNr, Rechnungspositionen.RechnungsNr, "
                       "Rechnungspositionen.Menge, Artikel.Bezeichnung, Artikel.Preis FROM "
                       "Rechnungspositionen INNER JOIN Artikel ON Rechnungspositionen.ArtikelNr "
                       "= Artikel.ArtikelNr ORDER BY Rechnungspositionen.PositionsNr"),
        2200, 7000);
    d.editiersperre = true;
    d.elemente.append(element(A::EingabeText, 0, QStringLiteral("Bezeichnung"),
        QStringLiteral("Artikel"), 1600, 100, 4000));
    d.elemente.append(element(
        A::EingabeGanzzahl, 0, QStringLiteral("Menge"), QStringLiteral("Menge"), 1600, 500, 1000));
    d.elemente.append(element(A::EingabeZahl, 0, QStringLiteral("Preis"),
        QStringLiteral("Listenpreis"), 1600, 900, 1500));
    Maskenelement summe
        = element(A::AnzeigeText, 0, QString(), QStringLiteral("Listenwert"), 1600, 1300, 1500);
    AnzeigetextEinstellungen a;
    a.horizontal = HorizontaleAusrichtung::Rechts;
    a.schriftstil = Schriftstil::Eingestanzt;
    a.formel = QStringLiteral("{Menge}*{Preis}");
    a.in(summe);
    d.elemente.append(summe);
    return d;
}

/// A small drawn logo; no text, so it looks the same without fonts.
QByteArray logo()
{
    QImage bild(160, 120, QImage::Format_RGB32);
    bild.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x5A, 0x96));
    p.drawEllipse(QRectF(20, 10, 100, 100));
    p.setBrush(QColor(0xF0, 0xA0, 0x20));
    p.drawRect(QRectF(70, 40, 70, 50));
    p.end();
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG");
    return png;
}

void schreibe(
    const QString& pfad, const QString& text, const QString& dateiwort, QStringList& geschrieben)
{
    if (QFile::exists(pfad))
        return;
    if (const std::optional<QString> fehler = schreibeDefinitionstext(pfad, text, dateiwort))
        throw engine::EngineError(3012, *fehler);
    geschrieben.append(pfad);
}

} // namespace

QStringList schreibeBeispieldefinitionen(const QString& datenbankpfad)
{
    const DeutschesFormat deutsch;
    QStringList geschrieben;
    const auto tabelle = [&](const QString& name, const Tabellendefinition& d) {
        schreibe(definitionsdateiname(datenbankpfad, name, Definitionsart::Tabelle),
            tabellendefinitionstext(d), Strukturdatei, geschrieben);
    };
    const auto maske = [&](const QString& name, const Maskendefinition& d) {
        schreibe(definitionsdateiname(datenbankpfad, name, Definitionsart::Maske),
            maskendefinitionstext(d), Maskendatei, geschrieben);
    };
    tabelle(QStringLiteral("Rechnungspositionen"), rechnungsansicht());
    tabelle(QStringLiteral("Kundenliste"), kundenliste());
    maske(QStringLiteral("Kundenkartei"), kundenmaske());
    maske(QStringLiteral("Rechnungen"), rechnungsmaske());
    maske(QStringLiteral("Artikel"), artikelmaske());
    maske(QStringLiteral("Rechnungsposition"), positionsmaske());

    const QString logopfad = QDir(Verzeichnis(datenbankpfad, QString())).filePath(Logodatei);
    if (!QFile::exists(logopfad)) {
        QFile f(logopfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(logo()) < 0)
            throw engine::EngineError(
                3012, QStringLiteral("Das Bild %1 kann nicht geschrieben werden.").arg(logopfad));
        geschrieben.append(logopfad);
    }
    return geschrieben;
}

} // namespace kv
