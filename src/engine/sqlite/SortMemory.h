#pragma once

#include "engine/sqlite/SqliteApi.h"

namespace kv::engine {

/// While it lives, a sort on the connection works in runs of SQLite's default size. SQLite sizes
/// a sort's in-memory runs by the page cache; the larger cache a connection keeps for a grid's
/// pages makes runs that no longer fit the processor's caches, and sorting a million keys takes
/// about a third longer.
class SortMemory {
public:
    explicit SortMemory(sqlite3* db);
    ~SortMemory();
    SortMemory(const SortMemory&) = delete;
    SortMemory& operator=(const SortMemory&) = delete;

    /// SQLite's own default: 2 MB.
    static constexpr int DefaultCacheKb = 2000;

private:
    sqlite3* m_db;
    int m_previous = 0; // the cache_size to restore; 0 when it was left alone
};

} // namespace kv::engine
