#pragma once

#include "engine/isam/IsamTable.h"

#include <QDateTime>

namespace kv::engine::isam {

/// One cell of a worksheet as the workbook readers hand it over.
struct SheetCell {
    enum Kind { Empty, Number, Text, Bool, DateTime, Error };
    Kind kind = Empty;
    double number = 0; ///< Number; Bool as 0/1
    QString text; ///< Text, unless the reader had it as UTF-8
    QByteArray utf8; ///< Text as the XML held it; it is handed on without a detour through QString
    QDate date; ///< DateTime: the day …
    int msOfDay = 0; ///< … and the time of day; no QDateTime, whose time-zone lookup is slow

    QString textValue() const { return utf8.isEmpty() ? text : QString::fromUtf8(utf8); }
    /// Length of the text in UTF-16 units, as QString::size() counts.
    qsizetype textLength() const;
    QDateTime dateTime() const { return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msOfDay)); }
};

/// The rows of one worksheet, read again from the start on every rewind.
class SheetSource {
public:
    virtual ~SheetSource() = default;
    virtual void rewind() = 0;
    /// The next row that has cells: its 0-based sheet row and its cells by 0-based column.
    virtual bool nextRow(int& row, QVector<SheetCell>& cells) = 0;
    /// An independent reader of the same sheet, for a second cursor.
    virtual std::unique_ptr<SheetSource> clone() const = 0;
};

/// A worksheet as a table: the first row with cells names the fields, every later row is a
/// record. Each column's type comes from its cells (numbers Double, dates Date/Time, truth
/// values Boolean, anything mixed or textual Text, or Memo when a text is longer than 255);
/// a column that mixes types keeps every value as text rather than losing one. Row ids are
/// the 1-based sheet rows.
class SheetTable : public IsamTable {
public:
    /// Scans the sheet once to find the header and the column types; the rows are read again
    /// by every cursor.
    SheetTable(
        const QString& workbookPath, const QString& sheetName, std::unique_ptr<SheetSource> source);

    qint64 rowCount() const override { return m_rows; }
    std::unique_ptr<IsamCursor> openCursor(bool withDeleted = false) override;

    /// A cell as a value of the column's type.
    QVariant convert(const SheetCell& cell, int column) const;
    /// convert() in storage form for a column of the engine type, straight into the sink.
    void store(const SheetCell& cell, int column, int type, StorageSink& out) const;
    std::unique_ptr<SheetSource> openSource() const { return m_source->clone(); }
    int headerRow() const { return m_headerRow; }

private:
    std::unique_ptr<SheetSource> m_source;
    int m_headerRow = -1;
    qint64 m_rows = 0;
};

/// Excel's day number (1900 or 1904 system) as date and time; invalid outside 0001–9999.
QDateTime excelSerialToDateTime(double serial, bool system1904);
/// The same as day and time of day without a QDateTime; false outside 0001–9999.
bool excelSerialToDay(double serial, bool system1904, QDate& date, int& msOfDay);
/// The day number of a date and time in the 1900 system; nullopt before 1900-01-01.
std::optional<double> excelSerialFromDateTime(const QDateTime& dt);
std::optional<double> excelSerialFromDay(const QDate& date, int msOfDay);
/// A number as text the way a user expects it ("1.3", "36436153"), not "1.300000".
QString numberText(double v);

} // namespace kv::engine::isam
