#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/cursor/RecordSource.h"
#include "engine/sqlite/Connection.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv;
using namespace kv::engine;

// A sorted or filtered set that opens without its keys, which another connection to the same
// file reads, as the table view's worker does.
class TestKeysLater : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void keysFromAnotherConnection_data();
    void keysFromAnotherConnection();
    void setsWithTheirKeysAtOnce_data();
    void setsWithTheirKeysAtOnce();
    void requeryReadsPendingKeys();
    void badStatementFailsAtOnce();
    void firstKeysAreTheHeadOfAllKeys_data();
    void firstKeysAreTheHeadOfAllKeys();
    void noFirstKeysWhereTheStatementLimitsItself();
    void setFollowsItsFirstKeys();
    void followingSetCountsByReadingTheRest();
    void followingSetStopped();

private:
    QStringList names(Recordset& rs);
    std::vector<qint64> readElsewhere(const KeyQuery& query);

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
};

void TestKeysLater::init()
{
    m_dir = std::make_unique<test::TempDir>();
    m_ws = std::make_unique<Workspace>();
    m_db = test::kundenDatenbank(*m_ws, m_dir->file(QStringLiteral("k.kdb")), 40);
}

void TestKeysLater::cleanup()
{
    m_db.reset();
    m_ws.reset();
    m_dir.reset();
}

QStringList TestKeysLater::names(Recordset& rs)
{
    QStringList list;
    if (rs.bof() && rs.eof())
        return list;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        list.append(rs.value(QStringLiteral("Name")).toString());
    return list;
}

std::vector<qint64> TestKeysLater::readElsewhere(const KeyQuery& query)
{
    // Read-only, as the worker opens the file.
    Workspace other;
    auto db = other.openDatabase(m_db->name(), false, true);
    return query.run(db->connection());
}

void TestKeysLater::keysFromAnotherConnection_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("records");
    QTest::newRow("sorted") << QStringLiteral("SELECT * FROM Kunden ORDER BY Name DESC") << 40;
    QTest::newRow("filtered") << QStringLiteral("SELECT * FROM Kunden WHERE Umsatz > 35") << 5;
    QTest::newRow("both") << QStringLiteral(
        "SELECT Name, Umsatz FROM Kunden WHERE Name LIKE 'K1*' ORDER BY Umsatz DESC")
                          << 11;
    QTest::newRow("nothing") << QStringLiteral("SELECT * FROM Kunden WHERE Umsatz < 0") << 0;
}

void TestKeysLater::keysFromAnotherConnection()
{
    QFETCH(QString, sql);
    QFETCH(int, records);
    auto later = m_db->openRecordsetKeysLater(sql);
    const std::optional<KeyQuery> query = later->pendingKeys();
    QVERIFY(query);
    later->setKeys(readElsewhere(*query));
    QVERIFY(!later->pendingKeys());

    // The same records in the same order as a set that read its keys itself.
    auto direct = m_db->openRecordset(sql);
    QCOMPARE(later->recordCount(), qint64(records));
    QCOMPARE(later->eof(), records == 0);
    QCOMPARE(later->fieldCount(), direct->fieldCount());
    QCOMPARE(names(*later), names(*direct));
    QCOMPARE(later->updatable(), direct->updatable());
}

void TestKeysLater::setsWithTheirKeysAtOnce_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("records");
    // A whole table reads its keys as the cursor goes; a grouped result is a copy that only the
    // window's own connection has.
    QTest::newRow("whole table") << QStringLiteral("SELECT * FROM Kunden") << 40;
    QTest::newRow("copy") << QStringLiteral(
        "SELECT Ort, Count(*) AS Anzahl FROM Kunden GROUP BY Ort")
                          << 1;
}

void TestKeysLater::setsWithTheirKeysAtOnce()
{
    QFETCH(QString, sql);
    QFETCH(int, records);
    auto rs = m_db->openRecordsetKeysLater(sql);
    QVERIFY(!rs->pendingKeys());
    QCOMPARE(rs->recordCount(), qint64(records));
    QVERIFY(!rs->value(0).isNull());
    rs->setKeys({}); // ignored: the set has its keys
    QCOMPARE(rs->recordCount(), qint64(records));
}

void TestKeysLater::requeryReadsPendingKeys()
{
    auto rs = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Name"));
    QVERIFY(rs->pendingKeys());
    rs->requery();
    QVERIFY(!rs->pendingKeys());
    QCOMPARE(rs->recordCount(), qint64(40));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    rs->move(1);
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K10"));
    // Still a set over the table: it can be edited.
    rs->edit();
    rs->setValue(QStringLiteral("Ort"), QStringLiteral("Köln"));
    rs->update();
    QCOMPARE(m_db->openRecordset(QStringLiteral("SELECT Ort FROM Kunden WHERE Name = 'K10'"))
                 ->value(0)
                 .toString(),
        QStringLiteral("Köln"));
}

void TestKeysLater::badStatementFailsAtOnce()
{
    // What cannot work is known before any key is read.
    QVERIFY_THROWS_EXCEPTION(EngineError,
        m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Gibtsnicht")));
}

void TestKeysLater::firstKeysAreTheHeadOfAllKeys_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");
    // Ort takes two values only: most rows tie, and so do most rows of a page's edge.
    const QString ties = QStringLiteral("SELECT * FROM Kunden ORDER BY Ort DESC");
    QTest::newRow("ties, one row") << ties << 1;
    QTest::newRow("ties, a page") << ties << 7;
    QTest::newRow("ties, all but one") << ties << 39;
    QTest::newRow("ties, more than all") << ties << 100;
    QTest::newRow("ties and filter")
        << QStringLiteral("SELECT * FROM Kunden WHERE Umsatz > 10 ORDER BY Ort, Name DESC") << 5;
    QTest::newRow("filter only") << QStringLiteral("SELECT * FROM Kunden WHERE Name LIKE 'K1*'")
                                 << 4;
    QTest::newRow("nothing") << QStringLiteral("SELECT * FROM Kunden WHERE Umsatz < 0 ORDER BY Ort")
                             << 10;
}

void TestKeysLater::firstKeysAreTheHeadOfAllKeys()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    m_db->execute(QStringLiteral("UPDATE Kunden SET Ort = 'Aachen' WHERE Umsatz Mod 3 = 0"));
    auto rs = m_db->openRecordsetKeysLater(sql);
    const std::optional<KeyQuery> first = rs->pendingFirstKeys(rows);
    QVERIFY(first);
    const std::vector<qint64> page = readElsewhere(*first);
    const std::vector<qint64> all = readElsewhere(*rs->pendingKeys());
    QCOMPARE(qsizetype(page.size()), std::min<qsizetype>(rows, qsizetype(all.size())));
    QVERIFY(std::equal(page.begin(), page.end(), all.begin()));
    // The keys are the records a set that reads its own shows, in its order.
    rs->setKeys(all);
    QCOMPARE(names(*rs), names(*m_db->openRecordset(sql)));
}

void TestKeysLater::noFirstKeysWhereTheStatementLimitsItself()
{
    // Its own LIMIT decides the rows: a page of it would be another statement.
    auto top = m_db->openRecordsetKeysLater(
        QStringLiteral("SELECT TOP 5 * FROM Kunden ORDER BY Umsatz DESC"));
    QVERIFY(top->pendingKeys());
    QVERIFY(!top->pendingFirstKeys(3));
    // A set with its keys has none pending.
    auto whole = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden"));
    QVERIFY(!whole->pendingFirstKeys(3));
}

void TestKeysLater::setFollowsItsFirstKeys()
{
    auto rs = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Name"));
    rs->setFirstKeys(readElsewhere(*rs->pendingFirstKeys(7)));
    QVERIFY(rs->keysFollow());
    QVERIFY(!rs->pendingKeys());
    QVERIFY(!rs->recordCountKnown());
    QCOMPARE(rs->knownRecordCount(), qint64(7));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    // The set ends after its first keys; noted counts wait for the keys.
    rs->noteRecordCount(40);
    QVERIFY(!rs->recordCountKnown());
    QVERIFY_THROWS_EXCEPTION(EngineError, rs->setAbsolutePosition(7));
    rs->setAbsolutePosition(6);
    const QString siebter = rs->value(QStringLiteral("Name")).toString();
    auto clone = rs->clone();
    clone->moveFirst();
    rs->move(1);
    QVERIFY(rs->eof());
    rs->setAbsolutePosition(6);

    // The rest arrives: the position and the rows before stay, the set and its clone go on.
    rs->setKeys(readElsewhere(*m_db->openRecordsetKeysLater(rs->source())->pendingKeys()));
    QVERIFY(!rs->keysFollow());
    QCOMPARE(rs->absolutePosition(), qint64(6));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), siebter);
    QCOMPARE(rs->recordCount(), qint64(40));
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K9"));
    clone->setAbsolutePosition(39);
    QCOMPARE(clone->value(QStringLiteral("Name")).toString(), QStringLiteral("K9"));
    // Keys given again change nothing.
    rs->setKeys({});
    QCOMPARE(rs->recordCount(), qint64(40));
}

void TestKeysLater::followingSetCountsByReadingTheRest()
{
    auto rs = m_db->openRecordsetKeysLater(
        QStringLiteral("SELECT * FROM Kunden WHERE Umsatz > 4 ORDER BY Umsatz DESC"));
    rs->setFirstKeys(readElsewhere(*rs->pendingFirstKeys(3)));
    // Who needs the number (the last record) need not wait: the set reads its keys itself.
    QCOMPARE(rs->recordCount(), qint64(36));
    QVERIFY(!rs->keysFollow());
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 5);
    // Editable as any set over the table; a new record joins the end.
    rs->addNew();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Neu"));
    rs->setValue(QStringLiteral("Umsatz"), 1);
    rs->update();
    QCOMPARE(rs->recordCount(), qint64(37));
}

void TestKeysLater::followingSetStopped()
{
    auto rs = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Name"));
    rs->setFirstKeys(readElsewhere(*rs->pendingFirstKeys(5)));
    rs->stopFollowing();
    // The first keys are all the set has now: a known number, and no keys arrive later.
    QVERIFY(!rs->keysFollow());
    QVERIFY(rs->recordCountKnown());
    QCOMPARE(rs->recordCount(), qint64(5));
    rs->setKeys(readElsewhere(*m_db->openRecordsetKeysLater(rs->source())->pendingKeys()));
    QCOMPARE(rs->recordCount(), qint64(5));
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K13"));
}

QTEST_GUILESS_MAIN(TestKeysLater)
#include "tst_keyslater.moc"
