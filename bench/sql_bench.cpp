// Dialect speed next to raw SQLite on a 1,000,000-row table:
// (a) full-text LIKE over four concatenated fields, (b) indexed prefix LIKE, (c) grouped sum,
// (d) translation of a typical 300-character statement.

#include "engine/sql/Dialect.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <sqlite3.h>
#include <vector>

using namespace kv::engine::sql;

namespace {

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void exec(sqlite3* db, const QString& sql)
{
    check(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), db);
}

// Runs a query to the end; returns the number of rows.
long long run(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), db);
    long long rows = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        ++rows;
    check(rc, db);
    sqlite3_finalize(st);
    return rows;
}

double medianMs(int runs, const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void report(const char* name, double ours, double ref)
{
    std::printf("BENCH %s ours_ms=%.3f ref_ms=%.3f ratio=%.2f\n", name, ours, ref, ours / ref);
    std::fflush(stdout);
}

QString plan(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(
              db, ("EXPLAIN QUERY PLAN " + sql).toUtf8().constData(), -1, &st, nullptr),
        db);
    QString out;
    while (sqlite3_step(st) == SQLITE_ROW)
        out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + "; ";
    sqlite3_finalize(st);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const int rowCount = argc > 1 ? std::atoi(argv[1]) : 1000000;
    QTemporaryDir dir;
    sqlite3* db = nullptr;
    sqlite3_open(dir.filePath(QStringLiteral("bench.kvd")).toUtf8().constData(), &db);
    registerFunctions(db);
    exec(db,
        QStringLiteral(
            "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-400000"));
    // Our table: the dialect's DDL (KVDE collation); the reference: the same data, SQLite's own
    // case-insensitive collation.
    exec(db,
        translate(QStringLiteral(
                      "CREATE TABLE [K] ([ID] COUNTER PRIMARY KEY, [Name] TEXT(50), "
                      "[Vorname] TEXT(50), [Strasse] TEXT(50), [Ort] TEXT(50), [Umsatz] CURRENCY)"))
            .sql);
    exec(db,
        QStringLiteral(
            "CREATE TABLE R (ID INTEGER PRIMARY KEY, Name TEXT COLLATE NOCASE, Vorname TEXT, "
            "Strasse TEXT, Ort TEXT COLLATE NOCASE, Umsatz REAL)"));
    const char* names[] = { "Meier", "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Ärger",
        "Becker", "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf", "Neumann" };
    const char* vornamen[] = { "Hans", "Anna", "Jörg", "Petra", "Klaus", "Maria", "Uwe", "Eva" };
    const char* orte[] = { "Bonn", "Köln", "Berlin", "Hamburg", "München", "Essen", "Aachen",
        "Düsseldorf", "Dortmund", "Bremen", "Leipzig", "Dresden" };
    std::mt19937 rng(42);
    exec(db, QStringLiteral("BEGIN"));
    sqlite3_stmt* ins = nullptr;
    sqlite3_stmt* insRef = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO K (Name, Vorname, Strasse, Ort, Umsatz) VALUES (?,?,?,?,?)",
        -1, &ins, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO R (Name, Vorname, Strasse, Ort, Umsatz) VALUES (?,?,?,?,?)",
        -1, &insRef, nullptr);
    for (int i = 0; i < rowCount; ++i) {
        const QByteArray name
            = QByteArray(names[rng() % 16]) + QByteArray::number(int(rng() % 1000));
        const QByteArray strasse = "Weg " + QByteArray::number(int(rng() % 500));
        const char* vorname = vornamen[rng() % 8];
        const char* ort = orte[rng() % 12];
        const double umsatz = double(rng() % 100000) / 100.0;
        for (sqlite3_stmt* s : { ins, insRef }) {
            sqlite3_bind_text(s, 1, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 2, vorname, -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 3, strasse.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 4, ort, -1, SQLITE_STATIC);
            sqlite3_bind_double(s, 5, umsatz);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
    }
    sqlite3_finalize(ins);
    sqlite3_finalize(insRef);
    exec(db, QStringLiteral("COMMIT"));
    exec(db, translate(QStringLiteral("CREATE INDEX [NameIdx] ON [K] ([Name])")).sql);
    exec(db, QStringLiteral("CREATE INDEX RName ON R (Name)"));
    exec(db, QStringLiteral("ANALYZE"));

    // (a) full-text search
    const QString fulltext
        = translate(QStringLiteral("SELECT [ID] FROM [K] WHERE (Name&Vorname&Strasse&Ort) LIKE "
                                   "'*abc*' OR (Name&Vorname&Strasse&Ort) LIKE '*jörg*weg 1*'"))
              .sql;
    const QString fulltextRef
        = QStringLiteral("SELECT ID FROM R WHERE (Name||Vorname||Strasse||Ort) LIKE '%abc%' OR "
                         "(Name||Vorname||Strasse||Ort) LIKE '%jörg%weg 1%'");
    std::printf("rows: ours %lld, raw %lld\n", run(db, fulltext), run(db, fulltextRef));
    report("sql.like_fulltext", medianMs(5, [&] { run(db, fulltext); }),
        medianMs(5, [&] { run(db, fulltextRef); }));

    // (b) indexed prefix
    const QString prefix
        = translate(QStringLiteral("SELECT [ID], [Name] FROM [K] WHERE [Name] LIKE 'Mei*'")).sql;
    const QString prefixRef
        = QStringLiteral("SELECT ID, Name FROM R WHERE Name >= 'Mei' AND Name < 'Mej'");
    std::printf("plan ours: %s\nplan raw:  %s\n", qPrintable(plan(db, prefix)),
        qPrintable(plan(db, prefixRef)));
    std::printf("rows: ours %lld, raw %lld\n", run(db, prefix), run(db, prefixRef));
    report("sql.like_prefix_indexed", medianMs(21, [&] { run(db, prefix); }),
        medianMs(21, [&] { run(db, prefixRef); }));

    // (c) grouped sum
    const QString group
        = translate(QStringLiteral("SELECT Ort, SUM(Umsatz) FROM K GROUP BY Ort ORDER BY Ort")).sql;
    const QString groupRef
        = QStringLiteral("SELECT Ort, SUM(Umsatz) FROM R GROUP BY Ort ORDER BY Ort");
    report("sql.group_sum", medianMs(5, [&] { run(db, group); }),
        medianMs(5, [&] { run(db, groupRef); }));

    // (e) TOP n with the rows tied with the last one, against a plain LIMIT
    const QString topScan
        = translate(QStringLiteral("SELECT TOP 10 [ID], [Name] FROM [K] ORDER BY [Umsatz] DESC"))
              .sql;
    const QString topScanRef
        = QStringLiteral("SELECT ID, Name FROM R ORDER BY Umsatz DESC LIMIT 10");
    std::printf("rows: ours %lld, raw %lld\n", run(db, topScan), run(db, topScanRef));
    report("sql.top_ties_scan", medianMs(5, [&] { run(db, topScan); }),
        medianMs(5, [&] { run(db, topScanRef); }));
    const QString topIndexed = translate(
        QStringLiteral("SELECT TOP 10 [ID], [Name] FROM [K] WHERE [Name] >= 'M' ORDER BY [Name]"))
                                   .sql;
    const QString topIndexedRef
        = QStringLiteral("SELECT ID, Name FROM R WHERE Name >= 'M' ORDER BY Name LIMIT 10");
    std::printf("plan ours: %s\n", qPrintable(plan(db, topIndexed)));
    std::printf("rows: ours %lld, raw %lld\n", run(db, topIndexed), run(db, topIndexedRef));
    report("sql.top_ties_indexed", medianMs(21, [&] { run(db, topIndexed); }),
        medianMs(21, [&] { run(db, topIndexedRef); }));

    // (d) translation of a typical statement of the windows (about 300 characters)
    const QString typical = QStringLiteral(
        "SELECT Kunden.*, Orte.Land FROM Kunden INNER JOIN Orte ON Kunden.PLZ = Orte.PLZ "
        "WHERE ((Kunden.Name LIKE 'Mei*') AND (Kunden.Umsatz >= 12.5) AND (Kunden.[Datum] >= "
        "#02-01-2009#)) "
        "OR (Kunden.Name&Kunden.Vorname&Kunden.Ort) LIKE '*abc*' AND Kunden.Aktiv = True "
        "ORDER BY  [Kunden].[Name] ASC,  [Kunden].[PLZ] DESC");
    std::printf("statement length: %lld\n", static_cast<long long>(typical.size()));
    const int perRun = 2000;
    const double ms = medianMs(9, [&] {
        for (int i = 0; i < perRun; ++i)
            translate(typical);
    });
    std::printf("BENCH sql.translate ours_ms=%.4f ref_ms=0.05 ratio=%.2f\n", ms / perRun,
        ms / perRun / 0.05);
    sqlite3_close_v2(db);
    return 0;
}
