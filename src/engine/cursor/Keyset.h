#pragma once

#include "engine/sqlite/Statement.h"

#include <QString>
#include <memory>
#include <vector>

namespace kv::engine {

/// The rowids of a record set in its order. A set over a whole table in table order reads its
/// keys in growing steps as the cursors reach them, so the first rows show before a large table
/// has been read to its end; every other set has all its keys from the start.
///
/// No statement stays open between two steps, so a half-read set holds no lock on the file.
class Keyset {
public:
    /// All keys known.
    explicit Keyset(std::vector<qint64> keys);
    /// The keys of table (quoted, with its schema; named qualifier in the statement) in rowid
    /// order, read on demand.
    Keyset(sqlite3* db, const QString& table, const QString& qualifier);

    /// Whether there is a key at index; reads on when needed.
    bool has(qint64 index)
    {
        return index >= 0 && (index < loaded() || (!m_complete && readUpTo(index)));
    }
    bool empty() { return !has(0); }
    /// Every key, after reading to the end.
    qint64 size();
    qint64 loaded() const { return static_cast<qint64>(m_keys.size()); }
    bool complete() const { return m_complete; }
    /// The key at index, which must be loaded.
    qint64 at(qint64 index) const { return m_keys[static_cast<size_t>(index)]; }
    /// Index of key, reading on when needed; -1 when the set does not hold it.
    qint64 indexOf(qint64 key, qint64 guess);

    /// Reads to the end; call before inserting a row that must not be read twice.
    void readAll();
    /// Appends the key of a new row (all keys must have been read).
    void append(qint64 key);
    void erase(qint64 index);
    /// A copy for a cursor that changes its keys; a half-read copy reads on by itself.
    std::shared_ptr<Keyset> copy() const;

private:
    bool readUpTo(qint64 index);
    void read(qint64 count);

    std::vector<qint64> m_keys;
    bool m_complete = true;
    sqlite3* m_db = nullptr;
    QString m_table;
    QString m_qualifier;
    qint64 m_last = 0; // the largest rowid read so far
    std::unique_ptr<Statement> m_next;
};

} // namespace kv::engine
