#include "widgets/Farbwert.h"

#include <array>

namespace kv {

namespace {

struct Systemrolle {
    QPalette::ColorGroup gruppe;
    QPalette::ColorRole rolle;
};

// The platform's system colour indexes 0 to 30 in the palette's terms.
constexpr std::array<Systemrolle, 31> Systemrollen = { {
    { QPalette::Active, QPalette::Button }, // scroll bar
    { QPalette::Active, QPalette::Dark }, // desktop
    { QPalette::Active, QPalette::Highlight }, // active caption
    { QPalette::Inactive, QPalette::Highlight }, // inactive caption
    { QPalette::Active, QPalette::Window }, // menu
    { QPalette::Active, QPalette::Base }, // window
    { QPalette::Active, QPalette::Shadow }, // window frame
    { QPalette::Active, QPalette::WindowText }, // menu text
    { QPalette::Active, QPalette::Text }, // window text
    { QPalette::Active, QPalette::HighlightedText }, // caption text
    { QPalette::Active, QPalette::Button }, // active border
    { QPalette::Inactive, QPalette::Button }, // inactive border
    { QPalette::Active, QPalette::Dark }, // application workspace
    { QPalette::Active, QPalette::Highlight }, // highlight
    { QPalette::Active, QPalette::HighlightedText }, // highlight text
    { QPalette::Active, QPalette::Button }, // button face
    { QPalette::Active, QPalette::Mid }, // button shadow
    { QPalette::Disabled, QPalette::Text }, // grey text
    { QPalette::Active, QPalette::ButtonText }, // button text
    { QPalette::Inactive, QPalette::HighlightedText }, // inactive caption text
    { QPalette::Active, QPalette::Light }, // button highlight
    { QPalette::Active, QPalette::Shadow }, // 3D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 3D light
    { QPalette::Active, QPalette::ToolTipText }, // info text
    { QPalette::Active, QPalette::ToolTipBase }, // info background
    { QPalette::Active, QPalette::Button }, // unused
    { QPalette::Active, QPalette::Link }, // hot-tracked item
    { QPalette::Active, QPalette::Highlight }, // gradient active caption
    { QPalette::Inactive, QPalette::Highlight }, // gradient inactive caption
    { QPalette::Active, QPalette::Highlight }, // menu highlight
    { QPalette::Active, QPalette::Window }, // menu bar
} };

} // namespace

QColor Farbe(qint64 wert, const QPalette& palette)
{
    const quint32 w = quint32(wert & 0xFFFFFFFF);
    if (w & 0x80000000u) {
        const quint32 index = w & 0xFF;
        if (index >= Systemrollen.size())
            return palette.color(QPalette::Active, QPalette::Base);
        const Systemrolle& r = Systemrollen.at(index);
        return palette.color(r.gruppe, r.rolle);
    }
    return QColor(int(w & 0xFF), int((w >> 8) & 0xFF), int((w >> 16) & 0xFF));
}

qint64 Farbwert(const QColor& farbe)
{
    const QColor rgb = farbe.toRgb();
    return qint64(rgb.red()) | (qint64(rgb.green()) << 8) | (qint64(rgb.blue()) << 16);
}

} // namespace kv
