#pragma once

// The customers of ../shared/perf/gen_data.py as a Kelvado database: one set-up for every
// benchmark that works on them.

#include "Rohsql.h"

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

namespace kv::bench {

/// Writes gen_data.py's file of zeilen customers (a table Kunden) to ziel when it is missing.
inline bool kundenrohdaten(const QString& ziel, int zeilen)
{
    if (QFileInfo::exists(ziel))
        return true;
    QDir().mkpath(QFileInfo(ziel).path());
    // Only the one file asked for, with the generator's own rows.
    const QString skript
        = QStringLiteral("import sys; sys.path.insert(0, '/work/shared/perf'); import gen_data; "
                         "gen_data.build(sys.argv[1], int(sys.argv[2]))");
    std::fprintf(stderr, "Erzeuge %s …\n", qPrintable(ziel));
    return QProcess::execute(QStringLiteral("python3"),
               { QStringLiteral("-c"), skript, ziel, QString::number(zeilen) })
        == 0;
}

/// The customers of quelle (gen_data.py's table Kunden) as the table Kunden of a new Kelvado
/// database ziel, with the field types the windows know: ID the counter, texts that may be
/// empty, dates as stored dates, Booleans -1/0. A failed set-up leaves no file behind.
inline bool kundentabelle(const QString& quelle, const QString& ziel)
{
    QFile::remove(ziel);
    QDir().mkpath(QFileInfo(ziel).path());
    {
        using namespace kv::engine;
        struct Spalte {
            const char* name;
            int typ;
            int groesse;
        };
        static const Spalte felder[] = { { "Name", dbText, 50 }, { "Vorname", dbText, 50 },
            { "Strasse", dbText, 80 }, { "PLZ", dbText, 5 }, { "Ort", dbText, 50 },
            { "Geburtsdatum", dbDate, -1 }, { "Umsatz", dbCurrency, -1 },
            { "Aktiv", dbBoolean, -1 }, { "Notiz", dbMemo, -1 } };
        Workspace ws;
        auto db = ws.createDatabase(ziel);
        auto t = db->createTableDef(QStringLiteral("Kunden"));
        auto id = t->createField(QStringLiteral("ID"), dbLong);
        id->setAttributes(dbFixedField | dbAutoIncrField);
        t->fields().append(std::move(id));
        for (const Spalte& s : felder) {
            auto f = t->createField(QLatin1String(s.name), s.typ, s.groesse);
            if (s.typ == dbText || s.typ == dbMemo)
                f->setAllowZeroLength(true); // the notes are often empty texts
            t->fields().append(std::move(f));
        }
        db->tableDefs().append(std::move(t));
    }
    const bool ok = rohAusfuehren(ziel,
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; ATTACH '" + quelle.toUtf8()
            + "' AS q; BEGIN; INSERT INTO main.Kunden (ID, Name, Vorname, Strasse, PLZ, Ort, "
              "Geburtsdatum, Umsatz, Aktiv, Notiz) SELECT ID, Name, Vorname, Strasse, PLZ, Ort, "
              "Geburtsdatum || ' 00:00:00', round(Umsatz, 4), CASE WHEN Aktiv THEN -1 ELSE 0 "
              "END, Notiz FROM q.Kunden ORDER BY ID; COMMIT; DETACH q;");
    if (!ok)
        QFile::remove(ziel);
    return ok;
}

} // namespace kv::bench
