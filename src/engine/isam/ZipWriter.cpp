#include "engine/isam/ZipWriter.h"

#include "engine/isam/IsamError.h"

#include <QDateTime>
#include <QDir>
#include <zlib.h>

namespace kv::engine::isam {

namespace {

constexpr quint64 Limit = 0xFFFFFFFFull;
constexpr qsizetype OutChunk = 256 * 1024;

void put16(QByteArray& out, quint16 v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, static_cast<quint16>(v & 0xFFFF));
    put16(out, static_cast<quint16>(v >> 16));
}

IsamError tooBig(const QString& path)
{
    return IsamError(isamerr::FieldTooSmall,
        QStringLiteral("Die Datei '%1' würde größer als 4 GB; so große Arbeitsmappen können nicht "
                       "geschrieben werden.")
            .arg(QDir::toNativeSeparators(path)));
}

} // namespace

DeflateStream::DeflateStream(QIODevice& out, int level, const QString& path)
    : m_out(out)
    , m_path(path)
    , m_z(std::make_unique<z_stream_s>())
{
    // Negative window bits: raw deflate, the zip entry carries its own header and check sum.
    if (deflateInit2(m_z.get(), level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw IsamError::ioError(path, QStringLiteral("zlib kann nicht packen"));
    m_buffer.resize(OutChunk);
    m_crc = static_cast<quint32>(crc32(0, nullptr, 0));
}

DeflateStream::~DeflateStream()
{
    deflateEnd(m_z.get());
}

void DeflateStream::write(const char* data, qsizetype size)
{
    if (size <= 0)
        return;
    m_crc = static_cast<quint32>(
        crc32_z(m_crc, reinterpret_cast<const Bytef*>(data), static_cast<z_size_t>(size)));
    m_size += static_cast<quint64>(size);
    if (m_size > Limit)
        throw tooBig(m_path);
    // zlib counts its input in 32 bits; large pieces go in several steps.
    while (size > 0) {
        const auto piece = static_cast<uInt>(std::min<qsizetype>(size, 1 << 30));
        m_z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        m_z->avail_in = piece;
        drain(Z_NO_FLUSH);
        data += piece;
        size -= piece;
    }
}

void DeflateStream::finish()
{
    if (m_finished)
        return;
    m_z->next_in = nullptr;
    m_z->avail_in = 0;
    drain(Z_FINISH);
    m_finished = true;
}

void DeflateStream::drain(int flush)
{
    for (;;) {
        m_z->next_out = reinterpret_cast<Bytef*>(m_buffer.data());
        m_z->avail_out = static_cast<uInt>(m_buffer.size());
        const int rc = deflate(m_z.get(), flush);
        if (rc == Z_STREAM_ERROR)
            throw IsamError::ioError(m_path, QStringLiteral("zlib kann nicht packen"));
        const qsizetype have = m_buffer.size() - static_cast<qsizetype>(m_z->avail_out);
        if (have > 0) {
            if (m_out.write(m_buffer.constData(), have) != have)
                throw IsamError::ioError(m_path, m_out.errorString());
            m_compressed += static_cast<quint64>(have);
        }
        if (flush == Z_FINISH ? rc == Z_STREAM_END : m_z->avail_out != 0)
            return;
    }
}

ZipWriter::ZipWriter(const QString& path, int level)
    : m_path(path)
    , m_level(level)
    , m_file(path)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw IsamError::ioError(path, m_file.errorString());
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    m_dosDate = static_cast<quint16>(
        ((std::max(d.year(), 1980) - 1980) << 9) | (d.month() << 5) | d.day());
    m_dosTime = static_cast<quint16>((t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
}

ZipWriter::~ZipWriter() = default;

void ZipWriter::add(const QByteArray& name, QByteArrayView data)
{
    DeflateStream& s = begin(name);
    s.write(data.data(), data.size());
    end();
}

DeflateStream& ZipWriter::begin(const QByteArray& name)
{
    writeLocalHeader(name);
    m_open = std::make_unique<DeflateStream>(m_file, m_level, m_path);
    return *m_open;
}

void ZipWriter::end()
{
    m_open->finish();
    completeEntry(*m_open);
    m_open.reset();
}

void ZipWriter::addDeflated(
    const QByteArray& name, const DeflateStream& done, QIODevice& compressed)
{
    writeLocalHeader(name);
    if (!compressed.seek(0))
        fail();
    QByteArray chunk(OutChunk, Qt::Uninitialized);
    quint64 left = done.compressedSize();
    while (left > 0) {
        const qint64 n
            = compressed.read(chunk.data(), static_cast<qint64>(std::min<quint64>(left, OutChunk)));
        if (n <= 0)
            throw IsamError::ioError(m_path, compressed.errorString());
        if (m_file.write(chunk.constData(), n) != n)
            fail();
        left -= static_cast<quint64>(n);
    }
    completeEntry(done);
}

void ZipWriter::writeLocalHeader(const QByteArray& name)
{
    Entry e;
    e.name = name;
    e.offset = static_cast<quint64>(m_file.pos());
    if (e.offset > Limit)
        throw tooBig(m_path);
    m_entries.append(e);
    QByteArray h;
    put32(h, 0x04034b50);
    put16(h, 20); // version needed: deflate
    put16(h, 0); // flags
    put16(h, 8); // deflate
    put16(h, m_dosTime);
    put16(h, m_dosDate);
    put32(h, 0); // check sum and sizes: patched when the entry is complete
    put32(h, 0);
    put32(h, 0);
    put16(h, static_cast<quint16>(name.size()));
    put16(h, 0);
    h += name;
    put(h);
}

void ZipWriter::completeEntry(const DeflateStream& done)
{
    Entry& e = m_entries.last();
    e.crc = done.crc();
    e.size = done.size();
    e.compressed = done.compressedSize();
    if (e.size > Limit || e.compressed > Limit)
        throw tooBig(m_path);
    const qint64 end = m_file.pos();
    QByteArray sums;
    put32(sums, e.crc);
    put32(sums, static_cast<quint32>(e.compressed));
    put32(sums, static_cast<quint32>(e.size));
    if (!m_file.seek(static_cast<qint64>(e.offset) + 14))
        fail();
    put(sums);
    if (!m_file.seek(end))
        fail();
}

void ZipWriter::finish()
{
    if (!m_file.isOpen())
        return;
    const quint64 start = static_cast<quint64>(m_file.pos());
    QByteArray dir;
    for (const Entry& e : m_entries) {
        put32(dir, 0x02014b50);
        put16(dir, 20); // made by: MS-DOS attributes, version 2.0
        put16(dir, 20);
        put16(dir, 0);
        put16(dir, 8);
        put16(dir, m_dosTime);
        put16(dir, m_dosDate);
        put32(dir, e.crc);
        put32(dir, static_cast<quint32>(e.compressed));
        put32(dir, static_cast<quint32>(e.size));
        put16(dir, static_cast<quint16>(e.name.size()));
        put16(dir, 0); // extra
        put16(dir, 0); // comment
        put16(dir, 0); // disk
        put16(dir, 0); // internal attributes
        put32(dir, 0); // external attributes
        put32(dir, static_cast<quint32>(e.offset));
        dir += e.name;
    }
    const auto dirSize = static_cast<quint32>(dir.size());
    if (start + dirSize > Limit)
        throw tooBig(m_path);
    put32(dir, 0x06054b50);
    put16(dir, 0);
    put16(dir, 0);
    put16(dir, static_cast<quint16>(m_entries.size()));
    put16(dir, static_cast<quint16>(m_entries.size()));
    put32(dir, dirSize);
    put32(dir, static_cast<quint32>(start));
    put16(dir, 0);
    put(dir);
    if (!m_file.flush())
        fail();
    m_file.close();
}

void ZipWriter::put(const QByteArray& bytes)
{
    if (m_file.write(bytes) != bytes.size())
        fail();
}

void ZipWriter::fail() const
{
    throw IsamError::ioError(m_path, m_file.errorString());
}

} // namespace kv::engine::isam
