#pragma once

#include <QString>

namespace kv {

/// "Dieses Fenster ist in dieser Version noch nicht verfügbar."
QString NichtVerfuegbarText();

/// The answer of every command whose window is not part of this version: the message above
/// through the dialog seam. Menus, tool bars and the navigator all call this one function.
void FensterNichtVerfuegbar();

} // namespace kv
