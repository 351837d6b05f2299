#include "masks/Systemfarben.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <optional>

namespace kv {

namespace {

quint32 bgr(const QColor& c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

std::optional<QPalette::ColorRole> rolle(int index)
{
    switch (index) {
    case 1: // desktop
    case 5:
        return QPalette::Base;
    case 8:
        return QPalette::Text;
    case 4: // menu
    case 15:
        return QPalette::Button;
    case 7: // menu text
    case 18:
        return QPalette::ButtonText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 16:
        return QPalette::Dark;
    case 17:
        return QPalette::PlaceholderText;
    case 20:
        return QPalette::Light;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default:
        return std::nullopt;
    }
}

/// The classic colour table, for tools without a GUI application.
quint32 klassisch(int index)
{
    static constexpr std::array<quint32, 25> tabelle { 0xC8D0D4, 0x000000, 0x6A240A, 0x808080,
        0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080,
        0x6A240A, 0xFFFFFF, 0xC8D0D4, 0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040,
        0xC8D0D4, 0x000000, 0xE1FFFF };
    return index >= 0 && index < int(tabelle.size()) ? tabelle[size_t(index)] : 0;
}

} // namespace

quint32 systemfarbe(int index)
{
    const std::optional<QPalette::ColorRole> r = rolle(index);
    if (r && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return bgr(QGuiApplication::palette().color(QPalette::Active, *r));
    return klassisch(index);
}

quint32 aufgeloesteFarbe(quint32 farbe)
{
    return istSystemfarbe(farbe) ? systemfarbe(int(farbe & 0xFFu)) : farbe;
}

} // namespace kv
