#pragma once

#include "engine/sqlite/Statement.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kv::engine {

/// The rowids of a record set in its order. A set over a whole table in table order reads its
/// keys in growing steps as the cursors reach them, so the first rows show before a large table
/// has been read to its end; every other set has all its keys from the start.
///
/// Once the number of keys is known (counted, or told by a count made elsewhere), a half-read
/// set reaches its last keys by reading them backwards from the end of the table: the keys
/// then lie in a head from the first key on and a tail up to the last, and the gap between them
/// is read by rowid ranges from whichever side is nearer when a cursor goes there. A count
/// that proves wrong (another program wrote meanwhile) is corrected when the gap closes.
///
/// No statement stays open between two steps, so a half-read set holds no lock on the file.
///
/// A set whose keys another connection reads may start with the first of them while the rest
/// follows (following): it holds those only, knows no count, and is completed in place, its
/// head unchanged, when the rest arrives. Whoever needs every key before (a count, the last
/// record) reads the rest with the reader given.
class Keyset {
public:
    /// Reads every key of a following set, on the caller's thread.
    using RestReader = std::function<std::vector<qint64>()>;

    /// All keys known.
    explicit Keyset(std::vector<qint64> keys);
    /// The first keys of a set; the rest follows with complete(), or is read by rest.
    Keyset(std::vector<qint64> first, RestReader rest);
    /// The keys of table (quoted, with its schema; named qualifier in the statement) in rowid
    /// order, read on demand.
    Keyset(sqlite3* db, const QString& table, const QString& qualifier);

    /// Whether there is a key at index; reads on when needed.
    bool has(qint64 index)
    {
        if (index < 0)
            return false;
        if (index < headSize())
            return true;
        return !m_complete && (inTail(index) || fetch(index));
    }
    bool empty() { return !has(0); }
    /// Every key, after reading to the end.
    qint64 size();
    /// The number of keys; counts them when it is not known yet, without reading them.
    qint64 count();
    /// Keys the set knows of: every key once complete or counted, else those read so far.
    qint64 loaded() const { return m_total >= 0 ? m_total : headSize(); }
    bool complete() const { return m_complete; }
    /// Whether count() costs nothing.
    bool countKnown() const { return m_complete || m_total >= 0; }
    /// A count of the keys made elsewhere; ignored when the number is known already.
    void noteCount(qint64 keys);
    /// The key at index, which must be loaded (has(index) was true).
    qint64 at(qint64 index) const
    {
        if (index < headSize())
            return m_keys[static_cast<size_t>(index)];
        return m_tail[static_cast<size_t>(index - tailStart())];
    }
    /// Makes every key from first to last (inclusive, both existing) loaded.
    void load(qint64 first, qint64 last);
    /// Index of key, reading on when needed; -1 when the set does not hold it.
    qint64 indexOf(qint64 key, qint64 guess);

    /// Reads to the end.
    void readAll();
    /// Call before inserting a row: a half-read set that could read the new row again reads
    /// to its end first.
    void beforeInsert();
    /// Appends the key of a new row at the end of the set.
    void append(qint64 key);
    void erase(qint64 index);
    /// A copy for a cursor that changes its keys; a half-read copy reads on by itself.
    std::shared_ptr<Keyset> copy() const;
    /// Whether the set holds the first keys only and the rest is to follow.
    bool following() const { return bool(m_rest); }
    /// Every key of a following set (the first ones again at its head); its cursors read
    /// their rows anew. Ignored by a set that is not following.
    void complete(std::vector<qint64> keys);
    /// A following set keeps the keys it has as all its keys.
    void stopFollowing();
    /// Grows whenever keys took other positions than they had (a count that proved wrong):
    /// rows kept by position must be read again then.
    quint64 shifts() const { return m_shifts; }

private:
    qint64 headSize() const { return static_cast<qint64>(m_keys.size()); }
    qint64 tailStart() const { return m_total - static_cast<qint64>(m_tail.size()); }
    bool inTail(qint64 index) const
    {
        return m_total >= 0 && index < m_total && index >= tailStart();
    }
    bool fetch(qint64 index);
    void readForward(qint64 count);
    void readBackward(qint64 count);
    void closeGap();
    void correctCount(qint64 total);
    qint64 upperBound() const;
    Statement& statement(std::unique_ptr<Statement>& st, const char* direction);

    std::vector<qint64> m_keys; // the head: positions 0 … headSize()-1
    // The tail: positions tailStart() … m_total-1; empty until the end is read.
    std::deque<qint64> m_tail;
    bool m_complete = true;
    qint64 m_total = -1; // number of keys of a half-read set, -1 unknown
    sqlite3* m_db = nullptr;
    QString m_table;
    QString m_qualifier;
    qint64 m_last = 0; // the largest rowid read forward so far
    qint64 m_tailFrom = 0; // the smallest rowid read backward; the gap lies below it
    quint64 m_shifts = 0;
    std::unique_ptr<Statement> m_next;
    std::unique_ptr<Statement> m_previous;
    RestReader m_rest; // set while following
};

} // namespace kv::engine
