// The mask window on large data, offscreen:
// - mask.open_1m: a mask with 20 elements over the 1,000,000 customers, from creating the
//   window to its first record shown; next to it the table view opened on the same table in
//   the same run.
// - mask.move: a record move in that mask (next, previous, a jump to the last), median.
// - mask.move_3subgrids: a move in an invoice mask with three sub-table grids of 1,000 rows
//   each, their sums and a formula over them, median.
//
// The customers are those of ../shared/perf/gen_data.py (generated into /tmp/anchors when they
// are missing), converted once into a Kelvado database in the folder given (default
// /tmp/maskbench); the invoices are made there too.
//
//   mask_bench [folder] [runs]

#include "Kundentabelle.h"
#include "Messhilfen.h"
#include "Rohsql.h"

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "engine/sql/Dialect.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Standardmaske.h"
#include "masks/ui/frmMaske.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "widgets/Fensterleisten.h"
#include "widgets/Navigationsleiste.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>
#include <cstdio>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;

namespace {

constexpr int Positionen = 1000;
constexpr int Rechnungen = 12;

// Invoices with 1,000 items each in three tables (articles, services, discounts).
void rechnungenAnlegen(Database& db)
{
    auto r = db.createTableDef(QStringLiteral("Rechnungen"));
    auto nr = r->createField(QStringLiteral("RechnungsNr"), dbLong);
    nr->setAttributes(dbFixedField | dbAutoIncrField);
    r->fields().append(std::move(nr));
    r->fields().append(r->createField(QStringLiteral("Kunde"), dbText, 50));
    db.tableDefs().append(std::move(r));
    for (const char* tabelle : { "Artikel", "Leistungen", "Nachlaesse" }) {
        auto t = db.createTableDef(QLatin1String(tabelle));
        auto pos = t->createField(QStringLiteral("PosNr"), dbLong);
        pos->setAttributes(dbFixedField | dbAutoIncrField);
        t->fields().append(std::move(pos));
        t->fields().append(t->createField(QStringLiteral("RechnungsNr"), dbLong));
        t->fields().append(t->createField(QStringLiteral("Text"), dbText, 50));
        t->fields().append(t->createField(QStringLiteral("Menge"), dbLong));
        t->fields().append(t->createField(QStringLiteral("Betrag"), dbCurrency));
        auto i = t->createIndex(QStringLiteral("RechnungsNr"));
        i->appendField(QStringLiteral("RechnungsNr"));
        t->indexes().append(std::move(i));
        db.tableDefs().append(std::move(t));
    }
}

bool datenBereitstellen(const QString& ordner, QString& kunden, QString& rechnungen)
{
    QDir().mkpath(ordner);
    kunden = ordner + QStringLiteral("/kunden1m.mdb");
    rechnungen = ordner + QStringLiteral("/rechnungen.mdb");
    if (!QFileInfo::exists(kunden)) {
        const QString quelle = QStringLiteral("/tmp/anchors/kunden1m.db");
        if (!bench::kundenrohdaten(quelle, 1000000) || !bench::kundentabelle(quelle, kunden))
            return false;
    }
    if (!QFileInfo::exists(rechnungen)) {
        {
            Workspace ws;
            auto db = ws.createDatabase(rechnungen);
            rechnungenAnlegen(*db);
        }
        QByteArray sql = "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                         "WHERE i < "
            + QByteArray::number(Rechnungen)
            + ") INSERT INTO Rechnungen (Kunde) SELECT 'Kunde ' || i FROM n; ";
        for (const char* t : { "Artikel", "Leistungen", "Nachlaesse" }) {
            sql += "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < "
                + QByteArray::number(Rechnungen * Positionen - 1) + ") INSERT INTO " + t
                + " (RechnungsNr, Text, Menge, Betrag) SELECT i / " + QByteArray::number(Positionen)
                + " + 1, 'Position ' || i, i % 7 + 1, (i % 97) * 1.25 FROM n; ";
        }
        sql += "COMMIT;";
        if (!bench::rohAusfuehren(rechnungen, sql)) {
            QFile::remove(rechnungen);
            return false;
        }
    }
    return true;
}

// The standard mask of the customers and ten display texts of the same fields: 20 elements.
QString kundenmaske(Database& db)
{
    Maskendefinition d
        = leseMaskendefinition(standardmaskentext(QStringLiteral("Kunden"),
                                   maskenfelder(*db.tableDefs().find(QStringLiteral("Kunden"))),
                                   300, Standardmaskenvariante::Fenster))
              .definition;
    const qsizetype felder = d.elemente.size();
    for (qsizetype i = 0; d.elemente.size() < 20; ++i) {
        Maskenelement e = d.elemente.at(i % felder);
        e.art = Maskenelementart::AnzeigeText;
        e.links += 6000;
        AnzeigetextEinstellungen a;
        a.in(e);
        d.elemente.append(e);
    }
    return maskendefinitionstext(d);
}

Maskenelement platziert(Maskenelementart art, const QRect& twips)
{
    Maskenelement e;
    e.art = art;
    e.links = twips.x();
    e.oben = twips.y();
    e.breite = twips.width();
    e.hoehe = twips.height();
    return e;
}

QString rechnungsmaske()
{
    Maskendefinition d;
    d.titel = QStringLiteral("Rechnung");
    d.sql = QStringLiteral("SELECT * FROM Rechnungen ORDER BY RechnungsNr");
    d.breite = 12000;
    d.hoehe = 9000;
    Maskenelement kunde = platziert(Maskenelementart::EingabeText, QRect(1500, 100, 3000, 300));
    kunde.datenfeld = QStringLiteral("Kunde");
    d.elemente.append(kunde);
    int oben = 500;
    for (const char* t : { "Artikel", "Leistungen", "Nachlaesse" }) {
        Maskenelement e
            = platziert(Maskenelementart::EingabeTabelle, QRect(100, oben, 11000, 2400));
        oben += 2600;
        TabellenelementEinstellungen s;
        s.feldHaupttabelle = QStringLiteral("RechnungsNr");
        s.feldUntertabelle = QStringLiteral("RechnungsNr");
        s.sql = QStringLiteral("SELECT * FROM ") + QLatin1String(t);
        s.sortierung = QStringLiteral("PosNr");
        s.versteckteSpalten = { QStringLiteral("PosNr"), QStringLiteral("RechnungsNr") };
        s.summenspalten = { QStringLiteral("Menge"), QStringLiteral("Betrag") };
        s.titel = QLatin1String(t);
        s.in(e);
        d.elemente.append(e);
    }
    Maskenelement summe = platziert(Maskenelementart::AnzeigeText, QRect(6000, 100, 2000, 300));
    AnzeigetextEinstellungen a;
    a.formel = QStringLiteral("{@1/Betrag}+{@2/Betrag}-{@3/Betrag}");
    a.in(summe);
    d.elemente.append(summe);
    return maskendefinitionstext(d);
}

void zeichnen()
{
    QApplication::processEvents();
}

double oeffnenMessen(const std::function<QWidget*()>& oeffne)
{
    QElapsedTimer t;
    t.start();
    QWidget* fenster = oeffne();
    zeichnen();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (auto* rahmen = qobject_cast<QMdiSubWindow*>(fenster->parentWidget()))
        rahmen->close();
    zeichnen();
    return ms;
}

// Median of moves through the tools: forward, back, and jumps to the last and first record.
double bewegenMessen(frmMaske* m, int laeufe)
{
    std::vector<double> zeiten;
    const auto schritt = [&](const std::function<void()>& f) {
        QElapsedTimer t;
        t.start();
        f();
        zeichnen();
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
    };
    for (int i = 0; i < laeufe; ++i) {
        for (int k = 0; k < 5; ++k)
            schritt([m] { m->werkzeug(QStringLiteral("vor")); });
        for (int k = 0; k < 5; ++k)
            schritt([m] { m->werkzeug(QStringLiteral("zurück")); });
        schritt([m] { m->leisten()->navigation()->knopf(Navigationsschritt::Letzter)->click(); });
        schritt([m] { m->leisten()->navigation()->knopf(Navigationsschritt::Erster)->click(); });
    }
    return bench::median(zeiten);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList args = app.arguments();
    const QString ordner = args.value(1, QStringLiteral("/tmp/maskbench"));
    const int laeufe = std::max(1, args.value(2, QStringLiteral("5")).toInt());
    QString kundenDatei;
    QString rechnungsDatei;
    if (!datenBereitstellen(ordner, kundenDatei, rechnungsDatei)) {
        std::fprintf(stderr, "Die Daten konnten nicht bereitgestellt werden.\n");
        return 1;
    }

    QMdiArea mdi;
    mdi.resize(1200, 900);
    mdi.show();
    Maskenumgebung u;
    u.schrift = app.font();
    u.leisten.schrift = app.font();
    {
        Workspace ws;
        auto db = ws.openDatabase(kundenDatei);
        const QString text = kundenmaske(*db);
        Tabellenumgebung t;
        t.datenbank = db.get();
        t.datenbankpfad = kundenDatei;
        t.schrift = app.font();
        t.leisten.schrift = app.font();
        t.modell = Recordsetansicht();
        std::vector<double> maske;
        std::vector<double> tabelle;
        for (int i = 0; i < laeufe; ++i) {
            tabelle.push_back(oeffnenMessen(
                [&] { return frmTabelle::oeffnen(&mdi, t, QStringLiteral("Kunden"), QString()); }));
            maske.push_back(oeffnenMessen(
                [&] { return frmMaske::oeffne(&mdi, *db, u, QStringLiteral("Kunden"), text); }));
        }
        bench::benchZeile("mask.open_1m", bench::median(maske), bench::median(tabelle));
        frmMaske* m = frmMaske::oeffne(&mdi, *db, u, QStringLiteral("Kunden"), text);
        zeichnen();
        bench::benchZeile("mask.move", bewegenMessen(m, laeufe), 16);
        mdi.closeAllSubWindows();
        zeichnen();
    }
    {
        Workspace ws;
        auto db = ws.openDatabase(rechnungsDatei);
        frmMaske* m
            = frmMaske::oeffne(&mdi, *db, u, QStringLiteral("Rechnungen"), rechnungsmaske());
        zeichnen();
        if (m->untertabellen() != 3 || m->steuerung().anzahl() != Rechnungen) {
            std::fprintf(stderr, "Die Rechnungsmaske zeigt nicht, was sie soll.\n");
            return 1;
        }
        bench::benchZeile("mask.move_3subgrids", bewegenMessen(m, laeufe), 50);
        mdi.closeAllSubWindows();
        zeichnen();
    }
    return 0;
}
