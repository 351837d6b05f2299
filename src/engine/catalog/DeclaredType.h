#pragma once

#include <QString>

namespace kv::engine::datatype {

/// Declared column type that encodes code and size, e.g. "VARCHAR(50)", "LONGTEXT".
/// Text and Memo carry the engine collation.
QString declaredType(int type, int size);

/// Type code and size read back from a declared type; unknown types count as Text 255 when
/// they have text affinity, else as Double/Long/Long Binary by SQLite's affinity rules.
void fromDeclaredType(const QString& declared, int& type, int& size);

} // namespace kv::engine::datatype
