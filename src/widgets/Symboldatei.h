#pragma once

#include <QString>

namespace kv {

/// The picture file of a tool's icon base name (text up to the first NUL): a name ending in
/// "16" or "32" is the file name + ".ico", any other gets "16" (klein) or "32" and ".ICO".
/// The icons were named on a system that ignores letter case, so a file that differs only in
/// case is found as well. Empty when the name is empty or no such file exists.
QString Symboldatei(const QString& verzeichnis, const QString& symbol, bool klein);

} // namespace kv
