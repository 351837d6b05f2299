#pragma once

struct sqlite3;

namespace kv::engine {

/// Marks a connection as handing control out from inside a running statement (its progress
/// check, from which a window repaints) for the lifetime of the object. SQLite allows no other
/// statement on that connection meanwhile.
class ProgressScope {
public:
    explicit ProgressScope(sqlite3* db);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    /// Whether db is inside its progress check right now (on this thread).
    static bool active(sqlite3* db);
    /// Throws EngineError 3045 when it is: the last guard for code that reads while a window
    /// repaints in the middle of a long change.
    static void refuse(sqlite3* db);

private:
    sqlite3* m_previous;
};

} // namespace kv::engine
