#include "engine/isam/DbfMemoFile.h"

#include "engine/isam/IsamError.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace kv::engine::isam {

namespace {
// Longer memos than this are taken for damage, not data.
constexpr quint32 MaxMemo = 256u * 1024 * 1024;
constexpr qint64 WindowBytes = 1 << 20;
} // namespace

QString findMemoFile(const QString& tablePath, DbfMemoKind kind)
{
    const QFileInfo info(tablePath);
    const QString base = info.completeBaseName();
    QStringList endings;
    if (kind == DbfMemoKind::FoxPro)
        endings = { QStringLiteral("fpt"), QStringLiteral("dbt") };
    else
        endings = { QStringLiteral("dbt"), QStringLiteral("fpt") };
    const QDir dir = info.dir();
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString& ending : endings) {
        const QString wanted = base + QLatin1Char('.') + ending;
        for (const QString& name : names) {
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                return dir.filePath(name);
        }
    }
    return {};
}

DbfMemoFile::DbfMemoFile(const QString& path, DbfMemoKind kind, bool writable)
    : m_path(path)
    , m_kind(kind)
    , m_file(path)
{
    if (!m_file.open(writable ? QIODevice::ReadWrite : QIODevice::ReadOnly))
        throw IsamError::ioError(path, m_file.errorString());
    QByteArray head = m_file.read(512);
    if (head.size() < 8)
        throw IsamError::damaged(path, QStringLiteral("der Kopf der Memodatei ist unvollständig"));
    if (path.endsWith(QLatin1String(".fpt"), Qt::CaseInsensitive))
        m_kind = DbfMemoKind::FoxPro;
    if (m_kind == DbfMemoKind::FoxPro) {
        m_nextFree = qFromBigEndian<quint32>(head.constData());
        m_blockSize = qFromBigEndian<quint16>(head.constData() + 6);
        // FoxPro allows any block size; 0 stands for the old default of 512.
        if (m_blockSize == 0)
            m_blockSize = 512;
    } else {
        m_nextFree = qFromLittleEndian<quint32>(head.constData());
        if (m_kind == DbfMemoKind::Dbase4 && head.size() >= 22) {
            const int size = qFromLittleEndian<quint16>(head.constData() + 20);
            m_blockSize = (size >= 64 && size % 64 == 0) ? size : 512;
        }
    }
    const qint64 blocks = (m_file.size() + m_blockSize - 1) / m_blockSize;
    if (m_nextFree < 1 || m_nextFree < blocks)
        m_nextFree = static_cast<quint32>(std::max<qint64>(blocks, 1));
}

std::unique_ptr<DbfMemoFile> DbfMemoFile::create(const QString& path, DbfMemoKind kind)
{
    std::unique_ptr<DbfMemoFile> m(new DbfMemoFile);
    m->m_path = path;
    m->m_kind = kind;
    m->m_file.setFileName(path);
    if (!m->m_file.open(QIODevice::ReadWrite | QIODevice::Truncate))
        throw IsamError::ioError(path, m->m_file.errorString());
    m->m_blockSize = kind == DbfMemoKind::FoxPro ? 64 : 512;
    m->m_nextFree = kind == DbfMemoKind::FoxPro ? 512 / 64 : 1;
    m->m_file.write(QByteArray(512, '\0'));
    m->writeHeader();
    return m;
}

void DbfMemoFile::flush()
{
    writeHeader();
    m_file.flush();
}

void DbfMemoFile::writeHeader()
{
    char head[22] = {};
    if (m_kind == DbfMemoKind::FoxPro) {
        qToBigEndian<quint32>(m_nextFree, head);
        qToBigEndian<quint16>(static_cast<quint16>(m_blockSize), head + 6);
    } else {
        qToLittleEndian<quint32>(m_nextFree, head);
        if (m_kind == DbfMemoKind::Dbase4) {
            head[16] = 0x03; // dBASE IV memo file version
            qToLittleEndian<quint16>(static_cast<quint16>(m_blockSize), head + 20);
        }
    }
    m_window.clear();
    m_file.seek(0);
    m_file.write(head, m_kind == DbfMemoKind::FoxPro ? 8 : sizeof head);
}

std::optional<DbfMemoFile::Block> DbfMemoFile::read(quint32 block)
{
    const auto view = readView(block);
    if (!view)
        return std::nullopt;
    return Block { view->data.toByteArray(), view->text };
}

std::optional<DbfMemoFile::BlockView> DbfMemoFile::readView(quint32 block)
{
    const qint64 at = static_cast<qint64>(block) * m_blockSize;
    if (block == 0 || !reaches(at + 1))
        return std::nullopt;
    if (m_kind == DbfMemoKind::FoxPro) {
        const QByteArrayView head = span(at, 8);
        if (head.size() < 8)
            return std::nullopt;
        const quint32 type = qFromBigEndian<quint32>(head.data());
        const quint32 length = qFromBigEndian<quint32>(head.data() + 4);
        if (length > MaxMemo || !reaches(at + 8 + length))
            return std::nullopt;
        const QByteArrayView data = span(at + 8, length);
        if (data.size() != static_cast<qsizetype>(length))
            return std::nullopt;
        return BlockView { data, type == 1 };
    }
    const QByteArrayView first = span(at, 8);
    if (first.size() >= 8 && static_cast<unsigned char>(first[0]) == 0xFF
        && static_cast<unsigned char>(first[1]) == 0xFF && first[2] == 0x08 && first[3] == 0) {
        // dBASE IV: the length counts the 8 bytes of the block head.
        const quint32 length = qFromLittleEndian<quint32>(first.data() + 4);
        if (length < 8 || length > MaxMemo || !reaches(at + length))
            return std::nullopt;
        const QByteArrayView data = span(at + 8, length - 8);
        if (data.size() != static_cast<qsizetype>(length - 8))
            return std::nullopt;
        return BlockView { data, true };
    }
    // dBASE III: text up to the end mark 0x1A, looked for in ever larger stretches.
    qsizetype searched = 0;
    for (qint64 want = m_blockSize;; want = std::min<qint64>(want * 4, MaxMemo)) {
        const QByteArrayView data = span(at, want);
        const qsizetype end = data.indexOf('\x1A', searched);
        if (end >= 0)
            return BlockView { data.first(end), true };
        if (data.size() < want || want == MaxMemo)
            return BlockView { data, true };
        searched = data.size();
    }
}

QByteArrayView DbfMemoFile::span(qint64 at, qint64 size)
{
    const qint64 windowEnd = m_windowAt + m_window.size();
    if (at < m_windowAt || at + size > windowEnd) {
        // What one long memo needed is not kept for all the short ones after it.
        if (m_window.capacity() > 2 * std::max<qint64>(size, WindowBytes))
            m_window = QByteArray();
        m_window.resize(std::max<qint64>(size, WindowBytes));
        m_windowAt = at;
        const qint64 got = m_file.seek(at) ? m_file.read(m_window.data(), m_window.size()) : -1;
        m_window.truncate(std::max<qint64>(got, 0));
    }
    const qint64 from = at - m_windowAt;
    return QByteArrayView(m_window).sliced(from, std::min<qint64>(size, m_window.size() - from));
}

quint32 DbfMemoFile::append(const QByteArray& data, bool text)
{
    const quint32 block = m_nextFree;
    QByteArray out;
    if (m_kind == DbfMemoKind::FoxPro) {
        char head[8];
        qToBigEndian<quint32>(text ? 1u : 0u, head);
        qToBigEndian<quint32>(static_cast<quint32>(data.size()), head + 4);
        out.append(head, 8);
        out.append(data);
    } else if (m_kind == DbfMemoKind::Dbase4) {
        char head[8] = { '\xFF', '\xFF', 0x08, 0x00 };
        qToLittleEndian<quint32>(static_cast<quint32>(data.size() + 8), head + 4);
        out.append(head, 8);
        out.append(data);
        // dBASE IV ends a memo with 0x1F as well; readers that count the head twice stop there.
        out.append("\x1F\x1F", 2);
    } else {
        out = data;
        out.append("\x1A\x1A", 2);
    }
    const qint64 blocks = (out.size() + m_blockSize - 1) / m_blockSize;
    out.append(QByteArray(blocks * m_blockSize - out.size(), '\0'));
    // Appending memos one after another: a seek would flush the write buffer every time.
    const qint64 at = static_cast<qint64>(block) * m_blockSize;
    m_window.clear();
    if ((m_file.pos() != at && !m_file.seek(at)) || m_file.write(out) != out.size())
        throw IsamError::ioError(m_path, m_file.errorString());
    m_nextFree = block + static_cast<quint32>(blocks);
    m_size = std::max(m_size, at + out.size());
    return block;
}

bool DbfMemoFile::reaches(qint64 end)
{
    if (end <= m_size)
        return true;
    m_size = m_file.size();
    return end <= m_size;
}

} // namespace kv::engine::isam
