#pragma once

#include <QList>
#include <QString>

namespace kv {

// The tools of the table-view window and the states they take.

/// Moving, adding, deleting, searching and copying: the same in the mask and the table view.
inline const QString Datensatzwerkzeuge = QStringLiteral(
    "Zurück;&Zurück;Pfeillinks;Einen Datensatz rückwärts blättern;Alt+Z;3|"
    "Vor;&Vor;Pfeilrechts;Einen Datensatz vorwärts blättern;Alt+V;3||"
    "Neu;;Neu;Neuen Datensatz erzeugen;F9|"
    "Neukopie;;NeuKopie;Neuen Datensatz als Kopie des aktuellen Datensatzes erzeugen;Shift+F9;13|"
    "Löschen;;Löschen;Aktuellen Datensatz löschen;Alt+Delete||"
    "Suchen;;Suchen;Suchfunktionen aufrufen;F3|"
    "Kopie;&Kopie;Zwischenablage;Aktuellen Datensatz in die Zwischenablage kopieren;Alt+K;13|");

/// The tool-definition string of the table-view window.
inline const QString Tabellenleiste = Datensatzwerkzeuge
    + QStringLiteral(
        "DruckenReport;&Drucken;Drucken;Aktuelle Daten als Reportdruck ausdrucken;Alt+D|"
        "DruckenTabelle;Drucken;DruckenTabelle;Aktuelle Daten als Tabellendruck ausdrucken;"
        "Control+Shift+T;13||"
        "Schließen;;Schließen;Arbeitsfenster schließen");

/// What a tool shows and whether it can be used.
struct Werkzeugzustand {
    QString name;
    bool aktiv = true;
    /// Caption and tool tip for the tools that change them ("Neu", "Schließen"); empty for the
    /// others, which keep those of the definition.
    QString text;
    QString tooltip;

    bool operator==(const Werkzeugzustand&) const = default;
};

/// The window's situation that decides its tools.
struct Tabellenlage {
    bool hatDatensaetze = false;
    /// The view is read-only (by its definition or because the set cannot be updated).
    bool gesperrt = false;
    /// A new record is being entered.
    bool hinzufuegen = false;
};

/// The state of every tool of Tabellenleiste that changes: the moving, copying, searching and
/// printing tools need a record, the editing tools also an unlocked view; while a record is
/// being added only "Neu" (captioned "Speichern") and "Schließen" (captioned "Abbruch") are
/// usable, and afterwards they are "Neu" and "Schließen" again.
QList<Werkzeugzustand> Tabellenwerkzeugzustaende(const Tabellenlage& lage);

} // namespace kv
