#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace kv {

struct Maskendefinition;

/// What a formula reads: the current record and the rows the mask's table elements show.
class Formeldaten {
public:
    virtual ~Formeldaten() = default;
    /// False at the beginning or end of the record source: then no formula is computed.
    virtual bool hatDatensatz() const = 0;
    /// The current record's value of a field; nullopt when the record source has no such field.
    virtual std::optional<QVariant> feldwert(const QString& feld) const = 0;
    /// How many table elements ("EingabeTabelle") the mask has.
    virtual int tabellenelemente() const = 0;
    /// The values of one column over the rows table element n (from 1) shows; nullopt when its
    /// rows have no such column.
    virtual std::optional<QVariantList> spaltenwerte(int element, const QString& spalte) const = 0;
};

/// The texts of the window's input controls, so that a result follows an edit before it is
/// saved. The mask window implements it.
class Fensterwerte {
public:
    virtual ~Fensterwerte() = default;
    /// The current texts of the input controls bound to feld (names compared upper-cased), in
    /// the window's order; empty when no control is bound to it.
    virtual QStringList eingabetexte(const QString& feld) const = 0;
};

/// The formula with its references replaced, from left to right: "{Feld}" by the field's value
/// (with fenster, the text of the first input control bound to it, when there is one), "{@n/Feld}"
/// by the sum of that column over the rows of table element n; an empty value counts as 0.
/// The first reference that cannot be resolved (no such field, element or column) and every
/// one after it stay as written. Values are inserted once and never read as references.
QString loeseVerweiseAuf(
    const QString& formel, const Formeldaten& daten, const Fensterwerte* fenster = nullptr);

/// The text a display element shows for the formula: the result in the general number format,
/// or "Fehler: " with number and text.
QString berechneFormel(
    const QString& formel, const Formeldaten& daten, const Fensterwerte* fenster = nullptr);

/// One display element with a formula.
struct Formeleintrag {
    /// Index of the element in Maskendefinition::elemente.
    int element = -1;
    QString formel;
};

/// The "AnzeigeText" elements with a formula, in element order.
QList<Formeleintrag> formelliste(const Maskendefinition& definition);

/// The result texts of all formulas in list order; empty without a current record.
QStringList berechneFormeln(const QList<Formeleintrag>& liste, const Formeldaten& daten,
    const Fensterwerte* fenster = nullptr);

} // namespace kv
