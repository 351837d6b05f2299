#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstring>

namespace kv::engine::isam {

/// A file whose inner structure does not hold together; the reason is German and becomes the
/// bracketed part of IsamError::damaged once the caller adds the file name.
struct DamagedInput {
    QString reason;
};

/// Little-endian numbers at an offset of a byte block, every read checked against its end.
class LittleEndian {
public:
    explicit LittleEndian(const QByteArray& data)
        : m_data(data.constData())
        , m_size(data.size())
    { }
    LittleEndian(const char* data, qsizetype size)
        : m_data(data)
        , m_size(size)
    { }

    qsizetype size() const { return m_size; }
    const char* data() const { return m_data; }
    bool has(qsizetype offset, qsizetype count) const
    {
        return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
    }

    uint8_t u8(qsizetype at) const { return static_cast<uint8_t>(*check(at, 1)); }
    uint16_t u16(qsizetype at) const
    {
        const auto* p = reinterpret_cast<const uint8_t*>(check(at, 2));
        return static_cast<uint16_t>(p[0] | (p[1] << 8));
    }
    uint32_t u32(qsizetype at) const
    {
        const auto* p = reinterpret_cast<const uint8_t*>(check(at, 4));
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16)
            | (uint32_t(p[3]) << 24);
    }
    double f64(qsizetype at) const
    {
        const uint64_t bits = uint64_t(u32(at)) | (uint64_t(u32(at + 4)) << 32);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

    const char* check(qsizetype at, qsizetype count) const
    {
        if (!has(at, count))
            throw DamagedInput { QStringLiteral("ein Eintrag reicht über sein Ende hinaus") };
        return m_data + at;
    }

private:
    const char* m_data;
    qsizetype m_size;
};

} // namespace kv::engine::isam
