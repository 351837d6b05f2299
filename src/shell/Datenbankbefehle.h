#pragma once

#include "base/NichtVerfuegbar.h"

namespace kv {

/// The database commands of the main window's menus. The main window has checked the action
/// password before it calls one. This base does nothing, which is what every command does until
/// the database handling installs its implementation.
class Datenbankbefehle {
public:
    virtual ~Datenbankbefehle() = default;

    virtual void neu() { }
    virtual void oeffnen() { }
    virtual void schliessen() { }
    virtual void speichern() { }
    virtual void speichernUnter() { }
    virtual void komprimieren() { }
    virtual void reparieren() { }
    virtual void sichern() { }
    virtual void ruecksichern() { }
    /// Opens entry nummer (1-based) of the history list.
    virtual void historieOeffnen(int nummer) { static_cast<void>(nummer); }
    virtual void transaktionBeginnen() { }
    virtual void transaktionUpdate() { }
    virtual void transaktionRollback() { }
    /// The main window closes: close the open database. Failures must not stop the closing.
    virtual void beenden() { }
};

/// The commands of the main window that open other windows. This base tells the user that the
/// window is not part of this version; each window takes over its command when it exists.
class Fensteraufrufe {
public:
    virtual ~Fensteraufrufe() = default;

    virtual void datenzentrale() { FensterNichtVerfuegbar(); }
    virtual void strukturgenerator() { FensterNichtVerfuegbar(); }
    /// The import window, in export mode when export_ is true.
    virtual void importExport(bool export_)
    {
        static_cast<void>(export_);
        FensterNichtVerfuegbar();
    }
    /// Global change (0), delete (1) or counter (2).
    virtual void global(int modus)
    {
        static_cast<void>(modus);
        FensterNichtVerfuegbar();
    }
    virtual void optionen() { FensterNichtVerfuegbar(); }
    virtual void texteAnpassen() { FensterNichtVerfuegbar(); }
    virtual void webupdate() { FensterNichtVerfuegbar(); }
    virtual void info() { FensterNichtVerfuegbar(); }
};

} // namespace kv
