#include "engine/isam/XlsxSheetXml.h"

#include "engine/isam/ZipWriter.h"

#include <charconv>
#include <cstring>

namespace kv::engine::isam {

namespace {

constexpr qsizetype BufferSize = 1024 * 1024;

constexpr char SheetHead[]
    = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
      "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
      "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
constexpr char SelectedSheetHead[]
    = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
      "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
      "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
constexpr char SheetTail[] = "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" "
                             "bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>";

template <qsizetype N> void copy(char*& p, const char (&text)[N])
{
    std::memcpy(p, text, N - 1);
    p += N - 1;
}

bool isHex(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

/// "_x" + four hex digits + "_" is how a workbook escapes a character; the same letters in a
/// text have their underscore escaped so that a reader does not turn them into one.
bool startsEscape(QStringView s, qsizetype i)
{
    return i + 6 < s.size() && s[i + 1] == u'x' && isHex(s[i + 2].unicode())
        && isHex(s[i + 3].unicode()) && isHex(s[i + 4].unicode()) && isHex(s[i + 5].unicode())
        && s[i + 6] == u'_';
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

/// How many UTF-16 units of text a cell takes: at most the cell limit, never half a pair.
qsizetype cellLength(QStringView text)
{
    if (text.size() <= XlsxMaxCellText)
        return text.size();
    return text[XlsxMaxCellText - 1].isHighSurrogate() ? XlsxMaxCellText - 1 : XlsxMaxCellText;
}

/// Whether XML 1.0 can carry the unit at i (a pair counts as one character, of two units).
bool xmlCarries(QStringView s, qsizetype i, int& units)
{
    const char16_t c = s[i].unicode();
    units = 1;
    if (c < 0x20)
        return c == u'\t' || c == u'\n' || c == u'\r';
    if (QChar::isHighSurrogate(c)) {
        if (i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            units = 2;
            return true;
        }
        return false;
    }
    return !QChar::isLowSurrogate(c) && c != 0xFFFE && c != 0xFFFF;
}

} // namespace

QString xlsxCellText(QStringView text)
{
    text = text.first(cellLength(text));
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        if (xmlCarries(text, i, units))
            out.append(text.sliced(i, units));
        i += units;
    }
    return out;
}

XlsxSheetXml::XlsxSheetXml(DeflateStream& out, bool selected)
    : m_out(out)
    , m_buffer(BufferSize)
{
    if (selected)
        append(SelectedSheetHead, sizeof SelectedSheetHead - 1);
    else
        append(SheetHead, sizeof SheetHead - 1);
}

void XlsxSheetXml::beginRow(qint64 row)
{
    m_row = row;
    m_nextColumn = 0;
    m_rowOpen = false;
}

void XlsxSheetXml::endRow()
{
    if (m_rowOpen)
        append("</row>", 6);
    m_rowOpen = false;
}

void XlsxSheetXml::finish()
{
    endRow();
    append(SheetTail, sizeof SheetTail - 1);
    flushBuffer();
}

void XlsxSheetXml::cellStart(int column, XlsxStyle style, const char* type)
{
    char* p = reserve(96);
    if (!m_rowOpen) {
        copy(p, "<row r=\"");
        p = std::to_chars(p, p + 24, m_row + 1).ptr;
        copy(p, "\">");
        m_rowOpen = true;
    }
    copy(p, "<c");
    if (column != m_nextColumn) {
        // Column letters: A–Z, AA–ZZ, AAA–XFD.
        copy(p, " r=\"");
        char letters[4];
        int n = 0;
        for (int c = column + 1; c > 0; c = (c - 1) / 26)
            letters[n++] = static_cast<char>('A' + (c - 1) % 26);
        while (n > 0)
            *p++ = letters[--n];
        p = std::to_chars(p, p + 24, m_row + 1).ptr;
        *p++ = '"';
    }
    if (style != XlsxStyle::Normal) {
        copy(p, " s=\"");
        *p++ = static_cast<char>('0' + static_cast<int>(style));
        *p++ = '"';
    }
    if (type) {
        copy(p, " t=\"");
        const size_t n = std::strlen(type);
        std::memcpy(p, type, n);
        p += n;
        *p++ = '"';
    }
    *p++ = '>';
    m_used = p - m_buffer.data();
    m_nextColumn = column + 1;
}

void XlsxSheetXml::number(int column, double value, XlsxStyle style)
{
    cellValue(column, value, style);
}

void XlsxSheetXml::integer(int column, qint64 value)
{
    cellValue(column, value, XlsxStyle::Normal);
}

template <typename T> void XlsxSheetXml::cellValue(int column, T value, XlsxStyle style)
{
    cellStart(column, style, nullptr);
    char* p = reserve(48);
    copy(p, "<v>");
    // For a double the shortest text that reads back as the same value.
    p = std::to_chars(p, p + 32, value).ptr;
    copy(p, "</v></c>");
    m_used = p - m_buffer.data();
}

void XlsxSheetXml::boolean(int column, bool value)
{
    cellStart(column, XlsxStyle::Normal, "b");
    char* p = reserve(16);
    copy(p, "<v>");
    *p++ = value ? '1' : '0';
    copy(p, "</v></c>");
    m_used = p - m_buffer.data();
}

CellTextChange XlsxSheetXml::text(int column, QStringView text, XlsxStyle style)
{
    CellTextChange change = CellTextChange::None;
    const qsizetype n = cellLength(text);
    if (n < text.size())
        change = CellTextChange::Cut;
    text = text.first(n);
    cellStart(column, style, "inlineStr");
    // Seven bytes for an escaped underscore are the most one unit can take.
    char* p = reserve(7 * n + 64);
    // Without the attribute, readers drop spaces and line breaks at either end.
    if (n > 0 && (isSpace(text[0].unicode()) || isSpace(text[n - 1].unicode())))
        copy(p, "<is><t xml:space=\"preserve\">");
    else
        copy(p, "<is><t>");
    const char16_t* s = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            if (c >= 0x20 && c != u'&' && c != u'<' && c != u'>' && c != u'_') {
                *p++ = static_cast<char>(c);
                continue;
            }
            switch (c) {
            case u'&':
                copy(p, "&amp;");
                break;
            case u'<':
                copy(p, "&lt;");
                break;
            case u'>':
                copy(p, "&gt;");
                break;
            case u'_':
                if (startsEscape(text, i))
                    copy(p, "_x005F_");
                else
                    *p++ = '_';
                break;
            case u'\t':
            case u'\n':
                *p++ = static_cast<char>(c);
                break;
            case u'\r':
                // A reader turns a bare carriage return into a line feed; the reference keeps it.
                copy(p, "&#13;");
                break;
            default:
                if (change == CellTextChange::None)
                    change = CellTextChange::CharactersDropped;
                break;
            }
        } else if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
                const char32_t u = QChar::surrogateToUcs4(c, s[++i]);
                *p++ = static_cast<char>(0xF0 | (u >> 18));
                *p++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
                *p++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                *p++ = static_cast<char>(0x80 | (u & 0x3F));
            } else if (change == CellTextChange::None) {
                change = CellTextChange::CharactersDropped;
            }
        } else if (c == 0xFFFE || c == 0xFFFF) {
            if (change == CellTextChange::None)
                change = CellTextChange::CharactersDropped;
        } else {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    copy(p, "</t></is></c>");
    m_used = p - m_buffer.data();
    return change;
}

char* XlsxSheetXml::reserve(qsizetype bytes)
{
    if (m_used + bytes > static_cast<qsizetype>(m_buffer.size())) {
        flushBuffer();
        if (bytes > static_cast<qsizetype>(m_buffer.size()))
            m_buffer.resize(static_cast<size_t>(bytes));
    }
    return m_buffer.data() + m_used;
}

void XlsxSheetXml::append(const char* text, qsizetype size)
{
    char* p = reserve(size);
    std::memcpy(p, text, static_cast<size_t>(size));
    m_used += size;
}

void XlsxSheetXml::flushBuffer()
{
    m_out.write(m_buffer.data(), m_used);
    m_used = 0;
}

} // namespace kv::engine::isam
