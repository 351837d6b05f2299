#pragma once

#include <QString>

namespace kv {

/// Title of a definition file: the trimmed text after schluesselwort (found ignoring case) on the
/// file's first line; "kein Titel vorhanden" when the line lacks it, "Fehler beim Lesen der
/// Titelinformation" when the first line is empty or the file cannot be read.
QString DefinitionsTitel(const QString& pfad, const QString& schluesselwort);

} // namespace kv
