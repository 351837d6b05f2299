#pragma once

#include "base/Rastermodell.h"
#include "engine/model/RecordCounter.h"

#include <QElapsedTimer>
#include <QHash>
#include <QVariant>
#include <memory>
#include <vector>

namespace kv::engine {

class Recordset;

/// The grid model over a record set (see Rastermodell for the contract the grids rely on).
///
/// Rows are read through a clone of the set, so painting never moves the set's own record; the
/// clone reads the rows a page at a time by their keys and keeps a few pages (the record set's
/// row cache), so memory stays bounded however far the user scrolls. Display texts come from
/// Format with the column's format; Null and binary values show empty.
///
/// A row is edited in a buffer of the model; saving writes it through the set (AddNew or Edit,
/// then Update), so an engine error leaves the buffer and the set as they were. After the
/// window's own code moved the set or changed its records, it calls syncPosition or refresh.
///
/// A set over a large table knows only its first rows when it opens. The model shows those at
/// once and counts the rest in a worker (RecordCounter) on a read-only connection of its own;
/// meanwhile the rows grow as the view scrolls on (fetchMore), and the worker's answer makes
/// the number final. The worker starts once the first rows have been shown (or after a
/// moment when no view asks for them), so that it does not slow them down. Every set shown gets a
/// new generation number; a count started for an earlier set is recognised by its number and
/// dropped.
class RecordsetModel : public Rastermodell {
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr);
    ~RecordsetModel() override;

    /// Shows rs (the model owns it), replacing the set shown before and any unsaved row;
    /// nullptr shows no rows. The column bindings stay.
    void setRecordset(std::unique_ptr<Recordset> rs);
    /// The set shown, for the window's own moves and reads; nullptr without one.
    Recordset* recordset() const { return m_rs.get(); }
    /// Generation of the set shown; grows with every setRecordset and refresh.
    quint64 generation() const { return m_generation; }

    /// The set's records were changed by other code than the model's (or by another program):
    /// rows are read anew, keeping the set's position. Drops an unsaved row.
    void refresh();
    /// The set was moved by the window's code: the grid follows to its record.
    void syncPosition();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// Qt::EditRole with the typed text (see Rastermodell). Also false for a text that is no
    /// value of the field's type, so that nothing but numbers reaches a number field.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QList<Datenfeldinfo> datenfelder() const override { return m_felder; }
    void setzeSpalten(const QList<Spaltenbindung>& bindungen) override;
    void setzeNeuzeile(bool zeigen) override;
    int zeileVon(const QByteArray& lesezeichen) const override;
    void setzeAktuelleZeile(int zeile) override;
    bool neueZeileBeginnen() override;
    int bearbeiteteZeile() const override { return m_edit.row; }
    std::optional<Rasterfehler> zeileSpeichern() override;
    void zeileVerwerfen() override;
    std::optional<Rasterfehler> loeschen(const QList<QByteArray>& lesezeichen) override;
    bool zaehltNoch() const override { return !m_countFinal; }
    void anzahlErmitteln() override;
    void zaehlenAbbrechen() override;
    /// The rows of the set shown are counted elsewhere (by a statement the window runs anyway,
    /// so that one walk serves both): the worker does not start for this set. Returns the
    /// generation countFrom expects, or 0 when the worker is counting already.
    quint64 countElsewhere();
    /// The count made elsewhere for generation; records < 0: the model counts for itself after
    /// all.
    void countFrom(quint64 generation, qint64 records);
    /// Whether the worker is counting right now, or will start at once.
    bool counting() const { return m_counter.running() || (m_countWanted && !m_countFinal); }

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    /// The set's current row as the model knows it; -1 without one.
    int currentRow() const { return m_current; }

private:
    struct Edit {
        int row = -1;
        bool isNew = false;
        QByteArray bookmark; // of a stored record
        QVariantList values;
        std::vector<bool> changed;
    };

    // RecordsetModel.cpp: shape and reading
    void readShape();
    void mapColumns();
    int fieldOfColumn(int column) const;
    bool addNewRowShown() const;
    int newRecordRow() const;
    bool isAddNewRow(int row) const;
    qint64 setRow(int row) const;
    Recordset* positionedReader(int row) const;
    QVariant storedValue(int row, int field) const;
    QVariant value(int row, int field) const;
    QByteArray bookmarkOf(int row) const;
    bool readFailed(qint64 setRow) const;
    void noteReadError(qint64 setRow, int number, const QString& description) const;
    void rowChanged(int row);
    // While a change is announced, code that hears of it may ask for more rows; they are added
    // later, so that one change never runs inside another.
    void beginInsertRows(const QModelIndex& parent, int first, int last);
    void endInsertRows();
    void beginRemoveRows(const QModelIndex& parent, int first, int last);
    void endRemoveRows();
    void beginResetModel();
    void endResetModel();
    void startCount();
    void countAfterFirstRows() const;
    void beginCount();
    void launchCount();
    void counted(quint64 generation, qint64 records);
    void takeCount(qint64 counted);
    void setRecords(qint64 records);
    void recountRows();
    void postRecount() const;

    // RecordsetModelEditing.cpp: edit buffer, saving, deleting
    bool beginEdit(int row);
    void endEdit();
    std::optional<Rasterfehler> writeBuffer();
    std::optional<Rasterfehler> saveNew();
    std::optional<Rasterfehler> saveChanges();
    std::optional<Rasterfehler> removeRecord(const QByteArray& bookmark);
    void releaseReader();

    std::unique_ptr<Recordset> m_rs;
    // A clone for reading; made when rows are read, dropped before the set's keys change, so
    // that the set need not copy its keys away from a clone that shares them.
    mutable std::unique_ptr<Recordset> m_reader;
    mutable qint64 m_readerRow = -1;
    quint64 m_generation = 0;

    QList<Datenfeldinfo> m_felder;
    QList<Spaltenbindung> m_bindungen;
    std::vector<int> m_columnField; // field index per column, -1 for a field the set lacks

    int m_records = 0; // rows of stored records
    bool m_countFinal = true;
    bool m_countWanted = false; // a count waits for the first rows to be shown
    mutable bool m_countPosted = false;
    mutable bool m_recountPosted = false;
    int m_announcing = 0;
    RecordCounter m_counter;
    bool m_addNewWanted = true;
    int m_current = -1;
    int m_removing = -1; // row being announced as removed; later rows read one row up
    Edit m_edit;

    // Pages that could not be read are not read again for a while, so that a locked file costs
    // one wait, not one per cell; the message goes out once until a read succeeds again.
    mutable QHash<qint64, qint64> m_failedPages; // page → ms of the clock below
    mutable QElapsedTimer m_clock;
    mutable bool m_errorReported = false;

    // While a long change on the same connection repaints the windows from inside a statement,
    // no row is read (SQLite allows no other statement then): the cells show what is known, and
    // the rows are shown again once the connection is free.
    bool connectionBusy() const;
    void repaintWhenFree() const;
    mutable bool m_waitingForConnection = false;
};

} // namespace kv::engine
