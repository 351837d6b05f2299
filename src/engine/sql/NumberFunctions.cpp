#include "engine/core/BooleanText.h"
#include "engine/sql/Currency.h"
#include "engine/sql/DateSerial.h"
#include "engine/sql/FunctionLibrary.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kv::engine::sql {

namespace {

using namespace fn;

std::optional<double> isoDate(sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return dateserial::fromIso(std::string_view(s, size_t(sqlite3_value_bytes(v))));
}

bool isInteger(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_INTEGER;
}

// + of the dialect: numbers add, two texts concatenate, a date plus a number of days is a date.
void add(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (isInteger(argv[0]) && isInteger(argv[1])) {
        sqlite3_int64 r;
        if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &r))
            return sqlite3_result_int64(ctx, r);
    }
    const auto d0 = isoDate(argv[0]);
    const auto d1 = isoDate(argv[1]);
    if (d0 && !d1) {
        const auto n = number(argv[1]);
        return n ? resultDate(ctx, *d0 + *n) : typeMismatch(ctx);
    }
    if (d1 && !d0) {
        const auto n = number(argv[0]);
        return n ? resultDate(ctx, *d1 + *n) : typeMismatch(ctx);
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && sqlite3_value_type(argv[1]) == SQLITE_TEXT)
        return resultText(ctx, text(argv[0]) + text(argv[1]));
    const auto a = number(argv[0]);
    const auto b = number(argv[1]);
    if (!a || !b)
        return typeMismatch(ctx);
    resultNumber(ctx, *a + *b);
}

// - of the dialect: date minus date gives days, date minus number a date.
void sub(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (isInteger(argv[0]) && isInteger(argv[1])) {
        sqlite3_int64 r;
        if (!__builtin_sub_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &r))
            return sqlite3_result_int64(ctx, r);
    }
    const auto d0 = isoDate(argv[0]);
    const auto d1 = isoDate(argv[1]);
    if (d0 && d1) // whole seconds, free of the serials' rounding
        return resultNumber(ctx, std::round((*d0 - *d1) * 86400.0) / 86400.0);
    if (d0) {
        const auto n = number(argv[1]);
        return n ? resultDate(ctx, *d0 - *n) : typeMismatch(ctx);
    }
    const auto a = number(argv[0]);
    const auto b = d1 ? d1 : number(argv[1]);
    if (!a || !b)
        return typeMismatch(ctx);
    resultNumber(ctx, *a - *b);
}

// Operands of \ and Mod are rounded to whole numbers first.
bool wholeOperands(sqlite3_context* ctx, sqlite3_value** argv, double& a, double& b)
{
    const auto x = number(argv[0]);
    const auto y = number(argv[1]);
    if (!x || !y) {
        typeMismatch(ctx);
        return false;
    }
    a = roundEven(*x);
    b = roundEven(*y);
    if (b == 0) {
        divisionByZero(ctx);
        return false;
    }
    return true;
}

void mod(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    double a, b;
    if (wholeOperands(ctx, argv, a, b))
        resultNumber(ctx, std::fmod(a, b));
}

void intdiv(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    double a, b;
    if (wholeOperands(ctx, argv, a, b))
        resultNumber(ctx, std::trunc(a / b));
}

template <double (*F)(double)> void unaryMath(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    const double r = F(*x);
    if (!std::isfinite(r))
        return invalidArgument(ctx);
    resultNumber(ctx, r);
}

double sgn(double x)
{
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}
double sqrtChecked(double x)
{
    return x < 0 ? std::numeric_limits<double>::quiet_NaN() : std::sqrt(x);
}
double logChecked(double x)
{
    return x <= 0 ? std::numeric_limits<double>::quiet_NaN() : std::log(x);
}
double floorD(double x)
{
    return std::floor(x);
}
double truncD(double x)
{
    return std::trunc(x);
}
double expD(double x)
{
    return std::exp(x);
}
double sinD(double x)
{
    return std::sin(x);
}
double cosD(double x)
{
    return std::cos(x);
}
double tanD(double x)
{
    return std::tan(x);
}
double atanD(double x)
{
    return std::atan(x);
}

void pow(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const auto a = number(argv[0]);
    const auto b = number(argv[1]);
    if (!a || !b)
        return typeMismatch(ctx);
    const double r = std::pow(*a, *b);
    if (!std::isfinite(r))
        return invalidArgument(ctx);
    sqlite3_result_double(ctx, r);
}

void round(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    const auto n = argc > 1 ? number(argv[1]) : std::optional<double>(0);
    if (!x || !n)
        return typeMismatch(ctx);
    if (*n < 0)
        return invalidArgument(ctx);
    const double r = roundEven(*x, int(*n));
    if (*n == 0)
        resultNumber(ctx, r);
    else
        sqlite3_result_double(ctx, r);
}

// CInt, CLng, CByte: rounded half to even within their range.
template <long long Min, long long Max>
void wholeConversion(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    const double r = roundEven(*x);
    if (r < double(Min) || r > double(Max))
        return overflow(ctx);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(r));
}

void cdbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    sqlite3_result_double(ctx, *x);
}

void csng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    // Single precision, shown with its seven significant digits.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.7g", double(float(*x)));
    sqlite3_result_double(ctx, std::strtod(buf, nullptr));
}

void ccur(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    sqlite3_result_double(ctx, roundEven(*x, 4));
}

// Currency arithmetic in whole ten-thousandths: each operand is rounded to four decimals as a
// Currency value is, and the result is the double nearest to the exact decimal result.
enum class CurrencyOp { Add, Sub, Mul };

template <CurrencyOp Op> void currencyArithmetic(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double ab[2];
    if (!numberArguments(ctx, argv, 2, ab))
        return;
    const auto x = currency::rounded(ab[0]);
    const auto y = currency::rounded(ab[1]);
    if (!x || !y)
        return overflow(ctx);
    __int128 r = 0;
    switch (Op) {
    case CurrencyOp::Add:
        r = __int128(*x) + *y;
        break;
    case CurrencyOp::Sub:
        r = __int128(*x) - *y;
        break;
    case CurrencyOp::Mul: {
        // Ten-thousandths squared, back to ten-thousandths half to even.
        const __int128 p = __int128(*x) * *y;
        __int128 q = p / currency::Scale;
        const __int128 rest = p % currency::Scale;
        const __int128 twice = (rest < 0 ? -rest : rest) * 2;
        if (twice > currency::Scale || (twice == currency::Scale && q % 2 != 0))
            q += p < 0 ? -1 : 1;
        r = q;
        break;
    }
    }
    const double result = currency::toDouble(r);
    if (!(std::fabs(result) < currency::Limit))
        return overflow(ctx);
    sqlite3_result_double(ctx, result);
}

// Partition(number, start, stop, interval): the range "lower:upper" number falls in, both
// sides padded to one more character than stop has, so that the texts sort as the ranges.
void partition(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double d[4];
    if (!numberArguments(ctx, argv, 4, d))
        return;
    const qint64 x = qint64(roundEven(d[0]));
    const qint64 start = qint64(roundEven(d[1]));
    const qint64 stop = qint64(roundEven(d[2]));
    const qint64 interval = qint64(roundEven(d[3]));
    if (start < 0 || stop <= start || interval < 1)
        return invalidArgument(ctx);
    const int width = int(QString::number(stop).size()) + 1;
    auto side = [width](std::optional<qint64> n) {
        return (n ? QString::number(*n) : QString()).rightJustified(width, QLatin1Char(' '));
    };
    QString range;
    if (x < start)
        range = side(std::nullopt) + QLatin1Char(':') + side(start - 1);
    else if (x > stop)
        range = side(stop + 1) + QLatin1Char(':') + side(std::nullopt);
    else {
        const qint64 lower = start + (x - start) / interval * interval;
        range = side(lower) + QLatin1Char(':') + side(std::min(lower + interval - 1, stop));
    }
    resultText(ctx, range);
}

// IsEmpty: a stored value or an expression is never an uninitialised variable.
void isempty(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_int(ctx, 0);
}

void cbool(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT)
        if (const auto b = booleanFromWord(text(argv[0]), JaNein | WahrFalsch | TrueFalse))
            return sqlite3_result_int(ctx, *b ? -1 : 0);
    const auto x = number(argv[0]);
    if (!x)
        return typeMismatch(ctx);
    sqlite3_result_int(ctx, *x != 0 ? -1 : 0);
}

void isnumeric(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_int(ctx, !isNull(argv[0]) && number(argv[0]) ? -1 : 0);
}

} // namespace

void registerNumberFunctions(sqlite3* db)
{
    fn::add(db, "kv_add", 2, add);
    fn::add(db, "kv_sub", 2, sub);
    fn::add(db, "kv_mod", 2, mod);
    fn::add(db, "kv_intdiv", 2, intdiv);
    fn::add(db, "kv_pow", 2, pow);
    fn::add(db, "kv_int", 1, unaryMath<floorD>);
    fn::add(db, "kv_fix", 1, unaryMath<truncD>);
    fn::add(db, "kv_sgn", 1, unaryMath<sgn>);
    fn::add(db, "kv_sqr", 1, unaryMath<sqrtChecked>);
    fn::add(db, "kv_exp", 1, unaryMath<expD>);
    fn::add(db, "kv_log", 1, unaryMath<logChecked>);
    fn::add(db, "kv_sin", 1, unaryMath<sinD>);
    fn::add(db, "kv_cos", 1, unaryMath<cosD>);
    fn::add(db, "kv_tan", 1, unaryMath<tanD>);
    fn::add(db, "kv_atn", 1, unaryMath<atanD>);
    fn::add(db, "kv_round", -1, round);
    fn::add(db, "kv_cint", 1, wholeConversion<-32768, 32767>);
    fn::add(db, "kv_clng", 1, wholeConversion<-2147483648LL, 2147483647LL>);
    fn::add(db, "kv_cbyte", 1, wholeConversion<0, 255>);
    fn::add(db, "kv_cdbl", 1, cdbl);
    fn::add(db, "kv_csng", 1, csng);
    fn::add(db, "kv_ccur", 1, ccur);
    fn::add(db, "kv_curadd", 2, currencyArithmetic<CurrencyOp::Add>);
    fn::add(db, "kv_cursub", 2, currencyArithmetic<CurrencyOp::Sub>);
    fn::add(db, "kv_curmul", 2, currencyArithmetic<CurrencyOp::Mul>);
    fn::add(db, "kv_cbool", 1, cbool);
    fn::add(db, "kv_isnumeric", 1, isnumeric);
    fn::add(db, "kv_partition", 4, partition);
    fn::add(db, "kv_isempty", 1, isempty);
}

} // namespace kv::engine::sql
