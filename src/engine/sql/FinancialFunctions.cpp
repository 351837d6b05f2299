#include "engine/sql/FunctionLibrary.h"

#include <algorithm>
#include <cmath>
#include <vector>

// The financial functions: annuities (Pmt, FV, PV, NPer, Rate, IPmt, PPmt) and depreciation
// (DDB, SLN, SYD). Payments are signed as cash flows: money paid out is negative.

namespace kv::engine::sql {

namespace {

using namespace fn;

// The required arguments as numbers, then the optional ones, which take their fallback when
// absent or Null. False after setting the result.
bool numbers(sqlite3_context* ctx, int argc, sqlite3_value** argv, int required,
    std::vector<double>& out, std::initializer_list<double> fallbacks)
{
    out.assign(size_t(required), 0.0);
    if (!numberArguments(ctx, argv, required, out.data()))
        return false;
    int i = required;
    for (const double fallback : fallbacks) {
        std::optional<double> d = fallback;
        if (i < argc && !isNull(argv[i]))
            d = number(argv[i]);
        if (!d) {
            typeMismatch(ctx);
            return false;
        }
        out.push_back(*d);
        ++i;
    }
    return true;
}

void result(sqlite3_context* ctx, double d)
{
    if (!std::isfinite(d))
        return invalidArgument(ctx);
    sqlite3_result_double(ctx, d);
}

// Payment timing: 0 at the end of a period, anything else at its start.
double due(double type)
{
    return type != 0 ? 1.0 : 0.0;
}

double futureValue(double rate, double nper, double pmt, double pv, double type)
{
    if (rate == 0)
        return -(pv + pmt * nper);
    const double q = std::pow(1 + rate, nper);
    return -(pv * q + pmt * (1 + rate * type) * (q - 1) / rate);
}

double payment(double rate, double nper, double pv, double fv, double type)
{
    if (rate == 0)
        return -(pv + fv) / nper;
    const double q = std::pow(1 + rate, nper);
    return -(fv + pv * q) * rate / ((1 + rate * type) * (q - 1));
}

double interestPart(double rate, double per, double nper, double pv, double fv, double type)
{
    const double pmt = payment(rate, nper, pv, fv, type);
    if (type != 0) {
        if (per == 1)
            return 0;
        return (futureValue(rate, per - 2, pmt, pv, 1) - pmt) * rate;
    }
    return futureValue(rate, per - 1, pmt, pv, 0) * rate;
}

// Pmt(rate, nper, pv [, fv [, type]])
void pmt(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, { 0, 0 }))
        return;
    if (a[1] == 0)
        return invalidArgument(ctx);
    result(ctx, payment(a[0], a[1], a[2], a[3], due(a[4])));
}

// FV(rate, nper, pmt [, pv [, type]])
void fv(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, { 0, 0 }))
        return;
    result(ctx, futureValue(a[0], a[1], a[2], a[3], due(a[4])));
}

// PV(rate, nper, pmt [, fv [, type]])
void pv(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, { 0, 0 }))
        return;
    const double rate = a[0];
    const double type = due(a[4]);
    if (rate == 0)
        return result(ctx, -(a[3] + a[2] * a[1]));
    const double q = std::pow(1 + rate, a[1]);
    result(ctx, -(a[3] + a[2] * (1 + rate * type) * (q - 1) / rate) / q);
}

// NPer(rate, pmt, pv [, fv [, type]])
void nper(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, { 0, 0 }))
        return;
    const double rate = a[0];
    const double pmt = a[1];
    if (rate == 0) {
        if (pmt == 0)
            return invalidArgument(ctx);
        return result(ctx, -(a[2] + a[3]) / pmt);
    }
    const double w = pmt * (1 + rate * due(a[4]));
    const double ratio = (w - a[3] * rate) / (w + a[2] * rate);
    if (ratio <= 0 || rate <= -1)
        return invalidArgument(ctx);
    result(ctx, std::log(ratio) / std::log(1 + rate));
}

// Rate(nper, pmt, pv [, fv [, type [, guess]]]): Newton's method from the guess.
void rate(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, { 0, 0, 0.1 }))
        return;
    const double n = a[0];
    const double type = due(a[4]);
    if (n <= 0)
        return invalidArgument(ctx);
    // f(r): the future value of all flows, which the rate makes zero.
    auto f = [&](double r) { return futureValue(r, n, a[1], a[2], type) + a[3]; };
    double r = a[5];
    for (int i = 0; i < 100; ++i) {
        const double h = std::max(1e-7, std::fabs(r) * 1e-7);
        const double y = f(r);
        const double slope = (f(r + h) - f(r - h)) / (2 * h);
        if (slope == 0 || !std::isfinite(slope))
            break;
        const double next = r - y / slope;
        if (std::fabs(next - r) < 1e-10)
            return result(ctx, next);
        r = next;
        if (r <= -1)
            break;
    }
    invalidArgument(ctx);
}

// IPmt(rate, per, nper, pv [, fv [, type]]) and PPmt: the interest and the principal part of
// payment per.
template <bool Interest> void paymentPart(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 4, a, { 0, 0 }))
        return;
    const double per = a[1];
    const double n = a[2];
    if (per < 1 || per > n + 1e-9 || n == 0)
        return invalidArgument(ctx);
    const double type = due(a[5]);
    const double interest = interestPart(a[0], per, n, a[3], a[4], type);
    result(ctx, Interest ? interest : payment(a[0], n, a[3], a[4], type) - interest);
}

// SLN(cost, salvage, life)
void sln(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 3, a, {}))
        return;
    if (a[2] == 0)
        return divisionByZero(ctx);
    result(ctx, (a[0] - a[1]) / a[2]);
}

// SYD(cost, salvage, life, period)
void syd(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 4, a, {}))
        return;
    const double life = a[2];
    const double period = a[3];
    if (life <= 0 || period < 1 || period > life || a[1] < 0)
        return invalidArgument(ctx);
    result(ctx, (a[0] - a[1]) * (life - period + 1) * 2 / (life * (life + 1)));
}

// DDB(cost, salvage, life, period [, factor]): declining balance, never below the salvage.
void ddb(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::vector<double> a;
    if (!numbers(ctx, argc, argv, 4, a, { 2 }))
        return;
    const double cost = a[0];
    const double salvage = a[1];
    const double life = a[2];
    const double period = a[3];
    const double factor = a[4];
    if (cost < 0 || salvage < 0 || life <= 0 || period < 1 || period > life || factor <= 0)
        return invalidArgument(ctx);
    double value = cost;
    double depreciation = 0;
    for (int p = 1; p <= int(std::ceil(period)); ++p) {
        depreciation = std::min(value * factor / life, std::max(0.0, value - salvage));
        value -= depreciation;
    }
    result(ctx, depreciation);
}

} // namespace

void registerFinancialFunctions(sqlite3* db)
{
    add(db, "kv_pmt", -1, pmt);
    add(db, "kv_fv", -1, fv);
    add(db, "kv_pv", -1, pv);
    add(db, "kv_nper", -1, nper);
    add(db, "kv_rate", -1, rate);
    add(db, "kv_ipmt", -1, paymentPart<true>);
    add(db, "kv_ppmt", -1, paymentPart<false>);
    add(db, "kv_sln", 3, sln);
    add(db, "kv_syd", 4, syd);
    add(db, "kv_ddb", -1, ddb);
}

} // namespace kv::engine::sql
