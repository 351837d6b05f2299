#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace kv::engine::sql {

/// Dates as the dialect counts them: days since 1899-12-30, the fraction being the time of day.
/// The stored form is ISO text "yyyy-MM-dd HH:mm:ss".
namespace dateserial {

/// Days from 1899-12-30 to the civil date (proleptic Gregorian).
long long daysFromCivil(int year, int month, int day);
void civilFromDays(long long days, int& year, int& month, int& day);

/// The serial of ISO text "yyyy-MM-dd[ HH:mm[:ss]]" (also with "T"); nullopt for other text.
std::optional<double> fromIso(std::string_view text);
/// ISO text of a serial, rounded to the second.
std::string toIso(double serial);

/// A date written by a user: ISO, German "d.M.yyyy [H:mm[:ss]]", US "m/d/yyyy" or a time
/// "H:mm[:ss]"; nullopt when the text is no date.
std::optional<double> fromText(const QString& text);

/// Parts of a serial.
struct Parts {
    int year, month, day, hour, minute, second;
};
Parts split(double serial);
double join(const Parts& p);

} // namespace dateserial

} // namespace kv::engine::sql
