#include "engine/RowCache.h"

#include "engine/DataType.h"
#include "engine/DialectStatement.h"
#include "engine/Keyset.h"

#include <QStringDecoder>
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
// UTF-8 to UTF-16 without any set-up per text, which costs more than the decoding of the short
// texts of a page. Returns nullptr on anything but well-formed UTF-8, for Qt's decoder to handle.
char16_t* utf16Aus(const unsigned char* s, size_t n, char16_t* out)
{
    const unsigned char* const e = s + n;
    while (s < e) {
        const unsigned c = *s;
        if (c < 0x80) {
            *out++ = static_cast<char16_t>(c);
            ++s;
        } else if (c >= 0xC2 && c < 0xE0 && e - s > 1 && (s[1] & 0xC0) == 0x80) {
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

std::vector<std::unique_ptr<RowCache::Jahrestage>>& RowCache::tage()
{
    thread_local std::vector<std::unique_ptr<Jahrestage>> bloecke(10000);
    return bloecke;
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
        auto& block = tage()[static_cast<size_t>(jahr)];
        if (!block)
            block = std::make_unique<Jahrestage>();
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

void RowCache::decodeTexts(Page& page)
{
    // UTF-8 never takes more UTF-16 units than bytes; one more for each terminating zero.
    const auto kapazitaet = static_cast<qsizetype>(page.bytes.size() + page.cells.size() + 1);
    auto [kopf, daten] = QTypedArrayData<char16_t>::allocate(kapazitaet);
    QStringPrivate block(kopf, daten, 0);
    page.textAt.assign(page.cells.size(), { 0, 0 });
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    char16_t* ende = daten;
    for (size_t i = 0; i < page.cells.size(); ++i) {
        const Cell& c = page.cells[i];
        if (c.kind != SQLITE_TEXT || c.bytes.length == 0)
            continue;
        char16_t* anfang = ende;
        const char* utf8Text = page.bytes.data() + c.bytes.offset;
        ende = utf16Aus(reinterpret_cast<const unsigned char*>(utf8Text), c.bytes.length, anfang);
        if (!ende)
            ende = reinterpret_cast<char16_t*>(utf8.appendToBuffer(
                reinterpret_cast<QChar*>(anfang), QByteArrayView(utf8Text, c.bytes.length)));
        page.textAt[i]
            = { static_cast<quint32>(anfang - daten), static_cast<quint32>(ende - anfang) };
        *ende++ = 0; // QString hands out its data zero-terminated
    }
    block.size = ende - daten;
    page.texts = std::move(block);
}

QString RowCache::text(Page& page, const Cell& cell)
{
    if (cell.bytes.length == 0)
        return QString::fromUtf8(page.bytes.data(), 0);
    if (!page.texts.d_ptr())
        decodeTexts(page);
    const auto [von, laenge] = page.textAt[static_cast<size_t>(&cell - page.cells.data())];
    page.texts.d_ptr()->ref();
    return QString(QStringPrivate(page.texts.d_ptr(), page.texts.data() + von, laenge));
}

QVariant RowCache::convert(Page& page, const Cell& cell, int type)
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
        gespeichert = QVariant(this->text(page, cell));
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
    page.texts = QStringPrivate(); // texts handed out keep the old block alive
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
    Page& p = page(keys, index);
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
