#include "engine/sql/Collation.h"
#include "engine/sql/DateSerial.h"
#include "engine/sql/FunctionLibrary.h"
#include "engine/sql/LikePattern.h"

#include "base/Format.h"
#include "base/Windows1252.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace kv::engine::sql {

namespace {

using namespace fn;

// Argument as a whole number ≥ min; false after reporting the error.
bool count(sqlite3_context* ctx, sqlite3_value* v, qint64& n, qint64 min = 0)
{
    const auto d = number(v);
    if (!d) {
        typeMismatch(ctx);
        return false;
    }
    n = static_cast<qint64>(roundEven(*d));
    if (n < min) {
        invalidArgument(ctx);
        return false;
    }
    return true;
}

void like(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        pattern = new LikePattern(std::string_view(p, size_t(sqlite3_value_bytes(argv[1]))));
        sqlite3_set_auxdata(ctx, 1, pattern, [](void* d) { delete static_cast<LikePattern*>(d); });
        // set_auxdata may have freed it already when the pattern is not constant
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {
            const auto* q = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
            const LikePattern once(std::string_view(q, size_t(sqlite3_value_bytes(argv[1]))));
            const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            return sqlite3_result_int(ctx,
                once.matches(std::string_view(t, size_t(sqlite3_value_bytes(argv[0])))) ? -1 : 0);
        }
    }
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_result_int(
        ctx, pattern->matches(std::string_view(t, size_t(sqlite3_value_bytes(argv[0])))) ? -1 : 0);
}

void left(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    qint64 n;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[1], n))
        return;
    resultText(ctx, text(argv[0]).left(n));
}

void right(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    qint64 n;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[1], n))
        return;
    resultText(ctx, text(argv[0]).right(n));
}

void mid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    qint64 start, n = -1;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[1], start, 1))
        return;
    if (argc > 2 && !isNull(argv[2]) && !count(ctx, argv[2], n))
        return;
    const QString s = text(argv[0]);
    resultText(ctx, start > s.size() ? QString() : s.mid(start - 1, n));
}

void len(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, text(argv[0]).size());
}

Qt::CaseSensitivity compareMode(sqlite3_value* v)
{
    const auto d = number(v);
    return d && *d == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// InStr([start,] s1, s2 [, compare])
void instr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    qint64 start = 1;
    int i = 0;
    if (argc >= 3) {
        if (isNull(argv[0]))
            return sqlite3_result_null(ctx);
        if (!count(ctx, argv[0], start, 1))
            return;
        i = 1;
    }
    if (isNull(argv[i]) || isNull(argv[i + 1]))
        return sqlite3_result_null(ctx);
    const Qt::CaseSensitivity cs = argc == 4 ? compareMode(argv[3]) : Qt::CaseInsensitive;
    const QString s = text(argv[i]);
    if (start > s.size() + 1)
        return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, s.indexOf(text(argv[i + 1]), start - 1, cs) + 1);
}

// InStrRev(s1, s2 [, start [, compare]])
void instrrev(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const QString s = text(argv[0]);
    qint64 start = -1;
    if (argc > 2) {
        const auto d = number(argv[2]);
        if (!d || (*d < 1 && *d != -1))
            return invalidArgument(ctx);
        start = qint64(*d);
    }
    const Qt::CaseSensitivity cs = argc == 4 ? compareMode(argv[3]) : Qt::CaseInsensitive;
    const QString find = text(argv[1]);
    if (start > s.size())
        return sqlite3_result_int(ctx, 0);
    const qsizetype from = start == -1 ? -1 : start - find.size();
    if (from < -1 && start != -1)
        return sqlite3_result_int(ctx, 0);
    sqlite3_result_int64(ctx, s.lastIndexOf(find, from, cs) + 1);
}

void ucase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toUpper());
}

void lcase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toLower());
}

void space(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    qint64 n;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[0], n))
        return;
    resultText(ctx, QString(n, QLatin1Char(' ')));
}

QChar charOfCode(qint64 code)
{
    if (code >= 128 && code <= 255)
        return kv::ausWindows1252(QByteArray(1, char(code))).at(0);
    return QChar(char16_t(code));
}

void string(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    qint64 n;
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[0], n))
        return;
    QChar c;
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const QString s = text(argv[1]);
        if (s.isEmpty())
            return invalidArgument(ctx);
        c = s[0];
    } else {
        qint64 code;
        if (!count(ctx, argv[1], code))
            return;
        c = charOfCode(code % 256);
    }
    resultText(ctx, QString(n, c));
}

// Replace(s, find, with [, start [, count [, compare]]]); with start the result begins there.
void replace(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i]))
            return sqlite3_result_null(ctx);
    }
    qint64 start = 1, limit = -1;
    if (argc > 3 && !count(ctx, argv[3], start, 1))
        return;
    if (argc > 4 && !count(ctx, argv[4], limit, -1))
        return;
    const Qt::CaseSensitivity cs = argc > 5 ? compareMode(argv[5]) : Qt::CaseSensitive;
    QString s = text(argv[0]).mid(start - 1);
    const QString find = text(argv[1]);
    const QString with = text(argv[2]);
    if (find.isEmpty() || limit == 0)
        return resultText(ctx, s);
    qsizetype at = 0;
    for (qint64 done = 0; limit < 0 || done < limit; ++done) {
        at = s.indexOf(find, at, cs);
        if (at < 0)
            break;
        s.replace(at, find.size(), with);
        at += with.size();
    }
    resultText(ctx, s);
}

void strcomp(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    int r;
    if (argc > 2 && compareMode(argv[2]) == Qt::CaseSensitive) {
        r = text(argv[0]).compare(text(argv[1]));
    } else {
        const auto* a = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        const int la = sqlite3_value_bytes(argv[0]);
        const auto* b = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        r = compareGerman(a, la, b, sqlite3_value_bytes(argv[1]));
    }
    sqlite3_result_int(ctx, r < 0 ? -1 : (r > 0 ? 1 : 0));
}

void chr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    qint64 code;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!count(ctx, argv[0], code))
        return;
    if (code > 0xFFFF)
        return invalidArgument(ctx);
    resultText(ctx, QString(charOfCode(code)));
}

void asc(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const QString s = text(argv[0]);
    if (s.isEmpty())
        return invalidArgument(ctx);
    const QByteArray b = kv::zuWindows1252(s.left(1));
    const int code = (b == "?" && s[0] != QLatin1Char('?')) ? s[0].unicode()
                                                            : static_cast<unsigned char>(b[0]);
    sqlite3_result_int(ctx, code);
}

QString numberText(double d)
{
    return QString::number(d, 'g', 15);
}

// Str: numbers with "." and a leading blank for the sign.
void str(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = number(argv[0]);
    if (!d)
        return typeMismatch(ctx);
    resultText(ctx, (*d >= 0 ? QStringLiteral(" ") : QString()) + numberText(*d));
}

// Val: the number at the start of a text, "." decimal, blanks ignored, &H/&O prefixes.
void val(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT)
        return sqlite3_result_value(ctx, argv[0]);
    QString s = text(argv[0]);
    s.remove(QLatin1Char(' '));
    s.remove(QLatin1Char('\t'));
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)
        || s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        const int base = s[1].toUpper() == QLatin1Char('H') ? 16 : 8;
        qsizetype n = 2;
        while (n < s.size() && QString(s[n]).toInt(nullptr, base) >= 0
            && (s[n].isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(s[n]))))
            ++n;
        return sqlite3_result_int64(ctx, s.mid(2, n - 2).toLongLong(nullptr, base));
    }
    qsizetype n = 0;
    if (n < s.size() && (s[n] == QLatin1Char('-') || s[n] == QLatin1Char('+')))
        ++n;
    while (n < s.size() && s[n].isDigit())
        ++n;
    if (n < s.size() && s[n] == QLatin1Char('.')) {
        ++n;
        while (n < s.size() && s[n].isDigit())
            ++n;
    }
    if (n < s.size() && (s[n] == QLatin1Char('e') || s[n] == QLatin1Char('E'))) {
        qsizetype e = n + 1;
        if (e < s.size() && (s[e] == QLatin1Char('-') || s[e] == QLatin1Char('+')))
            ++e;
        if (e < s.size() && s[e].isDigit()) {
            while (e < s.size() && s[e].isDigit())
                ++e;
            n = e;
        }
    }
    resultNumber(ctx, s.left(n).toDouble());
}

// A stored value as the program's Format sees it: ISO date text becomes a date.
QVariant formatValue(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return sqlite3_value_double(v);
    default: {
        const auto* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
        if (const auto d
            = dateserial::fromIso(std::string_view(s, size_t(sqlite3_value_bytes(v))))) {
            const dateserial::Parts p = dateserial::split(*d);
            return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second));
        }
        return text(v);
    }
    }
}

// CStr: numbers in the user's locale, dates as the user writes them.
void cstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, kv::Format(formatValue(argv[0])));
}

void hex(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = number(argv[0]);
    if (!d)
        return typeMismatch(ctx);
    resultText(ctx, QString::number(qint64(roundEven(*d)), 16).toUpper());
}

void oct(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = number(argv[0]);
    if (!d)
        return typeMismatch(ctx);
    const qint64 n = qint64(roundEven(*d));
    // Negative numbers as their 32-bit two's complement, as Hex and Oct show them.
    resultText(ctx, QString::number(n < 0 ? quint64(quint32(qint32(n))) : quint64(n), 8));
}

void strreverse(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const QString s = text(argv[0]);
    // By characters, so that a letter outside the basic plane stays whole.
    const QList<uint> characters = s.toUcs4();
    QString reversed;
    reversed.reserve(s.size());
    for (auto it = characters.crbegin(); it != characters.crend(); ++it)
        reversed += QString::fromUcs4(reinterpret_cast<const char32_t*>(&*it), 1);
    resultText(ctx, reversed);
}

// StrConv(text, conversion [, locale]): 1 upper case, 2 lower case, 3 each word's first letter
// upper; the conversions between byte and Unicode forms have no meaning for stored text.
void strconv(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    qint64 conversion = 0;
    if (!count(ctx, argv[1], conversion))
        return;
    Q_UNUSED(argc);
    QString s = text(argv[0]);
    switch (conversion & 0x7) {
    case 0:
        break;
    case 1:
        s = s.toUpper();
        break;
    case 2:
        s = s.toLower();
        break;
    case 3: {
        s = s.toLower();
        bool start = true;
        for (QChar& c : s) {
            if (start && c.isLetter())
                c = c.toUpper();
            start = c.isSpace() || c == QLatin1Char('\0');
        }
        break;
    }
    default:
        return invalidArgument(ctx);
    }
    if ((conversion & ~qint64(0x7 | 64 | 128)) != 0)
        return invalidArgument(ctx);
    resultText(ctx, s);
}

// Format(value [, format]): the program's Format in the user's locale; stored dates are
// handed over as dates.
void format(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const QString f = argc > 1 && !isNull(argv[1]) ? text(argv[1]) : QString();
    resultText(ctx, kv::Format(formatValue(argv[0]), f));
}

} // namespace

void registerTextFunctions(sqlite3* db)
{
    add(db, "kv_like", 2, like);
    add(db, "kv_left", 2, left);
    add(db, "kv_right", 2, right);
    add(db, "kv_mid", -1, mid);
    add(db, "kv_len", 1, len);
    add(db, "kv_instr", -1, instr);
    add(db, "kv_instrrev", -1, instrrev);
    add(db, "kv_ucase", 1, ucase);
    add(db, "kv_lcase", 1, lcase);
    add(db, "kv_space", 1, space);
    add(db, "kv_string", 2, string);
    add(db, "kv_replace", -1, replace);
    add(db, "kv_strcomp", -1, strcomp);
    add(db, "kv_chr", 1, chr);
    add(db, "kv_asc", 1, asc);
    add(db, "kv_str", 1, str);
    add(db, "kv_val", 1, val);
    add(db, "kv_cstr", 1, cstr);
    add(db, "kv_hex", 1, hex);
    add(db, "kv_format", -1, format);
    add(db, "kv_oct", 1, oct);
    add(db, "kv_strreverse", 1, strreverse);
    add(db, "kv_strconv", -1, strconv);
}

} // namespace kv::engine::sql
