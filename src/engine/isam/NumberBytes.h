#pragma once

#include <QByteArrayView>
#include <charconv>
#include <cmath>

namespace kv::engine::isam {

/// A number written as text in a file, read as QByteArrayView::toDouble reads it. Plain
/// decimal digits, by far the most common, are parsed straight from the bytes; both round
/// correctly, so they agree on every such value, and anything else goes the general way.
inline bool parseNumberBytes(QByteArrayView text, double& value)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.isEmpty() && space(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && space(text.back()))
        text.chop(1);
    // "inf", "nan", a leading "+" and the like are left to the general way.
    if (!text.isEmpty()
        && ((text.front() >= '0' && text.front() <= '9') || text.front() == '-'
            || text.front() == '.')) {
        const char* end = text.data() + text.size();
        const auto [last, error] = std::from_chars(text.data(), end, value);
        // Values near underflow are left to the general way, which has its own view of them.
        const bool plainZero
            = value == 0 && text.size() < 300 && !text.contains('e') && !text.contains('E');
        if (error == std::errc() && last == end && (std::isnormal(value) || plainZero))
            return true;
    }
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

} // namespace kv::engine::isam
