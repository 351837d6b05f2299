#include "base/Spaltenausrichtung.h"

namespace kv {

Spaltenausrichtung AusrichtungAusZahl(int wert)
{
    switch (wert) {
    case 1:
        return Spaltenausrichtung::Rechts;
    case 2:
        return Spaltenausrichtung::Zentriert;
    default:
        return Spaltenausrichtung::Links;
    }
}

Qt::Alignment AlsQtAusrichtung(Spaltenausrichtung a)
{
    switch (a) {
    case Spaltenausrichtung::Rechts:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Spaltenausrichtung::Zentriert:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace kv
