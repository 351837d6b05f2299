#include "engine/SqlTokens.h"

namespace kv::engine {

bool SqlTokens::Token::is(const char* word) const
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

SqlTokens::SqlTokens(const QString& sql)
    : m_sql(sql)
{
    const qsizetype n = m_sql.size();
    int tiefe = 0;
    qsizetype i = 0;
    auto ende = [&](QChar schluss, qsizetype von) {
        qsizetype j = von + 1;
        while (j < n) {
            if (m_sql[j] == schluss) {
                // Doubled quotes stand for one quote inside.
                if (schluss != QLatin1Char(']') && j + 1 < n && m_sql[j + 1] == schluss) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return n;
    };
    while (i < n) {
        const QChar c = m_sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && m_sql[i + 1] == QLatin1Char('-')) {
            while (i < n && m_sql[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && m_sql[i + 1] == QLatin1Char('*')) {
            const qsizetype e = m_sql.indexOf(QLatin1String("*/"), i + 2);
            i = e < 0 ? n : e + 2;
            continue;
        }
        Kind art = Kind::Symbol;
        qsizetype e = i + 1;
        if (c == QLatin1Char('\'')) {
            art = Kind::String;
            e = ende(c, i);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`')) {
            art = Kind::Quoted;
            e = ende(c, i);
        } else if (c == QLatin1Char('[')) {
            art = Kind::Quoted;
            e = ende(QLatin1Char(']'), i);
        } else if (c == QLatin1Char('#')) {
            art = Kind::Date;
            e = ende(QLatin1Char('#'), i);
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            art = Kind::Word;
            while (e < n
                && (m_sql[e].isLetterOrNumber() || m_sql[e] == QLatin1Char('_')
                    || m_sql[e] == QLatin1Char('$')))
                ++e;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && m_sql[i + 1].isDigit())) {
            art = Kind::Number;
            while (e < n && (m_sql[e].isLetterOrNumber() || m_sql[e] == QLatin1Char('.')))
                ++e;
        } else if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@')
            || c == QLatin1Char('$')) {
            art = Kind::Parameter;
            while (e < n && (m_sql[e].isLetterOrNumber() || m_sql[e] == QLatin1Char('_')))
                ++e;
        } else if (e < n) {
            const QChar d = m_sql[e];
            if ((c == QLatin1Char('<') && (d == QLatin1Char('>') || d == QLatin1Char('=')))
                || (c == QLatin1Char('>') && d == QLatin1Char('='))
                || (c == QLatin1Char('!') && d == QLatin1Char('='))
                || (c == QLatin1Char('|') && d == QLatin1Char('|')))
                ++e;
        }
        if (c == QLatin1Char(')'))
            --tiefe;
        m_tokens.push_back(Token { art, i, e, tiefe, QStringView(m_sql).mid(i, e - i) });
        if (c == QLatin1Char('('))
            ++tiefe;
        i = e;
    }
}

int SqlTokens::findTop(const char* word, int from) const
{
    for (int i = from; i < static_cast<int>(m_tokens.size()); ++i) {
        const Token& t = m_tokens[static_cast<size_t>(i)];
        if (t.depth == 0 && (t.kind == Kind::Word || t.kind == Kind::Symbol) && t.is(word))
            return i;
    }
    return -1;
}

QString SqlTokens::slice(int from, int to) const
{
    if (from < 0 || from >= static_cast<int>(m_tokens.size()))
        return QString();
    const qsizetype a = m_tokens[static_cast<size_t>(from)].start;
    const qsizetype b = (to < 0 || to >= static_cast<int>(m_tokens.size()))
        ? m_sql.size()
        : m_tokens[static_cast<size_t>(to)].start;
    return m_sql.mid(a, b - a).trimmed();
}

QString SqlTokens::unquote(QStringView token)
{
    if (token.size() >= 2) {
        const QChar a = token.front();
        if (a == QLatin1Char('[') && token.back() == QLatin1Char(']'))
            return token.mid(1, token.size() - 2).toString();
        if ((a == QLatin1Char('"') || a == QLatin1Char('`')) && token.back() == a) {
            QString t = token.mid(1, token.size() - 2).toString();
            t.replace(QString(2, a), QString(a));
            return t;
        }
    }
    return token.toString();
}

SimpleSelect splitSimpleSelect(const QString& sql)
{
    SimpleSelect s;
    const SqlTokens tk(sql);
    const auto& t = tk.tokens();
    const int n = static_cast<int>(t.size());
    if (n < 4 || !t[0].is("SELECT"))
        return s;
    if (t[1].is("DISTINCT"))
        return s;
    const int from = tk.findTop("FROM");
    if (from < 0)
        return s;
    for (const char* wort : { "GROUP", "HAVING", "UNION", "INTERSECT", "EXCEPT", "WINDOW" })
        if (tk.findTop(wort) >= 0)
            return s;
    // Aggregates without GROUP BY make one row of many: not a keyset.
    for (int i = 1; i < from; ++i) {
        if (t[static_cast<size_t>(i)].kind == SqlTokens::Kind::Word && i + 1 < from
            && t[static_cast<size_t>(i + 1)].is("(")) {
            for (const char* agg : { "count", "sum", "avg", "min", "max", "total", "group_concat",
                     "first", "last", "stdev", "var" })
                if (t[static_cast<size_t>(i)].is(agg))
                    return s;
        }
    }
    int restStart = n;
    for (int i = from + 1; i < n; ++i) {
        const auto& tok = t[static_cast<size_t>(i)];
        if (tok.depth == 0 && tok.kind == SqlTokens::Kind::Word
            && (tok.is("WHERE") || tok.is("ORDER") || tok.is("LIMIT"))) {
            restStart = i;
            break;
        }
    }
    // One source: name, schema.name, optional alias; nothing else.
    int i = from + 1;
    auto istName = [&](int k) {
        return k < restStart
            && (t[static_cast<size_t>(k)].kind == SqlTokens::Kind::Word
                || t[static_cast<size_t>(k)].kind == SqlTokens::Kind::Quoted);
    };
    if (!istName(i))
        return s;
    QString tabelle = SqlTokens::unquote(t[static_cast<size_t>(i)].text);
    QString schema;
    if (i + 2 < restStart && t[static_cast<size_t>(i + 1)].is(".") && istName(i + 2)) {
        schema = tabelle;
        tabelle = SqlTokens::unquote(t[static_cast<size_t>(i + 2)].text);
        i += 3;
    } else {
        ++i;
    }
    QString alias;
    if (i < restStart && t[static_cast<size_t>(i)].is("AS"))
        ++i;
    if (istName(i)) {
        alias = SqlTokens::unquote(t[static_cast<size_t>(i)].text);
        ++i;
    }
    if (i != restStart)
        return s;
    auto quote = [](const QString& name) -> QString {
        QString q = name;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    };
    s.simple = true;
    s.selectList = tk.slice(1, from);
    s.fromItem = tk.slice(from + 1, restStart);
    s.schema = schema;
    s.table = tabelle;
    s.qualifier = quote(alias.isEmpty() ? tabelle : alias);
    s.rest = restStart < n ? tk.slice(restStart, -1) : QString();
    return s;
}

} // namespace kv::engine
