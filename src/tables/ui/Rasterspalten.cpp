#include "tables/ui/Rasterspalten.h"

namespace kv {

Rasterspalte RasterspalteVon(const Tabellenspalte& s)
{
    Rasterspalte r;
    r.datenfeld = s.datenfeld;
    r.titel = s.titel;
    r.breite = s.breite;
    r.ausrichtung = s.ausrichtung;
    r.gesperrt = s.editiersperre;
    r.format = s.formatierung;
    return r;
}

} // namespace kv
