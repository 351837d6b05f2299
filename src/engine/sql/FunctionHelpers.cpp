#include "engine/sql/DateSerial.h"
#include "engine/sql/FunctionLibrary.h"

#include <QLocale>
#include <cmath>

namespace kv::engine::sql::fn {

void add(sqlite3* db, const char* name, int argc, void (*f)(sqlite3_context*, int, sqlite3_value**))
{
    sqlite3_create_function_v2(
        db, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, f, nullptr, nullptr, nullptr);
}

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

QString text(sqlite3_value* v)
{
    const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(s, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

namespace {
bool asciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A text that is only a sign and up to 15 digits (blanks around allowed), read without the way
// through QString; nullopt for anything else. Whole-number texts are what a column holds that
// changes from Text to a number, so the change and its preview spend their time here.
bool plainWholeNumber(const char* s, int n, double& out)
{
    int i = 0;
    while (i < n && asciiSpace(s[i]))
        ++i;
    while (n > i && asciiSpace(s[n - 1]))
        --n;
    const bool negative = i < n && s[i] == '-';
    if (i < n && (s[i] == '-' || s[i] == '+'))
        ++i;
    if (i == n || n - i > 15)
        return false;
    qint64 x = 0;
    for (; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        x = x * 10 + (s[i] - '0');
    }
    out = negative ? -double(x) : double(x);
    return true;
}
} // namespace

std::optional<double> number(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return double(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        // Read straight into a double: an optional in between costs a stall per value.
        if (double x = 0; plainWholeNumber(
                reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v), x))
            return x;
        const QString t = text(v).trimmed();
        bool ok = false;
        double d = t.toDouble(&ok);
        if (!ok)
            d = QLocale().toDouble(t, &ok);
        if (ok)
            return d;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<double> date(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    case SQLITE_TEXT: {
        const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
        if (const auto iso
            = dateserial::fromIso(std::string_view(s, size_t(sqlite3_value_bytes(v)))))
            return iso;
        return dateserial::fromText(text(v));
    }
    default:
        return std::nullopt;
    }
}

bool numberArguments(sqlite3_context* ctx, sqlite3_value** argv, int n, double* out)
{
    for (int i = 0; i < n; ++i) {
        if (isNull(argv[i])) {
            sqlite3_result_null(ctx);
            return false;
        }
        const auto d = number(argv[i]);
        if (!d) {
            typeMismatch(ctx);
            return false;
        }
        out[i] = *d;
    }
    return true;
}

void resultNumber(sqlite3_context* ctx, double d)
{
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
    else
        sqlite3_result_double(ctx, d);
}

void resultDate(sqlite3_context* ctx, double serial)
{
    const std::string iso = dateserial::toIso(serial);
    sqlite3_result_text(ctx, iso.c_str(), int(iso.size()), SQLITE_TRANSIENT);
}

void invalidArgument(sqlite3_context* ctx)
{
    sqlite3_result_error(ctx, "Ungültiger Prozeduraufruf oder ungültiges Argument.", -1);
}

void typeMismatch(sqlite3_context* ctx)
{
    sqlite3_result_error(ctx, "Datentypen im Ausdruck unverträglich.", -1);
}

void overflow(sqlite3_context* ctx)
{
    sqlite3_result_error(ctx, "Überlauf.", -1);
}

void divisionByZero(sqlite3_context* ctx)
{
    sqlite3_result_error(ctx, "Division durch Null.", -1);
}

double roundEven(double x, int decimals)
{
    // Whole numbers stay as they are; the way through the scale would also turn the largest
    // ones into infinity.
    if (x == std::trunc(x))
        return x;
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    // Guard the representation error of values like 2.675 * 100 = 267.49999…
    const double nearest = std::round(scaled * 1e9) / 1e9;
    const double r = std::nearbyint(nearest);
    return r / scale;
}

} // namespace kv::engine::sql::fn
