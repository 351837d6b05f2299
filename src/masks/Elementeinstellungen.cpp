#include "masks/Elementeinstellungen.h"

#include "base/Format.h"
#include "base/Text.h"
#include "base/Werteparser.h"
#include "base/Zahlenformate.h"
#include "engine/DataType.h"
#include "tables/Definitionszeilen.h"
#include "tables/SqlNamen.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace kv {

namespace {

const QString Schraegstrich = QStringLiteral("/");
const QString Klammeraffe = QStringLiteral("@");

template <class E> E code(const QString& wert, int hoechster, E vorgabe = E(0))
{
    return E(leseGanzzahl(wert, 0, hoechster, int(vorgabe)));
}

QString codetext(auto wert)
{
    return QString::number(int(wert));
}

/// The separators of element lines cannot stand inside a text; they become blanks.
QString ohneTrenner(QString text, const QString& auch = QString())
{
    const QString zeichen = QStringLiteral(";|") + auch;
    for (const QChar c : zeichen)
        text.replace(c, u' ');
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

/// "/"-separated list; an empty field is an empty list.
QStringList liste(const QString& wert)
{
    if (wert.trimmed().isEmpty())
        return {};
    return Teile(wert, Schraegstrich).liste();
}

QString listentext(const QStringList& teile)
{
    QStringList bereinigt;
    for (const QString& t : teile)
        bereinigt.append(ohneTrenner(t, Schraegstrich));
    return bereinigt.join(Schraegstrich);
}

bool enthaeltName(const QStringList& namen, const QString& name)
{
    return std::any_of(namen.cbegin(), namen.cend(),
        [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; });
}

std::optional<double> zahlOderNichts(const QString& wert)
{
    if (wert.trimmed().isEmpty())
        return std::nullopt;
    return leseZahl(wert);
}

QString zahltext(const std::optional<double>& zahl)
{
    return zahl ? Format(*zahl) : QString();
}

std::optional<QDate> datumOderNichts(const QString& wert)
{
    if (wert.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<QDateTime> d = ParseDatum(wert);
    if (!d)
        return std::nullopt;
    return d->date();
}

QString datumstext(const std::optional<QDate>& datum)
{
    return datum ? Format(QVariant(*datum), QStringLiteral("Short Date")) : QString();
}

bool einsOderMinusEins(const QString& wert)
{
    const QString t = wert.trimmed();
    return t == u"1" || t == u"-1";
}

/// Fields 8, 10 to 14 and 18, which number and date inputs share; grenze reads the limits.
template <class T, class Leser> void leseSpinfelder(const Maskenelement& e, T& t, Leser grenze)
{
    t.sperre = e.gesperrt();
    t.spin = code<Spinanzeige>(e.genutztesFeld(10), 6);
    t.minimum = grenze(e.genutztesFeld(11));
    t.maximum = grenze(e.genutztesFeld(12));
    t.horizontal = code<HorizontaleAusrichtung>(e.genutztesFeld(13), 2);
    t.vertikal = code<VertikaleAusrichtung>(e.genutztesFeld(14), 2);
    t.anzeigeformat = e.genutztesFeld(18);
}

template <class T, class Schreiber>
void schreibeSpinfelder(Maskenelement& e, const T& t, Schreiber grenze)
{
    e.feld8 = t.sperre ? 1 : 0;
    e.setzeFeld(10, codetext(t.spin));
    e.setzeFeld(11, ohneTrenner(grenze(t.minimum)));
    e.setzeFeld(12, ohneTrenner(grenze(t.maximum)));
    e.setzeFeld(13, codetext(t.horizontal));
    e.setzeFeld(14, codetext(t.vertikal));
    e.setzeFeld(18, ohneTrenner(t.anzeigeformat));
}

template <class T, class W> bool zwischenGrenzen(const T& t, const W& wert)
{
    return (!t.minimum || wert >= *t.minimum) && (!t.maximum || wert <= *t.maximum);
}

} // namespace

const QStringList& spinanzeigenamen()
{
    static const QStringList namen { QStringLiteral("Aus"), QStringLiteral("Ein bei Fokus"),
        QStringLiteral("Ein"), QStringLiteral("Ein mit Button links"),
        QStringLiteral("Ein mit Button rechts"), QStringLiteral("Ein mit Button links bei Fokus"),
        QStringLiteral("Ein mit Button rechts bei Fokus") };
    return namen;
}

const QStringList& bildausrichtungsnamen()
{
    static const QStringList namen { QStringLiteral("Links oben"),
        QStringLiteral("Links zentriert"), QStringLiteral("Links unten"),
        QStringLiteral("Zentriert oben"), QStringLiteral("Zentriert zentriert"),
        QStringLiteral("Zentriert unten"), QStringLiteral("Rechts oben"),
        QStringLiteral("Rechts zentriert"), QStringLiteral("Rechts unten"),
        QStringLiteral("Gestreckt"), QStringLiteral("Repliziert"), QStringLiteral("Gezoomt") };
    return namen;
}

const QStringList& bildrahmennamen()
{
    static const QStringList namen { QStringLiteral("Ohne"), QStringLiteral("Hervortretend"),
        QStringLiteral("Hervortretend mit Rahmen"), QStringLiteral("Eingestanzt"),
        QStringLiteral("Eingestanzt mit Rahmen"), QStringLiteral("Filet"), QStringLiteral("Rillen"),
        QStringLiteral("Schatteneffekt (innen)"), QStringLiteral("Hervortretend (Win95)"),
        QStringLiteral("Eingestanzt (Win95)") };
    return namen;
}

const QStringList& umrandungsnamen()
{
    static const QStringList namen { QStringLiteral("Ohne"), QStringLiteral("Einfach"),
        QStringLiteral("Einfach abgerundet") };
    return namen;
}

const QStringList& schriftstilnamen()
{
    static const QStringList namen { QStringLiteral("Ohne"), QStringLiteral("Hervortretend"),
        QStringLiteral("Hervortretend mit Rahmen"), QStringLiteral("Eingestanzt"),
        QStringLiteral("Eingestanzt mit Rahmen") };
    return namen;
}

const QStringList& textfarbnamen()
{
    static const QStringList namen { QStringLiteral("Schwarz"), QStringLiteral("Rot"),
        QStringLiteral("Blau"), QStringLiteral("Cyan") };
    return namen;
}

quint32 textfarbwert(Textfarbe farbe)
{
    switch (farbe) {
    case Textfarbe::Rot:
        return 0x0000FF;
    case Textfarbe::Blau:
        return 0xFF0000;
    case Textfarbe::Cyan:
        return 0xFFFF00;
    case Textfarbe::Schwarz:
        break;
    }
    return 0;
}

// Text inputs ----------------------------------------------------------------------------------

TexteingabeEinstellungen TexteingabeEinstellungen::aus(const Maskenelement& e)
{
    TexteingabeEinstellungen t;
    t.sperre = e.gesperrt();
    t.eingabeformat = e.genutztesFeld(10);
    t.horizontal = code<HorizontaleAusrichtung>(e.genutztesFeld(13), 2);
    t.vertikal = code<VertikaleAusrichtung>(e.genutztesFeld(14), 2);
    return t;
}

void TexteingabeEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = sperre ? 1 : 0;
    e.setzeFeld(10, ohneTrenner(eingabeformat));
    e.setzeFeld(13, codetext(horizontal));
    e.setzeFeld(14, codetext(vertikal));
}

// Number inputs --------------------------------------------------------------------------------

int ZahleingabeEinstellungen::zahlenformatIndex() const
{
    if (waehrung)
        return 3;
    if (dezimalstellen)
        return *dezimalstellen + 3;
    return 1;
}

QString ZahleingabeEinstellungen::wirksamesFormat() const
{
    if (!anzeigeformat.trimmed().isEmpty())
        return anzeigeformat;
    QString format = Zahlenformate().value(zahlenformatIndex());
    if (!tausendertrennung)
        format.remove(u',');
    return format;
}

bool ZahleingabeEinstellungen::imBereich(double v) const
{
    return zwischenGrenzen(*this, v);
}

ZahleingabeEinstellungen ZahleingabeEinstellungen::aus(const Maskenelement& e)
{
    ZahleingabeEinstellungen z;
    leseSpinfelder(e, z, zahlOderNichts);
    if (e.art == Maskenelementart::EingabeZahl) {
        const int stellen = leseGanzzahl(e.feld(15), 1, 9, 0);
        if (stellen > 0)
            z.dezimalstellen = stellen;
        z.waehrung = e.feld(16).trimmed() == u"1";
    }
    const QString tausender = e.genutztesFeld(17).trimmed();
    z.tausendertrennung = !tausender.isEmpty() && tausender != u"0";
    return z;
}

void ZahleingabeEinstellungen::in(Maskenelement& e) const
{
    schreibeSpinfelder(e, *this, zahltext);
    e.setzeFeld(15, dezimalstellen ? QString::number(*dezimalstellen) : QStringLiteral("-1"));
    e.setzeFeld(16, waehrung ? QStringLiteral("1") : QStringLiteral("0"));
    e.setzeFeld(17, tausendertrennung ? QStringLiteral("1") : QStringLiteral("0"));
}

// Date inputs ----------------------------------------------------------------------------------

bool DatumeingabeEinstellungen::imBereich(const QDate& d) const
{
    return zwischenGrenzen(*this, d);
}

DatumeingabeEinstellungen DatumeingabeEinstellungen::aus(const Maskenelement& e)
{
    DatumeingabeEinstellungen d;
    leseSpinfelder(e, d, datumOderNichts);
    d.leereingabe = e.genutztesFeld(15).trimmed() != u"0";
    return d;
}

void DatumeingabeEinstellungen::in(Maskenelement& e) const
{
    schreibeSpinfelder(e, *this, datumstext);
    e.setzeFeld(15, leereingabe ? QStringLiteral("1") : QStringLiteral("0"));
}

// Check boxes and option groups ----------------------------------------------------------------

CheckboxEinstellungen CheckboxEinstellungen::aus(const Maskenelement& e)
{
    CheckboxEinstellungen c;
    c.sperre = e.gesperrt();
    c.text = e.beschriftung;
    c.textausrichtung = code<HorizontaleAusrichtung>(e.genutztesFeld(10), 2);
    c.boxausrichtung = code<Boxausrichtung>(e.genutztesFeld(11), 1);
    c.boxgroesse = leseGanzzahl(e.genutztesFeld(12), 0, 1000, 0);
    c.mehrzeilig = e.genutztesFeld(13).trimmed() == u"1";
    return c;
}

void CheckboxEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = sperre ? 1 : 0;
    e.beschriftung = ohneTrenner(text);
    e.setzeFeld(10, codetext(textausrichtung));
    e.setzeFeld(11, codetext(boxausrichtung));
    e.setzeFeld(12, boxgroesse > 0 ? QString::number(boxgroesse) : QString());
    e.setzeFeld(13, mehrzeilig ? QStringLiteral("1") : QStringLiteral("0"));
}

OptionboxEinstellungen OptionboxEinstellungen::aus(const Maskenelement& e)
{
    OptionboxEinstellungen o;
    o.sperre = e.gesperrt();
    const qsizetype strich = e.beschriftung.indexOf(u'|');
    const QString optionen = strich < 0 ? e.beschriftung : e.beschriftung.left(strich);
    o.beschriftung = strich < 0 ? QString() : e.beschriftung.mid(strich + 1).trimmed();
    for (const QString& eintrag : liste(optionen)) {
        const Teilliste teile = Teile(eintrag, Klammeraffe);
        if (!teile[1].isEmpty() || !teile[2].isEmpty())
            o.optionen.append({ teile[1], teile[2] });
    }
    o.textLinks = e.genutztesFeld(10).trimmed() == u"1";
    return o;
}

void OptionboxEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = sperre ? 1 : 0;
    QStringList eintraege;
    for (const Option& o : optionen)
        eintraege.append(ohneTrenner(o.text, Schraegstrich + Klammeraffe) + Klammeraffe
            + ohneTrenner(o.wert, Schraegstrich + Klammeraffe));
    e.beschriftung = eintraege.join(Schraegstrich) + u'|' + ohneTrenner(beschriftung);
    e.setzeFeld(10, textLinks ? QStringLiteral("1") : QStringLiteral("0"));
}

// Display texts --------------------------------------------------------------------------------

AnzeigetextEinstellungen AnzeigetextEinstellungen::aus(const Maskenelement& e)
{
    AnzeigetextEinstellungen a;
    a.horizontal = e.feld8 >= 0 && e.feld8 <= 2 ? HorizontaleAusrichtung(e.feld8)
                                                : HorizontaleAusrichtung::Links;
    a.vertikal = code<VertikaleAusrichtung>(e.genutztesFeld(10), 2);
    a.umrandung = code<Umrandung>(e.genutztesFeld(11), 2);
    a.schriftstil = code<Schriftstil>(e.genutztesFeld(12), 4);
    a.anzeigeformat = e.genutztesFeld(13);
    a.anzeigeformat.replace(u'|', u';');
    a.mehrzeilig = einsOderMinusEins(e.genutztesFeld(14));
    a.textfarbe = code<Textfarbe>(e.genutztesFeld(15), 3);
    a.statischerText = e.genutztesFeld(16);
    a.statischerText.replace(u'|', u'\n');
    a.formel = e.genutztesFeld(17);
    const double punkte = leseZahl(e.genutztesFeld(18));
    if (punkte > 0 && punkte <= 1638)
        a.schriftgroesse = float(punkte);
    return a;
}

void AnzeigetextEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = qint16(horizontal);
    e.setzeFeld(10, codetext(vertikal));
    e.setzeFeld(11, codetext(umrandung));
    e.setzeFeld(12, codetext(schriftstil));
    QString format = Definitionsschreiber::einzeilig(anzeigeformat);
    format.replace(u'|', u' ');
    e.setzeFeld(13, format.replace(u';', u'|'));
    e.setzeFeld(14, mehrzeilig ? QStringLiteral("1") : QStringLiteral("0"));
    e.setzeFeld(15, codetext(textfarbe));
    QString text = statischerText;
    text.replace(QLatin1String("\r\n"), QLatin1String("|"));
    text.replace(u'\r', u'|');
    text.replace(u'\n', u'|');
    text.replace(u';', u',');
    e.setzeFeld(16, text);
    e.setzeFeld(17, ohneTrenner(formel));
    e.setzeFeld(
        18, schriftgroesse ? Definitionsschreiber::zahltext(double(*schriftgroesse)) : QString());
}

// Pictures -------------------------------------------------------------------------------------

BildEinstellungen BildEinstellungen::aus(const Maskenelement& e)
{
    return { code<Bildausrichtung>(e.genutztesFeld(10), 11) };
}

void BildEinstellungen::in(Maskenelement& e) const
{
    e.setzeFeld(10, codetext(ausrichtung));
}

StatikbildEinstellungen StatikbildEinstellungen::aus(const Maskenelement& e)
{
    StatikbildEinstellungen s;
    s.datei = e.datenfeld;
    s.sperre = e.gesperrt();
    s.ausrichtung = code<Bildausrichtung>(e.genutztesFeld(10), 11);
    s.rahmen = code<Bildrahmen>(e.genutztesFeld(11), 9);
    return s;
}

void StatikbildEinstellungen::in(Maskenelement& e) const
{
    e.datenfeld = ohneTrenner(datei);
    e.feld8 = sperre ? 1 : 0;
    e.setzeFeld(10, codetext(ausrichtung));
    e.setzeFeld(11, codetext(rahmen));
}

// Drop-down lists ------------------------------------------------------------------------------

QString combospaltentypname(Combospaltentyp typ)
{
    switch (typ) {
    case Combospaltentyp::Zahl:
        return QStringLiteral("Zahl");
    case Combospaltentyp::Datum:
        return QStringLiteral("Datum");
    case Combospaltentyp::Waehrung:
        return QStringLiteral("Währung");
    case Combospaltentyp::Boolean:
        return QStringLiteral("Boolean");
    case Combospaltentyp::NichtVerfuegbar:
        return QStringLiteral("n.v.");
    case Combospaltentyp::Text:
        break;
    }
    return QStringLiteral("Text");
}

Combospaltentyp combospaltentyp(qint16 feldtyp)
{
    switch (feldtyp) {
    case engine::dbText:
    case engine::dbMemo:
        return Combospaltentyp::Text;
    case engine::dbDate:
        return Combospaltentyp::Datum;
    case engine::dbBoolean:
        return Combospaltentyp::Boolean;
    case engine::dbCurrency:
        return Combospaltentyp::Waehrung;
    case engine::dbByte:
    case engine::dbInteger:
    case engine::dbLong:
    case engine::dbSingle:
    case engine::dbDouble:
    case engine::dbBigInt:
    case engine::dbNumeric:
    case engine::dbDecimal:
    case engine::dbFloat:
        return Combospaltentyp::Zahl;
    default:
        return Combospaltentyp::NichtVerfuegbar;
    }
}

QString Combospalte::format() const
{
    switch (typ) {
    case Combospaltentyp::Zahl:
        return QStringLiteral("General Number");
    case Combospaltentyp::Waehrung:
        return QStringLiteral("Currency");
    default:
        return {};
    }
}

int ComboboxEinstellungen::listenbreite() const
{
    qint64 summe = 0;
    for (const Combospalte& s : spalten) {
        if (s.sichtbar())
            summe += s.breite;
    }
    return int(std::min<qint64>(summe, qint64(Twipsgrenze)));
}

ComboboxEinstellungen ComboboxEinstellungen::aus(const Maskenelement& e)
{
    ComboboxEinstellungen c;
    c.sperre = e.gesperrt();
    for (const QString& eintrag : liste(e.genutztesFeld(10))) {
        const Teilliste teile = Teile(eintrag, Klammeraffe);
        Combospalte s;
        s.name = teile[1];
        s.versteckt = teile[2] == u"-1" || teile[2] == u"1";
        const QString typ = teile[3].toUpper();
        s.typ = typ == u"ZAHL"  ? Combospaltentyp::Zahl
            : typ == u"DATUM"   ? Combospaltentyp::Datum
            : typ == u"WÄHRUNG" ? Combospaltentyp::Waehrung
            : typ == u"BOOLEAN" ? Combospaltentyp::Boolean
            : typ == u"N.V."    ? Combospaltentyp::NichtVerfuegbar
                                : Combospaltentyp::Text;
        s.breite = std::max(0, int(begrenzeTwips(leseZahl(teile[4]))));
        c.spalten.append(s);
    }
    c.verknuepfungsfeld = e.genutztesFeld(11).trimmed();
    c.anzeigefeld = e.genutztesFeld(12).trimmed();
    for (const QString& zeile : liste(e.genutztesFeld(13)))
        c.festeWerte.append(Teile(zeile, Klammeraffe).liste());
    c.sql = e.genutztesFeld(14);
    return c;
}

void ComboboxEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = sperre ? 1 : 0;
    const QString trenner = Schraegstrich + Klammeraffe;
    QStringList definitionen;
    for (const Combospalte& s : spalten)
        definitionen.append(QStringList { ohneTrenner(s.name, trenner),
            s.versteckt ? QStringLiteral("-1") : QStringLiteral("0"), combospaltentypname(s.typ),
            QString::number(s.breite) }
                                .join(Klammeraffe));
    e.setzeFeld(10, definitionen.join(Schraegstrich));
    e.setzeFeld(11, ohneTrenner(verknuepfungsfeld, trenner));
    e.setzeFeld(12, ohneTrenner(anzeigefeld, trenner));
    QStringList zeilen;
    for (const QStringList& zeile : festeWerte) {
        QStringList werte;
        for (const QString& w : zeile)
            werte.append(ohneTrenner(w, trenner));
        zeilen.append(werte.join(Klammeraffe));
    }
    e.setzeFeld(13, zeilen.join(Schraegstrich));
    e.setzeFeld(14, ohneTrenner(sql));
}

// Sub-table grids ------------------------------------------------------------------------------

bool TabellenelementEinstellungen::istVersteckt(const QString& spalte) const
{
    return enthaeltName(versteckteSpalten, spalte);
}

bool TabellenelementEinstellungen::istSummenspalte(const QString& spalte) const
{
    return enthaeltName(summenspalten, spalte);
}

std::optional<int> TabellenelementEinstellungen::spaltenbreite(int index) const
{
    if (index < 0 || index >= spaltenbreiten.size() || spaltenbreiten.at(index) <= 0)
        return std::nullopt;
    return spaltenbreiten.at(index);
}

QString sqlLiteral(const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return QStringLiteral("NULL");
    switch (wert.metaType().id()) {
    case QMetaType::Bool:
        return wert.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return QString::number(wert.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = wert.toDouble();
        return std::isfinite(d) ? QString::number(d, 'g', 17) : QStringLiteral("NULL");
    }
    case QMetaType::QDate:
        return u'#' + wert.toDate().toString(QStringLiteral("yyyy-MM-dd")) + u'#';
    case QMetaType::QDateTime:
        return u'#' + wert.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'#';
    default:
        break;
    }
    const QString text = wert.toString();
    if (text.isEmpty())
        return QStringLiteral("NULL");
    QString quote = text;
    quote.replace(u'\'', QLatin1String("''"));
    return u'\'' + quote + u'\'';
}

QString TabellenelementEinstellungen::anweisung(const QVariant& hauptwert) const
{
    QString text = sql.trimmed() + QStringLiteral(" WHERE ") + SQLFeldname(feldUntertabelle)
        + QStringLiteral(" = ") + sqlLiteral(hauptwert);
    if (!sortierung.trimmed().isEmpty())
        text += QStringLiteral(" ORDER BY ") + sortierung.trimmed();
    return text;
}

QString TabellenelementEinstellungen::reportangabe() const
{
    return QStringList { feldHaupttabelle, feldUntertabelle, sortierung, sql }.join(u';');
}

TabellenelementEinstellungen TabellenelementEinstellungen::aus(const Maskenelement& e)
{
    TabellenelementEinstellungen t;
    t.sperre = e.gesperrt();
    t.feldHaupttabelle = e.genutztesFeld(10).trimmed();
    t.feldUntertabelle = e.genutztesFeld(11).trimmed();
    t.sql = e.genutztesFeld(12);
    t.sortierung = e.genutztesFeld(13);
    t.versteckteSpalten = liste(e.genutztesFeld(14));
    for (const QString& breite : liste(e.genutztesFeld(15)))
        t.spaltenbreiten.append(std::max(0, int(begrenzeTwips(leseZahl(breite)))));
    t.titel = e.genutztesFeld(16);
    t.neuberechnen = e.genutztesFeld(17).trimmed() != u"0";
    t.fuerReport = e.genutztesFeld(18).trimmed() == u"1";
    t.summenspalten = liste(e.genutztesFeld(19));
    return t;
}

void TabellenelementEinstellungen::in(Maskenelement& e) const
{
    e.feld8 = sperre ? 1 : 0;
    e.setzeFeld(10, ohneTrenner(feldHaupttabelle));
    e.setzeFeld(11, ohneTrenner(feldUntertabelle));
    e.setzeFeld(12, ohneTrenner(sql));
    e.setzeFeld(13, ohneTrenner(sortierung));
    e.setzeFeld(14, listentext(versteckteSpalten));
    QStringList breiten;
    for (const int b : spaltenbreiten)
        breiten.append(QString::number(b));
    e.setzeFeld(15, breiten.join(Schraegstrich));
    e.setzeFeld(16, ohneTrenner(titel));
    e.setzeFeld(17, neuberechnen ? QString() : QStringLiteral("0"));
    e.setzeFeld(18, fuerReport ? QStringLiteral("1") : QString());
    e.setzeFeld(19, listentext(summenspalten));
}

} // namespace kv
