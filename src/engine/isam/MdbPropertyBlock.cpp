#include "engine/isam/MdbPropertyBlock.h"

#include "engine/isam/LittleEndian.h"

namespace kv::engine::isam {

bool jetPropertyBlockSound(const QByteArray& blob)
{
    const LittleEndian le(blob);
    if (blob.size() < 4)
        return blob.isEmpty();
    qsizetype names = 0;
    for (qsizetype pos = 4; pos < blob.size();) {
        // Block: length (itself included), type; 0x80 lists the names, 0 and 1 hold values.
        if (pos + 6 > blob.size())
            return false;
        const qsizetype length = le.u32(pos);
        if (length < 6 || length > blob.size() - pos)
            return false;
        const qsizetype end = pos + length;
        const int type = le.u16(pos + 4);
        if (type == 0x80) {
            for (qsizetype at = pos + 6; at < end; ++names) {
                if (at + 2 > end || le.u16(at) > end - at - 2)
                    return false;
                at += 2 + le.u16(at);
            }
        } else if (type == 0 || type == 1) {
            // The object the values belong to (empty for the database), then the values:
            // length, flag, data type, name number, data length, data.
            if (pos + 12 > end || le.u16(pos + 10) > end - pos - 12)
                return false;
            for (qsizetype at = pos + 12 + le.u16(pos + 10); at < end;) {
                if (at + 8 > end)
                    return false;
                const qsizetype value = le.u16(at);
                if (value < 8 || value > end - at || le.u16(at + 6) > value - 8
                    || le.u16(at + 4) >= names)
                    return false;
                at += value;
            }
        }
        pos = end;
    }
    return true;
}

} // namespace kv::engine::isam
