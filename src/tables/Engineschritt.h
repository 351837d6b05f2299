#pragma once

#include "base/Fehlermeldung.h"
#include "engine/EngineError.h"

#include <QString>

namespace kv {

/// Runs one step of a structure change; when the engine refuses it, shows satz with the
/// engine's number and text ("Fehler: …", "Beschreibung: …") and returns false.
template <class Schritt> bool engineschritt(const QString& satz, Schritt&& schritt)
{
    try {
        schritt();
        return true;
    } catch (const engine::EngineError& e) {
        zeigeFehler(satz, e.number(), e.description(), Fehlerkennung::Fehler);
        return false;
    }
}

} // namespace kv
