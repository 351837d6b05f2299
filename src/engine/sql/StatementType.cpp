#include "engine/sql/StatementType.h"

#include "engine/core/EngineError.h"
#include "engine/core/QueryType.h"
#include "engine/sql/Lexer.h"

namespace kv::engine::sql {

int statementType(const QString& dialectSql)
{
    QList<Token> t;
    try {
        t = tokenize(dialectSql);
    } catch (const EngineError&) {
        return dbQSelect; // the statement reports its fault when it is run
    }
    t.removeLast(); // End
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
    qsizetype i = 0;
    // A PARAMETERS declaration ends with ';'.
    if (n > 0 && t[0].isKeyword(u"PARAMETERS")) {
        while (i < n && !t[i].isSymbol(u";"))
            ++i;
        ++i;
    }
    while (i < n && t[i].isSymbol(u"("))
        ++i;
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
