#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "engine/sqlite/Connection.h"
#include "testutils/TempDir.h"
#include "widgets/Fortschrittsanzeige.h"

#include <QAbstractButton>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

using namespace kv;

namespace {

// Long enough that only a cancel ends it within the test's time.
const QString LangeArbeit
    = QStringLiteral("WITH RECURSIVE z(n) AS (SELECT 1 UNION ALL SELECT n + 1 "
                     "FROM z WHERE n < 200000000) SELECT count(*) FROM z");

} // namespace

class TestFortschrittsanzeige : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void escapeBrichtDieArbeitAb_data();
    void escapeBrichtDieArbeitAb();
    void frageBrichtNichtAb();
};

void TestFortschrittsanzeige::escapeBrichtDieArbeitAb_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("Abbrechen") << false;
}

void TestFortschrittsanzeige::escapeBrichtDieArbeitAb()
{
    QFETCH(bool, escape);
    test::TempDir dir;
    engine::Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.mdb")));
    QWidget fenster;
    fenster.resize(400, 300);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    Fortschrittsanzeige anzeige(
        &fenster, QStringLiteral("Bitte warten …"), QStringLiteral("Kunden"), 0);
    // The user's key or click, as soon as the box is there.
    int meldungenDanach = -1;
    QTimer benutzer;
    benutzer.setInterval(1);
    connect(&benutzer, &QTimer::timeout, &fenster, [&] {
        QProgressDialog* box = anzeige.dialog();
        if (meldungenDanach >= 0 || !box || !box->isVisible())
            return;
        meldungenDanach = 0;
        if (escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->findChild<QAbstractButton*>(), Qt::LeftButton);
    });
    benutzer.start();

    bool abgebrochen = false;
    bool ohneAbbruchWeiter = false;
    engine::Connection& verbindung = db->connection();
    verbindung.setProgressCheck([&] {
        // Work going on long after the key: the box went without cancelling it.
        if (meldungenDanach >= 0 && ++meldungenDanach > 200) {
            ohneAbbruchWeiter = true;
            return false;
        }
        abgebrochen = !anzeige.melden(0, 0, QString());
        return !abgebrochen;
    });
    int nummer = 0;
    try {
        verbindung.scalar(LangeArbeit);
    } catch (const engine::EngineError& e) {
        nummer = e.number();
    }
    verbindung.setProgressCheck({});
    anzeige.schliessen();
    QVERIFY(meldungenDanach >= 0);
    QVERIFY(!ohneAbbruchWeiter);
    QVERIFY(abgebrochen);
    QCOMPARE(nummer, 3000);
}

void TestFortschrittsanzeige::frageBrichtNichtAb()
{
    test::TempDir dir;
    engine::Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.mdb")));
    QWidget fenster;
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    Fortschrittsanzeige anzeige(&fenster, QStringLiteral("Bitte warten …"), QString(), 0);
    // A question puts the box out of the way and back: that is no cancel.
    int gefragt = 0;
    int danach = 0;
    bool abgebrochen = false;
    engine::Connection& verbindung = db->connection();
    verbindung.setProgressCheck([&] {
        if (gefragt > 0 && ++danach > 20)
            return false;
        if (anzeige.dialog() && anzeige.dialog()->isVisible() && gefragt == 0)
            gefragt = anzeige.fragen([] { return 1; });
        abgebrochen = abgebrochen || !anzeige.melden(0, 0, QString());
        return true;
    });
    QVERIFY_THROWS_EXCEPTION(engine::EngineError, verbindung.scalar(LangeArbeit));
    verbindung.setProgressCheck({});
    QCOMPARE(gefragt, 1);
    QVERIFY(anzeige.dialog()->isVisible());
    QVERIFY(!abgebrochen);
}

QTEST_MAIN(TestFortschrittsanzeige)
#include "tst_fortschrittsanzeige.moc"
