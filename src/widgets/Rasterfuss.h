#pragma once

#include <QWidget>

class QTableView;

namespace kv {

class DataGrid;

/// The footer row under a grid's rows: one text per column, under the column and in its width,
/// aligned as the window set it (sums, for instance).
class Rasterfuss : public QWidget {
    Q_OBJECT
public:
    Rasterfuss(DataGrid* grid, QTableView* ansicht);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    DataGrid* m_grid;
    QTableView* m_ansicht;
};

} // namespace kv
