#include "shell/Fensteranordnung.h"

#include <algorithm>

namespace kv {

namespace {

// Splits laenge into anzahl parts; the first (laenge % anzahl) parts are one larger.
QList<QPair<int, int>> teilstrecken(int anzahl, int anfang, int laenge)
{
    QList<QPair<int, int>> strecken;
    if (anzahl <= 0)
        return strecken;
    const int teil = laenge / anzahl;
    const int rest = laenge % anzahl;
    int pos = anfang;
    for (int i = 0; i < anzahl; ++i) {
        const int l = teil + (i < rest ? 1 : 0);
        strecken.append({ pos, l });
        pos += l;
    }
    return strecken;
}

} // namespace

QList<QRect> Untereinander(int anzahl, const QRect& flaeche)
{
    QList<QRect> rahmen;
    for (const auto& [oben, hoehe] : teilstrecken(anzahl, flaeche.top(), flaeche.height()))
        rahmen.append(QRect(flaeche.left(), oben, flaeche.width(), hoehe));
    return rahmen;
}

QList<QRect> Nebeneinander(int anzahl, const QRect& flaeche)
{
    QList<QRect> rahmen;
    for (const auto& [links, breite] : teilstrecken(anzahl, flaeche.left(), flaeche.width()))
        rahmen.append(QRect(links, flaeche.top(), breite, flaeche.height()));
    return rahmen;
}

QList<QPoint> Symbolpositionen(int anzahl, const QSize& symbol, const QRect& flaeche)
{
    QList<QPoint> positionen;
    if (anzahl <= 0 || symbol.width() <= 0 || symbol.height() <= 0)
        return positionen;
    const int jeReihe = std::max(1, flaeche.width() / symbol.width());
    for (int i = 0; i < anzahl; ++i) {
        const int reihe = i / jeReihe;
        const int spalte = i % jeReihe;
        positionen.append(QPoint(flaeche.left() + spalte * symbol.width(),
            flaeche.top() + flaeche.height() - (reihe + 1) * symbol.height()));
    }
    return positionen;
}

} // namespace kv
