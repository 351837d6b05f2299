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

void addAggregate(sqlite3* db, const char* name,
    void (*step)(sqlite3_context*, int, sqlite3_value**), void (*final)(sqlite3_context*))
{
    sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8, nullptr, nullptr, step, final, nullptr);
}

} // namespace

void registerAggregates(sqlite3* db)
{
    addAggregate(db, "kv_first", keepStep<true>, keepFinal);
    addAggregate(db, "kv_last", keepStep<false>, keepFinal);
    addAggregate(db, "kv_stdev", spreadStep, spreadFinal<true, true>);
    addAggregate(db, "kv_stdevp", spreadStep, spreadFinal<false, true>);
    addAggregate(db, "kv_var", spreadStep, spreadFinal<true, false>);
    addAggregate(db, "kv_varp", spreadStep, spreadFinal<false, false>);
}

} // namespace kv::engine::sql
