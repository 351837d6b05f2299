#include "engine/sql/DateSerial.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace kv::engine::sql::dateserial {

namespace {

// Howard Hinnant's days_from_civil, shifted so that 1899-12-30 is day 0.
long long civilDays(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

const long long epoch = civilDays(1899, 12, 30);

int digits(std::string_view t, size_t at, size_t n, bool& ok)
{
    int v = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (i >= t.size() || t[i] < '0' || t[i] > '9') {
            ok = false;
            return 0;
        }
        v = v * 10 + (t[i] - '0');
    }
    return v;
}

} // namespace

long long daysFromCivil(int year, int month, int day)
{
    return civilDays(year, unsigned(month), unsigned(day)) - epoch;
}

void civilFromDays(long long days, int& year, int& month, int& day)
{
    const long long z = days + epoch + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

std::optional<double> fromIso(std::string_view t)
{
    if (t.size() < 10 || t[4] != '-' || t[7] != '-')
        return std::nullopt;
    bool ok = true;
    const int y = digits(t, 0, 4, ok);
    const int m = digits(t, 5, 2, ok);
    const int d = digits(t, 8, 2, ok);
    if (!ok || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    int h = 0, mi = 0, s = 0;
    if (t.size() > 10) {
        if ((t[10] != ' ' && t[10] != 'T') || t.size() < 16 || t[13] != ':')
            return std::nullopt;
        h = digits(t, 11, 2, ok);
        mi = digits(t, 14, 2, ok);
        if (t.size() > 16) {
            if (t[16] != ':' || t.size() < 19)
                return std::nullopt;
            s = digits(t, 17, 2, ok);
            // fractions of a second are dropped
            if (t.size() > 19 && t[19] != '.')
                return std::nullopt;
        }
        if (!ok || h > 23 || mi > 59 || s > 59)
            return std::nullopt;
    }
    return double(daysFromCivil(y, m, d)) + (h * 3600 + mi * 60 + s) / 86400.0;
}

Parts split(double serial)
{
    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - double(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    Parts p {};
    civilFromDays(days, p.year, p.month, p.day);
    p.hour = int(seconds / 3600);
    p.minute = int(seconds / 60 % 60);
    p.second = int(seconds % 60);
    return p;
}

double join(const Parts& p)
{
    return double(daysFromCivil(p.year, p.month, p.day))
        + (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
}

std::string toIso(double serial)
{
    const Parts p = split(serial);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour,
        p.minute, p.second);
    return buf;
}

std::optional<double> fromText(const QString& text)
{
    const QString t = text.trimmed();
    if (const auto iso = fromIso(t.toStdString()))
        return iso;
    static const QRegularExpression form(QStringLiteral(
        R"(^(?:(\d{1,4})([./-])(\d{1,2})\2(\d{1,4}))?\s*(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    const auto m = form.match(t);
    if (!m.hasMatch() || t.isEmpty())
        return std::nullopt;
    double serial = 0;
    if (m.capturedLength(1) > 0) {
        int a = m.captured(1).toInt();
        int b = m.captured(3).toInt();
        int c = m.captured(4).toInt();
        const QString sep = m.captured(2);
        int y, mo, d;
        if (m.capturedLength(1) == 4) {
            y = a;
            mo = b;
            d = c;
        } else if (sep == QLatin1String(".")) {
            d = a;
            mo = b;
            y = c;
        } else {
            mo = a;
            d = b;
            y = c;
        }
        if (m.capturedLength(4) <= 2 && m.capturedLength(1) != 4)
            y = y < 30 ? 2000 + y : 1900 + y;
        if (mo < 1 || mo > 12 || d < 1)
            return std::nullopt;
        const long long days = daysFromCivil(y, mo, d);
        int cy, cm, cd;
        civilFromDays(days, cy, cm, cd);
        if (cd != d)
            return std::nullopt;
        serial = double(days);
    }
    if (m.capturedLength(5) > 0) {
        const int h = m.captured(5).toInt();
        const int mi = m.captured(6).toInt();
        const int s = m.captured(7).toInt();
        if (h > 23 || mi > 59 || s > 59)
            return std::nullopt;
        serial += (h * 3600 + mi * 60 + s) / 86400.0;
    }
    return serial;
}

} // namespace kv::engine::sql::dateserial
