#pragma once

// What a test of the navigator's windows needs around them: a temporary folder holding the
// per-user settings, the scripted dialogs, the program's current database (not open yet) and a
// shown MDI area. The test keeps the pieces as its own members; this builds and clears them.

#include "Einstellungsumfeld.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Objektuebergabe.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QMdiArea>
#include <QSize>
#include <memory>

namespace kv::test {

struct Zentraleumfeld {
    std::unique_ptr<TempDir>& dir;
    std::unique_ptr<ScriptedDialoge>& dlg;
    std::unique_ptr<AktuelleDatenbank>& db;
    std::unique_ptr<QMdiArea>& mdi;

    void aufbauen(QSize groesse)
    {
        einstellungenAufbauen(dir, dlg);
        db = std::make_unique<AktuelleDatenbank>();
        mdi = std::make_unique<QMdiArea>();
        mdi->resize(groesse);
        mdi->show();
    }

    /// Closes the windows and the database and clears everything; true when every prepared
    /// answer was used. Closing saves nothing: tests leave no pending changes.
    bool abbauen()
    {
        mdi.reset();
        db.reset();
        objektuebergabe() = Objektuebergabe();
        return einstellungenAbbauen(dir, dlg);
    }
};

} // namespace kv::test
