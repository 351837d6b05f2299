#pragma once

#include "tables/Maskenelementarten.h"

#include <QString>
#include <array>

namespace kv {

/// Fields of an element line after the kind: always 20 are written.
inline constexpr int MaskenelementFelder = 20;
/// The kind settings are fields 10 to 20.
inline constexpr int ErstesEinstellungsfeld = 10;

/// How many fields the mask window takes for a kind; fields after them are kept for the file
/// but not used.
int gelesenFelder(Maskenelementart art);

/// One element of a mask, in the form of its line: kind, then fields 1 to 20. Fields 10 to 20
/// are kept as written so that a file goes back unchanged; the typed views of them are in
/// Elementeinstellungen.h.
struct Maskenelement {
    Maskenelementart art = Maskenelementart::EingabeText;
    /// 0: on the mask surface; k: on tab page k.
    qint16 seite = 0;
    /// Bound field (the picture file for "AnzeigeStatikbild").
    QString datenfeld;
    /// Caption; the check box's own text; options and caption of an option group.
    QString beschriftung;
    /// Position and size in twips, relative to the surface or the tab page.
    int links = 0;
    int oben = 0;
    int breite = 0;
    int hoehe = 0;
    /// Field 8: edit lock ("1") or, for "AnzeigeText", the horizontal alignment.
    qint16 feld8 = 0;
    /// Field 9: the tooltip, and after the first "|" the help text for the status line.
    QString feld9;
    std::array<QString, MaskenelementFelder - ErstesEinstellungsfeld + 1> einstellungen {};

    /// Field n (10 to 20) as written; empty outside.
    const QString& feld(int n) const;
    /// Field n, empty when the kind does not read it (see gelesenFelder).
    QString genutztesFeld(int n) const;
    void setzeFeld(int n, const QString& wert);

    /// The part of field 9 before the first "|".
    QString tooltip() const;
    /// The trimmed part of field 9 after the first "|"; empty when there is none.
    QString hilfetext() const;
    /// Field 8 locks the element ("1"); not for "AnzeigeText", where it is the alignment.
    bool gesperrt() const;

    bool operator==(const Maskenelement&) const = default;
};

} // namespace kv
