#pragma once

#include <QString>

namespace kv::engine {

/// An identifier in SQLite's double quotes ("a""b" for a"b).
QString quoteIdentifier(const QString& identifier);

} // namespace kv::engine
