#pragma once

// Private to the engine: a small tokenizer over SQLite's SQL (what the dialect translates to),
// so that statements are split at their clauses without touching string literals, quoted names
// or comments. Dialect text goes through sql::tokenize instead; that lexer refuses SQLite's own
// syntax ("…" names, ||, ?N parameters, comments).

#include <QString>
#include <QStringView>
#include <vector>

namespace kv::engine {

/// Tokens of one SQL text with their nesting depth in parentheses.
class SqlTokens {
public:
    enum class Kind { Word, Quoted, String, Number, Symbol, Parameter, Date };
    struct Token {
        Kind kind;
        qsizetype start;
        qsizetype end; // one past the last character
        int depth;
        QStringView text;
        /// Word (case-insensitive) or symbol comparison.
        bool is(const char* word) const;
    };

    /// Also passes over "#…#" and "[…]", which SQLite reads as well.
    explicit SqlTokens(const QString& sql);

    const std::vector<Token>& tokens() const { return m_tokens; }
    const QString& text() const { return m_sql; }
    /// Index of the first top-level token that is the word, from index from; -1 if none.
    int findTop(const char* word, int from = 0) const;
    /// Text between two token indexes (end exclusive; -1 = to the end).
    QString slice(int from, int to) const;
    /// The name a Word or Quoted token stands for (quotes and brackets removed).
    static QString unquote(QStringView token);

private:
    QString m_sql;
    std::vector<Token> m_tokens;
};

/// The pieces of a simple "SELECT list FROM one-source rest" statement.
struct SimpleSelect {
    bool simple = false; // one source, no DISTINCT/GROUP/UNION/aggregates
    QString selectList;
    QString fromItem; // as written
    QString schema; // empty = main/temp resolution
    QString table; // unquoted
    QString qualifier; // alias or table name, quoted
    QString rest; // WHERE/ORDER BY/LIMIT … as written
};

/// Splits an SQLite SELECT statement; simple is false when it is not one-source.
SimpleSelect splitSimpleSelect(const QString& sql);

} // namespace kv::engine
