#include "engine/isam/XlsWorkbook.h"

#include "engine/isam/BiffBook.h"
#include "engine/isam/CompoundFile.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/LittleEndian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::engine::isam {

namespace {

/// The cells of one sheet, decoded once on the first read and shared by every cursor.
class XlsSheetSource : public SheetSource {
public:
    XlsSheetSource(std::shared_ptr<const BiffBook> book, int sheet, QString path,
        std::shared_ptr<const std::vector<BiffCell>> cells = {})
        : m_book(std::move(book))
        , m_sheet(sheet)
        , m_path(std::move(path))
        , m_cells(std::move(cells))
    { }

    void rewind() override
    {
        m_next = 0;
        if (m_cells)
            return;
        try {
            m_cells = std::make_shared<const std::vector<BiffCell>>(m_book->readSheet(m_sheet));
        } catch (const DamagedInput& e) {
            throw IsamError::damaged(m_path, e.reason);
        }
    }

    bool nextRow(int& row, QVector<SheetCell>& cells) override
    {
        if (!m_cells)
            rewind();
        const std::vector<BiffCell>& all = *m_cells;
        while (m_next < all.size()) {
            row = all[m_next].row;
            cells.clear();
            bool any = false;
            for (; m_next < all.size() && all[m_next].row == row; ++m_next) {
                const BiffCell& c = all[m_next];
                if (c.value.kind == SheetCell::Empty)
                    continue;
                if (cells.size() <= c.column)
                    cells.resize(c.column + 1);
                cells[c.column] = c.value;
                any = true;
            }
            if (any)
                return true;
        }
        return false;
    }

    std::unique_ptr<SheetSource> clone() const override
    {
        return std::make_unique<XlsSheetSource>(m_book, m_sheet, m_path, m_cells);
    }

private:
    std::shared_ptr<const BiffBook> m_book;
    int m_sheet;
    QString m_path;
    std::shared_ptr<const std::vector<BiffCell>> m_cells;
    size_t m_next = 0;
};

QByteArray workbookStream(const QByteArray& file)
{
    if (!CompoundFile::hasSignature(file))
        return file;
    const CompoundFile container(file);
    // "Workbook" since Excel 97, "Book" before.
    for (const char* name : { "Workbook", "Book" }) {
        QByteArray s = container.stream(QString::fromLatin1(name));
        if (!s.isNull())
            return s;
    }
    throw DamagedInput { QStringLiteral("die Datei enthält keine Arbeitsmappe") };
}

} // namespace

XlsWorkbook::XlsWorkbook(const QString& path)
{
    m_path = path;
    const QFileInfo info(path);
    if (!info.exists())
        throw IsamError::fileNotFound(path);
    if (info.size() == 0)
        throw IsamError::damaged(path, QStringLiteral("die Datei ist leer"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw IsamError::ioError(path, f.errorString());
    const QByteArray file = f.readAll();
    try {
        m_book = std::make_shared<const BiffBook>(workbookStream(file), info.completeBaseName());
    } catch (const DamagedInput& e) {
        throw IsamError::damaged(path, e.reason);
    }
    if (m_book->encrypted())
        throw IsamError(isamerr::PasswordInvalid,
            QStringLiteral("Die Arbeitsmappe '%1' ist mit einem Kennwort geschützt.")
                .arg(QDir::toNativeSeparators(path)));
    m_sheets = m_book->sheetNames();
    if (m_sheets.isEmpty())
        throw IsamError::damaged(
            path, QStringLiteral("die Arbeitsmappe enthält kein lesbares Tabellenblatt"));
}

XlsWorkbook::~XlsWorkbook() = default;

int XlsWorkbook::biffVersion() const
{
    return m_book->version();
}

bool XlsWorkbook::dateSystem1904() const
{
    return m_book->dateSystem1904();
}

std::unique_ptr<IsamTable> XlsWorkbook::openTable(const QString& name, bool writable)
{
    if (writable)
        throw IsamError::readOnly(m_path);
    for (int i = 0; i < m_sheets.size(); ++i) {
        if (m_sheets[i].compare(name, Qt::CaseInsensitive) == 0)
            return std::make_unique<SheetTable>(
                m_path, m_sheets[i], std::make_unique<XlsSheetSource>(m_book, i, m_path));
    }
    throw IsamError(isamerr::ItemNotFound,
        QStringLiteral("Das Tabellenblatt '%1' gibt es in der Arbeitsmappe '%2' nicht.")
            .arg(name, QDir::toNativeSeparators(m_path)));
}

} // namespace kv::engine::isam
