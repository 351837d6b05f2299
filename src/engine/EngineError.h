#pragma once

// The engine's errors for code outside the engine (the engine's layers include the core).
#include "engine/core/EngineError.h"
