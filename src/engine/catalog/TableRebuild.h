#pragma once

#include <QString>

namespace kv::engine {

class CatalogReader;
class Connection;

/// Makes a table anew as its catalog rows describe it, with its rows, counter and indexes:
/// for what SQLite cannot change in place (a new auto-increment field or default, a dropped
/// counter). Fields whose catalog row is gone are left out; fields whose row is new are added.
void rebuildTable(Connection& db, const CatalogReader& reader, const QString& table);

} // namespace kv::engine
