#pragma once

#include "engine/sqlite/SqliteApi.h"

#include <QString>
#include <optional>

// Private to the dialect: the SQLite functions behind the dialect's function names.

namespace kv::engine::sql {

void registerTextFunctions(sqlite3* db);
void registerNumberFunctions(sqlite3* db);
void registerDateFunctions(sqlite3* db);
void registerAggregates(sqlite3* db);
void registerDisplayFunctions(sqlite3* db);
void registerFinancialFunctions(sqlite3* db);

/// Helpers shared by the function groups.
namespace fn {

/// Registers a deterministic scalar function for argc arguments (-1: any).
void add(
    sqlite3* db, const char* name, int argc, void (*f)(sqlite3_context*, int, sqlite3_value**));

bool isNull(sqlite3_value* v);
QString text(sqlite3_value* v);
void resultText(sqlite3_context* ctx, const QString& s);
/// A number from a numeric value or a text written as a number ("." or the locale's
/// decimal separator); nullopt when it is none.
std::optional<double> number(sqlite3_value* v);
/// The serial date of an ISO text, a number or a date written by a user.
std::optional<double> date(sqlite3_value* v);
/// The first n arguments as numbers into out; false after setting the result (Null when one is
/// Null, the type-mismatch error when one is no number).
bool numberArguments(sqlite3_context* ctx, sqlite3_value** argv, int n, double* out);
void resultNumber(sqlite3_context* ctx, double d);
void resultDate(sqlite3_context* ctx, double serial);

/// The dialect's run-time errors, in German.
void invalidArgument(sqlite3_context* ctx);
void typeMismatch(sqlite3_context* ctx);
void overflow(sqlite3_context* ctx);
void divisionByZero(sqlite3_context* ctx);

/// Round half to even, as the dialect's Round, CInt and CLng do.
double roundEven(double x, int decimals = 0);

} // namespace fn

} // namespace kv::engine::sql
