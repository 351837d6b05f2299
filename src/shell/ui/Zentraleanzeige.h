#pragma once

#include "shell/Zentralebefehle.h"

namespace kv {

class Datenbankhandling;
class frmMain;
class frmZentrale;

/// Shows and unloads the main window's central navigator. The database handling calls it after
/// an open and on the close command, the main window on "bearbeitendatenzentrale".
class Zentraleanzeige {
public:
    explicit Zentraleanzeige(frmMain& hauptfenster);

    /// The handling whose database the navigator lists and whose window closing it uses.
    void setzeDatenbankhandling(Datenbankhandling* handling) { m_handling = handling; }

    /// The navigator made or found, its list rebuilt, shown; nullptr without an open database.
    frmZentrale* zeigen();
    void entladen();
    /// Rebuilds the list of a loaded navigator after tables came or went elsewhere.
    void listeAktualisieren();

    /// What the navigator's commands use: the handling's database and window closing, and the
    /// main window's close command (with its action password).
    Zentraleumgebung umgebung() const;

private:
    frmMain& m_hauptfenster;
    Datenbankhandling* m_handling = nullptr;
};

} // namespace kv
