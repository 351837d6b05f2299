#pragma once

#include "tables/Tabellendefinition.h"
#include "widgets/Rasterspalte.h"

namespace kv {

/// The grid column a view's column shows as, in the window and in the designer's preview.
Rasterspalte RasterspalteVon(const Tabellenspalte& s);

} // namespace kv
