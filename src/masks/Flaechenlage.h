#pragma once

#include <QtGlobal>

namespace kv {

/// Where something sits in its area: the nine places of a three-by-three grid (left, centre,
/// right column; top, centre, bottom row), then the forms that fill the area. Captions use 0 to
/// 8, the background picture 0 to 10, picture elements 0 to 11.
enum class Flaechenlage : qint16 {
    LinksOben = 0,
    LinksZentriert,
    LinksUnten,
    ZentriertOben,
    ZentriertZentriert,
    ZentriertUnten,
    RechtsOben,
    RechtsZentriert,
    RechtsUnten,
    Gestreckt,
    /// Tiled.
    Repliziert,
    Gezoomt,
};

using Beschriftungsausrichtung = Flaechenlage;
using Hintergrundausrichtung = Flaechenlage;
using Bildausrichtung = Flaechenlage;

} // namespace kv
