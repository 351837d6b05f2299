#pragma once

#include "engine/core/DataType.h"

#include <QDateTime>
#include <QVariant>
#include <array>
#include <bitset>
#include <memory>
#include <unordered_map>
#include <vector>

namespace kv::engine {

/// Date texts of a row cache as the caller's values, remembered: dates repeat (birthdays, order
/// days), and converting to local time is the dear part. Plain days sit in one block per year
/// (close together, no hashing), shared by every cache of the thread, since each clone and each
/// requery starts a row cache; other moments in a map of this cache. Inline: it runs once per
/// date value read.
class DateCache {
public:
    /// The value of ISO text "JJJJ-MM-TT[ hh:mm:ss]" (length bytes) stored in a field of type.
    QVariant value(const char* text, int length, int type)
    {
        int day = 0;
        int time = 0;
        const bool split = splitDate(text, length, day, time);
        const int year = day / 10000;
        const int month = day / 100 % 100;
        const int dayOfMonth = day % 100;
        if (split && time == 0 && month >= 1 && month <= 12 && dayOfMonth >= 1
            && dayOfMonth <= 31) {
            std::unique_ptr<YearDays>& block = m_years[static_cast<size_t>(year)];
            if (!block)
                block = std::make_unique<YearDays>();
            const auto slot = static_cast<size_t>((month - 1) * 31 + dayOfMonth - 1);
            if (block->known[slot])
                return QVariant(block->days[slot]);
            QVariant v = convert(text, length, type);
            if (v.typeId() == QMetaType::QDateTime) {
                block->days[slot] = v.toDateTime();
                block->known[slot] = true;
            }
            return v;
        }
        if (!split)
            return convert(text, length, type);
        const qint64 key = qint64(day) * 1000000 + time;
        auto it = m_moments.find(key);
        if (it != m_moments.end())
            return it->second;
        QVariant v = convert(text, length, type);
        // Only a real date depends on the digits alone.
        if (v.typeId() == QMetaType::QDateTime) {
            if (m_moments.size() > 50000)
                m_moments.clear();
            m_moments.emplace(key, v);
        }
        return v;
    }

private:
    struct YearDays {
        std::array<QDateTime, 12 * 31> days; // small: a year's days stay in the CPU's cache
        std::bitset<12 * 31> known;
    };

    static int digits(const char* text, int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const int digit = text[i] - '0';
            if (digit < 0 || digit > 9)
                return -1;
            value = value * 10 + digit;
        }
        return value;
    }
    // "JJJJ-MM-TT" or "JJJJ-MM-TT hh:mm:ss" into day (JJJJMMTT) and time (hhmmss); false for any
    // other text.
    static bool splitDate(const char* text, int length, int& day, int& time)
    {
        if ((length != 10 && length != 19) || text[4] != '-' || text[7] != '-')
            return false;
        const int year = digits(text, 4);
        const int month = digits(text + 5, 2);
        const int dayOfMonth = digits(text + 8, 2);
        if (year < 0 || month < 0 || dayOfMonth < 0)
            return false;
        day = year * 10000 + month * 100 + dayOfMonth;
        time = 0;
        if (length == 19) {
            if (text[10] != ' ' || text[13] != ':' || text[16] != ':')
                return false;
            const int hour = digits(text + 11, 2);
            const int minute = digits(text + 14, 2);
            const int second = digits(text + 17, 2);
            if (hour < 0 || minute < 0 || second < 0)
                return false;
            time = hour * 10000 + minute * 100 + second;
        }
        return true;
    }
    static QVariant convert(const char* text, int length, int type);
    /// The thread's year blocks: a cache lives on the thread of its connection.
    static std::vector<std::unique_ptr<YearDays>>& threadYears();

    // Looked up once per cache.
    std::vector<std::unique_ptr<YearDays>>& m_years = threadYears();
    std::unordered_map<qint64, QVariant> m_moments;
};

} // namespace kv::engine
