#include "engine/isam/XlsxWorkbook.h"

#include "engine/isam/ExcelNumberFormat.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsxParts.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
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

int columnFromReference(QStringView ref)
{
    int col = 0;
    for (const QChar c : ref) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        col = col * 26 + (c.unicode() - 'A' + 1);
        if (col > 16384)
            return -1;
    }
    return col - 1;
}

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
        m_xml.clear();
        m_nextRow = 0;
    }

    bool nextRow(int& row, QVector<SheetCell>& cells) override
    {
        cells.clear();
        bool inRow = false;
        int col = -1;
        QString type;
        int style = 0;
        QString value;
        bool haveValue = false;
        for (;;) {
            const auto t = m_xml.readNext();
            if (t == QXmlStreamReader::Invalid) {
                if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
                    continue;
                return false;
            }
            if (t == QXmlStreamReader::EndDocument)
                return false;
            if (t == QXmlStreamReader::StartElement) {
                const auto name = m_xml.name();
                if (name == QLatin1String("row")) {
                    inRow = true;
                    const auto r = m_xml.attributes().value(QLatin1String("r"));
                    row = r.isEmpty() ? m_nextRow : r.toInt() - 1;
                    m_nextRow = row + 1;
                } else if (inRow && name == QLatin1String("c")) {
                    const auto a = m_xml.attributes();
                    const auto ref = a.value(QLatin1String("r"));
                    col = ref.isEmpty() ? static_cast<int>(cells.size()) : columnFromReference(ref);
                    type = a.value(QLatin1String("t")).toString();
                    style = a.value(QLatin1String("s")).toInt();
                    value.clear();
                    haveValue = false;
                } else if (inRow && (name == QLatin1String("v") || name == QLatin1String("t"))) {
                    value += readText();
                    haveValue = true;
                }
            } else if (t == QXmlStreamReader::EndElement) {
                const auto name = m_xml.name();
                if (name == QLatin1String("c") && inRow && col >= 0 && col < 16384 && haveValue) {
                    if (cells.size() <= col)
                        cells.resize(col + 1);
                    cells[col] = toCell(type, style, value);
                } else if (name == QLatin1String("row") && inRow) {
                    while (!cells.isEmpty() && cells.last().kind == SheetCell::Empty)
                        cells.removeLast();
                    if (!cells.isEmpty())
                        return true;
                    inRow = false;
                }
            }
        }
    }

    std::unique_ptr<SheetSource> clone() const override
    {
        return std::make_unique<XlsxSheetSource>(m_path, m_entry, m_parts);
    }

private:
    QString readText()
    {
        QString text;
        for (;;) {
            const auto t = m_xml.readNext();
            if (t == QXmlStreamReader::Characters) {
                text += m_xml.text();
            } else if (t == QXmlStreamReader::Invalid) {
                if (m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError || !feed())
                    return text;
            } else if (t == QXmlStreamReader::EndElement || t == QXmlStreamReader::EndDocument) {
                return text;
            }
        }
    }

    bool feed()
    {
        if (!m_file)
            return false;
        char buf[65536];
        const zip_int64_t n = zip_fread(m_file, buf, sizeof buf);
        if (n <= 0)
            return false;
        m_xml.addData(QByteArray(buf, static_cast<qsizetype>(n)));
        return true;
    }

    SheetCell toCell(const QString& type, int style, const QString& value) const
    {
        SheetCell c;
        if (type == QLatin1String("s")) {
            const int i = value.toInt();
            if (i >= 0 && i < m_parts->strings.size()) {
                c.kind = SheetCell::Text;
                c.text = m_parts->strings[i];
            }
        } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr")) {
            c.kind = SheetCell::Text;
            c.text = value;
        } else if (type == QLatin1String("b")) {
            c.kind = SheetCell::Bool;
            c.number = value.trimmed() == QLatin1String("1") ? 1 : 0;
        } else if (type == QLatin1String("e")) {
            c.kind = SheetCell::Error;
        } else if (type == QLatin1String("d")) {
            c.dateTime = QDateTime::fromString(value, Qt::ISODate);
            c.kind = c.dateTime.isValid() ? SheetCell::DateTime : SheetCell::Empty;
        } else {
            bool ok = false;
            const double v = value.toDouble(&ok);
            if (!ok)
                return c;
            if (style >= 0 && style < m_parts->dateStyles.size() && m_parts->dateStyles[style]) {
                c.dateTime = excelSerialToDateTime(v, m_parts->date1904);
                c.kind = c.dateTime.isValid() ? SheetCell::DateTime : SheetCell::Number;
                c.number = v;
            } else {
                c.kind = SheetCell::Number;
                c.number = v;
            }
        }
        if (c.kind == SheetCell::Text && c.text.isEmpty())
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
    QXmlStreamReader m_xml;
    int m_nextRow = 0;
};

} // namespace

std::unique_ptr<SheetTable> openXlsxSheet(
    const QString& path, const std::shared_ptr<const XlsxParts>& parts, const QString& name)
{
    for (const XlsxParts::Sheet& s : parts->sheets) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<SheetTable>(
                path, s.name, std::make_unique<XlsxSheetSource>(path, s.entry, parts));
    }
    throw IsamError(isamerr::ItemNotFound,
        QStringLiteral("Das Tabellenblatt '%1' gibt es in der Arbeitsmappe '%2' nicht.")
            .arg(name, QDir::toNativeSeparators(path)));
}

} // namespace kv::engine::isam
