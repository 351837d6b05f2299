#pragma once

// The pieces of SQLite DDL the catalog writes for its definitions.

#include "engine/catalog/Definitions.h"

#include <QString>

namespace kv::engine {

/// A column of CREATE TABLE / ADD COLUMN: name, declared type, default as SQLite expression;
/// an auto-increment field becomes the table's INTEGER PRIMARY KEY AUTOINCREMENT.
QString columnDefinition(const FieldDefinition& field);

/// CREATE [UNIQUE] INDEX for index (by its SQLite name) on table.
QString indexStatement(const QString& table, const IndexDefinition& index);

} // namespace kv::engine
