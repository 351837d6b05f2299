#include "engine/sql/Dialect.h"

#include <sqlite3.h>

namespace kv::engine::sql {

// Pass-through until the dialect rewriter lands.
Translation translate(const QString& dialectSql, const QStringList& parameterNames)
{
    Q_UNUSED(parameterNames);
    return Translation { dialectSql, {} };
}

namespace {
int vergleiche(void*, int la, const void* a, int lb, const void* b)
{
    const QString sa = QString::fromUtf8(static_cast<const char*>(a), la);
    const QString sb = QString::fromUtf8(static_cast<const char*>(b), lb);
    return QString::compare(sa, sb, Qt::CaseInsensitive);
}
} // namespace

void registerFunctions(sqlite3* db)
{
    sqlite3_create_collation(db, CollationName, SQLITE_UTF8, nullptr, &vergleiche);
}

} // namespace kv::engine::sql
