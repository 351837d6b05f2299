#pragma once

// A database made by SQL statements, the fixture of the tests that work through the dialect.

#include "engine/Database.h"
#include "engine/Workspace.h"

#include <initializer_list>
#include <memory>

namespace kv::test {

/// A new database at pfad after the statements ran in order.
inline std::unique_ptr<engine::Database> sqlDb(
    engine::Workspace& ws, const QString& pfad, std::initializer_list<const char*> statements)
{
    auto db = ws.createDatabase(pfad);
    for (const char* s : statements)
        db->execute(QString::fromUtf8(s));
    return db;
}

} // namespace kv::test
