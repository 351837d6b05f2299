#pragma once

#include "masks/Maskendefinition.h"

#include <QRect>

namespace kv {

/// The Qt alignment of one of the nine places (left, centre, right column; top, centre, bottom
/// row); the filling forms count as centred.
Qt::Alignment ausrichtungVon(Flaechenlage lage);

/// The area of an element's caption by the caption layout, all in one unit (pixels): left of,
/// above, right of or below the element, abstand away from it. A positive size is the area's
/// width (left, right) or height (above, below); zero or a negative one lets the area reach to
/// the edge of flaeche (left, right) or makes it zeilenhoehe high (above, below).
QRect beschriftungsbereich(const QRect& element, const Feldbeschriftung& beschriftung, int groesse,
    const QRect& flaeche, int zeilenhoehe, int abstand);

/// An element's place when the surface designed as entwurf is shown as groesse: position and
/// size scaled by the same factors.
QRect proportional(const QRect& element, const QSize& entwurf, const QSize& groesse);

} // namespace kv
