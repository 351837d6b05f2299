#pragma once

#include <QString>
#include <QVariant>

namespace kv {

/// Formats a value the way the program shows values everywhere (grid columns, footers, masks,
/// reports, the SQL function Format), in the user's locale (QLocale()). See FormatMuster for the
/// formats understood. An empty format gives the general form: numbers without grouping
/// ("12,5"), dates as short date and long time, booleans as "Wahr"/"Falsch", null as "".
/// Compiled formats are kept per thread, so calling this for every cell is cheap; a change of
/// QLocale::setDefault is noticed.
QString Format(const QVariant& wert, const QString& format = QString());

} // namespace kv
