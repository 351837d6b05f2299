#pragma once

#include <QHash>
#include <QString>
#include <functional>

namespace kv::engine {

class CatalogReader;
class Connection;

/// Makes a table anew as its catalog rows describe it, with its rows, counter and indexes:
/// for what SQLite cannot change in place (a new auto-increment field or default, a dropped
/// counter). Fields whose catalog row is gone are left out; fields whose row is new are added.
/// sources gives fields that are filled otherwise than by copying their own column: field name
/// in lower case → SQL expression over the old row. rowsCopied is called between the copy of
/// the rows and the indexes.
using ColumnSources = QHash<QString, QString>;
void rebuildTable(Connection& db, const CatalogReader& reader, const QString& table,
    const ColumnSources& sources = {}, const std::function<void()>& rowsCopied = {});

} // namespace kv::engine
