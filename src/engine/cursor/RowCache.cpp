#include "engine/cursor/RowCache.h"

#include "engine/core/DataType.h"
#include "engine/cursor/Keyset.h"
#include "engine/cursor/Utf8Decoder.h"
#include "engine/sql/DialectStatement.h"

#include <QStringDecoder>
#include <cstring>

namespace kv::engine {

namespace {
bool isDate(int type)
{
    return type == dbDate || type == dbTime || type == dbTimeStamp;
}

// A QVariant holding value, built in place: a record set hands out millions of values, and the
// out-of-line constructors cost more than the value. Only for types that QVariant keeps in its
// own storage (checked at compile time), exactly as its constructors keep them.
template <class T> QVariant inPlace(T value)
{
    static_assert(QVariant::Private::CanUseInternalSpace<T>);
    QVariant v;
    QVariant::Private& d = v.data_ptr();
    d = QVariant::Private(QMetaType::fromType<T>());
    new (&d.data.data) T(std::move(value));
    return v;
}
} // namespace

RowCache::RowCache(sqlite3* db, const QString& sql, std::vector<int> types,
    const QStringList& parameterNames, const QList<Parameter>& parameters)
    : m_byKey(db, sql + QStringLiteral(" WHERE kv_rowid = :kv_key"))
    , m_byRange(
          db, sql + QStringLiteral(" WHERE kv_rowid BETWEEN :kv_from AND :kv_to ORDER BY kv_rowid"))
    , m_types(std::move(types))
    , m_columns(static_cast<int>(m_types.size()))
{
    // Calculated columns may use the statement's parameters.
    if (!parameterNames.isEmpty()) {
        sql::DialectStatement::bind(m_byKey, parameterNames, parameters);
        sql::DialectStatement::bind(m_byRange, parameterNames, parameters);
    }
}

void RowCache::clear()
{
    m_pages.clear();
    m_last = nullptr;
    m_rowIndex = -1;
}

void RowCache::forgetFrom(qint64 index)
{
    const qint64 first = index & ~(PageSize - 1);
    for (Page& p : m_pages)
        if (p.first >= first)
            p.first = -1;
    m_last = nullptr;
    m_rowIndex = -1;
}

void RowCache::removeRow(qint64 index)
{
    const qint64 first = index & ~(PageSize - 1);
    forgetFrom(first + PageSize);
    for (Page& p : m_pages) {
        if (p.first != first)
            continue;
        const auto k = static_cast<size_t>(index - first);
        if (k < p.present.size()) {
            const auto columns = static_cast<size_t>(m_columns);
            p.cells.erase(p.cells.begin() + static_cast<qsizetype>(k * columns),
                p.cells.begin() + static_cast<qsizetype>((k + 1) * columns));
            p.present.erase(p.present.begin() + static_cast<qsizetype>(k));
        }
    }
}

void RowCache::refreshRow(Keyset& keys, qint64 index)
{
    const qint64 first = index & ~(PageSize - 1);
    m_rowIndex = -1;
    for (Page& p : m_pages) {
        if (p.first != first)
            continue;
        const auto k = static_cast<size_t>(index - first);
        if (k >= p.present.size()) {
            forgetFrom(index);
            return;
        }
        // Texts handed out keep their block; the row's new texts are appended to the page's.
        m_byKey.reset();
        m_byKey.bind(m_byKey.parameterIndex(":kv_key"), keys.at(index));
        const bool found = m_byKey.step();
        if (found)
            readInto(m_byKey, p, k);
        p.present[k] = found ? 1 : 0;
        m_byKey.reset();
        return;
    }
}

const RowCache::Cell* RowCache::findRow(Keyset& keys, qint64 index)
{
    Page& p = page(keys, index);
    const auto k = static_cast<size_t>(index - p.first);
    if (k >= p.present.size() && keys.has(index)) {
        // A page that closed gaps of deleted rows has no row for its last keys yet.
        p.first = -1;
        m_last = nullptr;
        return findRow(keys, index);
    }
    m_rowIndex = index;
    m_rowPage = &p;
    m_row = k < p.present.size() && p.present[k] != 0
        ? p.cells.data() + k * static_cast<size_t>(m_columns)
        : nullptr;
    return m_row;
}

void RowCache::appendText(Page& page, Cell& cell, const unsigned char* utf8, size_t length)
{
    // UTF-8 never takes more UTF-16 units than bytes; one more for the terminating zero. Views
    // are handed out only after the fill, so the block may still move.
    QStringPrivate& block = page.texts;
    const auto needed = block.size + static_cast<qsizetype>(length) + 1;
    if (needed > block.constAllocatedCapacity()) {
        auto [header, data] = QTypedArrayData<char16_t>::allocate(std::max(needed, 2 * block.size));
        QStringPrivate larger(header, data, block.size);
        if (block.size)
            std::memcpy(data, block.data(), static_cast<size_t>(block.size) * sizeof(char16_t));
        block = std::move(larger);
    }
    char16_t* begin = block.data() + block.size;
    char16_t* end = decodeUtf8(utf8, length, begin);
    if (!end) {
        QStringDecoder utf8Decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        end = reinterpret_cast<char16_t*>(utf8Decoder.appendToBuffer(
            reinterpret_cast<QChar*>(begin),
            QByteArrayView(reinterpret_cast<const char*>(utf8), static_cast<qsizetype>(length))));
    }
    cell.bytes.offset = static_cast<quint32>(block.size);
    cell.bytes.length = static_cast<quint32>(end - begin);
    *end++ = 0;
    block.size = end - block.data();
}

void RowCache::appendBytes(Page& page, Cell& cell, const void* data, int length)
{
    const auto* bytes = static_cast<const char*>(data);
    cell.bytes.offset = static_cast<quint32>(page.bytes.size());
    cell.bytes.length = static_cast<quint32>(length);
    if (length > 0)
        page.bytes.insert(page.bytes.end(), bytes, bytes + length);
}

void RowCache::readInto(Statement& st, Page& page, size_t row)
{
    sqlite3_stmt* h = st.handle();
    Cell* cells = page.cells.data() + row * static_cast<size_t>(m_columns);
    for (int i = 0; i < m_columns; ++i) {
        Cell& c = cells[i];
        // One value handle per column spares the per-call checks of the column functions.
        sqlite3_value* v = sqlite3_column_value(h, i);
        c.kind = sqlite3_value_type(v);
        switch (c.kind) {
        case SQLITE_INTEGER:
            c.integer = sqlite3_value_int64(v);
            break;
        case SQLITE_FLOAT:
            c.real = sqlite3_value_double(v);
            break;
        case SQLITE_TEXT: {
            const unsigned char* text = sqlite3_value_text(v);
            // Dates are read from their digits and seldom need a QString.
            if (isDate(m_types[static_cast<size_t>(i)]))
                appendBytes(page, c, text, sqlite3_value_bytes(v));
            else
                appendText(page, c, text, static_cast<size_t>(sqlite3_value_bytes(v)));
            break;
        }
        case SQLITE_BLOB:
            appendBytes(page, c, sqlite3_value_blob(v), sqlite3_value_bytes(v));
            break;
        default:
            c.kind = SQLITE_NULL;
            break;
        }
    }
}

QString RowCache::text(const Page& page, const Cell& cell)
{
    if (cell.bytes.length == 0)
        return QStringLiteral("");
    QStringPrivate& block = const_cast<QStringPrivate&>(page.texts);
    block.d_ptr()->ref();
    return QString(
        QStringPrivate(block.d_ptr(), block.data() + cell.bytes.offset, cell.bytes.length));
}

QVariant RowCache::textValue(const Page& page, const Cell& cell)
{
    // Moved into place: copying a QString into a QVariant would count the block's references up
    // and down once more per value.
    return inPlace(text(page, cell));
}

QVariant RowCache::convert(Page& page, const Cell& cell, int type)
{
    // The usual pairs directly, without a stored value to convert and destroy.
    switch (cell.kind) {
    case SQLITE_INTEGER:
        switch (type) {
        case dbByte:
        case dbInteger:
        case dbLong:
            return inPlace(static_cast<int>(cell.integer));
        case dbCurrency:
        case dbSingle:
        case dbDouble:
        case dbFloat:
        case dbNumeric:
        case dbDecimal:
            return inPlace(static_cast<double>(cell.integer));
        case dbBoolean:
            return inPlace(cell.integer != 0);
        default:
            break;
        }
        break;
    case SQLITE_FLOAT:
        if (type != dbBoolean && !datatype::isTextType(type))
            return inPlace(cell.real);
        break;
    case SQLITE_TEXT:
        if (isDate(type))
            return m_dates.value(
                page.bytes.data() + cell.bytes.offset, static_cast<int>(cell.bytes.length), type);
        if (type != dbBoolean)
            return textValue(page, cell); // text stays text for every other type
        break;
    case SQLITE_BLOB:
        break;
    default:
        return QVariant();
    }
    return convertStored(page, cell, type);
}

QVariant RowCache::convertStored(const Page& page, const Cell& cell, int type)
{
    // The rest as the data types convert them.
    QVariant stored;
    switch (cell.kind) {
    case SQLITE_INTEGER:
        stored = QVariant(static_cast<qlonglong>(cell.integer));
        break;
    case SQLITE_FLOAT:
        stored = QVariant(cell.real);
        break;
    case SQLITE_TEXT:
        stored = textValue(page, cell);
        break;
    default:
        stored = QVariant(
            QByteArray(page.bytes.data() + cell.bytes.offset, static_cast<int>(cell.bytes.length)));
        break;
    }
    return type == 0 ? stored : datatype::fromStorage(stored, type);
}

void RowCache::fill(Page& page, Keyset& keys)
{
    const qint64 from = page.first;
    keys.has(from + PageSize - 1); // the page's keys are read before its rows
    const qint64 to = std::min<qint64>(from + PageSize, keys.loaded());
    keys.load(from, to - 1); // a page at the end of a half-read set may reach into its gap
    const auto n = static_cast<size_t>(to - from);
    // The vectors keep their capacity from the page's last use.
    page.cells.resize(n * static_cast<size_t>(m_columns));
    page.bytes.clear();
    page.present.assign(n, 0);
    // A fresh block: texts handed out keep the old one alive.
    auto [header, data] = QTypedArrayData<char16_t>::allocate(m_textHint);
    page.texts = QStringPrivate(header, data, 0);
    struct NoteSize {
        RowCache& cache;
        Page& page;
        ~NoteSize() { cache.m_textHint = std::max<qsizetype>(page.texts.size * 5 / 4, 4096); }
    } noteSize { *this, page };
    bool ascending = true;
    for (qint64 i = from + 1; i < to && ascending; ++i)
        ascending = keys.at(i) > keys.at(i - 1);
    const qint64 smallest = keys.at(from);
    const qint64 largest = keys.at(to - 1);
    if (ascending && largest - smallest < 4 * PageSize) {
        Statement& st = m_byRange;
        st.reset();
        st.bind(st.parameterIndex(":kv_from"), smallest);
        st.bind(st.parameterIndex(":kv_to"), largest);
        size_t k = 0;
        while (k < n && st.step()) {
            const qint64 rowid = st.int64(m_columns);
            while (k < n && keys.at(from + static_cast<qint64>(k)) < rowid)
                ++k; // keys whose rows have gone
            if (k < n && keys.at(from + static_cast<qint64>(k)) == rowid) {
                readInto(st, page, k);
                page.present[k] = 1;
                ++k;
            }
        }
        st.reset();
        return;
    }
    const int idx = m_byKey.parameterIndex(":kv_key");
    for (size_t k = 0; k < n; ++k) {
        m_byKey.reset();
        m_byKey.bind(idx, keys.at(from + static_cast<qint64>(k)));
        if (m_byKey.step()) {
            readInto(m_byKey, page, k);
            page.present[k] = 1;
        }
    }
    m_byKey.reset();
}

RowCache::Page& RowCache::load(Keyset& keys, qint64 first)
{
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
        m_rowIndex = -1;
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

QVariantList RowCache::values(Keyset& keys, qint64 index)
{
    QVariantList row;
    row.reserve(m_columns);
    for (int i = 0; i < m_columns; ++i)
        row.append(value(keys, index, i));
    return row;
}

} // namespace kv::engine
