#include "base/Fehlermeldung.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Werkzeugleiste.h"
#include "widgets/Zelleneditor.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>

using namespace kv;
using namespace kv::engine;

// The table-view window as the user meets it: opened from a definition over a real database,
// offscreen, with the scripted dialogs.
class TestFrmTabelle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void benutzeransicht();
    void gesperrteAnsichten();
    void suchzeile();
    void fehlerhafteQuelle();
    void suchzeileWoertlichUndMitF3();
    void suchbedingungFehlerBehaeltDaten();
    void kopfklickSortiert();
    void sortierfehler();
    void summen();
    void summenNichtBeimBlaettern();
    void navigationsfeldPasstUndBleibt();
    void zellpruefung();
    void kopie();
    void aktualisierenLiestNeu();
    void standardansicht();
    void hinzufuegen();
    void hinzufuegenGetippt();
    void neukopieLaesstGesperrteLeer();
    void loeschenMitFrage();
    void schliessenFragtBeiAenderungen();
    void nochNichtVerfuegbar();

private:
    frmTabelle* oeffne(const QString& text, const QString& tabelle = QStringLiteral("Kunden"));
    DataGrid* grid() const { return m_fenster->TDBGrid1(); }
    QAction* werkzeug(const QString& name) const { return m_fenster->leisten()->werkzeug(name); }
    QLineEdit* suchfeld(int spalte) const;
    QString zelle(int zeile, int spalte) const { return grid()->zelltext(zeile, spalte); }
    int spalte(const QString& feld) const;
    void tippe(const QString& text);
    void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier);
    void warteAufSummen();
    void klicke(int spalte);

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dialoge;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QMdiArea> m_mdi;
    frmTabelle* m_fenster = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_pruefer;
};

namespace {

/// Kunden: 6 customers; Ort defaults to Bonn; customer 3 has no turnover.
void kundenAnlegen(Database& db)
{
    auto t = db.createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    t->fields().append(t->createField(QStringLiteral("Name"), dbText, 50));
    auto ort = t->createField(QStringLiteral("Ort"), dbText, 50);
    ort->setDefaultValue(QStringLiteral("'Bonn'"));
    t->fields().append(std::move(ort));
    t->fields().append(t->createField(QStringLiteral("Geburt"), dbDate));
    t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
    t->fields().append(t->createField(QStringLiteral("Aktiv"), dbBoolean));
    t->fields().append(t->createField(QStringLiteral("Stufe"), dbByte));
    t->fields().append(t->createField(QStringLiteral("Notiz"), dbMemo));
    db.tableDefs().append(std::move(t));
    const char* const zeilen[] = {
        "'Meier', 'Köln', #1970-02-01 08:15:00#, 100.5, True, 1, 'eins'",
        "'Müller', 'Bonn', #1980-03-15#, 200, False, 2, Null",
        "'Schulz', 'Köln', #1990-02-01#, Null, True, 3, 'drei'",
        "'O''Neil', 'Bonn', #1970-02-01#, 50.25, False, 4, Null",
        "'Mei*er', 'Aachen', #2000-12-24#, 10, True, 5, Null",
        "'Adam', 'Aachen', #2001-01-01#, 1, False, 6, Null",
    };
    for (const char* z : zeilen) {
        db.execute(
            QStringLiteral(
                "INSERT INTO Kunden (Name, Ort, Geburt, Umsatz, Aktiv, Stufe, Notiz) VALUES (")
            + QString::fromUtf8(z) + QLatin1Char(')'));
    }
    db.createQueryDef(QStringLiteral("KundenOrte"),
        QStringLiteral("SELECT Ort, Count(*) AS Anzahl FROM Kunden GROUP BY Ort"));
}

const QString Definition
    = QStringLiteral("KV-Tabelle: Kunden mit Summen\r\n"
                     "Bedienelemente: Oben\r\n"
                     "TabellenTitel: Unsere Kunden\r\n"
                     "VideoleisteAnzeige: 1\r\n"
                     "FunktionsleisteAnzeige: 3\r\n"
                     "SQL: SELECT * FROM Kunden ORDER BY ID\r\n"
                     "VideoleisteDatenfeld: Name\r\n"
                     "Editiersperre: 0\r\n"
                     "Zwischenablageformat:{Name} aus {Ort}<crlf>Umsatz: {Umsatz} {Gibtsnicht}\r\n"
                     "Schriftgröße: 11\r\n"
                     "Zeilenhöhe: 400\r\n"
                     "FarbeHintergrundZebramuster: 255\r\n"
                     "FarbeTextAllgemein: 0\r\n"
                     "Suchzeile: 1\r\n"
                     "Zebramuster: 1\r\n"
                     "FensterMitStatuszeile: 1\r\n"
                     "Spalte: ;Kunde;Name;2880;0;0;;;0\r\n"
                     "Spalte: ;;Ort;1440;2;1;;;0\r\n"
                     "Spalte: ;Umsatz;Umsatz;1440;1;0;#,##0.00;;1\r\n"
                     "Spalte: ;Nr.;ID;720;1;1;;;1\r\n"
                     "Spalte: ;Geboren;Geburt;1440;0;0;Short Date;;0\r\n"
                     "Spalte: ;Notiz;Notiz;2000;0;0;;;0\r\n");

} // namespace

void TestFrmTabelle::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_dir = std::make_unique<test::TempDir>();
    m_dialoge = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("Firma.mdb")));
    kundenAnlegen(*m_db);
    m_mdi = std::make_unique<QMdiArea>();
    m_mdi->resize(1000, 700);
    m_mdi->show();
    m_mdi->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mdi.get()));
}

void TestFrmTabelle::cleanup()
{
    m_pruefer.reset();
    m_mdi.reset();
    m_fenster = nullptr;
    m_db.reset();
    m_ws.reset();
    m_dialoge.reset();
    m_dir.reset();
    QLocale::setDefault(QLocale::c());
}

frmTabelle* TestFrmTabelle::oeffne(const QString& text, const QString& tabelle)
{
    Tabellenumgebung u;
    u.datenbank = m_db.get();
    u.datenbankpfad = m_db->name();
    u.modell = Recordsetansicht();
    m_fenster = frmTabelle::oeffnen(m_mdi.get(), u, tabelle, text);
    m_pruefer = std::make_unique<QAbstractItemModelTester>(
        m_fenster->modell(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_fenster->parentWidget()));
    grid()->ansicht()->setFocus();
    // A sorted source reads its keys in the background: the rows come with the event loop.
    QSignalSpy gelesen(m_fenster, &frmTabelle::datensaetzeGelesen);
    if (m_fenster->liestDatensaetze())
        [&] { QVERIFY(gelesen.wait(20000)); }();
    return m_fenster;
}

QLineEdit* TestFrmTabelle::suchfeld(int spalte) const
{
    return grid()->ansicht()->horizontalHeader()->findChild<QLineEdit*>(
        QStringLiteral("Suchzeile%1").arg(spalte));
}

int TestFrmTabelle::spalte(const QString& feld) const
{
    for (int i = 0; i < grid()->spaltenanzahl(); ++i) {
        if (grid()->datenfeld(i) == feld)
            return i;
    }
    return -1;
}

void TestFrmTabelle::tippe(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void TestFrmTabelle::taste(Qt::Key k, Qt::KeyboardModifiers m)
{
    QTest::keyClick(QApplication::focusWidget(), k, m);
}

void TestFrmTabelle::warteAufSummen()
{
    QSignalSpy fertig(m_fenster, &frmTabelle::summenFertig);
    if (m_fenster->summenLaufen())
        QVERIFY(fertig.wait(20000));
}

void TestFrmTabelle::klicke(int spalte)
{
    QSignalSpy gelesen(m_fenster, &frmTabelle::datensaetzeGelesen);
    Q_EMIT grid()->ansicht()->horizontalHeader()->sectionClicked(spalte);
    if (m_fenster->liestDatensaetze())
        QVERIFY(gelesen.wait(20000));
}

void TestFrmTabelle::benutzeransicht()
{
    oeffne(Definition);
    QVERIFY(!m_fenster->standardansicht());
    QVERIFY(!m_fenster->vorgabenUmsetzen());
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Kunden mit Summen"));
    QCOMPARE(grid()->titel(), QStringLiteral("Unsere Kunden"));
    QVERIFY(grid()->zebramuster());
    QVERIFY(grid()->fusszeile());
    QCOMPARE(m_fenster->toolBarArea(m_fenster->leisten()->funktionsleiste()), Qt::TopToolBarArea);
    QVERIFY(werkzeug("Zurück")->isVisible());

    // Columns as written: an empty title shows the field name.
    QCOMPARE(grid()->spaltenanzahl(), 6);
    QCOMPARE(grid()->spaltentitel(0), QStringLiteral("Kunde"));
    QCOMPARE(grid()->spaltentitel(1), QStringLiteral("Ort"));
    QVERIFY(grid()->spalteGesperrt(1));
    QVERIFY(!grid()->spalteGesperrt(0));
    const QList<Rasterspalte> s = grid()->spalten();
    QCOMPARE(s.at(1).ausrichtung, Spaltenausrichtung::Zentriert);
    QCOMPARE(s.at(0).breite, 2880.0);
    QCOMPARE(zelle(0, 2), QStringLiteral("100,50"));

    // The zebra colour is taken, the colour 0 is not: the text keeps the grid's colour.
    QCOMPARE(grid()->farbe(Rasterfarbe::HintergrundZebramuster), QColor(255, 0, 0));
    QVERIFY(grid()->farbe(Rasterfarbe::TextAllgemein) != QColor(Qt::black)
        || QApplication::palette().color(QPalette::Text) == QColor(Qt::black));

    // The navigation bar shows the field, not the position.
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Meier"));
    m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Müller"));

    // Status line: what the current cell is.
    QVERIFY(m_fenster->leisten()->statusleiste()->isVisible());
    grid()->ansicht()->setCurrentIndex(grid()->ansicht()->model()->index(1, 1));
    QCOMPARE(
        m_fenster->leisten()->hilfstext(), QStringLiteral("Anzeige Spalte: Ort Datenfeld: Ort"));
    grid()->ansicht()->setCurrentIndex(grid()->ansicht()->model()->index(1, 0));
    QCOMPARE(
        m_fenster->leisten()->hilfstext(), QStringLiteral("Eingabe Spalte: Kunde Datenfeld: Name"));
}

void TestFrmTabelle::gesperrteAnsichten()
{
    // Locked by the definition: nothing to add, copy new or delete.
    oeffne(QStringLiteral("KV-Tabelle: Nur lesen\r\nEditiersperre: 1\r\nSQL: SELECT * FROM "
                          "Kunden\r\nFunktionsleisteAnzeige: 3\r\nVideoleisteAnzeige: 1\r\n"));
    QVERIFY(m_fenster->gesperrt());
    QVERIFY(grid()->nurLesen());
    QVERIFY(!m_fenster->leisten()->navigation()->bearbeitbar());
    for (const char* name : { "Neu", "Neukopie", "Löschen" })
        QVERIFY2(!werkzeug(QString::fromUtf8(name))->isEnabled(), name);
    QVERIFY(werkzeug("Kopie")->isEnabled());
    m_fenster->close();

    // "Editiersperre: 2" locks nothing, but a source that cannot be updated does.
    oeffne(QStringLiteral("KV-Tabelle: Orte\r\nEditiersperre: 2\r\nSQL: SELECT * FROM "
                          "KundenOrte\r\nFunktionsleisteAnzeige: 1\r\n"));
    QVERIFY(m_fenster->gesperrt());
    QVERIFY(!werkzeug("Neu")->isEnabled());
    QCOMPARE(grid()->datenzeilen(), 3);
}

void TestFrmTabelle::suchzeile()
{
    oeffne(QString());
    QLineEdit* name = suchfeld(spalte("Name"));
    QVERIFY(name);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("mei"));
    QTRY_COMPARE(grid()->datenzeilen(), 2);
    QCOMPARE(m_fenster->suchzeilenbedingung(), QStringLiteral("[Kunden].[Name] LIKE 'mei*'"));
    QCOMPARE(QApplication::focusWidget(), name);
    QCOMPARE(name->cursorPosition(), 3);
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Datensatz: 1 von 2"));

    // A date finds its whole day, also a record with a time of day.
    name->clear();
    QTest::keyClick(name, Qt::Key_Backspace);
    QLineEdit* geburt = suchfeld(spalte("Geburt"));
    geburt->setFocus();
    QTest::keyClicks(geburt, QStringLiteral("1.2.1970"));
    QTRY_COMPARE(grid()->datenzeilen(), 2);

    // No date, and Boolean or Byte columns: no condition for that column.
    geburt->clear();
    QTest::keyClicks(geburt, QStringLiteral("x"));
    QTRY_COMPARE(m_fenster->suchzeilenbedingung(), QString());
    QCOMPARE(grid()->datenzeilen(), 6);
    QLineEdit* aktiv = suchfeld(spalte("Aktiv"));
    QTest::keyClicks(aktiv, QStringLiteral("1"));
    QLineEdit* stufe = suchfeld(spalte("Stufe"));
    QTest::keyClicks(stufe, QStringLiteral("1"));
    QTRY_COMPARE(grid()->datenzeilen(), 6);
    QCOMPARE(m_fenster->suchzeilenbedingung(), QString());

    // A number column matches the beginning of the number: 100,5 and 10.
    QLineEdit* umsatz = suchfeld(spalte("Umsatz"));
    QTest::keyClicks(umsatz, QStringLiteral("10"));
    QTRY_COMPARE(grid()->datenzeilen(), 2);
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::fehlerhafteQuelle()
{
    oeffne(QStringLiteral("KV-Tabelle: Kaputt\r\nSQL: SELECT * FROM Gibtsnicht\r\n"
                          "FunktionsleisteAnzeige: 1\r\nSpalte: ;Name;Name;0;0;0;;;1\r\n"));
    QCOMPARE(m_dialoge->meldungen().size(), 1);
    QVERIFY(m_dialoge->letzteMeldung().text.startsWith(
        QStringLiteral("Bei der Einstellung der Datenquelle ist ein Fehler aufgetreten!\n\nNr: ")));
    QVERIFY(m_dialoge->letzteMeldung().text.contains(QStringLiteral("\nBeschreibung: ")));
    // An empty window that still answers: no records, no moving tools, closing works.
    QCOMPARE(grid()->datenzeilen(), 0);
    QVERIFY(!werkzeug("Kopie")->isEnabled());
    QVERIFY(werkzeug("Schließen")->isEnabled());
    m_fenster->werkzeugGeklickt(QStringLiteral("kopie"));
    m_fenster->werkzeugGeklickt(QStringLiteral("löschen"));
    QPointer<frmTabelle> fenster = m_fenster;
    m_fenster->werkzeugGeklickt(QStringLiteral("schließen"));
    QTRY_VERIFY(!fenster);
}

void TestFrmTabelle::suchzeileWoertlichUndMitF3()
{
    oeffne(QString());
    QLineEdit* name = suchfeld(spalte("Name"));
    // The star is the character, not "any text".
    QTest::keyClicks(name, QStringLiteral("Mei*"));
    QTRY_COMPARE(grid()->datenzeilen(), 1);
    QCOMPARE(zelle(0, spalte("Name")), QStringLiteral("Mei*er"));
    name->clear();
    QTest::keyClicks(name, QStringLiteral("O'"));
    // The requery follows the typed keys: wait for its rows, not for a count that is already 1.
    QTRY_COMPARE(zelle(0, spalte("Name")), QStringLiteral("O'Neil"));
    QCOMPARE(grid()->datenzeilen(), 1);
    name->clear();
    QTest::keyClicks(name, QStringLiteral("M"));
    QTRY_COMPARE(grid()->datenzeilen(), 3);

    // An active F3 search narrows together with the search row.
    F3Suchzustand& suche = m_fenster->suchzustand();
    suche.SuchArt = 3;
    suche.Aktiv = true;
    suche.SQL = QStringLiteral("Ort = 'Köln' OR Ort = 'Aachen'");
    QVERIFY(m_fenster->bedingungenAnwenden());
    QTRY_COMPARE(grid()->datenzeilen(), 2);
    QVERIFY(m_fenster->aktuellesSql().contains(
        QStringLiteral("(Ort = 'Köln' OR Ort = 'Aachen') And [Kunden].[Name] LIKE 'M*'")));
}

void TestFrmTabelle::suchbedingungFehlerBehaeltDaten()
{
    oeffne(QString());
    m_fenster->suchzustand().SuchArt = 3;
    m_fenster->suchzustand().SQL = QStringLiteral("Gibtsnicht = 1");
    QVERIFY(!m_fenster->bedingungenAnwenden());
    QVERIFY(m_dialoge->letzteMeldung().text.startsWith(
        QStringLiteral("Bei der Umsetzung der Suchbedingung ist ein Fehler aufgetreten!\n\nNr: ")));
    QCOMPARE(grid()->datenzeilen(), 6);
    QCOMPARE(m_fenster->aktuellesSql(), QStringLiteral("SELECT * From [Kunden]"));
}

void TestFrmTabelle::kopfklickSortiert()
{
    oeffne(QString());
    const int name = spalte("Name");
    const int ort = spalte("Ort");
    klicke(name);
    QCOMPARE(zelle(0, name), QStringLiteral("Adam"));
    QCOMPARE(grid()->kopfstil(name), Kopfstil::Aufsteigend);
    QVERIFY(m_fenster->aktuellesSql().endsWith(QStringLiteral(" Order By [Name] ASC")));
    // The same head again: descending.
    klicke(name);
    QCOMPARE(zelle(0, name), QStringLiteral("Schulz"));
    QCOMPARE(grid()->kopfstil(name), Kopfstil::Absteigend);
    // Another column keeps the direction; the first head is plain again.
    klicke(ort);
    QCOMPARE(zelle(0, ort), QStringLiteral("Köln"));
    QCOMPARE(grid()->kopfstil(ort), Kopfstil::Absteigend);
    QCOMPARE(grid()->kopfstil(name), Kopfstil::Heading);
    // A memo head does not sort.
    const QString vorher = m_fenster->aktuellesSql();
    klicke(spalte("Notiz"));
    QCOMPARE(m_fenster->aktuellesSql(), vorher);
    QCOMPARE(grid()->kopfstil(spalte("Notiz")), Kopfstil::Heading);

    // The sort stays when the search row narrows the records.
    QTest::keyClicks(suchfeld(name), QStringLiteral("M"));
    QTRY_COMPARE(grid()->datenzeilen(), 3);
    QCOMPARE(zelle(0, ort), QStringLiteral("Köln"));
    QCOMPARE(zelle(2, ort), QStringLiteral("Aachen"));
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::sortierfehler()
{
    oeffne(QStringLiteral("KV-Tabelle: X\r\nSQL: SELECT * FROM Kunden\r\n"
                          "Spalte: ;Fehlt;Gibtsnicht;0;0;0;;;0\r\nSpalte: ;;Name;0;0;0;;;0\r\n"));
    Q_EMIT grid()->ansicht()->horizontalHeader()->sectionClicked(0);
    QVERIFY(m_dialoge->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Sortieren!\n\nFehler: ")));
    QCOMPARE(grid()->datenzeilen(), 6);
    QVERIFY(!m_fenster->sortierung().aktiv());
    QCOMPARE(grid()->kopfstil(0), Kopfstil::Heading);
}

void TestFrmTabelle::summen()
{
    oeffne(Definition);
    warteAufSummen();
    // A Null counts 0; a format is applied, no format shows the plain total.
    QCOMPARE(grid()->fusstext(2), QStringLiteral("361,75"));
    QCOMPARE(grid()->fussausrichtung(2), Spaltenausrichtung::Rechts);
    QCOMPARE(grid()->fusstext(3), QStringLiteral("21"));
    QCOMPARE(grid()->fusstext(0), QString());

    // The search row changes the records: the sums follow.
    QTest::keyClicks(suchfeld(0), QStringLiteral("M"));
    QTRY_COMPARE(grid()->datenzeilen(), 3);
    warteAufSummen();
    QCOMPARE(grid()->fusstext(2), QStringLiteral("310,50"));
    QCOMPARE(grid()->fusstext(3), QStringLiteral("8"));

    // A view without sum columns shows no footer.
    m_fenster->close();
    oeffne(QStringLiteral("KV-Tabelle: X\r\nSQL: SELECT * FROM Kunden\r\n"
                          "Spalte: ;;Umsatz;0;1;0;;;0\r\n"));
    QVERIFY(!grid()->fusszeile());
    QVERIFY(!m_fenster->summenLaufen());
}

void TestFrmTabelle::summenNichtBeimBlaettern()
{
    oeffne(Definition);
    warteAufSummen();
    grid()->setzeFusstext(2, QStringLiteral("unberührt"));
    // Moves, tool-state updates and sorting change no total: nothing is computed again.
    m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    m_fenster->werkzeugGeklickt(QStringLiteral("zurück"));
    grid()->bewege(Navigationsschritt::Letzter);
    klicke(0);
    QVERIFY(!m_fenster->summenLaufen());
    QTest::qWait(50);
    QCOMPARE(grid()->fusstext(2), QStringLiteral("unberührt"));

    // A saved change is a data change.
    grid()->setzeAktuelleZeile(0);
    QVERIFY(grid()->setzeZelltext(0, 2, QStringLiteral("1000")));
    QVERIFY(grid()->aenderungenUebernehmen());
    warteAufSummen();
    QCOMPARE(grid()->fusstext(2).isEmpty(), false);
    QVERIFY(grid()->fusstext(2) != QStringLiteral("unberührt"));
}

void TestFrmTabelle::navigationsfeldPasstUndBleibt()
{
    // The standard view shows the record position.
    oeffne(QString());
    QLabel* feld = m_fenster->leisten()->navigation()->textfeld();
    const int anzahl = grid()->datenzeilen();
    QCOMPARE(anzahl, 6);
    const QString breitester = Positionstext(anzahl - 1, anzahl);
    QVERIFY(feld->minimumWidth() >= feld->fontMetrics().horizontalAdvance(breitester));
    const int breite = feld->minimumWidth();
    for (int i = 0; i < anzahl; ++i)
        m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    QCOMPARE(feld->text(), breitester);
    QCOMPARE(feld->minimumWidth(), breite);
}

void TestFrmTabelle::zellpruefung()
{
    oeffne(QString());
    grid()->ansicht()->setFocus();
    grid()->ansicht()->setCurrentIndex(grid()->ansicht()->model()->index(0, spalte("Umsatz")));
    tippe(QStringLiteral("abc"));
    taste(Qt::Key_Return);
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral("Es wurde kein numerischer Wert eingegeben!\n\nBitte korrigieren Sie die "
                       "Eingabe!\n\nEingabesspalte: Umsatz\nEingabewert:abc"));
    // One Escape leaves the cell; a second one on an unchanged row would close the window.
    taste(Qt::Key_Escape);
    grid()->aenderungenVerwerfen();
    grid()->ansicht()->setCurrentIndex(grid()->ansicht()->model()->index(0, spalte("Geburt")));
    tippe(QStringLiteral("31.2.x"));
    taste(Qt::Key_Return);
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral("Es wurde kein Datumswert eingegeben!\n\nBitte korrigieren Sie die "
                       "Eingabe!\n\nEingabesspalte: Geburt\nEingabewert:31.2.x"));
}

void TestFrmTabelle::kopie()
{
    oeffne(Definition);
    m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    m_fenster->werkzeugGeklickt(QStringLiteral("kopie"));
    // Values as the grid shows them; an unknown name stays as written.
    QCOMPARE(QGuiApplication::clipboard()->text(),
        QStringLiteral("Müller aus Bonn\nUmsatz: 200,00 {Gibtsnicht}"));
    m_fenster->close();

    oeffne(QString());
    m_fenster->werkzeugGeklickt(QStringLiteral("kopie"));
    QCOMPARE(QGuiApplication::clipboard()->text(),
        QStringLiteral("1\nMeier\nKöln\n01.02.1970\n100,50 €\nWahr\n1\neins\n"));
}

void TestFrmTabelle::aktualisierenLiestNeu()
{
    oeffne(QString());
    // Another program changes and deletes records.
    {
        Workspace anderer;
        auto db = anderer.openDatabase(m_db->name());
        db->execute(QStringLiteral("UPDATE Kunden SET Name = 'Meyer' WHERE ID = 1"));
    }
    grid()->ansicht()->setFocus();
    taste(Qt::Key_R, Qt::AltModifier);
    QCOMPARE(zelle(0, spalte("Name")), QStringLiteral("Meyer"));
}

void TestFrmTabelle::standardansicht()
{
    oeffne(QString());
    QVERIFY(m_fenster->standardansicht());
    QVERIFY(m_fenster->vorgabenUmsetzen());
    QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Standard-Tabelle Kunden"));
    QCOMPARE(grid()->titel(), QStringLiteral("Kunden"));
    QVERIFY(grid()->suchzeile());
    QVERIFY(!grid()->zebramuster());
    QVERIFY(!grid()->fusszeile());
    QCOMPARE(grid()->datenzeilen(), 6);
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Datensatz: 1 von 6"));
    // No stored size: the window takes most of the free area, not its bare minimum.
    const QSize frei = m_mdi->viewport()->size();
    QVERIFY(m_fenster->parentWidget()->width() >= frei.width() * 3 / 4);
    QVERIFY(m_fenster->parentWidget()->height() >= frei.height() * 3 / 4);

    // One column per field, formatted by type.
    QCOMPARE(grid()->spaltenanzahl(), 8);
    const QList<Rasterspalte> s = grid()->spalten();
    QCOMPARE(s.at(spalte("Geburt")).format, QStringLiteral("Short Date"));
    QCOMPARE(s.at(spalte("Umsatz")).format, QStringLiteral("Currency"));
    QCOMPARE(s.at(spalte("Umsatz")).ausrichtung, Spaltenausrichtung::Rechts);
    QCOMPARE(s.at(spalte("Stufe")).format, QStringLiteral("General Number"));
    QCOMPARE(s.at(spalte("Name")).ausrichtung, Spaltenausrichtung::Links);
    QCOMPARE(zelle(0, spalte("Geburt")), QStringLiteral("01.02.1970"));
    QCOMPARE(zelle(0, spalte("Umsatz")), QStringLiteral("100,50 €"));

    // Tool bar mode 1 at the bottom: every tool but Zurück and Vor.
    QToolBar* leiste = m_fenster->leisten()->funktionsleiste();
    QCOMPARE(m_fenster->toolBarArea(leiste), Qt::BottomToolBarArea);
    QVERIFY(!werkzeug("Zurück")->isVisible());
    QVERIFY(werkzeug("Neukopie")->isVisible());
    QVERIFY(werkzeug("Löschen")->isEnabled());

    m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Datensatz: 2 von 6"));
    // At the end the window stays on the last record.
    for (int i = 0; i < 8; ++i)
        m_fenster->werkzeugGeklickt(QStringLiteral("vor"));
    QCOMPARE(grid()->aktuelleZeile(), 5);
    m_fenster->werkzeugGeklickt(QStringLiteral("zurück"));
    QCOMPARE(grid()->aktuelleZeile(), 4);
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::hinzufuegen()
{
    oeffne(QString());
    warteAufSummen();
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QVERIFY(m_fenster->hinzufuegen());
    QVERIFY(grid()->imHinzufuegen());
    QCOMPARE(werkzeug("Neu")->text(), QStringLiteral("Speichern"));
    QCOMPARE(werkzeug("Neu")->statusTip(), QStringLiteral("Speichert den neuen Datensatz"));
    QCOMPARE(werkzeug("Schließen")->text(), QStringLiteral("Abbruch"));
    QCOMPARE(
        werkzeug("Schließen")->statusTip(), QStringLiteral("Eingabe abbrechen ohne Speicherung"));
    for (const char* name : { "Neukopie", "Kopie", "Löschen", "Suchen", "DruckenReport",
             "DruckenTabelle", "Vor", "Zurück" })
        QVERIFY2(!werkzeug(QString::fromUtf8(name))->isEnabled(), name);
    // The database's default is in the new row.
    const int zeile = grid()->aktuelleZeile();
    QCOMPARE(zelle(zeile, spalte("Ort")), QStringLiteral("Bonn"));

    // "Abbruch" drops the record; the captions return.
    m_fenster->werkzeugGeklickt(QStringLiteral("schließen"));
    QVERIFY(!m_fenster->hinzufuegen());
    QVERIFY(m_fenster->isVisible());
    QCOMPARE(grid()->datenzeilen(), 6);
    QCOMPARE(werkzeug("Neu")->text(), QStringLiteral("Neu"));
    QCOMPARE(werkzeug("Neu")->statusTip(), QStringLiteral("Neuen Datensatz erzeugen"));
    QCOMPARE(werkzeug("Schließen")->text(), QStringLiteral("Schließen"));
    QCOMPARE(werkzeug("Schließen")->statusTip(), QStringLiteral("Arbeitsfenster schließen"));

    // Typed and saved with "Speichern".
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    grid()->setzeZelltext(grid()->aktuelleZeile(), spalte("Name"), QStringLiteral("Neumann"));
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QVERIFY(!m_fenster->hinzufuegen());
    QCOMPARE(grid()->datenzeilen(), 7);
    auto rs = m_db->openRecordset(QStringLiteral("SELECT Ort FROM Kunden WHERE Name = 'Neumann'"));
    QCOMPARE(rs->value(0).toString(), QStringLiteral("Bonn"));
    // The saved record is the current one, and the tools follow it.
    QCOMPARE(grid()->aktuelleZeile(), 6);
    QCOMPARE(m_fenster->datensatz()->value(QStringLiteral("Name")).toString(),
        QStringLiteral("Neumann"));
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Datensatz: 7 von 7"));
    for (const char* name : { "Neukopie", "Kopie", "Löschen", "Suchen" })
        QVERIFY2(werkzeug(QString::fromUtf8(name))->isEnabled(), name);
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::hinzufuegenGetippt()
{
    // Typing into the add-new row of the standard view, which puts the defaults in.
    oeffne(QString());
    QTableView* ansicht = grid()->ansicht();
    ansicht->setCurrentIndex(ansicht->model()->index(grid()->datenzeilen(), spalte("Name")));
    ansicht->setFocus();
    // The first key opens the editor and begins the record; the default put into the row
    // meanwhile must not take the typed letters away.
    tippe(QStringLiteral("Zander"));
    QVERIFY(m_fenster->hinzufuegen());
    QCOMPARE(zelle(grid()->aktuelleZeile(), spalte("Ort")), QStringLiteral("Bonn"));
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QVERIFY(!m_fenster->hinzufuegen());
    auto rs = m_db->openRecordset(QStringLiteral("SELECT Ort FROM Kunden WHERE Name = 'Zander'"));
    QVERIFY(!rs->eof());
    QCOMPARE(rs->value(0).toString(), QStringLiteral("Bonn"));
    m_pruefer.reset();
    QVERIFY(m_fenster->close());

    // Tool bar mode 3 shows Vor and Zurück: after the save they follow the saved record.
    oeffne(Definition);
    warteAufSummen();
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QVERIFY(!werkzeug("Vor")->isEnabled());
    grid()->setzeZelltext(grid()->aktuelleZeile(), 0, QStringLiteral("Zimmer"));
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QVERIFY(!m_fenster->hinzufuegen());
    QCOMPARE(grid()->datenzeilen(), 8);
    QCOMPARE(grid()->aktuelleZeile(), 7);
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Zimmer"));
    QVERIFY(werkzeug("Vor")->isVisible());
    QVERIFY(werkzeug("Vor")->isEnabled());
    QVERIFY(werkzeug("Zurück")->isEnabled());
    m_fenster->werkzeugGeklickt(QStringLiteral("zurück"));
    QCOMPARE(grid()->aktuelleZeile(), 6);
    QCOMPARE(m_fenster->leisten()->navigation()->text(), QStringLiteral("Zander"));
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::neukopieLaesstGesperrteLeer()
{
    oeffne(Definition);
    m_fenster->werkzeugGeklickt(QStringLiteral("neukopie"));
    QVERIFY(m_fenster->hinzufuegen());
    const int zeile = grid()->aktuelleZeile();
    // The first column holds the open editor: its copy is in the row as well.
    QVERIFY(grid()->inBearbeitung());
    QCOMPARE(grid()->aktuelleSpalte(), 0);
    QCOMPARE(zelle(zeile, 0), QStringLiteral("Meier"));
    QCOMPARE(zelle(zeile, 2), QStringLiteral("100,50"));
    QCOMPARE(zelle(zeile, 4), QStringLiteral("01.02.1970"));
    // Ort and ID are locked: not copied, so they show what any new record has (the table's
    // default and the next counter value).
    QCOMPARE(zelle(zeile, 1), QStringLiteral("Bonn"));
    QCOMPARE(zelle(zeile, 3), QStringLiteral("7"));
    m_fenster->werkzeugGeklickt(QStringLiteral("neu"));
    QCOMPARE(grid()->datenzeilen(), 7);
    auto rs = m_db->openRecordset(QStringLiteral("SELECT Count(*) FROM Kunden WHERE Name = "
                                                 "'Meier' AND Umsatz = 100.5 AND Ort = 'Bonn'"));
    QCOMPARE(rs->value(0).toInt(), 1);
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestFrmTabelle::loeschenMitFrage()
{
    oeffne(QString());
    grid()->markiereZeile(0);
    grid()->markiereZeile(1, true);
    m_dialoge->erwarteAntwort(Antwort::Nein);
    m_fenster->werkzeugGeklickt(QStringLiteral("löschen"));
    const Meldung frage = m_dialoge->letzteMeldung();
    QCOMPARE(frage.text,
        QStringLiteral(
            "Möchten Sie die markierten Datensätze löschen?\n\nMarkierte Datensätze: 2"));
    QCOMPARE(frage.titel, QStringLiteral("Daten löschen"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QCOMPARE(grid()->datenzeilen(), 6);

    m_dialoge->erwarteAntwort(Antwort::Ja);
    grid()->markiereZeile(0);
    grid()->markiereZeile(1, true);
    m_fenster->werkzeugGeklickt(QStringLiteral("löschen"));
    QCOMPARE(grid()->datenzeilen(), 4);

    // Without a mark the current row goes, without a question.
    m_dialoge->vergiss();
    grid()->setzeAktuelleZeile(0);
    m_fenster->werkzeugGeklickt(QStringLiteral("löschen"));
    QCOMPARE(grid()->datenzeilen(), 3);
    QVERIFY(m_dialoge->meldungen().isEmpty());

    // Shift+Delete in the grid: the current row only.
    grid()->ansicht()->setFocus();
    taste(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(grid()->datenzeilen(), 2);
    QVERIFY(m_dialoge->leer());
}

void TestFrmTabelle::schliessenFragtBeiAenderungen()
{
    oeffne(QString());
    QVERIFY(grid()->setzeZelltext(0, spalte("Name"), QStringLiteral("Geändert")));
    m_dialoge->erwarteAntwort(Antwort::Abbrechen);
    QVERIFY(!m_fenster->close());
    QCOMPARE(m_dialoge->letzteMeldung().knoepfe, Knoepfe::JaNeinAbbrechen);
    QVERIFY(m_dialoge->letzteMeldung().text.contains(
        QStringLiteral("Möchten Sie die Änderungen speichern?")));
    m_dialoge->erwarteAntwort(Antwort::Ja);
    QPointer<frmTabelle> fenster = m_fenster;
    QVERIFY(m_fenster->close());
    auto rs = m_db->openRecordset(QStringLiteral("SELECT Name FROM Kunden WHERE ID = 1"));
    QCOMPARE(rs->value(0).toString(), QStringLiteral("Geändert"));
}

void TestFrmTabelle::nochNichtVerfuegbar()
{
    oeffne(QString());
    const QString text
        = QStringLiteral("Dieses Fenster ist in dieser Version noch nicht verfügbar.");
    for (const char* name : { "suchen", "druckenreport", "druckentabelle" }) {
        m_dialoge->vergiss();
        m_fenster->werkzeugGeklickt(QString::fromUtf8(name));
        QCOMPARE(m_dialoge->letzteMeldung().text, text);
    }
    grid()->ansicht()->setFocus();
    for (Qt::Key k : { Qt::Key_F3, Qt::Key_F5, Qt::Key_F8 }) {
        m_dialoge->vergiss();
        taste(k);
        QCOMPARE(m_dialoge->letzteMeldung().text, text);
    }
}

QTEST_MAIN(TestFrmTabelle)
#include "tst_frmtabelle.moc"
