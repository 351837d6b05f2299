#pragma once

#include "tables/ui/Ansichtsmodell.h"
#include "widgets/Fensterleisten.h"

#include <QFont>
#include <QString>
#include <functional>
#include <optional>

namespace kv {

namespace engine {
class Database;
}

/// What the table-view window and its designer need from the program that hosts them, handed in
/// when they open (the shell fills it; tests make their own).
struct Tabellenumgebung {
    /// The open database; the windows never open a second one.
    engine::Database* datenbank = nullptr;
    /// Its file, beside which the definition files live.
    QString datenbankpfad;
    /// Folder of the pictures (window icons, sort marks).
    QString grafikverzeichnis;
    /// How the child windows show their bars.
    Leistendarstellung leisten;
    /// The font of the windows' controls.
    QFont schrift;
    /// The query builder: returns the SQL the user built, nullopt when cancelled. Empty while
    /// the program has no query builder.
    std::function<std::optional<QString>(const QString& sql)> abfrageGenerator;
    /// The grid model over a record set; without it the windows show no records.
    Ansichtsmodellmacher modell;
};

} // namespace kv
