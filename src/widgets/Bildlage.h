#pragma once

#include "masks/Elementeinstellungen.h"

#include <QRect>

class QImage;
class QPainter;
class QPalette;

namespace kv {

/// Where a picture of size groesse goes in bereich: at its own size in one of the nine places
/// (it may stand over the edges), stretched over the area, or zoomed to fit with its proportions
/// kept and centred. Tiling (Repliziert) starts at the area's top left corner with the picture's
/// own size.
QRect bildrechteck(const QRect& bereich, const QSize& groesse, Flaechenlage lage);

/// Draws bild into bereich by its placement, clipped to the area.
void zeichneBild(QPainter& maler, const QRect& bereich, const QImage& bild, Flaechenlage lage);

/// Draws a picture frame along the edge of bereich and returns the area inside it.
QRect zeichneBildrahmen(
    QPainter& maler, const QRect& bereich, Bildrahmen rahmen, const QPalette& palette);

} // namespace kv
