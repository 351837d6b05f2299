#include "shell/VorgaengerUebernahme.h"

#include "base/Dialoge.h"
#include "shell/Anwendung.h"
#include "shell/Einstellungen.h"

namespace kv {

bool VorgaengerEinstellungenUebernehmen(Einstellungen& aktuell, const Einstellungen& vorgaenger)
{
    if (!aktuell.lese(AbschnittSettings, QStringLiteral("MainState")).isEmpty()
        || vorgaenger.lese(AbschnittSettings, QStringLiteral("MainTop")).isEmpty())
        return false;
    const Antwort antwort
        = zeigeMeldung(QStringLiteral("Möchten Sie die Programmeinstellungen aus Kelvado 6.0 "
                                      "übernehmen?"),
            Produktname, Knoepfe::JaNein, Symbol::Frage, 2);
    if (antwort == Antwort::Nein)
        return false;
    const auto paare = vorgaenger.leseAbschnitt(AbschnittSettings);
    for (const auto& [schluessel, wert] : paare)
        aktuell.schreibe(AbschnittSettings, schluessel, wert);
    aktuell.sichern();
    return true;
}

} // namespace kv
