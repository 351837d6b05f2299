#include "engine/isam/BiffBook.h"

#include "engine/isam/BiffText.h"
#include "engine/isam/ExcelNumberFormat.h"
#include "engine/isam/LittleEndian.h"

#include <algorithm>
#include <cmath>

namespace kv::engine::isam {

namespace {

enum : uint16_t {
    Blank2 = 0x0001,
    Integer2 = 0x0002,
    Number2 = 0x0003,
    Label2 = 0x0004,
    BoolErr2 = 0x0005,
    Formula = 0x0006, // BIFF2, 5 and 8
    String2 = 0x0007,
    Eof = 0x000A,
    Format23 = 0x001E,
    DateMode = 0x0022,
    FilePass = 0x002F,
    Continue = 0x003C,
    CodePageRecord = 0x0042,
    Xf2 = 0x0043,
    BoundSheet = 0x0085,
    MulRk = 0x00BD,
    RString = 0x00D6,
    Xf58 = 0x00E0,
    Sst = 0x00FC,
    LabelSst = 0x00FD,
    Number = 0x0203,
    Label = 0x0204,
    BoolErr = 0x0205,
    Formula3 = 0x0206,
    String = 0x0207,
    Xf3 = 0x0243,
    Rk = 0x027E,
    Formula4 = 0x0406,
    Format45 = 0x041E,
    Xf4 = 0x0443,
};

constexpr int MaxColumns = 256;

[[noreturn]] void damaged(const char* reason)
{
    throw DamagedInput { QString::fromUtf8(reason) };
}

bool isBof(uint16_t id)
{
    return id == 0x0009 || id == 0x0209 || id == 0x0409 || id == 0x0809;
}

struct Record {
    uint16_t id = 0;
    const char* data = nullptr;
    qsizetype size = 0;
    LittleEndian read() const { return LittleEndian(data, size); }
};

/// The records of a stream from an offset on; a record reaching past the end is damage.
class Records {
public:
    Records(const QByteArray& stream, qsizetype at)
        : m_stream(stream)
        , m_at(at)
    { }

    bool next(Record& r)
    {
        const LittleEndian s(m_stream);
        if (m_at >= m_stream.size())
            return false;
        if (!s.has(m_at, 4))
            damaged("die Arbeitsmappe endet mitten in einem Eintrag");
        r.id = s.u16(m_at);
        r.size = s.u16(m_at + 2);
        if (!s.has(m_at + 4, r.size))
            damaged("die Arbeitsmappe endet mitten in einem Eintrag");
        r.data = s.data() + m_at + 4;
        m_at += 4 + r.size;
        return true;
    }

    /// The record and the CONTINUE records after it, as the pieces a text may span.
    std::vector<QByteArrayView> withContinues(const Record& first, qsizetype skip = 0)
    {
        std::vector<QByteArrayView> parts;
        parts.emplace_back(
            first.data + std::min(skip, first.size), first.size - std::min(skip, first.size));
        const LittleEndian s(m_stream);
        while (s.has(m_at, 4) && s.u16(m_at) == Continue) {
            Record c;
            next(c);
            parts.emplace_back(c.data, c.size);
        }
        return parts;
    }

private:
    const QByteArray& m_stream;
    qsizetype m_at;
};

CodePage biffCodePage(int number)
{
    // 0x8000 and 0x8001 are the old formats' names for Mac Roman and Windows ANSI; 1200 marks
    // the Unicode strings of the 1997 format, whose few byte strings are Windows ANSI.
    if (number == 0x8000)
        number = 10000;
    else if (number == 0x8001 || number == 1200 || number == 367)
        number = 1252;
    const CodePage cp = CodePage::fromNumber(number);
    return cp.isValid() ? cp : CodePage::fromNumber(1252);
}

double rkValue(uint32_t rk)
{
    double v;
    if (rk & 0x02) {
        v = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100.0 : v;
}

} // namespace

BiffBook::BiffBook(QByteArray stream, const QString& sheetName)
    : m_stream(std::move(stream))
{
    readGlobals();
    if (m_version <= 4)
        m_sheets.push_back({ sheetName, 0 });
}

QStringList BiffBook::sheetNames() const
{
    QStringList names;
    for (const Sheet& s : m_sheets)
        names.append(s.name);
    return names;
}

void BiffBook::readGlobals()
{
    Records records(m_stream, 0);
    Record r;
    if (!LittleEndian(m_stream).has(0, 2) || !isBof(LittleEndian(m_stream).u16(0))
        || !records.next(r))
        damaged("kein Anfang einer Excel-Arbeitsmappe");
    const LittleEndian bof = r.read();
    switch (r.id) {
    case 0x0009:
        m_version = 2;
        break;
    case 0x0209:
        m_version = 3;
        break;
    case 0x0409:
        m_version = 4;
        if (bof.u16(2) == 0x0100)
            damaged("Excel-4.0-Arbeitsmappen aus mehreren Blättern werden nicht unterstützt");
        break;
    default:
        m_version = bof.u16(0) == 0x0600 ? 8 : 5;
        break;
    }
    while (records.next(r)) {
        const LittleEndian d = r.read();
        switch (r.id) {
        case Eof:
            return;
        case FilePass:
            m_encrypted = true;
            return;
        case CodePageRecord:
            m_codePage = biffCodePage(d.u16(0));
            break;
        case DateMode:
            m_1904 = d.u16(0) == 1;
            break;
        case Format23:
        case Format45:
            readFormat(r.data, r.size);
            break;
        case Xf2:
        case Xf3:
        case Xf4:
        case Xf58:
            readXf(r.data, r.size);
            break;
        case BoundSheet:
            if (m_version >= 5 && d.u8(5) == 0) {
                BiffText t({ QByteArrayView(r.data + 6, std::max<qsizetype>(0, r.size - 6)) });
                const QString name = m_version == 8 ? t.unicode(1) : t.bytes(1, m_codePage);
                m_sheets.push_back({ name, static_cast<qsizetype>(d.u32(0)) });
            }
            break;
        case Sst:
            if (m_version == 8) {
                BiffText t(records.withContinues(r, 8));
                const uint32_t count = d.u32(4);
                for (uint32_t i = 0; i < count && !t.atEnd(); ++i)
                    m_strings.append(t.unicode(2));
            }
            break;
        default:
            break;
        }
    }
    damaged("die Arbeitsmappe endet vorzeitig");
}

void BiffBook::readFormat(const char* data, qsizetype size)
{
    const LittleEndian d(data, size);
    // The old formats number their formats in the order they appear.
    qsizetype index = static_cast<qsizetype>(m_formats.size());
    QString text;
    if (m_version <= 3) {
        text = BiffText({ QByteArrayView(data, size) }).bytes(1, m_codePage);
    } else {
        BiffText t({ QByteArrayView(data + 2, std::max<qsizetype>(0, size - 2)) });
        if (m_version >= 5)
            index = d.u16(0);
        text = m_version == 8 ? t.unicode(2) : t.bytes(1, m_codePage);
    }
    if (index >= qsizetype(m_formats.size()))
        m_formats.resize(index + 1);
    m_formats[index] = text;
}

void BiffBook::readXf(const char* data, qsizetype size)
{
    const LittleEndian d(data, size);
    if (m_version == 2)
        m_xfFormats.push_back(d.u8(2) & 0x3F);
    else if (m_version <= 4)
        m_xfFormats.push_back(d.u8(1));
    else
        m_xfFormats.push_back(d.u16(2));
}

bool BiffBook::isDateXf(int xf) const
{
    if (xf < 0 || xf >= int(m_xfFormats.size()))
        return false;
    const int format = m_xfFormats[xf];
    if (format < int(m_formats.size()) && !m_formats[format].isEmpty())
        return isDateFormatCode(m_formats[format]);
    return m_version >= 5 && isBuiltInDateFormat(format);
}

QString BiffBook::cellString(const char* data, qsizetype size, qsizetype at) const
{
    BiffText t({ QByteArrayView(data + std::min(at, size), size - std::min(at, size)) });
    if (m_version == 8)
        return t.unicode(2);
    return t.bytes(m_version == 2 ? 1 : 2, m_codePage);
}

std::vector<BiffCell> BiffBook::readSheet(int index) const
{
    std::vector<BiffCell> cells;
    if (index < 0 || index >= int(m_sheets.size()))
        return cells;
    Records records(m_stream, m_sheets[size_t(index)].offset);
    Record r;
    if (!records.next(r) || !isBof(r.id))
        damaged("ein Tabellenblatt steht nicht an der angegebenen Stelle");
    const bool old = m_version == 2;
    const qsizetype valueAt = old ? 7 : 6;
    int depth = 1;
    qsizetype pendingString = -1;

    const auto add = [&](const LittleEndian& d, SheetCell value, int column = -1) {
        BiffCell c;
        c.row = d.u16(0);
        c.column = column < 0 ? d.u16(2) : column;
        if (c.column >= MaxColumns)
            damaged("eine Zelle liegt außerhalb des Tabellenblatts");
        c.value = std::move(value);
        cells.push_back(std::move(c));
    };
    const auto number = [&](double v, bool date) {
        SheetCell c;
        c.kind = SheetCell::Number;
        c.number = v;
        if (date && excelSerialToDay(v, m_1904, c.date, c.msOfDay))
            c.kind = SheetCell::DateTime;
        return c;
    };
    const auto text = [](QString s) {
        SheetCell c;
        c.kind = s.isEmpty() ? SheetCell::Empty : SheetCell::Text;
        c.text = std::move(s);
        return c;
    };
    const auto boolOrError = [](uint8_t value, bool error) {
        SheetCell c;
        c.kind = error ? SheetCell::Error : SheetCell::Bool;
        c.number = error ? 0 : (value != 0);
        return c;
    };
    // The old format keeps the cell's number format in its attribute bytes, the newer ones
    // the index of a cell format.
    const auto isDate = [&](const LittleEndian& d) {
        if (!old)
            return isDateXf(d.u16(4));
        const int format = d.u8(5) & 0x3F;
        return format < int(m_formats.size()) && isDateFormatCode(m_formats[format]);
    };

    for (;;) {
        if (!records.next(r))
            damaged("ein Tabellenblatt endet vorzeitig");
        if (isBof(r.id)) {
            ++depth;
            continue;
        }
        if (r.id == Eof) {
            if (--depth == 0)
                break;
            continue;
        }
        if (depth != 1)
            continue;
        const LittleEndian d = r.read();
        const uint16_t id = r.id;
        if (id == String || (old && id == String2)) {
            if (pendingString >= 0) {
                const QString s = m_version == 8
                    ? BiffText(records.withContinues(r)).unicode(2)
                    : BiffText({ QByteArrayView(r.data, r.size) }).bytes(old ? 1 : 2, m_codePage);
                cells[size_t(pendingString)].value = text(s);
            }
            pendingString = -1;
            continue;
        }
        if ((old && id == Number2) || (!old && id == Number)) {
            add(d, number(d.f64(valueAt), isDate(d)));
        } else if (old && id == Integer2) {
            add(d, number(d.u16(7), isDate(d)));
        } else if (!old && id == Rk) {
            add(d, number(rkValue(d.u32(6)), isDate(d)));
        } else if (!old && id == MulRk) {
            const int first = d.u16(2);
            const qsizetype n = (r.size - 6) / 6;
            for (qsizetype i = 0; i < n; ++i) {
                const bool date = isDateXf(d.u16(4 + 6 * i));
                add(d, number(rkValue(d.u32(6 + 6 * i)), date), first + int(i));
            }
        } else if ((old && id == Label2) || (!old && (id == Label || id == RString))) {
            add(d, text(cellString(r.data, r.size, valueAt)));
        } else if (id == LabelSst && m_version == 8) {
            const uint32_t i = d.u32(6);
            if (i >= uint32_t(m_strings.size()))
                damaged("eine Zelle verweist auf einen fehlenden Text");
            add(d, text(m_strings[qsizetype(i)]));
        } else if ((old && id == BoolErr2) || (!old && id == BoolErr)) {
            add(d, boolOrError(d.u8(valueAt), d.u8(valueAt + 1) != 0));
        } else if ((id == Formula && m_version != 3 && m_version != 4)
            || (id == Formula3 && m_version == 3) || (id == Formula4 && m_version == 4)) {
            // The cached result: a number, or a marker 0xFFFF in the top bytes with the kind
            // in the first byte (0 text in the next STRING record, 1 truth value, 2 error,
            // 3 empty text).
            if (d.u16(valueAt + 6) != 0xFFFF) {
                add(d, number(d.f64(valueAt), isDate(d)));
            } else {
                switch (d.u8(valueAt)) {
                case 0:
                    add(d, SheetCell {});
                    pendingString = qsizetype(cells.size()) - 1;
                    continue;
                case 1:
                case 2:
                    add(d, boolOrError(d.u8(valueAt + 2), d.u8(valueAt) == 2));
                    break;
                default:
                    break;
                }
            }
        } else {
            // Other records (formats, shared formulas, layout) may come between a formula and
            // its text result.
            continue;
        }
        pendingString = -1;
    }
    std::stable_sort(cells.begin(), cells.end(), [](const BiffCell& a, const BiffCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return cells;
}

} // namespace kv::engine::isam
