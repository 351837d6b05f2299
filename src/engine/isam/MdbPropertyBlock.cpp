#include "engine/isam/MdbPropertyBlock.h"

#include <QtEndian>

namespace kv::engine::isam {

namespace {

quint16 u16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

bool jetPropertyBlockSound(const QByteArray& blob)
{
    if (blob.size() < 4)
        return blob.isEmpty();
    qsizetype names = 0;
    for (qsizetype pos = 4; pos < blob.size();) {
        // Block: length (itself included), type; 0x80 lists the names, 0 and 1 hold values.
        if (pos + 6 > blob.size())
            return false;
        const qsizetype length = u32(blob, pos);
        if (length < 6 || length > blob.size() - pos)
            return false;
        const qsizetype end = pos + length;
        const int type = u16(blob, pos + 4);
        if (type == 0x80) {
            for (qsizetype at = pos + 6; at < end; ++names) {
                if (at + 2 > end || u16(blob, at) > end - at - 2)
                    return false;
                at += 2 + u16(blob, at);
            }
        } else if (type == 0 || type == 1) {
            // The object the values belong to (empty for the database), then the values:
            // length, flag, data type, name number, data length, data.
            if (pos + 12 > end || u16(blob, pos + 10) > end - pos - 12)
                return false;
            for (qsizetype at = pos + 12 + u16(blob, pos + 10); at < end;) {
                if (at + 8 > end)
                    return false;
                const qsizetype value = u16(blob, at);
                if (value < 8 || value > end - at || u16(blob, at + 6) > value - 8
                    || u16(blob, at + 4) >= names)
                    return false;
                at += value;
            }
        }
        pos = end;
    }
    return true;
}

} // namespace kv::engine::isam
