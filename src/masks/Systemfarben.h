#pragma once

#include <QtGlobal>

namespace kv {

/// Colour values are 0x00BBGGRR; with the high bit set the low byte is a system colour index.
inline constexpr quint32 Systemfarbbit = 0x80000000u;

inline bool istSystemfarbe(quint32 farbe)
{
    return (farbe & Systemfarbbit) != 0;
}

/// The current RGB value (0x00BBGGRR) of a system colour index (the platform's colour table:
/// 5 window, 8 window text, 13 highlight, 15 button face, 18 button text, …), taken from the
/// application's palette; without a running GUI application the platform's classic defaults.
quint32 systemfarbe(int index);

/// A colour value with any system colour reference resolved.
quint32 aufgeloesteFarbe(quint32 farbe);

} // namespace kv
