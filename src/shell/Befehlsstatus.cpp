#include "shell/Befehlsstatus.h"

#include "base/Pfade.h"

namespace kv {

QList<QPair<QString, bool>> Befehlsstatus(bool datenbankOffen, bool nurLesen, bool transaktionen)
{
    QList<QPair<QString, bool>> status;
    for (const char* name : { "dateispeichernunter", "dateischließen", "dateisichern",
             "bearbeitendatenzentrale", "bearbeitenstrukturgenerator", "bearbeitenimport",
             "bearbeitenexport", "bearbeitenglobalesändern", "bearbeitenglobaleslöschen",
             "bearbeitenhochzählautomatik" })
        status.append({ QString::fromUtf8(name), datenbankOffen });
    // Commands that write the file are offered only where writing can succeed, rather than
    // failing after their questions.
    const bool schreibbar = datenbankOffen && !nurLesen;
    status.append({ QStringLiteral("dateispeichern"), schreibbar });
    status.append({ QStringLiteral("dateikomprimieren"), schreibbar });
    status.append({ QStringLiteral("transaktionbeginnen"), schreibbar && transaktionen });
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
