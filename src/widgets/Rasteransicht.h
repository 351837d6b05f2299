#pragma once

#include <QItemSelectionModel>
#include <QTableView>

namespace kv {

class DataGrid;

/// The table view inside a DataGrid. It hands keys, entries and moves of the current cell to
/// the grid, which decides on them; here only what a view must do itself.
class Rasteransicht : public QTableView {
    Q_OBJECT
public:
    explicit Rasteransicht(DataGrid* grid);
    using QTableView::edit;

    /// Closes an open editor, taking its entry into the model or dropping it, without the check.
    void editorSchliessen(QWidget* editor, bool uebernehmen);
    int sichtbareZeilenanzahl() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* e) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher) override;
    QModelIndex moveCursor(CursorAction aktion, Qt::KeyboardModifiers modifikatoren) override;
    void updateGeometries() override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QModelIndex naechsteFreieZelle(bool vorwaerts) const;

    DataGrid* m_grid;
};

/// Asks the grid before the current cell moves, so that a refused entry or a row that cannot be
/// written keeps the cell where it is, however the move was started.
class Rasterauswahl : public QItemSelectionModel {
    Q_OBJECT
public:
    Rasterauswahl(QAbstractItemModel* modell, DataGrid* grid);

    void setCurrentIndex(
        const QModelIndex& index, QItemSelectionModel::SelectionFlags flags) override;

private:
    DataGrid* m_grid;
};

} // namespace kv
