#include "engine/sql/FunctionCatalog.h"

#include <QString>
#include <algorithm>
#include <iterator>

namespace kv::engine::sql {

namespace {

using K = ValueKind;

// Dialect facts as data: name, SQLite function, argument counts, result kind, aggregate.
// Where SQLite's own function behaves the same (trim, abs, length, …) it is used directly.
constexpr FunctionInfo functions[] = {
    { "abs", "abs", 1, 1, K::Number, false },
    { "asc", "kv_asc", 1, 1, K::Number, false },
    { "atn", "kv_atn", 1, 1, K::Number, false },
    { "avg", "avg", 1, 1, K::Number, true },
    { "cbool", "kv_cbool", 1, 1, K::Boolean, false },
    { "cbyte", "kv_cbyte", 1, 1, K::Number, false },
    { "ccur", "kv_ccur", 1, 1, K::Number, false },
    { "cdate", "kv_cdate", 1, 1, K::Date, false },
    { "cdbl", "kv_cdbl", 1, 1, K::Number, false },
    { "choose", nullptr, 2, 255, K::Unknown, false },
    { "chr", "kv_chr", 1, 1, K::Text, false },
    { "cint", "kv_cint", 1, 1, K::Number, false },
    { "clng", "kv_clng", 1, 1, K::Number, false },
    { "cos", "kv_cos", 1, 1, K::Number, false },
    { "count", "count", 1, 1, K::Number, true },
    { "csng", "kv_csng", 1, 1, K::Number, false },
    { "cstr", "kv_cstr", 1, 1, K::Text, false },
    { "cvdate", "kv_cdate", 1, 1, K::Date, false },
    { "date", "kv_date", 0, 0, K::Date, false },
    { "dateadd", "kv_dateadd", 3, 3, K::Date, false },
    { "datediff", "kv_datediff", 3, 5, K::Number, false },
    { "datepart", "kv_datepart", 2, 4, K::Number, false },
    { "dateserial", "kv_dateserial", 3, 3, K::Date, false },
    { "datevalue", "kv_datevalue", 1, 1, K::Date, false },
    { "day", "kv_day", 1, 1, K::Number, false },
    { "ddb", "kv_ddb", 4, 5, K::Number, false },
    { "exp", "kv_exp", 1, 1, K::Number, false },
    { "first", "kv_first", 1, 1, K::Unknown, true },
    { "fix", "kv_fix", 1, 1, K::Number, false },
    { "format", "kv_format", 1, 4, K::Text, false },
    { "formatcurrency", "kv_formatcurrency", 1, 5, K::Text, false },
    { "formatdatetime", "kv_formatdatetime", 1, 2, K::Text, false },
    { "formatnumber", "kv_formatnumber", 1, 5, K::Text, false },
    { "formatpercent", "kv_formatpercent", 1, 5, K::Text, false },
    { "fv", "kv_fv", 3, 5, K::Number, false },
    { "hex", "kv_hex", 1, 1, K::Text, false },
    { "hour", "kv_hour", 1, 1, K::Number, false },
    { "iif", nullptr, 3, 3, K::Unknown, false },
    { "instr", "kv_instr", 2, 4, K::Number, false },
    { "instrrev", "kv_instrrev", 2, 4, K::Number, false },
    { "int", "kv_int", 1, 1, K::Number, false },
    { "ipmt", "kv_ipmt", 4, 6, K::Number, false },
    { "isdate", "kv_isdate", 1, 1, K::Boolean, false },
    { "isempty", "kv_isempty", 1, 1, K::Boolean, false },
    { "isnull", nullptr, 1, 1, K::Boolean, false },
    { "isnumeric", "kv_isnumeric", 1, 1, K::Boolean, false },
    { "last", "kv_last", 1, 1, K::Unknown, true },
    { "lcase", "kv_lcase", 1, 1, K::Text, false },
    { "left", "kv_left", 2, 2, K::Text, false },
    { "len", "kv_len", 1, 1, K::Number, false },
    { "log", "kv_log", 1, 1, K::Number, false },
    { "ltrim", "ltrim", 1, 1, K::Text, false },
    { "max", "max", 1, 1, K::Unknown, true },
    { "mid", "kv_mid", 2, 3, K::Text, false },
    { "min", "min", 1, 1, K::Unknown, true },
    { "minute", "kv_minute", 1, 1, K::Number, false },
    { "month", "kv_month", 1, 1, K::Number, false },
    { "monthname", "kv_monthname", 1, 2, K::Text, false },
    { "now", "kv_now", 0, 0, K::Date, false },
    { "nper", "kv_nper", 3, 5, K::Number, false },
    { "nz", nullptr, 1, 2, K::Unknown, false },
    { "oct", "kv_oct", 1, 1, K::Text, false },
    { "partition", "kv_partition", 4, 4, K::Text, false },
    { "pmt", "kv_pmt", 3, 5, K::Number, false },
    { "ppmt", "kv_ppmt", 4, 6, K::Number, false },
    { "pv", "kv_pv", 3, 5, K::Number, false },
    { "rate", "kv_rate", 3, 6, K::Number, false },
    { "replace", "kv_replace", 3, 6, K::Text, false },
    { "right", "kv_right", 2, 2, K::Text, false },
    { "round", "kv_round", 1, 2, K::Number, false },
    { "rtrim", "rtrim", 1, 1, K::Text, false },
    { "second", "kv_second", 1, 1, K::Number, false },
    { "sgn", "kv_sgn", 1, 1, K::Number, false },
    { "sin", "kv_sin", 1, 1, K::Number, false },
    { "sln", "kv_sln", 3, 3, K::Number, false },
    { "space", "kv_space", 1, 1, K::Text, false },
    { "sqr", "kv_sqr", 1, 1, K::Number, false },
    { "stdev", "kv_stdev", 1, 1, K::Number, true },
    { "stdevp", "kv_stdevp", 1, 1, K::Number, true },
    { "str", "kv_str", 1, 1, K::Text, false },
    { "strcomp", "kv_strcomp", 2, 3, K::Number, false },
    { "strconv", "kv_strconv", 2, 3, K::Text, false },
    { "string", "kv_string", 2, 2, K::Text, false },
    { "strreverse", "kv_strreverse", 1, 1, K::Text, false },
    { "sum", "kv_sum", 1, 1, K::Number, true },
    { "switch", nullptr, 2, 254, K::Unknown, false },
    { "syd", "kv_syd", 4, 4, K::Number, false },
    { "tan", "kv_tan", 1, 1, K::Number, false },
    { "time", "kv_time", 0, 0, K::Date, false },
    { "timeserial", "kv_timeserial", 3, 3, K::Date, false },
    { "timevalue", "kv_timevalue", 1, 1, K::Date, false },
    { "trim", "trim", 1, 1, K::Text, false },
    { "ucase", "kv_ucase", 1, 1, K::Text, false },
    { "val", "kv_val", 1, 1, K::Number, false },
    { "var", "kv_var", 1, 1, K::Number, true },
    { "varp", "kv_varp", 1, 1, K::Number, true },
    { "weekday", "kv_weekday", 1, 2, K::Number, false },
    { "weekdayname", "kv_weekdayname", 1, 3, K::Text, false },
    { "year", "kv_year", 1, 1, K::Number, false },
};

} // namespace

const FunctionInfo* findFunction(QStringView name)
{
    if (name.endsWith(QLatin1Char('$')))
        name.chop(1);
    if (name.size() > 16)
        return nullptr;
    const QByteArray key = name.toString().toLower().toLatin1();
    const auto it = std::lower_bound(std::begin(functions), std::end(functions), key,
        [](const FunctionInfo& f, const QByteArray& k) { return qstrcmp(f.name, k) < 0; });
    if (it == std::end(functions) || key != it->name)
        return nullptr;
    return &*it;
}

} // namespace kv::engine::sql
