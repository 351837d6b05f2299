#pragma once

#include "engine/isam/IsamTable.h"

#include <QDate>
#include <QVariant>

namespace kv::engine::isam {

/// A date and time of day as the engine stores it, "yyyy-MM-dd HH:mm:ss" (milliseconds are not
/// kept), built from the calendar alone: no QDateTime, so no time-zone lookup and no shift of
/// a time that the local clock skips. False for years outside 1–9999, which the text cannot
/// hold in that form.
inline bool putStoredDate(const QDate& date, qint64 msOfDay, StorageSink& out)
{
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 1 || y > 9999 || msOfDay < 0 || msOfDay >= 86400000)
        return false;
    const int secs = static_cast<int>(msOfDay / 1000);
    char text[19];
    auto two = [&text](int at, int v) {
        text[at] = static_cast<char>('0' + v / 10);
        text[at + 1] = static_cast<char>('0' + v % 10);
    };
    two(0, y / 100);
    two(2, y % 100);
    text[4] = '-';
    two(5, m);
    text[7] = '-';
    two(8, d);
    text[10] = ' ';
    two(11, secs / 3600);
    text[13] = ':';
    two(14, secs / 60 % 60);
    text[16] = ':';
    two(17, secs % 60);
    out.text(text, sizeof text);
    return true;
}

/// The day and time of day a value for a date field names: a QDateTime or QDate as it shows,
/// the engine's stored text ("yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss") by its digits. A time the
/// local clock skips has no valid QDateTime and reaches the drivers as that text; read this
/// way it keeps its value instead of being refused.
bool dateOfValue(const QVariant& value, QDate& date, int& msOfDay);

} // namespace kv::engine::isam
