#include "masks/Maskendefinitionsformat.h"

#include "base/Text.h"
#include "tables/Definitionstext.h"
#include "tables/Kopfzeilen.h"

#include <limits>

namespace kv {

namespace {

using Md = Maskendefinition;

/// Element texts cannot carry the field separator or a line break.
QString feldtext(QString text)
{
    text.replace(u';', u',');
    return Definitionsschreiber::einzeilig(text);
}

int twipsGanzzahl(const QString& wert)
{
    return int(std::lround(begrenzeTwips(leseZahl(wert))));
}

int sechzehnBit(const QString& wert)
{
    return leseGanzzahl(
        wert, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), 0);
}

Kopfeintrag<Md> farbzeile(const QString& schluessel, quint32 Md::*feld)
{
    return { schluessel,
        [schluessel, feld](Md& d, const QString& w, QStringList& hinweise) {
            if (const std::optional<quint32> wert = leseFarbe(w))
                d.*feld = *wert;
            else
                hinweise.append(QStringLiteral("Die Farbe in „%1“ ist kein gültiger Farbwert.")
                                    .arg(schluessel.trimmed()));
        },
        [schluessel, feld](
            const Md& d, Definitionsschreiber& s) { s.farbe(schluessel, d.*feld); } };
}

std::optional<Karteikarte> leseKarteikarte(const QString& wert, QStringList& hinweise)
{
    const qsizetype trenner = [&] {
        qsizetype pos = -1;
        for (int i = 0; i < 4; ++i) {
            pos = wert.indexOf(u';', pos + 1);
            if (pos < 0)
                break;
        }
        return pos;
    }();
    const Teilliste lage = Teile(trenner < 0 ? wert : wert.left(trenner), QStringLiteral(";"));
    Karteikarte k;
    k.links = twipsGanzzahl(lage[1]);
    k.oben = twipsGanzzahl(lage[2]);
    k.breite = std::max(0, twipsGanzzahl(lage[3]));
    k.hoehe = std::max(0, twipsGanzzahl(lage[4]));
    const QString titeltext = trenner < 0 ? QString() : wert.mid(trenner + 1).trimmed();
    QStringList titel = Teile(titeltext, QStringLiteral("|")).liste();
    // The designer ends the titles of a new tab control with "|".
    while (titel.size() > 1 && titel.last().isEmpty())
        titel.removeLast();
    if (titel.size() > HoechsteSeitenzahl) {
        hinweise.append(QStringLiteral("Die Karteikarte hat mehr als %1 Seiten; die weiteren "
                                       "Seiten werden nicht angezeigt.")
                            .arg(HoechsteSeitenzahl));
        titel = titel.mid(0, HoechsteSeitenzahl);
    }
    k.titel = titel;
    return k;
}

Kopfeintrag<Md> karteikartenzeile()
{
    const QString schluessel = QStringLiteral("Karteikarte: ");
    return { schluessel,
        [](Md& d, const QString& w, QStringList& hinweise) {
            d.karteikarte = leseKarteikarte(w, hinweise);
        },
        [schluessel](const Md& d, Definitionsschreiber& s) {
            if (!d.karteikarte)
                return;
            const Karteikarte& k = *d.karteikarte;
            QStringList titel;
            for (const QString& t : k.titel)
                titel.append(feldtext(t).replace(u'|', u' '));
            s.zeile(schluessel,
                QStringList { QString::number(k.links), QString::number(k.oben),
                    QString::number(k.breite), QString::number(k.hoehe), titel.join(u'|') }
                    .join(u';'));
        } };
}

Kopfeintrag<Md> beschriftungszeile()
{
    const QString schluessel = QStringLiteral("Feldbeschriftung: ");
    return { schluessel,
        [](Md& d, const QString& w, QStringList&) {
            const Teilliste t = Teile(w, QStringLiteral(";"));
            const Feldbeschriftung vorgabe;
            Feldbeschriftung& f = d.feldbeschriftung;
            f.position = Beschriftungsposition(leseGanzzahl(t[1], 0, 3, int(vorgabe.position)));
            f.groesse = t[2].isEmpty() ? vorgabe.groesse : twipsGanzzahl(t[2]);
            f.ausrichtung
                = Beschriftungsausrichtung(leseGanzzahl(t[3], 0, 8, int(vorgabe.ausrichtung)));
        },
        [schluessel](const Md& d, Definitionsschreiber& s) {
            const Feldbeschriftung& f = d.feldbeschriftung;
            s.zeile(schluessel,
                QStringLiteral("%1;%2;%3")
                    .arg(int(f.position))
                    .arg(f.groesse)
                    .arg(int(f.ausrichtung)));
        } };
}

const Kopftabelle<Md>& kopftabelle()
{
    static const Kopftabelle<Md> tabelle(QList<Kopfeintrag<Md>> {
        textzeile(QStringLiteral("KV-Maske: "), &Md::titel),
        zahlschalterzeile(QStringLiteral("Virtuell: "), &Md::virtuell),
        sqlzeile(QStringLiteral("SQL: "), &Md::sql),
        bedienelementezeile(
            &Md::bedienelementeOben, QStringLiteral("OBEN"), QStringLiteral("UNTEN")),
        { QStringLiteral("Höhe: "),
            [](Md& d, const QString& w, QStringList&) { d.hoehe = twipsGanzzahl(w); },
            [](const Md& d, Definitionsschreiber& s) {
                s.ganzzahl(QStringLiteral("Höhe: "), d.hoehe);
            } },
        twipszeile(QStringLiteral("Breite: "), &Md::breite),
        twipszeile(QStringLiteral("VirtuelleHöhe: "), &Md::virtuelleHoehe),
        twipszeile(QStringLiteral("VirtuelleBreite: "), &Md::virtuelleBreite),
        twipszeile(QStringLiteral("Links: "), &Md::links),
        twipszeile(QStringLiteral("Oben: "), &Md::oben),
        karteikartenzeile(),
        beschriftungszeile(),
        leistenzeile(
            QStringLiteral("Videoleisteanzeige: "), &Md::videoleisteAnzeige, 2, Videoleiste::Voll),
        textzeile(QStringLiteral("Videoleistedatenfeld: "), &Md::videoleisteDatenfeld),
        leistenzeile(QStringLiteral("Funktionsleisteanzeige: "), &Md::funktionsleisteAnzeige, 3,
            Funktionsleiste::VollOhneVorZurueck),
        zahlschalterzeile(QStringLiteral("Editiersperre: "), &Md::editiersperre),
        zahlschalterzeile(QStringLiteral("Proportional: "), &Md::proportional),
        vorlagenzeile(&Md::zwischenablageformat, true),
        schriftgroessenzeile(&Md::schriftgroesse, 0.0f),
        reportfelderzeile(&Md::reportfelder),
        wahltextzeile(QStringLiteral("MaskeReportDateiFilter: "), &Md::reportDateiFilter),
        textzeile(QStringLiteral("HintergrundbildDatei: "), &Md::hintergrundbildDatei),
        leistenzeile(QStringLiteral("HintergrundbildAusrichtung: "),
            &Md::hintergrundbildAusrichtung, 10, Hintergrundausrichtung::LinksOben),
        farbzeile(QStringLiteral("FarbeMaskeHintergrund: "), &Md::farbeMaskeHintergrund),
        farbzeile(QStringLiteral("FarbeMaskeText: "), &Md::farbeMaskeText),
        farbzeile(QStringLiteral("FarbeElementHintergrund: "), &Md::farbeElementHintergrund),
        farbzeile(QStringLiteral("FarbeElementText: "), &Md::farbeElementText),
        zahlschalterzeile(
            QStringLiteral("MaskenDruckOhneBeschriftung: "), &Md::druckOhneBeschriftung),
        zahlschalterzeile(
            QStringLiteral("MaskenDruckMitFeldumrandung: "), &Md::druckMitFeldumrandung),
        schalterzeile(QStringLiteral("FensterMitStatuszeile: "), &Md::fensterMitStatuszeile),
    });
    return tabelle;
}

Maskenelement leseElement(Maskenelementart art, const QString& wert)
{
    const Teilliste f = Teile(wert, QStringLiteral(";"));
    Maskenelement e;
    e.art = art;
    e.seite = qint16(sechzehnBit(f[1]));
    e.datenfeld = f[2];
    e.beschriftung = f[3];
    e.links = twipsGanzzahl(f[4]);
    e.oben = twipsGanzzahl(f[5]);
    e.breite = std::max(0, twipsGanzzahl(f[6]));
    e.hoehe = std::max(0, twipsGanzzahl(f[7]));
    e.feld8 = qint16(sechzehnBit(f[8]));
    e.feld9 = f[9];
    for (int n = ErstesEinstellungsfeld; n <= MaskenelementFelder; ++n)
        e.setzeFeld(n, f[n]);
    return e;
}

} // namespace

QString elementfelder(const Maskenelement& e)
{
    QStringList f { QString::number(e.seite), feldtext(e.datenfeld), feldtext(e.beschriftung),
        QString::number(e.links), QString::number(e.oben), QString::number(e.breite),
        QString::number(e.hoehe), QString::number(e.feld8), feldtext(e.feld9) };
    for (int n = ErstesEinstellungsfeld; n <= MaskenelementFelder; ++n)
        f.append(feldtext(e.feld(n)));
    return f.join(u';');
}

Maskendefinitionslesung leseMaskendefinition(const QString& text)
{
    Maskendefinitionslesung lesung { neueMaskendefinition(), {} };
    Maskendefinition& d = lesung.definition;
    const QList<Definitionszeile> rest = leseKopfzeilen(text, true,
        [&](const Definitionszeile& z) { return kopftabelle().lese(d, z, lesung.hinweise); });
    for (const Definitionszeile& z : rest) {
        const std::optional<Maskenelementart> art = maskenelementart(z.schluessel);
        if (!art) {
            lesung.hinweise.append(hinweisUnbekannteZeile(z));
            continue;
        }
        Maskenelement e = leseElement(*art, z.wert);
        if (e.seite < 0 || e.seite > d.seitenzahl()) {
            lesung.hinweise.append(
                QStringLiteral("Zeile %1: Das Element liegt auf der Karteiseite %2, die es "
                               "nicht gibt, und wird nicht angezeigt.")
                    .arg(z.nummer)
                    .arg(e.seite));
            continue;
        }
        d.elemente.append(std::move(e));
    }
    return lesung;
}

QString maskendefinitionstext(const Maskendefinition& definition)
{
    Definitionsschreiber s;
    kopftabelle().schreibe(definition, s);
    for (const Maskenelement& e : definition.elemente)
        s.zeile(maskenelementname(e.art) + QStringLiteral(": "), elementfelder(e));
    return s.text();
}

std::optional<QString> speichereMaskendefinition(
    const QString& pfad, const Maskendefinition& definition)
{
    return schreibeDefinitionstext(pfad, maskendefinitionstext(definition), Maskendatei);
}

} // namespace kv
