#pragma once

#include "tables/Definitionsdatei.h"

#include <QString>
#include <optional>

namespace kv {

// Writing definition files, shared by the designers and the plain text editor.

/// The word naming the file in the save failure messages: table views and the text editor say
/// "Strukturdatei", the mask designer "Maskendatei".
inline const QString Strukturdatei = QStringLiteral("Strukturdatei");
inline const QString Maskendatei = QStringLiteral("Maskendatei");

/// Writes text whole in Windows-1252 with CR LF line ends, replacing the file; a failure leaves
/// any previous file as it was. nullopt on success, else the message to show:
///   "Fehler beim Öffnen der Strukturdatei!\n\nNr: 5\nBeschreibung: …" (or "…Schreiben…").
std::optional<QString> schreibeDefinitionstext(
    const QString& pfad, const QString& text, const QString& dateiwort);

/// The text a new definition starts with in the text editor: for a table view the five lines
/// title, grid caption, navigation bar, function bar and record source; for a mask the header
/// of the standard mask without elements.
QString starttextDefinition(Definitionsart art, const QString& tabelle);

} // namespace kv
