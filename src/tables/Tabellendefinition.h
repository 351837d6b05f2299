#pragma once

#include "base/Spaltenausrichtung.h"
#include "tables/Leistenanzeige.h"
#include "tables/Reportfelder.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kv {

/// One grid column of a table view ("Spalte" line).
struct Tabellenspalte {
    /// Empty: the column shows the field name (see anzeigetitel()).
    QString titel;
    QString datenfeld;
    /// Twips; 0 or less keeps the grid's default width.
    float breite = 0;
    Spaltenausrichtung ausrichtung = Spaltenausrichtung::Links;
    bool editiersperre = false;
    /// Format of the grid's cells and footer, may be empty.
    QString formatierung;
    bool summe = false;

    QString anzeigetitel() const { return titel.isEmpty() ? datenfeld : titel; }
    bool operator==(const Tabellenspalte&) const = default;
};

/// The twelve colours of a table view, in the order the designer lists them.
enum class Tabellenfarbe {
    HintergrundAllgemein,
    HintergrundAuswahlzeile,
    HintergrundZebramuster,
    HintergrundNormalzeile,
    HintergrundSuchzeile,
    HintergrundFusszeile,
    TextAllgemein,
    TextAuswahlzeile,
    TextZebramuster,
    TextNormalzeile,
    TextSuchzeile,
    TextFusszeile,
};
inline constexpr int TabellenfarbenAnzahl = 12;

/// The system colour references (0x80000000 + index) the designer starts from, and that a
/// "Standardfarbe" box puts back.
quint32 designerStandardfarbe(Tabellenfarbe farbe);

/// A table view as its definition file (.TSK) describes it.
struct Tabellendefinition {
    /// Window caption ("KV-Tabelle").
    QString titel;
    /// Tool bar at the top; anything but "Oben" in the file puts it at the bottom.
    bool bedienelementeOben = false;
    /// Grid caption.
    QString tabellenTitel;
    Videoleiste videoleisteAnzeige = Videoleiste::Aus;
    Funktionsleiste funktionsleisteAnzeige = Funktionsleiste::Aus;
    /// Record source of the grid.
    QString sql;
    /// Window geometry in twips.
    float hoehe = 0;
    float breite = 0;
    float links = 0;
    float oben = 0;
    /// Field whose value the navigation bar shows; empty: the record position.
    QString videoleisteDatenfeld;
    /// The whole view is read-only.
    bool editiersperre = false;
    /// Copy template, taken as written (blanks included).
    QString zwischenablageformat;
    /// Points; 5 or less: the grid's default size.
    float schriftgroesse = 0;
    QList<Reportfeld> reportfelder;
    /// Twips; 0: the grid's default row height.
    float zeilenhoehe = 0;
    QString reportDateiFilter;
    /// Colour values 0x00BBGGRR or system colour references; nullopt when the file sets none.
    std::array<std::optional<quint32>, TabellenfarbenAnzahl> farben {};
    bool suchzeile = false;
    bool zebramuster = false;
    bool rechteSpalteExpandieren = false;
    bool proportionaleSpaltenbreiten = false;
    /// Default values of the database's fields go into new rows.
    bool datenbankVorgabenUmsetzen = false;
    bool fensterMitStatuszeile = false;
    QList<Tabellenspalte> spalten;

    std::optional<quint32> farbe(Tabellenfarbe f) const { return farben[size_t(f)]; }
    void setzeFarbe(Tabellenfarbe f, std::optional<quint32> wert) { farben[size_t(f)] = wert; }
    /// The colour the grid is given: none for a missing line and for 0, so that the grid keeps
    /// its own colour.
    std::optional<quint32> laufzeitfarbe(Tabellenfarbe f) const;
    /// The colour the designer shows and writes: the file's or designerStandardfarbe().
    quint32 designerfarbe(Tabellenfarbe f) const;
    bool hatSummen() const;

    bool operator==(const Tabellendefinition&) const = default;
};

/// The text the designer starts a new view of tabelle with.
QString designerStandardtext(const QString& tabelle);
/// The text the table-view window uses when it opens tabelle without a definition.
QString laufzeitStandardtext(const QString& tabelle);
/// The standard view of tabelle as the window opens it: the run-time text read, with the
/// database's default values applied to new rows.
Tabellendefinition standardTabellendefinition(const QString& tabelle);

} // namespace kv
