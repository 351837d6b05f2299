#include "widgets/Bildlage.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <qdrawutil.h>

namespace kv {

QRect bildrechteck(const QRect& bereich, const QSize& groesse, Flaechenlage lage)
{
    switch (lage) {
    case Flaechenlage::Gestreckt:
        return bereich;
    case Flaechenlage::Gezoomt: {
        if (groesse.isEmpty())
            return QRect(bereich.topLeft(), QSize());
        const QSize passend = groesse.scaled(bereich.size(), Qt::KeepAspectRatio);
        QRect r(QPoint(), passend);
        r.moveCenter(bereich.center());
        return r;
    }
    case Flaechenlage::Repliziert:
        return QRect(bereich.topLeft(), groesse);
    default:
        break;
    }
    // The nine places: left, centre, right column times top, centre, bottom row.
    const int spalte = int(lage) / 3;
    const int reihe = int(lage) % 3;
    const int x = spalte == 0 ? bereich.left()
        : spalte == 1         ? bereich.left() + (bereich.width() - groesse.width()) / 2
                              : bereich.right() + 1 - groesse.width();
    const int y = reihe == 0 ? bereich.top()
        : reihe == 1         ? bereich.top() + (bereich.height() - groesse.height()) / 2
                             : bereich.bottom() + 1 - groesse.height();
    return QRect(QPoint(x, y), groesse);
}

void zeichneBild(QPainter& maler, const QRect& bereich, const QImage& bild, Flaechenlage lage)
{
    if (bild.isNull() || bereich.isEmpty())
        return;
    maler.save();
    maler.setClipRect(bereich, Qt::IntersectClip);
    if (lage == Flaechenlage::Repliziert) {
        maler.drawTiledPixmap(bereich, QPixmap::fromImage(bild));
    } else {
        maler.setRenderHint(QPainter::SmoothPixmapTransform);
        maler.drawImage(bildrechteck(bereich, bild.size(), lage), bild);
    }
    maler.restore();
}

QRect zeichneBildrahmen(
    QPainter& maler, const QRect& bereich, Bildrahmen rahmen, const QPalette& palette)
{
    const QRect r = bereich;
    switch (rahmen) {
    case Bildrahmen::Ohne:
        return r;
    case Bildrahmen::Hervortretend:
    case Bildrahmen::Eingestanzt:
        qDrawShadePanel(&maler, r, palette, rahmen == Bildrahmen::Eingestanzt, 1);
        return r.adjusted(1, 1, -1, -1);
    case Bildrahmen::HervortretendMitRahmen:
    case Bildrahmen::EingestanztMitRahmen:
        qDrawPlainRect(&maler, r, palette.color(QPalette::WindowText), 1);
        qDrawShadePanel(&maler, r.adjusted(1, 1, -1, -1), palette,
            rahmen == Bildrahmen::EingestanztMitRahmen, 1);
        return r.adjusted(2, 2, -2, -2);
    case Bildrahmen::Filet:
        qDrawPlainRect(&maler, r, palette.color(QPalette::WindowText), 1);
        return r.adjusted(1, 1, -1, -1);
    case Bildrahmen::Rillen:
        qDrawShadeRect(&maler, r, palette, true, 1, 0);
        return r.adjusted(2, 2, -2, -2);
    case Bildrahmen::SchatteneffektInnen:
        qDrawShadePanel(&maler, r, palette, true, 2);
        return r.adjusted(2, 2, -2, -2);
    case Bildrahmen::HervortretendWin95:
    case Bildrahmen::EingestanztWin95:
        qDrawWinPanel(&maler, r, palette, rahmen == Bildrahmen::EingestanztWin95);
        return r.adjusted(2, 2, -2, -2);
    }
    return r;
}

} // namespace kv
