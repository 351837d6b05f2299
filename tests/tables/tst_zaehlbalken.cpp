#include "engine/Database.h"
#include "engine/Workspace.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/frmTabelle.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTest>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;

namespace {
// Without sum columns the model counts the rows itself.
const QString Definition = QStringLiteral("KV-Tabelle: Kunden\r\nSQL: SELECT * FROM Kunden\r\n"
                                          "Spalte: ;;Name;1800;0;0;;;0\r\n");
// Longer than the bar waits before it shows.
constexpr int NachDemBalken = 800;
} // namespace

// The bar of the table-view window while its rows are counted: it goes with the end of the
// count, whatever the count found.
class TestZaehlbalken : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void balkenEndetMitDemZaehlen_data();
    void balkenEndetMitDemZaehlen();
    void balkenEndetAuchOhneAnzahl();

private:
    void oeffne(int zeilen);
    /// Another program's exclusive lock on the file.
    sqlite3* sperre();
    void entsperre(sqlite3* h);
    void letzteZeile(int zeilen);

    // Goes in the reverse order: the window, the database, the dialogs, the folder.
    struct Umfeld {
        test::TempDir dir;
        test::ScriptedDialoge dialoge;
        Workspace ws;
        std::unique_ptr<Database> db;
        QMdiArea mdi;
    };
    std::unique_ptr<Umfeld> m_umfeld;
    frmTabelle* m_fenster = nullptr;
};

void TestZaehlbalken::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_umfeld = std::make_unique<Umfeld>();
    m_umfeld->mdi.resize(900, 600);
    m_umfeld->mdi.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_umfeld->mdi));
}

void TestZaehlbalken::cleanup()
{
    m_fenster = nullptr;
    m_umfeld.reset();
    QLocale::setDefault(QLocale::c());
}

void TestZaehlbalken::oeffne(int zeilen)
{
    m_umfeld->db = test::kundenDatenbank(
        m_umfeld->ws, m_umfeld->dir.file(QStringLiteral("Firma.mdb")), zeilen);
    Tabellenumgebung u;
    u.datenbank = m_umfeld->db.get();
    u.datenbankpfad = m_umfeld->db->name();
    u.modell = Recordsetansicht();
    m_fenster = frmTabelle::oeffnen(&m_umfeld->mdi, u, QStringLiteral("Kunden"), Definition);
    m_umfeld->mdi.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_fenster->parentWidget()));
}

void TestZaehlbalken::balkenEndetMitDemZaehlen_data()
{
    QTest::addColumn<int>("zeilen");
    QTest::addColumn<bool>("gesperrt");
    // The rows the set reads at opening, exactly: the count adds none.
    QTest::newRow("Anzahl bleibt") << 512 << false;
    QTest::newRow("Zeilen kommen hinzu") << 3000 << false;
    // Another program holds the file until the bar shows: the count ends later, or (on a slow
    // machine) gives up; either way its end ends the bar.
    QTest::newRow("Anzahl bleibt, Balken gezeigt") << 512 << true;
    QTest::newRow("Zeilen kommen hinzu, Balken gezeigt") << 3000 << true;
}

void TestZaehlbalken::balkenEndetMitDemZaehlen()
{
    QFETCH(int, zeilen);
    QFETCH(bool, gesperrt);
    oeffne(zeilen);
    QVERIFY(m_fenster->modell()->zaehltNoch());
    if (gesperrt) {
        sqlite3* h = sperre();
        QTRY_VERIFY_WITH_TIMEOUT(m_fenster->fortschritt()->isVisible(), 20000);
        entsperre(h);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!m_fenster->fortschritt()->isVisible(), 20000);
    QTest::qWait(NachDemBalken);
    QVERIFY(!m_fenster->fortschritt()->isVisible());
    letzteZeile(zeilen);
}

void TestZaehlbalken::balkenEndetAuchOhneAnzahl()
{
    oeffne(3000);
    QVERIFY(m_fenster->modell()->zaehltNoch());
    // Held past the worker's patience: it cannot count, and the number stays open.
    sqlite3* h = sperre();
    QTRY_VERIFY_WITH_TIMEOUT(m_fenster->fortschritt()->isVisible(), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_fenster->fortschritt()->isVisible(), 20000);
    entsperre(h);
    QVERIFY(m_fenster->modell()->zaehltNoch());
    letzteZeile(3000);
}

sqlite3* TestZaehlbalken::sperre()
{
    sqlite3* h = nullptr;
    sqlite3_open(m_umfeld->db->name().toUtf8().constData(), &h);
    sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    return h;
}

void TestZaehlbalken::entsperre(sqlite3* h)
{
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(h);
}

void TestZaehlbalken::letzteZeile(int zeilen)
{
    // Ctrl+End reaches the last row, counting here when the number is still open.
    QTableView* ansicht = m_fenster->TDBGrid1()->ansicht();
    ansicht->setFocus();
    QTest::keyClick(ansicht, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(!m_fenster->modell()->zaehltNoch());
    QCOMPARE(m_fenster->TDBGrid1()->datenzeilen(), zeilen);
    QCOMPARE(m_fenster->TDBGrid1()->aktuelleZeile(), zeilen - 1);
    QVERIFY(!m_fenster->fortschritt()->isVisible());
}

QTEST_MAIN(TestZaehlbalken)
#include "tst_zaehlbalken.moc"
