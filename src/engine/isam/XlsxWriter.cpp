#include "engine/isam/XlsxWorkbook.h"

#include "engine/isam/IsamError.h"
#include "engine/isam/StorageDate.h"
#include "engine/isam/XlsxPackageParts.h"
#include "engine/isam/XlsxParts.h"
#include "engine/isam/XlsxSheetXml.h"
#include "engine/isam/ZipWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cmath>
#include <vector>

namespace kv::engine::isam {

namespace {

constexpr int MaxRows = 1048576;
// Every reader inflates any level; the lowest packs a sheet's repetitive XML nearly as small
// as the default in a fraction of the time.
constexpr int DeflateLevel = 1;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

/// A workbook being written. The first sheet streams straight into the archive; further sheets
/// are packed into temporary files until the workbook is closed, so no sheet is held in
/// memory. The small fixed parts go in last, when every sheet name is known.
class XlsxWriter {
public:
    explicit XlsxWriter(const QString& path)
        : m_path(path)
        , m_zip(std::make_unique<ZipWriter>(path, DeflateLevel))
    { }

    ~XlsxWriter()
    {
        try {
            close();
        } catch (const IsamError&) {
            // close() reports to whoever calls it; a destructor has nobody to tell.
        }
    }

    const QString& path() const { return m_path; }
    bool closed() const { return m_zip == nullptr; }

    XlsxSheetXml& addSheet(const QString& name)
    {
        if (!m_zip)
            throw IsamError::notSupported(
                m_path, QStringLiteral("Das Anfügen an eine geschriebene Arbeitsmappe"));
        for (const Sheet& s : m_sheets)
            if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                throw IsamError(isamerr::Generic,
                    QStringLiteral(
                        "Das Tabellenblatt '%1' kann in der Arbeitsmappe '%2' nicht angelegt "
                        "werden.")
                        .arg(name, native(m_path)));
        Sheet s;
        s.name = name;
        DeflateStream* stream = nullptr;
        if (m_sheets.empty()) {
            stream = &m_zip->begin(entryName(1));
        } else {
            s.spool = std::make_unique<QTemporaryFile>();
            if (!s.spool->open())
                throw IsamError::ioError(m_path, s.spool->errorString());
            s.stream = std::make_unique<DeflateStream>(*s.spool, DeflateLevel, m_path);
            stream = s.stream.get();
        }
        s.xml = std::make_unique<XlsxSheetXml>(*stream, m_sheets.empty());
        m_sheets.push_back(std::move(s));
        return *m_sheets.back().xml;
    }

    void close()
    {
        if (!m_zip)
            return;
        // Whatever happens, the workbook counts as written: a second attempt would only add to
        // a broken file.
        const std::unique_ptr<ZipWriter> zip = std::move(m_zip);
        std::vector<Sheet> sheets = std::move(m_sheets);
        for (size_t i = 0; i < sheets.size(); ++i) {
            sheets[i].xml->finish();
            if (i == 0) {
                zip->end();
            } else {
                sheets[i].stream->finish();
                zip->addDeflated(entryName(int(i) + 1), *sheets[i].stream, *sheets[i].spool);
            }
        }
        QStringList names;
        for (const Sheet& s : sheets)
            names << s.name;
        for (const XlsxPackagePart& part : xlsxPackageParts(names))
            zip->add(part.name, part.xml);
        zip->finish();
    }

private:
    struct Sheet {
        QString name;
        std::unique_ptr<QTemporaryFile> spool;
        std::unique_ptr<DeflateStream> stream;
        std::unique_ptr<XlsxSheetXml> xml;
    };

    static QByteArray entryName(int sheet)
    {
        return "xl/worksheets/sheet" + QByteArray::number(sheet) + ".xml";
    }

    QString m_path;
    std::unique_ptr<ZipWriter> m_zip;
    std::vector<Sheet> m_sheets;
};

namespace {

/// Excel's rules for sheet names: at most 31 characters, none of []:*?/\ and nothing XML
/// cannot carry.
QString sheetName(const QString& wanted)
{
    QString name = xlsxCellText(wanted);
    for (QChar& c : name)
        if (QStringView(u"[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    name = name.left(31);
    if (name.size() == 31 && name.back().isHighSurrogate())
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Tabelle1") : name;
}

class XlsxWriterTable : public IsamTable {
public:
    XlsxWriterTable(
        std::shared_ptr<XlsxWriter> writer, const QString& name, const IsamFields& fields)
        : m_writer(std::move(writer))
    {
        m_path = m_writer->path();
        m_name = sheetName(name);
        m_codePage = QStringLiteral("Unicode");
        m_fields = fields;
        if (m_name != name)
            addNotice(QStringLiteral("Das Tabellenblatt '%1' heißt in der Arbeitsmappe '%2' '%3'.")
                          .arg(name, native(m_path), m_name));
        m_sheet = &m_writer->addSheet(m_name);
        m_sheet->beginRow(0);
        for (int c = 0; c < fields.size(); ++c)
            m_sheet->text(c, fields[c].name, XlsxStyle::Header);
        m_sheet->endRow();
    }

    qint64 rowCount() const override { return m_rows; }

    std::unique_ptr<IsamCursor> openCursor(bool withDeleted) override
    {
        flush();
        m_readBack = openXlsxSheet(m_path, readXlsxParts(m_path), m_name);
        return m_readBack->openCursor(withDeleted);
    }

    IsamCapabilities capabilities() const override { return { !m_writer->closed(), false, false }; }

    qint64 append(const IsamRow& row) override
    {
        if (m_writer->closed())
            throw IsamError::notSupported(
                m_path, QStringLiteral("Das Anfügen an eine geschriebene Arbeitsmappe"));
        if (m_rows + 1 >= MaxRows)
            throw IsamError(isamerr::FieldTooSmall,
                QStringLiteral("Das Tabellenblatt '%1' der Arbeitsmappe '%2' fasst höchstens %3 "
                               "Datensätze.")
                    .arg(m_name, native(m_path))
                    .arg(MaxRows - 1));
        m_sheet->beginRow(++m_rows);
        for (int c = 0; c < m_fields.size() && c < row.size(); ++c)
            write(c, row[c]);
        m_sheet->endRow();
        return m_rows + 1;
    }

    void flush() override { m_writer->close(); }

private:
    ValueIssue issue(int c, const QVariant& v, const QVariant& target, IssueKind kind) const
    {
        return { m_rows + 1, c, m_fields[c].name, v, target, kind };
    }

    void write(int c, const QVariant& v)
    {
        if (!v.isValid() || v.isNull())
            return;
        switch (v.typeId()) {
        case QMetaType::Bool:
            m_sheet->boolean(c, v.toBool());
            return;
        case QMetaType::Int:
        case QMetaType::UInt:
            m_sheet->integer(c, v.toLongLong());
            return;
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            // A cell holds a double: whole numbers beyond 2^53 lose their last digits.
            const double d = v.toDouble();
            m_sheet->number(c, d);
            if (v.typeId() == QMetaType::LongLong ? static_cast<qlonglong>(d) != v.toLongLong()
                                                  : static_cast<qulonglong>(d) != v.toULongLong())
                reportIssue(issue(c, v, d, IssueKind::NumberRounded));
            return;
        }
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d)) {
                reportIssue(issue(c, v, QVariant(), IssueKind::NumberOutOfRange));
                return;
            }
            m_sheet->number(c, d);
            return;
        }
        case QMetaType::QDateTime:
        case QMetaType::QDate:
            writeDate(c, v);
            return;
        case QMetaType::QByteArray:
            reportIssue(issue(c, v, QVariant(), IssueKind::NotRepresentable));
            return;
        case QMetaType::QString: {
            const int type = m_fields[c].type;
            if ((type == dbDate || type == dbTime || type == dbTimeStamp) && writeDate(c, v))
                return;
            writeText(c, v, *static_cast<const QString*>(v.constData()));
            return;
        }
        default:
            writeText(c, v, v.toString());
            return;
        }
    }

    void writeText(int c, const QVariant& v, QStringView text)
    {
        switch (m_sheet->text(c, text)) {
        case CellTextChange::None:
            return;
        case CellTextChange::Cut:
            reportIssue(issue(c, v, xlsxCellText(text), IssueKind::TextCut));
            return;
        case CellTextChange::CharactersDropped:
            reportIssue(issue(c, v, xlsxCellText(text), IssueKind::CharactersMissing));
            return;
        }
    }

    /// A date as Excel's day number; false when the value names no date.
    bool writeDate(int c, const QVariant& v)
    {
        QDate date;
        int ms = 0;
        if (!dateOfValue(v, date, ms)) {
            if (v.typeId() != QMetaType::QDateTime && v.typeId() != QMetaType::QDate)
                return false;
            reportIssue(issue(c, v, QVariant(), IssueKind::DateOutOfRange));
            return true;
        }
        if (const auto serial = excelSerialFromDay(date, ms)) {
            m_sheet->number(c, *serial, ms == 0 ? XlsxStyle::Date : XlsxStyle::DateTime);
            return true;
        }
        // A time alone is the fraction of a day, as Excel keeps it.
        if (date == QDate(1899, 12, 30) && ms > 0) {
            m_sheet->number(c, ms / 86400000.0, XlsxStyle::Time);
            return true;
        }
        // Excel has no dates before March 1900; the date goes in as text.
        const QString text = date.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ')
            + QTime::fromMSecsSinceStartOfDay(ms).toString(QStringLiteral("HH:mm:ss"));
        m_sheet->text(c, text);
        reportIssue(issue(c, v, text, IssueKind::DateOutOfRange));
        return true;
    }

    std::shared_ptr<XlsxWriter> m_writer;
    XlsxSheetXml* m_sheet = nullptr;
    qint64 m_rows = 0;
    std::unique_ptr<SheetTable> m_readBack;
};

} // namespace

XlsxWorkbook::XlsxWorkbook(const QString& path)
{
    m_path = path;
    const QFileInfo info(path);
    if (info.exists()) {
        if (info.size() == 0)
            throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
        m_parts = readXlsxParts(path);
    }
}

XlsxWorkbook::~XlsxWorkbook() = default;

QStringList XlsxWorkbook::tableNames() const
{
    QStringList names;
    if (m_parts)
        for (const XlsxParts::Sheet& s : m_parts->sheets)
            names.append(s.name);
    return names;
}

bool XlsxWorkbook::dateSystem1904() const
{
    return m_parts && m_parts->date1904;
}

std::unique_ptr<IsamTable> XlsxWorkbook::openTable(const QString& name, bool writable)
{
    if (writable)
        throw IsamError::readOnly(m_path);
    if (!m_parts)
        throw IsamError::fileNotFound(m_path);
    return openXlsxSheet(m_path, m_parts, name);
}

bool XlsxWorkbook::canCreateTables() const
{
    return !m_parts;
}

std::unique_ptr<IsamTable> XlsxWorkbook::createTable(const QString& name, const IsamFields& fields)
{
    if (m_parts)
        throw IsamError::notSupported(m_path,
            QStringLiteral("Das Anlegen eines Tabellenblatts in einer vorhandenen Arbeitsmappe"));
    if (fields.isEmpty())
        throw IsamError(isamerr::NoFields,
            QStringLiteral("Das Tabellenblatt '%1' braucht mindestens ein Feld.").arg(name));
    if (!m_writer)
        m_writer = std::make_shared<XlsxWriter>(m_path);
    return std::make_unique<XlsxWriterTable>(m_writer, name, fields);
}

} // namespace kv::engine::isam
