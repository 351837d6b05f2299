#pragma once

#include <QColor>
#include <QPalette>

namespace kv {

/// The colour of a stored colour value: 0x00BBGGRR, or a system-colour reference (high bit set,
/// the platform's system colour index in the low byte) resolved through palette. Values read
/// from files may come as signed 32-bit numbers; only the low 32 bits count.
QColor Farbe(qint64 wert, const QPalette& palette);

/// The stored value (0x00BBGGRR) of a colour.
qint64 Farbwert(const QColor& farbe);

/// The reference to system colour index (0x80000000 + index), as designers store defaults.
constexpr qint64 Systemfarbe(int index)
{
    return 0x80000000LL + index;
}

/// The system colour indexes the program's defaults use.
namespace Systemfarbindex {
constexpr int Fenster = 5;
constexpr int Fenstertext = 8;
constexpr int Markierung = 13;
constexpr int Markierungstext = 14;
constexpr int Schaltflaeche = 15;
constexpr int Schaltflaechentext = 18;
} // namespace Systemfarbindex

} // namespace kv
