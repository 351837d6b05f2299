#include "engine/sql/DateSerial.h"
#include "engine/sql/FunctionLibrary.h"

#include <QDateTime>
#include <cmath>

namespace kv::engine::sql {

namespace {

using namespace fn;
using dateserial::Parts;

double nowSerial()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return dateserial::join({ d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() });
}

void date(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultDate(ctx, std::floor(nowSerial()));
}
void time(sqlite3_context* ctx, int, sqlite3_value**)
{
    const double n = nowSerial();
    resultDate(ctx, n - std::floor(n));
}
void now(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultDate(ctx, nowSerial());
}

// Reads argument i as a date; false after reporting the error (Null gives a Null result).
bool dateArgument(sqlite3_context* ctx, sqlite3_value* v, double& serial)
{
    if (isNull(v)) {
        sqlite3_result_null(ctx);
        return false;
    }
    const auto d = fn::date(v);
    if (!d) {
        typeMismatch(ctx);
        return false;
    }
    serial = *d;
    return true;
}

template <int Parts::*Field> void part(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double s;
    if (dateArgument(ctx, argv[0], s))
        sqlite3_result_int(ctx, dateserial::split(s).*Field);
}

// 1 = Sunday … 7 = Saturday, counted from firstDay (1 = Sunday, 2 = Monday, …; 0 = Monday, the
// German week).
int weekdayOf(double serial, int firstDay)
{
    if (firstDay == 0)
        firstDay = 2;
    const long long days = static_cast<long long>(std::floor(serial));
    const int sundayBased = int(((days + 6) % 7 + 7) % 7) + 1; // day 0 was a Saturday
    return (sundayBased - firstDay + 7) % 7 + 1;
}

int optionalInt(sqlite3_value** argv, int argc, int i, int fallback)
{
    if (i >= argc || isNull(argv[i]))
        return fallback;
    const auto d = number(argv[i]);
    return d ? int(*d) : fallback;
}

void weekday(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    double s;
    if (dateArgument(ctx, argv[0], s))
        sqlite3_result_int(ctx, weekdayOf(s, optionalInt(argv, argc, 1, 1)));
}

double addMonths(double serial, long long months)
{
    Parts p = dateserial::split(serial);
    long long m = p.year * 12LL + (p.month - 1) + months;
    p.year = int(m / 12);
    p.month = int(m % 12) + 1;
    const int nextYear = p.year + (p.month == 12 ? 1 : 0);
    const int nextMonth = p.month % 12 + 1;
    const int daysInMonth = int(dateserial::daysFromCivil(nextYear, nextMonth, 1)
        - dateserial::daysFromCivil(p.year, p.month, 1));
    p.day = std::min(p.day, daysInMonth);
    return dateserial::join(p);
}

QString intervalOf(sqlite3_value* v)
{
    return text(v).trimmed().toLower();
}

void dateadd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    double s;
    if (!dateArgument(ctx, argv[2], s))
        return;
    const auto n = number(argv[1]);
    if (!n)
        return typeMismatch(ctx);
    const long long k = static_cast<long long>(std::trunc(*n));
    const QString iv = intervalOf(argv[0]);
    if (iv == QLatin1String("yyyy"))
        return resultDate(ctx, addMonths(s, 12 * k));
    if (iv == QLatin1String("q"))
        return resultDate(ctx, addMonths(s, 3 * k));
    if (iv == QLatin1String("m"))
        return resultDate(ctx, addMonths(s, k));
    if (iv == QLatin1String("d") || iv == QLatin1String("y") || iv == QLatin1String("w"))
        return resultDate(ctx, s + double(k));
    if (iv == QLatin1String("ww"))
        return resultDate(ctx, s + 7.0 * double(k));
    if (iv == QLatin1String("h"))
        return resultDate(ctx, s + double(k) / 24.0);
    if (iv == QLatin1String("n"))
        return resultDate(ctx, s + double(k) / 1440.0);
    if (iv == QLatin1String("s"))
        return resultDate(ctx, s + double(k) / 86400.0);
    invalidArgument(ctx);
}

long long seconds(double serial)
{
    return std::llround(serial * 86400.0);
}

void datediff(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double a, b;
    if (!dateArgument(ctx, argv[1], a) || !dateArgument(ctx, argv[2], b))
        return;
    const QString iv = intervalOf(argv[0]);
    const Parts pa = dateserial::split(a), pb = dateserial::split(b);
    long long r;
    if (iv == QLatin1String("yyyy"))
        r = pb.year - pa.year;
    else if (iv == QLatin1String("q"))
        r = (pb.year * 4LL + (pb.month - 1) / 3) - (pa.year * 4LL + (pa.month - 1) / 3);
    else if (iv == QLatin1String("m"))
        r = (pb.year * 12LL + pb.month) - (pa.year * 12LL + pa.month);
    else if (iv == QLatin1String("d") || iv == QLatin1String("y"))
        r = static_cast<long long>(std::floor(b) - std::floor(a));
    else if (iv == QLatin1String("w"))
        r = static_cast<long long>(std::floor(b) - std::floor(a)) / 7;
    else if (iv == QLatin1String("ww")) {
        // week boundaries (first day of week) crossed
        const int first = optionalInt(argv, argc, 3, 1);
        auto weekStart = [&](double s) {
            return static_cast<long long>(std::floor(s)) - (weekdayOf(s, first) - 1);
        };
        r = (weekStart(b) - weekStart(a)) / 7;
    } else if (iv == QLatin1String("h"))
        r = seconds(b) / 3600 - seconds(a) / 3600;
    else if (iv == QLatin1String("n"))
        r = seconds(b) / 60 - seconds(a) / 60;
    else if (iv == QLatin1String("s"))
        r = seconds(b) - seconds(a);
    else
        return invalidArgument(ctx);
    sqlite3_result_int64(ctx, r);
}

// Week of the year: firstWeek 1 = the week of 1 January, 2 = the first week with four days,
// 3 = the first full week.
int weekOfYear(double serial, int firstDay, int firstWeek)
{
    const Parts p = dateserial::split(serial);
    auto weekStart = [&](double s) {
        return static_cast<long long>(std::floor(s)) - (weekdayOf(s, firstDay) - 1);
    };
    auto firstWeekStart = [&](int year) {
        const double jan1 = double(dateserial::daysFromCivil(year, 1, 1));
        const long long start = weekStart(jan1);
        const long long daysInFirst = 7 - (static_cast<long long>(jan1) - start);
        if (firstWeek == 2 && daysInFirst < 4)
            return start + 7;
        if (firstWeek == 3 && daysInFirst < 7)
            return start + 7;
        return start;
    };
    const long long ws = weekStart(serial);
    long long start = firstWeekStart(p.year);
    if (ws < start)
        start = firstWeekStart(p.year - 1);
    else if (firstWeek != 1 && ws >= firstWeekStart(p.year + 1))
        return 1;
    return int((ws - start) / 7) + 1;
}

void datepart(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double s;
    if (!dateArgument(ctx, argv[1], s))
        return;
    const QString iv = intervalOf(argv[0]);
    const Parts p = dateserial::split(s);
    const int firstDay = optionalInt(argv, argc, 2, 1);
    int r;
    if (iv == QLatin1String("yyyy"))
        r = p.year;
    else if (iv == QLatin1String("q"))
        r = (p.month - 1) / 3 + 1;
    else if (iv == QLatin1String("m"))
        r = p.month;
    else if (iv == QLatin1String("y"))
        r = int(std::floor(s) - double(dateserial::daysFromCivil(p.year, 1, 1))) + 1;
    else if (iv == QLatin1String("d"))
        r = p.day;
    else if (iv == QLatin1String("w"))
        r = weekdayOf(s, firstDay);
    else if (iv == QLatin1String("ww"))
        r = weekOfYear(s, firstDay, optionalInt(argv, argc, 3, 1));
    else if (iv == QLatin1String("h"))
        r = p.hour;
    else if (iv == QLatin1String("n"))
        r = p.minute;
    else if (iv == QLatin1String("s"))
        r = p.second;
    else
        return invalidArgument(ctx);
    sqlite3_result_int(ctx, r);
}

bool threeNumbers(sqlite3_context* ctx, sqlite3_value** argv, double (&v)[3])
{
    if (!numberArguments(ctx, argv, 3, v))
        return false;
    for (double& d : v)
        d = std::trunc(d);
    return true;
}

// DateSerial(y, m, d) carries months and days over; years 0-29 mean 2000-2029, 30-99 the 1900s.
void dateserialFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double v[3];
    if (!threeNumbers(ctx, argv, v))
        return;
    long long y = static_cast<long long>(v[0]);
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    const long long months = y * 12 + static_cast<long long>(v[1]) - 1;
    const long long yy = months >= 0 ? months / 12 : (months - 11) / 12;
    const int mm = int(months - yy * 12) + 1;
    if (yy < 100 || yy > 9999)
        return invalidArgument(ctx);
    resultDate(ctx, double(dateserial::daysFromCivil(int(yy), mm, 1)) + v[2] - 1);
}

void timeserial(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double v[3];
    if (threeNumbers(ctx, argv, v))
        resultDate(ctx, (v[0] * 3600 + v[1] * 60 + v[2]) / 86400.0);
}

void cdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double s;
    if (dateArgument(ctx, argv[0], s))
        resultDate(ctx, s);
}

void datevalue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double s;
    if (dateArgument(ctx, argv[0], s))
        resultDate(ctx, std::floor(s));
}

void timevalue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double s;
    if (dateArgument(ctx, argv[0], s))
        resultDate(ctx, s - std::floor(s));
}

void isdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const bool ok = sqlite3_value_type(argv[0]) == SQLITE_TEXT && fn::date(argv[0]).has_value();
    sqlite3_result_int(ctx, ok ? -1 : 0);
}

} // namespace

void registerDateFunctions(sqlite3* db)
{
    // Date, Time and Now change between runs of a statement: not deterministic.
    sqlite3_create_function_v2(
        db, "kv_date", 0, SQLITE_UTF8, nullptr, date, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        db, "kv_time", 0, SQLITE_UTF8, nullptr, time, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(
        db, "kv_now", 0, SQLITE_UTF8, nullptr, now, nullptr, nullptr, nullptr);
    fn::add(db, "kv_year", 1, part<&Parts::year>);
    fn::add(db, "kv_month", 1, part<&Parts::month>);
    fn::add(db, "kv_day", 1, part<&Parts::day>);
    fn::add(db, "kv_hour", 1, part<&Parts::hour>);
    fn::add(db, "kv_minute", 1, part<&Parts::minute>);
    fn::add(db, "kv_second", 1, part<&Parts::second>);
    fn::add(db, "kv_weekday", -1, weekday);
    fn::add(db, "kv_dateadd", 3, dateadd);
    fn::add(db, "kv_datediff", -1, datediff);
    fn::add(db, "kv_datepart", -1, datepart);
    fn::add(db, "kv_dateserial", 3, dateserialFunction);
    fn::add(db, "kv_timeserial", 3, timeserial);
    fn::add(db, "kv_cdate", 1, cdate);
    fn::add(db, "kv_datevalue", 1, datevalue);
    fn::add(db, "kv_timevalue", 1, timevalue);
    fn::add(db, "kv_isdate", 1, isdate);
}

} // namespace kv::engine::sql
