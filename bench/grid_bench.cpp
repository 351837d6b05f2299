// The data grid on large tables, offscreen: (a) from creating the grid on a freshly opened
// dynaset to the first rows painted, (b) Ctrl+End to the last row painted, (c) page by page
// through 2,000 rows, (d) peak resident memory after (a)-(c); next to them the same first and
// last page read with the plain SQLite C API, in the same run.
//
// The rows are those of ../shared/perf/gen_data.py: kunden100k.db and kunden1m.db as it writes
// them, kunden10m.db made by its generator with 10,000,000 rows (same seed, so its first million
// rows are those of kunden1m.db). They are converted once into Kelvado databases under
// <folder>/kelvado. Every run is a fresh process, so that each peak is its own.
//
//   grid_bench [folder] [runs]        every size found (default /work/perfdata, 5 runs)
//   grid_bench --lauf <file> [ref]    one run in this process (ref: the plain reads first)
//   grid_bench --zeige <file>         the grid in a window at 0,0, for measuring by screen
//   grid_bench --bereich <file>       the screen region of its first three rows: x,y,w,h

#include "Kundentabelle.h"
#include "Messhilfen.h"
#include "Rohsql.h"

#include "base/Rastermodell.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/model/RecordsetModel.h"
#include "engine/sql/Dialect.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProcess>
#include <QStringListModel>
#include <QTableView>
#include <cstdio>
#include <map>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;
using kv::bench::median;

namespace {
constexpr int SeitenZeilen = 40; // rows of the plain reads: more than a screen
constexpr int BlaetternBis = 2000;
const QString Quelle = QStringLiteral("SELECT * From [Kunden]");

// One page of rows through the plain C API, every value read as text as a grid shows it.
double rohSeite(const QString& datei, bool letzte)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(datei.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer t;
    t.start();
    const QByteArray sql = "SELECT * FROM Kunden ORDER BY rowid" + QByteArray(letzte ? " DESC" : "")
        + " LIMIT " + QByteArray::number(SeitenZeilen);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    qint64 laenge = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char* text = sqlite3_column_text(st, i);
            laenge += text ? qint64(std::strlen(reinterpret_cast<const char*>(text))) : 0;
        }
    }
    sqlite3_finalize(st);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return laenge > 0 ? ms : -1;
}

// The columns a table view without a definition shows: formats and alignment by field type.
QList<Rasterspalte> spaltenNachTyp(const QList<Datenfeldinfo>& felder)
{
    QList<Rasterspalte> spalten;
    for (const Datenfeldinfo& f : felder) {
        Rasterspalte s;
        s.datenfeld = f.name;
        switch (f.typ) {
        case dbDate:
            s.format = QStringLiteral("Short Date");
            break;
        case dbCurrency:
            s.format = QStringLiteral("Currency");
            s.ausrichtung = Spaltenausrichtung::Rechts;
            break;
        case dbByte:
        case dbInteger:
        case dbLong:
        case dbSingle:
        case dbDouble:
            s.format = QStringLiteral("General Number");
            s.ausrichtung = Spaltenausrichtung::Rechts;
            break;
        default:
            break;
        }
        spalten.append(s);
    }
    return spalten;
}

// The grid of a table view on the whole table, as a window opens it.
struct Rasterfenster {
    explicit Rasterfenster(Database& db)
    {
        modell.setRecordset(db.openRecordset(Quelle));
        grid.resize(1037, 738);
        grid.setzeSpalten(spaltenNachTyp(modell.datenfelder()));
        grid.setzeModell(&modell);
    }
    RecordsetModel modell;
    DataGrid grid;
};

void taste(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QKeyEvent druck(QEvent::KeyPress, k, m);
    QApplication::sendEvent(w, &druck);
    QKeyEvent los(QEvent::KeyRelease, k, m);
    QApplication::sendEvent(w, &los);
}

// Paints a grid once, so that the fonts and styles a running program has ready are ready here
// too and the first measured grid does not pay for them.
void aufwaermen()
{
    QStringListModel texte({ QStringLiteral("Müller"), QStringLiteral("1.234,50 €") });
    DataGrid grid;
    grid.setzeModell(&texte);
    grid.resize(400, 200);
    grid.show();
    grid.repaint();
    QCoreApplication::processEvents();
}

int lauf(const QString& datei, bool refZuerst)
{
    double rohErste = 0;
    double rohEnde = 0;
    auto roh = [&] {
        rohErste = rohSeite(datei, false);
        rohEnde = rohSeite(datei, true);
    };
    if (refZuerst)
        roh();
    aufwaermen();
    Workspace ws;
    auto db = ws.openDatabase(datei);
    QElapsedTimer t;
    t.start();
    // (a) from the grid's making to its first rows painted
    Rasterfenster f(*db);
    bench::Malzaehler maler(f.grid.ansicht()->viewport());
    f.grid.show();
    while (maler.anzahl == 0 && t.elapsed() < 60000)
        QCoreApplication::processEvents();
    const double erste = double(t.nsecsElapsed()) / 1e6;
    if (f.grid.zelltext(0, 1).isEmpty())
        std::fprintf(stderr, "erste Zeile leer\n");

    // (b) Ctrl+End, once the rows are counted (a user takes longer than that to press it)
    while (f.modell.zaehltNoch() && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double gezaehlt = double(t.nsecsElapsed()) / 1e6;
    QTableView* ansicht = f.grid.ansicht();
    ansicht->setFocus();
    t.restart();
    taste(ansicht, Qt::Key_End, Qt::ControlModifier);
    ansicht->viewport()->repaint();
    const double ende = double(t.nsecsElapsed()) / 1e6;
    const int letzte = f.grid.datenzeilen() - 1;
    if (f.grid.aktuelleZeile() != letzte || f.grid.sichtbareZeilen().second < letzte)
        std::fprintf(stderr, "Strg+Ende nicht auf der letzten Zeile: %d von %d\n",
            f.grid.aktuelleZeile(), letzte);

    // (c) page by page from the top through the first 2,000 rows
    taste(ansicht, Qt::Key_Home, Qt::ControlModifier);
    ansicht->viewport()->repaint();
    int seiten = 0;
    const double cpuVorher = bench::cpuMs();
    t.restart();
    while (f.grid.aktuelleZeile() < BlaetternBis && seiten < 10000) {
        taste(ansicht, Qt::Key_PageDown);
        ansicht->viewport()->repaint();
        ++seiten;
    }
    const double proSeite = double(t.nsecsElapsed()) / 1e6 / std::max(seiten, 1);
    const double cpuProSeite = (bench::cpuMs() - cpuVorher) / std::max(seiten, 1);

    // (d) peak memory after (a)-(c)
    const long spitze = bench::spitzeKb();
    if (!refZuerst)
        roh();
    std::printf("LAUF erste=%.3f roh_erste=%.3f ende=%.3f roh_ende=%.3f seite=%.3f seite_cpu=%.3f "
                "seiten=%d "
                "zaehlen=%.1f spitze_kb=%ld zeilen=%d\n",
        erste, rohErste, ende, rohEnde, proSeite, cpuProSeite, seiten, gezaehlt, spitze,
        letzte + 1);
    return 0;
}

int zeige(const QString& datei)
{
    Workspace ws;
    auto db = ws.openDatabase(datei);
    Rasterfenster f(*db);
    f.grid.setWindowTitle(QStringLiteral("Kunden"));
    f.grid.move(0, 0);
    f.grid.show();
    return QApplication::exec();
}

int bereich(const QString& datei)
{
    Workspace ws;
    auto db = ws.openDatabase(datei);
    Rasterfenster f(*db);
    f.grid.move(0, 0);
    f.grid.show();
    QCoreApplication::processEvents();
    QTableView* a = f.grid.ansicht();
    const QRect erste = a->visualRect(a->model()->index(0, 1));
    const QRect dritte = a->visualRect(a->model()->index(2, 5));
    const QPoint oben = a->viewport()->mapTo(&f.grid, erste.topLeft());
    const QPoint unten = a->viewport()->mapTo(&f.grid, dritte.bottomRight());
    std::printf("%d,%d,%d,%d\n", oben.x(), oben.y(), unten.x() - oben.x(), unten.y() - oben.y());
    return 0;
}

struct Werte {
    std::map<QString, std::vector<double>> reihen;
    void add(const QString& zeile)
    {
        for (const QString& teil : zeile.split(QLatin1Char(' '))) {
            const qsizetype gleich = teil.indexOf(QLatin1Char('='));
            if (gleich > 0)
                reihen[teil.left(gleich)].push_back(teil.mid(gleich + 1).toDouble());
        }
    }
    double m(const char* name) const
    {
        const auto it = reihen.find(QString::fromLatin1(name));
        return it == reihen.end() ? 0 : median(it->second);
    }
};

int alle(const QString& ordner, int laeufe)
{
    const QString ziele = ordner + QStringLiteral("/kelvado");
    QDir().mkpath(ziele);
    std::map<QString, Werte> ergebnisse;
    for (const char* groesse : { "100k", "1m", "10m" }) {
        const QString quelle = ordner + QStringLiteral("/kunden%1.db").arg(QLatin1String(groesse));
        const QString ziel = ziele + QStringLiteral("/kunden%1.mdb").arg(QLatin1String(groesse));
        if (!QFileInfo::exists(quelle)) {
            std::printf("# %s fehlt (gen_data.py)\n", qPrintable(quelle));
            continue;
        }
        if (!QFileInfo::exists(ziel)
            || QFileInfo(ziel).lastModified() < QFileInfo(quelle).lastModified()) {
            QElapsedTimer t;
            t.start();
            if (!bench::kundentabelle(quelle, ziel))
                return 1;
            std::printf("# %s umgewandelt in %.1f s\n", groesse, double(t.elapsed()) / 1000);
        }
        Werte& w = ergebnisse[QLatin1String(groesse)];
        for (int i = 0; i < laeufe; ++i) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            if (!env.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
                const QString laufzeit = QDir::tempPath() + QStringLiteral("/grid_bench-laufzeit");
                QDir().mkpath(laufzeit);
                QFile::setPermissions(laufzeit,
                    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                env.insert(QStringLiteral("XDG_RUNTIME_DIR"), laufzeit);
            }
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            QStringList args { QStringLiteral("--lauf"), ziel };
            if (i % 2 == 1)
                args << QStringLiteral("ref");
            p.start(QCoreApplication::applicationFilePath(), args);
            p.waitForFinished(-1);
            for (const QByteArray& zeile : p.readAllStandardOutput().split('\n')) {
                if (zeile.startsWith("LAUF ")) {
                    std::printf("# %s %s\n", groesse, zeile.constData() + 5);
                    w.add(QString::fromUtf8(zeile.mid(5)));
                }
            }
            std::fflush(stdout);
        }
    }
    const auto zeile
        = [&](const char* name, const char* groesse, const char* ours, const char* ref) {
              const auto it = ergebnisse.find(QLatin1String(groesse));
              if (it != ergebnisse.end())
                  bench::benchZeile(name, it->second.m(ours), it->second.m(ref));
          };
    zeile("grid.first_rows_100k", "100k", "erste", "roh_erste");
    zeile("grid.first_rows_1m", "1m", "erste", "roh_erste");
    zeile("grid.first_rows_10m", "10m", "erste", "roh_erste");
    zeile("grid.ctrl_end_1m", "1m", "ende", "roh_ende");
    if (const auto it = ergebnisse.find(QStringLiteral("1m")); it != ergebnisse.end()) {
        bench::benchZeile("grid.page_scroll", it->second.m("seite"), 16.0);
        bench::spitzenZeile("grid.peak_1m", it->second.m("spitze_kb") / 1024.0);
        std::printf(
            "# 1m: rows counted %.0f ms after the grid was made\n", it->second.m("zaehlen"));
    }
    if (const auto it = ergebnisse.find(QStringLiteral("10m")); it != ergebnisse.end()) {
        bench::spitzenZeile("grid.peak_10m", it->second.m("spitze_kb") / 1024.0);
        std::printf(
            "# 10m: rows counted %.0f ms after the grid was made\n", it->second.m("zaehlen"));
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args.at(1) == QLatin1String("--lauf"))
        return lauf(args.at(2), args.size() >= 4);
    if (args.size() >= 3 && args.at(1) == QLatin1String("--zeige"))
        return zeige(args.at(2));
    if (args.size() >= 3 && args.at(1) == QLatin1String("--bereich"))
        return bereich(args.at(2));
    const QString ordner = args.size() >= 2 ? args.at(1) : QStringLiteral("/work/perfdata");
    const int laeufe = args.size() >= 3 ? args.at(2).toInt() : 5;
    return alle(ordner, std::max(laeufe, 1));
}
