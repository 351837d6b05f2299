#pragma once

#include <QtEndian>
#include <cstring>
#include <optional>

namespace kv::engine::isam {

/// Julian day of 0000-12-31: dBASE 7 and Paradox count days with 1 = 0001-01-01.
inline constexpr qint64 DayOneJulian = 1721425;
inline constexpr qint64 MsPerDay = 86400000;

/// dBASE 7 and Paradox keep doubles sortable byte by byte: big-endian, the sign bit flipped
/// for positive numbers, every bit inverted for negative ones. Eight zero bytes are Null.
inline std::optional<double> readSortableDouble(const char* p)
{
    unsigned char b[8];
    memcpy(b, p, 8);
    bool zero = true;
    for (unsigned char c : b)
        zero = zero && c == 0;
    if (zero)
        return std::nullopt;
    if (b[0] & 0x80) {
        b[0] &= 0x7F;
    } else {
        for (unsigned char& c : b)
            c = static_cast<unsigned char>(~c);
    }
    return qFromBigEndian<double>(b);
}

inline void writeSortableDouble(double v, char* p)
{
    unsigned char b[8];
    qToBigEndian<double>(v, b);
    if (b[0] & 0x80) {
        for (unsigned char& c : b)
            c = static_cast<unsigned char>(~c);
    } else {
        b[0] |= 0x80;
    }
    memcpy(p, b, 8);
}

} // namespace kv::engine::isam
