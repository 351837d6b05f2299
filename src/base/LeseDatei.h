#pragma once

#include <QString>

namespace kv {

/// A definition file read whole as Windows-1252 text. A missing, empty or binary file (one with
/// NUL bytes) shows "Fehler beim Lesen der Definitionsdatei!" with the path and gives "".
QString LeseDatei(const QString& pfad);

} // namespace kv
