#pragma once

#include "engine/isam/SheetTable.h"

#include <memory>

namespace kv::engine::isam {

/// An Excel workbook of the old binary format (.xls, BIFF2 to BIFF8) through FreeXL; each
/// worksheet is a read-only table.
class XlsWorkbook : public IsamDatabase {
public:
    /// Throws IsamError naming the file when it is missing or no workbook FreeXL can read.
    explicit XlsWorkbook(const QString& path);

    QStringList tableNames() const override { return m_sheets; }
    std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) override;

    int biffVersion() const { return m_biff; }
    bool dateSystem1904() const { return m_1904; }

private:
    std::shared_ptr<const void> m_handle;
    QStringList m_sheets;
    int m_biff = 0;
    bool m_1904 = false;
};

} // namespace kv::engine::isam
