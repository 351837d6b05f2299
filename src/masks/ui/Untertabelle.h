#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/DataGrid.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace kv {

namespace engine {
class Database;
class Recordset;
class RecordsetModel;
} // namespace engine

class Untertabellenabfrage;

/// A sub-table grid of a mask ("EingabeTabelle"): the data grid over the rows that belong to the
/// current main record, with its hidden columns, widths, footer sums and lock. Rows are changed,
/// added and deleted in the sub-table; a new row gets the main record's value in the sub-table
/// field, so that it belongs to the record it was entered under.
class Untertabelle : public QObject {
    Q_OBJECT
public:
    Untertabelle(engine::Database& db, const TabellenelementEinstellungen& e, bool gesperrt,
        QWidget* behaelter);
    ~Untertabelle() override;

    DataGrid* grid() const { return m_grid; }
    const TabellenelementEinstellungen& einstellungen() const { return m_e; }

    /// Shows the rows for the main record's value of the main-table field and their footer
    /// sums; a statement that cannot be opened leaves the grid empty. Without a value (a new
    /// main record not saved yet) no rows can be added.
    void zeige(const QVariant& hauptwert);
    /// No main record: no rows.
    void leeren();
    /// The rows shown; nullptr when none are.
    engine::Recordset* zeilen() const;
    /// The footer sums of the sum columns over the rows shown.
    void summenAktualisieren();
    /// Writes a pending row edit; false when that failed (reported by the grid).
    bool speichern();

Q_SIGNALS:
    /// A row was changed, added or deleted.
    void zeilenGeaendert();

private:
    void spaltenEinrichten(engine::Recordset& rs);
    void sperreAnwenden();
    void neueZeileVerknuepfen();

    TabellenelementEinstellungen m_e;
    std::unique_ptr<Untertabellenabfrage> m_abfrage;
    QPointer<DataGrid> m_grid;
    engine::RecordsetModel* m_modell = nullptr;
    QVariant m_hauptwert;
    bool m_gesperrt = false;
    bool m_spaltenGesetzt = false;
    /// Grid column of the sub-table field; -1 when the rows do not show it.
    int m_verknuepfungsspalte = -1;
};

} // namespace kv
