#pragma once

#include "tables/Tabellendefinition.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

// The table-view definition file (.TSK): reader and writer are inverse, so a written file reads
// back to the same definition and any hand-edited file reads as what the writer would write.

struct Tabellendefinitionslesung {
    Tabellendefinition definition;
    /// Lines that could not be used, one German sentence each; the readers of the file carry on
    /// without them.
    QStringList hinweise;
};

/// Reads the whole text of a definition file (Windows-1252 already decoded). Never fails: unknown
/// keys, lines without ":", missing or extra pieces and unreadable numbers are left out or
/// taken as empty.
Tabellendefinitionslesung leseTabellendefinition(const QString& text);

/// The text the designer writes: header lines in their fixed order (optional ones only when
/// set), then one "Spalte" line per column; CR LF after every line. Numbers in the locale's
/// form.
QString tabellendefinitionstext(const Tabellendefinition& definition);

/// Writes the definition whole to pfad (Windows-1252, CR LF). nullopt on success, else the
/// message to show ("Fehler beim Öffnen der Strukturdatei!" or "…Schreiben…" with number and
/// description); a failed write leaves the previous file as it was.
std::optional<QString> speichereTabellendefinition(
    const QString& pfad, const Tabellendefinition& definition);

} // namespace kv
