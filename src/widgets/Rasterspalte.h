#pragma once

#include "base/Spaltenausrichtung.h"

#include <QString>

namespace kv {

/// One column of a data grid as a window configures it.
struct Rasterspalte {
    QString datenfeld;
    /// Column head; empty shows the field name.
    QString titel;
    /// Width in twips; 0 or less keeps the grid's default width.
    double breite = 0;
    Spaltenausrichtung ausrichtung = Spaltenausrichtung::Links;
    /// The cells cannot be edited, and Tab passes over the column.
    bool gesperrt = false;
    /// Display format (see Format); empty for the general form.
    QString format;
    bool sichtbar = true;

    bool operator==(const Rasterspalte&) const = default;
};

/// The twelve colours of a grid, in the order definition files list them.
enum class Rasterfarbe {
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
inline constexpr int RasterfarbenAnzahl = 12;

/// Head styles of a column: the plain head and the two sort marks.
enum class Kopfstil { Heading, Aufsteigend, Absteigend };

} // namespace kv
