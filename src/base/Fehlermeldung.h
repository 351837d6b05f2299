#pragma once

#include "base/Dialoge.h"

#include <QString>

namespace kv {

/// How the error number is introduced in an error message.
enum class Fehlerkennung {
    Nr, ///< "Nr: 3022"
    Fehler, ///< "Fehler: 3022"
    FehlerKompakt, ///< "Fehler:3022" (number directly after the colon)
};

/// Line separator inside message texts. The message boxes of our platform break lines at "\n",
/// so the program's texts use it where the original used a carriage return.
inline constexpr QChar Zeilenumbruch = QLatin1Char('\n');

/// The text of an engine or file error: the sentence naming the failed action, an empty line,
/// number and description on two lines:
///   "Fehler beim Sortieren!\n\nFehler: 3061\nBeschreibung: Zu wenige Parameter."
/// A sentence that needs its object directly on the next line is passed as
/// satz + Zeilenumbruch + objekt.
QString fehlermeldung(const QString& satz, qint64 nummer, const QString& beschreibung,
    Fehlerkennung kennung = Fehlerkennung::Nr);

/// The same with the object (usually a path) set off by empty lines before and after:
///   "Fehler bei der Reparatur von:\n\n/daten/a.mdb\n\nFehler: 3049\nBeschreibung: …"
QString fehlermeldung(const QString& satz, const QString& objekt, qint64 nummer,
    const QString& beschreibung, Fehlerkennung kennung = Fehlerkennung::Nr);

/// Shows an error text built as above in an OK message box (no icon, default caption).
void zeigeFehler(const QString& satz, qint64 nummer, const QString& beschreibung,
    Fehlerkennung kennung = Fehlerkennung::Nr);
void zeigeFehler(const QString& satz, const QString& objekt, qint64 nummer,
    const QString& beschreibung, Fehlerkennung kennung = Fehlerkennung::Nr);

} // namespace kv
