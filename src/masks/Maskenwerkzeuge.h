#pragma once

#include <QList>
#include <QString>

namespace kv {

/// The tool-definition string of the mask window's function bar.
const QString& maskenwerkzeuge();

/// What the function bar's tools depend on.
struct Maskenlage {
    /// A new record is being entered.
    bool hinzufuegen = false;
    bool hatDatensaetze = false;
    /// On the first or the last record (or on none).
    bool amAnfang = true;
    bool amEnde = true;
    /// Records can be added, changed and deleted (no edit lock, an updatable record source).
    bool aenderbar = true;
};

/// One tool's state; a null text or tool tip leaves it as it is.
struct Werkzeugstand {
    QString name;
    bool aktiv = true;
    QString text;
    QString tooltip;

    bool operator==(const Werkzeugstand&) const = default;
};

/// The states of all tools of the function bar: while adding, "Neu" reads "Speichern" and
/// "Schließen" reads "Abbruch", and every other tool is off; otherwise "Zurück" is off on the
/// first record and "Vor" on the last, the tools that need a record are off without one, and
/// adding, copying and deleting are off when records cannot be changed.
QList<Werkzeugstand> maskenwerkzeugstaende(const Maskenlage& lage);

} // namespace kv
