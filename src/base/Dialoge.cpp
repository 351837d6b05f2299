#include "base/Dialoge.h"

#include <QtGlobal>

namespace kv {

namespace {
Dialoge* g_dialoge = nullptr;
}

Dialoge& Dialoge::aktuell()
{
    Q_ASSERT_X(g_dialoge, "Dialoge::aktuell", "no dialog implementation installed");
    return *g_dialoge;
}

Dialoge* Dialoge::setze(Dialoge* d)
{
    Dialoge* alt = g_dialoge;
    g_dialoge = d;
    return alt;
}

Antwort zeigeMeldung(
    const QString& text, const QString& titel, Knoepfe knoepfe, Symbol symbol, int standardKnopf)
{
    return Dialoge::aktuell().meldung(Meldung { text, titel, knoepfe, symbol, standardKnopf });
}

} // namespace kv
