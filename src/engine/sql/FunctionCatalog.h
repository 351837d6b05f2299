#pragma once

#include <QStringView>

namespace kv::engine::sql {

/// What the rewriter knows of an expression's value, enough to pick date arithmetic or plain
/// SQLite operators.
enum class ValueKind { Unknown, Number, Text, Date, Boolean };

/// One function of the dialect and how it reaches SQLite.
struct FunctionInfo {
    const char* name; ///< dialect name, lower case
    /// Function emitted for it; nullptr when the rewriter writes an expression instead
    /// (IIf, Switch, Choose, Nz, IsNull).
    const char* sqlName;
    int minArgs;
    int maxArgs;
    ValueKind result;
    bool aggregate;
};

/// The dialect function of that name (any letter case, a trailing "$" ignored), or nullptr.
const FunctionInfo* findFunction(QStringView name);

} // namespace kv::engine::sql
