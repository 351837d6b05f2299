#pragma once

#include "engine/isam/VerificationReport.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace kv::engine {
class Database;
}

namespace kv {

/// The 14 database formats of an import or export, index 0 to 13 (database type minus 1):
/// 0 the program's own files (no connect prefix), 1 to 13 "dBASE III;" to "Excel 5.0;".
QString Austauschpraefix(int formatIndex);
/// The 14 filter entries of the file dialog in format order, joined with "|".
QString Austauschfilter();
/// Whether the format is a workbook (indexes 11 to 13), named by its file, not its folder.
bool IstArbeitsmappe(int formatIndex);

/// A failure of the exchange, with the sentence the window shows before number and description.
struct Austauschfehler {
    QString satz;
    qint64 nummer = 0;
    QString beschreibung;
    /// The user stopped it; everything is as it was before.
    bool abgebrochen = false;
};

/// Asked while an exchange runs with the rows done and the rows in all (-1 when not known);
/// false stops the exchange.
using Austauschfortschritt = std::function<bool(qint64 erledigt, qint64 gesamt)>;

/// The other file of an import (into the open database) or export (out of it) and the
/// statements that copy a table between the two; windowless, used by frmImportTabellen.
class Datenaustausch {
public:
    Datenaustausch(engine::Database& offen, bool export_);

    bool istExport() const { return m_export; }
    engine::Database& offeneDatenbank() const { return m_db; }

    /// Opens the other file through the engine and reads its tables (neither system nor
    /// attached tables). Throws EngineError; the previous file stays chosen then.
    void oeffneAndereDatei(QString pfad, int formatIndex);
    bool hatAndereDatei() const { return !m_pfad.isEmpty(); }
    const QString& pfad() const { return m_pfad; }
    int formatIndex() const { return m_format; }
    const QStringList& andereTabellen() const { return m_tabellen; }

    /// " IN '<file>'" for our own format, " IN '<workbook>' '<prefix>'" for Excel and
    /// " IN '<folder>/' '<prefix>'" for the table formats.
    QString externeReferenz() const;
    /// Whether the target is a table of the open database (import) or the other file
    /// (export), without regard to case.
    bool zielVorhanden(const QString& ziel) const;
    /// SELECT … INTO for a new target, INSERT INTO … SELECT for an existing one.
    QString befehl(const QString& quelle, const QString& ziel) const;
    /// "DELETE * FROM " target, in the other file for an export.
    QString loeschBefehl(const QString& ziel) const;

    /// Deletes the target's records first when asked (loeschBefehl), then runs sql, all in one
    /// transaction; the engine puts the files of a foreign target back as they were when it
    /// fails or is cancelled, and removes a table file it made. Returns the records added. Throws
    /// Austauschfehler. status receives the texts to show while the work goes on, fortschritt
    /// the rows (gesamt as given) and may stop the work.
    qint64 ausfuehren(const QString& sql, bool zielLoeschen, const QString& ziel,
        const std::function<void(const QString&)>& status = {},
        const Austauschfortschritt& fortschritt = {}, qint64 gesamt = -1);
    /// The rows of a source table of the generated statement; -1 when it cannot be known
    /// without reading the whole table.
    qint64 quellZeilen(const QString& quelle) const;
    /// Where an export into an old Excel workbook has actually been written (an .xlsx beside
    /// it); empty otherwise.
    QString ersatzArbeitsmappe() const;

    /// What the last run wrote into a new foreign table: counts and every value that did not
    /// arrive unchanged.
    const engine::isam::VerificationReport& bericht() const { return m_bericht; }

    /// Stores sql as the query name, replacing one of that name. Throws Austauschfehler.
    void speichereAbfrage(const QString& name, const QString& sql);

private:
    QString connectText() const;

    engine::Database& m_db;
    bool m_export;
    QString m_pfad;
    int m_format = 0;
    QStringList m_tabellen;
    engine::isam::VerificationReport m_bericht;
};

} // namespace kv
