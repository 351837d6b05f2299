#include "tables/Tabellendefinitionsformat.h"

#include "base/Text.h"
#include "tables/Definitionstext.h"
#include "tables/Kopfzeilen.h"

#include <algorithm>

namespace kv {

namespace {

using Td = Tabellendefinition;

const QString SpaltenSchluessel = QStringLiteral("Spalte: ;");

Kopfeintrag<Td> farbzeile(const QString& schluessel, Tabellenfarbe f)
{
    return { schluessel,
        [f, schluessel](Td& d, const QString& w, QStringList& hinweise) {
            if (const std::optional<quint32> wert = leseFarbe(w))
                d.setzeFarbe(f, wert);
            else
                hinweise.append(QStringLiteral("Die Farbe in „%1“ ist kein gültiger Farbwert.")
                                    .arg(schluessel.trimmed()));
        },
        [f, schluessel](
            const Td& d, Definitionsschreiber& s) { s.farbe(schluessel, d.designerfarbe(f)); } };
}

Kopfeintrag<Td> wahltwipszeile(const QString& schluessel, float Td::*feld)
{
    return { schluessel,
        [feld](Td& d, const QString& w, QStringList&) {
            d.*feld = std::max(0.0f, float(begrenzeTwips(leseZahl(w))));
        },
        [schluessel, feld](const Td& d, Definitionsschreiber& s) {
            if (d.*feld > 0)
                s.zahl(schluessel, d.*feld);
        } };
}

const Kopftabelle<Td>& kopftabelle()
{
    static const Kopftabelle<Td> tabelle([] {
        QList<Kopfeintrag<Td>> e {
            textzeile(QStringLiteral("KV-Tabelle: "), &Td::titel),
            bedienelementezeile(
                &Td::bedienelementeOben, QStringLiteral("Oben"), QStringLiteral("Unten")),
            textzeile(QStringLiteral("TabellenTitel: "), &Td::tabellenTitel),
            leistenzeile(QStringLiteral("VideoleisteAnzeige: "), &Td::videoleisteAnzeige, 2,
                Videoleiste::Voll),
            leistenzeile(QStringLiteral("FunktionsleisteAnzeige: "), &Td::funktionsleisteAnzeige, 3,
                Funktionsleiste::VollOhneVorZurueck),
            sqlzeile(QStringLiteral("SQL: "), &Td::sql),
            twipszeile(QStringLiteral("Höhe: "), &Td::hoehe),
            twipszeile(QStringLiteral("Breite: "), &Td::breite),
            twipszeile(QStringLiteral("Links: "), &Td::links),
            twipszeile(QStringLiteral("Oben: "), &Td::oben),
            textzeile(QStringLiteral("VideoleisteDatenfeld: "), &Td::videoleisteDatenfeld),
            zahlschalterzeile(QStringLiteral("Editiersperre: "), &Td::editiersperre),
            vorlagenzeile(&Td::zwischenablageformat, false),
            schriftgroessenzeile(&Td::schriftgroesse, 5.0f),
            reportfelderzeile(&Td::reportfelder),
            wahltwipszeile(QStringLiteral("Zeilenhöhe: "), &Td::zeilenhoehe),
            wahltextzeile(QStringLiteral("TabelleReportDateiFilter: "), &Td::reportDateiFilter),
        };
        static const char* const farbnamen[] = { "Allgemein", "Auswahlzeile", "Zebramuster",
            "Normalzeile", "Suchzeile", "Fusszeile" };
        for (int i = 0; i < TabellenfarbenAnzahl; ++i) {
            const QString art
                = i < 6 ? QStringLiteral("FarbeHintergrund") : QStringLiteral("FarbeText");
            e.append(farbzeile(art + QString::fromUtf8(farbnamen[i % 6]) + QStringLiteral(": "),
                Tabellenfarbe(i)));
        }
        e.append(schalterzeile(QStringLiteral("Suchzeile: "), &Td::suchzeile));
        e.append(schalterzeile(QStringLiteral("Zebramuster: "), &Td::zebramuster));
        e.append(schalterzeile(
            QStringLiteral("RechteSpalteExpandieren: "), &Td::rechteSpalteExpandieren));
        e.append(schalterzeile(
            QStringLiteral("ProportionaleSpaltenbreiten: "), &Td::proportionaleSpaltenbreiten));
        e.append(schalterzeile(
            QStringLiteral("DatenbankVorgabenUmsetzen: "), &Td::datenbankVorgabenUmsetzen));
        e.append(
            schalterzeile(QStringLiteral("FensterMitStatuszeile: "), &Td::fensterMitStatuszeile));
        return e;
    }());
    return tabelle;
}

// The format piece may hold sections ("#,##0.00;-#,##0.00"); the column line separates its
// pieces with ";", so a ";" is written as "|" as in the mask files' display formats.
QString formatAusDatei(QString format)
{
    return format.replace(u'|', u';');
}

QString formatFuerDatei(QString format)
{
    return format.replace(u';', u'|');
}

/// Titles and field names cannot carry the piece separator.
QString stueck(QString text)
{
    return text.replace(u';', u',');
}

Tabellenspalte leseSpalte(const QString& wert)
{
    const Teilliste teile = Teile(wert, QStringLiteral(";"));
    Tabellenspalte s;
    s.titel = teile[2];
    s.datenfeld = teile[3];
    s.breite = std::clamp(float(begrenzeTwips(leseZahl(teile[4]))), 0.0f, float(Twipsgrenze));
    s.ausrichtung = AusrichtungAusZahl(leseGanzzahl(teile[5], 0, 2, 0));
    s.editiersperre = leseWahrheitswert(teile[6]);
    s.formatierung = formatAusDatei(teile[7]);
    s.summe = leseWahrheitswert(teile[9]);
    return s;
}

QString spaltentext(const Tabellenspalte& s)
{
    const QString breite
        = s.breite > 0 ? Definitionsschreiber::zahltext(s.breite) : QStringLiteral("0");
    return QStringList { stueck(s.titel), stueck(s.datenfeld), breite,
        QString::number(int(s.ausrichtung)), QString::number(int(s.editiersperre)),
        formatFuerDatei(s.formatierung), QString(), QString::number(int(s.summe)) }
        .join(u';');
}

} // namespace

Tabellendefinitionslesung leseTabellendefinition(const QString& text)
{
    Tabellendefinitionslesung lesung;
    Tabellendefinition& d = lesung.definition;
    const QList<Definitionszeile> rest = leseKopfzeilen(text, false,
        [&](const Definitionszeile& z) { return kopftabelle().lese(d, z, lesung.hinweise); });
    static const QString spalte = definitionsschluessel(QStringLiteral("Spalte"));
    for (const Definitionszeile& z : rest) {
        if (z.schluessel == spalte)
            d.spalten.append(leseSpalte(z.wert));
        else
            lesung.hinweise.append(hinweisUnbekannteZeile(z));
    }
    return lesung;
}

QString tabellendefinitionstext(const Tabellendefinition& definition)
{
    Definitionsschreiber s;
    kopftabelle().schreibe(definition, s);
    for (const Tabellenspalte& spalte : definition.spalten)
        s.zeile(SpaltenSchluessel, spaltentext(spalte));
    return s.text();
}

std::optional<QString> speichereTabellendefinition(
    const QString& pfad, const Tabellendefinition& definition)
{
    return schreibeDefinitionstext(pfad, tabellendefinitionstext(definition), Strukturdatei);
}

} // namespace kv
