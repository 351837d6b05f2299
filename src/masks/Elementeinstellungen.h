#pragma once

#include "masks/Flaechenlage.h"
#include "masks/Maskenelement.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace kv {

// Typed views of the kind settings of a mask element (fields 3, 8 and 10 to 20). Each settings
// type reads itself from an element (aus) and writes itself back into one (in), leaving the
// fields it does not own as they were. Codes are the positions in the designer's lists, whose
// German texts the *namen() functions give.

enum class HorizontaleAusrichtung : qint16 { Links = 0, Rechts = 1, Zentriert = 2 };
enum class VertikaleAusrichtung : qint16 { Oben = 0, Unten = 1, Zentriert = 2 };

/// Arrows of number and date inputs, optionally with a calculator or calendar button.
enum class Spinanzeige : qint16 {
    Aus = 0,
    EinBeiFokus,
    Ein,
    EinMitButtonLinks,
    EinMitButtonRechts,
    EinMitButtonLinksBeiFokus,
    EinMitButtonRechtsBeiFokus,
};
const QStringList& spinanzeigenamen();

/// The names of the picture placements (Flaechenlage 0 to 11).
const QStringList& bildausrichtungsnamen();

enum class Bildrahmen : qint16 {
    Ohne = 0,
    Hervortretend,
    HervortretendMitRahmen,
    Eingestanzt,
    EingestanztMitRahmen,
    Filet,
    Rillen,
    SchatteneffektInnen,
    HervortretendWin95,
    EingestanztWin95,
};
const QStringList& bildrahmennamen();

enum class Umrandung : qint16 { Ohne = 0, Einfach, EinfachAbgerundet };
const QStringList& umrandungsnamen();

enum class Schriftstil : qint16 {
    Ohne = 0,
    Hervortretend,
    HervortretendMitRahmen,
    Eingestanzt,
    EingestanztMitRahmen,
};
const QStringList& schriftstilnamen();

enum class Textfarbe : qint16 { Schwarz = 0, Rot, Blau, Cyan };
const QStringList& textfarbnamen();
/// 0x00BBGGRR of a display text colour.
quint32 textfarbwert(Textfarbe farbe);

/// "EingabeText", "EingabeTextMemo".
struct TexteingabeEinstellungen {
    bool sperre = false;
    /// Allowed characters per position ("A", "a", "9", "#", "@", "B", "x"); empty: free text.
    QString eingabeformat;
    HorizontaleAusrichtung horizontal = HorizontaleAusrichtung::Links;
    VertikaleAusrichtung vertikal = VertikaleAusrichtung::Oben;

    static TexteingabeEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const TexteingabeEinstellungen&) const = default;
};

/// "EingabeZahl", "EingabeGanzzahl".
struct ZahleingabeEinstellungen {
    bool sperre = false;
    Spinanzeige spin = Spinanzeige::Aus;
    std::optional<double> minimum;
    std::optional<double> maximum;
    HorizontaleAusrichtung horizontal = HorizontaleAusrichtung::Links;
    VertikaleAusrichtung vertikal = VertikaleAusrichtung::Oben;
    /// 1 to 9; nullopt: whole numbers. Only "EingabeZahl".
    std::optional<int> dezimalstellen;
    /// Currency format. Only "EingabeZahl".
    bool waehrung = false;
    bool tausendertrennung = false;
    QString anzeigeformat;

    /// Index into Zahlenformate(): 3 currency, 4 to 12 for 1 to 9 places, else 1.
    int zahlenformatIndex() const;
    /// The format the input shows its value in: the display format when one is given, else the
    /// entry of Zahlenformate(), without digit grouping unless the thousands separator is on.
    QString wirksamesFormat() const;
    /// Whether v lies within minimum and maximum.
    bool imBereich(double v) const;

    static ZahleingabeEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const ZahleingabeEinstellungen&) const = default;
};

/// "EingabeDatum".
struct DatumeingabeEinstellungen {
    bool sperre = false;
    Spinanzeige spin = Spinanzeige::Aus;
    std::optional<QDate> minimum;
    std::optional<QDate> maximum;
    HorizontaleAusrichtung horizontal = HorizontaleAusrichtung::Links;
    VertikaleAusrichtung vertikal = VertikaleAusrichtung::Oben;
    /// An empty entry is accepted (stored as Null); only "0" in the file refuses it.
    bool leereingabe = true;
    /// Display format, for example "dd.mm.yyyy"; input is always the short date.
    QString anzeigeformat;

    bool imBereich(const QDate& d) const;

    static DatumeingabeEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const DatumeingabeEinstellungen&) const = default;
};

enum class Boxausrichtung : qint16 { Links = 0, Rechts = 1 };

/// "EingabeCheckbox".
struct CheckboxEinstellungen {
    bool sperre = false;
    /// The box's own text (field 3).
    QString text;
    HorizontaleAusrichtung textausrichtung = HorizontaleAusrichtung::Links;
    Boxausrichtung boxausrichtung = Boxausrichtung::Links;
    /// Pixels; 0: the style's size.
    int boxgroesse = 0;
    bool mehrzeilig = false;

    static CheckboxEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const CheckboxEinstellungen&) const = default;
};

struct Option {
    QString text;
    /// Written into the data field when the option is chosen.
    QString wert;
    bool operator==(const Option&) const = default;
};

/// "EingabeOptionbox": field 3 holds "Text@Wert/Text@Wert|Beschriftung".
struct OptionboxEinstellungen {
    bool sperre = false;
    QList<Option> optionen;
    QString beschriftung;
    /// Option texts stand left of their buttons.
    bool textLinks = false;

    static OptionboxEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const OptionboxEinstellungen&) const = default;
};

/// "AnzeigeText": a field's value, a static text or a formula result.
struct AnzeigetextEinstellungen {
    HorizontaleAusrichtung horizontal = HorizontaleAusrichtung::Links;
    VertikaleAusrichtung vertikal = VertikaleAusrichtung::Oben;
    Umrandung umrandung = Umrandung::Ohne;
    Schriftstil schriftstil = Schriftstil::Ohne;
    /// Format with ";" between sections (written as "|").
    QString anzeigeformat;
    bool mehrzeilig = false;
    Textfarbe textfarbe = Textfarbe::Schwarz;
    /// With real line breaks (written as "|").
    QString statischerText;
    QString formel;
    /// Points; nullopt: the mask's size.
    std::optional<float> schriftgroesse;

    static AnzeigetextEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const AnzeigetextEinstellungen&) const = default;
};

/// "AnzeigeBild", "AnzeigeOLE".
struct BildEinstellungen {
    Bildausrichtung ausrichtung = Bildausrichtung::LinksOben;

    static BildEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const BildEinstellungen&) const = default;
};

/// "AnzeigeStatikbild".
struct StatikbildEinstellungen {
    /// Picture file (field 2).
    QString datei;
    bool sperre = false;
    Bildausrichtung ausrichtung = Bildausrichtung::LinksOben;
    Bildrahmen rahmen = Bildrahmen::Ohne;

    static StatikbildEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const StatikbildEinstellungen&) const = default;
};

enum class Combospaltentyp { Text, Zahl, Datum, Waehrung, Boolean, NichtVerfuegbar };
/// The type as written ("Text", "Zahl", "Datum", "Währung", "Boolean", "n.v.").
QString combospaltentypname(Combospaltentyp typ);
/// The list column type of a field type code, as a list from SQL gets it.
Combospaltentyp combospaltentyp(qint16 feldtyp);

struct Combospalte {
    QString name;
    bool versteckt = false;
    Combospaltentyp typ = Combospaltentyp::Text;
    /// Twips.
    int breite = 0;

    /// Shown in the drop-down: not hidden and not "n.v.".
    bool sichtbar() const { return !versteckt && typ != Combospaltentyp::NichtVerfuegbar; }
    /// Named format of the column's values ("General Number", "Currency") or empty.
    QString format() const;
    bool operator==(const Combospalte&) const = default;
};

/// "EingabeCombobox".
struct ComboboxEinstellungen {
    bool sperre = false;
    QList<Combospalte> spalten;
    /// List column whose value goes into the data field.
    QString verknuepfungsfeld;
    /// List column shown; empty: the link field.
    QString anzeigefeld;
    /// Fixed rows, each a list of column values; unused when sql is set.
    QList<QStringList> festeWerte;
    QString sql;

    QString angezeigteSpalte() const
    {
        return anzeigefeld.isEmpty() ? verknuepfungsfeld : anzeigefeld;
    }
    bool listeAusSql() const { return !sql.trimmed().isEmpty(); }
    /// Twips: the sum of the shown columns' widths.
    int listenbreite() const;

    static ComboboxEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const ComboboxEinstellungen&) const = default;
};

/// "EingabeTabelle": a grid of the sub-table rows that belong to the current record.
struct TabellenelementEinstellungen {
    /// Rows can be neither added, deleted nor changed.
    bool sperre = false;
    QString feldHaupttabelle;
    QString feldUntertabelle;
    /// Statement without order clause.
    QString sql;
    /// Field names with ASC or DESC.
    QString sortierung;
    QStringList versteckteSpalten;
    /// Twips, in column order.
    QList<int> spaltenbreiten;
    QString titel;
    /// Formulas and footer sums follow row changes (only "0" in the file stops them).
    bool neuberechnen = true;
    /// This grid's rows go to reports as sub-table data.
    bool fuerReport = false;
    QStringList summenspalten;

    bool istVersteckt(const QString& spalte) const;
    bool istSummenspalte(const QString& spalte) const;
    /// Width of column index (0-based); nullopt without one.
    std::optional<int> spaltenbreite(int index) const;
    /// The rows for the main record whose main-table field has this value: sql, " WHERE ",
    /// sub-table field, " = ", the value as a literal ("NULL" for an empty value), and the sort
    /// order after " ORDER BY " when there is one.
    QString anweisung(const QVariant& hauptwert) const;
    /// main-table field, sub-table field, sort order and statement joined by ";", as reports
    /// receive the sub-table.
    QString reportangabe() const;

    static TabellenelementEinstellungen aus(const Maskenelement& e);
    void in(Maskenelement& e) const;
    bool operator==(const TabellenelementEinstellungen&) const = default;
};

/// A value as an SQL literal of the dialect: text quoted with inner quotes doubled, numbers with
/// ".", dates between "#", booleans True/False, Null and empty text as NULL.
QString sqlLiteral(const QVariant& wert);

} // namespace kv
