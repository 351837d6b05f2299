#pragma once

#include <QDateTime>
#include <QFont>

namespace kv {

struct StartEinstellungen;
class Einstellungen;

/// The font every window applies to its controls.
QFont& Programmschrift();
/// The font of menus and bars.
QFont& Menueschrift();
/// Sets both fonts from the start-up settings (bold always off).
void SchriftenSetzen(const StartEinstellungen& werte);
/// Writes both fonts back as "Schriftart", "Schriftpoint", "SchriftartMenü", "SchriftpointMenü".
void SchriftenSpeichern(Einstellungen& einstellungen);

/// True when windows draw their controls in the themed style.
bool XPStil();
void setzeXPStil(bool an);

/// When the program was started.
QDateTime Startzeitpunkt();
void setzeStartzeitpunkt(const QDateTime& zeit);

} // namespace kv
