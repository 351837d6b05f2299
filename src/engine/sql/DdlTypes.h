#pragma once

#include <QString>

namespace kv::engine::sql {

/// A dialect DDL type name ("TEXT", "MEMO", "COUNTER", …) with its size arguments as the
/// declared SQLite column type that keeps the engine's type code. autoIncrement is set for
/// COUNTER/AUTOINCREMENT. Returns an empty string for an unknown type name.
QString declaredColumnType(const QString& typeName, int size, int scale, bool& autoIncrement);

} // namespace kv::engine::sql
