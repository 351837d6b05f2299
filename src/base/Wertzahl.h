#pragma once

#include <QVariant>
#include <optional>

namespace kv {

/// The value is held as a number type (not a truth value, text or date).
bool IstZahlwert(const QVariant& wert);

/// A number value as it is, a text read as a number in the user's form, or else in the "." form
/// that definition files use; nullopt for anything else.
std::optional<double> WertAlsZahl(const QVariant& wert);

} // namespace kv
