#pragma once

#include "base/Dialoge.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

namespace kv {

/// What the backup window receives from the database commands.
struct SicherungsAuftrag {
    /// Source of a backup and target of a restore, with a trailing separator.
    QString verzeichnis;
    bool ruecksicherung = false;
    /// The directory followed by the patterns, separated by "|" or ";".
    QString dateiliste;
    QString fenstertitel;
    QString ueberschrift;
    QString iniPfad;
    QString iniAbschnitt;
    QString symbol;
    QFont schrift;
    QString hilfedatei;
    QRect hauptfenster;
    QString datenbank;
};

/// The order for "dateisichern" (ruecksicherung false) and "dateirücksichern" on the database
/// directory; the caller adds the font, help file, main window geometry and database path.
SicherungsAuftrag ErzeugeSicherungsAuftrag(
    bool ruecksicherung, const QString& datenbankverzeichnis);

/// Packs and unpacks the database's files as one zip archive. No file of the database directory
/// is touched until everything worked: the archive and the restored files are written under
/// temporary names and renamed at the end.
class Sicherung {
public:
    /// Called before each file and once at the end (erledigt == gesamt); false cancels.
    using Fortschritt = std::function<bool(int erledigt, int gesamt, const QString& datei)>;

    struct Ergebnis {
        bool ok = false;
        bool abgebrochen = false;
        /// Number of files written.
        int dateien = 0;
        /// Clear German text when neither ok nor cancelled.
        QString meldung;
    };

    /// The patterns of a file list ("/daten/*.MDB|*.XLS;*.TSK" gives "*.MDB", "*.XLS", "*.TSK").
    static QStringList Muster(const QString& dateiliste, const QString& verzeichnis);
    /// Names of the files in verzeichnis matching one of the patterns (ignoring case), sorted.
    static QStringList PassendeDateien(const QString& verzeichnis, const QStringList& muster);

    /// Writes the files (names inside verzeichnis) into the archive, replacing it only on success.
    /// The archive remembers verzeichnis, so that a restore can offer it.
    static Ergebnis Sichern(const QString& verzeichnis, const QStringList& dateien,
        const QString& archiv, const Fortschritt& fortschritt = {});

    /// The plain file names stored in the archive; on failure an empty list and fehler set.
    static QStringList ArchivInhalt(const QString& archiv, QString* fehler);
    /// The folder the archive was made from (kept in the archive's comment); empty when the
    /// archive does not tell or cannot be read.
    static QString Quellverzeichnis(const QString& archiv);

    /// Asked for every file that exists already: Ja overwrites, Nein skips, Abbrechen stops.
    using Ueberschreibfrage = std::function<Antwort(const QString& datei)>;

    /// Restores the named archive files into verzeichnis. All files are unpacked first; only
    /// when every one succeeded do they replace the existing ones.
    static Ergebnis Ruecksichern(const QString& archiv, const QStringList& dateien,
        const QString& verzeichnis, const Ueberschreibfrage& frage,
        const Fortschritt& fortschritt = {});

    /// The question for an existing file (Yes/No/Cancel through the dialog seam).
    static Antwort FrageUeberschreiben(const QString& datei);

    /// Last archive folder remembered in the INI file, and remembering it (in the user's copy of
    /// the file).
    static QString LetztesVerzeichnis(const QString& iniPfad, const QString& abschnitt);
    static void MerkeVerzeichnis(
        const QString& iniPfad, const QString& abschnitt, const QString& verzeichnis);
};

} // namespace kv
