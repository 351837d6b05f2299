#pragma once

#include <QLocale>
#include <QString>

namespace kv {

/// Error numbers of the expression evaluator.
namespace Formelfehler {
constexpr int Syntaxfehler = 6;
constexpr int UndefinierteVariable = 7;
constexpr int Klammerfehler = 8;
constexpr int DivisionDurchNull = 9;
constexpr int Ueberlauf = 12;
constexpr int WertZuKlein = 15;
} // namespace Formelfehler

struct Formelergebnis {
    double wert = 0;
    /// 0 for success, else a number of Formelfehler.
    int fehler = 0;
};

/// Evaluates an arithmetic expression: decimal numbers in the locale's form (a "." that cannot
/// be a thousands separator is taken as decimal point too), + - * / (also × ÷ −), unary signs
/// and parentheses, the usual precedence. A name or a "{…}" reference left in the text is an
/// undefined variable (7), unbalanced parentheses 8, division by zero 9, a result beyond the
/// floating-point range 12, a non-zero result too small for it 15, anything else malformed 6.
/// Never throws; deep nesting ends in an error, not in a stack overflow.
Formelergebnis werteAusdruckAus(const QString& ausdruck, const QLocale& locale = QLocale());

/// "Syntaxfehler", … for the numbers above; empty for any other.
QString formelfehlertext(int nummer);

/// What a display element shows: the number in the program's general number format, or
/// "Fehler: " + number + " " + text.
QString formelergebnistext(const Formelergebnis& ergebnis);

} // namespace kv
