#include "engine/isam/SheetTable.h"

#include "engine/core/DataType.h"
#include "engine/isam/StorageDate.h"

#include <cmath>

namespace kv::engine::isam {

QDateTime excelSerialToDateTime(double serial, bool system1904)
{
    QDate d;
    int ms = 0;
    if (!excelSerialToDay(serial, system1904, d, ms))
        return {};
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(ms));
}

bool excelSerialToDay(double serial, bool system1904, QDate& date, int& msOfDay)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466.0)
        return false;
    qint64 ms = std::llround(serial * 86400000.0);
    qint64 days = ms / 86400000;
    ms %= 86400000;
    QDate base = system1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    // Excel counts a 29 February 1900 that never was; days before it sit one later.
    if (!system1904 && days < 61 && days > 0)
        base = QDate(1899, 12, 31);
    const QDate d = base.addDays(days);
    if (!d.isValid() || d.year() > 9999)
        return false;
    date = d;
    msOfDay = static_cast<int>(ms);
    return true;
}

std::optional<double> excelSerialFromDateTime(const QDateTime& dt)
{
    if (!dt.isValid())
        return std::nullopt;
    return excelSerialFromDay(dt.date(), dt.time().msecsSinceStartOfDay());
}

std::optional<double> excelSerialFromDay(const QDate& date, int msOfDay)
{
    if (!date.isValid() || date < QDate(1900, 3, 1) || date.year() > 9999)
        return std::nullopt;
    const qint64 days = QDate(1899, 12, 30).daysTo(date);
    return static_cast<double>(days) + msOfDay / 86400000.0;
}

QString numberText(double v)
{
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

namespace {

QString dateText(const QDate& date, int msOfDay)
{
    const QTime time = QTime::fromMSecsSinceStartOfDay(msOfDay);
    if (msOfDay == 0)
        return date.toString(QStringLiteral("dd.MM.yyyy"));
    if (date == QDate(1899, 12, 30))
        return time.toString(QStringLiteral("HH:mm:ss"));
    return date.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ')
        + time.toString(QStringLiteral("HH:mm:ss"));
}

void putText(const QString& text, StorageSink& out)
{
    const QByteArray utf8 = text.toUtf8();
    out.text(utf8.constData(), utf8.size());
}

class SheetCursor : public IsamCursor {
public:
    explicit SheetCursor(SheetTable& t)
        : m_table(t)
        , m_source(t.openSource())
    {
        m_source->rewind();
    }

    bool next() override
    {
        int row = -1;
        while (m_source->nextRow(row, m_cells)) {
            if (row <= m_table.headerRow())
                continue;
            m_row = row + 1;
            return true;
        }
        m_row = -1;
        m_cells.clear();
        return false;
    }

    bool seek(qint64 rowId) override
    {
        if (rowId <= m_row || m_row < 0) {
            m_source->rewind();
            m_row = 0;
        }
        while (m_row >= 0 && m_row < rowId)
            if (!next())
                return false;
        return m_row == rowId;
    }

    qint64 rowId() const override { return m_row; }

    QVariant value(int column) const override
    {
        if (m_row < 0 || column < 0 || column >= m_cells.size())
            return {};
        return m_table.convert(m_cells[column], column);
    }

    void storedValue(int column, int type, StorageSink& out) const override
    {
        if (m_row < 0 || column < 0 || column >= m_cells.size())
            return out.null();
        m_table.store(m_cells[column], column, type, out);
    }

private:
    SheetTable& m_table;
    std::unique_ptr<SheetSource> m_source;
    QVector<SheetCell> m_cells;
    qint64 m_row = 0;
};

} // namespace

SheetTable::SheetTable(
    const QString& workbookPath, const QString& sheetName, std::unique_ptr<SheetSource> source)
    : m_source(std::move(source))
{
    m_path = workbookPath;
    m_name = sheetName;
    m_codePage = QStringLiteral("Unicode");
    enum Seen { NumberSeen = 1, TextSeen = 2, BoolSeen = 4, DateSeen = 8 };
    QVector<int> seen;
    QVector<int> longest;
    QVector<SheetCell> cells;
    QStringList names;
    int row = -1;
    m_source->rewind();
    while (m_source->nextRow(row, cells)) {
        if (m_headerRow < 0) {
            m_headerRow = row;
            for (const SheetCell& c : std::as_const(cells)) {
                QString name;
                if (c.kind == SheetCell::Text)
                    name = c.textValue().trimmed();
                else if (c.kind == SheetCell::Number)
                    name = numberText(c.number);
                else if (c.kind == SheetCell::DateTime)
                    name = dateText(c.date, c.msOfDay);
                else if (c.kind == SheetCell::Bool)
                    name = c.number != 0 ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
                names.append(name);
            }
            continue;
        }
        ++m_rows;
        if (seen.size() < cells.size()) {
            seen.resize(cells.size());
            longest.resize(cells.size());
        }
        for (int i = 0; i < cells.size(); ++i) {
            switch (cells[i].kind) {
            case SheetCell::Number:
                seen[i] |= NumberSeen;
                break;
            case SheetCell::Text:
                seen[i] |= TextSeen;
                longest[i] = std::max<int>(longest[i], static_cast<int>(cells[i].textLength()));
                break;
            case SheetCell::Bool:
                seen[i] |= BoolSeen;
                break;
            case SheetCell::DateTime:
                seen[i] |= DateSeen;
                break;
            default:
                break;
            }
        }
    }
    const int columns = static_cast<int>(std::max<qsizetype>(names.size(), seen.size()));
    seen.resize(columns);
    longest.resize(columns);
    QStringList used;
    for (int i = 0; i < columns; ++i) {
        IsamField f;
        QString name = i < names.size() ? names[i] : QString();
        // Unnamed columns are called F1, F2, … after their position.
        if (name.isEmpty())
            name = QStringLiteral("F%1").arg(i + 1);
        const QString base = name;
        for (int n = 1; used.contains(name, Qt::CaseInsensitive); ++n)
            name = base + QString::number(n);
        used.append(name);
        f.name = name;
        switch (seen[i]) {
        case NumberSeen:
            f.type = dbDouble;
            f.nativeType = QStringLiteral("Zahl");
            break;
        case BoolSeen:
            f.type = dbBoolean;
            f.nativeType = QStringLiteral("Wahrheitswert");
            break;
        case DateSeen:
            f.type = dbDate;
            f.nativeType = QStringLiteral("Datum");
            break;
        default:
            f.type = longest[i] > 255 ? dbMemo : dbText;
            f.size = f.type == dbText ? 255 : 0;
            f.nativeType = QStringLiteral("Text");
            break;
        }
        if (f.size == 0)
            f.size = fixedSize(f.type);
        m_fields.append(f);
    }
}

std::unique_ptr<IsamCursor> SheetTable::openCursor(bool)
{
    return std::make_unique<SheetCursor>(*this);
}

QVariant SheetTable::convert(const SheetCell& c, int column) const
{
    if (c.kind == SheetCell::Empty || c.kind == SheetCell::Error)
        return {};
    switch (m_fields[column].type) {
    case dbDouble:
        return c.number;
    case dbBoolean:
        return c.number != 0;
    case dbDate:
        return c.kind == SheetCell::DateTime ? QVariant(c.dateTime()) : QVariant(QDateTime());
    default:
        switch (c.kind) {
        case SheetCell::Number:
            return numberText(c.number);
        case SheetCell::Bool:
            return c.number != 0 ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
        case SheetCell::DateTime:
            return dateText(c.date, c.msOfDay);
        default:
            return c.textValue();
        }
    }
}

void SheetTable::store(const SheetCell& c, int column, int type, StorageSink& out) const
{
    if (c.kind == SheetCell::Empty || c.kind == SheetCell::Error)
        return out.null();
    const int own = m_fields[column].type;
    if (own == type) {
        switch (type) {
        case dbDouble:
            return out.real(c.number);
        case dbBoolean:
            return out.integer(c.number != 0 ? -1 : 0);
        case dbDate:
            if (c.kind == SheetCell::DateTime && putStoredDate(c.date, c.msOfDay, out))
                return;
            break;
        default:
            if (c.kind == SheetCell::Text) {
                if (c.utf8.isEmpty())
                    return putText(c.text, out);
                return out.text(c.utf8.constData(), c.utf8.size());
            }
            break;
        }
    }
    putStored(datatype::toStorage(convert(c, column), type), out);
}

qsizetype SheetCell::textLength() const
{
    if (utf8.isEmpty())
        return text.size();
    // Every byte that starts a character counts once, a four-byte one twice (a surrogate pair).
    qsizetype n = 0;
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        n += (b & 0xC0) != 0x80;
        n += b >= 0xF0;
    }
    return n;
}

} // namespace kv::engine::isam
