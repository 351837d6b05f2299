#pragma once

#include <QtGlobal>
#include <cmath>
#include <optional>

// Currency as the dialect computes it: whole ten-thousandths, so that sums, differences and
// products rounded to four decimals are exact.

namespace kv::engine::sql::currency {

constexpr qint64 Scale = 10000;
/// Beyond this a double no longer holds every ten-thousandth.
constexpr double Limit = 9.0e14;

/// The ten-thousandths of x when x is the double nearest to a value with at most four decimals.
inline std::optional<qint64> exactly(double x)
{
    if (!(std::fabs(x) < Limit))
        return std::nullopt;
    const qint64 s = std::llround(x * double(Scale));
    if (double(s) / double(Scale) != x)
        return std::nullopt;
    return s;
}

/// x rounded half to even to ten-thousandths; nullopt beyond the range.
inline std::optional<qint64> rounded(double x)
{
    if (const auto s = exactly(x))
        return s;
    if (!(std::fabs(x) < Limit))
        return std::nullopt;
    return qint64(std::nearbyint(x * double(Scale)));
}

/// The double nearest to s ten-thousandths.
inline double toDouble(__int128 s)
{
    return double(s) / double(Scale);
}

} // namespace kv::engine::sql::currency
