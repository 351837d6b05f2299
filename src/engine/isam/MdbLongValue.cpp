#include "engine/isam/MdbLongValue.h"

#include "engine/isam/IsamError.h"

#include <QSet>
#include <QtEndian>
#include <vector>

namespace kv::engine::isam {

namespace {

constexpr quint32 Inline = 0x80000000;
constexpr quint32 OnePage = 0x40000000;

// A part of a chain: four bytes naming the next part, then data. Null when the reference does
// not lead to a row of a page.
const unsigned char* part(MdbHandle* mdb, quint32 pageRow, size_t& length)
{
    void* buffer = nullptr;
    int offset = 0;
    length = 0;
    if (mdb_find_pg_row(mdb, static_cast<int>(pageRow), &buffer, &offset, &length) != 0)
        return nullptr;
    return static_cast<const unsigned char*>(buffer) + offset;
}

} // namespace

QByteArray readJetLongValue(MdbHandle* mdb, const QString& path, qint64 pages, int start, int size)
{
    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    if (size < MDB_MEMO_OVERHEAD || start < 0 || start + size > pageSize)
        return {};
    const unsigned char* reference = mdb->pg_buf + start;
    const quint32 header = qFromLittleEndian<quint32>(reference);
    quint32 pageRow = qFromLittleEndian<quint32>(reference + 4);
    if (header & Inline)
        return QByteArray(
            reinterpret_cast<const char*>(reference) + MDB_MEMO_OVERHEAD, size - MDB_MEMO_OVERHEAD);
    size_t length = 0;
    if (header & OnePage) {
        const unsigned char* data = part(mdb, pageRow, length);
        return data
            ? QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length))
            : QByteArray();
    }
    if (header & 0xFF000000)
        return {};
    const qsizetype declared = header;
    QByteArray out;
    // The chain is walked to its end even past the declared length: mdbtools reads the same
    // chains for itself, and a loop behind that length would still catch it there.
    QSet<quint32> passed;
    while (pageRow != 0) {
        if (passed.contains(pageRow))
            throw IsamError::damaged(path,
                QStringLiteral("ein langer Wert verweist im Kreis auf Seite %1").arg(pageRow >> 8));
        if (passed.size() >= pages)
            throw IsamError::damaged(
                path, QStringLiteral("ein langer Wert hat mehr Teile, als die Datei Seiten hat"));
        passed.insert(pageRow);
        const unsigned char* data = part(mdb, pageRow, length);
        if (!data || length < 4)
            break;
        const qsizetype room = declared - out.size();
        if (room > 0)
            out.append(reinterpret_cast<const char*>(data) + 4,
                std::min<qsizetype>(room, static_cast<qsizetype>(length) - 4));
        pageRow = qFromLittleEndian<quint32>(data);
    }
    return out;
}

QString jetMemoText(MdbHandle* mdb, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QString(QLatin1String(""));
    // UTF-8 takes at most four bytes for what the file stores in one or two.
    std::vector<char> text(static_cast<size_t>(bytes.size()) * 4 + 16);
    const int n = mdb_unicode2ascii(
        mdb, bytes.constData(), static_cast<size_t>(bytes.size()), text.data(), text.size() - 1);
    const auto length = std::clamp<qsizetype>(n, 0, static_cast<qsizetype>(text.size()) - 1);
    // The old engine ends some memos with a null character; text ends there, as mdbtools has it.
    return QString::fromUtf8(text.data(), qstrnlen(text.data(), length));
}

} // namespace kv::engine::isam
