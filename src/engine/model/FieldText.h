#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace kv::engine {

/// The text a grid cell shows for a value of a field of type (DataType) in format (see Format;
/// empty for the general form). Null and binary values show empty.
QString displayText(const QVariant& value, int type, const QString& format);

/// The text a cell editor starts with: the general form (numbers without grouping, dates in the
/// short form with a time only when there is one, memo text whole); empty for Null and binaries.
QString editText(const QVariant& value, int type);

/// A typed text as a value of a field of type, read in the user's locale: an empty text is
/// Null; numbers and dates as the user types them; "Wahr"/"Falsch", "Ja"/"Nein", "-1"/"0" for
/// Booleans. nullopt when the text is no value of that type (and always for binary fields).
std::optional<QVariant> valueFromText(const QString& text, int type);

/// Whether a field of type holds raw bytes (Binary, Long Binary, VarBinary), which no text shows.
bool isBinaryType(int type);

} // namespace kv::engine
