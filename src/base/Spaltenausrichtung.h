#pragma once

#include <Qt>
#include <QtGlobal>

namespace kv {

/// Alignment of a grid column's cells and footer, numbered as definition files store it. One
/// type for the definitions and the grid, so that a view's columns reach the grid unchanged.
enum class Spaltenausrichtung : qint16 { Links = 0, Rechts = 1, Zentriert = 2 };

/// The alignment of a stored number; values outside 0 to 2 are left.
Spaltenausrichtung AusrichtungAusZahl(int wert);
Qt::Alignment AlsQtAusrichtung(Spaltenausrichtung a);

} // namespace kv
