#pragma once

#include <QString>

// The tool-definition strings of the runtime windows, as they build their bars.

namespace kv::test {

// Moving, adding, deleting, searching and copying: the same in the mask and the table view.
inline const QString Datensatzwerkzeuge = QStringLiteral(
    "Zurück;&Zurück;Pfeillinks;Einen Datensatz rückwärts blättern;Alt+Z;3|"
    "Vor;&Vor;Pfeilrechts;Einen Datensatz vorwärts blättern;Alt+V;3||"
    "Neu;;Neu;Neuen Datensatz erzeugen;F9|"
    "Neukopie;;NeuKopie;Neuen Datensatz als Kopie des aktuellen Datensatzes erzeugen;Shift+F9;13|"
    "Löschen;;Löschen;Aktuellen Datensatz löschen;Alt+Delete||"
    "Suchen;;Suchen;Suchfunktionen aufrufen;F3|"
    "Kopie;&Kopie;Zwischenablage;Aktuellen Datensatz in die Zwischenablage kopieren;Alt+K;13|");

inline const QString Maskenleiste = Datensatzwerkzeuge
    + QStringLiteral(
        "DruckenReport;&Drucken;Drucken;Aktuellen Datensatz als Reportdruck ausdrucken;Alt+D|"
        "DruckenMaske;Drucken;DruckenMaske;Aktuellen Datensatz als Maskendruck ausdrucken;"
        "Control+Shift+M;13||"
        "Schließen;;Schließen;Arbeitsfenster schließen");

inline const QString Tabellenleiste = Datensatzwerkzeuge
    + QStringLiteral(
        "DruckenReport;&Drucken;Drucken;Aktuelle Daten als Reportdruck ausdrucken;Alt+D|"
        "DruckenTabelle;Drucken;DruckenTabelle;Aktuelle Daten als Tabellendruck ausdrucken;"
        "Control+Shift+T;13||"
        "Schließen;;Schließen;Arbeitsfenster schließen");

} // namespace kv::test
