#include "shell/Fenstergeometrie.h"

#include "base/Text.h"

#include <cmath>

namespace kv {

namespace {
constexpr int k_twipsJeZoll = 1440;
}

std::optional<Fenstergeometrie> Fenstergeometrie::ausText(const QString& text)
{
    const Teilliste teile = Teile(text, QStringLiteral(";"));
    if (teile.count() < 4)
        return std::nullopt;
    int zahlen[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        zahlen[i] = teile[i + 1].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (zahlen[2] <= 0 || zahlen[3] <= 0)
        return std::nullopt;
    const bool maximiert = !teile[5].isEmpty();
    return Fenstergeometrie { zahlen[0], zahlen[1], zahlen[2], zahlen[3], maximiert };
}

QString Fenstergeometrie::text() const
{
    QString t = QString::number(links) + QLatin1Char(';') + QString::number(oben) + QLatin1Char(';')
        + QString::number(breite) + QLatin1Char(';') + QString::number(hoehe);
    if (maximiert)
        t += QStringLiteral(";1");
    return t;
}

int pixelZuTwips(int pixel, int dpi)
{
    if (dpi <= 0)
        return pixel;
    return static_cast<int>(std::lround(static_cast<double>(pixel) * k_twipsJeZoll / dpi));
}

int twipsZuPixel(int twips, int dpi)
{
    if (dpi <= 0)
        return twips;
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / k_twipsJeZoll));
}

} // namespace kv
