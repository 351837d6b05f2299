#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace kv {

/// The enabled state of the database commands (tool name, enabled) for an open database or
/// none. "dateispeichern" and "dateikomprimieren" need a writable database,
/// "transaktionbeginnen" also an engine that supports transactions.
QList<QPair<QString, bool>> Befehlsstatus(bool datenbankOffen, bool nurLesen, bool transaktionen);

/// Caption and description of the status-bar tool "AktiveDatenbank".
struct Datenbankanzeige {
    QString text;
    QString beschreibung;

    /// For the open database's path; an empty path means none is open.
    static Datenbankanzeige fuer(const QString& datenbank);
};

} // namespace kv
