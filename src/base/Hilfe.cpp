#include "base/Hilfe.h"

namespace kv {

namespace {

// Set once by the main window on the window thread, read there only.
Hilfeanzeige& installierteAnzeige()
{
    static Hilfeanzeige anzeige;
    return anzeige;
}

} // namespace

void setzeHilfeanzeige(Hilfeanzeige anzeige)
{
    installierteAnzeige() = std::move(anzeige);
}

bool HilfeZeigen(const QString& seite)
{
    const Hilfeanzeige& anzeige = installierteAnzeige();
    if (!anzeige)
        return false;
    anzeige(seite);
    return true;
}

} // namespace kv
