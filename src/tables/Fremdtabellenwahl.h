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

/// A file chosen for an exchange or a link, with its format (index 0 to 13, see
/// Austauschpraefix).
struct AndereDatei {
    QString pfad;
    int formatIndex = 0;
};

/// Asks for a file of any of the 14 formats (the filter index chooses the format), starting
/// with format vorgabe; speichern lets the user name a file that does not exist yet. The open
/// database itself is refused with its message. nullopt when cancelled or refused.
std::optional<AndereDatei> waehleAndereDatei(const QString& titel, const QString& offeneDatenbank,
    const QString& startverzeichnis, int vorgabe = 0, bool speichern = false);

/// The tables of a Kelvado database file that can be linked or copied: neither system nor
/// attached tables, in the file's order. nullopt after the message "Fehler beim Öffnen der zu
/// verknüpfenden Datenbank" when the file cannot be opened.
std::optional<QStringList> verknuepfbareTabellen(engine::Workspace& workspace, const QString& pfad);

/// The same for a file of any exchange format (index 0 to 13, see Austauschpraefix): a foreign
/// folder or workbook lists the tables its driver reads.
std::optional<QStringList> verknuepfbareTabellen(
    engine::Workspace& workspace, int formatIndex, const QString& pfad);

/// The connect text that attaches a table of the file: ";DATABASE=" + file + ";" for our own
/// format, prefix + "DATABASE=" + folder (with its closing separator) + ";" for the table
/// formats, prefix + "DATABASE=" + workbook + ";" for Excel.
QString Verbindungstext(int formatIndex, const QString& pfad);

} // namespace kv
