#include "engine/sql/DateSerial.h"
#include "engine/sql/FunctionLibrary.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <cmath>

// Functions that turn values into display text with the German locale's names and formats:
// MonthName, WeekdayName, FormatNumber, FormatCurrency, FormatPercent, FormatDateTime.

namespace kv::engine::sql {

namespace {

using namespace fn;

const QLocale& german()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

// An optional argument as a whole number; fallback when absent or Null.
std::optional<int> wholeArgument(int argc, sqlite3_value** argv, int i, int fallback)
{
    if (i >= argc || isNull(argv[i]))
        return fallback;
    const auto d = number(argv[i]);
    if (!d)
        return std::nullopt;
    return int(roundEven(*d));
}

constexpr const char* monthNames[] = { "Januar", "Februar", "März", "April", "Mai", "Juni", "Juli",
    "August", "September", "Oktober", "November", "Dezember" };
constexpr const char* monthShort[]
    = { "Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez" };
constexpr const char* dayNames[]
    = { "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag" };
constexpr const char* dayShort[] = { "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa" };

// MonthName(month [, abbreviate])
void monthname(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto m = wholeArgument(argc, argv, 0, 0);
    const auto abbreviate = wholeArgument(argc, argv, 1, 0);
    if (!m || !abbreviate)
        return typeMismatch(ctx);
    if (*m < 1 || *m > 12)
        return invalidArgument(ctx);
    resultText(ctx, QString::fromUtf8(*abbreviate ? monthShort[*m - 1] : monthNames[*m - 1]));
}

// WeekdayName(weekday [, abbreviate [, firstdayofweek]]): weekday counts from the first day
// of the week (Sunday unless given; 0 means the system's, Monday here).
void weekdayname(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = wholeArgument(argc, argv, 0, 0);
    const auto abbreviate = wholeArgument(argc, argv, 1, 0);
    auto first = wholeArgument(argc, argv, 2, 1);
    if (!d || !abbreviate || !first)
        return typeMismatch(ctx);
    if (*first == 0)
        first = 2;
    if (*d < 1 || *d > 7 || *first < 1 || *first > 7)
        return invalidArgument(ctx);
    const int index = (*d - 1 + *first - 1) % 7;
    resultText(ctx, QString::fromUtf8(*abbreviate ? dayShort[index] : dayNames[index]));
}

// The shared part of FormatNumber, FormatCurrency and FormatPercent: (value [, digits
// [, leading digit [, parentheses for negatives [, group digits]]]]), the three last as
// -1 (yes), 0 (no) or -2 (the locale's: yes, no, yes).
enum class NumberStyle { Number, Currency, Percent };

template <NumberStyle Style> void formatNumber(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    auto x = number(argv[0]);
    const auto digits = wholeArgument(argc, argv, 1, -1);
    const auto leading = wholeArgument(argc, argv, 2, -2);
    const auto parentheses = wholeArgument(argc, argv, 3, -2);
    const auto group = wholeArgument(argc, argv, 4, -2);
    if (!x || !digits || !leading || !parentheses || !group)
        return typeMismatch(ctx);
    if (*digits < -1 || *digits > 99)
        return invalidArgument(ctx);
    if (Style == NumberStyle::Percent)
        *x *= 100.0;
    const int places = *digits == -1 ? 2 : *digits;
    const double value = roundEven(*x, places);
    QLocale locale = german();
    if (*group == 0)
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(std::fabs(value), 'f', places);
    if (*leading == 0 && text.startsWith(QLatin1String("0,")))
        text.remove(0, 1);
    if (Style == NumberStyle::Currency)
        text += QStringLiteral(" €");
    else if (Style == NumberStyle::Percent)
        text += QLatin1Char('%');
    if (value < 0) {
        if (*parentheses == -1)
            text = QLatin1Char('(') + text + QLatin1Char(')');
        else
            text.prepend(QLatin1Char('-'));
    }
    resultText(ctx, text);
}

// FormatDateTime(date [, format]): 0 general, 1 long date, 2 short date, 3 long time, 4 short
// time.
void formatdatetime(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto serial = date(argv[0]);
    const auto style = wholeArgument(argc, argv, 1, 0);
    if (!serial || !style)
        return typeMismatch(ctx);
    const dateserial::Parts p = dateserial::split(*serial);
    const QDate day(p.year, p.month, p.day);
    const QTime time(p.hour, p.minute, p.second);
    const bool hasDay = std::floor(*serial) != 0.0;
    const bool hasTime = *serial != std::floor(*serial);
    QString text;
    switch (*style) {
    case 0:
        if (hasDay)
            text = day.toString(QStringLiteral("dd.MM.yyyy"));
        if (hasTime || !hasDay)
            text += (text.isEmpty() ? QString() : QStringLiteral(" "))
                + time.toString(QStringLiteral("HH:mm:ss"));
        break;
    case 1:
        text = QString::fromUtf8(dayNames[day.dayOfWeek() % 7]) + QStringLiteral(", ")
            + QString::number(p.day) + QStringLiteral(". ")
            + QString::fromUtf8(monthNames[p.month - 1]) + QLatin1Char(' ')
            + QString::number(p.year);
        break;
    case 2:
        text = day.toString(QStringLiteral("dd.MM.yyyy"));
        break;
    case 3:
        text = time.toString(QStringLiteral("HH:mm:ss"));
        break;
    case 4:
        text = time.toString(QStringLiteral("HH:mm"));
        break;
    default:
        return invalidArgument(ctx);
    }
    resultText(ctx, text);
}

} // namespace

void registerDisplayFunctions(sqlite3* db)
{
    add(db, "kv_monthname", -1, monthname);
    add(db, "kv_weekdayname", -1, weekdayname);
    add(db, "kv_formatnumber", -1, formatNumber<NumberStyle::Number>);
    add(db, "kv_formatcurrency", -1, formatNumber<NumberStyle::Currency>);
    add(db, "kv_formatpercent", -1, formatNumber<NumberStyle::Percent>);
    add(db, "kv_formatdatetime", -1, formatdatetime);
}

} // namespace kv::engine::sql
