#pragma once

#include <QString>

namespace kv::engine::sql {

/// The QueryType of a dialect statement, read from its words without translating it; a text
/// the dialect cannot read counts as a select query (it reports its fault when it runs).
int statementType(const QString& dialectSql);

/// Whether the statement yields rows (a select, union or crosstab query), read the same way;
/// data definition (CREATE, ALTER, DROP) yields none.
bool returnsRows(const QString& dialectSql);

} // namespace kv::engine::sql
