#include "engine/sql/Lexer.h"

#include "engine/core/EngineError.h"

#include <QDate>
#include <QSet>
#include <QTime>

namespace kv::engine::sql {

void throwSyntaxError(int pos, const QString& what)
{
    throw EngineError(err::SyntaxError,
        QStringLiteral("Syntaxfehler in der Abfrage bei Position %1: %2").arg(pos + 1).arg(what));
}

QString quoteLiteral(QStringView text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('\'');
    for (QChar c : text) {
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

QString quoteName(QStringView name)
{
    if (!name.contains(QLatin1Char(']')))
        return QLatin1Char('[') + name + QLatin1Char(']');
    QString out = QStringLiteral("\"");
    for (QChar c : name) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    return out + QLatin1Char('"');
}

namespace {

// Splits "a/b/c" style numbers; returns false when a part is not a number.
bool numberParts(QStringView text, QChar sep, int (&parts)[3], int& count)
{
    count = 0;
    for (QStringView p : text.split(sep)) {
        if (count == 3 || p.isEmpty() || p.size() > 4)
            return false;
        bool ok = false;
        parts[count++] = p.toInt(&ok);
        if (!ok)
            return false;
    }
    return count == 3;
}

int fullYear(int y, int digits)
{
    if (digits > 2)
        return y;
    return y < 30 ? 2000 + y : 1900 + y;
}

// "h:nn[:ss] [AM|PM]"
bool parseTime(QStringView text, QTime& time)
{
    QStringView t = text.trimmed();
    int pm = -1;
    if (t.endsWith(QLatin1String("AM"), Qt::CaseInsensitive)
        || t.endsWith(QLatin1String("PM"), Qt::CaseInsensitive)) {
        pm = t.endsWith(QLatin1String("PM"), Qt::CaseInsensitive) ? 1 : 0;
        t = t.chopped(2).trimmed();
    }
    const auto parts = t.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    int v[3] = { 0, 0, 0 };
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        if (parts[i].isEmpty() || parts[i].size() > 2)
            return false;
        v[i] = parts[i].toInt(&ok);
        if (!ok)
            return false;
    }
    if (pm >= 0) {
        if (v[0] < 1 || v[0] > 12)
            return false;
        v[0] = v[0] % 12 + (pm ? 12 : 0);
    }
    time = QTime(v[0], v[1], v[2]);
    return time.isValid();
}

bool parseDate(QStringView text, QDate& date)
{
    int p[3];
    int n = 0;
    if (text.contains(QLatin1Char('/')) && numberParts(text, QLatin1Char('/'), p, n)) {
        const qsizetype firstLen = text.indexOf(QLatin1Char('/'));
        if (firstLen == 4)
            date = QDate(p[0], p[1], p[2]);
        else
            date = QDate(fullYear(p[2], int(text.size() - text.lastIndexOf(QLatin1Char('/')) - 1)),
                p[0], p[1]);
    } else if (text.contains(QLatin1Char('-')) && numberParts(text, QLatin1Char('-'), p, n)) {
        if (text.indexOf(QLatin1Char('-')) == 4)
            date = QDate(p[0], p[1], p[2]);
        else
            date = QDate(fullYear(p[2], int(text.size() - text.lastIndexOf(QLatin1Char('-')) - 1)),
                p[0], p[1]);
    } else if (text.contains(QLatin1Char('.')) && numberParts(text, QLatin1Char('.'), p, n)) {
        // German users type day first with dots.
        date = QDate(
            fullYear(p[2], int(text.size() - text.lastIndexOf(QLatin1Char('.')) - 1)), p[1], p[0]);
    } else {
        return false;
    }
    return date.isValid();
}

bool isReservedWord(const QString& word)
{
    static const QSet<QString> words { "select", "from", "where", "group", "by", "having", "order",
        "union", "all", "distinct", "distinctrow", "top", "percent", "into", "in", "as", "on",
        "inner", "left", "right", "outer", "join", "and", "or", "not", "xor", "eqv", "imp", "mod",
        "like", "between", "is", "pivot", "transform", "set", "values", "parameters", "exists",
        "asc", "desc" };
    return word.size() <= 11 && words.contains(word.toLower());
}

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}
bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

QString isoFromDateLiteral(QStringView contents)
{
    const QStringView c = contents.trimmed();
    if (c.isEmpty())
        return {};
    QDate date(1899, 12, 30);
    QTime time(0, 0, 0);
    const qsizetype blank = c.indexOf(QLatin1Char(' '));
    QStringView datePart = blank < 0 ? c : c.left(blank);
    QStringView timePart = blank < 0 ? QStringView() : c.mid(blank + 1);
    if (datePart.contains(QLatin1Char(':'))) {
        // time only, possibly "10:30 PM"
        if (!parseTime(c, time))
            return {};
    } else {
        if (!parseDate(datePart, date))
            return {};
        if (!timePart.trimmed().isEmpty() && !parseTime(timePart, time))
            return {};
    }
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + time.toString(QStringLiteral("HH:mm:ss"));
}

QList<Token> tokenize(const QString& text)
{
    // SQLite ends a statement at a NUL character: whatever follows would silently vanish.
    // Trailing NULs (stored queries of older files end with one) are dropped.
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QChar(0))
        --n;
    if (const qsizetype nul = QStringView(text).left(n).indexOf(QChar(0)); nul >= 0)
        throwSyntaxError(int(nul), QStringLiteral("unerwartetes Nullzeichen."));
    QList<Token> tokens;
    tokens.reserve(n / 4 + 2);
    qsizetype i = 0;
    auto add = [&](Token::Kind kind, QString t, qsizetype pos) {
        tokens.append(Token { kind, std::move(t), int(pos) });
    };
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == c) {
                    if (i + 1 < n && text[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += text[i++];
            }
            if (!closed)
                throwSyntaxError(int(start), QStringLiteral("Zeichenfolge nicht abgeschlossen."));
            add(Token::String, value, start);
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = text.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throwSyntaxError(
                    int(start), QStringLiteral("Name in eckigen Klammern nicht abgeschlossen."));
            const QString name = text.mid(i + 1, close - i - 1);
            if (name.trimmed().isEmpty())
                throwSyntaxError(int(start), QStringLiteral("leerer Name in eckigen Klammern."));
            add(Token::Bracketed, name, start);
            i = close + 1;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = text.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throwSyntaxError(int(start), QStringLiteral("Datum nicht abgeschlossen."));
            const QString contents = text.mid(i + 1, close - i - 1);
            const QString iso = isoFromDateLiteral(contents);
            if (iso.isEmpty())
                throwSyntaxError(
                    int(start), QStringLiteral("ungültiges Datum #%1#.").arg(contents));
            add(Token::Date, iso, start);
            i = close + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && text[i + 1].isDigit())) {
            while (i < n && text[i].isDigit())
                ++i;
            if (i < n && text[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && text[i].isDigit())
                    ++i;
            }
            if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
                qsizetype j = i + 1;
                if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && text[j].isDigit()) {
                    while (j < n && text[j].isDigit())
                        ++j;
                    i = j;
                }
            }
            if (i < n && isIdentifierStart(text[i]))
                throwSyntaxError(int(start), QStringLiteral("ungültige Zahl."));
            QString number = text.mid(start, i - start);
            if (number.startsWith(QLatin1Char('.')))
                number.prepend(QLatin1Char('0'));
            add(Token::Number, number, start);
        } else if (c == QLatin1Char(':') && i + 1 < n && isIdentifierStart(text[i + 1])) {
            ++i;
            while (i < n && isIdentifierPart(text[i]))
                ++i;
            add(Token::Parameter, text.mid(start + 1, i - start - 1), start);
        } else if (isIdentifierStart(c)) {
            while (i < n && isIdentifierPart(text[i]))
                ++i;
            // Left$, Mid$ … are the same functions as Left, Mid.
            if (i < n && text[i] == QLatin1Char('$'))
                ++i;
            add(Token::Identifier, text.mid(start, i - start), start);
            tokens.last().reserved = isReservedWord(tokens.last().text);
        } else {
            // Shared texts: a symbol token costs no allocation.
            static const QString symbols[] = { QStringLiteral("<>"), QStringLiteral("<="),
                QStringLiteral(">="), QStringLiteral("("), QStringLiteral(")"), QStringLiteral(","),
                QStringLiteral("."), QStringLiteral(";"), QStringLiteral("!"), QStringLiteral("="),
                QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("+"), QStringLiteral("-"),
                QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("\\"), QStringLiteral("^"),
                QStringLiteral("&") };
            const QString* symbol = nullptr;
            for (const QString& candidate : symbols) {
                if (QStringView(text).mid(i, candidate.size()) == candidate) {
                    symbol = &candidate;
                    break;
                }
            }
            if (!symbol)
                throwSyntaxError(int(start), QStringLiteral("unerwartetes Zeichen '%1'.").arg(c));
            add(Token::Symbol, *symbol, i);
            i += symbol->size();
            continue;
        }
    }
    add(Token::End, QString(), n);
    return tokens;
}

} // namespace kv::engine::sql
