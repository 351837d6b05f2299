#pragma once

#include <QStringList>

namespace kv {

/// The 13 number display formats of the mask inputs, indexes 0 to 12: 0 general with the
/// locale's decimals, 1 whole numbers, 2 whole numbers without sign section, 3 currency, 4 to 12
/// with 1 to 9 decimal places. Built once from the user's locale.
const QStringList& Zahlenformate();
/// Builds the table again from the current locale (after QLocale::setDefault).
void ZahlenformateNeuBilden();

} // namespace kv
