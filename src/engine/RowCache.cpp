#include "engine/RowCache.h"

#include "engine/DataType.h"
#include "engine/DialectStatement.h"
#include "engine/Keyset.h"

#include <QStringDecoder>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv::engine {

namespace {
bool istDatum(int type)
{
    return type == dbDate || type == dbTime || type == dbTimeStamp;
}

int ziffern(const char* text, int anzahl)
{
    int wert = 0;
    for (int i = 0; i < anzahl; ++i) {
        const int ziffer = text[i] - '0';
        if (ziffer < 0 || ziffer > 9)
            return -1;
        wert = wert * 10 + ziffer;
    }
    return wert;
}

// "JJJJ-MM-TT" or "JJJJ-MM-TT hh:mm:ss" into day (JJJJMMTT) and time (hhmmss); false for any
// other text.
bool zerlegeDatum(const char* text, int length, int& tag, int& zeit)
{
    if ((length != 10 && length != 19) || text[4] != '-' || text[7] != '-')
        return false;
    const int jahr = ziffern(text, 4);
    const int monat = ziffern(text + 5, 2);
    const int tagImMonat = ziffern(text + 8, 2);
    if (jahr < 0 || monat < 0 || tagImMonat < 0)
        return false;
    tag = jahr * 10000 + monat * 100 + tagImMonat;
    zeit = 0;
    if (length == 19) {
        if (text[10] != ' ' || text[13] != ':' || text[16] != ':')
            return false;
        const int stunde = ziffern(text + 11, 2);
        const int minute = ziffern(text + 14, 2);
        const int sekunde = ziffern(text + 17, 2);
        if (stunde < 0 || minute < 0 || sekunde < 0)
            return false;
        zeit = stunde * 10000 + minute * 100 + sekunde;
    }
    return true;
}
// UTF-8 to UTF-16 without any set-up per text, which costs more than the decoding of the short
// texts of a page. Returns nullptr on anything but well-formed UTF-8, for Qt's decoder to handle.
char16_t* utf16Aus(const unsigned char* s, size_t n, char16_t* out)
{
    const unsigned char* const e = s + n;
    while (s < e) {
        // Most texts are mostly ASCII: sixteen bytes at once while no high bit is set.
#if defined(__SSE2__)
        while (e - s >= 16) {
            const __m128i sechzehn = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            if (_mm_movemask_epi8(sechzehn) != 0)
                break;
            const __m128i null = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(sechzehn, null));
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(sechzehn, null));
            s += 16;
            out += 16;
        }
#endif
        while (s < e && *s < 0x80)
            *out++ = static_cast<char16_t>(*s++);
        if (s == e)
            break;
        const unsigned c = *s;
        if (c >= 0xC2 && c < 0xE0 && e - s > 1 && (s[1] & 0xC0) == 0x80) {
            *out++ = static_cast<char16_t>(((c & 0x1F) << 6) | (s[1] & 0x3F));
            s += 2;
        } else if ((c & 0xF0) == 0xE0 && e - s > 2 && (s[1] & 0xC0) == 0x80
            && (s[2] & 0xC0) == 0x80) {
            const unsigned u = ((c & 0x0F) << 12) | ((s[1] & 0x3Fu) << 6) | (s[2] & 0x3Fu);
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))
                return nullptr;
            *out++ = static_cast<char16_t>(u);
            s += 3;
        } else if ((c & 0xF8) == 0xF0 && e - s > 3 && (s[1] & 0xC0) == 0x80 && (s[2] & 0xC0) == 0x80
            && (s[3] & 0xC0) == 0x80) {
            unsigned u = ((c & 0x07) << 18) | ((s[1] & 0x3Fu) << 12) | ((s[2] & 0x3Fu) << 6)
                | (s[3] & 0x3Fu);
            if (u < 0x10000 || u > 0x10FFFF)
                return nullptr;
            u -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (u >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (u & 0x3FF));
            s += 4;
        } else {
            return nullptr;
        }
    }
    return out;
}
// A QVariant holding wert, built in place: a record set hands out millions of values, and the
// out-of-line constructors cost more than the value. Only for types that QVariant keeps in its
// own storage (checked at compile time), exactly as its constructors keep them.
template <class T> QVariant imPlatz(T wert)
{
    static_assert(QVariant::Private::CanUseInternalSpace<T>);
    QVariant v;
    QVariant::Private& d = v.data_ptr();
    d = QVariant::Private(QMetaType::fromType<T>());
    new (&d.data.data) T(std::move(wert));
    return v;
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
            const auto spalten = static_cast<size_t>(m_columns);
            p.cells.erase(p.cells.begin() + static_cast<qsizetype>(k * spalten),
                p.cells.begin() + static_cast<qsizetype>((k + 1) * spalten));
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
        m_byKey.bind(sqlite3_bind_parameter_index(m_byKey.handle(), ":kv_key"), keys.at(index));
        const bool da = m_byKey.step();
        if (da)
            readInto(m_byKey, p, k);
        p.present[k] = da ? 1 : 0;
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
    const auto noetig = block.size + static_cast<qsizetype>(length) + 1;
    if (noetig > block.constAllocatedCapacity()) {
        auto [kopf, daten] = QTypedArrayData<char16_t>::allocate(std::max(noetig, 2 * block.size));
        QStringPrivate groesser(kopf, daten, block.size);
        if (block.size)
            std::memcpy(daten, block.data(), static_cast<size_t>(block.size) * sizeof(char16_t));
        block = std::move(groesser);
    }
    char16_t* anfang = block.data() + block.size;
    char16_t* ende = utf16Aus(utf8, length, anfang);
    if (!ende) {
        QStringDecoder utf8Decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        ende = reinterpret_cast<char16_t*>(utf8Decoder.appendToBuffer(
            reinterpret_cast<QChar*>(anfang),
            QByteArrayView(reinterpret_cast<const char*>(utf8), static_cast<qsizetype>(length))));
    }
    cell.bytes.offset = static_cast<quint32>(block.size);
    cell.bytes.length = static_cast<quint32>(ende - anfang);
    *ende++ = 0;
    block.size = ende - block.data();
}

void RowCache::appendBytes(Page& page, Cell& cell, const void* data, int length)
{
    const auto* daten = static_cast<const char*>(data);
    cell.bytes.offset = static_cast<quint32>(page.bytes.size());
    cell.bytes.length = static_cast<quint32>(length);
    if (length > 0)
        page.bytes.insert(page.bytes.end(), daten, daten + length);
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
            if (istDatum(m_types[static_cast<size_t>(i)]))
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

std::vector<std::unique_ptr<RowCache::Jahrestage>>& RowCache::tage()
{
    thread_local std::vector<std::unique_ptr<Jahrestage>> bloecke(10000);
    return bloecke;
}

QVariant RowCache::date(const Page& page, const Cell& cell, int type)
{
    const char* text = page.bytes.data() + cell.bytes.offset;
    const auto length = static_cast<int>(cell.bytes.length);
    int tag = 0;
    int zeit = 0;
    const bool zerlegt = zerlegeDatum(text, length, tag, zeit);
    const int jahr = tag / 10000;
    const int monat = tag / 100 % 100;
    const int tagImMonat = tag % 100;
    const qint64 schluessel = zerlegt ? qint64(tag) * 1000000 + zeit : -1;
    Jahrestage* jahresblock = nullptr;
    size_t platz = 0;
    if (zerlegt && zeit == 0 && monat >= 1 && monat <= 12 && tagImMonat >= 1 && tagImMonat <= 31) {
        auto& block = m_tage[static_cast<size_t>(jahr)];
        if (!block)
            block = std::make_unique<Jahrestage>();
        jahresblock = block.get();
        platz = static_cast<size_t>((monat - 1) * 31 + tagImMonat - 1);
        if (jahresblock->bekannt[platz])
            return QVariant(jahresblock->tage[platz]);
    } else if (zerlegt) {
        auto it = m_moments.find(schluessel);
        if (it != m_moments.end())
            return it->second;
    }
    QVariant wert = datatype::fromStorage(QVariant(QString::fromUtf8(text, length)), type);
    // Only a real date depends on the digits alone.
    if (wert.typeId() == QMetaType::QDateTime) {
        if (jahresblock) {
            jahresblock->tage[platz] = wert.toDateTime();
            jahresblock->bekannt[platz] = true;
        } else if (schluessel >= 0) {
            if (m_moments.size() > 50000)
                m_moments.clear();
            m_moments.emplace(schluessel, wert);
        }
    }
    return wert;
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
    return imPlatz(text(page, cell));
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
            return imPlatz(static_cast<int>(cell.integer));
        case dbCurrency:
        case dbSingle:
        case dbDouble:
        case dbFloat:
        case dbNumeric:
        case dbDecimal:
            return imPlatz(static_cast<double>(cell.integer));
        case dbBoolean:
            return imPlatz(cell.integer != 0);
        default:
            break;
        }
        break;
    case SQLITE_FLOAT:
        if (type != dbBoolean && !datatype::isTextType(type))
            return imPlatz(cell.real);
        break;
    case SQLITE_TEXT:
        if (istDatum(type))
            return date(page, cell, type);
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
    QVariant gespeichert;
    switch (cell.kind) {
    case SQLITE_INTEGER:
        gespeichert = QVariant(static_cast<qlonglong>(cell.integer));
        break;
    case SQLITE_FLOAT:
        gespeichert = QVariant(cell.real);
        break;
    case SQLITE_TEXT:
        gespeichert = textValue(page, cell);
        break;
    default:
        gespeichert = QVariant(
            QByteArray(page.bytes.data() + cell.bytes.offset, static_cast<int>(cell.bytes.length)));
        break;
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
    page.present.assign(n, 0);
    // A fresh block: texts handed out keep the old one alive.
    auto [kopf, daten] = QTypedArrayData<char16_t>::allocate(m_textHint);
    page.texts = QStringPrivate(kopf, daten, 0);
    struct Merke {
        RowCache& cache;
        Page& page;
        ~Merke() { cache.m_textHint = std::max<qsizetype>(page.texts.size * 5 / 4, 4096); }
    } merke { *this, page };
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
                page.present[k] = 1;
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
    QVariantList zeile;
    zeile.reserve(m_columns);
    for (int i = 0; i < m_columns; ++i)
        zeile.append(value(keys, index, i));
    return zeile;
}

} // namespace kv::engine
