#pragma once

#include "masks/Maskendefinition.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

// The mask definition file (.MSK): reader and writer are inverse, so a written file reads back
// to the same definition and any hand-edited file reads as what the writer would write.

/// Most tab pages a mask can have; titles beyond them are left out.
inline constexpr int HoechsteSeitenzahl = 100;

struct Maskendefinitionslesung {
    Maskendefinition definition;
    /// Lines and elements that could not be used, one German sentence each. The mask opens
    /// without them.
    QStringList hinweise;
};

/// Reads the whole text of a definition file (Windows-1252 already decoded) into a definition
/// whose colours start as the system colours. Never fails: unknown keys and kinds, lines
/// without ":", missing or extra fields, unreadable numbers and elements on pages the mask
/// lacks are left out or taken as empty.
Maskendefinitionslesung leseMaskendefinition(const QString& text);

/// The text the designer writes: header lines in their fixed order (optional ones only when
/// set), then one line per element with all 20 fields; CR LF after every line.
QString maskendefinitionstext(const Maskendefinition& definition);

/// Writes the definition whole to pfad (Windows-1252, CR LF). nullopt on success, else the
/// message to show ("Fehler beim Öffnen der Maskendatei!" or "…Schreiben…" with number and
/// description); a failed write leaves the previous file as it was.
std::optional<QString> speichereMaskendefinition(
    const QString& pfad, const Maskendefinition& definition);

/// An element line's value: fields 1 to 20 joined by ";".
QString elementfelder(const Maskenelement& element);

} // namespace kv
