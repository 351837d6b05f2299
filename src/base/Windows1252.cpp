#include "base/Windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <array>

namespace kv {

namespace {
// 0x80..0x9F; 0 marks the bytes Windows-1252 leaves unassigned.
constexpr std::array<char16_t, 32> k_oberhalb80 = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026,
    0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C,
    0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

QString mitCrLf(const QString& text)
{
    QString aus;
    aus.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            aus += QLatin1String("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            aus += QLatin1String("\r\n");
        } else {
            aus += c;
        }
    }
    return aus;
}
} // namespace

QString ausWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* ziel = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        char16_t z = u;
        if (u >= 0x80 && u <= 0x9F && k_oberhalb80[u - 0x80] != 0)
            z = k_oberhalb80[u - 0x80];
        *ziel++ = QChar(z);
    }
    return text;
}

QByteArray zuWindows1252(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* ziel = bytes.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        unsigned char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = static_cast<unsigned char>(u);
        } else {
            for (size_t i = 0; i < k_oberhalb80.size(); ++i) {
                if (k_oberhalb80[i] == u) {
                    b = static_cast<unsigned char>(0x80 + i);
                    break;
                }
            }
        }
        *ziel++ = static_cast<char>(b);
    }
    return bytes;
}

std::optional<QString> leseTextdatei(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ausWindows1252(datei.readAll());
}

bool schreibeTextdatei(const QString& pfad, const QString& text, Schreibfehler* fehler)
{
    QSaveFile datei(pfad);
    const auto scheitern = [&](bool beimOeffnen) {
        if (fehler)
            *fehler = { beimOeffnen, static_cast<int>(datei.error()), datei.errorString() };
        return false;
    };
    if (!datei.open(QIODevice::WriteOnly))
        return scheitern(true);
    const QByteArray bytes = zuWindows1252(mitCrLf(text));
    if (datei.write(bytes) != bytes.size() || !datei.commit())
        return scheitern(false);
    return true;
}

} // namespace kv
