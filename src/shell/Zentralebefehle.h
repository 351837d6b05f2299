#pragma once

#include "shell/Zentraleliste.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace kv {

class AktuelleDatenbank;

/// What the navigator's commands need from the rest of the program.
struct Zentraleumgebung {
    AktuelleDatenbank* datenbank = nullptr;
    /// True when no child window but the navigator is left (asks the user first).
    std::function<bool()> alleFensterSchliessen;
    /// The close command of the database handling (it unloads the navigator too).
    std::function<void()> datenbankSchliessen;
    /// The action password check; PruefeAktionsschutz when empty.
    std::function<bool(int aktion)> aktionErlaubt;
};

/// The buttons "&Öffnen", "&Neu", "&Bearbeiten" that act on the current row.
enum class Zentraleknopf { Oeffnen, Neu, Bearbeiten };

/// What a context-menu entry does.
enum class Kontextaktion {
    Oeffnen,
    Neu,
    Bearbeiten,
    Texteditor,
    Loeschen,
    Strukturgenerator,
    Zurueck,
};

struct Kontexteintrag {
    /// "caption;icon" as the pop-up choice takes it.
    QString text;
    Kontextaktion aktion = Kontextaktion::Zurueck;
};

/// The navigator's commands on a row: open, new, edit, delete, the text editor, the structure
/// overview and closing the database. Objects go to their windows through the hand-over table;
/// questions and messages through the dialog seam. Each command returns true when the list has
/// to be rebuilt.
class Zentralebefehle {
public:
    explicit Zentralebefehle(Zentraleumgebung umgebung);

    const Zentraleumgebung& umgebung() const { return m_umgebung; }

    /// A button on row zeile of liste (-1: no current row).
    bool knopf(Zentraleknopf knopf, const Zentraleliste& liste, int zeile);
    /// The entries of the context menu on a row.
    QList<Kontexteintrag> kontextmenue(const Zentraleliste& liste, int zeile) const;
    bool kontext(Kontextaktion aktion, const Zentraleliste& liste, int zeile);

    /// Asks and deletes the definition file or the stored query of the row.
    bool loeschen(const Zentralezeile& zeile);
    /// "Schließen": asks and runs the close command.
    void schliessen();
    /// The structure overview, after the action password and closing the other windows.
    void strukturgenerator();

private:
    /// Hands a mask or table view to ziel: a standard row by its table name with an empty
    /// text, a user row with its file's text under the file's path (no path alsKopie).
    bool definitionUebergeben(const Zentralezeile& zeile,
        const std::function<void(const QString&, const QString&)>& ziel, bool alsKopie);
    bool texteditor(const Zentralezeile& zeile);
    /// The whole text of the row's definition file; nullopt after a message when the file is
    /// gone or cannot be read.
    std::optional<QString> definitionstext(const Zentralezeile& zeile);
    bool aktionErlaubt(int aktion) const;

    Zentraleumgebung m_umgebung;
};

} // namespace kv
