#include "engine/core/BooleanText.h"
#include "engine/core/DataType.h"
#include "engine/sql/FunctionLibrary.h"

#include <QLocale>
#include <cfloat>
#include <cmath>

namespace kv::engine::sql {

namespace {

using namespace fn;

// The text a value of another type becomes in a Text or Memo field.
QString asText(sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_FLOAT)
        return text(v);
    QString s = QString::number(sqlite3_value_double(v), 'g', 15);
    return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

std::optional<double> wholeNumber(sqlite3_value* v, double lowest, double highest)
{
    const auto x = number(v);
    if (!x)
        return std::nullopt;
    // Most values are whole already; rounding them is the costly part of a preview.
    const double r = std::abs(*x) < 9e15 && double(qint64(*x)) == *x ? *x : roundEven(*x);
    if (r < lowest || r > highest)
        return std::nullopt;
    return r;
}

// kv_convert(value, type, size): the value a field of that type and size holds after a type
// change, Null when it cannot hold it (a text is cut to the size).
// kv_fits(value, type, size): 1 when the value survives the change unchanged in meaning.
// One conversion serves both, so that the preview counts exactly what the change loses.
bool convert(sqlite3_context* ctx, sqlite3_value** argv, bool store)
{
    sqlite3_value* v = argv[0];
    if (isNull(v)) {
        if (store)
            sqlite3_result_null(ctx);
        return true;
    }
    const int type = sqlite3_value_int(argv[1]);
    const int size = sqlite3_value_int(argv[2]);
    auto whole = [&](double lowest, double highest) {
        const auto r = wholeNumber(v, lowest, highest);
        if (r && store)
            sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(*r));
        return r.has_value();
    };
    switch (type) {
    case dbText:
    case dbMemo: {
        if (sqlite3_value_type(v) == SQLITE_BLOB)
            return false;
        const QString s = asText(v);
        const bool cut = type == dbText && size > 0 && s.size() > size;
        if (store)
            resultText(ctx, cut ? s.left(size) : s);
        return !cut;
    }
    case dbByte:
        return whole(0, 255);
    case dbInteger:
        return whole(-32768, 32767);
    case dbLong:
        return whole(-2147483648.0, 2147483647.0);
    case dbBigInt:
        return whole(-9.2e18, 9.2e18);
    case dbBoolean: {
        std::optional<bool> b;
        if (sqlite3_value_type(v) == SQLITE_TEXT)
            b = booleanFromWord(text(v), JaNein | WahrFalsch | TrueFalse);
        if (!b)
            if (const auto x = number(v))
                b = *x != 0;
        if (b && store)
            sqlite3_result_int(ctx, *b ? -1 : 0);
        return b.has_value();
    }
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal: {
        auto x = number(v);
        if (x && !std::isfinite(*x))
            x.reset();
        if (x && type == dbSingle && std::fabs(*x) > double(FLT_MAX))
            x.reset();
        if (x && type == dbCurrency) {
            *x = roundEven(*x, 4);
            if (std::fabs(*x) > 922337203685477.0)
                x.reset();
        }
        if (x && store)
            sqlite3_result_double(ctx, *x);
        return x.has_value();
    }
    case dbDate:
    case dbTime:
    case dbTimeStamp: {
        const auto d = date(v);
        if (d && store)
            resultDate(ctx, *d);
        return d.has_value();
    }
    default:
        if (store)
            sqlite3_result_value(ctx, v);
        return true;
    }
}

void convertValue(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (!convert(ctx, argv, true))
        sqlite3_result_null(ctx);
}

void fits(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_int(ctx, convert(ctx, argv, false) ? 1 : 0);
}

} // namespace

void registerConversionFunctions(sqlite3* db)
{
    fn::add(db, "kv_convert", 3, convertValue);
    fn::add(db, "kv_fits", 3, fits);
}

} // namespace kv::engine::sql
