#pragma once

// Header only: tests that use it link the engine, the other users of testutils need not.

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Relation.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"

#include <memory>

namespace kv::test {

namespace Kunde {
/// The fields of Kunden in their order.
enum Feld : int { ID, Name, Ort, Umsatz, Geboren, Aktiv, Notiz, Bild };
} // namespace Kunde

/// Kunden's first fields: ID counter, Name required, Ort with the default 'Bonn'.
inline std::unique_ptr<engine::TableDef> kundenTabelle(engine::Database& db)
{
    using namespace engine;
    auto t = db.createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    auto name = t->createField(QStringLiteral("Name"), dbText, 30);
    name->setRequired(true);
    t->fields().append(std::move(name));
    auto ort = t->createField(QStringLiteral("Ort"), dbText, 30);
    ort->setDefaultValue(QStringLiteral("'Bonn'"));
    t->fields().append(std::move(ort));
    return t;
}

/// n rows "K1".."Kn" with Umsatz 1..n in Kunden, in one transaction.
inline void kundenZeilen(engine::Workspace& ws, engine::Database& db, int n)
{
    ws.beginTrans();
    for (int i = 1; i <= n; ++i)
        db.execute(QStringLiteral("INSERT INTO Kunden (Name, Umsatz) VALUES ('K%1', %1)").arg(i));
    ws.commitTrans();
}

/// A database with Kunden holding one field of every kind a grid presents differently (counter
/// ID, required Name, Ort with the default 'Bonn', Umsatz with the rule ">= 0" and the text "Kein
/// negativer Umsatz!", Geboren, Aktiv, Notiz as memo, Bild as long binary) and n rows "K1".."Kn"
/// with Umsatz 1..n; and Auftraege(Nr, Kunde), whose relation keeps a customer with orders.
inline std::unique_ptr<engine::Database> kundenDatenbank(
    engine::Workspace& ws, const QString& pfad, int n)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto t = kundenTabelle(*db);
    auto umsatz = t->createField(QStringLiteral("Umsatz"), dbCurrency);
    umsatz->setValidationRule(QStringLiteral(">= 0"));
    umsatz->setValidationText(QStringLiteral("Kein negativer Umsatz!"));
    t->fields().append(std::move(umsatz));
    t->fields().append(t->createField(QStringLiteral("Geboren"), dbDate));
    t->fields().append(t->createField(QStringLiteral("Aktiv"), dbBoolean));
    t->fields().append(t->createField(QStringLiteral("Notiz"), dbMemo));
    t->fields().append(t->createField(QStringLiteral("Bild"), dbLongBinary));
    db->tableDefs().append(std::move(t));

    auto a = db->createTableDef(QStringLiteral("Auftraege"));
    a->fields().append(a->createField(QStringLiteral("Nr"), dbLong));
    a->fields().append(a->createField(QStringLiteral("Kunde"), dbLong));
    db->tableDefs().append(std::move(a));

    kundenZeilen(ws, *db, n);
    auto r = db->createRelation(
        QStringLiteral("KundeAuftrag"), QStringLiteral("Kunden"), QStringLiteral("Auftraege"), 0);
    r->appendField(QStringLiteral("ID"), QStringLiteral("Kunde"));
    db->relations().append(std::move(r));
    return db;
}

} // namespace kv::test
