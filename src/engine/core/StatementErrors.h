#pragma once

#include "engine/core/EngineError.h"

namespace kv::engine {

/// 3219 "Die Anweisung liefert keine Datensätze: <statement>", for a statement that is opened
/// as a record set or asked for its first row but gives no rows.
EngineError noRecordsError(const QString& statement);

} // namespace kv::engine
