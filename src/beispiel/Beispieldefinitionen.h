#pragma once

#include <QString>
#include <QStringList>

namespace kv {

/// Writes the demo database's user table views and masks beside it (and the logo picture the
/// customer mask shows), in German number and date form whatever the current locale. Files
/// that exist already are left as they are. Returns the paths written; throws
/// engine::EngineError when a file cannot be written.
QStringList schreibeBeispieldefinitionen(const QString& datenbankpfad);

} // namespace kv
