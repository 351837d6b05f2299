#pragma once

#include "tables/ui/Ansichtsmodell.h"

namespace kv {

/// The maker of the table views' grid model over a record set (the engine's RecordsetModel).
Ansichtsmodellmacher Recordsetansicht();

} // namespace kv
