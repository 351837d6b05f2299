#pragma once

#include "engine/isam/CodePage.h"
#include "engine/isam/SheetTable.h"

#include <QByteArray>
#include <memory>
#include <vector>

namespace kv::engine::isam {

/// One cell of a worksheet with its place, as BiffBook::readSheet hands them over.
struct BiffCell {
    int row = 0;
    int column = 0;
    SheetCell value;
};

/// The record stream of a binary Excel workbook (BIFF5/8, the stream inside the container) or
/// worksheet (BIFF2–4, the whole file): the sheet list and what the cells need to be read —
/// code page, date system, number formats and the shared strings. Throws DamagedInput when
/// the stream does not hold together.
class BiffBook {
public:
    /// sheetName names the single sheet of a BIFF2–4 file, which stores no name.
    BiffBook(QByteArray stream, const QString& sheetName);

    int version() const { return m_version; }
    bool dateSystem1904() const { return m_1904; }
    bool encrypted() const { return m_encrypted; }
    QStringList sheetNames() const;

    /// The cells of a sheet that hold a value, sorted by row and column.
    std::vector<BiffCell> readSheet(int index) const;

private:
    struct Sheet {
        QString name;
        qsizetype offset = 0;
    };

    void readGlobals();
    void readFormat(const char* data, qsizetype size);
    void readXf(const char* data, qsizetype size);
    bool isDateXf(int xf) const;
    QString cellString(const char* data, qsizetype size, qsizetype at) const;

    QByteArray m_stream;
    int m_version = 0;
    bool m_1904 = false;
    bool m_encrypted = false;
    CodePage m_codePage;
    std::vector<Sheet> m_sheets;
    std::vector<QString> m_formats; ///< by format number
    std::vector<int> m_xfFormats; ///< the format number of each cell format
    QStringList m_strings; ///< the shared strings
};

} // namespace kv::engine::isam
