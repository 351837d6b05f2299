#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kv {

/// Item-data roles a data grid asks its model for. Besides them:
/// - Qt::DisplayRole: the text shown, the value formatted with the column's format (Format);
///   Null is an empty text.
/// - Qt::EditRole: the text an editor starts with (numbers without grouping, dates in the short
///   form, memo text whole); Null is an empty text.
/// - horizontal header, Qt::DisplayRole: the data field's name.
namespace Rasterrolle {
enum : int {
    /// QByteArray: bookmark of the row's record, the same for every column of the row. Empty for
    /// the add-new row and for a new record that is not saved yet.
    Lesezeichen = Qt::UserRole + 100,
    /// bool: the row is the add-new row (always the last row while adding is allowed).
    Neuzeile,
    /// The typed value as the engine gives it (QDateTime, double, qlonglong, bool, QString,
    /// QByteArray); a null QVariant for Null. Footer sums and printing read it.
    Wert,
    /// Horizontal header, int: the engine type code (DataType) of the column's field; 0 for a
    /// column whose field the source lacks.
    Feldtyp,
    /// Horizontal header, QString: the column's data field.
    Datenfeld,
    /// Horizontal header, QString: the table the field comes from; empty for a computed field.
    Quelltabelle,
    /// Horizontal header, bool: the field can be written (the set is updatable, the field is no
    /// auto-increment or computed field).
    Aktualisierbar,
};
} // namespace Rasterrolle

/// One field of the record source behind a grid model.
struct Datenfeldinfo {
    QString name;
    /// Engine type code (DataType).
    int typ = 0;
    QString quelltabelle;
    QString quellfeld;
    bool aktualisierbar = false;

    bool operator==(const Datenfeldinfo&) const = default;
};

/// What a grid column shows: a field of the record source in a display format.
struct Spaltenbindung {
    QString datenfeld;
    /// Format for the display text (see Format); empty for the general form.
    QString format;

    bool operator==(const Spaltenbindung&) const = default;
};

/// An engine error as the grid shows it: number and German description.
struct Rasterfehler {
    qint64 nummer = 0;
    QString beschreibung;
};

/// The contract between the data grid (widgets) and the model over a record set (engine side):
/// a flat table model whose rows are the records in the set's order, followed by the add-new row
/// while adding is allowed. Rows are edited whole: setData puts a cell into the row's edit buffer,
/// zeileSpeichern writes the row. The grid calls the functions below; the model never shows
/// messages itself, it reports errors to the caller or by signal.
class Rastermodell : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    /// The fields of the record source in their order; empty without a record set.
    virtual QList<Datenfeldinfo> datenfelder() const = 0;

    /// Column i shows field bindungen[i] in its format. An empty list shows every field of the
    /// source in order without a format. A field the source lacks gives a column of empty,
    /// read-only cells. Resets the model. The bindings stay when the record set is replaced.
    virtual void setzeSpalten(const QList<Spaltenbindung>& bindungen) = 0;

    /// Whether the add-new row is shown at the end; the grid switches it off in read-only mode.
    /// A model over a set that cannot be updated never shows it.
    virtual void setzeNeuzeile(bool zeigen) = 0;

    /// Row of the record with that bookmark; -1 when it is not in the set.
    virtual int zeileVon(const QByteArray& lesezeichen) const = 0;

    /// The grid's current row changed to zeile: the record set moves there, so that the window's
    /// code that reads the set sees the row the user sees. The add-new row leaves the set as it
    /// is. A move from the model's side is reported by aktuelleZeileGeaendert instead.
    virtual void setzeAktuelleZeile(int zeile) = 0;

    /// Turns the add-new row into a new record being entered (engine AddNew with the field
    /// defaults); a fresh add-new row follows below it. True when a new record is in progress
    /// afterwards (also when it already was); false when adding is not allowed.
    virtual bool neueZeileBeginnen() = 0;

    /// The row with unsaved changes (an edited record or the new record); -1 when there is none.
    /// setData with Qt::EditRole and a QString (the typed text; empty for Null) begins the edit
    /// of a stored row on its first change, and begins a new record when it is the add-new row.
    /// Line breaks arrive as the grid got them from the user. Texts are converted to the field's
    /// type in the user's locale (the grid has checked numbers and dates before). setData returns
    /// false only for cells that cannot be edited.
    virtual int bearbeiteteZeile() const = 0;

    /// Writes the row being edited (engine Update). nullopt on success, also when nothing was
    /// pending; afterwards a new record has its bookmark and the add-new row is last again.
    /// On failure the engine's error, and the row stays in edit with the user's values.
    virtual std::optional<Rasterfehler> zeileSpeichern() = 0;

    /// Drops unsaved changes: an edited row shows its stored values again, a new record's row
    /// disappears (the add-new row is last again).
    virtual void zeileVerwerfen() = 0;

    /// Deletes the records of the bookmarks, in the order given, and removes their rows. Stops
    /// at the first failure and returns it; the records before it stay deleted. Unknown
    /// bookmarks are skipped.
    virtual std::optional<Rasterfehler> loeschen(const QList<QByteArray>& lesezeichen) = 0;

    /// True while the number of rows is not final yet (a count still runs in a worker); the rows
    /// grow by rowsInserted as it proceeds.
    virtual bool zaehltNoch() const { return false; }
    /// Makes the number of rows final, so that the last row exists (Ctrl+End, "last record").
    /// May wait for the count.
    virtual void anzahlErmitteln() { }
    /// Cancels a running count; the rows known so far stay usable and the number stays open
    /// (zaehltNoch) until anzahlErmitteln.
    virtual void zaehlenAbbrechen() { }

protected:
    /// The horizontal header roles of a column that shows the field info (a default one for a
    /// field the source lacks) bound by the name datenfeld (empty: the field's own name).
    static QVariant spaltenkopf(const Datenfeldinfo& info, const QString& datenfeld, int rolle)
    {
        switch (rolle) {
        case Qt::DisplayRole:
        case Rasterrolle::Datenfeld:
            return datenfeld.isEmpty() ? info.name : datenfeld;
        case Rasterrolle::Feldtyp:
            return info.typ;
        case Rasterrolle::Quelltabelle:
            return info.quelltabelle;
        case Rasterrolle::Aktualisierbar:
            return info.aktualisierbar;
        default:
            return {};
        }
    }

Q_SIGNALS:
    /// A row with no unsaved changes got its first one; neu when it is a new record.
    void bearbeitungBegonnen(int zeile, bool neu);
    /// The record set moved to another record from the window's side; the grid follows.
    void aktuelleZeileGeaendert(int zeile);
    /// Rows could not be read (file gone, locked, schema changed); their cells show empty.
    /// Emitted once per failure, not per cell.
    void lesefehler(qint64 nummer, const QString& beschreibung);
    /// A count of the rows ended, also without changing their number: it is final now
    /// (zaehltNoch false), or stays open because the rows could not be counted (they grow as
    /// the view reads on, and anzahlErmitteln counts). Progress shown for the count ends here.
    void zaehlenBeendet();
};

} // namespace kv
