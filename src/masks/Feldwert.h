#pragma once

#include <QVariant>
#include <optional>

namespace kv {

/// A value a mask element gives (a list's link value, an option's value, a check box's state)
/// as a value of a field of type (engine DataType) and size: text cut to the size of a Text
/// field, numbers and dates from their own types or from text (the user's form or the "."
/// form of definition files), Booleans from bool, numbers and "Wahr"/"Falsch", "Ja"/"Nein",
/// "True"/"False"; an empty value is Null. nullopt when the value cannot become one of the
/// type (text that is no number for a number field).
std::optional<QVariant> feldwert(const QVariant& wert, int feldtyp, int feldgroesse);

} // namespace kv
