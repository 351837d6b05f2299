#pragma once

// The customer table the record-set tests work on.

#include "testutils/Kundendatenbank.h"

#include <memory>

namespace kv::test {

/// Kunden(ID counter, Name required, Ort default 'Bonn', Umsatz currency) with n rows
/// "K1".."Kn" (Umsatz 1..n).
inline std::unique_ptr<engine::Database> kundenDb(engine::Workspace& ws, const QString& pfad, int n)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto t = kundenTabelle(*db);
    t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
    db->tableDefs().append(std::move(t));
    kundenZeilen(ws, *db, n);
    return db;
}

} // namespace kv::test
