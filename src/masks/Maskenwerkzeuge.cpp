#include "masks/Maskenwerkzeuge.h"

namespace kv {

const QString& maskenwerkzeuge()
{
    static const QString text = QStringLiteral(
        "Zurück;&Zurück;Pfeillinks;Einen Datensatz rückwärts blättern;Alt+Z;3|"
        "Vor;&Vor;Pfeilrechts;Einen Datensatz vorwärts blättern;Alt+V;3||"
        "Neu;;Neu;Neuen Datensatz erzeugen;F9|"
        "Neukopie;;NeuKopie;Neuen Datensatz als Kopie des aktuellen Datensatzes erzeugen;"
        "Shift+F9;13|"
        "Löschen;;Löschen;Aktuellen Datensatz löschen;Alt+Delete||"
        "Suchen;;Suchen;Suchfunktionen aufrufen;F3|"
        "Kopie;&Kopie;Zwischenablage;Aktuellen Datensatz in die Zwischenablage kopieren;Alt+K;13|"
        "DruckenReport;&Drucken;Drucken;Aktuellen Datensatz als Reportdruck ausdrucken;Alt+D|"
        "DruckenMaske;Drucken;DruckenMaske;Aktuellen Datensatz als Maskendruck ausdrucken;"
        "Control+Shift+M;13||"
        "Schließen;;Schließen;Arbeitsfenster schließen");
    return text;
}

QList<Werkzeugstand> maskenwerkzeugstaende(const Maskenlage& lage)
{
    const bool frei = !lage.hinzufuegen;
    const bool mitSatz = frei && lage.hatDatensaetze;
    const bool aendern = mitSatz && lage.aenderbar;
    return {
        { QStringLiteral("Zurück"), mitSatz && !lage.amAnfang, {}, {} },
        { QStringLiteral("Vor"), mitSatz && !lage.amEnde, {}, {} },
        lage.hinzufuegen ? Werkzeugstand { QStringLiteral("Neu"), true, QStringLiteral("Speichern"),
            QStringLiteral("Speichert den neuen Datensatz") }
                         : Werkzeugstand { QStringLiteral("Neu"), lage.aenderbar,
                             QStringLiteral("Neu"), QStringLiteral("Neuen Datensatz erzeugen") },
        { QStringLiteral("Neukopie"), aendern, {}, {} },
        { QStringLiteral("Löschen"), aendern, {}, {} },
        { QStringLiteral("Suchen"), frei, {}, {} },
        { QStringLiteral("Kopie"), mitSatz, {}, {} },
        { QStringLiteral("DruckenReport"), mitSatz, {}, {} },
        { QStringLiteral("DruckenMaske"), mitSatz, {}, {} },
        lage.hinzufuegen
            ? Werkzeugstand { QStringLiteral("Schließen"), true, QStringLiteral("Abbruch"),
                QStringLiteral("Eingabe abbrechen ohne Speicherung") }
            : Werkzeugstand { QStringLiteral("Schließen"), true, QStringLiteral("Schließen"),
                QStringLiteral("Arbeitsfenster schließen") },
    };
}

} // namespace kv
