#include "tables/Tabellenwerkzeuge.h"

namespace kv {

QList<Werkzeugzustand> Tabellenwerkzeugzustaende(const Tabellenlage& lage)
{
    const bool blaettern = lage.hatDatensaetze && !lage.hinzufuegen;
    const bool aendern = blaettern && !lage.gesperrt;
    QList<Werkzeugzustand> z {
        { QStringLiteral("Zurück"), blaettern, {}, {} },
        { QStringLiteral("Vor"), blaettern, {}, {} },
        { QStringLiteral("Neukopie"), aendern, {}, {} },
        { QStringLiteral("Löschen"), aendern, {}, {} },
        { QStringLiteral("Suchen"), blaettern, {}, {} },
        { QStringLiteral("Kopie"), blaettern, {}, {} },
        { QStringLiteral("DruckenReport"), blaettern, {}, {} },
        { QStringLiteral("DruckenTabelle"), blaettern, {}, {} },
    };
    if (lage.hinzufuegen) {
        z.append({ QStringLiteral("Neu"), true, QStringLiteral("Speichern"),
            QStringLiteral("Speichert den neuen Datensatz") });
        z.append({ QStringLiteral("Schließen"), true, QStringLiteral("Abbruch"),
            QStringLiteral("Eingabe abbrechen ohne Speicherung") });
    } else {
        z.append({ QStringLiteral("Neu"), !lage.gesperrt, QStringLiteral("Neu"),
            QStringLiteral("Neuen Datensatz erzeugen") });
        z.append({ QStringLiteral("Schließen"), true, QStringLiteral("Schließen"),
            QStringLiteral("Arbeitsfenster schließen") });
    }
    return z;
}

} // namespace kv
