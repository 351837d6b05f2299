#pragma once

#include <QtGlobal>

namespace kv {

// The bar modes of table views and masks, as the definition files number them.

enum class Videoleiste : qint16 { Aus = 0, Voll = 1, Reduziert = 2 };

enum class Funktionsleiste : qint16 {
    Aus = 0,
    VollOhneVorZurueck = 1,
    Reduziert = 2,
    VollMitVorZurueck = 3,
};

} // namespace kv
