#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"
#include "widgets/Fensterleisten.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace kv;
using namespace kv::engine;

namespace {

constexpr int Zeilen = 3000;
constexpr int Name = 0;
constexpr int Umsatz = 1;
constexpr int Nr = 2;

const QString Definition = QStringLiteral("KV-Tabelle: Kunden\r\n"
                                          "SQL: SELECT * FROM Kunden\r\n"
                                          "FunktionsleisteAnzeige: 3\r\n"
                                          "VideoleisteAnzeige: 1\r\n"
                                          "Suchzeile: 1\r\n"
                                          "Spalte: ;;Name;1800;0;0;;;0\r\n"
                                          "Spalte: ;;Umsatz;1400;1;0;;;1\r\n"
                                          "Spalte: ;Nr.;ID;700;1;1;;;0\r\n");

} // namespace

// The table-view window on a table larger than its first page: the footer sums that count the
// rows too, and a new order or new conditions read in the background while the window answers.
class TestTabellenlesen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void summenZaehlenDieZeilenMit();
    void sortierungImHintergrund();
    void tasteWaehrendDesSortierens();
    void escapeNimmtDieSortierungZurueck();
    void escapeAusDerSuchzeileNimmtDieBedingungZurueck();
    void zweiterKlickErsetztDenErsten();
    void zaehlenOhneSummen();
    void oeffnenMitSortierterQuelle();
    void standardansichtErhaeltSpaltenMitDenDaten();
    void escapeBeimOeffnen();
    void aktualisierenBehaeltZeilenBeimAbbruch();
    void tasteWaehrendDesAktualisierens();
    void kopieMitFortschritt_data();
    void kopieMitFortschritt();
    void kopieAbbrechenBehaeltZeilen();
    void zweitesFensterWaehrendDerKopie();
    void ersteSeiteVorDenUebrigen();
    void escapeBehaeltDieErsteSeite();
    void tippenErsetztDieSuche();
    void fehlerImHintergrund();

private:
    /// Opens a window whose keys of all rows are read after the first page's, so that the
    /// first page can be looked at before the others come.
    void oeffneNacheinander(const QString& definition);
    QList<QString> ids(int von, int bis) const
    {
        QList<QString> liste;
        for (int zeile = von; zeile < bis; ++zeile)
            liste.append(zelle(zeile, Nr));
        return liste;
    }
    void oeffne(const QString& definition = Definition);
    DataGrid* grid() const { return m_fenster->TDBGrid1(); }
    QString zelle(int zeile, int spalte) const { return grid()->zelltext(zeile, spalte); }
    void klick(int spalte) { Q_EMIT grid()->ansicht()->horizontalHeader()->sectionClicked(spalte); }
    bool warteAufDatensaetze();
    /// A key posted before ausloesen starts a reading: for each move, whether it was handled
    /// while the keys were read (empty when no reading ran to its end).
    QList<bool> tasteWaehrendDesLesens(const std::function<void()>& ausloesen);
    Tabellenumgebung umgebung() const;
    QProgressDialog* sichtbareBox() const;
    /// Watches for the box of a copy; Escape in it cancels the copy when abbrechen.
    void boxBeobachten(bool abbrechen);
    QString m_boxtext;
    QTimer m_waechter;
    QAction* werkzeug(const QString& name) const { return m_fenster->leisten()->werkzeug(name); }
    QString fortschrittstext() const
    {
        return m_fenster->fortschritt()
            ->findChild<QLabel*>(QStringLiteral("FortschrittText"))
            ->text();
    }
    void aktualisieren()
    {
        // The box of a copy took the focus while it was shown.
        QApplication::setActiveWindow(&m_umfeld->mdi);
        grid()->ansicht()->setFocus();
        QTest::keyClick(grid()->ansicht(), Qt::Key_R, Qt::AltModifier);
    }
    void aendereName(int id, const QString& name)
    {
        m_umfeld->db->execute(
            QStringLiteral("UPDATE Kunden SET Name = '%1' WHERE ID = %2").arg(name).arg(id));
    }

    // Goes in the reverse order: the windows, the database, the dialogs, the folder.
    struct Umfeld {
        test::TempDir dir;
        test::ScriptedDialoge dialoge;
        Workspace ws;
        // K1 … K3000 with Umsatz 1 … 3000.
        std::unique_ptr<Database> db
            = test::kundenDatenbank(ws, dir.file(QStringLiteral("Firma.mdb")), Zeilen);
        QMdiArea mdi;
    };
    std::unique_ptr<Umfeld> m_umfeld;
    frmTabelle* m_fenster = nullptr;
};

void TestTabellenlesen::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_umfeld = std::make_unique<Umfeld>();
    m_umfeld->mdi.resize(900, 600);
    m_umfeld->mdi.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_umfeld->mdi));
}

void TestTabellenlesen::cleanup()
{
    m_fenster = nullptr;
    m_umfeld.reset();
    QLocale::setDefault(QLocale::c());
}

Tabellenumgebung TestTabellenlesen::umgebung() const
{
    Tabellenumgebung u;
    u.datenbank = m_umfeld->db.get();
    u.datenbankpfad = m_umfeld->db->name();
    u.modell = Recordsetansicht();
    return u;
}

void TestTabellenlesen::oeffne(const QString& definition)
{
    m_fenster
        = frmTabelle::oeffnen(&m_umfeld->mdi, umgebung(), QStringLiteral("Kunden"), definition);
    m_umfeld->mdi.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_fenster->parentWidget()));
    grid()->ansicht()->setFocus();
}

QProgressDialog* TestTabellenlesen::sichtbareBox() const
{
    for (QProgressDialog* d : m_fenster->findChildren<QProgressDialog*>()) {
        if (d->isVisible())
            return d;
    }
    return nullptr;
}

void TestTabellenlesen::boxBeobachten(bool abbrechen)
{
    m_boxtext.clear();
    m_waechter.disconnect();
    m_waechter.setInterval(0);
    connect(&m_waechter, &QTimer::timeout, this, [this, abbrechen] {
        if (QProgressDialog* box = sichtbareBox()) {
            m_boxtext = box->labelText();
            m_waechter.stop();
            if (abbrechen)
                QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    m_waechter.start();
}

bool TestTabellenlesen::warteAufDatensaetze()
{
    QSignalSpy gelesen(m_fenster, &frmTabelle::datensaetzeGelesen);
    return !m_fenster->liestDatensaetze() || gelesen.wait(20000);
}

void TestTabellenlesen::summenZaehlenDieZeilenMit()
{
    oeffne();
    // The first page shows at once; the rest is counted with the totals.
    QVERIFY(m_fenster->modell()->zaehltNoch());
    QVERIFY(m_fenster->summenLaufen());
    QCOMPARE(grid()->fusstext(Umsatz), QString());
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    QCOMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(zelle(Zeilen - 1, Name), QStringLiteral("K3000"));

    // New conditions: new totals and a new number, both exact.
    m_fenster->suchzustand().SuchArt = 3;
    m_fenster->suchzustand().SQL = QStringLiteral("Umsatz <= 10");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(grid()->datenzeilen(), 10);
    QTRY_COMPARE(grid()->fusstext(Umsatz), QStringLiteral("55"));
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::sortierungImHintergrund()
{
    oeffne();
    klick(Name);
    // Until the new keys are complete the rows stay as they were, and cannot be changed.
    QVERIFY(m_fenster->liestDatensaetze());
    QCOMPARE(zelle(1, Name), QStringLiteral("K2"));
    QVERIFY(!werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(!grid()->setzeZelltext(0, Name, QStringLiteral("Geändert")));
    auto* text = m_fenster->fortschritt()->findChild<QLabel*>(QStringLiteral("FortschrittText"));
    QVERIFY(text->text().startsWith(QStringLiteral("Bitte warten")));
    QVERIFY(text->text().contains(QStringLiteral("Esc")));

    QVERIFY(warteAufDatensaetze());
    QCOMPARE(zelle(0, Name), QStringLiteral("K1"));
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QCOMPARE(zelle(2, Name), QStringLiteral("K100"));
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(grid()->kopfstil(Name), Kopfstil::Aufsteigend);
    QVERIFY(m_fenster->aktuellesSql().contains(QStringLiteral("Order By [Name] ASC")));
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(grid()->setzeZelltext(0, Name, QStringLiteral("Geändert")));
    QVERIFY(grid()->aenderungenUebernehmen());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

QList<bool> TestTabellenlesen::tasteWaehrendDesLesens(const std::function<void()>& ausloesen)
{
    grid()->setzeAktuelleZeile(0);
    QList<bool> lasWaehrendDerTaste;
    const QMetaObject::Connection verbindung = connect(grid(), &DataGrid::aktuelleZeileGeaendert,
        this, [&] { lasWaehrendDerTaste.append(m_fenster->liestDatensaetze()); });
    // The key waits in the queue before the worker's answer can: the event loop turning while
    // the keys are read handles it first.
    QCoreApplication::postEvent(
        grid()->ansicht(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    ausloesen();
    if (!m_fenster->liestDatensaetze() || !warteAufDatensaetze())
        lasWaehrendDerTaste.clear();
    disconnect(verbindung);
    return lasWaehrendDerTaste;
}

void TestTabellenlesen::tasteWaehrendDesSortierens()
{
    oeffne();
    const QList<bool> lasWaehrendDerTaste = tasteWaehrendDesLesens([this] { klick(Name); });
    QVERIFY(!lasWaehrendDerTaste.isEmpty());
    QVERIFY(lasWaehrendDerTaste.first());
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
}

void TestTabellenlesen::escapeNimmtDieSortierungZurueck()
{
    oeffne();
    const QString vorher = m_fenster->aktuellesSql();
    QPointer<frmTabelle> fenster = m_fenster;
    klick(Name);
    QVERIFY(m_fenster->liestDatensaetze());
    // Before the bar shows, Escape takes the sort back and does not close the window.
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QVERIFY(!m_fenster->liestDatensaetze());
    // Whatever the worker still answers is dropped.
    QTest::qWait(200);
    QVERIFY(fenster);
    QCOMPARE(m_fenster->aktuellesSql(), vorher);
    QVERIFY(!m_fenster->sortierung().aktiv());
    QCOMPARE(grid()->kopfstil(Name), Kopfstil::Heading);
    QCOMPARE(zelle(1, Name), QStringLiteral("K2"));
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());

    // Without work going on, Escape is the grid's again: it closes the window.
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QTRY_VERIFY(!fenster);
}

void TestTabellenlesen::escapeAusDerSuchzeileNimmtDieBedingungZurueck()
{
    oeffne();
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    m_fenster->suchzustand().SuchArt = 3;
    m_fenster->suchzustand().SQL = QStringLiteral("Umsatz > 2990");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QVERIFY(m_fenster->liestDatensaetze());
    auto* feld = grid()->ansicht()->horizontalHeader()->findChild<QLineEdit*>(
        QStringLiteral("Suchzeile%1").arg(Name));
    QVERIFY(feld);
    QTest::keyClick(feld, Qt::Key_Escape);
    QVERIFY(!m_fenster->liestDatensaetze());
    QTest::qWait(200);
    // The rows, their number and the totals are those from before.
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(m_fenster->aktuellesSql(), QStringLiteral("SELECT * FROM Kunden"));
    QCOMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(!m_fenster->summenLaufen());
}

void TestTabellenlesen::zweiterKlickErsetztDenErsten()
{
    oeffne();
    klick(Name);
    klick(Name);
    QVERIFY(warteAufDatensaetze());
    // The second click's order: descending.
    QCOMPARE(zelle(0, Name), QStringLiteral("K999"));
    QCOMPARE(grid()->kopfstil(Name), Kopfstil::Absteigend);
    QVERIFY(m_fenster->aktuellesSql().endsWith(QStringLiteral(" Order By [Name] DESC")));
    // Cancelling after a replaced reading goes back to before the first click.
    klick(Umsatz);
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QCOMPARE(zelle(0, Name), QStringLiteral("K999"));
    QCOMPARE(m_fenster->sortierung().feld(), QStringLiteral("Name"));
}

void TestTabellenlesen::zaehlenOhneSummen()
{
    // Without sum columns the model counts by itself; the window shows it as long work too.
    oeffne(QStringLiteral("KV-Tabelle: Kunden\r\nSQL: SELECT * FROM Kunden\r\n"
                          "Spalte: ;;Name;1800;0;0;;;0\r\n"));
    QVERIFY(!m_fenster->summenLaufen());
    QVERIFY(m_fenster->modell()->zaehltNoch());
    auto* text = m_fenster->fortschritt()->findChild<QLabel*>(QStringLiteral("FortschrittText"));
    QVERIFY(text->text().startsWith(QStringLiteral("Die Datensätze werden gezählt")));
    QTRY_VERIFY(!m_fenster->modell()->zaehltNoch());
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QVERIFY(!m_fenster->fortschritt()->isVisible());
}

namespace {
const QString Absteigend = QStringLiteral("KV-Tabelle: Kunden absteigend\r\n"
                                          "SQL: SELECT * FROM Kunden ORDER BY Umsatz DESC\r\n"
                                          "FunktionsleisteAnzeige: 3\r\n"
                                          "Spalte: ;;Name;1800;0;0;;;0\r\n"
                                          "Spalte: ;;Umsatz;1400;1;0;;;1\r\n");
} // namespace

void TestTabellenlesen::oeffnenMitSortierterQuelle()
{
    oeffne(Absteigend);
    // The window is there before its records: the columns of the definition, no rows yet.
    QVERIFY(m_fenster->isVisible());
    QVERIFY(m_fenster->liestDatensaetze());
    QCOMPARE(grid()->spaltenanzahl(), 2);
    QCOMPARE(grid()->datenzeilen(), 0);
    QVERIFY(!werkzeug(QStringLiteral("Neu"))->isEnabled());
    QCOMPARE(fortschrittstext(),
        QStringLiteral("Bitte warten … Die Datensätze werden gelesen.  (Esc bricht ab)"));

    QVERIFY(warteAufDatensaetze());
    QCOMPARE(zelle(0, Name), QStringLiteral("K3000"));
    QCOMPARE(zelle(1, Name), QStringLiteral("K2999"));
    QCOMPARE(
        m_fenster->aktuellesSql(), QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(!m_fenster->gesperrt());
    // The totals follow the rows, over the whole set.
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    QCOMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QVERIFY(grid()->setzeZelltext(0, Name, QStringLiteral("Geändert")));
    QVERIFY(grid()->aenderungenUebernehmen());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::standardansichtErhaeltSpaltenMitDenDaten()
{
    // Without column records the columns are the fields of the set, known once it is read.
    oeffne(QStringLiteral(
        "KV-Tabelle: Kunden\r\n"
        "SQL: SELECT Name, Umsatz FROM Kunden WHERE Umsatz > 2990 ORDER BY Name\r\n"));
    QVERIFY(m_fenster->liestDatensaetze());
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(grid()->spaltenanzahl(), 2);
    QCOMPARE(grid()->datenfeld(1), QStringLiteral("Umsatz"));
    QCOMPARE(grid()->datenzeilen(), 10);
    QCOMPARE(zelle(0, 0), QStringLiteral("K2991"));
    QCOMPARE(zelle(9, 0), QStringLiteral("K3000"));
}

void TestTabellenlesen::escapeBeimOeffnen()
{
    oeffne(Absteigend);
    QPointer<frmTabelle> fenster = m_fenster;
    QVERIFY(m_fenster->liestDatensaetze());
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QVERIFY(!m_fenster->liestDatensaetze());
    // Whatever the worker still answers is dropped.
    QTest::qWait(200);
    QVERIFY(fenster);
    QCOMPARE(grid()->datenzeilen(), 0);
    QVERIFY(m_fenster->datensatz() == nullptr);
    QVERIFY(m_fenster->gesperrt());
    QVERIFY(!werkzeug(QStringLiteral("Kopie"))->isEnabled());
    QVERIFY(m_fenster->fortschritt()->isVisible());
    QCOMPARE(fortschrittstext(),
        QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut."));
    m_fenster->werkzeugGeklickt(QStringLiteral("kopie"));
    m_fenster->werkzeugGeklickt(QStringLiteral("löschen"));
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());

    // Alt+R reads them after all.
    aktualisieren();
    QVERIFY(m_fenster->liestDatensaetze());
    QVERIFY(fortschrittstext().startsWith(QStringLiteral("Bitte warten")));
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(zelle(0, Name), QStringLiteral("K3000"));
    QVERIFY(!m_fenster->gesperrt());
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    QVERIFY(!m_fenster->fortschritt()->isVisible());

    // With nothing going on, Escape closes the window as ever.
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QTRY_VERIFY(!fenster);
}

void TestTabellenlesen::aktualisierenBehaeltZeilenBeimAbbruch()
{
    oeffne(Absteigend);
    QVERIFY(warteAufDatensaetze());
    grid()->setzeAktuelleZeile(5);
    // Moves K3000 from the top to the bottom of the order. The cells always show the stored
    // values; what stays on a cancel is the order.
    m_umfeld->db->execute(QStringLiteral("UPDATE Kunden SET Umsatz = 0 WHERE ID = 3000"));

    aktualisieren();
    QVERIFY(m_fenster->liestDatensaetze());
    // The old order stays until the new one is complete, and Escape keeps it.
    QCOMPARE(zelle(0, Name), QStringLiteral("K3000"));
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QVERIFY(!m_fenster->liestDatensaetze());
    QTest::qWait(200);
    QCOMPARE(zelle(0, Name), QStringLiteral("K3000"));
    QCOMPARE(grid()->aktuelleZeile(), 5);
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());

    // Read to the end: the new order, on the row that was current.
    aktualisieren();
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(zelle(0, Name), QStringLiteral("K2999"));
    QCOMPARE(zelle(Zeilen - 1, Name), QStringLiteral("K3000"));
    QCOMPARE(grid()->aktuelleZeile(), 5);
    QCOMPARE(
        m_fenster->aktuellesSql(), QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::tasteWaehrendDesAktualisierens()
{
    // A filtered set from the search conditions, read anew with Alt+R.
    oeffne();
    m_fenster->suchzustand().SuchArt = 3;
    m_fenster->suchzustand().SQL = QStringLiteral("Umsatz > 100");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QVERIFY(warteAufDatensaetze());
    const QList<bool> lasWaehrendDerTaste = tasteWaehrendDesLesens([this] { aktualisieren(); });
    QVERIFY(!lasWaehrendDerTaste.isEmpty());
    QVERIFY(lasWaehrendDerTaste.first());
    // The row the key went to is current in the set read anew.
    QCOMPARE(grid()->aktuelleZeile(), 1);
    QCOMPARE(zelle(0, Name), QStringLiteral("K101"));
    QCOMPARE(grid()->datenzeilen(), Zeilen - 100);
}

namespace {
// Groups over a join: a result the window's connection copies, 3000 groups of 100 rows each.
const QString Gruppen
    = QStringLiteral("KV-Tabelle: Gruppen\r\n"
                     "SQL: SELECT K1.Name, Count(*) AS Anzahl FROM Kunden AS K1, Kunden AS K2 "
                     "WHERE K2.ID <= 100 GROUP BY K1.Name ORDER BY K1.Name\r\n"
                     "Spalte: ;;Name;1800;0;0;;;0\r\n"
                     "Spalte: ;;Anzahl;1400;1;0;;;1\r\n");
} // namespace

void TestTabellenlesen::kopieMitFortschritt_data()
{
    QTest::addColumn<bool>("abbrechen");
    QTest::newRow("zu Ende") << false;
    QTest::newRow("Escape") << true;
}

void TestTabellenlesen::kopieMitFortschritt()
{
    QFETCH(bool, abbrechen);
    // Made by hand: the box is to show at once, from the start.
    m_fenster = new frmTabelle(umgebung());
    m_umfeld->mdi.addSubWindow(m_fenster);
    m_fenster->setzeFortschrittsverzoegerung(0);
    m_fenster->show();
    boxBeobachten(abbrechen);
    m_fenster->DefText(QStringLiteral("Kunden"), Gruppen);

    QCOMPARE(m_boxtext, QStringLiteral("Bitte warten … Die Datensätze werden gelesen."));
    QVERIFY(!sichtbareBox());
    QVERIFY(!m_fenster->liestDatensaetze());
    // Cancelling is no failure: no message, an empty window that says what happened.
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
    if (abbrechen) {
        QVERIFY(m_fenster->datensatz() == nullptr);
        QCOMPARE(grid()->datenzeilen(), 0);
        QVERIFY(m_fenster->fortschritt()->isVisible());
        QCOMPARE(fortschrittstext(),
            QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut."));
        return;
    }
    QCOMPARE(zelle(0, Name), QStringLiteral("K1"));
    QCOMPARE(zelle(0, 1), QStringLiteral("100"));
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    QCOMPARE(grid()->fusstext(1), QStringLiteral("300000"));
}

void TestTabellenlesen::kopieAbbrechenBehaeltZeilen()
{
    oeffne(Gruppen);
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    m_fenster->setzeFortschrittsverzoegerung(0);
    aendereName(1, QStringLiteral("A1"));
    // Alt+R and a head click copy anew; Escape in the box keeps the rows and the order shown.
    boxBeobachten(true);
    aktualisieren();
    QVERIFY(!m_boxtext.isEmpty());
    QCOMPARE(zelle(0, Name), QStringLiteral("K1"));
    boxBeobachten(true);
    klick(1);
    QVERIFY(!m_boxtext.isEmpty());
    QVERIFY(!m_fenster->sortierung().aktiv());
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());

    boxBeobachten(false);
    aktualisieren();
    QVERIFY(!m_boxtext.isEmpty());
    QCOMPARE(zelle(0, Name), QStringLiteral("A1"));
}

void TestTabellenlesen::zweitesFensterWaehrendDerKopie()
{
    // Another window's keys and totals come while this copy holds the connection: both windows
    // end with their rows, and nothing is reported as failed.
    oeffne(Absteigend);
    frmTabelle* sortiert = m_fenster;
    QVERIFY(sortiert->liestDatensaetze());
    QSignalSpy gelesen(sortiert, &frmTabelle::datensaetzeGelesen);
    oeffne(Gruppen);
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QVERIFY(gelesen.count() > 0 || gelesen.wait(20000));
    QCOMPARE(sortiert->TDBGrid1()->zelltext(0, Name), QStringLiteral("K3000"));
    QSignalSpy fertig(sortiert, &frmTabelle::summenFertig);
    if (sortiert->summenLaufen())
        QVERIFY(fertig.wait(20000));
    QCOMPARE(sortiert->TDBGrid1()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::oeffneNacheinander(const QString& definition)
{
    m_fenster = new frmTabelle(umgebung());
    m_umfeld->mdi.addSubWindow(m_fenster);
    m_fenster->setzeAlleNachErsterSeite(true);
    m_fenster->show();
    m_umfeld->mdi.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_fenster->parentWidget()));
    m_fenster->DefText(QStringLiteral("Kunden"), definition);
    grid()->ansicht()->setFocus();
}

void TestTabellenlesen::ersteSeiteVorDenUebrigen()
{
    // Two places only: most rows tie in the view's own order, also at the first page's edge.
    m_umfeld->db->execute(
        QStringLiteral("UPDATE Kunden SET Ort = 'Aachen' WHERE Umsatz Mod 3 = 0"));
    const QString sql = QStringLiteral("SELECT * FROM Kunden ORDER BY Ort DESC");
    oeffneNacheinander(QString(Definition).replace(QStringLiteral("SELECT * FROM Kunden"), sql));
    QSignalSpy erste(m_fenster, &frmTabelle::ersteSeiteGezeigt);
    QVERIFY(erste.wait(20000));

    // A screenful and a little more, not editable yet, its number not final.
    const int seite = grid()->datenzeilen();
    QVERIFY(seite > 10 && seite < Zeilen);
    QVERIFY(m_fenster->liestDatensaetze());
    QVERIFY(m_fenster->modell()->zaehltNoch());
    QVERIFY(!werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(!grid()->setzeZelltext(0, Name, QStringLiteral("Geändert")));
    QVERIFY(fortschrittstext().startsWith(QStringLiteral("Bitte warten")));
    QCOMPARE(grid()->fusstext(Umsatz), QString());
    // Rows past the page wait for the other keys rather than show wrong ones.
    grid()->ansicht()->scrollToBottom();
    QCOMPARE(grid()->datenzeilen(), seite);
    grid()->setzeAktuelleZeile(seite - 2);
    const QList<QString> ersteSeite = ids(0, seite);
    QCOMPARE(ersteSeite.first(), QStringLiteral("1"));
    const int oben = grid()->ansicht()->verticalScrollBar()->value();

    QVERIFY(warteAufDatensaetze());
    // The others joined below: the page, the current row and the scrolling stayed.
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(ids(0, seite), ersteSeite);
    QCOMPARE(grid()->aktuelleZeile(), seite - 2);
    QCOMPARE(grid()->ansicht()->verticalScrollBar()->value(), oben);
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    // The rows are those of the set read at once, in its order (ties by the key).
    auto direkt = m_umfeld->db->openRecordset(sql);
    QList<QString> alle;
    for (; !direkt->eof(); direkt->moveNext())
        alle.append(direkt->value(QStringLiteral("ID")).toString());
    QCOMPARE(ids(0, Zeilen), alle);
    QCOMPARE(zelle(Zeilen - 1, Nr), QStringLiteral("3000"));
    QTRY_COMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(grid()->setzeZelltext(0, Name, QStringLiteral("Geändert")));
    QVERIFY(grid()->aenderungenUebernehmen());

    // Ctrl+End on a first page goes to the last record once it is known, without waiting.
    klick(Umsatz);
    QVERIFY(erste.wait(20000));
    QTest::keyClick(grid()->ansicht(), Qt::Key_End, Qt::ControlModifier);
    QVERIFY(m_fenster->liestDatensaetze());
    QCOMPARE(grid()->datenzeilen(), seite);
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(grid()->aktuelleZeile(), Zeilen - 1);
    QCOMPARE(zelle(Zeilen - 1, Name), QStringLiteral("K3000"));
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::escapeBehaeltDieErsteSeite()
{
    oeffneNacheinander(Definition);
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    klick(Name);
    QSignalSpy erste(m_fenster, &frmTabelle::ersteSeiteGezeigt);
    QVERIFY(erste.wait(20000));
    const int seite = grid()->datenzeilen();
    QTest::keyClick(grid()->ansicht(), Qt::Key_Escape);
    QVERIFY(!m_fenster->liestDatensaetze());
    QTest::qWait(200);
    // The page stays in its new order, as all the set has now, and says it is not all.
    QCOMPARE(grid()->datenzeilen(), seite);
    QCOMPARE(zelle(1, Name), QStringLiteral("K10"));
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QCOMPARE(grid()->kopfstil(Name), Kopfstil::Aufsteigend);
    QCOMPARE(fortschrittstext(),
        QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut."));
    // The order changes no total.
    QCOMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));
    QVERIFY(werkzeug(QStringLiteral("Neu"))->isEnabled());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());

    // Alt+R reads them all in that order.
    aktualisieren();
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(zelle(Zeilen - 1, Name), QStringLiteral("K999"));
    QVERIFY(!m_fenster->fortschritt()->isVisible());
}

void TestTabellenlesen::tippenErsetztDieSuche()
{
    oeffne();
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    auto* feld = grid()->ansicht()->horizontalHeader()->findChild<QLineEdit*>(
        QStringLiteral("Suchzeile%1").arg(Name));
    QVERIFY(feld);
    QSignalSpy gelesen(m_fenster, &frmTabelle::datensaetzeGelesen);
    QTest::keyClicks(feld, QStringLiteral("K1"));
    QTRY_VERIFY(m_fenster->liestDatensaetze());
    // The next key replaces the reading in flight: one answer, that of the last text.
    QTest::keyClick(feld, Qt::Key_2);
    QTRY_VERIFY(!m_fenster->liestDatensaetze());
    QTest::qWait(200);
    QCOMPARE(gelesen.count(), 1);
    // K12, K120 … K129, K1200 … K1299.
    QCOMPARE(grid()->datenzeilen(), 111);
    QCOMPARE(zelle(0, Name), QStringLiteral("K12"));
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QTRY_COMPARE(grid()->fusstext(Umsatz), QString::number(12 + 1245 + 124950));

    // Nothing found: an empty grid at once, no page to follow.
    QTest::keyClick(feld, Qt::Key_X);
    QTRY_COMPARE(gelesen.count(), 2);
    QCOMPARE(grid()->datenzeilen(), 0);
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QVERIFY(m_umfeld->dialoge.meldungen().isEmpty());
}

void TestTabellenlesen::fehlerImHintergrund()
{
    oeffne();
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    QVERIFY(fertig.wait(20000));
    const QString fehlersatz
        = QStringLiteral("Bei der Umsetzung der Suchbedingung ist ein Fehler aufgetreten!");
    // A condition that fails on the first row: the message, and the rows shown stay.
    m_fenster->suchzustand().SuchArt = 3;
    m_fenster->suchzustand().SQL = QStringLiteral("CLng(Name) > 0");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(m_umfeld->dialoge.meldungen().size(), 1);
    QVERIFY(m_umfeld->dialoge.letzteMeldung().text.startsWith(fehlersatz));
    QVERIFY(m_umfeld->dialoge.letzteMeldung().text.contains(QStringLiteral("3000")));
    QCOMPARE(grid()->datenzeilen(), Zeilen);
    QCOMPARE(m_fenster->aktuellesSql(), QStringLiteral("SELECT * FROM Kunden"));
    QCOMPARE(grid()->fusstext(Umsatz), QStringLiteral("4501500"));

    // One that fails after its first page: the page stays, as when the reading is cancelled.
    m_fenster->suchzustand().SQL = QStringLiteral("Umsatz < 200 OR CLng(Name) > 0");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QSignalSpy erste(m_fenster, &frmTabelle::ersteSeiteGezeigt);
    QVERIFY(warteAufDatensaetze());
    QCOMPARE(erste.size(), 1);
    QCOMPARE(m_umfeld->dialoge.meldungen().size(), 2);
    QVERIFY(m_umfeld->dialoge.letzteMeldung().text.startsWith(fehlersatz));
    QVERIFY(grid()->datenzeilen() < 200);
    QCOMPARE(zelle(0, Name), QStringLiteral("K1"));
    QVERIFY(!m_fenster->liestDatensaetze());
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QCOMPARE(fortschrittstext(),
        QStringLiteral("Das Lesen der Datensätze wurde abgebrochen. Alt+R liest sie erneut."));
}

QTEST_MAIN(TestTabellenlesen)
#include "tst_tabellenlesen.moc"
