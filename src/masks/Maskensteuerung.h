#pragma once

#include "engine/model/RecordCounter.h"
#include "masks/Datensatzpruefung.h"
#include "masks/Maskenwerkzeuge.h"

#include <memory>

namespace kv {

namespace engine {
class Database;
class Recordset;
} // namespace engine

/// What the record logic of a mask asks of its window.
class Maskenansicht {
public:
    virtual ~Maskenansicht() = default;
    /// The bound elements' values with their changed flags.
    virtual QList<Elementwert> elementwerte() const = 0;
    /// Checks the entries of the number and date inputs; false when one is invalid (reported,
    /// the focus in it).
    virtual bool eingabenPruefen() = 0;
    /// The elements whose values went into the saved record lose their changed flags.
    virtual void alsGespeichertMarkieren(const QList<int>& elemente) = 0;
    /// Shows the current record in every element (empty elements without one), refreshes the
    /// sub-tables and computes the formulas.
    virtual void anzeigen() = 0;
    /// How many table elements the mask has.
    virtual int tabellenelemente() const = 0;
    /// Writes a pending row edit of table element n (from 0); false when that failed (the grid
    /// reported it).
    virtual bool tabellenzeileSpeichern(int n) = 0;
    /// The rows table element n shows; nullptr when it shows none.
    virtual engine::Recordset* tabellenzeilen(int n) = 0;
    /// A text for the status line.
    virtual void hinweis(const QString& text) = 0;
    /// The number of records became known (counted in the background).
    virtual void anzahlBekannt() { }
};

/// The record side of the mask window: its record source, the moves, adding and copying,
/// saving, cancelling and deleting, each with the check and save of the record being left.
/// Every message goes through the dialog seam; after a failure the window keeps the record and
/// what the user typed.
class Maskensteuerung {
public:
    explicit Maskensteuerung(Maskenansicht& ansicht);
    ~Maskensteuerung();

    /// Opens the record source as a dynaset; on failure shows "Bei der Einstellung der
    /// Datenquelle ist ein Fehler aufgetreten!" with number and description and keeps no
    /// record set. Does not show the record.
    bool oeffne(engine::Database& db, const QString& sql);
    engine::Database* datenbank() const { return m_db; }
    /// The record set; nullptr when none could be opened.
    engine::Recordset* datensatz() const { return m_rs.get(); }
    /// The set's current record exists (not before the first, after the last, or deleted).
    bool hatDatensatz() const;
    /// Number of records; while a large source is still counted in the background, the
    /// records known so far.
    qint64 anzahl() const;
    /// Waits for the number of records (for a jump to the last one).
    void anzahlErmitteln();
    /// 0-based position of the current record; -1 without one.
    qint64 position() const;
    bool hinzufuegen() const { return m_hinzufuegen; }
    /// The whole mask is read-only (its edit lock, or a record source that cannot be updated).
    bool gesperrt() const;
    void setzeEditiersperre(bool ja) { m_sperre = ja; }
    /// What the tool states depend on.
    Maskenlage lage() const;
    /// A record is being added or edited, or an element was changed.
    bool aenderungOffen() const;

    /// Leaves the current record for another (or for the window's closing): the pending rows
    /// of the sub-tables and the changed elements are saved. False when the record must stay
    /// (an invalid entry or a failed save, reported); true also when there was nothing to do.
    bool verlassen();
    /// Moves to record position (0-based, clamped); false when the record could not be left.
    bool geheZu(qint64 position);
    /// "neu": a new record with the fields' defaults; false when the record could not be left or
    /// records cannot be added.
    bool neu();
    /// "neukopie": a new record holding the current record's values, auto-increment fields
    /// excepted.
    bool neuKopie();
    /// "Speichern" while adding, or the changes of the current record: false (the message
    /// shown, the record kept in edit) when the save failed.
    bool speichern();
    /// Drops a record being added or edited and the elements' changes; false when there was
    /// nothing to drop.
    bool abbrechen();
    /// "löschen": deletes the current record after the rows of its sub-tables, then shows the
    /// next record, or the last one at the end. All or nothing: when the record cannot be
    /// deleted, its sub-table rows stay too. False when nothing was deleted.
    bool loeschen();
    /// Closing the window: a new record without changes is dropped, everything else saved.
    /// False when the window must stay open.
    bool schliessen();

private:
    /// Starts a new record in the set; false (reported) when the set refuses.
    bool satzAnlegen();
    bool tabellenSpeichern();
    bool satzSpeichern();
    void zeigeUndMelde(const Speicherergebnis& r);

    Maskenansicht& m_ansicht;
    engine::Database* m_db = nullptr;
    std::unique_ptr<engine::Recordset> m_rs;
    bool m_hinzufuegen = false;
    /// The new record is a copy: leaving it keeps it even when nothing was typed.
    bool m_kopie = false;
    bool m_sperre = false;
    // A large source is counted in a worker, so that its first record shows at once.
    engine::RecordCounter m_zaehler;
    quint64 m_generation = 0;
    qint64 m_gezaehlt = -1;
};

} // namespace kv
