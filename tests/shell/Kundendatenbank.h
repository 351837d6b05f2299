#pragma once

// The database most shell tests work on: the table Kunden (Name, Notiz) in a file of its own.

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"

#include <QStringList>

namespace kv::test {

/// Writes pfad with the table Kunden (Name Text 60, Notiz Memo) and zeilen rows ("K0", … with a
/// 200-character note), the stored queries given as "Name=SQL", and a password when one is given.
/// The file is closed afterwards.
inline void KundendatenbankErzeugen(const QString& pfad, int zeilen = 3,
    const QString& passwort = QString(), const QStringList& abfragen = {})
{
    engine::Workspace ws;
    auto db = ws.createDatabase(pfad);
    auto t = db->createTableDef(QStringLiteral("Kunden"));
    t->fields().append(t->createField(QStringLiteral("Name"), engine::dbText, 60));
    t->fields().append(t->createField(QStringLiteral("Notiz"), engine::dbMemo));
    db->tableDefs().append(std::move(t));
    ws.beginTrans();
    for (int i = 0; i < zeilen; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Notiz) VALUES ('K%1', '%2')")
                        .arg(i)
                        .arg(QString(200, QLatin1Char('n'))));
    ws.commitTrans();
    for (const QString& a : abfragen) {
        const qsizetype gleich = a.indexOf(QLatin1Char('='));
        db->createQueryDef(a.left(gleich), a.mid(gleich + 1));
    }
    if (!passwort.isEmpty())
        db->newPassword(QString(), passwort);
    db->close();
}

} // namespace kv::test
