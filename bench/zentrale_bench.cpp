// The central navigator rebuilds its list after every open: a large database with many tables
// and a folder full of definition files must still come up at once. The reference is the
// target time (500 ms) for 5,000 tables and 2,000 definition files.
#include "base/Windows1252.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "shell/Zentraleliste.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace kv;
using namespace kv::engine;

namespace {

constexpr int k_tabellen = 5000;
constexpr int k_dateien = 2000;
constexpr int k_fremde = 500;
constexpr int k_abfragen = 200;
constexpr int k_laeufe = 7;
constexpr double k_ziel_ms = 500.0;

/// A definition file of realistic size: the title line and some element lines.
QString definitionstext(bool maske, int nummer)
{
    QString text = (maske ? QStringLiteral("KV-Maske: Erfassung %1\r\n")
                          : QStringLiteral("KV-Tabelle: Übersicht %1\r\n"))
                       .arg(nummer);
    text += QStringLiteral("SQL: SELECT * FROM [Tabelle%1]\r\n")
                .arg(nummer % k_tabellen, 4, 10, QLatin1Char('0'));
    for (int i = 0; i < 40; ++i)
        text += maske ? QStringLiteral("Element: EingabeText;0;Feld%1;Feld %1:;0;;240;%2;2400;300;"
                                       "0;0;0;0;0;0;0;0;0;0\r\n")
                            .arg(i)
                            .arg(i * 360)
                      : QStringLiteral("Spalte: Feld%1;Feld %1;0;0;0;;1200\r\n").arg(i);
    return text;
}

void legeTabellenAn(const QString& pfad, int von, int bis)
{
    sqlite3* roh = nullptr;
    sqlite3_open(pfad.toUtf8().constData(), &roh);
    QString sql = QStringLiteral("BEGIN;");
    for (int i = von; i < bis; ++i)
        sql += QStringLiteral("CREATE TABLE [Tabelle%1] (ID INTEGER, Name VARCHAR(50));")
                   .arg(i, 4, 10, QLatin1Char('0'));
    sql += QStringLiteral("COMMIT;");
    sqlite3_exec(roh, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close(roh);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("Gross.mdb"));
    {
        Workspace ws;
        auto db = ws.createDatabase(pfad);
        db->close();
    }
    // The queries' tables first, then the queries, then the other tables: the engine rebuilds
    // its generated objects on every new table or query, which would make the set-up, not the
    // list, the slow part. The tables go straight through SQLite.
    legeTabellenAn(pfad, 0, k_abfragen);
    {
        Workspace ws;
        auto db = ws.openDatabase(pfad);
        for (int i = 0; i < k_abfragen; ++i) {
            const QString tabelle = QStringLiteral("[Tabelle%1]").arg(i, 4, 10, QLatin1Char('0'));
            // Every fourth query is an action query, which the list leaves out.
            db->createQueryDef(QStringLiteral("Abfrage%1").arg(i),
                i % 4 == 3 ? QStringLiteral("UPDATE ") + tabelle + QStringLiteral(" SET Name = 'x'")
                           : QStringLiteral("SELECT * FROM ") + tabelle
                        + QStringLiteral(" WHERE ID > 10 ORDER BY Name"));
        }
        db->close();
    }
    legeTabellenAn(pfad, k_abfragen, k_tabellen);
    for (int i = 0; i < k_dateien; ++i) {
        const bool maske = i % 2 == 0;
        schreibeTextdatei(
            dir.filePath(QStringLiteral("Gross_KELVAD_Definition%1%2")
                             .arg(i)
                             .arg(maske ? QStringLiteral(".MSK") : QStringLiteral(".TSK"))),
            definitionstext(maske, i));
    }
    for (int i = 0; i < k_fremde; ++i)
        schreibeTextdatei(dir.filePath(QStringLiteral("Andere_KELVAD_Definition%1.MSK").arg(i)),
            definitionstext(true, i));

    std::vector<double> zeiten;
    qsizetype zeilen = 0;
    for (int lauf = 0; lauf < k_laeufe; ++lauf) {
        // As after an open: the database has not read its catalog yet.
        Workspace ws;
        auto db = ws.openDatabase(pfad);
        Zentraleliste liste;
        QElapsedTimer t;
        t.start();
        liste.ListenRefresh(*db, pfad, 1, Zentraleschalter());
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
        zeilen = liste.zeilen().size();
    }
    std::sort(zeiten.begin(), zeiten.end());
    const double ours = zeiten[zeiten.size() / 2];
    std::printf("rows=%lld\n", static_cast<long long>(zeilen));
    std::printf("BENCH zentrale.listenrefresh ours_ms=%.2f ref_ms=%.2f ratio=%.2f\n", ours,
        k_ziel_ms, ours / k_ziel_ms);
    return zeilen == 2 * k_tabellen + k_dateien + k_abfragen * 3 / 4 ? 0 : 1;
}
