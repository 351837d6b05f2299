#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

/// What the command line asks for; unset members leave the settings as they are.
struct Kommandozeile {
    /// An existing database given with "MDB:" (type 1).
    std::optional<QString> datenbank;
    /// A path given with "MDB:" that is no existing file (missing, or a folder); the part is
    /// ignored, but the user is told.
    std::optional<QString> nichtGefunden;
    /// "XPStil:" given: true only for "1".
    std::optional<bool> xpStil;
    /// "TABELLE:" given: the table whose standard table view opens once the database is open.
    std::optional<QString> tabelle;

    /// Evaluates a command line such as "/MDB:C:\Daten\Adressen.mdb /XPStil:0". The line is
    /// split into parts at each "/" that begins a keyword ("/" at the start or after a blank,
    /// followed by letters and ":"), so that paths with "/" stay whole. A part containing "MDB:"
    /// (any case) gives the path from its fifth character on, trimmed, when that file exists
    /// (nichtGefunden otherwise); a part containing "XPStil:" gives the value from its eighth
    /// character on; a part that begins with "TABELLE:" (any case) gives the table name after
    /// it, trimmed ("/TABELLE:Kunden").
    static Kommandozeile auswerten(const QString& zeile);
    /// The command line as one text from the program's arguments (without the program itself).
    static QString ausArgumenten(const QStringList& argumente);
};

} // namespace kv
