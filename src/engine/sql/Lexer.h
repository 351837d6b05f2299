#pragma once

#include <QList>
#include <QString>

namespace kv::engine::sql {

/// One lexical unit of a dialect statement. pos is the offset of its first character in the
/// statement text.
struct Token {
    enum Kind {
        Identifier, ///< bare name or keyword; text as written
        Bracketed, ///< [name]; text without the brackets
        String, ///< '…' or "…"; text is the value
        Date, ///< #…#; text is the ISO form "yyyy-MM-dd HH:mm:ss"
        Number, ///< text as written, "." decimal point
        Parameter, ///< :name, a named placeholder; text is the name
        Symbol, ///< operator or punctuation: ( ) , . ; ! = <> < <= > >= + - * / \ ^ &
        End,
    };
    Kind kind = End;
    QString text;
    int pos = 0;
    bool reserved = false; ///< an Identifier that is a keyword of the dialect's statements

    bool is(Kind k, QStringView t) const
    {
        return kind == k && text.compare(t, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView t) const { return kind == Symbol && text == t; }
    bool isKeyword(QStringView t) const { return is(Identifier, t); }
    bool isName() const { return kind == Identifier || kind == Bracketed; }
};

/// Splits a dialect statement into tokens; the last token is End. Throws EngineError (syntax
/// error with position) on an unterminated literal or a character outside the dialect.
QList<Token> tokenize(const QString& text);

/// Throws the engine's syntax error "Syntaxfehler in der Abfrage bei Position N: what" where N
/// is the 1-based character position.
[[noreturn]] void throwSyntaxError(int pos, const QString& what);

/// The ISO text of a #…# literal's contents (month first for m/d/y and m-d-y, time-only gives
/// the day zero 1899-12-30), or an empty string when the contents are no date.
QString isoFromDateLiteral(QStringView contents);

/// A text as a single-quoted SQL literal.
QString quoteLiteral(QStringView text);

/// A name as a bracketed SQL identifier.
QString quoteName(QStringView name);

} // namespace kv::engine::sql
