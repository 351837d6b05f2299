#include "masks/Maskenelement.h"

namespace kv {

int gelesenFelder(Maskenelementart art)
{
    switch (art) {
    case Maskenelementart::EingabeText:
    case Maskenelementart::EingabeTextMemo:
    case Maskenelementart::EingabeCombobox:
        return 14;
    case Maskenelementart::EingabeGanzzahl:
    case Maskenelementart::EingabeZahl:
    case Maskenelementart::EingabeDatum:
    case Maskenelementart::AnzeigeText:
        return 18;
    case Maskenelementart::EingabeCheckbox:
        return 13;
    case Maskenelementart::EingabeOptionbox:
        return 10;
    case Maskenelementart::AnzeigeBild:
    case Maskenelementart::AnzeigeStatikbild:
    case Maskenelementart::AnzeigeOLE:
        return 11;
    case Maskenelementart::EingabeTabelle:
        return 19;
    }
    return ErstesEinstellungsfeld - 1;
}

const QString& Maskenelement::feld(int n) const
{
    static const QString leer;
    if (n < ErstesEinstellungsfeld || n > MaskenelementFelder)
        return leer;
    return einstellungen[size_t(n - ErstesEinstellungsfeld)];
}

QString Maskenelement::genutztesFeld(int n) const
{
    return n <= gelesenFelder(art) ? feld(n) : QString();
}

void Maskenelement::setzeFeld(int n, const QString& wert)
{
    if (n >= ErstesEinstellungsfeld && n <= MaskenelementFelder)
        einstellungen[size_t(n - ErstesEinstellungsfeld)] = wert;
}

QString Maskenelement::tooltip() const
{
    return feld9.section(u'|', 0, 0);
}

QString Maskenelement::hilfetext() const
{
    const qsizetype strich = feld9.indexOf(u'|');
    return strich < 0 ? QString() : feld9.mid(strich + 1).trimmed();
}

bool Maskenelement::gesperrt() const
{
    return art != Maskenelementart::AnzeigeText && feld8 == 1;
}

} // namespace kv
