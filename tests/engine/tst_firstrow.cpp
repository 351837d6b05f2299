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

// What the window's workers read: one row of totals or a count, and the keys of a sorted set,
// which must leave the connection as it found it.
class TestFirstRow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void firstRow_data();
    void firstRow();
    void failures_data();
    void failures();
    void readOnlyWorkerDatabase();
    void sortLeavesTheCacheSize_data();
    void sortLeavesTheCacheSize();

private:
    qint64 cacheSize();

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
};

void TestFirstRow::init()
{
    m_dir = std::make_unique<test::TempDir>();
    m_ws = std::make_unique<Workspace>();
    m_db = test::kundenDatenbank(*m_ws, m_dir->file(QStringLiteral("k.kdb")), 40);
}

void TestFirstRow::cleanup()
{
    m_db.reset();
    m_ws.reset();
    m_dir.reset();
}

qint64 TestFirstRow::cacheSize()
{
    return m_db->connection().scalar(QStringLiteral("PRAGMA main.cache_size")).toLongLong();
}

void TestFirstRow::firstRow_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("row");
    // Umsatz of K36 … K40; the count in the same walk, as the footer sums take it over.
    QTest::newRow("totals and count")
        << QStringLiteral("SELECT Nz(Sum([Umsatz]),0), Count(*) FROM (SELECT * FROM Kunden "
                          "WHERE Umsatz > 35 ORDER BY Name) AS Summenquelle")
        << QVariantList { 190, 5 };
    // K1 and K10 … K19, with the dialect's wildcard.
    QTest::newRow("dialect") << QStringLiteral(
        "SELECT Sum(Umsatz) FROM Kunden WHERE Name LIKE 'K1*'")
                             << QVariantList { 146 };
    QTest::newRow("sum of no rows")
        << QStringLiteral("SELECT Sum(Umsatz), Nz(Sum(Umsatz),0) FROM Kunden WHERE Umsatz < 0")
        << QVariantList { QVariant(), 0 };
    QTest::newRow("no row") << QStringLiteral("SELECT Name FROM Kunden WHERE Umsatz < 0")
                            << QVariantList {};
    QTest::newRow("first of many") << QStringLiteral("SELECT Name FROM Kunden ORDER BY Umsatz DESC")
                                   << QVariantList { QStringLiteral("K40") };
}

void TestFirstRow::firstRow()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, row);
    const QVariantList got = m_db->firstRow(sql);
    QCOMPARE(got.size(), row.size());
    for (qsizetype i = 0; i < row.size(); ++i) {
        QCOMPARE(got.at(i).isNull(), row.at(i).isNull());
        if (!row.at(i).isNull())
            QCOMPARE(got.at(i).toString(), row.at(i).toString());
    }
}

void TestFirstRow::failures_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("number");
    QTest::newRow("parameter without value")
        << QStringLiteral("SELECT Count(*) FROM Kunden WHERE Umsatz > [Grenze]")
        << err::TooFewParameters;
    QTest::newRow("no table") << QStringLiteral("SELECT Count(*) FROM Gibtsnicht")
                              << err::NoSuchTable;
    // Never run: a worker reads, it does not change anything.
    QTest::newRow("delete") << QStringLiteral("DELETE FROM Kunden") << err::InvalidOperation;
    QTest::newRow("update") << QStringLiteral("UPDATE Kunden SET Umsatz = 0")
                            << err::InvalidOperation;
}

void TestFirstRow::failures()
{
    QFETCH(QString, sql);
    QFETCH(int, number);
    try {
        m_db->firstRow(sql);
        QFAIL("no error");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), number);
    }
    QCOMPARE(m_db->firstRow(QStringLiteral("SELECT Count(*), Sum(Umsatz) FROM Kunden")),
        (QVariantList { 40, 820 }));
}

void TestFirstRow::readOnlyWorkerDatabase()
{
    // As the workers open the file: read-only, while the window's connection has a write
    // pending in its transaction; the worker sees the last committed state.
    m_ws->beginTrans();
    m_db->execute(QStringLiteral("DELETE FROM Kunden WHERE Umsatz > 10"));
    Workspace worker;
    auto db = worker.openDatabase(m_db->name(), false, true);
    QCOMPARE(db->firstRow(QStringLiteral("SELECT Count(*) FROM Kunden")), QVariantList { 40 });
    auto sorted
        = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    const std::optional<KeyQuery> query = sorted->pendingKeys();
    QVERIFY(query);
    QCOMPARE(query->run(db->connection()).size(), size_t(40));
    m_ws->rollback();
    db.reset();
    // Closed: an error, not a crash.
    auto closed = worker.openDatabase(m_db->name(), false, true);
    closed->close();
    QVERIFY_THROWS_EXCEPTION(
        EngineError, closed->firstRow(QStringLiteral("SELECT Count(*) FROM Kunden")));
}

void TestFirstRow::sortLeavesTheCacheSize_data()
{
    QTest::addColumn<int>("before");
    QTest::newRow("the database's larger cache") << -8000;
    QTest::newRow("in pages") << 300;
    QTest::newRow("SQLite's default") << -2000;
}

void TestFirstRow::sortLeavesTheCacheSize()
{
    QFETCH(int, before);
    m_db->connection().exec(QStringLiteral("PRAGMA cache_size = %1").arg(before));
    // Keys read at once on the database's own connection.
    auto rs = m_db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K40"));
    QCOMPARE(cacheSize(), qint64(before));
    // Keys read later, on the same connection.
    auto later = m_db->openRecordsetKeysLater(QStringLiteral("SELECT * FROM Kunden ORDER BY Name"));
    const std::optional<KeyQuery> query = later->pendingKeys();
    QVERIFY(query);
    const std::vector<qint64> keys = query->run(m_db->connection());
    QCOMPARE(keys.size(), size_t(40));
    QCOMPARE(keys.front(), qint64(1)); // K1
    QCOMPARE(cacheSize(), qint64(before));
    // A read that fails half-way gives the size back too.
    const KeyQuery unbound { QStringLiteral("SELECT rowid FROM Kunden WHERE Umsatz > :grenze"),
        { QStringLiteral("grenze") }, {} };
    QVERIFY_THROWS_EXCEPTION(EngineError, unbound.run(m_db->connection()));
    QCOMPARE(cacheSize(), qint64(before));
}

QTEST_GUILESS_MAIN(TestFirstRow)
#include "tst_firstrow.moc"
