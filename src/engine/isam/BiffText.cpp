#include "engine/isam/BiffText.h"

#include "engine/isam/LittleEndian.h"

namespace kv::engine::isam {

namespace {

[[noreturn]] void tooShort()
{
    throw DamagedInput { QStringLiteral("ein Text reicht über das Ende seines Eintrags hinaus") };
}

} // namespace

BiffText::BiffText(std::vector<QByteArrayView> segments)
    : m_segments(std::move(segments))
{ }

qsizetype BiffText::available() const
{
    return m_segment < m_segments.size() ? m_segments[m_segment].size() - m_at : 0;
}

void BiffText::nextSegment()
{
    if (m_segment >= m_segments.size())
        tooShort();
    ++m_segment;
    m_at = 0;
}

bool BiffText::atEnd() const
{
    for (size_t s = m_segment; s < m_segments.size(); ++s)
        if (m_segments[s].size() > (s == m_segment ? m_at : 0))
            return false;
    return true;
}

uint8_t BiffText::u8()
{
    while (available() <= 0) {
        if (m_segment + 1 >= m_segments.size())
            tooShort();
        nextSegment();
    }
    return static_cast<uint8_t>(m_segments[m_segment][m_at++]);
}

uint16_t BiffText::u16()
{
    const uint16_t lo = u8();
    return static_cast<uint16_t>(lo | (u8() << 8));
}

uint32_t BiffText::u32()
{
    const uint32_t lo = u16();
    return lo | (uint32_t(u16()) << 16);
}

void BiffText::skip(qint64 count)
{
    while (count > 0) {
        const qsizetype step = std::min<qint64>(count, available());
        if (step <= 0) {
            if (m_segment + 1 >= m_segments.size())
                tooShort();
            nextSegment();
            continue;
        }
        m_at += step;
        count -= step;
    }
}

QString BiffText::unicode(int lengthBytes)
{
    qint64 remaining = lengthBytes == 1 ? u8() : u16();
    const uint8_t flags = u8();
    bool wide = flags & 0x01;
    const qint64 runs = (flags & 0x08) ? u16() : 0;
    const qint64 extra = (flags & 0x04) ? u32() : 0;
    QString text;
    text.reserve(remaining);
    while (remaining > 0) {
        if (available() <= 0) {
            // The characters go on in the next record, which says again how wide they are.
            if (m_segment + 1 >= m_segments.size())
                tooShort();
            nextSegment();
            wide = u8() & 0x01;
            continue;
        }
        const QByteArrayView seg = m_segments[m_segment];
        const qint64 fit = std::min<qint64>(remaining, available() / (wide ? 2 : 1));
        if (fit <= 0)
            tooShort();
        const char* p = seg.data() + m_at;
        if (wide) {
            for (qint64 i = 0; i < fit; ++i)
                text.append(QChar(char16_t(uint8_t(p[2 * i]) | (uint8_t(p[2 * i + 1]) << 8))));
            m_at += 2 * fit;
        } else {
            text.append(QString::fromLatin1(p, fit));
            m_at += fit;
        }
        remaining -= fit;
    }
    skip(4 * runs + extra);
    return text;
}

QString BiffText::bytes(int lengthBytes, const CodePage& codePage)
{
    qint64 remaining = lengthBytes == 1 ? u8() : u16();
    QByteArray raw;
    while (remaining > 0) {
        if (available() <= 0) {
            if (m_segment + 1 >= m_segments.size())
                tooShort();
            nextSegment();
            continue;
        }
        const qint64 step = std::min<qint64>(remaining, available());
        raw.append(m_segments[m_segment].data() + m_at, step);
        m_at += step;
        remaining -= step;
    }
    return codePage.decode(raw);
}

} // namespace kv::engine::isam
