#include "engine/isam/XlsWorkbook.h"

#include "engine/isam/IsamError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <freexl.h>

namespace kv::engine::isam {

namespace {

QString freexlReason(int code)
{
    switch (code) {
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("zu wenig Arbeitsspeicher");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
        return QStringLiteral("keine Excel-Arbeitsmappe");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        return QStringLiteral("die Datei enthält keine Arbeitsmappe");
    case FREEXL_BIFF_INVALID_BOF:
        return QStringLiteral("ungültiger Anfang der Arbeitsmappe");
    case FREEXL_UNSUPPORTED_CHARSET:
        return QStringLiteral("nicht unterstützte Codeseite");
    case FREEXL_CRAFTED_FILE:
        return QStringLiteral("die Datei ist stark beschädigt");
    default:
        return QStringLiteral("FreeXL-Fehler %1").arg(code);
    }
}

class XlsSheetSource : public SheetSource {
public:
    XlsSheetSource(std::shared_ptr<const void> handle, unsigned short sheet)
        : m_handle(std::move(handle))
        , m_sheet(sheet)
    { }

    void rewind() override
    {
        m_next = 0;
        m_rows = 0;
        m_columns = 0;
        // Several tables share one handle; the sheet is chosen again before each read.
        if (freexl_select_active_worksheet(m_handle.get(), m_sheet) == FREEXL_OK)
            freexl_worksheet_dimensions(m_handle.get(), &m_rows, &m_columns);
    }

    bool nextRow(int& row, QVector<SheetCell>& cells) override
    {
        if (freexl_select_active_worksheet(m_handle.get(), m_sheet) != FREEXL_OK)
            return false;
        while (m_next < m_rows) {
            const unsigned int r = m_next++;
            cells.clear();
            int last = -1;
            for (unsigned short c = 0; c < m_columns; ++c) {
                FreeXL_CellValue v;
                SheetCell cell;
                if (freexl_get_cell_value(m_handle.get(), r, c, &v) == FREEXL_OK)
                    cell = toCell(v);
                cells.append(cell);
                if (cell.kind != SheetCell::Empty)
                    last = c;
            }
            if (last >= 0) {
                cells.resize(last + 1);
                row = static_cast<int>(r);
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<SheetSource> clone() const override
    {
        return std::make_unique<XlsSheetSource>(m_handle, m_sheet);
    }

private:
    static SheetCell toCell(const FreeXL_CellValue& v)
    {
        SheetCell c;
        switch (v.type) {
        case FREEXL_CELL_INT:
            c.kind = SheetCell::Number;
            c.number = v.value.int_value;
            break;
        case FREEXL_CELL_DOUBLE:
            c.kind = SheetCell::Number;
            c.number = v.value.double_value;
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            c.kind = SheetCell::Text;
            c.text = QString::fromUtf8(v.value.text_value);
            if (c.text.isEmpty())
                c.kind = SheetCell::Empty;
            break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: {
            const QString t = QString::fromLatin1(v.value.text_value);
            if (v.type == FREEXL_CELL_TIME)
                c.dateTime = QDateTime(
                    QDate(1899, 12, 30), QTime::fromString(t, QStringLiteral("HH:mm:ss")));
            else if (v.type == FREEXL_CELL_DATE)
                c.dateTime
                    = QDateTime(QDate::fromString(t, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
            else
                c.dateTime = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            c.kind = c.dateTime.isValid() ? SheetCell::DateTime : SheetCell::Empty;
            break;
        }
        default:
            break;
        }
        return c;
    }

    std::shared_ptr<const void> m_handle;
    unsigned short m_sheet;
    unsigned int m_next = 0;
    unsigned int m_rows = 0;
    unsigned short m_columns = 0;
};

} // namespace

XlsWorkbook::XlsWorkbook(const QString& path)
{
    m_path = path;
    const QFileInfo info(path);
    if (!info.exists())
        throw IsamError::fileNotFound(path);
    if (info.size() == 0)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    const void* handle = nullptr;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &handle);
    if (rc != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        throw IsamError::damaged(path, freexlReason(rc));
    }
    m_handle = std::shared_ptr<const void>(handle, [](const void* h) { freexl_close(h); });
    unsigned int value = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &value) == FREEXL_OK
        && value == FREEXL_BIFF_OBFUSCATED)
        throw IsamError(isamerr::PasswordInvalid,
            QStringLiteral("Die Arbeitsmappe '%1' ist mit einem Kennwort geschützt.")
                .arg(QDir::toNativeSeparators(path)));
    if (freexl_get_info(handle, FREEXL_BIFF_VERSION, &value) == FREEXL_OK)
        m_biff = static_cast<int>(value);
    if (freexl_get_info(handle, FREEXL_BIFF_DATEMODE, &value) == FREEXL_OK)
        m_1904 = value == FREEXL_BIFF_DATEMODE_1904;
    unsigned int sheets = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    // FreeXL accepts some workbooks without finding a single sheet in them.
    if (sheets == 0)
        throw IsamError::damaged(
            path, QStringLiteral("die Arbeitsmappe enthält kein lesbares Tabellenblatt"));
    for (unsigned short i = 0; i < sheets; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle, i, &name) == FREEXL_OK && name)
            m_sheets.append(QString::fromUtf8(name));
        else
            m_sheets.append(QStringLiteral("Tabelle%1").arg(i + 1));
    }
}

std::unique_ptr<IsamTable> XlsWorkbook::openTable(const QString& name, bool writable)
{
    if (writable)
        throw IsamError::readOnly(m_path);
    for (int i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets[i].compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<SheetTable>(m_path, m_sheets[i],
                std::make_unique<XlsSheetSource>(m_handle, static_cast<unsigned short>(i)));
    }
    throw IsamError(isamerr::ItemNotFound,
        QStringLiteral("Das Tabellenblatt '%1' gibt es in der Arbeitsmappe '%2' nicht.")
            .arg(name, QDir::toNativeSeparators(m_path)));
}

} // namespace kv::engine::isam
