#pragma once

#include <QIdentityProxyModel>

namespace kv {

class DataGrid;

/// The grid's layer over its model: the column heads show the grid's titles, head pictures and
/// tool tips, the record selectors mark the current, the changed and the add-new row, and locked
/// columns and a read-only grid take no entries. Rows and columns are the model's.
class Rasterproxy : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit Rasterproxy(DataGrid* grid);

    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    /// The record selector of a row changed (current row, edit state).
    void zeilenkopfGeaendert(int zeile);
    void setzeAktuelleZeile(int zeile);
    void spaltenkoepfeGeaendert();

private:
    DataGrid* m_grid;
    int m_aktuell = -1;
};

} // namespace kv
