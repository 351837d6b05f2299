#include "engine/cursor/Keyset.h"

#include <algorithm>
#include <limits>

namespace kv::engine {

namespace {
// The first step covers a screen or two; later steps double what is known.
constexpr qint64 FirstStep = 512;
constexpr qint64 NoRowid = std::numeric_limits<qint64>::max();
} // namespace

Keyset::Keyset(std::vector<qint64> keys)
    : m_keys(std::move(keys))
{ }

Keyset::Keyset(std::vector<qint64> first, RestReader rest)
    : m_keys(std::move(first))
    , m_complete(false)
    , m_rest(std::move(rest))
{ }

void Keyset::complete(std::vector<qint64> keys)
{
    if (!m_rest)
        return;
    m_rest = {};
    m_keys = std::move(keys);
    m_complete = true;
    // Another program may have written between the two reads: rows are read by their new
    // positions.
    ++m_shifts;
}

void Keyset::stopFollowing()
{
    if (!m_rest)
        return;
    m_rest = {};
    m_complete = true;
}

Keyset::Keyset(sqlite3* db, const QString& table, const QString& qualifier)
    : m_complete(false)
    , m_db(db)
    , m_table(table)
    , m_qualifier(qualifier)
    , m_last(std::numeric_limits<qint64>::min())
    , m_tailFrom(NoRowid)
{
    readForward(FirstStep);
}

qint64 Keyset::size()
{
    readAll();
    return headSize();
}

qint64 Keyset::count()
{
    if (m_complete)
        return headSize();
    if (m_rest) {
        complete(m_rest());
        return headSize();
    }
    if (m_total < 0) {
        // Counting costs a walk over the table, but no memory and no conversion per key.
        Statement st(m_db,
            QStringLiteral("SELECT count(*) FROM ") + m_table + QStringLiteral(" AS ") + m_qualifier
                + QStringLiteral(" WHERE ") + m_qualifier + QStringLiteral(".rowid > ?1"));
        st.bind(1, m_last);
        st.step();
        const qint64 rest = st.int64(0);
        if (rest == 0)
            closeGap();
        else
            m_total = headSize() + rest;
    }
    return m_complete ? headSize() : m_total;
}

void Keyset::noteCount(qint64 keys)
{
    // A following set learns its number with its keys.
    if (countKnown() || keys < 0 || m_rest)
        return;
    m_total = std::max(keys, headSize());
}

void Keyset::readAll()
{
    if (m_complete)
        return;
    if (m_rest) {
        complete(m_rest());
        return;
    }
    qint64 expected = 0;
    if (m_total >= 0) {
        expected = m_total - headSize();
    } else {
        // Untouched capacity costs no memory, so the upper bound from the largest rowid is
        // cheap.
        Statement highest(m_db, QStringLiteral("SELECT max(rowid) FROM ") + m_table);
        if (highest.step() && !highest.isNull(0) && m_last > std::numeric_limits<qint64>::min())
            expected = highest.int64(0) - m_last;
    }
    if (expected > 0 && expected < (qint64(1) << 26))
        m_keys.reserve(m_keys.size() + static_cast<size_t>(expected));
    closeGap();
}

void Keyset::closeGap()
{
    while (!m_complete)
        readForward(-1);
}

bool Keyset::fetch(qint64 index)
{
    // Rows past the first keys wait for the rest rather than hold up the window.
    if (m_rest)
        return false;
    while (!m_complete && index >= headSize() && !inTail(index)) {
        if (m_total >= 0 && index >= m_total)
            return false;
        const qint64 ahead = index + 1 - headSize();
        // From the end when it is nearer; the first steps from the start stay small.
        if (m_total >= 0 && tailStart() - index < ahead)
            readBackward(std::max({ tailStart() - index, qint64(m_tail.size()), FirstStep }));
        else
            readForward(std::max(ahead, headSize()));
    }
    return index < headSize() || inTail(index);
}

void Keyset::load(qint64 first, qint64 last)
{
    if (!has(last) || !has(first))
        return;
    while (!m_complete && m_total >= 0) {
        const qint64 gap = std::max(first, headSize());
        if (gap > std::min(last, tailStart() - 1) || !fetch(gap))
            return;
    }
}

qint64 Keyset::upperBound() const
{
    return m_tailFrom == NoRowid ? NoRowid : m_tailFrom - 1;
}

Statement& Keyset::statement(std::unique_ptr<Statement>& st, const char* direction)
{
    if (!st)
        st = std::make_unique<Statement>(m_db,
            QStringLiteral("SELECT ") + m_qualifier + QStringLiteral(".rowid FROM ") + m_table
                + QStringLiteral(" AS ") + m_qualifier + QStringLiteral(" WHERE ") + m_qualifier
                + QStringLiteral(".rowid > ?1 AND ") + m_qualifier
                + QStringLiteral(".rowid <= ?3 ORDER BY ") + m_qualifier + QStringLiteral(".rowid ")
                + QLatin1String(direction) + QStringLiteral(" LIMIT ?2"));
    Statement& s = *st;
    s.reset();
    return s;
}

// Reads up to count keys (all with -1) of the gap from its lower end; fewer than asked means
// the gap is closed.
void Keyset::readForward(qint64 count)
{
    Statement& st = statement(m_next, "ASC");
    st.bind(1, m_last);
    st.bind(2, count);
    st.bind(3, upperBound());
    qint64 got = 0;
    try {
        while (st.step()) {
            m_last = st.int64(0);
            m_keys.push_back(m_last);
            ++got;
        }
    } catch (...) {
        st.reset();
        throw;
    }
    st.reset();
    const bool closed = count < 0 || got < count;
    if (m_total >= 0 && (closed || headSize() > tailStart()))
        correctCount(headSize() + qint64(m_tail.size()));
    if (closed) {
        // The head meets the tail: one list of keys in set order.
        m_keys.insert(m_keys.end(), m_tail.begin(), m_tail.end());
        m_tail.clear();
        m_total = -1;
        m_complete = true;
        m_next.reset();
        m_previous.reset();
        return;
    }
    if (m_total >= 0 && headSize() >= tailStart())
        closeGap(); // the count says the keys meet; a read makes sure no key lies between
}

// Reads up to count keys of the gap from its upper end, in front of the tail.
void Keyset::readBackward(qint64 count)
{
    Statement& st = statement(m_previous, "DESC");
    st.bind(1, m_last);
    st.bind(2, count);
    st.bind(3, upperBound());
    std::vector<qint64> read;
    try {
        while (st.step())
            read.push_back(st.int64(0));
    } catch (...) {
        st.reset();
        throw;
    }
    st.reset();
    for (const qint64 key : read)
        m_tail.push_front(key);
    if (!read.empty())
        m_tailFrom = read.back();
    if (headSize() > tailStart())
        correctCount(headSize() + qint64(m_tail.size()));
    // Nothing left between, or the count says so: the forward read finds what is left (no key
    // when the count was right) and joins the two.
    if (qint64(read.size()) < count || headSize() >= tailStart())
        closeGap();
}

// The count was made before another program added or removed rows.
void Keyset::correctCount(qint64 total)
{
    if (total == m_total)
        return;
    m_total = total;
    ++m_shifts;
}

qint64 Keyset::indexOf(qint64 key, qint64 guess)
{
    if (guess >= 0 && (guess < headSize() || (!m_complete && inTail(guess))) && at(guess) == key)
        return guess;
    qint64 from = 0;
    for (;;) {
        const auto it = std::find(m_keys.begin() + from, m_keys.end(), key);
        if (it != m_keys.end())
            return it - m_keys.begin();
        if (m_complete || m_rest)
            return -1;
        if (const auto t = std::find(m_tail.begin(), m_tail.end(), key); t != m_tail.end())
            return tailStart() + (t - m_tail.begin());
        // Keys come in rowid order from both ends, so only a key inside the gap is still to
        // be read.
        if (key <= m_last || key >= m_tailFrom)
            return -1;
        from = headSize();
        readForward(std::max(headSize(), FirstStep));
    }
}

void Keyset::beforeInsert()
{
    if (m_complete)
        return;
    // With the end read, a new row's key lies above the gap and is never read again.
    count();
    if (!m_complete && m_tailFrom == NoRowid)
        readBackward(1);
}

void Keyset::append(qint64 key)
{
    if (m_complete) {
        m_keys.push_back(key);
        return;
    }
    if (key > m_last && key < m_tailFrom) {
        // A row given a key inside the gap: read it in its place, then move it to the end.
        closeGap();
        if (const auto it = std::find(m_keys.begin(), m_keys.end(), key); it != m_keys.end())
            m_keys.erase(it);
        m_keys.push_back(key);
        return;
    }
    if (m_total < 0) {
        readAll();
        m_keys.push_back(key);
        return;
    }
    m_tail.push_back(key);
    ++m_total;
}

void Keyset::erase(qint64 index)
{
    if (index < headSize()) {
        m_keys.erase(m_keys.begin() + index);
    } else {
        m_tail.erase(m_tail.begin() + (index - tailStart()));
    }
    if (!m_complete && m_total >= 0)
        --m_total;
}

std::shared_ptr<Keyset> Keyset::copy() const
{
    if (m_complete)
        return std::make_shared<Keyset>(m_keys);
    if (m_rest)
        return std::make_shared<Keyset>(m_keys, m_rest);
    auto k = std::shared_ptr<Keyset>(new Keyset(m_keys));
    k->m_tail = m_tail;
    k->m_complete = false;
    k->m_total = m_total;
    k->m_db = m_db;
    k->m_table = m_table;
    k->m_qualifier = m_qualifier;
    k->m_last = m_last;
    k->m_tailFrom = m_tailFrom;
    k->m_shifts = m_shifts;
    return k;
}

} // namespace kv::engine
