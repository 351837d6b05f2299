#pragma once

#include "engine/isam/IsamTable.h"

#include <QString>
#include <memory>

namespace kv::engine {

/// Opens the table source of the foreign file or folder a connect text names, writable when
/// its driver can write it. Throws isam::IsamError (German, naming the file) when the file is
/// missing or unreadable, and when the connect text names a format no driver reads.
std::unique_ptr<isam::IsamTable> openForeignTable(const QString& connect, const QString& source);

} // namespace kv::engine
