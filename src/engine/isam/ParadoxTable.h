#pragma once

#include "engine/isam/CodePage.h"
#include "engine/isam/IsamTable.h"

#include <QFile>
#include <optional>

struct px_doc;

namespace kv::engine::isam {

/// The Paradox versions we write ("Paradox 3.x;", "4.x;", "5.x;").
enum class ParadoxVersion { V3 = 30, V4 = 40, V5 = 50 };

/// A Paradox table (.DB with its .MB blob file) through pxlib. pxlib reads the blocks and the
/// blobs; the field values are decoded here. Tables are read whole-file by record number;
/// writing creates a new table and appends (pxlib cannot change a table it did not create).
class ParadoxTable : public IsamTable {
public:
    /// Throws IsamError naming the file when it is missing or no Paradox table.
    static std::unique_ptr<ParadoxTable> open(
        const QString& path, const CodePage& codePage = CodePage::fromNumber(0));
    static std::unique_ptr<ParadoxTable> create(const QString& path, const IsamFields& fields,
        ParadoxVersion version, const CodePage& codePage = CodePage());
    ~ParadoxTable() override;

    /// The file version as pxlib reports it (30, 35, 40, 50, 70).
    int fileVersion() const;

    qint64 rowCount() const override;
    std::unique_ptr<IsamCursor> openCursor(bool withDeleted = false) override;
    IsamCapabilities capabilities() const override;
    qint64 append(const IsamRow& row) override;
    void flush() override;

    // for the cursor
    bool readRecord(qint64 rowId, QByteArray& record);
    QVariant fieldValue(const QByteArray& record, int column, qint64 rowId);

private:
    ParadoxTable() = default;
    void describeFields();
    void close();
    std::optional<QByteArray> readBlob(const char* field, int length, int column, qint64 rowId);

    px_doc* m_doc = nullptr;
    std::unique_ptr<QFile> m_blobFile;
    CodePage m_cp;
    QVector<int> m_offsets;
    QVector<int> m_lengths;
    QVector<char> m_types;
    bool m_writing = false;
    qint64 m_written = 0;
    QString m_error; ///< last message of pxlib's error handler
    friend void paradoxError(px_doc*, int, const char*, void*);
};

} // namespace kv::engine::isam
