#include "engine/sql/StatementType.h"

#include "engine/core/EngineError.h"
#include "engine/core/QueryType.h"
#include "engine/sql/Lexer.h"

namespace kv::engine::sql {

namespace {

QList<Token> words(const QString& dialectSql)
{
    QList<Token> t;
    try {
        t = tokenize(dialectSql);
    } catch (const EngineError&) {
        return {}; // the statement reports its fault when it is run
    }
    t.removeLast(); // End
    return t;
}

// Index of the first word after a PARAMETERS declaration and opening parentheses.
qsizetype firstWord(const QList<Token>& t)
{
    const qsizetype n = t.size();
    qsizetype i = 0;
    // A PARAMETERS declaration ends with ';'.
    if (n > 0 && t[0].isKeyword(u"PARAMETERS")) {
        while (i < n && !t[i].isSymbol(u";"))
            ++i;
        ++i;
    }
    while (i < n && t[i].isSymbol(u"("))
        ++i;
    return i;
}

} // namespace

bool returnsRows(const QString& dialectSql)
{
    const QList<Token> t = words(dialectSql);
    const qsizetype i = firstWord(t);
    if (i < t.size()
        && (t[i].isKeyword(u"CREATE") || t[i].isKeyword(u"ALTER") || t[i].isKeyword(u"DROP")))
        return false;
    const int type = statementType(dialectSql);
    return type == dbQSelect || type == dbQSetOperation || type == dbQCrosstab;
}

int statementType(const QString& dialectSql)
{
    const QList<Token> t = words(dialectSql);
    const qsizetype n = t.size();
    // Index of the keyword outside all parentheses; -1 if none.
    auto outside = [&](QStringView word) {
        int depth = 0;
        for (qsizetype k = 0; k < n; ++k) {
            if (t[k].isSymbol(u"("))
                ++depth;
            else if (t[k].isSymbol(u")"))
                --depth;
            else if (depth == 0 && t[k].isKeyword(word))
                return k;
        }
        return qsizetype(-1);
    };
    const qsizetype i = firstWord(t);
    if (i >= n)
        return dbQSelect;
    const Token& first = t[i];
    if (first.isKeyword(u"TRANSFORM"))
        return dbQCrosstab;
    if (first.isKeyword(u"DELETE"))
        return dbQDelete;
    if (first.isKeyword(u"UPDATE"))
        return dbQUpdate;
    if (first.isKeyword(u"INSERT"))
        return dbQAppend;
    if (outside(u"UNION") >= 0)
        return dbQSetOperation;
    if (first.isKeyword(u"SELECT") && outside(u"INTO") > 0)
        return dbQMakeTable;
    return dbQSelect;
}

} // namespace kv::engine::sql
