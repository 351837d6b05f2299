// Changing the type of a field on a large table: the customer table of
// ../shared/perf/gen_data.py (1,000,000 rows) as a Kelvado database with its counter as the key,
// an index on PLZ and an enforced relation to an order table. PLZ changes from Text to Long.
//   structure.retype_1m        the whole field replacement against a plain SQLite rebuild of
//                              the same table (CREATE TABLE … AS SELECT with the cast, then the
//                              indexes made again), each on a fresh copy of the file
//   structure.loss_preview_1m  counting what the change would lose against one plain scan of
//                              the column (processor time, the two in turn)
//
//   structure_bench [folder] [runs]   (default /tmp/anchors, 3 runs)
// The rows are generated once into <folder>/kunden1m.db, the Kelvado file once into
// <folder>/kelvado/struktur1m.mdb.

#include "Kundentabelle.h"
#include "Messhilfen.h"
#include "Rohsql.h"

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/FieldReplacement.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/sql/Dialect.h"
#include "engine/sqlite/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;

namespace {

constexpr int Bestellungen = 20000;

// The customers with an index on PLZ and orders joined to them by an enforced relation; PLZ
// stays text, so that it can change to Long.
bool kelvadoDateiErzeugen(const QString& quelle, const QString& ziel)
{
    if (QFileInfo::exists(ziel))
        return true;
    if (!bench::kundentabelle(quelle, ziel))
        return false;
    {
        Workspace ws;
        auto db = ws.openDatabase(ziel);
        db->execute(QStringLiteral("CREATE TABLE Bestellungen (Nr LONG, KundenNr LONG)"));
    }
    const bool ok = bench::rohAusfuehren(ziel,
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 "
        "UNION ALL SELECT i + 1 FROM n WHERE i < "
            + QByteArray::number(Bestellungen)
            + ") INSERT INTO Bestellungen (Nr, KundenNr) SELECT i, (i * 7919) % 1000000 + 1 "
              "FROM n; COMMIT;");
    if (ok) {
        Workspace ws;
        auto db = ws.openDatabase(ziel);
        TableDef& t = db->tableDefs().item(QStringLiteral("Kunden"));
        auto plz = t.createIndex(QStringLiteral("NachPLZ"));
        plz->appendField(QStringLiteral("PLZ"));
        t.indexes().append(std::move(plz));
        auto r = db->createRelation(QStringLiteral("KundenBestellungen"), QStringLiteral("Kunden"),
            QStringLiteral("Bestellungen"), 0);
        r->appendField(QStringLiteral("ID"), QStringLiteral("KundenNr"));
        db->relations().append(std::move(r));
    }
    if (!ok)
        QFile::remove(ziel);
    return ok;
}

QString frischeKopie(const QString& vorlage)
{
    const QString kopie = QFileInfo(vorlage).path() + QStringLiteral("/lauf.mdb");
    QFile::remove(kopie);
    QFile::copy(vorlage, kopie);
    return kopie;
}

double unsereErsetzung(const QString& datei)
{
    Workspace ws;
    auto db = ws.openDatabase(datei);
    FieldDefinition d
        = db->tableDefs().item(QStringLiteral("Kunden")).fields().item("PLZ").definition();
    d.type = dbLong;
    d.size = 4;
    d.attributes = dbFixedField;
    QElapsedTimer uhr;
    uhr.start();
    // The time of each step to stderr, for finding where it goes.
    int schritt = 0;
    qint64 beginn = 0;
    const auto melden = [&](int s, int) {
        if (s != schritt) {
            const qint64 jetzt = uhr.nsecsElapsed() / 1000000;
            if (schritt > 0)
                std::fprintf(stderr, "  Schritt %d: %lld ms\n", schritt, jetzt - beginn);
            schritt = s;
            beginn = jetzt;
        }
        return true;
    };
    replaceField(*db, QStringLiteral("Kunden"), QStringLiteral("PLZ"), d, melden);
    const double ms = double(uhr.nsecsElapsed()) / 1e6;
    std::fprintf(stderr, "  Schritt %d: %lld ms\n", schritt, qint64(ms) - beginn);
    return ms;
}

// What a careful user of plain SQLite does: a new table from a SELECT with the cast, the old
// one dropped, the new one renamed, the indexes made again, all in one transaction.
double schlichterUmbau(const QString& datei)
{
    sqlite3* roh = nullptr;
    sqlite3_open(datei.toUtf8().constData(), &roh);
    sql::registerFunctions(roh);
    QList<QByteArray> indizes, trigger, spalten;
    {
        sqlite3_stmt* st = nullptr;
        // The rules of the relation are triggers; they name the table and go while it is away.
        sqlite3_prepare_v2(roh,
            "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND (type = "
            "'trigger' OR (type = 'index' AND tbl_name = 'Kunden'))",
            -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QByteArray sql = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
            if (QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "index")
                indizes << sql;
            else
                trigger << reinterpret_cast<const char*>(sqlite3_column_text(st, 1)) << sql;
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(roh, "SELECT name FROM pragma_table_info('Kunden')", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QByteArray name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            spalten << (name == "PLZ" ? "CAST(PLZ AS INTEGER) AS PLZ" : name);
        }
        sqlite3_finalize(st);
    }
    QElapsedTimer uhr;
    uhr.start();
    QByteArray sql = "BEGIN; ";
    for (int i = 0; i < trigger.size(); i += 2)
        sql += "DROP TRIGGER \"" + trigger.at(i) + "\"; ";
    sql += "CREATE TABLE neu AS SELECT " + spalten.join(", ")
        + " FROM Kunden; DROP TABLE Kunden; ALTER TABLE neu RENAME TO Kunden; ";
    for (const QByteArray& ix : indizes)
        sql += ix + "; ";
    for (int i = 1; i < trigger.size(); i += 2)
        sql += trigger.at(i) + "; ";
    sql += "COMMIT;";
    const bool ok = bench::rohAusfuehren(roh, sql);
    const double ms = double(uhr.nsecsElapsed()) / 1e6;
    sqlite3_close(roh);
    return ok ? ms : -1;
}

// Every value of the column read once, on the same connection.
void schlichterScan(Database& db)
{
    db.connection().scalar(QStringLiteral("SELECT sum(length(PLZ)) FROM Kunden"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = app.arguments();
    const QString ordner = args.value(1, QStringLiteral("/tmp/anchors"));
    const int laeufe = std::max(1, args.value(2, QStringLiteral("3")).toInt());
    const QString roh = ordner + QStringLiteral("/kunden1m.db");
    const QString vorlage = ordner + QStringLiteral("/kelvado/struktur1m.mdb");
    if (!bench::kundenrohdaten(roh, 1000000) || !kelvadoDateiErzeugen(roh, vorlage)) {
        std::fprintf(stderr, "Die Testdaten konnten nicht erzeugt werden.\n");
        return 1;
    }

    std::vector<double> unsere, schlicht;
    for (int i = 0; i < laeufe; ++i) {
        schlicht.push_back(schlichterUmbau(frischeKopie(vorlage)));
        unsere.push_back(unsereErsetzung(frischeKopie(vorlage)));
    }
    bench::benchZeile("structure.retype_1m", bench::median(unsere), bench::median(schlicht));

    {
        Workspace ws;
        auto db = ws.openDatabase(vorlage, false, true);
        schlichterScan(*db); // the file in the cache for both
        // Both in turn, as processor time of the thread: a few dozen milliseconds of work that
        // the clock on the wall of a busy machine hardly resolves.
        std::vector<double> vorschauen, scans;
        for (int i = 0; i < std::max(laeufe, 9); ++i) {
            double t = bench::cpuMs();
            conversionLoss(*db, QStringLiteral("Kunden"), QStringLiteral("PLZ"), dbLong, 4);
            vorschauen.push_back(bench::cpuMs() - t);
            t = bench::cpuMs();
            schlichterScan(*db);
            scans.push_back(bench::cpuMs() - t);
        }
        const double vorschau = bench::median(vorschauen);
        const double scan = bench::median(scans);
        bench::benchZeile("structure.loss_preview_1m", vorschau, scan);
    }
    QFile::remove(QFileInfo(vorlage).path() + QStringLiteral("/lauf.mdb"));
    return 0;
}
