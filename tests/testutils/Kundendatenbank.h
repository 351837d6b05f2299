#pragma once

// Header only: tests that use it link the engine, the other users of testutils need not.

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Index.h"
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

/// Kunden(ID counter, Name required, Ort default 'Bonn', Umsatz currency) with n rows
/// "K1".."Kn" (Umsatz 1..n): the table the record-set tests work on.
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

/// Kunden(Name Text 60, Notiz Memo) with n rows named namensmuster.arg(i) for i from 0, each
/// with a 200-character note, in one transaction; mitSchluessel puts the counter ID first and
/// the index NameIx on Name.
inline std::unique_ptr<engine::Database> notizKunden(engine::Workspace& ws, const QString& pfad,
    int n, const QString& namensmuster, bool mitSchluessel)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto t = db->createTableDef(QStringLiteral("Kunden"));
    if (mitSchluessel) {
        auto id = t->createField(QStringLiteral("ID"), dbLong);
        id->setAttributes(dbFixedField | dbAutoIncrField);
        t->fields().append(std::move(id));
    }
    t->fields().append(t->createField(QStringLiteral("Name"), dbText, 60));
    t->fields().append(t->createField(QStringLiteral("Notiz"), dbMemo));
    if (mitSchluessel) {
        auto ix = t->createIndex(QStringLiteral("NameIx"));
        ix->appendField(QStringLiteral("Name"));
        t->indexes().append(std::move(ix));
    }
    db->tableDefs().append(std::move(t));
    ws.beginTrans();
    for (int i = 0; i < n; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Notiz) VALUES ('%1', '%2')")
                        .arg(namensmuster.arg(i), QString(200, QLatin1Char('n'))));
    ws.commitTrans();
    return db;
}

/// Kunden(Nr Text 10, primary key) with 'A' and 'B'; Auftraege(ID counter, Kunde Text 10) with
/// orders for 'A', 'a' and none; joined by KundeAuftrag with the given relation flags.
inline std::unique_ptr<engine::Database> auftragsDb(
    engine::Workspace& ws, const QString& pfad, qint64 flags)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto k = db->createTableDef(QStringLiteral("Kunden"));
    k->fields().append(k->createField(QStringLiteral("Nr"), dbText, 10));
    auto pk = k->createIndex(QStringLiteral("PrimaryKey"));
    pk->appendField(QStringLiteral("Nr"));
    pk->setPrimary(true);
    k->indexes().append(std::move(pk));
    db->tableDefs().append(std::move(k));
    auto a = db->createTableDef(QStringLiteral("Auftraege"));
    auto id = a->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbAutoIncrField | dbFixedField);
    a->fields().append(std::move(id));
    a->fields().append(a->createField(QStringLiteral("Kunde"), dbText, 10));
    db->tableDefs().append(std::move(a));
    db->execute(QStringLiteral("INSERT INTO Kunden (Nr) VALUES ('A')"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Nr) VALUES ('B')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('A')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES ('a')"));
    db->execute(QStringLiteral("INSERT INTO Auftraege (Kunde) VALUES (NULL)"));
    auto r = db->createRelation(QStringLiteral("KundeAuftrag"), QStringLiteral("Kunden"),
        QStringLiteral("Auftraege"), flags);
    r->appendField(QStringLiteral("Nr"), QStringLiteral("Kunde"));
    db->relations().append(std::move(r));
    return db;
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
