#pragma once

// The database most shell tests work on: the table Kunden (Name, Notiz) in a file of its own.

#include "testutils/Kundendatenbank.h"

#include <QStringList>

namespace kv::test {

/// Writes pfad with the table Kunden (Name Text 60, Notiz Memo) and zeilen rows ("K0", … with a
/// 200-character note), the stored queries given as "Name=SQL", and a password when one is given.
/// The file is closed afterwards.
inline void KundendatenbankErzeugen(const QString& pfad, int zeilen = 3,
    const QString& passwort = QString(), const QStringList& abfragen = {})
{
    engine::Workspace ws;
    auto db = notizKunden(ws, pfad, zeilen, QStringLiteral("K%1"), false);
    for (const QString& a : abfragen) {
        const qsizetype gleich = a.indexOf(QLatin1Char('='));
        db->createQueryDef(a.left(gleich), a.mid(gleich + 1));
    }
    if (!passwort.isEmpty())
        db->newPassword(QString(), passwort);
    db->close();
}

} // namespace kv::test
