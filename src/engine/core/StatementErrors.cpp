#include "engine/core/StatementErrors.h"

namespace kv::engine {

EngineError noRecordsError(const QString& statement)
{
    return EngineError(err::InvalidOperation,
        QStringLiteral("Die Anweisung liefert keine Datensätze: %1").arg(statement));
}

} // namespace kv::engine
