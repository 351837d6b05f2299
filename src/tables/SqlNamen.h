#pragma once

#include <QString>
#include <optional>

namespace kv {

/// "[" + name + "]"; empty for an empty name.
QString Klammername(const QString& name);

/// A field name as generated SQL writes it: unchanged without a blank, else bracketed, split at
/// the first "." into [table].[field], a leading "+ " or "- " sort prefix kept outside.
QString SQLFeldname(const QString& name);

/// Where the statement's own order clause is: the "ORDER" of "ORDER BY" and the position right
/// after "BY". Found by the dialect's tokenizer at the outermost level, so string literals,
/// bracketed names and parenthesised subqueries never count; nullopt also for text the
/// tokenizer cannot read.
struct OrderByStelle {
    qsizetype anfang = 0;
    qsizetype ende = 0;
};

std::optional<OrderByStelle> findeOrderBy(const QString& sql);

/// The statement without its order clause, trailing blanks and a closing ";".
QString ohneOrderBy(const QString& sql);

/// Replaces the statement's order clause by " Order By [feld] richtung"; a previous sort order
/// is replaced, never extended. An empty field only removes the clause.
QString SortierSQL(const QString& sql, const QString& feld, const QString& richtung);

} // namespace kv
