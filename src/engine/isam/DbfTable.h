#pragma once

#include "engine/isam/DbfFieldCodec.h"
#include "engine/isam/DbfMemoFile.h"
#include "engine/isam/IsamTable.h"

#include <QFile>

namespace kv::engine::isam {

struct DbfOptions {
    CodePage codePage = CodePage::fromNumber(0); ///< invalid: the code page the file names
    bool writable = false;
};

/// A dBASE III/IV/5/7 or FoxPro table (.DBF) with its memo file, read and written by us.
/// Row ids are record numbers from 1; deleted records keep their number.
class DbfTable : public IsamTable, private RecordUndo {
public:
    /// Throws IsamError naming the file when it is missing, unreadable or not a table.
    static std::unique_ptr<DbfTable> open(const QString& path, const DbfOptions& options = {});
    /// Creates a new table (an existing file is replaced) with a memo file when a field needs
    /// one; text is written in codePage (Windows-1252 unless given).
    static std::unique_ptr<DbfTable> create(const QString& path, const IsamFields& fields,
        DbfFlavor flavor, const CodePage& codePage = CodePage());
    ~DbfTable() override;

    const DbfHeader& header() const { return m_header; }
    /// Records in the file, deleted ones included.
    qint64 recordCount() const { return m_header.recordCount; }

    qint64 rowCount() const override;
    /// Deleted records included: counting the others reads the whole file.
    qint64 rowEstimate() const override { return m_header.recordCount; }
    std::unique_ptr<IsamCursor> openCursor(bool withDeleted = false) override;
    IsamCapabilities capabilities() const override;
    qint64 append(const IsamRow& row) override;
    void update(qint64 rowId, const IsamRow& row) override;
    void remove(qint64 rowId) override;
    void flush() override;
    RecordUndo* recordUndo() override { return m_writable ? this : nullptr; }

    // for the cursor
    QVariant fieldValue(const char* record, int column, qint64 rowId);
    void fieldStored(const char* record, int column, qint64 rowId, int type, StorageSink& out);
    /// Reads records [first, first + count) into buffer; returns how many were read.
    qint64 readRecords(qint64 first, qint64 count, QByteArray& buffer);
    quint64 generation() const { return m_generation; }

private:
    // RecordUndo, in DbfTableUndo.cpp
    qint64 recordsInFile() const override { return m_header.recordCount; }
    QByteArray recordBytes(qint64 rowId) override;
    void putRecordBytes(qint64 rowId, const QByteArray& bytes) override;
    void cutRecords(qint64 count) override;

    DbfTable() = default;
    void openMemo(const QString& path, bool writable);
    void chooseCodePage(const CodePage& wanted, const QByteArray& sample);
    void nameFields();
    /// A text memo straight from the memo file into storage form; false for the general path.
    bool storeMemoText(const char* record, const DbfFieldDesc& field, StorageSink& out);
    void encodeRow(const IsamRow& row, char* record, qint64 rowId);
    void writePending();
    /// The record as it is, for a change; IsamError 3265 when there is none.
    QByteArray recordForChange(qint64 rowId);
    /// Writes the first size bytes of a record in place.
    void writeRecordStart(qint64 rowId, const char* data, qint64 size);
    void ensureWritable() const;

    QFile m_file;
    DbfHeader m_header;
    CodePage m_cp;
    QVector<int> m_visible; ///< header field index of each visible column
    std::unique_ptr<DbfMemoFile> m_memo;
    bool m_writable = false;
    bool m_dirty = false;
    QByteArray m_pending; ///< appended records not yet written
    qint64 m_pendingFirst = 0;
    mutable qint64 m_liveCount = -1;
    quint64 m_generation = 0;
    QByteArray m_scratch; ///< UTF-8 of the last text handed to SQLite
};

} // namespace kv::engine::isam
