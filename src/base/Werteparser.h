#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

namespace kv {

/// A number typed in the locale's form: optional sign and currency symbol, digits with the
/// thousands separator only between complete groups of three ("1.234,5" in German), decimal
/// separator, exponent ("1,5E3"); blanks around it are ignored. Text with a thousands separator
/// in another place ("12.5" in German) is no number: reading it as 125 or as 12.5 would both
/// silently change what the user meant.
std::optional<double> ParseZahl(const QString& text, const QLocale& locale = QLocale());
bool IstZahl(const QString& text, const QLocale& locale = QLocale());

/// The number at the start of a text, whatever the locale: blanks anywhere are skipped, "." is the
/// decimal point, an exponent ("1E3") and "&H"/"&O" prefixes for hexadecimal and octal are read;
/// reading stops at the first other character, and a text without a leading number gives 0.
/// For switches, modes and colours stored in definition files.
double Val(const QString& text);

/// A date, time or both typed in the locale's form: day, month and year in the locale's order
/// separated by ".", "/", "-" or blanks ("1.2.2009", "01.02.09", "1.2." with the current year),
/// the month also as a name ("1. Februar 2009", "1-Feb-09"), an optional leading weekday, and an
/// optional time "10:30", "10:30:15", "10:30 PM"; also the stored form "2009-02-01 10:30:00".
/// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. A time alone gives that time on
/// 30.12.1899 (day 0). Local time.
std::optional<QDateTime> ParseDatum(const QString& text, const QLocale& locale = QLocale());
bool IstDatum(const QString& text, const QLocale& locale = QLocale());

/// Days since 30.12.1899 with the time as fraction, the numeric form of a date.
double DatumAlsZahl(const QDateTime& datum);
/// The date for a day number; nullopt outside the years 100 to 9999.
std::optional<QDateTime> ZahlAlsDatum(double tage);

} // namespace kv
