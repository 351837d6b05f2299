#pragma once

// Private to the engine: the errors of the last failure, which Workspace::errors() shows.

#include "engine/EngineError.h"

#include <QList>

namespace kv::engine {

/// The list of the last failure (one error: the engine reports one cause per failure).
QList<EngineError>& letzteFehler();

/// Runs f; an engine error it throws becomes the last failure before it goes on to the caller.
template <class F> auto merkeFehler(F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const EngineError& e) {
        letzteFehler() = { e };
        throw;
    }
}

} // namespace kv::engine
