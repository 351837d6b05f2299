#include "engine/sqlite/SqlText.h"

namespace kv::engine {

QString quoteIdentifier(const QString& identifier)
{
    return QLatin1Char('"')
        + QString(identifier).replace(QLatin1String("\""), QLatin1String("\"\""))
        + QLatin1Char('"');
}

} // namespace kv::engine
