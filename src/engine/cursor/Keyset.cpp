#include "engine/cursor/Keyset.h"

#include <algorithm>
#include <limits>

namespace kv::engine {

namespace {
// The first step covers a screen or two; later steps double what is known.
constexpr qint64 FirstStep = 512;
} // namespace

Keyset::Keyset(std::vector<qint64> keys)
    : m_keys(std::move(keys))
{ }

Keyset::Keyset(sqlite3* db, const QString& table, const QString& qualifier)
    : m_complete(false)
    , m_db(db)
    , m_table(table)
    , m_qualifier(qualifier)
    , m_last(std::numeric_limits<qint64>::min())
{
    read(FirstStep);
}

qint64 Keyset::size()
{
    readAll();
    return loaded();
}

void Keyset::readAll()
{
    if (m_complete)
        return;
    // Untouched capacity costs no memory, so the upper bound from the largest rowid is cheap.
    Statement highest(m_db, QStringLiteral("SELECT max(rowid) FROM ") + m_table);
    if (highest.step() && !highest.isNull(0) && m_last > std::numeric_limits<qint64>::min()) {
        const qint64 rest = highest.int64(0) - m_last;
        if (rest > 0 && rest < (qint64(1) << 26))
            m_keys.reserve(m_keys.size() + static_cast<size_t>(rest));
    }
    read(-1);
}

bool Keyset::readUpTo(qint64 index)
{
    while (!m_complete && index >= loaded())
        read(std::max(index + 1 - loaded(), loaded()));
    return index < loaded();
}

void Keyset::read(qint64 count)
{
    if (!m_next)
        m_next = std::make_unique<Statement>(m_db,
            QStringLiteral("SELECT ") + m_qualifier + QStringLiteral(".rowid FROM ") + m_table
                + QStringLiteral(" AS ") + m_qualifier + QStringLiteral(" WHERE ") + m_qualifier
                + QStringLiteral(".rowid > ?1 ORDER BY ") + m_qualifier
                + QStringLiteral(".rowid LIMIT ?2"));
    Statement& st = *m_next;
    st.reset();
    st.bind(1, m_last);
    st.bind(2, count);
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
    if (count < 0 || got < count) {
        m_complete = true;
        m_next.reset();
    }
}

qint64 Keyset::indexOf(qint64 key, qint64 guess)
{
    if (guess >= 0 && guess < loaded() && at(guess) == key)
        return guess;
    qint64 from = 0;
    for (;;) {
        const auto it = std::find(m_keys.begin() + from, m_keys.end(), key);
        if (it != m_keys.end())
            return it - m_keys.begin();
        if (m_complete)
            return -1;
        from = loaded();
        // Keys come in rowid order, so a key below the last one read is not in the set.
        if (key <= m_last)
            return -1;
        readUpTo(loaded());
    }
}

void Keyset::append(qint64 key)
{
    readAll();
    m_keys.push_back(key);
}

void Keyset::erase(qint64 index)
{
    m_keys.erase(m_keys.begin() + index);
}

std::shared_ptr<Keyset> Keyset::copy() const
{
    if (m_complete)
        return std::make_shared<Keyset>(m_keys);
    auto k = std::shared_ptr<Keyset>(new Keyset(m_keys));
    k->m_complete = false;
    k->m_db = m_db;
    k->m_table = m_table;
    k->m_qualifier = m_qualifier;
    k->m_last = m_last;
    return k;
}

} // namespace kv::engine
