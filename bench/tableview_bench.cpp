// The table-view window on large tables, offscreen, with a view of two sum columns and the search
// row, each figure next to the plain SQLite reference of the same work in the same run:
//   open      from making the window to its first rows painted; ref: the bare data grid on the
//             same record source to its first rows painted (its own first figure)
//   searchrow "Mei" typed into the name column's search row until the filtered rows are painted;
//             ref: the filtered first page and the filtered count with the plain C API
//   sums      from the end of the window's set-up (the sums start after the first paint, and
//             count the rows in the same walk) to the footer sums shown; ref: the plain SUM of
//             both columns
//   sort      a click on the unindexed name head until the sorted first rows are painted (a first
//             page read with LIMIT, the window answering meanwhile); ref: the plain keyset sort
//             (rowids ordered by Name in the engine's collation)
//   sort_keys the same click until the whole sorted key list behind the first page is read;
//             same ref
//   ctrl_end  Ctrl+End to the last row painted, once the rows are counted; ref: the plain last
//             page
// Also checked: the sums are not computed again while the user moves through the rows.
//
// Data: the Kelvado databases that grid_bench converts from ../shared/perf/gen_data.py.
//
//   tableview_bench [kunden1m.mdb] [runs] [kunden10m.mdb]   (defaults: /work/perfdata/kelvado, 3)
// The DB Browser comparisons (process start included, under Xvfb) are run by hand with
// ../shared/perf/bench_sqlitebrowser.py where that program is installed.

#include "Messhilfen.h"

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/model/RecordsetModel.h"
#include "engine/sql/Dialect.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "widgets/DataGrid.h"
#include "widgets/Rasterkopf.h"

#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;
using kv::bench::median;

namespace {

const QString Quelle = QStringLiteral("SELECT * From [Kunden]");

const QString Definition = QStringLiteral("KV-Tabelle: Kunden\r\n"
                                          "TabellenTitel: Kunden\r\n"
                                          "VideoleisteAnzeige: 1\r\n"
                                          "FunktionsleisteAnzeige: 3\r\n"
                                          "SQL: SELECT * From [Kunden]\r\n"
                                          "Suchzeile: 1\r\n"
                                          "Spalte: ;Nr.;ID;700;1;1;;;1\r\n"
                                          "Spalte: ;;Name;1800;0;0;;;0\r\n"
                                          "Spalte: ;;Vorname;1500;0;0;;;0\r\n"
                                          "Spalte: ;;Ort;1800;0;0;;;0\r\n"
                                          "Spalte: ;Geboren;Geburtsdatum;1200;0;0;Short Date;;0\r\n"
                                          "Spalte: ;;Umsatz;1400;1;0;Currency;;1\r\n");
constexpr int NameSpalte = 1;
constexpr int SeitenZeilen = 40;

// Runs plain SQL on a fresh read-only connection with the engine's collation and functions,
// reading every value as text; milliseconds, -1 on failure.
double roh(const QString& datei, const QList<QByteArray>& anweisungen)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(datei.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sql::registerFunctions(db);
    QElapsedTimer t;
    t.start();
    bool ok = true;
    for (const QByteArray& anweisung : anweisungen) {
        sqlite3_stmt* st = nullptr;
        ok = ok && sqlite3_prepare_v2(db, anweisung.constData(), -1, &st, nullptr) == SQLITE_OK;
        while (ok && sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                sqlite3_column_text(st, i);
        }
        sqlite3_finalize(st);
    }
    const double ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_close(db);
    return ok ? ms : -1;
}

// Sleeps between events instead of spinning, so that the workers have the processor.
void warteBis(const std::function<bool()>& bedingung, int ms = 600000)
{
    QElapsedTimer t;
    t.start();
    QTimer wecker;
    wecker.start(2);
    while (!bedingung() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

/// The bare grid on the view's record source: from making it to its first rows painted.
double bloesserRaster(Database& db)
{
    QElapsedTimer t;
    t.start();
    RecordsetModel modell;
    modell.setRecordset(db.openRecordset(Quelle));
    DataGrid grid;
    grid.resize(1037, 738);
    grid.setzeModell(&modell);
    bench::Malzaehler maler(grid.ansicht()->viewport());
    grid.show();
    warteBis([&] { return maler.anzahl > 0; });
    return double(t.nsecsElapsed()) / 1e6;
}

struct Lauf {
    double oeffnen = 0;
    double summen = 0;
    double summenAbOeffnen = 0;
    double suche = 0;
    double sortieren = 0;
    double sortErsteSeite = 0;
    double ende = 0;
    bool summenBeimBlaettern = false;
};

Tabellenumgebung umgebung(Database& db)
{
    Tabellenumgebung u;
    u.datenbank = &db;
    u.datenbankpfad = db.name();
    u.modell = Recordsetansicht();
    return u;
}

/// One window: open, sums, Ctrl+End, moves, search row, sort.
Lauf fenster(Database& db)
{
    Lauf l;
    QElapsedTimer t;
    t.start();
    auto* f = new frmTabelle(umgebung(db));
    QSignalSpy summen(f, &frmTabelle::summenFertig);
    f->resize(1100, 800);
    bench::Malzaehler maler(f->TDBGrid1()->ansicht()->viewport());
    f->DefText(QStringLiteral("Kunden"), Definition);
    // The sums start after the first paint and run beside the window.
    QElapsedTimer summenzeit;
    summenzeit.start();
    f->show();
    warteBis([&] { return maler.anzahl > 0; });
    l.oeffnen = double(t.nsecsElapsed()) / 1e6;
    warteBis([&] { return !summen.isEmpty(); });
    l.summen = double(summenzeit.nsecsElapsed()) / 1e6;
    l.summenAbOeffnen = double(t.nsecsElapsed()) / 1e6;

    DataGrid* grid = f->TDBGrid1();
    QTableView* ansicht = grid->ansicht();
    warteBis([&] { return !f->modell()->zaehltNoch(); });
    ansicht->setFocus();
    t.restart();
    QTest::keyClick(ansicht, Qt::Key_End, Qt::ControlModifier);
    ansicht->viewport()->repaint();
    l.ende = double(t.nsecsElapsed()) / 1e6;
    if (grid->aktuelleZeile() != grid->datenzeilen() - 1)
        std::fprintf(stderr, "Strg+Ende nicht auf der letzten Zeile\n");
    QTest::keyClick(ansicht, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(ansicht, Qt::Key_Down);
    QCoreApplication::processEvents();
    l.summenBeimBlaettern = f->summenLaufen() || summen.size() > 1;

    // "Mei" typed at once, as a quick typist does before the first requery.
    auto* kopf = qobject_cast<Rasterkopf*>(ansicht->horizontalHeader());
    QLineEdit* feld = kopf->suchfeld(NameSpalte);
    feld->setFocus();
    const QString vorher = f->aktuellesSql();
    t.restart();
    QTest::keyClicks(feld, QStringLiteral("Mei"));
    warteBis([&] { return f->aktuellesSql() != vorher; });
    const double abgefragt = double(t.nsecsElapsed()) / 1e6;
    ansicht->viewport()->repaint();
    l.suche = double(t.nsecsElapsed()) / 1e6;
    std::printf("# Suchzeile: Abfrage %.1f ms, gemalt %.1f ms\n", abgefragt, l.suche);
    if (!grid->zelltext(0, NameSpalte).startsWith(QStringLiteral("Mei"), Qt::CaseInsensitive))
        std::fprintf(stderr, "Suchzeile: erste Zeile %s\n", qPrintable(grid->zelltext(0, 1)));
    feld->clear();
    Q_EMIT grid->suchtextGeaendert(NameSpalte, QString());
    warteBis([&] { return f->suchzeilenbedingung().isEmpty(); });
    // The sort alone: the count and the sums of the unfiltered rows are done first.
    warteBis([&] { return !f->summenLaufen() && !f->modell()->zaehltNoch(); });

    QSignalSpy ersteSeite(f, &frmTabelle::ersteSeiteGezeigt);
    t.restart();
    Q_EMIT kopf->sectionClicked(NameSpalte);
    warteBis([&] { return !ersteSeite.isEmpty() || !f->liestDatensaetze(); });
    ansicht->viewport()->repaint();
    l.sortErsteSeite = double(t.nsecsElapsed()) / 1e6;
    warteBis([&] { return !f->liestDatensaetze(); });
    ansicht->viewport()->repaint();
    l.sortieren = double(t.nsecsElapsed()) / 1e6;
    if (!f->aktuellesSql().contains(QStringLiteral("ORDER BY"), Qt::CaseInsensitive))
        std::fprintf(stderr, "nicht sortiert\n");

    f->close();
    QCoreApplication::processEvents();
    return l;
}

int messen(const QString& datei, int laeufe, const QString& datei10m)
{
    Workspace ws;
    auto db = ws.openDatabase(datei);
    // Fonts, styles and the file's pages as a running program has them.
    fenster(*db);
    bloesserRaster(*db);

    std::vector<double> oeffnen, summen, suche, sortieren, sortErsteSeite, ende, raster;
    std::vector<double> rohSumme, rohSuche, rohSort, rohEnde;
    bool summenBeimBlaettern = false;
    for (int i = 0; i < laeufe; ++i) {
        raster.push_back(bloesserRaster(*db));
        const Lauf l = fenster(*db);
        oeffnen.push_back(l.oeffnen);
        summen.push_back(l.summen);
        suche.push_back(l.suche);
        sortieren.push_back(l.sortieren);
        sortErsteSeite.push_back(l.sortErsteSeite);
        ende.push_back(l.ende);
        summenBeimBlaettern = summenBeimBlaettern || l.summenBeimBlaettern;
        rohSumme.push_back(roh(datei, { "SELECT SUM(ID), SUM(Umsatz) FROM Kunden" }));
        rohSuche.push_back(roh(datei,
            { "SELECT * FROM Kunden WHERE Name LIKE 'Mei%' ORDER BY rowid LIMIT "
                    + QByteArray::number(SeitenZeilen),
                "SELECT count(*) FROM Kunden WHERE Name LIKE 'Mei%'" }));
        rohSort.push_back(roh(datei, { "SELECT rowid FROM Kunden ORDER BY Name" }));
        rohEnde.push_back(roh(datei,
            { "SELECT * FROM Kunden ORDER BY rowid DESC LIMIT "
                + QByteArray::number(SeitenZeilen) }));
        std::printf("# Lauf %d: oeffnen=%.1f raster=%.1f summen=%.1f (ab dem Oeffnen %.1f) "
                    "suche=%.1f sortiert (erste Seite %.1f, alle Schluessel %.1f) ende=%.1f\n",
            i + 1, l.oeffnen, raster.back(), l.summen, l.summenAbOeffnen, l.suche, l.sortErsteSeite,
            l.sortieren, l.ende);
        std::fflush(stdout);
    }
    bench::benchZeile("tableview.open_1m", median(oeffnen), median(raster));
    bench::benchZeile("tableview.searchrow_1m", median(suche), median(rohSuche));
    bench::benchZeile("tableview.sums_1m", median(summen), median(rohSumme));
    bench::benchZeile("tableview.sort_1m", median(sortErsteSeite), median(rohSort));
    // The whole sorted key list behind the first page, against the same plain sort.
    bench::benchZeile("tableview.sort_keys_1m", median(sortieren), median(rohSort));
    bench::benchZeile("tableview.ctrl_end_1m", median(ende), median(rohEnde));
    std::printf("# sums computed again while moving: %s\n", summenBeimBlaettern ? "ja" : "nein");
    bench::spitzenZeile("tableview.peak", double(bench::spitzeKb()) / 1024.0);
    db.reset();

    if (!datei10m.isEmpty() && QFileInfo::exists(datei10m)) {
        // The shared file is only read.
        auto gross = ws.openDatabase(datei10m, false, true);
        std::vector<double> o, r;
        for (int i = 0; i < laeufe; ++i) {
            r.push_back(bloesserRaster(*gross));
            QElapsedTimer t;
            t.start();
            auto* f = new frmTabelle(umgebung(*gross));
            f->resize(1100, 800);
            bench::Malzaehler maler(f->TDBGrid1()->ansicht()->viewport());
            f->DefText(QStringLiteral("Kunden"), Definition);
            f->show();
            warteBis([&] { return maler.anzahl > 0; });
            o.push_back(double(t.nsecsElapsed()) / 1e6);
            f->close();
            QCoreApplication::processEvents();
        }
        bench::benchZeile("tableview.open_10m", median(o), median(r));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = QCoreApplication::arguments();
    const QString datei = args.value(1, QStringLiteral("/work/perfdata/kelvado/kunden1m.mdb"));
    const int laeufe = std::max(1, args.value(2, QStringLiteral("3")).toInt());
    if (!QFileInfo::exists(datei)) {
        std::printf("# %s fehlt (grid_bench wandelt gen_data.py-Daten um)\n", qPrintable(datei));
        return 1;
    }
    return messen(
        datei, laeufe, args.value(3, QStringLiteral("/work/perfdata/kelvado/kunden10m.mdb")));
}
