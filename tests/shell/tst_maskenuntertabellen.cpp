#include "../masks/Maskendatenbank.h"
#include "Maskenfenster.h"
#include "base/Format.h"
#include "beispiel/Beispieldatenbank.h"
#include "beispiel/Beispieldefinitionen.h"
#include "engine/TableDef.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Standardmaske.h"
#include "masks/ui/Untertabelle.h"
#include "widgets/Anzeigefeld.h"
#include "widgets/DataGrid.h"

#include <QTableView>

using namespace kv;
using namespace kv::engine;

namespace {

double zahlAus(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->value(0).toDouble();
}

struct Positionsart {
    QString verknuepfung = QStringLiteral("KundenNr");
    bool sperre = false;
    bool editiersperre = false;
};

/// The standard mask of Kunden with a grid of its Positionen below the fields.
QString kundenmaske(Database& db, const Positionsart& art)
{
    Maskendefinition d = test::standardmaske(db, QStringLiteral("Kunden"));
    d.editiersperre = art.editiersperre;
    Maskenelement e
        = test::maskenelement(Maskenelementart::EingabeTabelle, QString(), 100, 4200, 6000, 2000);
    TabellenelementEinstellungen t;
    t.feldHaupttabelle = art.verknuepfung;
    t.feldUntertabelle = art.verknuepfung;
    t.sql = QStringLiteral("SELECT * FROM Positionen");
    t.sortierung = QStringLiteral("PosNr");
    t.summenspalten = { QStringLiteral("Betrag") };
    t.sperre = art.sperre;
    t.titel = QStringLiteral("Positionen");
    t.in(e);
    d.elemente.append(e);
    return maskendefinitionstext(d);
}

int spalteVon(const DataGrid* g, const QString& feld)
{
    for (int i = 0; i < g->spaltenanzahl(); ++i) {
        if (g->datenfeld(i).compare(feld, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

/// The sub-table grids of the mask window: the rows of the current main record with the grid's
/// hidden columns, widths, footer sums and lock, rows entered under the main record, and the
/// rows following their main record when it moves or goes.
class TestMaskenuntertabellen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rechnungenMitPositionen();
    void neueZeilenGehoerenZumHauptsatz();
    void markierteZeilenLoeschen();
    void sperren();
    void anfuehrungszeichenImVerknuepfungswert();
    void hauptsatzLoeschenNimmtZeilenMit();

private:
    frmMaske* kundenmaskeOeffnen(const Positionsart& art);
    std::unique_ptr<test::Maskenfenster> m_f;
};

void TestMaskenuntertabellen::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestMaskenuntertabellen::init()
{
    m_f.reset();
    m_f = std::make_unique<test::Maskenfenster>();
}

void TestMaskenuntertabellen::cleanup()
{
    const bool leer = m_f->dlg().leer();
    m_f.reset();
    QVERIFY(leer);
}

frmMaske* TestMaskenuntertabellen::kundenmaskeOeffnen(const Positionsart& art)
{
    Workspace ws;
    const QString pfad = m_f->dir().file(QStringLiteral("Masken.mdb"));
    test::maskendatenbank(ws, pfad)->close();
    if (!m_f->oeffneDatenbank(pfad))
        return nullptr;
    return m_f->oeffneMaske(QStringLiteral("Kunden"), kundenmaske(*m_f->db().db(), art));
}

void TestMaskenuntertabellen::rechnungenMitPositionen()
{
    const QString pfad = erzeugeBeispieldatenbank(m_f->dir().file(QStringLiteral("beispiel")));
    schreibeBeispieldefinitionen(pfad);
    QVERIFY(m_f->oeffneDatenbank(pfad));
    frmMaske* m = m_f->ausZentrale(QStringLiteral("Benutzer-Maske"), QStringLiteral("Rechnungen"));
    QVERIFY(m);
    QCOMPARE(m->untertabellen(), 1);
    DataGrid* g = m->untertabelle(0)->grid();
    Database& db = *m_f->db().db();

    // Number and link stay hidden; the widths come from the definition in column order.
    QCOMPARE(g->spaltenanzahl(), 6);
    QVERIFY(g->ansicht()->isColumnHidden(0));
    QVERIFY(g->ansicht()->isColumnHidden(1));
    QVERIFY(!g->ansicht()->isColumnHidden(3));
    QVERIFY(qAbs(g->spalten().at(3).breite - 1000) <= 20);
    QCOMPARE(g->spalten().at(4).format, QStringLiteral("Currency"));
    QCOMPARE(g->spalten().at(3).format, QStringLiteral("General Number"));
    QVERIFY(!g->nurLesen());

    const int menge = spalteVon(g, QStringLiteral("Menge"));
    const int betrag = spalteVon(g, QStringLiteral("Betrag"));
    auto* netto
        = qobject_cast<Anzeigefeld*>(m->steuerelement(int(m->definition().elemente.size()) - 2));
    QVERIFY(netto);
    for (int schritt = 0; schritt < 3; ++schritt) {
        const QString nr
            = m->steuerung().datensatz()->value(QStringLiteral("RechnungsNr")).toString();
        const QString wo = QStringLiteral(" FROM Rechnungspositionen WHERE RechnungsNr = ") + nr;
        QCOMPARE(g->datenzeilen(), int(zahlAus(db, QStringLiteral("SELECT Count(*)") + wo)));
        QCOMPARE(g->fusstext(menge),
            Format(zahlAus(db, QStringLiteral("SELECT Sum(Menge)") + wo),
                QStringLiteral("General Number")));
        const double summe = zahlAus(db, QStringLiteral("SELECT Sum(Menge*Einzelpreis)") + wo);
        QCOMPARE(g->fusstext(betrag), Format(summe, g->spalten().at(betrag).format));
        QCOMPARE(netto->text(), Format(summe, QStringLiteral("#,##0.00 €;-#,##0.00 €")));
        m->werkzeug(QStringLiteral("vor"));
    }
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskenuntertabellen::neueZeilenGehoerenZumHauptsatz()
{
    frmMaske* m = kundenmaskeOeffnen({});
    QVERIFY(m);
    DataGrid* g = m->untertabelle(0)->grid();
    Database& db = *m_f->db().db();
    const int betrag = spalteVon(g, QStringLiteral("Betrag"));
    QCOMPARE(g->datenzeilen(), 3);
    QCOMPARE(g->fusstext(betrag), QStringLiteral("60,5"));

    // A row written in the grid belongs to Meier, and the sum follows at once.
    QVERIFY(g->neueZeileBeginnen());
    QVERIFY(g->setzeZelltext(g->aktuelleZeile(), betrag, QStringLiteral("4,5")));
    QVERIFY(g->aenderungenUebernehmen());
    QCOMPARE(g->fusstext(betrag), QStringLiteral("65"));
    QCOMPARE(
        zahlAus(db, QStringLiteral("SELECT Count(*) FROM Positionen WHERE KundenNr = 1")), 4.0);

    // A row still being typed when the main record moves is saved under the record it was
    // typed under.
    QVERIFY(g->neueZeileBeginnen());
    QVERIFY(g->setzeZelltext(g->aktuelleZeile(), betrag, QStringLiteral("100")));
    test::Maskenfenster::klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m->steuerung().position(), 1);
    QCOMPARE(g->datenzeilen(), 2);
    QCOMPARE(g->fusstext(betrag), QStringLiteral("15"));
    QCOMPARE(
        zahlAus(db,
            QStringLiteral("SELECT Count(*) FROM Positionen WHERE KundenNr = 1 AND Betrag = 100")),
        1.0);
    test::Maskenfenster::klicke(m, Navigationsschritt::Zurueck);
    QCOMPARE(g->datenzeilen(), 5);
    QCOMPARE(g->fusstext(betrag), QStringLiteral("165"));
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskenuntertabellen::markierteZeilenLoeschen()
{
    frmMaske* m = kundenmaskeOeffnen({});
    QVERIFY(m);
    DataGrid* g = m->untertabelle(0)->grid();
    const int betrag = spalteVon(g, QStringLiteral("Betrag"));
    g->markiereZeile(0);
    g->markiereZeile(1, true);

    // "Nein" keeps the rows; "Ja" deletes them in the sub-table, and the sum follows.
    m_f->dlg().erwarteAntwort(Antwort::Nein);
    QVERIFY(!g->loescheMarkierte());
    QCOMPARE(m_f->dlg().letzteMeldung().titel, QStringLiteral("Positionen / Daten löschen"));
    QCOMPARE(m_f->dlg().letzteMeldung().text,
        QStringLiteral(
            "Möchten Sie die markierten Datensätze löschen?\n\nMarkierte Datensätze: 2"));
    QCOMPARE(g->datenzeilen(), 3);
    m_f->dlg().erwarteAntwort(Antwort::Ja);
    QVERIFY(g->loescheMarkierte());
    QCOMPARE(g->datenzeilen(), 1);
    QCOMPARE(g->fusstext(betrag), QStringLiteral("30,5"));
    QCOMPARE(zahlAus(*m_f->db().db(), QStringLiteral("SELECT Count(*) FROM Positionen")), 4.0);
}

void TestMaskenuntertabellen::sperren()
{
    {
        Positionsart art;
        art.sperre = true;
        frmMaske* m = kundenmaskeOeffnen(art);
        QVERIFY(m);
        DataGrid* g = m->untertabelle(0)->grid();
        QCOMPARE(g->datenzeilen(), 3);
        QVERIFY(g->nurLesen());
        QVERIFY(!g->neueZeileBeginnen());
        // The lock stays when the main record moves.
        m->werkzeug(QStringLiteral("vor"));
        QVERIFY(g->nurLesen());
        m->werkzeug(QStringLiteral("schließen"));
        QTRY_VERIFY(!m_f->letzteMaske());
    }
    m_f.reset();
    m_f = std::make_unique<test::Maskenfenster>();
    {
        // The mask's edit lock locks its grids too.
        Positionsart art;
        art.editiersperre = true;
        frmMaske* m = kundenmaskeOeffnen(art);
        QVERIFY(m);
        QVERIFY(m->untertabelle(0)->grid()->nurLesen());
    }
    m_f.reset();
    m_f = std::make_unique<test::Maskenfenster>();
    {
        // A new main record has no number yet: nothing can be entered under it until it is saved.
        frmMaske* m = kundenmaskeOeffnen({});
        QVERIFY(m);
        DataGrid* g = m->untertabelle(0)->grid();
        m->werkzeug(QStringLiteral("neu"));
        QCOMPARE(g->datenzeilen(), 0);
        QVERIFY(g->nurLesen());
        m->werkzeug(QStringLiteral("schließen"));
        QVERIFY(!m->steuerung().hinzufuegen());
        QCOMPARE(g->datenzeilen(), 3);
        QVERIFY(!g->nurLesen());
    }
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskenuntertabellen::anfuehrungszeichenImVerknuepfungswert()
{
    Positionsart art;
    art.verknuepfung = QStringLiteral("Name");
    frmMaske* m = kundenmaskeOeffnen(art);
    QVERIFY(m);
    DataGrid* g = m->untertabelle(0)->grid();
    m->werkzeug(QStringLiteral("vor"));
    QCOMPARE(test::Maskenfenster::feld(m, QStringLiteral("Name"))->eingabetext(),
        QStringLiteral("O'Brien"));
    QCOMPARE(g->datenzeilen(), 2);
    QCOMPARE(g->fusstext(spalteVon(g, QStringLiteral("Betrag"))), QStringLiteral("15"));
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskenuntertabellen::hauptsatzLoeschenNimmtZeilenMit()
{
    frmMaske* m = kundenmaskeOeffnen({});
    QVERIFY(m);
    Database& db = *m_f->db().db();
    DataGrid* g = m->untertabelle(0)->grid();
    QCOMPARE(g->datenzeilen(), 3);
    m->werkzeug(QStringLiteral("löschen"));
    QCOMPARE(
        zahlAus(db, QStringLiteral("SELECT Count(*) FROM Positionen WHERE KundenNr = 1")), 0.0);
    QCOMPARE(zahlAus(db, QStringLiteral("SELECT Count(*) FROM Positionen")), 3.0);
    QCOMPARE(zahlAus(db, QStringLiteral("SELECT Count(*) FROM Kunden")), 2.0);
    // The next record is shown with its own rows.
    QCOMPARE(test::Maskenfenster::feld(m, QStringLiteral("Name"))->eingabetext(),
        QStringLiteral("O'Brien"));
    QCOMPARE(g->datenzeilen(), 2);
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

QTEST_MAIN(TestMaskenuntertabellen)
#include "tst_maskenuntertabellen.moc"
