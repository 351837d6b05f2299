#include "engine/isam/SheetRowCache.h"

#include <QDir>
#include <QMutex>
#include <QTemporaryFile>
#include <cstring>

namespace kv::engine::isam {

namespace {

constexpr qsizetype BlockBytes = 1 << 20;

// Kinds of the copy beyond SheetCell's own: text the source held as a QString with a
// surrogate in it is kept as UTF-16, since UTF-8 cannot carry a lone one back unchanged.
constexpr char Utf16Text = 0x40;

bool hasSurrogate(const QString& text)
{
    for (const QChar ch : text)
        if (ch.isSurrogate())
            return true;
    return false;
}

template <class T> void put(QByteArray& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T> T get(const char* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

} // namespace

// The file has no name where the system allows it, so nothing is left behind by a crash; the
// readers share its handle and say where they read each time.
struct SheetRowCache::Store {
    QTemporaryFile file;
    QMutex lock;
    bool complete = false;
    bool failed = false;

    bool open()
    {
        // A temporary folder that is gone leaves no path, and the file would land in "/".
        const QString folder = QDir::tempPath();
        if (folder.isEmpty())
            return false;
        file.setFileTemplate(folder + QStringLiteral("/kelvado-blatt-XXXXXX"));
        return file.open();
    }

    qint64 readAt(qint64 at, char* data, qint64 size)
    {
        const QMutexLocker locker(&lock);
        return file.seek(at) ? file.read(data, size) : -1;
    }
};

SheetRowCache::SheetRowCache(std::unique_ptr<SheetSource> source)
    : m_source(std::move(source))
{ }

SheetRowCache::SheetRowCache(std::unique_ptr<SheetSource> source, std::shared_ptr<Store> store)
    : m_source(std::move(source))
    , m_store(std::move(store))
{ }

SheetRowCache::~SheetRowCache() = default;

void SheetRowCache::rewind()
{
    m_in.clear();
    m_pos = 0;
    m_readAt = 0;
    m_out.clear();
    m_recording = false;
    m_reading = m_store && m_store->complete;
    if (m_reading)
        return;
    m_source->rewind();
    if (m_store && (m_store->complete || m_store->failed))
        return;
    // A pass cut short before starts over with a new copy.
    m_store = std::make_shared<Store>();
    m_recording = m_store->open();
    m_store->failed = !m_recording;
}

bool SheetRowCache::nextRow(int& row, QVector<SheetCell>& cells)
{
    if (m_reading)
        return readRow(row, cells);
    if (!m_source->nextRow(row, cells)) {
        if (m_recording) {
            m_recording = false;
            if (writeOut() && m_store->file.flush())
                m_store->complete = true;
            else
                m_store->failed = true;
        }
        return false;
    }
    if (m_recording) {
        record(row, cells);
        if (m_out.size() >= BlockBytes && !writeOut()) {
            m_recording = false;
            m_store->failed = true;
        }
    }
    return true;
}

std::unique_ptr<SheetSource> SheetRowCache::clone() const
{
    if (m_store && m_store->complete)
        return std::unique_ptr<SheetSource>(new SheetRowCache(m_source->clone(), m_store));
    return std::make_unique<SheetRowCache>(m_source->clone());
}

void SheetRowCache::record(int row, const QVector<SheetCell>& cells)
{
    put<qint32>(m_out, row);
    put<qint32>(m_out, static_cast<qint32>(cells.size()));
    for (const SheetCell& c : cells) {
        switch (c.kind) {
        case SheetCell::Number:
        case SheetCell::Bool:
            m_out.append(static_cast<char>(c.kind));
            put<double>(m_out, c.number);
            break;
        case SheetCell::DateTime:
            m_out.append(static_cast<char>(c.kind));
            put<double>(m_out, c.number);
            put<qint64>(m_out, c.date.toJulianDay());
            put<qint32>(m_out, c.msOfDay);
            break;
        case SheetCell::Text:
            if (!c.utf8.isEmpty()) {
                m_out.append(static_cast<char>(c.kind));
                put<quint32>(m_out, static_cast<quint32>(c.utf8.size()));
                m_out.append(c.utf8);
            } else if (!hasSurrogate(c.text)) {
                // Kept as UTF-8, the cursors hand it to SQLite without converting each time.
                m_out.append(static_cast<char>(c.kind));
                const qsizetype at = m_out.size();
                m_out.resize(at + 4 + 3 * c.text.size());
                char* begin = m_out.data() + at + 4;
                char* end = m_encoder.appendToBuffer(begin, c.text);
                const quint32 size = static_cast<quint32>(end - begin);
                std::memcpy(m_out.data() + at, &size, 4);
                m_out.resize(at + 4 + size);
            } else {
                m_out.append(Utf16Text);
                put<quint32>(m_out, static_cast<quint32>(c.text.size()));
                m_out.append(reinterpret_cast<const char*>(c.text.constData()),
                    c.text.size() * qsizetype(sizeof(QChar)));
            }
            break;
        default:
            m_out.append(static_cast<char>(c.kind));
            break;
        }
    }
}

bool SheetRowCache::writeOut()
{
    const bool ok = m_store->file.write(m_out) == m_out.size();
    m_out.resize(0);
    return ok;
}

const char* SheetRowCache::take(qsizetype size)
{
    if (m_in.size() - m_pos < size) {
        m_in.remove(0, m_pos);
        m_pos = 0;
        const qsizetype have = m_in.size();
        const qsizetype want = std::max(size, BlockBytes);
        m_in.resize(have + want);
        const qint64 got = std::max<qint64>(m_store->readAt(m_readAt, m_in.data() + have, want), 0);
        m_readAt += got;
        m_in.resize(have + got);
        if (m_in.size() < size)
            return nullptr;
    }
    const char* p = m_in.constData() + m_pos;
    m_pos += size;
    return p;
}

bool SheetRowCache::readRow(int& row, QVector<SheetCell>& cells)
{
    const char* head = take(8);
    if (!head)
        return false;
    row = get<qint32>(head);
    const qint32 count = get<qint32>(head + 4);
    // The cells are reused: their buffers keep their room for the next row.
    cells.resize(count);
    for (SheetCell& c : cells) {
        const char* kindByte = take(1);
        if (!kindByte)
            return false;
        const char kind = *kindByte;
        c.number = 0;
        c.date = QDate();
        c.msOfDay = 0;
        if (!c.text.isNull())
            c.text = QString();
        c.utf8.resize(0);
        const char* p = nullptr;
        switch (kind) {
        case SheetCell::Number:
        case SheetCell::Bool:
            if (!(p = take(8)))
                return false;
            c.number = get<double>(p);
            break;
        case SheetCell::DateTime:
            if (!(p = take(20)))
                return false;
            c.number = get<double>(p);
            c.date = QDate::fromJulianDay(get<qint64>(p + 8));
            c.msOfDay = get<qint32>(p + 16);
            break;
        case SheetCell::Text: {
            const char* length = take(4);
            const quint32 n = length ? get<quint32>(length) : 0;
            if (!length || !(p = take(n)))
                return false;
            c.utf8.resize(n);
            std::memcpy(c.utf8.data(), p, n);
            break;
        }
        case Utf16Text: {
            const char* length = take(4);
            const quint32 n = length ? get<quint32>(length) : 0;
            if (!length || !(p = take(qsizetype(n) * 2)))
                return false;
            c.text = QString(n, Qt::Uninitialized);
            std::memcpy(c.text.data(), p, qsizetype(n) * 2);
            break;
        }
        default:
            break;
        }
        c.kind = kind == Utf16Text ? SheetCell::Text : static_cast<SheetCell::Kind>(kind);
    }
    return true;
}

} // namespace kv::engine::isam
