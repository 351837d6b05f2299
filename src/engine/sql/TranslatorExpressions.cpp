#include "engine/sql/Translator.h"

namespace kv::engine::sql {

namespace {

bool isComparisonSymbol(const Token& t)
{
    static const QLatin1String ops[] = { QLatin1String("="), QLatin1String("<>"),
        QLatin1String("<"), QLatin1String(">"), QLatin1String("<="), QLatin1String(">=") };
    if (t.kind != Token::Symbol)
        return false;
    for (const auto& op : ops) {
        if (t.text == op)
            return true;
    }
    return false;
}

// Characters of a LIKE pattern that are wildcards or open a character class.
bool isWildcard(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#')
        || c == QLatin1Char('[');
}

// A text above every text that starts with prefix in the collation: the last letter raised by
// one (plain letters keep the comparison in the fast ASCII path), else U+FFFF, which ICU sorts
// above all characters.
QString upperBound(const QString& prefix)
{
    const char16_t c = prefix.back().toLower().unicode();
    if (c >= u'a' && c < u'z')
        return prefix.chopped(1) + QChar(char16_t(c + 1));
    return prefix + QChar(0xFFFF);
}

} // namespace

QString Translator::wrap(const Expr& e, int level)
{
    return e.prec < level ? QLatin1Char('(') + e.sql + QLatin1Char(')') : e.sql;
}

Translator::Expr Translator::condition(QString sql, int level)
{
    Expr e { std::move(sql), ValueKind::Boolean, level };
    e.truth = true;
    return e;
}

Translator::Expr Translator::asValue(const Expr& e)
{
    if (!e.truth)
        return e;
    return { "-(" + e.sql + QLatin1Char(')'), ValueKind::Boolean, UnaryLevel };
}

Translator::NestingGuard::NestingGuard(Translator& t)
    : m_t(t)
{
    if (++m_t.m_nesting > 200) {
        --m_t.m_nesting;
        throwSyntaxError(t.peek().pos, QStringLiteral("der Ausdruck ist zu tief verschachtelt."));
    }
}

Translator::Expr Translator::expr()
{
    const NestingGuard guard(*this);
    return imp();
}

namespace {

QString truth(const QString& sql)
{
    return QLatin1Char('(') + sql + " <> 0)";
}

// "-" before an operand; "--" would start a comment.
QString negate(const Translator::Expr& e)
{
    const QString inner = e.prec < Translator::UnaryLevel || e.sql.startsWith(QLatin1Char('-'))
        ? QLatin1Char('(') + e.sql + QLatin1Char(')')
        : e.sql;
    return QLatin1Char('-') + inner;
}

} // namespace

Translator::Expr Translator::imp()
{
    Expr l = eqv();
    while (acceptKeyword(u"IMP")) {
        const Expr r = eqv();
        l = condition("NOT " + truth(l.sql) + " OR " + truth(r.sql), OrLevel);
    }
    return l;
}

Translator::Expr Translator::eqv()
{
    Expr l = xorExpr();
    while (acceptKeyword(u"EQV")) {
        const Expr r = xorExpr();
        l = condition(truth(l.sql) + " = " + truth(r.sql), EqualityLevel);
    }
    return l;
}

Translator::Expr Translator::xorExpr()
{
    Expr l = orExpr();
    while (acceptKeyword(u"XOR")) {
        const Expr r = orExpr();
        l = condition(truth(l.sql) + " <> " + truth(r.sql), EqualityLevel);
    }
    return l;
}

Translator::Expr Translator::orExpr()
{
    Expr l = andExpr();
    while (acceptKeyword(u"OR")) {
        const Expr r = andExpr();
        l = condition(wrap(l, OrLevel) + " OR " + wrap(r, OrLevel + 1), OrLevel);
    }
    return l;
}

Translator::Expr Translator::andExpr()
{
    Expr l = notExpr();
    while (acceptKeyword(u"AND")) {
        const Expr r = notExpr();
        l = condition(wrap(l, AndLevel) + " AND " + wrap(r, AndLevel + 1), AndLevel);
    }
    return l;
}

Translator::Expr Translator::notExpr()
{
    const NestingGuard guard(*this);
    if (peek().isKeyword(u"NOT")) {
        const Token& after = peek(1);
        // "Not Like …" in a validation rule negates the implied comparison.
        const bool impliedNegation = !m_impliedField.isEmpty()
            && (after.isKeyword(u"LIKE") || after.isKeyword(u"IN") || after.isKeyword(u"BETWEEN"));
        if (!impliedNegation) {
            next();
            const Expr e = notExpr();
            return condition("NOT " + wrap(e, NotLevel), NotLevel);
        }
    }
    return comparison();
}

Translator::Expr Translator::comparison()
{
    Expr left;
    const Token& first = peek();
    const bool startsWithOperator = isComparisonSymbol(first) || first.isKeyword(u"LIKE")
        || first.isKeyword(u"BETWEEN") || first.isKeyword(u"IN") || first.isKeyword(u"IS")
        || first.isKeyword(u"NOT");
    if (!m_impliedField.isEmpty() && startsWithOperator)
        left = { m_impliedField, ValueKind::Unknown, Atomic, true };
    else
        left = concat();
    for (;;) {
        const Token& t = peek();
        bool negated = false;
        if (t.isKeyword(u"NOT")
            && (peek(1).isKeyword(u"LIKE") || peek(1).isKeyword(u"BETWEEN")
                || peek(1).isKeyword(u"IN"))) {
            next();
            negated = true;
        }
        const Token& op = peek();
        if (!negated && isComparisonSymbol(op)) {
            const QString symbol = next().text;
            const Expr r = concat();
            const int level = symbol == QLatin1String("=") || symbol == QLatin1String("<>")
                ? EqualityLevel
                : ComparisonLevel;
            left = condition(operand(left, level) + QLatin1Char(' ') + symbol + QLatin1Char(' ')
                    + operand(r, level + 1),
                level);
        } else if (op.isKeyword(u"LIKE")) {
            next();
            left = like(asValue(left), negated);
        } else if (op.isKeyword(u"BETWEEN")) {
            next();
            const Expr low = concat();
            expectKeyword(u"AND");
            const Expr high = concat();
            left = condition(operand(left, EqualityLevel)
                    + (negated ? " NOT BETWEEN " : " BETWEEN ") + operand(low, EqualityLevel + 1)
                    + " AND " + operand(high, EqualityLevel + 1),
                EqualityLevel);
        } else if (op.isKeyword(u"IN")) {
            next();
            expectSymbol(u"(");
            QString list;
            if (peek().isKeyword(u"SELECT")) {
                list = select(false);
            } else {
                do {
                    if (!list.isEmpty())
                        list += ", ";
                    list += valueExpr().sql;
                } while (acceptSymbol(u","));
            }
            expectSymbol(u")");
            left = condition(operand(left, EqualityLevel) + (negated ? " NOT IN (" : " IN (") + list
                    + QLatin1Char(')'),
                EqualityLevel);
        } else if (!negated && op.isKeyword(u"IS")) {
            next();
            const bool isNot = acceptKeyword(u"NOT");
            expectKeyword(u"NULL");
            left = condition(
                wrap(left, EqualityLevel) + (isNot ? " IS NOT NULL" : " IS NULL"), EqualityLevel);
        } else {
            break;
        }
    }
    return left;
}

Translator::Expr Translator::like(const Expr& left, bool negated)
{
    const Expr pattern = concat();
    const QString call = "kv_like(" + left.sql + ", " + pattern.sql + QLatin1Char(')');
    if (negated)
        return condition("NOT " + call, NotLevel);
    if (left.column && pattern.stringLiteral) {
        // A constant prefix becomes a range in the collation's order so that an index on the
        // column serves the search; kv_like still decides. Only for prefixes starting with a
        // letter: numbers and dates stored in the column never match those.
        qsizetype n = 0;
        while (n < pattern.value.size() && !isWildcard(pattern.value[n]))
            ++n;
        const QString prefix = pattern.value.left(n);
        if (!prefix.isEmpty() && prefix[0].isLetter() && n < pattern.value.size()) {
            const QString collate = QStringLiteral(" COLLATE ") + QLatin1String(CollationName);
            return condition(left.sql + " >= " + quoteLiteral(prefix) + collate + " AND " + left.sql
                    + " < " + quoteLiteral(upperBound(prefix)) + collate + " AND " + call,
                AndLevel);
        }
    }
    return { call, ValueKind::Boolean, Atomic };
}

Translator::Expr Translator::concat()
{
    Expr first = additive();
    if (!peek().isSymbol(u"&"))
        return first;
    QString sql;
    auto piece = [&](const Expr& e) {
        if (!sql.isEmpty())
            sql += " || ";
        sql += e.stringLiteral ? e.sql : "ifnull(" + asValue(e).sql + ", '')";
    };
    piece(first);
    while (acceptSymbol(u"&"))
        piece(additive());
    return { sql, ValueKind::Text, ConcatLevel };
}

bool Translator::currencyOperands(const Expr& l, const Expr& r)
{
    // Dates and texts keep their own arithmetic.
    auto numeric
        = [](const Expr& e) { return e.kind == ValueKind::Number || e.kind == ValueKind::Unknown; };
    return (l.currency || r.currency) && numeric(l) && numeric(r);
}

Translator::Expr Translator::additive()
{
    Expr l = modulo();
    for (;;) {
        const bool plus = peek().isSymbol(u"+");
        if (!plus && !peek().isSymbol(u"-"))
            return l;
        next();
        l = asValue(l);
        const Expr r = asValue(modulo());
        if (currencyOperands(l, r)) {
            l = { (plus ? "kv_curadd(" : "kv_cursub(") + l.sql + ", " + r.sql + QLatin1Char(')'),
                ValueKind::Number, Atomic };
            l.currency = true;
        } else if (l.kind == ValueKind::Number && r.kind == ValueKind::Number) {
            l = { wrap(l, AdditiveLevel) + (plus ? " + " : " - ") + wrap(r, AdditiveLevel + 1),
                ValueKind::Number, AdditiveLevel };
        } else if (plus && l.kind == ValueKind::Text && r.kind == ValueKind::Text) {
            l = { wrap(l, ConcatLevel) + " || " + wrap(r, ConcatLevel + 1), ValueKind::Text,
                ConcatLevel };
        } else {
            ValueKind kind = ValueKind::Unknown;
            const bool lDate = l.kind == ValueKind::Date;
            const bool rDate = r.kind == ValueKind::Date;
            if (lDate != rDate)
                kind = ValueKind::Date;
            else if (lDate && !plus)
                kind = ValueKind::Number;
            l = { (plus ? "kv_add(" : "kv_sub(") + l.sql + ", " + r.sql + QLatin1Char(')'), kind,
                Atomic };
        }
    }
}

Translator::Expr Translator::modulo()
{
    Expr l = intDivision();
    while (acceptKeyword(u"MOD")) {
        const Expr r = intDivision();
        l = { "kv_mod(" + asValue(l).sql + ", " + asValue(r).sql + QLatin1Char(')'),
            ValueKind::Number, Atomic };
    }
    return l;
}

Translator::Expr Translator::intDivision()
{
    Expr l = multiplicative();
    while (acceptSymbol(u"\\")) {
        const Expr r = multiplicative();
        l = { "kv_intdiv(" + asValue(l).sql + ", " + asValue(r).sql + QLatin1Char(')'),
            ValueKind::Number, Atomic };
    }
    return l;
}

Translator::Expr Translator::multiplicative()
{
    Expr l = unary();
    for (;;) {
        if (acceptSymbol(u"*")) {
            const Expr r = unary();
            if (currencyOperands(l, r)) {
                l = { "kv_curmul(" + asValue(l).sql + ", " + asValue(r).sql + QLatin1Char(')'),
                    ValueKind::Number, Atomic };
                l.currency = true;
                continue;
            }
            l = { operand(l, MultiplicativeLevel) + " * " + operand(r, MultiplicativeLevel + 1),
                ValueKind::Number, MultiplicativeLevel };
        } else if (acceptSymbol(u"/")) {
            // The dialect always divides as floating point.
            const Expr r = unary();
            l = { "CAST(" + asValue(l).sql + " AS REAL) / " + operand(r, MultiplicativeLevel + 1),
                ValueKind::Number, MultiplicativeLevel };
        } else {
            return l;
        }
    }
}

Translator::Expr Translator::unary()
{
    const NestingGuard guard(*this);
    if (acceptSymbol(u"-")) {
        const Expr e = asValue(unary());
        Expr n { negate(e), e.kind == ValueKind::Date ? ValueKind::Unknown : e.kind, UnaryLevel };
        n.currency = e.currency;
        return n;
    }
    if (acceptSymbol(u"+"))
        return unary();
    return power();
}

Translator::Expr Translator::power()
{
    Expr l = primary();
    while (acceptSymbol(u"^")) {
        Expr r;
        if (acceptSymbol(u"-")) {
            const Expr p = asValue(primary());
            r = { negate(p), ValueKind::Number, UnaryLevel };
        } else {
            r = asValue(primary());
        }
        l = { "kv_pow(" + asValue(l).sql + ", " + r.sql + QLatin1Char(')'), ValueKind::Number,
            Atomic };
    }
    return l;
}

Translator::Expr Translator::primary()
{
    const Token& t = peek();
    switch (t.kind) {
    case Token::Number:
        return { next().text, ValueKind::Number, Atomic };
    case Token::String: {
        const QString value = next().text;
        Expr e { quoteLiteral(value), ValueKind::Text };
        e.stringLiteral = true;
        e.value = value;
        return e;
    }
    case Token::Date:
        return { quoteLiteral(next().text), ValueKind::Date, Atomic };
    case Token::Bracketed:
        return nameOrParameter();
    case Token::Parameter: {
        const QString name = next().text;
        if (!m_parameterNames.contains(name.toLower()))
            m_parameterNames.insert(name.toLower(), name);
        return { placeholder(name) };
    }
    case Token::Symbol:
        if (t.isSymbol(u"(")) {
            next();
            if (peek().isKeyword(u"SELECT")) {
                const QString sub = select(false);
                expectSymbol(u")");
                return { QLatin1Char('(') + sub + QLatin1Char(')'), ValueKind::Unknown, Atomic };
            }
            const Expr inner = expr();
            expectSymbol(u")");
            Expr e { QLatin1Char('(') + inner.sql + QLatin1Char(')'), inner.kind, Atomic };
            e.truth = inner.truth;
            e.currency = inner.currency;
            return e;
        }
        unexpected(QStringLiteral("ein Ausdruck"));
    case Token::Identifier:
        if (peek(1).isSymbol(u"(") && findFunction(t.text))
            return functionCall(next());
        if (t.isKeyword(u"TRUE") || t.isKeyword(u"YES") || t.isKeyword(u"ON")) {
            next();
            return { QStringLiteral("-1"), ValueKind::Boolean, Atomic };
        }
        if (t.isKeyword(u"FALSE") || t.isKeyword(u"NO") || t.isKeyword(u"OFF")) {
            next();
            return { QStringLiteral("0"), ValueKind::Boolean, Atomic };
        }
        if (t.isKeyword(u"NULL")) {
            next();
            return { QStringLiteral("NULL"), ValueKind::Unknown, Atomic };
        }
        if (t.isKeyword(u"EXISTS")) {
            next();
            expectSymbol(u"(");
            const QString sub = select(false);
            expectSymbol(u")");
            return condition("EXISTS (" + sub + QLatin1Char(')'), Atomic);
        }
        if (isReserved(t))
            unexpected(QStringLiteral("ein Ausdruck"));
        if (peek(1).isSymbol(u"("))
            throwSyntaxError(
                t.pos, QStringLiteral("Undefinierte Funktion '%1' im Ausdruck.").arg(t.text));
        return nameOrParameter();
    case Token::End:
        unexpected(QStringLiteral("ein Ausdruck"));
    }
    unexpected();
}

Translator::Expr Translator::nameOrParameter()
{
    QStringList parts { next().text };
    while ((peek().isSymbol(u".") || peek().isSymbol(u"!"))
        && (peek(1).isName() || peek(1).isSymbol(u"*"))) {
        next();
        parts.append(next().text);
        if (parts.last() == QLatin1String("*"))
            break;
    }
    if (!m_parameterNames.isEmpty()) {
        const QString full = parts.join(QLatin1Char('.'));
        if (m_parameterNames.contains(full.toLower()))
            return { placeholder(full), ValueKind::Unknown, Atomic };
    }
    QString sql;
    for (const QString& p : parts) {
        if (!sql.isEmpty())
            sql += QLatin1Char('.');
        sql += p == QLatin1String("*") ? p : quoteName(p);
    }
    Expr e { sql, ValueKind::Unknown, Atomic, true };
    return e;
}

QString Translator::placeholder(const QString& name)
{
    const QString key = name.toLower();
    auto it = m_placeholders.constFind(key);
    if (it == m_placeholders.constEnd()) {
        m_result.parameters.append(m_parameterNames.value(key, name));
        it = m_placeholders.insert(key, int(m_result.parameters.size()));
    }
    return QLatin1Char('?') + QString::number(*it);
}

QList<Translator::Expr> Translator::arguments()
{
    QList<Expr> args;
    if (peek().isSymbol(u")"))
        return args;
    do {
        args.append(expr());
    } while (acceptSymbol(u","));
    return args;
}

Translator::Expr Translator::functionCall(const Token& nameToken)
{
    const FunctionInfo* f = findFunction(nameToken.text);
    expectSymbol(u"(");
    QList<Expr> args;
    if (f->aggregate && peek().isSymbol(u"*")) {
        if (qstrcmp(f->name, "count") != 0)
            unexpected(QStringLiteral("ein Ausdruck"));
        next();
        args.append(Expr(QStringLiteral("*")));
    } else {
        args = arguments();
    }
    expectSymbol(u")");
    if (args.size() < f->minArgs || args.size() > f->maxArgs)
        throwSyntaxError(nameToken.pos,
            QStringLiteral("falsche Anzahl von Argumenten für die Funktion '%1'.")
                .arg(nameToken.text));

    const QByteArray name(f->name);
    // Conditions of IIf and Switch are tested; every other argument is a value.
    const bool conditions = name == "iif" || name == "switch";
    for (int i = 0; i < args.size(); ++i) {
        if (!conditions || (name == "iif" ? i > 0 : i % 2 == 1))
            args[i] = asValue(args[i]);
    }
    if (name == "iif") {
        const ValueKind kind = args[1].kind == args[2].kind ? args[1].kind : ValueKind::Unknown;
        return { "CASE WHEN " + args[0].sql + " THEN " + args[1].sql + " ELSE " + args[2].sql
                + " END",
            kind, Atomic };
    }
    if (name == "switch") {
        if (args.size() % 2 != 0)
            throwSyntaxError(
                nameToken.pos, QStringLiteral("Switch erwartet Paare aus Bedingung und Wert."));
        QString sql = QStringLiteral("CASE");
        for (int i = 0; i < args.size(); i += 2)
            sql += " WHEN " + args[i].sql + " THEN " + args[i + 1].sql;
        return { sql + " END", ValueKind::Unknown, Atomic };
    }
    if (name == "choose") {
        QString sql = "CASE kv_fix(" + args[0].sql + QLatin1Char(')');
        for (int i = 1; i < args.size(); ++i)
            sql += " WHEN " + QString::number(i) + " THEN " + args[i].sql;
        return { sql + " END", ValueKind::Unknown, Atomic };
    }
    if (name == "nz") {
        const QString fallback = args.size() > 1 ? args[1].sql : QStringLiteral("''");
        const ValueKind kind
            = args.size() > 1 && args[1].kind == args[0].kind ? args[0].kind : ValueKind::Unknown;
        return { "ifnull(" + args[0].sql + ", " + fallback + QLatin1Char(')'), kind, Atomic };
    }
    if (name == "isnull")
        return { "(-(" + args[0].sql + " IS NULL))", ValueKind::Boolean, Atomic };

    // Any aggregate of the catalogue, SQLite's or the dialect's own, makes one row of many.
    if (f->aggregate)
        ++m_aggregates;
    QString sql = QLatin1String(f->sqlName) + QLatin1Char('(');
    for (int i = 0; i < args.size(); ++i) {
        if (i > 0)
            sql += ", ";
        if (f->aggregate && !m_pivotCondition.isEmpty()) {
            const QString value
                = args[i].sql == QLatin1String("*") ? QStringLiteral("1") : args[i].sql;
            sql += "CASE WHEN " + m_pivotCondition + " THEN " + value + " END";
        } else {
            sql += args[i].sql;
        }
    }
    sql += QLatin1Char(')');
    ValueKind kind = f->result;
    if (f->aggregate && kind == ValueKind::Unknown && !args.isEmpty())
        kind = args[0].kind;
    Expr e { sql, kind, Atomic };
    e.currency = name == "ccur";
    return e;
}

} // namespace kv::engine::sql
