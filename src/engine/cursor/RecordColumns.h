#pragma once

#include "engine/catalog/Definitions.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv::engine {

class Keyset;
class RecordSource;
class RowCache;
class Statement;

/// A column of a record set: the field it is and where its values come from.
struct RecordColumn {
    FieldDefinition definition; ///< type 0 until the first value tells a calculated column's
    QString sourceTable; ///< the table as the database knows it; empty for calculated columns
    QString sourceField;
    bool updatable = false; ///< a field of the base table that a write may change
};

/// The stored definition of a column of table (as SQLite names its origin: schema "main" or an
/// attached file's) or nullptr; tableName receives the name the database knows the table by
/// when it knows it.
using StoredField = std::function<const FieldDefinition*(
    const QString& schema, const QString& table, const QString& column, QString& tableName)>;

/// The columns of a prepared statement: names and origins as SQLite reports them, types from
/// the stored fields, else from the declared column type; updatable only where the record set
/// is and the column is a field of its base table (baseName as the statement names it) other
/// than a counter.
std::vector<RecordColumn> describeColumns(const Statement& statement, const RecordSource& source,
    const QString& baseName, bool updatable, const StoredField& storedField);

/// Calculated columns take their type from the value in the first row (Text 255 without one).
void typeCalculatedColumns(std::vector<RecordColumn>& columns, RowCache& cache, Keyset& keys);

} // namespace kv::engine
