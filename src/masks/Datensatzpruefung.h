#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kv {

namespace engine {
class Recordset;
}

/// How an element's value reaches its field when the record is left.
enum class Eingabefamilie {
    /// Text, memo, picture and object elements: the value as it is.
    Gebunden,
    /// Number and date inputs: the value, or Null when the input was emptied.
    Zahl,
    Datum,
    /// True or false.
    Checkbox,
    /// The chosen row's link value, converted to the field's type (text cut to its size).
    Combobox,
    /// The chosen option's value, converted to the field's type.
    Optionbox,
};

/// One bound element as the record change sees it.
struct Elementwert {
    /// The caller's number of the element, handed back in Speicherergebnis::geschrieben.
    int element = -1;
    Eingabefamilie familie = Eingabefamilie::Gebunden;
    QString datenfeld;
    /// What the control gives (see Feldelement::wert); a null QVariant for an empty entry.
    QVariant wert;
    /// The user changed it since the record was shown.
    bool geaendert = false;
};

/// What writing and saving a record did.
struct Speicherergebnis {
    /// False when the record could not be saved (then meldung says why, and the record is still
    /// in edit with the values written).
    bool ok = true;
    /// The record was written (an Update ran).
    bool gespeichert = false;
    QString meldung;
    /// Elements whose values went into the record.
    QList<int> geschrieben;
    /// Fields that kept their previous value because the element's value could not be written.
    QStringList nichtGeschrieben;
    /// Text fields that got a list's value cut to their size.
    QStringList gekuerzt;
};

/// The saving part of every record change of a mask: the changed elements' values are written
/// into the current record (Edit unless it is already being edited or added), and the record is
/// saved; then the last modified record is the current one. Values that cannot become a value
/// of their field, or fields that refuse them, are left out and named in nichtGeschrieben. A
/// failed save gives "Fehler beim Aktualisieren der Daten!" with the engine's number and
/// description, and leaves the record in edit. Without a change and with no edit pending
/// nothing is done.
Speicherergebnis speichereDatensatz(engine::Recordset& datensatz, const QList<Elementwert>& werte);

/// Writes the changed elements' values into the current record without saving it (the record
/// must be in edit or being added); returns which were written and which were not.
Speicherergebnis schreibeWerte(engine::Recordset& datensatz, const QList<Elementwert>& werte);

/// The status-line text for fields that kept their previous value; empty when there are none.
QString hinweisNichtGeschrieben(const QStringList& felder);
/// The status-line text for fields whose value was cut to their size; empty when there are none.
QString hinweisGekuerzt(const QStringList& felder);

/// Deletes every row of a sub-table's row set, first to last, without asking; rows that cannot
/// be deleted are skipped. Returns how many were deleted.
int loescheAlleZeilen(engine::Recordset& zeilen);

} // namespace kv
