#include "masks/Beschriftungslage.h"

#include <cmath>

namespace kv {

Qt::Alignment ausrichtungVon(Flaechenlage lage)
{
    const int code = int(lage);
    if (code < 0 || code > int(Flaechenlage::RechtsUnten))
        return Qt::AlignCenter;
    const Qt::Alignment spalten[] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
    const Qt::Alignment reihen[] = { Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom };
    return spalten[code / 3] | reihen[code % 3];
}

QRect beschriftungsbereich(const QRect& element, const Feldbeschriftung& beschriftung, int groesse,
    const QRect& flaeche, int zeilenhoehe, int abstand)
{
    switch (beschriftung.position) {
    case Beschriftungsposition::Links: {
        const int rechts = element.left() - abstand;
        const int breite = groesse > 0 ? groesse : rechts - flaeche.left();
        return QRect(rechts - breite, element.top(), std::max(breite, 0), element.height());
    }
    case Beschriftungsposition::Rechts: {
        const int links = element.right() + 1 + abstand;
        const int breite = groesse > 0 ? groesse : flaeche.right() + 1 - links;
        return QRect(links, element.top(), std::max(breite, 0), element.height());
    }
    case Beschriftungsposition::Oben: {
        const int hoehe = groesse > 0 ? groesse : zeilenhoehe;
        return QRect(element.left(), element.top() - abstand - hoehe, element.width(), hoehe);
    }
    case Beschriftungsposition::Unten: {
        const int hoehe = groesse > 0 ? groesse : zeilenhoehe;
        return QRect(element.left(), element.bottom() + 1 + abstand, element.width(), hoehe);
    }
    }
    return {};
}

QRect proportional(const QRect& element, const QSize& entwurf, const QSize& groesse)
{
    if (entwurf.width() <= 0 || entwurf.height() <= 0)
        return element;
    const double fx = double(groesse.width()) / entwurf.width();
    const double fy = double(groesse.height()) / entwurf.height();
    const int links = int(std::lround(element.left() * fx));
    const int oben = int(std::lround(element.top() * fy));
    const int rechts = int(std::lround((element.left() + element.width()) * fx));
    const int unten = int(std::lround((element.top() + element.height()) * fy));
    return QRect(links, oben, rechts - links, unten - oben);
}

} // namespace kv
