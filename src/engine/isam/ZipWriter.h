#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>
#include <memory>

struct z_stream_s;

namespace kv::engine::isam {

/// Raw deflate of one zip entry into a device, with the check sum and sizes the archive needs.
/// Failures throw IsamError naming path.
class DeflateStream {
public:
    DeflateStream(QIODevice& out, int level, const QString& path);
    ~DeflateStream();
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;

    void write(const char* data, qsizetype size);
    /// Ends the stream; nothing may be written after it.
    void finish();

    quint32 crc() const { return m_crc; }
    quint64 size() const { return m_size; }
    quint64 compressedSize() const { return m_compressed; }

private:
    void drain(int flush);

    QIODevice& m_out;
    QString m_path;
    std::unique_ptr<z_stream_s> m_z;
    QByteArray m_buffer;
    quint32 m_crc = 0;
    quint64 m_size = 0;
    quint64 m_compressed = 0;
    bool m_finished = false;
};

/// A zip archive written front to back: each entry's local header is patched once the entry
/// is complete, so no entry needs to be held in memory. Entries and the archive are limited
/// to 4 GiB (no Zip64); beyond that the write fails with a message instead of a broken file.
class ZipWriter {
public:
    /// Creates (or empties) the file; level is zlib's deflate level 1–9.
    ZipWriter(const QString& path, int level);
    ~ZipWriter();

    const QString& path() const { return m_path; }
    int level() const { return m_level; }

    /// An entry given whole.
    void add(const QByteArray& name, QByteArrayView data);
    /// An entry written in pieces straight into the archive; one at a time, closed by end().
    DeflateStream& begin(const QByteArray& name);
    void end();
    /// An entry deflated elsewhere: its compressed bytes are copied from compressed.
    void addDeflated(const QByteArray& name, const DeflateStream& done, QIODevice& compressed);
    /// Writes the central directory and closes the file.
    void finish();

private:
    struct Entry {
        QByteArray name;
        quint32 crc = 0;
        quint64 size = 0;
        quint64 compressed = 0;
        quint64 offset = 0;
    };

    void writeLocalHeader(const QByteArray& name);
    void completeEntry(const DeflateStream& done);
    void put(const QByteArray& bytes);
    [[noreturn]] void fail() const;

    QString m_path;
    int m_level;
    QFile m_file;
    QVector<Entry> m_entries;
    std::unique_ptr<DeflateStream> m_open;
    quint16 m_dosTime = 0;
    quint16 m_dosDate = 0;
};

} // namespace kv::engine::isam
