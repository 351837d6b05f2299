#pragma once

namespace kv {

class Einstellungen;

/// First start of this generation ("MainState" empty) while the previous generation has a
/// "MainTop": asks whether to take over its settings and, unless the answer is No, copies every
/// pair of its section "Settings" unchanged. Returns true when settings were copied.
bool VorgaengerEinstellungenUebernehmen(Einstellungen& aktuell, const Einstellungen& vorgaenger);

} // namespace kv
