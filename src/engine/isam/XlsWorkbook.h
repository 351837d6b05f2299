#pragma once

#include "engine/isam/SheetTable.h"

#include <memory>

namespace kv::engine::isam {

class BiffBook;

/// An Excel workbook of the old binary format (.xls): BIFF2 to BIFF4 worksheet files and
/// BIFF5/BIFF8 workbooks inside their container; each worksheet is a read-only table.
class XlsWorkbook : public IsamDatabase {
public:
    /// Throws IsamError naming the file when it is missing, damaged or protected by a password.
    explicit XlsWorkbook(const QString& path);
    ~XlsWorkbook() override;

    QStringList tableNames() const override { return m_sheets; }
    std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) override;

    int biffVersion() const;
    bool dateSystem1904() const;

private:
    std::shared_ptr<const BiffBook> m_book;
    QStringList m_sheets;
};

} // namespace kv::engine::isam
