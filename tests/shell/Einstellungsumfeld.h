#pragma once

// The part every window fixture shares: a temporary folder whose "einstellungen" holds the
// per-user settings, and the scripted dialogs.

#include "shell/Einstellungen.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <memory>

namespace kv::test {

inline void einstellungenAufbauen(
    std::unique_ptr<TempDir>& dir, std::unique_ptr<ScriptedDialoge>& dlg)
{
    dir = std::make_unique<TempDir>();
    QDir(dir->path()).mkdir(QStringLiteral("einstellungen"));
    Einstellungen::setzeSpeicherordner(dir->file(QStringLiteral("einstellungen")));
    dlg = std::make_unique<ScriptedDialoge>();
}

/// True when every prepared answer was used.
inline bool einstellungenAbbauen(
    std::unique_ptr<TempDir>& dir, std::unique_ptr<ScriptedDialoge>& dlg)
{
    const bool leer = dlg->leer();
    dlg.reset();
    Einstellungen::setzeSpeicherordner(QString());
    dir.reset();
    return leer;
}

} // namespace kv::test
