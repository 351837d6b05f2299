#include "engine/isam/XlsxWorkbook.h"

#include "engine/isam/ExcelNumberFormat.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/NumberBytes.h"
#include "engine/isam/SheetRowCache.h"
#include "engine/isam/XlsxParts.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <cstring>
#include <zip.h>

namespace kv::engine::isam {

namespace {

// Workbooks of a few megabytes hold XML parts many times larger; this is far beyond any real one.
constexpr zip_uint64_t MaxPart = 512ull * 1024 * 1024;

QByteArray readEntry(zip_t* zip, const QString& name, bool* found = nullptr)
{
    if (found)
        *found = false;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(zip, name.toUtf8().constData(), 0, &st) != 0)
        return {};
    zip_file_t* f = zip_fopen(zip, name.toUtf8().constData(), 0);
    if (!f)
        return {};
    QByteArray out;
    char buf[65536];
    zip_int64_t n;
    while (
        (n = zip_fread(f, buf, sizeof buf)) > 0 && static_cast<zip_uint64_t>(out.size()) < MaxPart)
        out.append(buf, static_cast<qsizetype>(n));
    zip_fclose(f);
    if (found)
        *found = n == 0;
    return out;
}

/// Characters XML cannot carry are written "_xHHHH_" in a workbook's texts (a carriage return
/// is "_x000D_"); a literal "_x" is itself escaped as "_x005F_x".
void unescapeXstring(QByteArray& text)
{
    if (!text.contains("_x"))
        return;
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            bool ok = false;
            const uint code = QByteArrayView(text).sliced(i + 2, 4).toUInt(&ok, 16);
            if (ok && QByteArrayView(text).sliced(i + 2, 4).indexOf('+') < 0) {
                out.append(QString(QChar(static_cast<char16_t>(code))).toUtf8());
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    text = out;
}

} // namespace

std::shared_ptr<const XlsxParts> readXlsxParts(const QString& path)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip)
        throw IsamError::damaged(path, QStringLiteral("keine xlsx-Arbeitsmappe"));
    auto parts = std::make_shared<XlsxParts>();
    bool ok = false;
    const QByteArray workbook = readEntry(zip, QStringLiteral("xl/workbook.xml"), &ok);
    if (!ok) {
        zip_close(zip);
        throw IsamError::damaged(
            path, QStringLiteral("die Arbeitsmappe hat keinen Teil xl/workbook.xml"));
    }
    QHash<QString, QString> relTargets;
    {
        QXmlStreamReader x(readEntry(zip, QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (!x.atEnd()) {
            if (x.readNext() == QXmlStreamReader::StartElement
                && x.name() == QLatin1String("Relationship")) {
                QString target = x.attributes().value(QLatin1String("Target")).toString();
                if (target.startsWith(QLatin1Char('/')))
                    target = target.mid(1);
                else
                    target = QStringLiteral("xl/") + target;
                relTargets.insert(x.attributes().value(QLatin1String("Id")).toString(), target);
            }
        }
    }
    {
        QXmlStreamReader x(workbook);
        while (!x.atEnd()) {
            if (x.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (x.name() == QLatin1String("workbookPr")) {
                const auto v = x.attributes().value(QLatin1String("date1904"));
                parts->date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (x.name() == QLatin1String("sheet")) {
                XlsxParts::Sheet s;
                s.name = x.attributes().value(QLatin1String("name")).toString();
                QString rid;
                for (const auto& a : x.attributes())
                    if (a.name() == QLatin1String("id"))
                        rid = a.value().toString();
                s.entry = relTargets.value(rid);
                if (!s.entry.isEmpty())
                    parts->sheets.append(s);
            }
        }
        if (x.hasError()) {
            zip_close(zip);
            throw IsamError::damaged(path, QStringLiteral("xl/workbook.xml ist kein gültiges XML"));
        }
    }
    {
        QXmlStreamReader x(readEntry(zip, QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        bool inSi = false;
        int phonetic = 0;
        while (!x.atEnd()) {
            const auto t = x.readNext();
            if (t == QXmlStreamReader::StartElement) {
                if (x.name() == QLatin1String("si")) {
                    inSi = true;
                    current.clear();
                } else if (x.name() == QLatin1String("rPh")) {
                    ++phonetic;
                } else if (inSi && phonetic == 0 && x.name() == QLatin1String("t")) {
                    current += x.readElementText();
                }
            } else if (t == QXmlStreamReader::EndElement) {
                if (x.name() == QLatin1String("si")) {
                    if (current.contains(QLatin1String("_x"))) {
                        QByteArray utf8 = current.toUtf8();
                        unescapeXstring(utf8);
                        current = QString::fromUtf8(utf8);
                    }
                    parts->strings.append(current);
                    inSi = false;
                } else if (x.name() == QLatin1String("rPh")) {
                    --phonetic;
                }
            }
        }
    }
    {
        QXmlStreamReader x(readEntry(zip, QStringLiteral("xl/styles.xml")));
        QHash<int, bool> custom;
        bool inXfs = false;
        while (!x.atEnd()) {
            const auto t = x.readNext();
            if (t == QXmlStreamReader::StartElement) {
                if (x.name() == QLatin1String("numFmt")) {
                    custom.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                        isDateFormatCode(
                            x.attributes().value(QLatin1String("formatCode")).toString()));
                } else if (x.name() == QLatin1String("cellXfs")) {
                    inXfs = true;
                } else if (inXfs && x.name() == QLatin1String("xf")) {
                    const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
                    parts->dateStyles.append(
                        custom.contains(id) ? custom.value(id) : isBuiltInDateFormat(id));
                }
            } else if (t == QXmlStreamReader::EndElement && x.name() == QLatin1String("cellXfs")) {
                inXfs = false;
            }
        }
    }
    zip_close(zip);
    return parts;
}

namespace {

int columnFromReference(QByteArrayView ref)
{
    int col = 0;
    for (const char c : ref) {
        if (c < 'A' || c > 'Z')
            break;
        col = col * 26 + (c - 'A' + 1);
        if (col > 16384)
            return -1;
    }
    return col - 1;
}

/// The local name of an element: what follows a namespace prefix.
QByteArrayView localName(QByteArrayView name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (name[i] == ':')
            return name.sliced(i + 1);
    return name;
}

/// The cell types of the t attribute that the reader tells apart; anything else is a number.
enum class CellType { Number, Shared, Text, Bool, Error, Date };

CellType cellType(QByteArrayView t)
{
    if (t == "s")
        return CellType::Shared;
    if (t == "str" || t == "inlineStr")
        return CellType::Text;
    if (t == "b")
        return CellType::Bool;
    if (t == "e")
        return CellType::Error;
    if (t == "d")
        return CellType::Date;
    return CellType::Number;
}

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// Appends a code point as UTF-8; false for what XML does not allow as a character.
bool appendCodePoint(uint c, QByteArray& out)
{
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF || c == 0xFFFE || c == 0xFFFF
        || (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD))
        return false;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return true;
}

/// Character data as the XML reader reports it: entities resolved, line ends as "\n".
bool appendCharacters(QByteArrayView raw, QByteArray& out)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        qsizetype plain = i;
        while (plain < raw.size() && raw[plain] != '&' && raw[plain] != '\r')
            ++plain;
        if (plain > i) {
            out.append(raw.sliced(i, plain - i));
            i = plain;
            if (i == raw.size())
                break;
        }
        if (raw[i] == '\r') {
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            continue;
        }
        const qsizetype semi = raw.indexOf(';', i);
        if (semi < 0)
            return false;
        const QByteArrayView name = raw.sliced(i + 1, semi - i - 1);
        i = semi;
        if (name == "lt")
            out += '<';
        else if (name == "gt")
            out += '>';
        else if (name == "amp")
            out += '&';
        else if (name == "quot")
            out += '"';
        else if (name == "apos")
            out += '\'';
        else if (name.startsWith('#')) {
            bool ok = false;
            const uint code = name.size() > 1 && (name[1] == 'x') ? name.sliced(2).toUInt(&ok, 16)
                                                                  : name.sliced(1).toUInt(&ok, 10);
            if (!ok || !appendCodePoint(code, out))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

/// One tag of a sheet part; the views point into the reader's buffer until its next call.
struct XmlTag {
    QByteArrayView name; ///< local name
    QByteArrayView attributes;
    bool end = false; ///< </name>
    bool empty = false; ///< <name/>

    /// Calls found(local name, raw value) for each attribute until it answers false.
    template <class Found> void forEachAttribute(Found found) const
    {
        qsizetype i = 0;
        const qsizetype n = attributes.size();
        while (i < n) {
            while (i < n && isXmlSpace(attributes[i]))
                ++i;
            const qsizetype nameStart = i;
            while (i < n && attributes[i] != '=' && attributes[i] != ' ')
                ++i;
            const QByteArrayView name = attributes.sliced(nameStart, i - nameStart);
            while (i < n && attributes[i] != '"' && attributes[i] != '\'')
                ++i;
            if (i >= n)
                return;
            const char quote = attributes[i];
            const qsizetype valueStart = ++i;
            while (i < n && attributes[i] != quote)
                ++i;
            if (!found(localName(name), attributes.sliced(valueStart, i - valueStart)))
                return;
            ++i;
        }
    }

    /// The raw value of an attribute given by its local name; empty when there is none.
    QByteArrayView attribute(QByteArrayView wanted) const
    {
        QByteArrayView value;
        forEachAttribute([&](QByteArrayView name, QByteArrayView v) {
            if (name != wanted)
                return true;
            value = v;
            return false;
        });
        return value;
    }
};

/// The rows of one worksheet part, read straight from the zip entry. A sheet holds millions
/// of cells in a handful of elements, so this reads just those (row, c, v, t) from the UTF-8
/// bytes; a general XML reader spends most of an import on building strings for each token.
class XlsxSheetSource : public SheetSource {
public:
    XlsxSheetSource(QString path, QString entry, std::shared_ptr<const XlsxParts> parts)
        : m_path(std::move(path))
        , m_entry(std::move(entry))
        , m_parts(std::move(parts))
    { }
    ~XlsxSheetSource() override { close(); }

    void rewind() override
    {
        close();
        int error = 0;
        m_zip = zip_open(QFile::encodeName(m_path).constData(), ZIP_RDONLY, &error);
        if (m_zip)
            m_file = zip_fopen(m_zip, m_entry.toUtf8().constData(), 0);
        m_buffer.clear();
        m_pos = 0;
        m_failed = false;
        m_started = false;
        m_nextRow = 0;
    }

    bool nextRow(int& row, QVector<SheetCell>& cells) override
    {
        cells.clear();
        bool inRow = false;
        int col = -1;
        CellType type = CellType::Number;
        int style = 0;
        m_value.resize(0);
        bool haveValue = false;
        XmlTag tag;
        while (nextTag(tag, nullptr)) {
            if (!tag.end) {
                if (tag.name == "row") {
                    inRow = true;
                    const QByteArrayView r = tag.attribute("r");
                    row = r.isEmpty() ? m_nextRow : r.toInt() - 1;
                    m_nextRow = row + 1;
                } else if (inRow && tag.name == "c") {
                    // The first of each attribute counts, as a lookup by name would find it.
                    QByteArrayView ref, t, s;
                    bool haveRef = false, haveT = false, haveS = false;
                    tag.forEachAttribute([&](QByteArrayView name, QByteArrayView value) {
                        if (name.size() == 1 && name[0] == 'r' && !haveRef)
                            ref = value, haveRef = true;
                        else if (name.size() == 1 && name[0] == 't' && !haveT)
                            t = value, haveT = true;
                        else if (name.size() == 1 && name[0] == 's' && !haveS)
                            s = value, haveS = true;
                        return !(haveRef && haveT && haveS);
                    });
                    col = ref.isEmpty() ? static_cast<int>(cells.size()) : columnFromReference(ref);
                    type = cellType(t);
                    style = s.toInt();
                    m_value.resize(0);
                    haveValue = false;
                } else if (inRow && (tag.name == "v" || tag.name == "t")) {
                    // The text runs to the next end tag, whichever it is.
                    haveValue = true;
                    if (!tag.empty && !readText())
                        return false;
                    continue;
                }
            }
            if (tag.end || tag.empty) {
                if (tag.name == "c" && inRow && col >= 0 && col < 16384 && haveValue) {
                    if (cells.size() <= col)
                        cells.resize(col + 1);
                    cells[col] = toCell(type, style, m_value);
                } else if (tag.name == "row" && inRow) {
                    while (!cells.isEmpty() && cells.last().kind == SheetCell::Empty)
                        cells.removeLast();
                    if (!cells.isEmpty())
                        return true;
                    inRow = false;
                }
            }
        }
        return false;
    }

    std::unique_ptr<SheetSource> clone() const override
    {
        return std::make_unique<XlsxSheetSource>(m_path, m_entry, m_parts);
    }

private:
    /// Reads character data up to the next end tag into m_value.
    bool readText()
    {
        XmlTag tag;
        while (nextTag(tag, &m_value))
            if (tag.end || tag.empty)
                return true;
        return false;
    }

    /// More bytes from the entry; false at its end or on a read error.
    bool feed()
    {
        if (!m_file || m_failed)
            return false;
        if (m_pos > 0) {
            m_buffer.remove(0, m_pos);
            m_pos = 0;
        }
        const qsizetype at = m_buffer.size();
        constexpr qsizetype Chunk = 256 * 1024;
        m_buffer.resize(at + Chunk);
        const zip_int64_t n = zip_fread(m_file, m_buffer.data() + at, Chunk);
        m_buffer.truncate(at + std::max<zip_int64_t>(n, 0));
        if (n <= 0)
            return false;
        if (!m_started && m_buffer.size() >= 3) {
            m_started = true;
            if (m_buffer.startsWith("\xEF\xBB\xBF"))
                m_pos = 3;
        }
        return true;
    }

    /// Finds needle at or after from, reading on as needed; -1 at the end of the entry.
    qsizetype find(QByteArrayView needle, qsizetype from)
    {
        for (;;) {
            qsizetype at = -1;
            if (needle.size() == 1) {
                const qsizetype start = m_pos + from;
                const void* hit = start < m_buffer.size()
                    ? memchr(m_buffer.constData() + start, needle[0], m_buffer.size() - start)
                    : nullptr;
                at = hit ? static_cast<const char*>(hit) - m_buffer.constData() : -1;
            } else {
                at = QByteArrayView(m_buffer).indexOf(needle, m_pos + from);
            }
            if (at >= 0)
                return at - m_pos;
            const qsizetype keep = m_buffer.size() - m_pos;
            if (!feed())
                return -1;
            from = std::max<qsizetype>(0, keep - needle.size() + 1);
        }
    }

    /// The next tag; character data before it goes into text when given. Comments, processing
    /// instructions and declarations are passed over, CDATA sections are character data.
    bool nextTag(XmlTag& tag, QByteArray* text)
    {
        for (;;) {
            const qsizetype lt = find("<", 0);
            if (lt < 0)
                return false;
            if (text && lt > 0 && !appendCharacters(view(0, lt), *text))
                return fail();
            m_pos += lt;
            if (find(">", 0) < 0)
                return false;
            const QByteArrayView rest = view(0, m_buffer.size() - m_pos);
            const bool markup = rest.size() > 1 && (rest[1] == '!' || rest[1] == '?');
            if (markup && rest.startsWith("<!--")) {
                if (!skipPast("-->"))
                    return false;
                continue;
            }
            if (markup && rest.startsWith("<![CDATA[")) {
                const qsizetype end = find("]]>", 9);
                if (end < 0)
                    return false;
                if (text)
                    text->append(view(9, end - 9));
                m_pos += end + 3;
                continue;
            }
            if (markup) {
                if (!skipPast(rest.startsWith("<?") ? "?>" : ">"))
                    return false;
                continue;
            }
            // The tag ends at the first '>' outside a quoted attribute value.
            qsizetype i = 1;
            char quote = 0;
            for (;; ++i) {
                if (m_pos + i >= m_buffer.size() && !feed())
                    return false;
                const char c = m_buffer.constData()[m_pos + i];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            QByteArrayView inner = view(1, i - 1);
            tag.end = inner.startsWith('/');
            if (tag.end)
                inner = inner.sliced(1);
            tag.empty = inner.endsWith('/');
            if (tag.empty)
                inner.chop(1);
            qsizetype nameEnd = 0;
            while (nameEnd < inner.size() && inner[nameEnd] != ' ' && inner[nameEnd] != '\t'
                && inner[nameEnd] != '\r' && inner[nameEnd] != '\n')
                ++nameEnd;
            tag.name = localName(inner.first(nameEnd));
            tag.attributes = inner.sliced(nameEnd);
            m_pos += i + 1;
            return true;
        }
    }

    bool skipPast(QByteArrayView end)
    {
        const qsizetype at = find(end, 0);
        if (at < 0)
            return false;
        m_pos += at + end.size();
        return true;
    }

    QByteArrayView view(qsizetype from, qsizetype size) const
    {
        return QByteArrayView(m_buffer.constData() + m_pos + from, size);
    }

    // Broken XML ends the sheet where it breaks, as a reader of the workbook would stop.
    bool fail()
    {
        m_failed = true;
        return false;
    }

    SheetCell toCell(CellType type, int style, const QByteArray& value) const
    {
        SheetCell c;
        if (type == CellType::Shared) {
            const int i = QByteArrayView(value).toInt();
            if (i >= 0 && i < m_parts->strings.size()) {
                c.kind = SheetCell::Text;
                c.text = m_parts->strings[i];
            }
        } else if (type == CellType::Text) {
            c.kind = SheetCell::Text;
            // A copy of its own: m_value keeps its room for the next cell.
            c.utf8 = QByteArray(value.constData(), value.size());
            unescapeXstring(c.utf8);
            // Broken UTF-8 reaches neither SQLite nor the user as it is: the replacement
            // character stands in for it, as QString gives it.
            if (!c.utf8.isValidUtf8())
                c.utf8 = QString::fromUtf8(c.utf8).toUtf8();
        } else if (type == CellType::Bool) {
            c.kind = SheetCell::Bool;
            c.number = value.trimmed() == "1" ? 1 : 0;
        } else if (type == CellType::Error) {
            c.kind = SheetCell::Error;
        } else if (type == CellType::Date) {
            const QDateTime dt = QDateTime::fromString(QString::fromUtf8(value), Qt::ISODate);
            c.kind = dt.isValid() ? SheetCell::DateTime : SheetCell::Empty;
            c.date = dt.date();
            c.msOfDay = dt.time().msecsSinceStartOfDay();
        } else {
            double v = 0;
            if (!parseNumberBytes(value, v))
                return c;
            c.kind = SheetCell::Number;
            c.number = v;
            if (style >= 0 && style < m_parts->dateStyles.size() && m_parts->dateStyles[style]
                && excelSerialToDay(v, m_parts->date1904, c.date, c.msOfDay))
                c.kind = SheetCell::DateTime;
        }
        if (c.kind == SheetCell::Text && c.text.isEmpty() && c.utf8.isEmpty())
            c.kind = SheetCell::Empty;
        return c;
    }

    void close()
    {
        if (m_file)
            zip_fclose(m_file);
        if (m_zip)
            zip_discard(m_zip);
        m_file = nullptr;
        m_zip = nullptr;
    }

    QString m_path;
    QString m_entry;
    std::shared_ptr<const XlsxParts> m_parts;
    zip_t* m_zip = nullptr;
    zip_file_t* m_file = nullptr;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_failed = false;
    bool m_started = false;
    QByteArray m_value;
    int m_nextRow = 0;
};

} // namespace

std::unique_ptr<SheetTable> openXlsxSheet(
    const QString& path, const std::shared_ptr<const XlsxParts>& parts, const QString& name)
{
    for (const XlsxParts::Sheet& s : parts->sheets) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<SheetTable>(path, s.name,
                std::make_unique<SheetRowCache>(
                    std::make_unique<XlsxSheetSource>(path, s.entry, parts)));
    }
    throw IsamError(isamerr::ItemNotFound,
        QStringLiteral("Das Tabellenblatt '%1' gibt es in der Arbeitsmappe '%2' nicht.")
            .arg(name, QDir::toNativeSeparators(path)));
}

} // namespace kv::engine::isam
