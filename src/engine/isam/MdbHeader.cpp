#include "engine/isam/MdbHeader.h"

#include <QtEndian>
#include <array>
#include <cmath>

namespace kv::engine::isam {

namespace {

// The part from 0x18 on is RC4 with this key in every Jet file: 126 bytes in Jet 3, 128 in 4.
constexpr unsigned char HeaderKey[] = { 0xC7, 0xDA, 0x39, 0x6B };
constexpr int HiddenStart = 0x18;

void rc4(const unsigned char* key, int keyLength, char* data, qsizetype length)
{
    std::array<unsigned char, 256> s {};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (qsizetype n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[n] = static_cast<char>(data[n] ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

} // namespace

MdbHeader::MdbHeader(const QByteArray& page)
    : m_plain(page)
{
    if (m_plain.size() <= HiddenStart)
        return;
    const qsizetype hidden
        = std::min<qsizetype>(m_plain.size() - HiddenStart, jetVersion() == 3 ? 126 : 128);
    rc4(HeaderKey, sizeof HeaderKey, m_plain.data() + HiddenStart, hidden);
}

int MdbHeader::jetVersion() const
{
    return m_plain.size() > 0x14 && m_plain.at(0x14) == 0 ? 3 : 4;
}

int MdbHeader::codePage() const
{
    return m_plain.size() >= 0x3E ? qFromLittleEndian<quint16>(m_plain.constData() + 0x3C) : 0;
}

QString MdbHeader::password() const
{
    constexpr int At = 0x42;
    if (jetVersion() == 3) {
        if (m_plain.size() < At + 20)
            return {};
        const QByteArray stored = m_plain.mid(At, 20);
        return QString::fromLatin1(stored.left(stored.indexOf('\0')));
    }
    if (m_plain.size() < 0x7A)
        return {};
    const double created = qFromLittleEndian<double>(m_plain.constData() + 0x72);
    const quint32 days = std::isfinite(created) && std::fabs(created) < 2e9
        ? static_cast<quint32>(static_cast<qint32>(created))
        : 0;
    unsigned char mask[4];
    qToLittleEndian(days, mask);
    QString text;
    for (int i = 0; i < 40; i += 2) {
        const char16_t c
            = static_cast<char16_t>((static_cast<unsigned char>(m_plain[At + i]) ^ mask[i % 4])
                | (static_cast<unsigned char>(m_plain[At + i + 1]) ^ mask[(i + 1) % 4]) << 8);
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    return text;
}

QByteArray MdbHeader::iconvName() const
{
    const int cp = codePage();
    // The ANSI code pages of Windows; anything else is no code page a Jet 3 file was written in.
    if ((cp >= 1250 && cp <= 1258) || cp == 874)
        return "CP" + QByteArray::number(cp);
    switch (cp) {
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "BIG5";
    default:
        return "CP1252";
    }
}

} // namespace kv::engine::isam
