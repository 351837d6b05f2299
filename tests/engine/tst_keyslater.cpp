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

QTEST_GUILESS_MAIN(TestKeysLater)
#include "tst_keyslater.moc"
