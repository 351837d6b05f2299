#pragma once

// A small database for the mask tests: customers with every kind of field, their positions
// (linked by number and, for text links, by name) and locks that keep a customer from being
// deleted; both relations enforced without cascades.

#include "engine/Database.h"
#include "engine/Workspace.h"

#include <QString>
#include <memory>

namespace kv::test {

inline void legeFeldAn(engine::TableDef& t, const QString& name, int typ, int groesse = -1,
    bool zaehler = false, bool pflicht = false)
{
    auto f = t.createField(name, typ, groesse);
    if (zaehler)
        f->setAttributes(engine::dbFixedField | engine::dbAutoIncrField);
    f->setRequired(pflicht);
    t.fields().append(std::move(f));
}

inline void legeBeziehungAn(engine::Database& db, const QString& tabelle, const QString& fremd)
{
    auto r = db.createRelation(tabelle + fremd, tabelle, fremd, 0);
    r->appendField(QStringLiteral("KundenNr"), QStringLiteral("KundenNr"));
    db.relations().append(std::move(r));
}

/// Kunden 1 Meier (3 positions), 2 O'Brien (2 positions, linked by number and name),
/// 3 Schulz (1 position, locked against deleting).
inline std::unique_ptr<engine::Database> maskendatenbank(engine::Workspace& ws, const QString& pfad)
{
    using namespace engine;
    auto db = ws.createDatabase(pfad);
    auto k = db->createTableDef(QStringLiteral("Kunden"));
    legeFeldAn(*k, QStringLiteral("KundenNr"), dbLong, -1, true);
    legeFeldAn(*k, QStringLiteral("Name"), dbText, 10, false, true);
    legeFeldAn(*k, QStringLiteral("Stammkunde"), dbBoolean);
    legeFeldAn(*k, QStringLiteral("Menge"), dbLong);
    legeFeldAn(*k, QStringLiteral("Preis"), dbCurrency);
    legeFeldAn(*k, QStringLiteral("Geburtstag"), dbDate);
    legeFeldAn(*k, QStringLiteral("Anrede"), dbText, 5);
    legeFeldAn(*k, QStringLiteral("Notiz"), dbMemo);
    legeFeldAn(*k, QStringLiteral("Bild"), dbLongBinary);
    auto pk = k->createIndex(QStringLiteral("PrimaryKey"));
    pk->appendField(QStringLiteral("KundenNr"));
    pk->setPrimary(true);
    k->indexes().append(std::move(pk));
    db->tableDefs().append(std::move(k));

    auto p = db->createTableDef(QStringLiteral("Positionen"));
    legeFeldAn(*p, QStringLiteral("PosNr"), dbLong, -1, true);
    legeFeldAn(*p, QStringLiteral("KundenNr"), dbLong);
    legeFeldAn(*p, QStringLiteral("Name"), dbText, 10);
    legeFeldAn(*p, QStringLiteral("Betrag"), dbDouble);
    db->tableDefs().append(std::move(p));

    auto s = db->createTableDef(QStringLiteral("Sperren"));
    legeFeldAn(*s, QStringLiteral("KundenNr"), dbLong);
    db->tableDefs().append(std::move(s));

    db->execute(QStringLiteral("INSERT INTO Kunden (Name, Stammkunde, Menge, Preis, Geburtstag, "
                               "Anrede) VALUES ('Meier', True, 5, 2.5, #1970-05-01#, 'Herr')"));
    db->execute(QStringLiteral(
        "INSERT INTO Kunden (Name, Stammkunde, Anrede) VALUES ('O''Brien', False, 'Frau')"));
    db->execute(QStringLiteral("INSERT INTO Kunden (Name, Menge) VALUES ('Schulz', 1)"));
    for (const char* zeile : { "(1, 'Meier', 10)", "(1, 'Meier', 20)", "(1, 'Meier', 30.5)",
             "(2, 'O''Brien', 7)", "(2, 'O''Brien', 8)", "(3, 'Schulz', 1)" })
        db->execute(QStringLiteral("INSERT INTO Positionen (KundenNr, Name, Betrag) VALUES ")
            + QString::fromUtf8(zeile));
    db->execute(QStringLiteral("INSERT INTO Sperren (KundenNr) VALUES (3)"));
    legeBeziehungAn(*db, QStringLiteral("Kunden"), QStringLiteral("Positionen"));
    legeBeziehungAn(*db, QStringLiteral("Kunden"), QStringLiteral("Sperren"));
    return db;
}

} // namespace kv::test
