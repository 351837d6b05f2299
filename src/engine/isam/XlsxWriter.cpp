#include "engine/isam/XlsxWorkbook.h"

#include "engine/isam/IsamError.h"
#include "engine/isam/StorageDate.h"
#include "engine/isam/XlsxParts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <xlsxwriter.h>

namespace kv::engine::isam {

namespace {

constexpr int MaxRows = 1048576;
constexpr int MaxCellText = 32767;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

/// A workbook being written: libxlsxwriter keeps it until it is closed, then writes the file.
class XlsxWriter {
public:
    explicit XlsxWriter(const QString& path)
        : m_path(path)
    {
        lxw_workbook_options options = {};
        // Rows go to temporary files as they come, so memory stays flat for any row count.
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!m_book)
            throw IsamError::ioError(
                path, QStringLiteral("die Arbeitsmappe kann nicht angelegt werden"));
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_date = workbook_add_format(m_book);
        format_set_num_format(m_date, "dd.mm.yyyy");
        m_dateTime = workbook_add_format(m_book);
        format_set_num_format(m_dateTime, "dd.mm.yyyy hh:mm:ss");
    }

    ~XlsxWriter()
    {
        try {
            close();
        } catch (const IsamError&) {
            // close() reports to whoever calls it; a destructor has nobody to tell.
        }
    }

    const QString& path() const { return m_path; }
    bool closed() const { return m_book == nullptr; }

    lxw_worksheet* addSheet(const QString& name)
    {
        if (!m_book)
            throw IsamError::notSupported(
                m_path, QStringLiteral("Das Anfügen an eine geschriebene Arbeitsmappe"));
        lxw_worksheet* ws = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!ws)
            throw IsamError(isamerr::Generic,
                QStringLiteral(
                    "Das Tabellenblatt '%1' kann in der Arbeitsmappe '%2' nicht angelegt "
                    "werden.")
                    .arg(name, native(m_path)));
        return ws;
    }

    void close()
    {
        if (!m_book)
            return;
        const lxw_error rc = workbook_close(m_book);
        m_book = nullptr;
        if (rc != LXW_NO_ERROR)
            throw IsamError::ioError(m_path, QString::fromUtf8(lxw_strerror(rc)));
    }

    lxw_format* bold() const { return m_bold; }
    lxw_format* date() const { return m_date; }
    lxw_format* dateTime() const { return m_dateTime; }

private:
    QString m_path;
    lxw_workbook* m_book = nullptr;
    lxw_format* m_bold = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_dateTime = nullptr;
};

namespace {

/// Excel's rules for sheet names: at most 31 characters, none of []:*?/\ .
QString sheetName(const QString& wanted)
{
    QString name = wanted;
    for (QChar& c : name)
        if (QStringView(u"[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    name = name.left(31);
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
        m_sheet = m_writer->addSheet(m_name);
        for (int c = 0; c < fields.size(); ++c)
            worksheet_write_string(m_sheet, 0, static_cast<lxw_col_t>(c),
                fields[c].name.toUtf8().constData(), m_writer->bold());
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
        const auto r = static_cast<lxw_row_t>(++m_rows);
        for (int c = 0; c < m_fields.size() && c < row.size(); ++c)
            write(r, c, row[c]);
        return m_rows + 1;
    }

    void flush() override { m_writer->close(); }

private:
    void write(lxw_row_t r, int c, const QVariant& v)
    {
        if (!v.isValid() || v.isNull())
            return;
        const auto col = static_cast<lxw_col_t>(c);
        const qint64 rowId = static_cast<qint64>(r) + 1;
        switch (v.typeId()) {
        case QMetaType::Bool:
            worksheet_write_boolean(m_sheet, r, col, v.toBool(), nullptr);
            return;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (!std::isfinite(d)) {
                reportIssue(
                    { rowId, c, m_fields[c].name, v, QVariant(), IssueKind::NumberOutOfRange });
                return;
            }
            worksheet_write_number(m_sheet, r, col, d, nullptr);
            if (v.typeId() == QMetaType::LongLong && static_cast<qlonglong>(d) != v.toLongLong())
                reportIssue({ rowId, c, m_fields[c].name, v, d, IssueKind::NumberRounded });
            return;
        }
        case QMetaType::QDateTime:
        case QMetaType::QDate:
            writeDate(r, c, v);
            return;
        case QMetaType::QByteArray:
            reportIssue({ rowId, c, m_fields[c].name, v, QVariant(), IssueKind::NotRepresentable });
            return;
        default: {
            const int type = m_fields[c].type;
            if ((type == dbDate || type == dbTime || type == dbTimeStamp) && writeDate(r, c, v))
                return;
            QString text = v.toString();
            if (text.size() > MaxCellText) {
                text.truncate(MaxCellText);
                reportIssue({ rowId, c, m_fields[c].name, v, text, IssueKind::TextCut });
            }
            worksheet_write_string(m_sheet, r, col, text.toUtf8().constData(), nullptr);
            return;
        }
        }
    }

    /// A date as Excel's day number; false when the value names no date.
    bool writeDate(lxw_row_t r, int c, const QVariant& v)
    {
        QDate date;
        int ms = 0;
        if (!dateOfValue(v, date, ms)) {
            if (v.typeId() != QMetaType::QDateTime && v.typeId() != QMetaType::QDate)
                return false;
            reportIssue({ static_cast<qint64>(r) + 1, c, m_fields[c].name, v, QVariant(),
                IssueKind::DateOutOfRange });
            return true;
        }
        const auto col = static_cast<lxw_col_t>(c);
        if (const auto serial = excelSerialFromDay(date, ms)) {
            worksheet_write_number(
                m_sheet, r, col, *serial, ms == 0 ? m_writer->date() : m_writer->dateTime());
            return true;
        }
        // Excel has no dates before March 1900; the date goes in as text.
        const QString text = date.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ')
            + QTime::fromMSecsSinceStartOfDay(ms).toString(QStringLiteral("HH:mm:ss"));
        worksheet_write_string(m_sheet, r, col, text.toUtf8().constData(), nullptr);
        reportIssue({ static_cast<qint64>(r) + 1, c, m_fields[c].name, v, text,
            IssueKind::DateOutOfRange });
        return true;
    }

    std::shared_ptr<XlsxWriter> m_writer;
    lxw_worksheet* m_sheet = nullptr;
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
