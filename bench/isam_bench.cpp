// Foreign formats on 1,000,000 rows: the customer table of ../shared/perf/gen_data.py exported
// to dBASE and to an .xlsx workbook and imported back, against the same rows written to and
// read from a CSV file with the plain SQLite C API in the same run.
//   isam.dbf_export_1m / isam.xlsx_export_1m   read with SQLite, written through the driver
//                                              (createTable + append) — against the CSV write
//   isam.dbf_import_1m / isam.xlsx_import_1m   the file attached as a table and copied into a
//                                              new local table with INSERT INTO … SELECT, the
//                                              path of the import statement — against reading
//                                              the CSV into a table with prepared INSERTs
// Each figure is followed by the process's peak memory so far. dBASE names have ten characters
// at most, so the birthday is GebDatum everywhere.
//
//   isam_bench [folder] [rows] [dbf|xlsx]   (default /tmp/anchors, all rows, both formats)

#include "Messhilfen.h"

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/isam/DbfFolder.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;

namespace {

const char* const Felder
    = "ID, Name, Vorname, Strasse, PLZ, Ort, Geburtsdatum, Umsatz, Aktiv, Notiz";

isam::IsamField feld(const char* name, int typ, int groesse = 0)
{
    isam::IsamField f;
    f.name = QString::fromLatin1(name);
    f.type = typ;
    f.size = groesse;
    return f;
}

isam::IsamFields kundenfelder()
{
    return { feld("ID", dbLong), feld("Name", dbText, 50), feld("Vorname", dbText, 50),
        feld("Strasse", dbText, 80), feld("PLZ", dbText, 5), feld("Ort", dbText, 50),
        feld("GebDatum", dbDate), feld("Umsatz", dbDouble), feld("Aktiv", dbBoolean),
        feld("Notiz", dbMemo) };
}

/// The customer rows in ID order, read with the plain C API.
struct Kundenleser {
    Kundenleser(const QString& quelle, qint64 zeilen)
    {
        sqlite3_open_v2(quelle.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        const QByteArray sql = QByteArray("SELECT ") + Felder + " FROM Kunden ORDER BY ID LIMIT "
            + QByteArray::number(zeilen);
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    }
    ~Kundenleser()
    {
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    bool next() { return sqlite3_step(st) == SQLITE_ROW; }

    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
};

QString text(sqlite3_stmt* st, int i)
{
    return QString::fromUtf8(
        reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
}

// Every customer row as the driver takes it.
void exportiere(const QString& quelle, qint64 zeilen, isam::IsamDatabase& ziel)
{
    auto t = ziel.createTable(QStringLiteral("Kunden"), kundenfelder());
    Kundenleser leser(quelle, zeilen);
    sqlite3_stmt* st = leser.st;
    isam::IsamRow row(10);
    while (leser.next()) {
        row[0] = sqlite3_column_int(st, 0);
        for (int i = 1; i <= 5; ++i)
            row[i] = text(st, i);
        // The export statement hands dates over as the stored text (driverValue).
        row[6] = isam::driverValue(text(st, 6), dbDate);
        row[7] = sqlite3_column_double(st, 7);
        row[8] = sqlite3_column_int(st, 8) != 0;
        row[9] = sqlite3_column_bytes(st, 9) ? QVariant(text(st, 9)) : QVariant();
        t->append(row);
    }
    t->flush();
}

// The import statement's path: the file attached as a table, copied into a new local one.
qint64 importiere(const QString& ziel, const QString& connect, const QString& quelle)
{
    QFile::remove(ziel);
    Workspace ws;
    auto db = ws.createDatabase(ziel);
    auto f = db->createTableDef(QStringLiteral("Fremd"));
    f->setConnect(connect);
    f->setSourceTableName(quelle);
    db->tableDefs().append(std::move(f));
    db->execute(QStringLiteral(
        "CREATE TABLE Neu (ID LONG, Name TEXT(50), Vorname TEXT(50), Strasse TEXT(80), PLZ "
        "TEXT(5), Ort TEXT(50), GebDatum DATETIME, Umsatz DOUBLE, Aktiv BIT, Notiz MEMO)"));
    db->execute(QStringLiteral("INSERT INTO Neu SELECT * FROM Fremd"));
    return db->recordsAffected();
}

void csvFeld(QByteArray& z, const char* s, int n)
{
    z += '"';
    for (int i = 0; i < n; ++i) {
        if (s[i] == '"')
            z += '"';
        z += s[i];
    }
    z += '"';
}

void csvSchreiben(const QString& quelle, qint64 zeilen, const QString& ziel)
{
    Kundenleser leser(quelle, zeilen);
    sqlite3_stmt* st = leser.st;
    FILE* out = std::fopen(ziel.toUtf8().constData(), "wb");
    QByteArray z;
    while (leser.next()) {
        z.clear();
        for (int i = 0; i < 10; ++i) {
            if (i)
                z += ',';
            const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            const int n = sqlite3_column_bytes(st, i);
            if (sqlite3_column_type(st, i) == SQLITE_TEXT)
                csvFeld(z, s, n);
            else
                z.append(s, n);
        }
        z += '\n';
        std::fwrite(z.constData(), 1, size_t(z.size()), out);
    }
    std::fclose(out);
}

qint64 csvLesen(const QString& quelle, const QString& ziel)
{
    QFile::remove(ziel);
    sqlite3* db = nullptr;
    sqlite3_open(ziel.toUtf8().constData(), &db);
    sqlite3_exec(db,
        "CREATE TABLE Neu (ID INTEGER, Name TEXT, Vorname TEXT, Strasse TEXT, PLZ TEXT, Ort "
        "TEXT, Geburtsdatum TEXT, Umsatz REAL, Aktiv INTEGER, Notiz TEXT); BEGIN",
        nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Neu VALUES (?,?,?,?,?,?,?,?,?,?)", -1, &st, nullptr);
    QFile f(quelle);
    f.open(QIODevice::ReadOnly);
    qint64 n = 0;
    QByteArray feld;
    while (!f.atEnd()) {
        const QByteArray z = f.readLine();
        int spalte = 0;
        for (qsizetype i = 0; i < z.size() && spalte < 10;) {
            feld.clear();
            bool zitiert = z[i] == '"';
            if (zitiert) {
                for (++i; i < z.size(); ++i) {
                    if (z[i] == '"' && i + 1 < z.size() && z[i + 1] == '"')
                        feld += z[++i];
                    else if (z[i] == '"')
                        break;
                    else
                        feld += z[i];
                }
                ++i;
            } else {
                for (; i < z.size() && z[i] != ',' && z[i] != '\n'; ++i)
                    feld += z[i];
            }
            if (zitiert)
                sqlite3_bind_text(
                    st, spalte + 1, feld.constData(), int(feld.size()), SQLITE_TRANSIENT);
            else if (spalte == 7)
                sqlite3_bind_double(st, spalte + 1, feld.toDouble());
            else
                sqlite3_bind_int64(st, spalte + 1, feld.toLongLong());
            ++spalte;
            ++i; // the comma
        }
        sqlite3_step(st);
        sqlite3_reset(st);
        ++n;
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return n;
}

// On a shared machine the wall clock says little; the thread's processor time goes beside it.
double sekundenMs(const std::function<void()>& f)
{
    const double cpu = bench::cpuMs();
    const double ms = bench::messe(1, f);
    std::printf("# %.0f ms, davon Prozessor %.0f ms\n", ms, bench::cpuMs() - cpu);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString ordner
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/anchors");
    const qint64 zeilen = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1000000;
    // One format alone, for a profile of just its path.
    const QByteArray nur = argc > 3 ? QByteArray(argv[3]) : QByteArray();
    const QString quelle = ordner + QStringLiteral("/kunden1m.db");
    if (!QFileInfo::exists(quelle)
        && QProcess::execute(QStringLiteral("python3"),
               { QStringLiteral("/work/shared/perf/gen_data.py"), ordner })
            != 0) {
        std::fprintf(stderr, "%s fehlt\n", qPrintable(quelle));
        return 1;
    }
    const QString arbeit = ordner + QStringLiteral("/isam");
    QDir(arbeit).removeRecursively();
    QDir().mkpath(arbeit + QStringLiteral("/dbf"));
    const QString csv = arbeit + QStringLiteral("/kunden.csv");
    const QString xlsx = arbeit + QStringLiteral("/kunden.xlsx");

    const double csvSchreibenMs = sekundenMs([&] { csvSchreiben(quelle, zeilen, csv); });
    qint64 gelesen = 0;
    const double csvLesenMs
        = sekundenMs([&] { gelesen = csvLesen(csv, arbeit + QStringLiteral("/csv.db")); });
    std::printf("# CSV: %lld Zeilen, schreiben %.0f ms, lesen %.0f ms\n", (long long)gelesen,
        csvSchreibenMs, csvLesenMs);

    if (nur.isEmpty() || nur == "dbf") {
        const double dbfExport = sekundenMs([&] {
            isam::DbfFolder ziel(arbeit + QStringLiteral("/dbf"), isam::DbfFlavor::Dbase4);
            exportiere(quelle, zeilen, ziel);
        });
        bench::benchZeile("isam.dbf_export_1m", dbfExport, csvSchreibenMs);
        bench::spitzenZeile("isam.dbf_export_1m", bench::spitzeKb() / 1024.0);
        const double dbfImport = sekundenMs([&] {
            gelesen = importiere(arbeit + QStringLiteral("/dbf.kdb"),
                QStringLiteral("dBASE IV;DATABASE=") + arbeit + QStringLiteral("/dbf"),
                QStringLiteral("Kunden"));
        });
        std::printf("# DBF: %lld Zeilen eingelesen\n", (long long)gelesen);
        bench::benchZeile("isam.dbf_import_1m", dbfImport, csvLesenMs);
        bench::spitzenZeile("isam.dbf_import_1m", bench::spitzeKb() / 1024.0);
    }
    if (nur.isEmpty() || nur == "xlsx") {

        const double xlsxExport = sekundenMs([&] {
            isam::XlsxWorkbook ziel(xlsx);
            exportiere(quelle, zeilen, ziel);
        });
        bench::benchZeile("isam.xlsx_export_1m", xlsxExport, csvSchreibenMs);
        bench::spitzenZeile("isam.xlsx_export_1m", bench::spitzeKb() / 1024.0);
        const double xlsxImport = sekundenMs([&] {
            gelesen = importiere(arbeit + QStringLiteral("/xlsx.kdb"),
                QStringLiteral("Excel 8.0;DATABASE=") + xlsx, QStringLiteral("Kunden"));
        });
        std::printf("# XLSX: %lld Zeilen eingelesen\n", (long long)gelesen);
        bench::benchZeile("isam.xlsx_import_1m", xlsxImport, csvLesenMs);
        bench::spitzenZeile("isam.xlsx_import_1m", bench::spitzeKb() / 1024.0);
    }
    QDir(arbeit).removeRecursively();
    return 0;
}
