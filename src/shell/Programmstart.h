#pragma once

#include "shell/StartEinstellungen.h"

#include <QStringList>
#include <optional>

namespace kv {

/// What start-up hands to the main window once the window-free steps are done.
struct Startzustand {
    /// The settings read at start-up, the database replaced by the command line's.
    StartEinstellungen werte;
    /// The database to reopen; nullopt when there is none.
    std::optional<LetzteDatenbank> letzteDatenbank;
    /// The table whose standard table view opens after the database ("/TABELLE:").
    std::optional<QString> tabelle;
};

/// The message for a "MDB:" part of the command line whose path is no existing file.
QString KommandozeilenDatenbankFehlt(const QString& pfad);

/// The start-up steps that need no window, in their order: takeover of the previous generation's
/// settings on a first start, start time, program and icon directory (the warning is shown when
/// the icons are missing), fonts, settings, command line (database and visual style; a database
/// that is not found is reported and ignored), the switches of the child windows and the report
/// output (programmschalter()), action passwords. themaAktiv is what the platform reports about its
/// visual theme. installationsverzeichnis is tried when the icons are not beside the program.
Startzustand ProgrammstartVorbereiten(const QStringList& argumente, bool themaAktiv,
    const QString& installationsverzeichnis = QString());

} // namespace kv
