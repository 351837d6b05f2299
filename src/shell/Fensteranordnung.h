#pragma once

#include <QList>
#include <QRect>

namespace kv {

/// Frames for anzahl windows one below the other, each the full width of flaeche; the rest
/// of an uneven division goes to the first windows, so the frames fill flaeche exactly.
QList<QRect> Untereinander(int anzahl, const QRect& flaeche);
/// Frames for anzahl windows side by side, each the full height of flaeche.
QList<QRect> Nebeneinander(int anzahl, const QRect& flaeche);
/// Positions of anzahl minimised window symbols of the given size: rows from the bottom-left
/// corner of flaeche, rightwards, a new row above when a row is full.
QList<QPoint> Symbolpositionen(int anzahl, const QSize& symbol, const QRect& flaeche);

} // namespace kv
