#pragma once

#include "widgets/DataGrid.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QTableView>
#include <QTest>
#include <memory>

// What the grid tests do to a grid as its user would.

namespace kv::test {

/// Shows the grid active with the focus in its rows; the returned tester checks the grid's own
/// layer over its model for as long as it lives.
inline std::unique_ptr<QAbstractItemModelTester> zeigeAktiv(DataGrid& grid)
{
    auto pruefer = std::make_unique<QAbstractItemModelTester>(
        grid.ansicht()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.show();
    grid.activateWindow();
    grid.ansicht()->setFocus();
    return pruefer;
}

/// Makes a cell current as the arrow keys would, without a click.
inline void geheZu(DataGrid& grid, int zeile, int spalte)
{
    QTableView* ansicht = grid.ansicht();
    ansicht->selectionModel()->setCurrentIndex(
        ansicht->model()->index(zeile, spalte), QItemSelectionModel::NoUpdate);
}

/// A key where the focus is, as the user's keys go.
inline void drueckeTaste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), k, m);
}

} // namespace kv::test
