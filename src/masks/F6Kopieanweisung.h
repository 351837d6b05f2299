#pragma once

#include <QString>

namespace kv {

/// The statement behind the F6 copy of a mask element: the values the bound field already has
/// in its table, without empty ones; distinct and in order except for Memo, long binary and
/// Boolean fields, whose values are listed as they are. Names are bracketed, so that any field
/// or table name gives a valid statement.
QString f6Kopieanweisung(const QString& feld, const QString& tabelle, int feldtyp);

} // namespace kv
