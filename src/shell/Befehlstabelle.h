#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv {

/// What a command of the main window does; the main window's dispatch switches on it.
enum class Befehlsziel {
    Keins,
    DateiNeu,
    DateiOeffnen,
    DateiSchliessen,
    DateiSpeichern,
    DateiSpeichernUnter,
    DateiKomprimieren,
    DateiReparieren,
    DateiSichern,
    DateiRuecksichern,
    Historie,
    Ende,
    TransaktionBeginnen,
    TransaktionUpdate,
    TransaktionRollback,
    Datenzentrale,
    Strukturgenerator,
    Import,
    Export,
    GlobalesAendern,
    GlobalesLoeschen,
    Hochzaehlautomatik,
    Optionen,
    MenueAnpassen,
    Symbolleiste,
    Statusleiste,
    MenuePersonalisiert,
    TexteAnpassen,
    Textanzeige,
    Symbolgroesse,
    SchriftFenster,
    SchriftSymbolleisten,
    Ueberlappend,
    Untereinander,
    Nebeneinander,
    SymboleAnordnen,
    AlleSchliessen,
    Hilfethemen,
    HilfeSuchen,
    Direkthilfe,
    Webupdate,
    Info,
};

/// One command of the main window.
struct Befehl {
    /// Tool name, what the dispatch receives.
    QString name;
    /// Menu caption; "&" marks the access key.
    QString text;
    /// Tool tip and status-line text.
    QString beschreibung;
    /// Icon base name in the picture folder; empty for none.
    QString symbol;
    /// Shortcut in portable form ("Ctrl+N"); empty for none.
    QString tastenkuerzel;
    /// The band the command lives in.
    QString band;
    /// Slot of the action protection checked before the command runs; 0 for none.
    int aktion = 0;
    Befehlsziel ziel = Befehlsziel::Keins;
    /// Tool id where a value depends on it: text display = id - 1100.
    int id = 0;
    /// Settings key (section "Settings") written at once by toggles and choices.
    QString einstellung;
};

/// Every command of the main window, in band order.
const QList<Befehl>& Befehlstabelle();
/// The command of a tool name; "Historie01" to "Historie20" give the history command.
/// nullptr for unknown names.
const Befehl* FindeBefehl(const QString& name);

/// The tool names of a band in order, an empty name for a separator. A name that is itself a
/// band ("mpAnpassenText", "MDIListe") stands for that band as a sub-menu.
QStringList Bandinhalt(const QString& band);
/// The caption of a band ("&Datei", "Funktionsleiste", "Statuszeile", "Fensterliste", …).
QString Bandtitel(const QString& band);
/// The menu bands in order: "Datei", "Bearbeiten", "Ansicht", "Fenster", "mi?".
QStringList Menuebaender();

/// The categories of the customisation: the menu bands and the main tool bar.
QStringList Befehlskategorien();
/// The commands of a category as the customisation offers them (no history entries).
QList<const Befehl*> Kategoriebefehle(const QString& kategorie);

/// The main tool bar "mtbHauptleiste" as a tool-definition string (its captions are shorter
/// than the menu captions and carry no access key).
QString Hauptleistendefinition();

/// Number of designed tools in the band "Datei"; the history entries follow after a separator.
inline constexpr int DateibandWerkzeuge = 13;
inline constexpr int MaxHistorie = 20;
/// "Historie01" to "Historie20".
QString Historienname(int nummer);
/// The number from the last two characters of "HistorieNN"; 0 for other names.
int Historiennummer(const QString& name);

/// Text display value of a tool of "mpAnpassenText" (its id minus 1100); -1 for other tools.
int Textanzeigewert(const QString& werkzeug);
/// The tool of "mpAnpassenText" for a text display value ("mpTextaus" for values out of range).
QString TextanzeigeWerkzeug(int wert);

} // namespace kv
