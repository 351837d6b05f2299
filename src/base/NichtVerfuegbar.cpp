#include "base/NichtVerfuegbar.h"

#include "base/Dialoge.h"

namespace kv {

QString NichtVerfuegbarText()
{
    return QStringLiteral("Dieses Fenster ist in dieser Version noch nicht verfügbar.");
}

void FensterNichtVerfuegbar()
{
    zeigeMeldung(NichtVerfuegbarText(), QString(), Knoepfe::Ok, Symbol::Information);
}

} // namespace kv
