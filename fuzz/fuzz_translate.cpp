// libFuzzer target for the dialect rewriter: any text is either translated into SQL that
// SQLite can tokenize to the end (balanced quotes, brackets and parentheses, no comment
// swallowing the rest) or refused with an engine error.

#include "engine/core/EngineError.h"
#include "engine/sql/Dialect.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <sqlite3.h>

namespace {

sqlite3* database()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        kv::engine::sql::registerFunctions(d);
        return d;
    }();
    return db;
}

// Parentheses outside literals and identifiers must balance, and no "--" or "/*" may appear there.
void checkBalanced(const QString& sql)
{
    int depth = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= sql.size())
                    std::abort(); // unterminated literal in the output
                if (sql[j] == close) {
                    if (close != QLatin1Char(']') && j + 1 < sql.size() && sql[j + 1] == close) {
                        ++j;
                        continue;
                    }
                    break;
                }
            }
            i = j;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            if (--depth < 0)
                std::abort();
        } else if ((c == QLatin1Char('-') || c == QLatin1Char('/')) && i + 1 < sql.size()
            && sql[i + 1] == (c == QLatin1Char('-') ? QLatin1Char('-') : QLatin1Char('*'))) {
            std::abort(); // a comment would hide the rest of the statement
        }
    }
    if (depth != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    kv::engine::sql::TranslateContext context;
    context.firstColumn = [](const QString&, const QStringList&) {
        return QVariantList { QVariant(QStringLiteral("a")), QVariant(2), QVariant() };
    };
    try {
        const auto t = kv::engine::sql::translate(text, { QStringLiteral("p") }, context);
        checkBalanced(t.sql);
        // SQLite must see one complete statement; preparing may still fail on unknown tables.
        const QByteArray sql = t.sql.toUtf8();
        if (!sqlite3_complete(QByteArray(sql + ";").constData()))
            std::abort();
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(database(), sql.constData(), int(sql.size()), &st, &tail)
            == SQLITE_OK) {
            if (tail && *tail)
                std::abort(); // a second statement smuggled through
            sqlite3_finalize(st);
        }
    } catch (const kv::engine::EngineError&) { }
    return 0;
}
