#include "engine/RowCache.h"

#include "engine/DataType.h"
#include "engine/DialectStatement.h"
#include "engine/Keyset.h"

#include <cstring>

namespace kv::engine {

namespace {
bool istDatum(int type)
{
    return type == dbDate || type == dbTime || type == dbTimeStamp;
}

// "JJJJ-MM-TT" or "JJJJ-MM-TT hh:mm:ss" as one number; -1 for any other text.
qint64 datumsSchluessel(const char* text, int length)
{
    if (length != 10 && length != 19)
        return -1;
    static constexpr int stellen[] = { 0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18 };
    qint64 n = 0;
    for (int s : stellen) {
        const int ziffer = s < length ? text[s] - '0' : 0;
        if (ziffer < 0 || ziffer > 9)
            return -1;
        n = n * 10 + ziffer;
    }
    return n;
}
} // namespace

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
    m_last = nullptr;
}

void RowCache::readInto(Statement& st, Page& page, size_t row) const
{
    sqlite3_stmt* h = st.handle();
    Cell* cells = page.cells.data() + row * static_cast<size_t>(m_columns);
    for (int i = 0; i < m_columns; ++i) {
        Cell& c = cells[i];
        c.kind = sqlite3_column_type(h, i);
        switch (c.kind) {
        case SQLITE_INTEGER:
            c.integer = sqlite3_column_int64(h, i);
            break;
        case SQLITE_FLOAT:
            c.real = sqlite3_column_double(h, i);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const char* daten = c.kind == SQLITE_TEXT
                ? reinterpret_cast<const char*>(sqlite3_column_text(h, i))
                : static_cast<const char*>(sqlite3_column_blob(h, i));
            const int laenge = sqlite3_column_bytes(h, i);
            c.bytes.offset = static_cast<quint32>(page.bytes.size());
            c.bytes.length = static_cast<quint32>(laenge);
            if (laenge > 0)
                page.bytes.insert(page.bytes.end(), daten, daten + laenge);
            break;
        }
        default:
            c.kind = SQLITE_NULL;
            break;
        }
    }
}

QVariant RowCache::date(const char* text, int length, int type)
{
    const qint64 schluessel = datumsSchluessel(text, length);
    const qint64 tag = schluessel / 1000000; // JJJJMMTT
    const int jahr = static_cast<int>(tag / 10000);
    const int monat = static_cast<int>(tag / 100 % 100);
    const int tagImMonat = static_cast<int>(tag % 100);
    QDateTime* platz = nullptr;
    if (schluessel >= 0 && schluessel % 1000000 == 0 && monat >= 1 && monat <= 12 && tagImMonat >= 1
        && tagImMonat <= 31) {
        if (m_days.empty())
            m_days.resize(10000);
        auto& block = m_days[static_cast<size_t>(jahr)];
        if (!block)
            block = std::make_unique<std::array<QDateTime, 12 * 31>>();
        platz = &(*block)[static_cast<size_t>((monat - 1) * 31 + tagImMonat - 1)];
        if (!platz->isNull())
            return QVariant(*platz);
    } else if (schluessel >= 0) {
        auto it = m_moments.find(schluessel);
        if (it != m_moments.end())
            return it->second;
    }
    QVariant wert = datatype::fromStorage(QVariant(QString::fromUtf8(text, length)), type);
    // Only a real date depends on the digits alone.
    if (wert.typeId() == QMetaType::QDateTime) {
        if (platz) {
            *platz = wert.toDateTime();
        } else if (schluessel >= 0) {
            if (m_moments.size() > 50000)
                m_moments.clear();
            m_moments.emplace(schluessel, wert);
        }
    }
    return wert;
}

QVariant RowCache::convert(const Page& page, const Cell& cell, int type)
{
    QVariant gespeichert;
    switch (cell.kind) {
    case SQLITE_INTEGER:
        // The usual pairs directly; the rest as the data types convert them.
        switch (type) {
        case dbByte:
        case dbInteger:
        case dbLong:
            return QVariant(static_cast<int>(cell.integer));
        case dbCurrency:
        case dbSingle:
        case dbDouble:
        case dbFloat:
        case dbNumeric:
        case dbDecimal:
            return QVariant(static_cast<double>(cell.integer));
        case dbBoolean:
            return QVariant(cell.integer != 0);
        default:
            gespeichert = QVariant(static_cast<qlonglong>(cell.integer));
            break;
        }
        break;
    case SQLITE_FLOAT:
        if (type != dbBoolean && !datatype::isTextType(type))
            return QVariant(cell.real);
        gespeichert = QVariant(cell.real);
        break;
    case SQLITE_TEXT: {
        const char* text = page.bytes.data() + cell.bytes.offset;
        const int laenge = static_cast<int>(cell.bytes.length);
        if (istDatum(type))
            return date(text, laenge, type);
        gespeichert = QVariant(QString::fromUtf8(text, laenge));
        if (type != dbBoolean)
            return gespeichert; // text stays text for every other type
        break;
    }
    case SQLITE_BLOB:
        gespeichert = QVariant(
            QByteArray(page.bytes.data() + cell.bytes.offset, static_cast<int>(cell.bytes.length)));
        break;
    default:
        return QVariant();
    }
    return type == 0 ? gespeichert : datatype::fromStorage(gespeichert, type);
}

void RowCache::fill(Page& page, Keyset& keys)
{
    const qint64 von = page.first;
    keys.has(von + PageSize - 1); // the page's keys are read before its rows
    const qint64 bis = std::min<qint64>(von + PageSize, keys.loaded());
    const auto n = static_cast<size_t>(bis - von);
    // The vectors keep their capacity from the page's last use.
    page.cells.resize(n * static_cast<size_t>(m_columns));
    page.bytes.clear();
    page.present.assign(n, false);
    bool aufsteigend = true;
    for (qint64 i = von + 1; i < bis && aufsteigend; ++i)
        aufsteigend = keys.at(i) > keys.at(i - 1);
    const qint64 kleinster = keys.at(von);
    const qint64 groesster = keys.at(bis - 1);
    if (aufsteigend && groesster - kleinster < 4 * PageSize) {
        Statement& st = m_byRange;
        st.reset();
        st.bind(sqlite3_bind_parameter_index(st.handle(), ":kv_von"), kleinster);
        st.bind(sqlite3_bind_parameter_index(st.handle(), ":kv_bis"), groesster);
        size_t k = 0;
        while (k < n && st.step()) {
            const qint64 rowid = st.int64(m_columns);
            while (k < n && keys.at(von + static_cast<qint64>(k)) < rowid)
                ++k; // keys whose rows have gone
            if (k < n && keys.at(von + static_cast<qint64>(k)) == rowid) {
                readInto(st, page, k);
                page.present[k] = true;
                ++k;
            }
        }
        st.reset();
        return;
    }
    const int idx = sqlite3_bind_parameter_index(m_byKey.handle(), ":kv_key");
    for (size_t k = 0; k < n; ++k) {
        m_byKey.reset();
        m_byKey.bind(idx, keys.at(von + static_cast<qint64>(k)));
        if (m_byKey.step()) {
            readInto(m_byKey, page, k);
            page.present[k] = true;
        }
    }
    m_byKey.reset();
}

RowCache::Page& RowCache::page(Keyset& keys, qint64 index)
{
    const qint64 first = (index / PageSize) * PageSize;
    if (m_last && m_last->first == first)
        return *m_last;
    Page* page = nullptr;
    for (Page& p : m_pages)
        if (p.first == first)
            page = &p;
    if (!page) {
        if (static_cast<int>(m_pages.size()) < MaxPages) {
            m_pages.reserve(MaxPages); // pointers into it stay valid
            m_pages.emplace_back();
            page = &m_pages.back();
        } else {
            page = &*std::min_element(m_pages.begin(), m_pages.end(),
                [](const Page& a, const Page& b) { return a.used < b.used; });
        }
        page->first = first;
        m_last = nullptr;
        try {
            fill(*page, keys);
        } catch (...) {
            page->first = -1;
            throw;
        }
    }
    page->used = ++m_clock;
    m_last = page;
    return *page;
}

bool RowCache::present(Keyset& keys, qint64 index)
{
    const Page& p = page(keys, index);
    const auto k = static_cast<size_t>(index - p.first);
    return k < p.present.size() && p.present[k];
}

QVariant RowCache::value(Keyset& keys, qint64 index, int column)
{
    const Page& p = page(keys, index);
    const auto k = static_cast<size_t>(index - p.first);
    const Cell& c = p.cells[k * static_cast<size_t>(m_columns) + static_cast<size_t>(column)];
    return convert(p, c, m_types[static_cast<size_t>(column)]);
}

QVariantList RowCache::values(Keyset& keys, qint64 index)
{
    QVariantList zeile;
    zeile.reserve(m_columns);
    for (int i = 0; i < m_columns; ++i)
        zeile.append(value(keys, index, i));
    return zeile;
}

} // namespace kv::engine
