#pragma once

#include "engine/isam/DbfHeader.h"

#include <QFile>
#include <optional>

namespace kv::engine::isam {

/// A .DBT or .FPT memo file: blocks addressed by number, read and appended.
class DbfMemoFile {
public:
    /// Opens an existing memo file; throws IsamError when it cannot be read.
    DbfMemoFile(const QString& path, DbfMemoKind kind, bool writable);
    /// Creates a new, empty memo file of that kind.
    static std::unique_ptr<DbfMemoFile> create(const QString& path, DbfMemoKind kind);

    DbfMemoKind kind() const { return m_kind; }
    const QString& path() const { return m_path; }

    struct Block {
        QByteArray data;
        bool text = true; ///< FoxPro: block type 1; picture and object blocks are binary
    };
    /// The memo at block number; nullopt when the number points outside the file or at a block
    /// that is not a memo (the caller reports it).
    std::optional<Block> read(quint32 block);
    struct BlockView {
        QByteArrayView data; ///< valid until the next call on this file
        bool text = true;
    };
    /// read() without a copy of the memo.
    std::optional<BlockView> readView(quint32 block);
    /// Appends data as a new memo and returns its block number.
    quint32 append(const QByteArray& data, bool text);
    /// Writes the pointer to the next free block.
    void flush();

private:
    DbfMemoFile() = default;
    void writeHeader();
    /// Whether the file reaches end; asks the file system only when the known size is short,
    /// since a size query costs a system call per memo.
    bool reaches(qint64 end);
    /// Bytes [at, at + size) of the file, fewer where it ends, through a read-ahead window: an
    /// import reads the memos in the order they were written, and a seek and a read per memo
    /// would cost two system calls each. Valid until the next call.
    QByteArrayView span(qint64 at, qint64 size);

    QString m_path;
    DbfMemoKind m_kind = DbfMemoKind::Dbase3;
    QFile m_file;
    int m_blockSize = 512;
    quint32 m_nextFree = 1;
    qint64 m_size = 0; ///< the file's size as last seen
    QByteArray m_window; ///< file bytes from m_windowAt on; emptied by every write
    qint64 m_windowAt = 0;
};

/// The memo file beside a table (same base name, .DBT or .FPT in any letter case), or "".
QString findMemoFile(const QString& tablePath, DbfMemoKind kind);

} // namespace kv::engine::isam
