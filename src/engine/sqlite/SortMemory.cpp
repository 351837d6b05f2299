#include "engine/sqlite/SortMemory.h"

#include <QByteArray>

namespace kv::engine {

namespace {
int cacheSize(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    int size = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA main.cache_size", -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        size = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return size;
}

void setCacheSize(sqlite3* db, int size)
{
    // Only the connection's setting changes: no lock, nothing read or written.
    QByteArray sql("PRAGMA main.cache_size = ");
    sql.append(QByteArray::number(size));
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
}
} // namespace

SortMemory::SortMemory(sqlite3* db)
    : m_db(db)
{
    const int previous = cacheSize(db);
    if (previous == -DefaultCacheKb || previous == 0)
        return;
    m_previous = previous;
    setCacheSize(db, -DefaultCacheKb);
}

SortMemory::~SortMemory()
{
    if (m_previous != 0)
        setCacheSize(m_db, m_previous);
}

} // namespace kv::engine
