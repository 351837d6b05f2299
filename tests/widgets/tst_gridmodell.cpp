// The data grid on the model over a record set of a real file: what the user does in a table
// view reaches the file, and what goes wrong shows the German message.

#include "Rasterbedienung.h"
#include "engine/Recordset.h"
#include "engine/model/RecordsetModel.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"
#include "widgets/Zelleneditor.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;
using namespace kv::test::Kunde;

namespace {

struct Aufbau {
    explicit Aufbau(int zeilen)
        : db(test::kundenDatenbank(ws, dir.file(QStringLiteral("a.kdb")), zeilen))
    {
        modell.setRecordset(db->openRecordset(QStringLiteral("SELECT * From [Kunden]")));
        grid.resize(700, 300);
        grid.setzeSpalten(
            { { QStringLiteral("ID"), {}, 720, Spaltenausrichtung::Rechts, true, {}, true },
                { QStringLiteral("Name"), QStringLiteral("Kunde"), 1440, Spaltenausrichtung::Links,
                    false, {}, true },
                { QStringLiteral("Ort"), {}, 1440, Spaltenausrichtung::Links, false, {}, true },
                { QStringLiteral("Umsatz"), {}, 1440, Spaltenausrichtung::Rechts, false,
                    QStringLiteral("Currency"), true } });
        grid.setzeModell(&modell);
        proxypruefer = test::zeigeAktiv(grid);
    }
    bool bereit() { return QTest::qWaitForWindowActive(&grid); }
    QTableView* ansicht() const { return grid.ansicht(); }
    void gehe(int zeile, int spalte) { test::geheZu(grid, zeile, spalte); }
    void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { test::drueckeTaste(k, m); }
    void tippe(const QString& text)
    {
        taste(Qt::Key_F2);
        auto* editor = qobject_cast<Zelleneditor*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->setzeText(text);
        taste(Qt::Key_Return);
    }
    int anzahl(const QString& sql) { return db->openRecordset(sql)->value(0).toInt(); }
    Recordset& rs() { return *modell.recordset(); }

    test::ScriptedDialoge dialoge;
    test::TempDir dir;
    engine::Workspace ws;
    std::unique_ptr<Database> db;
    RecordsetModel modell;
    QAbstractItemModelTester pruefer { &modell,
        QAbstractItemModelTester::FailureReportingMode::QtTest };
    DataGrid grid;
    std::unique_ptr<QAbstractItemModelTester> proxypruefer;
};

// Column indexes of the grid above.
enum Rasterspalte { SpalteID, SpalteName, SpalteOrt, SpalteUmsatz };

} // namespace

class TestGridModell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void zeileAendernUndWeitergehen();
    void pruefregelBeimWeitergehen();
    void neueZeileUndLoeschenMitFrage();
    void navigationBewegtDieMenge();
    void gesperrteDateiEineMeldung();
    void strgEndeWaehrendDesZaehlens();
    void strgEndeUndZurueckNachDemZaehlen();
    void dateiWegWaehrendDasRasterOffenIst_data();
    void dateiWegWaehrendDasRasterOffenIst();
};

void TestGridModell::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestGridModell::zeileAendernUndWeitergehen()
{
    Aufbau a(3);
    QVERIFY(a.bereit());
    QCOMPARE(a.grid.zelltext(0, SpalteUmsatz), QStringLiteral("1,00 €"));
    QSignalSpy gespeichert(&a.grid, &DataGrid::zeileGespeichert);
    a.gehe(1, SpalteName);
    QCOMPARE(a.rs().absolutePosition(), 1);
    a.tippe(QStringLiteral("Meier"));
    QCOMPARE(a.modell.bearbeiteteZeile(), 1);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Meier'")), 0);
    a.taste(Qt::Key_Down);
    QCOMPARE(gespeichert.size(), 1);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Meier'")), 1);
    QCOMPARE(a.grid.aktuelleZeile(), 2);
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K3"));
    QVERIFY(a.dialoge.meldungen().isEmpty());
}

void TestGridModell::pruefregelBeimWeitergehen()
{
    Aufbau a(3);
    QVERIFY(a.bereit());
    a.gehe(0, SpalteUmsatz);
    a.tippe(QStringLiteral("-5"));
    a.taste(Qt::Key_Down);
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral("Fehler beim Speichern der Datenzeile!\n\nNr: 3316\n"
                       "Beschreibung: Kein negativer Umsatz!"));
    QCOMPARE(a.grid.aktuelleZeile(), 0);
    QCOMPARE(a.modell.bearbeiteteZeile(), 0);
    QCOMPARE(a.grid.zelltext(0, SpalteUmsatz), QStringLiteral("-5,00 €"));
    // Escape gives the stored value back; nothing was written.
    a.taste(Qt::Key_Escape);
    QCOMPARE(a.modell.bearbeiteteZeile(), -1);
    QCOMPARE(a.grid.zelltext(0, SpalteUmsatz), QStringLiteral("1,00 €"));
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Umsatz < 0")), 0);
}

void TestGridModell::neueZeileUndLoeschenMitFrage()
{
    Aufbau a(3);
    QVERIFY(a.bereit());
    QSignalSpy beendet(&a.grid, &DataGrid::hinzufuegenBeendet);
    QVERIFY(a.grid.neueZeileBeginnen());
    QVERIFY(a.grid.imHinzufuegen());
    QCOMPARE(a.grid.aktuelleZeile(), 3);
    // The defaults show at once; the counter is not typed into.
    QCOMPARE(a.grid.zelltext(3, SpalteOrt), QStringLiteral("Bonn"));
    QCOMPARE(a.grid.zelltext(3, SpalteID), QStringLiteral("4"));
    auto* editor = qobject_cast<Zelleneditor*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setzeText(QStringLiteral("Neukunde"));
    a.taste(Qt::Key_Return);
    a.taste(Qt::Key_Up);
    QCOMPARE(beendet.size(), 1);
    QCOMPARE(beendet.at(0).at(0).toBool(), true);
    QCOMPARE(a.grid.datenzeilen(), 4);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Neukunde' AND "
                                     "Ort = 'Bonn'")),
        1);

    a.grid.markiereZeile(0);
    a.grid.markiereZeile(3, true);
    a.dialoge.erwarteAntwort(Antwort::Ja);
    a.gehe(1, SpalteName);
    a.taste(Qt::Key_Delete);
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral(
            "Möchten Sie die markierten Datensätze löschen?\n\nMarkierte Datensätze: 2"));
    QCOMPARE(a.grid.datenzeilen(), 2);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 2);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name IN ('K1', "
                                     "'Neukunde')")),
        0);
    QCOMPARE(a.grid.zelltext(0, SpalteName), QStringLiteral("K2"));
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(),
        a.grid.zelltext(a.grid.aktuelleZeile(), SpalteName));
}

void TestGridModell::navigationBewegtDieMenge()
{
    Aufbau a(50);
    QVERIFY(a.bereit());
    a.grid.bewege(Navigationsschritt::Letzter);
    QCOMPARE(a.grid.aktuelleZeile(), 49);
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K50"));
    a.taste(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    // The window moves the set; the grid follows.
    a.rs().move(9);
    a.modell.syncPosition();
    QCOMPARE(a.grid.aktuelleZeile(), 9);
    QCOMPARE(a.grid.zelltext(a.grid.aktuelleZeile(), SpalteName), QStringLiteral("K10"));
}

void TestGridModell::gesperrteDateiEineMeldung()
{
    Aufbau a(1200);
    QVERIFY(a.bereit());
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(a.dir.file(QStringLiteral("a.kdb")).toUtf8().constData(), &h), SQLITE_OK);
    QCOMPARE(sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    a.taste(Qt::Key_End, Qt::ControlModifier);
    a.taste(Qt::Key_PageUp);
    QTRY_COMPARE(a.dialoge.meldungen().size(), 1);
    QCoreApplication::processEvents();
    // The engine may add SQLite's own words after its German description.
    const QString text = a.dialoge.letzteMeldung().text;
    QVERIFY2(text.startsWith(QStringLiteral("Beim Lesen der Daten ist ein Fehler aufgetreten!\n\n"
                                            "Nr: 3045\nBeschreibung: Die Datenbank ist von einem "
                                            "anderen Benutzer oder Prozess gesperrt.")),
        qPrintable(text));
    QCOMPARE(a.grid.zelltext(a.grid.aktuelleZeile(), SpalteName), QString());
    QCOMPARE(sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(h);
    // Afterwards the grid works on: refreshed, the rows are there again.
    a.modell.refresh();
    a.taste(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(a.grid.zelltext(a.grid.aktuelleZeile(), SpalteName), QStringLiteral("K1200"));
    QCOMPARE(a.dialoge.meldungen().size(), 1);
}

void TestGridModell::strgEndeWaehrendDesZaehlens()
{
    // A table larger than a set knows at opening: the grid shows its first rows while the rows
    // are counted, and Ctrl+End goes to the last record without waiting for the worker.
    Aufbau a(2000);
    QVERIFY(a.bereit());
    QCOMPARE(a.grid.zelltext(0, SpalteName), QStringLiteral("K1"));
    a.gehe(0, SpalteName);
    a.taste(Qt::Key_End, Qt::ControlModifier);
    QVERIFY(!a.modell.zaehltNoch());
    QCOMPARE(a.grid.aktuelleZeile(), 1999);
    QCOMPARE(a.grid.zelltext(1999, SpalteName), QStringLiteral("K2000"));
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K2000"));
    // The worker's late answer changes nothing.
    QCoreApplication::processEvents();
    QCOMPARE(a.grid.datenzeilen(), 2000);
    QVERIFY(a.dialoge.meldungen().isEmpty());
}

void TestGridModell::strgEndeUndZurueckNachDemZaehlen()
{
    // Counted by the worker: Ctrl+End reads the last rows from the end of the table, and paging
    // up from there reads the rows between as it reaches them.
    Aufbau a(6000);
    QVERIFY(a.bereit());
    QVERIFY(QTest::qWaitFor([&] { return !a.modell.counting(); }, 60000));
    QCOMPARE(a.grid.datenzeilen(), 6000);
    a.gehe(0, SpalteName);
    a.taste(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(a.grid.aktuelleZeile(), 5999);
    QCOMPARE(a.grid.zelltext(5999, SpalteName), QStringLiteral("K6000"));
    QCOMPARE(a.rs().absolutePosition(), 5999);
    for (int i = 0; i < 150; ++i)
        a.taste(Qt::Key_PageUp);
    const int zeile = a.grid.aktuelleZeile();
    QVERIFY(zeile < 5000);
    QCOMPARE(a.grid.zelltext(zeile, SpalteName), QStringLiteral("K%1").arg(zeile + 1));
    QCOMPARE(a.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K%1").arg(zeile + 1));
    const auto [oben, unten] = a.grid.sichtbareZeilen();
    for (int z = oben; z <= unten; ++z)
        QCOMPARE(a.grid.zelltext(z, SpalteID), QString::number(z + 1));
    // An edit there goes to its own record.
    a.gehe(zeile, SpalteName);
    a.tippe(QStringLiteral("Mitte"));
    a.taste(Qt::Key_Down);
    QCOMPARE(a.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Mitte' AND ID = %1")
                          .arg(zeile + 1)),
        1);
    QVERIFY(a.dialoge.meldungen().isEmpty());
}

void TestGridModell::dateiWegWaehrendDasRasterOffenIst_data()
{
    QTest::addColumn<bool>("umbenennen");
    QTest::newRow("gelöscht") << false;
    QTest::newRow("umbenannt") << true;
}

// The file goes away under an open grid: the rows read stay readable (SQLite holds the file
// open), an edit is refused with a German message, and nothing is written anywhere.
void TestGridModell::dateiWegWaehrendDasRasterOffenIst()
{
    QFETCH(bool, umbenennen);
    Aufbau a(1500);
    QVERIFY(a.bereit());
    QVERIFY(QTest::qWaitFor([&] { return !a.modell.counting(); }, 60000));
    const QString datei = a.dir.file(QStringLiteral("a.kdb"));
    const QString neu = a.dir.file(QStringLiteral("b.kdb"));
    QByteArray inhalt;
    {
        QFile f(datei);
        QVERIFY(f.open(QIODevice::ReadOnly));
        inhalt = f.readAll();
    }
    QVERIFY(umbenennen ? QFile::rename(datei, neu) : QFile::remove(datei));
    const QStringList vorher = QDir(a.dir.path()).entryList(QDir::Files);

    // Reading on: Ctrl+End and paging up still show the records, without a fault.
    a.gehe(0, SpalteName);
    a.taste(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(a.grid.aktuelleZeile(), 1499);
    QCOMPARE(a.grid.zelltext(1499, SpalteName), QStringLiteral("K1500"));
    a.taste(Qt::Key_PageUp);
    QCOMPARE(a.grid.zelltext(a.grid.aktuelleZeile(), SpalteName),
        QStringLiteral("K%1").arg(a.grid.aktuelleZeile() + 1));

    // Editing: the save is refused with the engine's German text, the row stays in edit.
    const int zeile = a.grid.aktuelleZeile();
    a.gehe(zeile, SpalteName);
    a.tippe(QStringLiteral("Verloren"));
    a.taste(Qt::Key_Down);
    QCOMPARE(a.dialoge.meldungen().size(), 1);
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral("Fehler beim Speichern der Datenzeile!\n\nNr: 3027\nBeschreibung: Die "
                       "Datenbankdatei wurde verschoben, umbenannt oder gelöscht; Änderungen "
                       "können nicht mehr gespeichert werden."));
    QCOMPARE(a.grid.aktuelleZeile(), zeile);
    QCOMPARE(a.modell.bearbeiteteZeile(), zeile);
    a.taste(Qt::Key_Escape);
    QCOMPARE(a.modell.bearbeiteteZeile(), -1);

    // Deleting is refused the same way and keeps the row.
    a.dialoge.erwarteAntwort(Antwort::Ja);
    a.grid.markiereZeile(zeile);
    a.taste(Qt::Key_Delete);
    QCOMPARE(a.grid.datenzeilen(), 1500);
    QCOMPARE(a.grid.zelltext(zeile, SpalteName), QStringLiteral("K%1").arg(zeile + 1));
    QVERIFY(a.dialoge.meldungen().size() >= 2);
    QVERIFY(a.dialoge.letzteMeldung().text.contains(QStringLiteral("verschoben, umbenannt")));

    // No file, journal or copy appeared; a renamed file is as it was.
    QCOMPARE(QDir(a.dir.path()).entryList(QDir::Files), vorher);
    if (umbenennen) {
        QFile f(neu);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == inhalt);
    }
}

QTEST_MAIN(TestGridModell)
#include "tst_gridmodell.moc"
