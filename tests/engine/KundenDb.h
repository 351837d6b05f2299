#pragma once

// The customer table the record-set tests work on.

#include "engine/Database.h"
#include "engine/Workspace.h"

#include <memory>

namespace kv::test {

/// Kunden(ID counter, Name required, Ort default 'Bonn', Umsatz currency) with n rows
/// "K1".."Kn" (Umsatz 1..n).
inline std::unique_ptr<engine::Database> kundenDb(engine::Workspace& ws, const QString& pfad, int n)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto t = db->createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    auto name = t->createField(QStringLiteral("Name"), dbText, 30);
    name->setRequired(true);
    t->fields().append(std::move(name));
    auto ort = t->createField(QStringLiteral("Ort"), dbText, 30);
    ort->setDefaultValue(QStringLiteral("'Bonn'"));
    t->fields().append(std::move(ort));
    t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
    db->tableDefs().append(std::move(t));
    ws.beginTrans();
    for (int i = 1; i <= n; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Umsatz) VALUES ('K%1', %1)").arg(i));
    ws.commitTrans();
    return db;
}

} // namespace kv::test
