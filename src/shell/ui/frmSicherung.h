#pragma once

#include "shell/Sicherung.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

/// The backup and restore window. Backup packs the matching files of the database directory into
/// one zip archive; restore lists an archive's files and writes the chosen ones back.
/// The database must be closed before, and opened again after, by the caller. An order without a
/// folder (no database open) restores into a folder the user chooses.
class frmSicherung : public QDialog {
    Q_OBJECT
public:
    explicit frmSicherung(const SicherungsAuftrag& auftrag, QWidget* parent = nullptr);

    /// Asks for the archive file (save dialog for a backup, open dialog for a restore); a restore
    /// then lists the archive's files. False when cancelled or the archive cannot be read.
    bool archivWaehlen();
    /// Sets the archive without asking (restore: reads its list).
    bool setzeArchiv(const QString& pfad);
    QString archiv() const;

    /// Files shown: those to back up, or those in the archive.
    QStringList dateien() const;
    /// Restore only the files ticked in the list.
    QStringList ausgewaehlteDateien() const;

    /// Runs the backup or restore with a progress window; messages go through the dialog seam.
    bool ausfuehren();

private:
    void zeigeDateien(const QStringList& dateien);
    /// Asks for the folder to restore into (never the program folder); empty when cancelled.
    QString zielverzeichnisWaehlen();

    SicherungsAuftrag m_auftrag;
    QLineEdit* m_archiv;
    QListWidget* m_liste;
    QPushButton* m_start;
};

/// Shows the window modally: the entry point of "dateisichern" and "dateirücksichern".
void SicherungStarten(const SicherungsAuftrag& auftrag, QWidget* parent = nullptr);

} // namespace kv
