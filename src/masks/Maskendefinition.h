#pragma once

#include "masks/Flaechenlage.h"
#include "masks/Maskenelement.h"
#include "tables/Leistenanzeige.h"
#include "tables/Reportfelder.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kv {

/// The tab control of a mask ("Karteikarte"): its place and one title per page.
struct Karteikarte {
    int links = 0;
    int oben = 0;
    int breite = 0;
    int hoehe = 0;
    /// Page titles, page k is titel[k - 1]; "&" marks an access key.
    QStringList titel;

    int seitenzahl() const { return int(titel.size()); }
    bool operator==(const Karteikarte&) const = default;
};

/// Where a caption stands beside its element.
enum class Beschriftungsposition : qint16 { Links = 0, Oben = 1, Rechts = 2, Unten = 3 };

/// The caption layout ("Feldbeschriftung"); the default puts captions left of the elements,
/// right-aligned and vertically centred.
struct Feldbeschriftung {
    Beschriftungsposition position = Beschriftungsposition::Links;
    /// Twips; negative: the caption area ends that far before the element (see the windows).
    int groesse = -500;
    Beschriftungsausrichtung ausrichtung = Beschriftungsausrichtung::RechtsZentriert;

    bool operator==(const Feldbeschriftung&) const = default;
};

/// System colour indices the four mask colours start from.
inline constexpr int SystemfarbeMaskeHintergrund = 15;
inline constexpr int SystemfarbeMaskeText = 18;
inline constexpr int SystemfarbeElementHintergrund = 5;
inline constexpr int SystemfarbeElementText = 8;

/// A mask as its definition file (.MSK) describes it.
struct Maskendefinition {
    /// Window caption ("KV-Maske").
    QString titel;
    /// The surface is larger than the window and scrolls.
    bool virtuell = false;
    /// Record source.
    QString sql;
    /// Bars at the top ("OBEN") or the bottom (anything else).
    bool bedienelementeOben = false;
    /// Height of the surface between the bars; width, left, top of the window; all twips.
    int hoehe = 0;
    float breite = 0;
    float links = 0;
    float oben = 0;
    float virtuelleHoehe = 0;
    float virtuelleBreite = 0;
    std::optional<Karteikarte> karteikarte;
    Feldbeschriftung feldbeschriftung;
    Videoleiste videoleisteAnzeige = Videoleiste::Aus;
    QString videoleisteDatenfeld;
    Funktionsleiste funktionsleisteAnzeige = Funktionsleiste::Aus;
    bool editiersperre = false;
    /// Elements grow and shrink with the window.
    bool proportional = false;
    /// Copy template, taken as written.
    QString zwischenablageformat;
    /// Points; 0: the window's font.
    float schriftgroesse = 0;
    QList<Reportfeld> reportfelder;
    QString hintergrundbildDatei;
    Hintergrundausrichtung hintergrundbildAusrichtung = Hintergrundausrichtung::LinksOben;
    /// Colours 0x00BBGGRR; preset from the system colours (see neueMaskendefinition()).
    quint32 farbeMaskeHintergrund = 0;
    quint32 farbeMaskeText = 0;
    quint32 farbeElementHintergrund = 0;
    quint32 farbeElementText = 0;
    bool druckOhneBeschriftung = false;
    bool druckMitFeldumrandung = false;
    QString reportDateiFilter;
    bool fensterMitStatuszeile = false;
    /// In file order.
    QList<Maskenelement> elemente;

    int seitenzahl() const { return karteikarte ? karteikarte->seitenzahl() : 0; }
    /// The indexes of the elements of one kind, in file order.
    QList<int> elementeDerArt(Maskenelementart art) const;
    /// The table element whose rows go to reports: the last one marked, or -1.
    int reportTabellenelement() const;

    bool operator==(const Maskendefinition&) const = default;
};

/// An empty definition with the four colours preset to the current system colours, the state
/// every reader starts from.
Maskendefinition neueMaskendefinition();

} // namespace kv
