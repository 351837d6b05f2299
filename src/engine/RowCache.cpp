#include "engine/RowCache.h"

#include "engine/DataType.h"
#include "engine/DialectStatement.h"

namespace kv::engine {

RowCache::RowCache(sqlite3* db, const QString& sql, std::vector<int> types,
    const QStringList& parameterNames, const QList<Parameter>& parameters)
    : m_byKey(db, sql + QStringLiteral(" WHERE kv_rowid = :kv_key"))
    , m_byRange(
          db, sql + QStringLiteral(" WHERE kv_rowid BETWEEN :kv_von AND :kv_bis ORDER BY kv_rowid"))
    , m_types(std::move(types))
    , m_columns(static_cast<int>(m_types.size()))
{
    // Calculated columns may use the statement's parameters.
    if (!parameterNames.isEmpty()) {
        DialectStatement::bind(m_byKey, parameterNames, parameters);
        DialectStatement::bind(m_byRange, parameterNames, parameters);
    }
}

void RowCache::clear()
{
    m_pages.clear();
}

void RowCache::readInto(Statement& st, QVariantList& row) const
{
    row.clear();
    row.reserve(m_columns);
    for (int i = 0; i < m_columns; ++i) {
        const int typ = m_types[static_cast<size_t>(i)];
        if (typ == 0) {
            row.append(st.value(i));
        } else if (typ == dbDate && sqlite3_column_type(st.handle(), i) == SQLITE_TEXT) {
            const QString text = st.value(i).toString();
            auto it = m_daten.constFind(text);
            if (it == m_daten.constEnd()) {
                if (m_daten.size() > 50000)
                    m_daten.clear();
                it = m_daten.insert(text, datatype::fromStorage(QVariant(text), typ));
            }
            row.append(it.value());
        } else {
            row.append(datatype::fromStorage(st.value(i), typ));
        }
    }
}

bool RowCache::readRow(qint64 key, QVariantList& row)
{
    const int idx = sqlite3_bind_parameter_index(m_byKey.handle(), ":kv_key");
    m_byKey.reset();
    m_byKey.bind(idx, key);
    const bool da = m_byKey.step();
    if (da)
        readInto(m_byKey, row);
    m_byKey.reset();
    return da;
}

void RowCache::fill(Page& page, const std::vector<qint64>& keys)
{
    const qint64 von = page.first;
    const qint64 bis = std::min<qint64>(von + PageSize, static_cast<qint64>(keys.size()));
    const auto n = static_cast<size_t>(bis - von);
    page.rows.assign(n, QVariantList());
    page.present.assign(n, false);
    bool aufsteigend = true;
    for (qint64 i = von + 1; i < bis && aufsteigend; ++i)
        aufsteigend = keys[static_cast<size_t>(i)] > keys[static_cast<size_t>(i - 1)];
    const qint64 kleinster = keys[static_cast<size_t>(von)];
    const qint64 groesster = keys[static_cast<size_t>(bis - 1)];
    if (aufsteigend && groesster - kleinster < 4 * PageSize) {
        Statement& st = m_byRange;
        st.reset();
        st.bind(sqlite3_bind_parameter_index(st.handle(), ":kv_von"), kleinster);
        st.bind(sqlite3_bind_parameter_index(st.handle(), ":kv_bis"), groesster);
        size_t k = 0;
        while (k < n && st.step()) {
            const qint64 rowid = st.int64(m_columns);
            while (k < n && keys[static_cast<size_t>(von) + k] < rowid)
                ++k; // keys whose rows have gone
            if (k < n && keys[static_cast<size_t>(von) + k] == rowid) {
                readInto(st, page.rows[k]);
                page.present[k] = true;
                ++k;
            }
        }
        st.reset();
        return;
    }
    for (size_t k = 0; k < n; ++k)
        page.present[k] = readRow(keys[static_cast<size_t>(von) + k], page.rows[k]);
}

const QVariantList* RowCache::row(const std::vector<qint64>& keys, qint64 index)
{
    const qint64 first = (index / PageSize) * PageSize;
    Page* page = nullptr;
    for (Page& p : m_pages)
        if (p.first == first)
            page = &p;
    if (!page) {
        if (static_cast<int>(m_pages.size()) < MaxPages) {
            m_pages.emplace_back();
            page = &m_pages.back();
        } else {
            page = &*std::min_element(m_pages.begin(), m_pages.end(),
                [](const Page& a, const Page& b) { return a.used < b.used; });
        }
        page->first = first;
        try {
            fill(*page, keys);
        } catch (...) {
            page->first = -1;
            throw;
        }
    }
    page->used = ++m_clock;
    const auto k = static_cast<size_t>(index - first);
    if (k >= page->rows.size() || !page->present[k])
        return nullptr;
    return &page->rows[k];
}

} // namespace kv::engine
