#pragma once

// What a test of the database commands needs around them: a temporary folder holding the
// per-user settings, the scripted dialogs, the main window with the database handling (and,
// when asked, the navigator it shows) over a current database of the test's own. The test keeps
// the pieces as its own members; this builds and clears them.

#include "Einstellungsumfeld.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Datenbankhandling.h"
#include "shell/Einstellungen.h"
#include "shell/ui/Zentraleanzeige.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmMainZugang.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <memory>

namespace kv::test {

struct Hauptfensterumfeld {
    std::unique_ptr<TempDir>& dir;
    std::unique_ptr<ScriptedDialoge>& dlg;
    std::unique_ptr<frmMain>& main;
    std::unique_ptr<AktuelleDatenbank>& db;
    Datenbankhandling*& h;

    /// mitZentrale: the handling shows the navigator after an open, as in the program.
    void aufbauen(std::shared_ptr<Zentraleanzeige>* zentrale = nullptr)
    {
        einstellungenAufbauen(dir, dlg);
        main = std::make_unique<frmMain>();
        db = std::make_unique<AktuelleDatenbank>();
        std::shared_ptr<Zentraleanzeige> anzeige;
        if (zentrale)
            anzeige = *zentrale = std::make_shared<Zentraleanzeige>(*main);
        auto handling = std::make_unique<Datenbankhandling>(
            std::make_unique<frmMainZugang>(*main, anzeige), db.get());
        h = handling.get();
        if (anzeige)
            anzeige->setzeDatenbankhandling(h);
        main->setzeDatenbankbefehle(std::move(handling));
        h->SetzeBefehlsstatus(false);
    }

    /// Closes the window and the database and clears everything; true when every prepared
    /// answer was used.
    bool abbauen()
    {
        main->setzeDatenbankbefehle(nullptr);
        main.reset();
        db.reset();
        return einstellungenAbbauen(dir, dlg);
    }
};

} // namespace kv::test
