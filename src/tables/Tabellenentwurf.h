#pragma once

#include "tables/StrukturtextBearbeitung.h"
#include "tables/Tabellendefinition.h"

#include <QString>
#include <optional>

namespace kv {

/// The working model of the table-view designer, without the window: the view being designed,
/// its short name and file, the changed flag, the column and report-field lists with their row
/// checks, saving under the definition naming and the question when the designer closes with
/// unsaved changes. Messages go through the dialog seam.
class Tabellenentwurf {
public:
    /// tabelle: the table a new view is made for (may be empty). definitionText: the view to
    /// start from; empty starts from the designer's default view of tabelle. datei: the file
    /// the text came from, empty for a new view (also when it starts from another view's text).
    Tabellenentwurf(const QString& tabelle, const QString& definitionText, const QString& datei,
        const QString& datenbankpfad);

    /// "Tabellen-Generator neu erstellen" or "Tabellen-Generator ändern".
    QString titel() const;
    bool neu() const { return m_neu; }
    const QString& tabelle() const { return m_tabelle; }
    /// The file the view is written to; empty until a new view is saved.
    const QString& datei() const { return m_datei.datei(); }

    /// The short name between "_KELVAD_" and the extension; empty: "OhneNamen" + number.
    const QString& name() const { return m_datei.name(); }
    void setzeName(const QString& name);

    const Tabellendefinition& definition() const { return m_definition; }
    /// For changes; each marks the view as changed.
    Tabellendefinition& aendern();
    bool geaendert() const { return m_geaendert; }

    /// Moves column zeile one place up (-1) or down (+1); false at the ends.
    bool verschiebeSpalte(int zeile, int richtung);
    /// "Alle Spalten-Definitionen löschen": empties the column and the report-field lists.
    void alleSpaltenLoeschen();

    /// The message that refuses a column row without a data field; nullopt for a good row.
    static std::optional<QString> pruefeSpalte(const Tabellenspalte& spalte);
    /// The message that refuses a report-field row without a picture field.
    static std::optional<QString> pruefeReportfeld(const Reportfeld& feld);

    /// Writes the view (columns and report fields that fail their check are not written: the
    /// designer refuses them when the row is left). Shows every failure and keeps the view
    /// changed then; true when the file was written.
    bool speichern();
    /// With unsaved changes asks whether to save them; true when the designer may close.
    bool schliessenErlaubt();

private:
    QString m_tabelle;
    bool m_neu;
    Tabellendefinition m_definition;
    StrukturtextBearbeitung m_datei;
    bool m_geaendert = false;
};

} // namespace kv
