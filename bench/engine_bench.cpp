// Record-set speed and memory on 1,000,000 customer rows (or as many as the first argument says,
// for a short run under a profiler), each figure next to plain SQLite doing the nearest
// equivalent in the same run.

#include "Messhilfen.h"

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/sql/Dialect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>
#include <utility>
#include <vector>

using namespace kv::engine;
using kv::bench::benchZeile;
using kv::bench::median;
using kv::bench::messe;
using kv::bench::spitzeKb;

namespace {
int Zeilen = 1000000;

// Runs the reference and ours in turns, so that a slower spell of the machine falls on both;
// returns the medians (reference, ours).
std::pair<double, double> messeAbwechselnd(
    int laeufe, const std::function<void()>& ref, const std::function<void()>& ours)
{
    std::vector<double> refZeiten;
    std::vector<double> unsere;
    for (int i = 0; i < laeufe; ++i) {
        refZeiten.push_back(messe(1, ref));
        unsere.push_back(messe(1, ours));
    }
    return { median(refZeiten), median(unsere) };
}

void spitzeZuruecksetzen()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

void erzeuge(Workspace& ws, const QString& pfad)
{
    {
        auto db = ws.createDatabase(pfad);
        auto t = db->createTableDef(QStringLiteral("Kunden"));
        auto id = t->createField(QStringLiteral("ID"), dbLong);
        id->setAttributes(dbFixedField | dbAutoIncrField);
        t->fields().append(std::move(id));
        t->fields().append(t->createField(QStringLiteral("Name"), dbText, 50));
        t->fields().append(t->createField(QStringLiteral("Vorname"), dbText, 50));
        t->fields().append(t->createField(QStringLiteral("Strasse"), dbText, 80));
        t->fields().append(t->createField(QStringLiteral("PLZ"), dbText, 5));
        t->fields().append(t->createField(QStringLiteral("Ort"), dbText, 50));
        t->fields().append(t->createField(QStringLiteral("Geburtsdatum"), dbDate));
        t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
        t->fields().append(t->createField(QStringLiteral("Aktiv"), dbBoolean));
        t->fields().append(t->createField(QStringLiteral("Notiz"), dbMemo));
        db->tableDefs().append(std::move(t));
    }
    sqlite3* db = nullptr;
    sqlite3_open(pfad.toUtf8().constData(), &db);
    kv::engine::sql::registerFunctions(db);
    sqlite3_exec(
        db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
        "INSERT INTO Kunden (Name, Vorname, Strasse, PLZ, Ort, Geburtsdatum, Umsatz, Aktiv, Notiz) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
        -1, &st, nullptr);
    const char* namen[] = { "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner",
        "Becker", "Schulz", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf" };
    const char* vornamen[] = { "Peter", "Michael", "Thomas", "Andreas", "Ursula", "Monika", "Petra",
        "Sabine", "Jürgen", "Özlem", "Björn" };
    const char* orte[] = { "Berlin", "Hamburg", "München", "Köln", "Bonn", "Leipzig", "Essen" };
    quint32 zufall = 20240601;
    auto naechste = [&] {
        zufall = zufall * 1664525u + 1013904223u;
        return zufall >> 8;
    };
    char puffer[128];
    for (int i = 0; i < Zeilen; ++i) {
        sqlite3_bind_text(st, 1, namen[naechste() % 16], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, vornamen[naechste() % 11], -1, SQLITE_STATIC);
        std::snprintf(puffer, sizeof puffer, "Hauptstraße %u", naechste() % 200 + 1);
        sqlite3_bind_text(st, 3, puffer, -1, SQLITE_TRANSIENT);
        std::snprintf(puffer, sizeof puffer, "%05u", naechste() % 99999);
        sqlite3_bind_text(st, 4, puffer, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 5, orte[naechste() % 7], -1, SQLITE_STATIC);
        std::snprintf(puffer, sizeof puffer, "%04u-%02u-%02u 00:00:00", 1930 + naechste() % 80,
            naechste() % 12 + 1, naechste() % 28 + 1);
        sqlite3_bind_text(st, 6, puffer, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 7, double(naechste() % 10000000) / 100.0);
        sqlite3_bind_int(st, 8, naechste() % 2 ? -1 : 0);
        if (i % 3 == 0)
            sqlite3_bind_text(
                st, 9, "Stammkunde seit vielen Jahren, Rabatt nach Absprache.", -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(st, 9);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Reads every field of the current record the way a grid would.
qint64 leseZeile(Recordset& rs)
{
    qint64 n = 0;
    for (int i = 0; i < rs.fieldCount(); ++i)
        n += rs.value(i).isValid() ? 1 : 0;
    return n;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        Zeilen = std::max(1000, std::atoi(argv[1]));
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("kunden.kdb"));
    Workspace ws;
    erzeuge(ws, pfad);
    auto db = ws.openDatabase(pfad);

    sqlite3* roh = nullptr;
    sqlite3_open_v2(
        pfad.toUtf8().constData(), &roh, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    kv::engine::sql::registerFunctions(roh);
    // The reference gets the engine's connection settings, so that only the engine's own work
    // differs.
    sqlite3_exec(roh, "PRAGMA cache_size = -8000", nullptr, nullptr, nullptr);
    auto rohSchritte = [&](const char* sql, bool alleSpalten) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(roh, sql, -1, &st, nullptr);
        qint64 n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (alleSpalten) {
                for (int i = 0; i < sqlite3_column_count(st); ++i) {
                    switch (sqlite3_column_type(st, i)) {
                    case SQLITE_INTEGER:
                        n += sqlite3_column_int64(st, i) != 0;
                        break;
                    case SQLITE_FLOAT:
                        n += sqlite3_column_double(st, i) != 0;
                        break;
                    case SQLITE_TEXT:
                        n += sqlite3_column_bytes(st, i) + (sqlite3_column_text(st, i) != nullptr);
                        break;
                    default:
                        break;
                    }
                }
            } else {
                n += sqlite3_column_int64(st, 0);
            }
        }
        sqlite3_finalize(st);
        return n;
    };
    // Warm the page cache of both.
    rohSchritte("SELECT * FROM Kunden", true);

    spitzeZuruecksetzen();
    const long vorherKb = spitzeKb();
    auto refSchluessel = [&] { rohSchritte("SELECT rowid FROM Kunden", false); };
    const auto [refA, oursA] = messeAbwechselnd(5, refSchluessel, [&] {
        auto rs = db->openRecordset(QStringLiteral("SELECT * From [Kunden]"));
        for (int i = 0; i < 100; ++i) {
            leseZeile(*rs);
            rs->moveNext();
        }
    });
    benchZeile("engine.dynaset_first100", oursA, refA);

    const auto [refB, oursB] = messeAbwechselnd(5, refSchluessel, [&] {
        auto rs = db->openRecordset(QStringLiteral("SELECT * From [Kunden]"));
        rs->moveLast();
        rs->setAbsolutePosition(Zeilen / 2);
        leseZeile(*rs);
    });
    benchZeile("engine.abspos_middle", oursB, refB);

    auto rs = db->openRecordset(QStringLiteral("SELECT * From [Kunden]"));
    rs->moveLast(); // the clones share the keys; every walk then costs the same
    const auto [refC, oursC] = messeAbwechselnd(
        5, [&] { rohSchritte("SELECT * FROM Kunden", true); },
        [&] {
            auto klon = rs->clone();
            klon->moveFirst();
            while (!klon->eof()) {
                leseZeile(*klon);
                klon->moveNext();
            }
        });
    benchZeile("engine.clone_walk", oursC, refC);
    const long spitze = spitzeKb();

    const auto [refD, oursD] = messeAbwechselnd(
        5, [&] { rohSchritte("SELECT rowid FROM Kunden WHERE Name = 'x'", false); },
        [&] { rs->findFirst(QStringLiteral("Name = 'x'")); });
    benchZeile("engine.findfirst_scan", oursD, refD);

    // Editing every record of a set as a global change does, against plain prepared UPDATEs of
    // the same rows; both fire the table's rules.
    const int Bearbeitet = Zeilen / 10;
    sqlite3* schreiber = nullptr;
    sqlite3_open_v2(pfad.toUtf8().constData(), &schreiber, SQLITE_OPEN_READWRITE, nullptr);
    kv::engine::sql::registerFunctions(schreiber);
    const auto [refE, oursE] = messeAbwechselnd(
        3,
        [&] {
            sqlite3_exec(schreiber, "BEGIN", nullptr, nullptr, nullptr);
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(
                schreiber, "UPDATE Kunden SET Umsatz = ?1 WHERE rowid = ?2", -1, &st, nullptr);
            for (int i = 1; i <= Bearbeitet; ++i) {
                sqlite3_bind_double(st, 1, i * 0.5);
                sqlite3_bind_int64(st, 2, i);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
            sqlite3_exec(schreiber, "COMMIT", nullptr, nullptr, nullptr);
        },
        [&] {
            auto satz = db->openRecordset(
                QStringLiteral("SELECT * FROM Kunden WHERE ID <= %1").arg(Bearbeitet));
            ws.beginTrans();
            int i = 0;
            while (!satz->eof()) {
                satz->edit();
                satz->setValue(QStringLiteral("Umsatz"), ++i * 0.25);
                satz->update();
                satz->moveNext();
            }
            ws.commitTrans();
        });
    sqlite3_close(schreiber);
    benchZeile("engine.edit_walk", oursE, refE);

    std::printf("BENCH engine.peak peak_mb=%.1f\n", double(spitze) / 1024.0);
    std::printf("# peak growth over the open database during (a)-(c): %.1f MB = %.1f bytes per row "
                "(keyset 8 bytes per row, shared by the clone; row cache bounded to 8 pages of 512 "
                "rows per cursor)\n",
        double(spitze - vorherKb) / 1024.0, double(spitze - vorherKb) * 1024.0 / Zeilen);
    sqlite3_close(roh);
    return 0;
}
