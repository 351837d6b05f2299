#pragma once

#include "engine/isam/VerificationReport.h"

#include <QString>

namespace kv {

/// Writes the report as CSV in UTF-8 with a byte order mark: Excel in a German locale reads
/// that file correctly on opening, semicolons included, and keeps the characters a code page
/// would lose (the very values the report is about). The file is replaced only once it has been
/// written completely. Returns an empty string, or the German message naming the file.
QString speicherePruefbericht(const engine::isam::VerificationReport& bericht, const QString& pfad);

} // namespace kv
