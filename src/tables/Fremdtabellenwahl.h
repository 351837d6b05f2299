#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kv::engine {
class Workspace;
}

namespace kv {

/// The file dialog filter of Kelvado's own database files.
inline const QString EigeneDatenbankFilter = QStringLiteral("Access (*.MDB)|*.MDB");

/// Asks for another Kelvado database through the file dialog with the title given; the open
/// database itself is refused with its message. nullopt when cancelled or refused.
std::optional<QString> waehleAndereDatenbank(
    const QString& titel, const QString& offeneDatenbank, const QString& startverzeichnis);

/// The tables of a Kelvado database file that can be linked or copied: neither system nor
/// attached tables, in the file's order. nullopt after the message "Fehler beim Öffnen der zu
/// verknüpfenden Datenbank" when the file cannot be opened.
std::optional<QStringList> verknuepfbareTabellen(engine::Workspace& workspace, const QString& pfad);

} // namespace kv
