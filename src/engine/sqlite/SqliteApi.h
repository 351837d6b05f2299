#pragma once

// The engine's one door to SQLite's C library: the statement and connection holders here use it,
// and so do the layers above where they must talk to SQLite directly (the dialect's functions,
// the row cache's inner loop).
#include <sqlite3.h>
