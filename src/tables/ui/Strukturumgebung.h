#pragma once

#include <QString>
#include <functional>

namespace kv::engine {
class Database;
}

namespace kv {

/// What the structure overview needs of the program around it; the shell fills it in.
struct Strukturumgebung {
    /// The open database; nullptr when none is open.
    std::function<engine::Database*()> datenbank;
    /// The open database's file.
    std::function<QString()> datenbankpfad;
    /// The header line over the list for the open database.
    std::function<QString(engine::Database&)> kopfzeile;
    /// Shows a text in the status line; an empty text shows the idle text.
    std::function<void(const QString&)> statustext;
    /// Folder of the program's pictures.
    QString grafikverzeichnis;
};

} // namespace kv
