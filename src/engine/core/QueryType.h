#pragma once

namespace kv::engine {

/// Query types, derived from the statement text.
enum QueryType : int {
    dbQSelect = 0,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQSetOperation = 128,
};

} // namespace kv::engine
