#include "engine/sql/Currency.h"
#include "engine/sql/FunctionLibrary.h"

#include <cmath>

namespace kv::engine::sql {

namespace {

struct Kept {
    sqlite3_value* value;
    bool seen;
};

// First keeps the value of the first record, Last that of the last one (Null included).
template <bool KeepFirst> void keepStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* k = static_cast<Kept*>(sqlite3_aggregate_context(ctx, sizeof(Kept)));
    if (!k)
        return sqlite3_result_error_nomem(ctx);
    if (KeepFirst && k->seen)
        return;
    sqlite3_value_free(k->value);
    k->value = sqlite3_value_dup(argv[0]);
    k->seen = true;
}

void keepFinal(sqlite3_context* ctx)
{
    auto* k = static_cast<Kept*>(sqlite3_aggregate_context(ctx, 0));
    if (!k || !k->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, k->value);
    sqlite3_value_free(k->value);
    k->value = nullptr;
}

// Welford's running mean and squared deviations.
struct Spread {
    long long n;
    double mean;
    double m2;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (fn::isNull(argv[0]))
        return;
    const auto x = fn::number(argv[0]);
    if (!x)
        return fn::typeMismatch(ctx);
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return sqlite3_result_error_nomem(ctx);
    ++s->n;
    const double delta = *x - s->mean;
    s->mean += delta / double(s->n);
    s->m2 += delta * (*x - s->mean);
}

template <bool Sample, bool Root> void spreadFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const long long needed = Sample ? 2 : 1;
    if (!s || s->n < needed)
        return sqlite3_result_null(ctx);
    const double variance = s->m2 / double(Sample ? s->n - 1 : s->n);
    sqlite3_result_double(ctx, Root ? std::sqrt(variance) : variance);
}

// Sum adds whole numbers as integers and values with at most four decimals (every Currency
// value) as whole ten-thousandths, so that 0.1 + 0.2 is 0.3; other values, and sums beyond
// that range, fall back to compensated floating-point addition. (No 128-bit members: SQLite's
// aggregate memory is only 8-byte aligned.)
struct Total {
    qint64 whole; // while every value is an integer
    qint64 scaled; // ten-thousandths, once a value was not
    double sum;
    double compensation;
    bool any;
    bool real;
    bool inexact;
};

void totalAddDouble(Total& t, double x)
{
    // Neumaier's compensated sum, as SQLite's own sum adds.
    const double s = t.sum + x;
    if (std::fabs(t.sum) >= std::fabs(x))
        t.compensation += (t.sum - s) + x;
    else
        t.compensation += (x - s) + t.sum;
    t.sum = s;
}

void becomeInexact(Total& t, double x)
{
    t.sum = t.real ? currency::toDouble(t.scaled) : double(t.whole);
    t.inexact = true;
    totalAddDouble(t, x);
}

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_numeric_type(argv[0]);
    if (type == SQLITE_NULL)
        return;
    auto* t = static_cast<Total*>(sqlite3_aggregate_context(ctx, sizeof(Total)));
    if (!t)
        return sqlite3_result_error_nomem(ctx);
    t->any = true;
    if (t->inexact)
        return totalAddDouble(*t, sqlite3_value_double(argv[0]));
    if (type == SQLITE_INTEGER) {
        const qint64 i = sqlite3_value_int64(argv[0]);
        qint64 s = 0;
        qint64 sum = 0;
        const bool overflow = t->real ? __builtin_mul_overflow(i, currency::Scale, &s)
                || __builtin_add_overflow(t->scaled, s, &sum)
                                      : __builtin_add_overflow(t->whole, i, &sum);
        if (overflow)
            return becomeInexact(*t, double(i));
        (t->real ? t->scaled : t->whole) = sum;
        return;
    }
    const double x = sqlite3_value_double(argv[0]);
    if (!t->real) {
        qint64 scaled = 0;
        if (__builtin_mul_overflow(t->whole, currency::Scale, &scaled))
            return becomeInexact(*t, x);
        t->scaled = scaled;
        t->real = true;
    }
    const auto s = currency::exactly(x);
    qint64 sum = 0;
    if (!s || __builtin_add_overflow(t->scaled, *s, &sum))
        return becomeInexact(*t, x);
    t->scaled = sum;
}

void sumFinal(sqlite3_context* ctx)
{
    auto* t = static_cast<Total*>(sqlite3_aggregate_context(ctx, 0));
    if (!t || !t->any)
        return sqlite3_result_null(ctx);
    if (t->inexact)
        return sqlite3_result_double(ctx, t->sum + t->compensation);
    if (!t->real)
        return sqlite3_result_int64(ctx, t->whole);
    sqlite3_result_double(ctx, currency::toDouble(t->scaled));
}

void addAggregate(sqlite3* db, const char* name,
    void (*step)(sqlite3_context*, int, sqlite3_value**), void (*final)(sqlite3_context*))
{
    sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8, nullptr, nullptr, step, final, nullptr);
}

} // namespace

void registerAggregates(sqlite3* db)
{
    addAggregate(db, "kv_sum", sumStep, sumFinal);
    addAggregate(db, "kv_first", keepStep<true>, keepFinal);
    addAggregate(db, "kv_last", keepStep<false>, keepFinal);
    addAggregate(db, "kv_stdev", spreadStep, spreadFinal<true, true>);
    addAggregate(db, "kv_stdevp", spreadStep, spreadFinal<false, true>);
    addAggregate(db, "kv_var", spreadStep, spreadFinal<true, false>);
    addAggregate(db, "kv_varp", spreadStep, spreadFinal<false, false>);
}

} // namespace kv::engine::sql
