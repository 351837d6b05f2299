#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace kv::engine::isam {

class DeflateStream;

/// Cell styles of the workbooks we write, in the order of their styles part.
enum class XlsxStyle { Normal = 0, Header = 1, Date = 2, DateTime = 3, Time = 4 };

/// Excel holds at most this many characters in a cell.
constexpr qsizetype XlsxMaxCellText = 32767;

/// What writing a text into a cell changed.
enum class CellTextChange {
    None,
    Cut, ///< longer than a cell holds
    CharactersDropped, ///< characters XML 1.0 cannot carry (control characters, lone surrogates)
};

/// The text a cell really holds: cut to the cell limit, without the characters XML forbids.
/// Only needed where the text changed, to show the user what arrived.
QString xlsxCellText(QStringView text);

/// The XML of one worksheet, built in a buffer and handed on in large pieces: no formatting
/// call and no temporary string per cell. Rows come in ascending order, cells of a row in
/// ascending columns; cells that follow each other leave out their reference.
class XlsxSheetXml {
public:
    /// Writes the sheet's head; selected marks the sheet that opens first.
    XlsxSheetXml(DeflateStream& out, bool selected);

    /// row: 0-based; the row element is only written with its first cell.
    void beginRow(qint64 row);
    void number(int column, double value, XlsxStyle style = XlsxStyle::Normal);
    void integer(int column, qint64 value);
    void boolean(int column, bool value);
    CellTextChange text(int column, QStringView text, XlsxStyle style = XlsxStyle::Normal);
    void endRow();
    /// Writes the sheet's end and hands on the rest of the buffer.
    void finish();

private:
    char* reserve(qsizetype bytes);
    void append(const char* text, qsizetype size);
    void cellStart(int column, XlsxStyle style, const char* type);
    template <typename T> void cellValue(int column, T value, XlsxStyle style);
    void flushBuffer();

    DeflateStream& m_out;
    std::vector<char> m_buffer;
    qsizetype m_used = 0;
    qint64 m_row = 0;
    int m_nextColumn = 0;
    bool m_rowOpen = false;
};

} // namespace kv::engine::isam
