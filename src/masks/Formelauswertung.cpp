#include "masks/Formelauswertung.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Formelausdruck.h"
#include "masks/Maskendefinition.h"

namespace kv {

namespace {

const QString Null = QStringLiteral("0");

/// A value as the system writes it; empty and Null count as 0.
QString werttext(const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return Null;
    if (wert.metaType().id() == QMetaType::Bool)
        return wert.toBool() ? QStringLiteral("-1") : Null;
    const QString text = Format(wert);
    return text.isEmpty() ? Null : text;
}

double zahlwert(const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return 0;
    switch (wert.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return ParseZahl(wert.toString()).value_or(0);
    case QMetaType::Bool:
        return wert.toBool() ? -1 : 0;
    default:
        return wert.toDouble();
    }
}

std::optional<QString> spaltensumme(const QString& verweis, const Formeldaten& daten)
{
    const qsizetype strich = verweis.indexOf(u'/');
    if (strich < 0 || daten.tabellenelemente() <= 0)
        return std::nullopt;
    const QString spalte = verweis.mid(strich + 1).trimmed();
    bool zahl = false;
    const int n = verweis.mid(1, strich - 1).trimmed().toInt(&zahl);
    if (spalte.isEmpty() || !zahl || n < 1 || n > daten.tabellenelemente())
        return std::nullopt;
    const std::optional<QVariantList> werte = daten.spaltenwerte(n, spalte);
    if (!werte)
        return std::nullopt;
    double summe = 0;
    for (const QVariant& w : *werte)
        summe += zahlwert(w);
    return Format(summe);
}

std::optional<QString> feldtext(
    const QString& feld, const Formeldaten& daten, const Fensterwerte* fenster)
{
    if (fenster) {
        const QStringList texte = fenster->eingabetexte(feld);
        if (!texte.isEmpty())
            return texte.first().trimmed().isEmpty() ? Null : texte.first();
    }
    const std::optional<QVariant> wert = daten.feldwert(feld);
    if (!wert)
        return std::nullopt;
    return werttext(*wert);
}

} // namespace

QString loeseVerweiseAuf(
    const QString& formel, const Formeldaten& daten, const Fensterwerte* fenster)
{
    QString ergebnis;
    qsizetype pos = 0;
    while (pos < formel.size()) {
        const qsizetype auf = formel.indexOf(u'{', pos);
        const qsizetype zu = auf < 0 ? -1 : formel.indexOf(u'}', auf + 1);
        if (zu < 0)
            break;
        const QString verweis = formel.mid(auf + 1, zu - auf - 1).trimmed();
        const std::optional<QString> wert = verweis.startsWith(u'@')
            ? spaltensumme(verweis, daten)
            : feldtext(verweis, daten, fenster);
        if (!wert)
            break;
        ergebnis += QStringView(formel).mid(pos, auf - pos);
        ergebnis += *wert;
        pos = zu + 1;
    }
    ergebnis += QStringView(formel).mid(pos);
    return ergebnis;
}

QString berechneFormel(const QString& formel, const Formeldaten& daten, const Fensterwerte* fenster)
{
    return formelergebnistext(werteAusdruckAus(loeseVerweiseAuf(formel, daten, fenster)));
}

QList<Formeleintrag> formelliste(const Maskendefinition& definition)
{
    QList<Formeleintrag> liste;
    for (const int i : definition.elementeDerArt(Maskenelementart::AnzeigeText)) {
        const QString formel = AnzeigetextEinstellungen::aus(definition.elemente.at(i)).formel;
        if (!formel.trimmed().isEmpty())
            liste.append({ i, formel });
    }
    return liste;
}

QStringList berechneFormeln(
    const QList<Formeleintrag>& liste, const Formeldaten& daten, const Fensterwerte* fenster)
{
    QStringList texte;
    if (!daten.hatDatensatz())
        return texte;
    for (const Formeleintrag& e : liste)
        texte.append(berechneFormel(e.formel, daten, fenster));
    return texte;
}

} // namespace kv
