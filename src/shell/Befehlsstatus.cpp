#include "shell/Befehlsstatus.h"

#include "base/Pfade.h"

namespace kv {

QList<QPair<QString, bool>> Befehlsstatus(bool datenbankOffen, bool nurLesen, bool transaktionen)
{
    QList<QPair<QString, bool>> status;
    for (const char* name : { "dateispeichern", "dateispeichernunter", "dateischließen",
             "dateisichern", "bearbeitendatenzentrale", "bearbeitenstrukturgenerator",
             "bearbeitenimport", "bearbeitenexport", "bearbeitenglobalesändern",
             "bearbeitenglobaleslöschen", "bearbeitenhochzählautomatik" })
        status.append({ QString::fromUtf8(name), datenbankOffen });
    status.append(
        { QStringLiteral("transaktionbeginnen"), datenbankOffen && !nurLesen && transaktionen });
    return status;
}

Datenbankanzeige Datenbankanzeige::fuer(const QString& datenbank)
{
    if (datenbank.isEmpty())
        return { QStringLiteral("<keine aktive Datenbank>"),
            QStringLiteral("Momentan ist keine Datenbank geöffnet") };
    return { Dateiname(datenbank), QStringLiteral("Momentan geöffnete Datenbank: ") + datenbank };
}

} // namespace kv
