#pragma once

#include "engine/isam/DbfTable.h"

namespace kv::engine::isam {

/// A folder of dBASE/FoxPro tables: each .DBF file is one table named after the file.
class DbfFolder : public IsamDatabase {
public:
    /// flavor decides the layout of tables created here; codePage, when valid, overrides the
    /// code page of every table (for files that name none or the wrong one).
    DbfFolder(const QString& folder, DbfFlavor flavor,
        const CodePage& codePage = CodePage::fromNumber(0));

    QStringList tableNames() const override;
    std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) override;
    bool canCreateTables() const override { return true; }
    std::unique_ptr<IsamTable> createTable(const QString& name, const IsamFields& fields) override;

    /// The file of a table, "" when there is none.
    QString tablePath(const QString& name) const;

private:
    DbfFlavor m_flavor;
    CodePage m_codePage;
};

} // namespace kv::engine::isam
