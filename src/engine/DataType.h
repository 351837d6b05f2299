#pragma once

// The engine's type codes for code outside the engine (the engine's layers include the core).
#include "engine/core/DataType.h"
