#pragma once

#include "engine/isam/SheetTable.h"

#include <memory>

namespace kv::engine::isam {

struct XlsxParts;
class XlsxWriter;

/// An Excel workbook of the XML format (.xlsx): read through libzip and Qt's XML stream reader
/// (each worksheet a table, streamed row by row), written as a zip archive of our own with
/// zlib, row by row. Tables created here go into a new file, which is complete when a table is
/// flushed (or when the last of them and the workbook are gone).
class XlsxWorkbook : public IsamDatabase {
public:
    /// Opens an existing workbook, or prepares a new one when the file does not exist yet.
    /// Throws IsamError naming the file when it exists but is no workbook.
    explicit XlsxWorkbook(const QString& path);
    ~XlsxWorkbook() override;

    QStringList tableNames() const override;
    std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) override;
    bool canCreateTables() const override;
    std::unique_ptr<IsamTable> createTable(const QString& name, const IsamFields& fields) override;

    bool dateSystem1904() const;

private:
    std::shared_ptr<const XlsxParts> m_parts;
    std::shared_ptr<XlsxWriter> m_writer;
};

} // namespace kv::engine::isam
