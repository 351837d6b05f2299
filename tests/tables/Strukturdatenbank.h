#pragma once

// The database the structure tests change: Kunden (ID counter, Name, PLZ as text with an index,
// Umsatz) and Rechnungen (Nr counter, KundeID, Betrag as text), joined by the enforced relation
// KundenRechnungen with cascading deletes.

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"

#include <QStringList>
#include <memory>

namespace kv::test {

inline void legeStrukturtabellenAn(engine::Database& db)
{
    using namespace engine;
    auto kunden = db.createTableDef(QStringLiteral("Kunden"));
    auto id = kunden->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    kunden->fields().append(std::move(id));
    auto name = kunden->createField(QStringLiteral("Name"), dbText, 40);
    name->setRequired(true);
    kunden->fields().append(std::move(name));
    kunden->fields().append(kunden->createField(QStringLiteral("PLZ"), dbText, 10));
    kunden->fields().append(kunden->createField(QStringLiteral("Umsatz"), dbCurrency));
    auto pk = kunden->createIndex(QStringLiteral("PrimaryKey"));
    pk->appendField(QStringLiteral("ID"));
    pk->setPrimary(true);
    kunden->indexes().append(std::move(pk));
    auto plz = kunden->createIndex(QStringLiteral("NachPLZ"));
    plz->appendField(QStringLiteral("PLZ"), true);
    kunden->indexes().append(std::move(plz));
    db.tableDefs().append(std::move(kunden));

    auto rechnungen = db.createTableDef(QStringLiteral("Rechnungen"));
    auto nr = rechnungen->createField(QStringLiteral("Nr"), dbLong);
    nr->setAttributes(dbFixedField | dbAutoIncrField);
    rechnungen->fields().append(std::move(nr));
    rechnungen->fields().append(rechnungen->createField(QStringLiteral("KundeID"), dbLong));
    rechnungen->fields().append(rechnungen->createField(QStringLiteral("Betrag"), dbText, 20));
    db.tableDefs().append(std::move(rechnungen));

    auto r = db.createRelation(QStringLiteral("KundenRechnungen"), QStringLiteral("Kunden"),
        QStringLiteral("Rechnungen"), dbRelationDeleteCascade);
    r->appendField(QStringLiteral("ID"), QStringLiteral("KundeID"));
    db.relations().append(std::move(r));
}

/// Kunden rows "Name|PLZ" (IDs 1, 2, … in order), Rechnungen rows "KundeID|Betrag".
inline void fuelleStrukturtabellen(
    engine::Database& db, const QStringList& kunden, const QStringList& rechnungen)
{
    auto k = db.openRecordset(QStringLiteral("Kunden"));
    for (const QString& zeile : kunden) {
        k->addNew();
        k->setValue(QStringLiteral("Name"), zeile.section(QLatin1Char('|'), 0, 0));
        const QString plz = zeile.section(QLatin1Char('|'), 1, 1);
        if (!plz.isEmpty())
            k->setValue(QStringLiteral("PLZ"), plz);
        k->update();
    }
    auto r = db.openRecordset(QStringLiteral("Rechnungen"));
    for (const QString& zeile : rechnungen) {
        r->addNew();
        r->setValue(QStringLiteral("KundeID"), zeile.section(QLatin1Char('|'), 0, 0).toInt());
        r->setValue(QStringLiteral("Betrag"), zeile.section(QLatin1Char('|'), 1, 1));
        r->update();
    }
}

/// The values of one column in the table's order ("<Null>" for Null), as the engine gives them.
inline QStringList spaltenwerte(engine::Database& db, const QString& tabelle, const QString& feld)
{
    QStringList werte;
    auto rs = db.openRecordset(QStringLiteral("SELECT [%1] FROM [%2]").arg(feld, tabelle));
    while (!rs->eof()) {
        const QVariant v = rs->value(feld);
        werte << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
        rs->moveNext();
    }
    return werte;
}

} // namespace kv::test
