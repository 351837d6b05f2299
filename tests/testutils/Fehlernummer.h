#pragma once

#include "engine/EngineError.h"

namespace kv::test {

/// Runs f and returns the engine error number it threw, 0 when it threw none.
template <class F> int fehlerNummer(F&& f)
{
    try {
        f();
    } catch (const kv::engine::EngineError& e) {
        return e.number();
    }
    return 0;
}

} // namespace kv::test
