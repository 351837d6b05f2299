// Aggregates of the dialect over a stored table: alone, under WHERE and with GROUP BY.

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/TempDir.h"

#include <QtTest>
#include <cmath>

using namespace kv::engine;

namespace {

// T(G, A, B): groups x (A 1, 2) and y (A 3, 4), in this order of entry; B is Currency.
std::unique_ptr<Database> werteDb(Workspace& ws, const QString& pfad)
{
    auto db = ws.createDatabase(pfad);
    db->execute(QStringLiteral("CREATE TABLE T (G TEXT(5), A LONG, B CURRENCY)"));
    db->execute(QStringLiteral("INSERT INTO T VALUES ('x', 1, 0.1)"));
    db->execute(QStringLiteral("INSERT INTO T VALUES ('x', 2, 0.2)"));
    db->execute(QStringLiteral("INSERT INTO T VALUES ('y', 3, 0.7)"));
    db->execute(QStringLiteral("INSERT INTO T VALUES ('y', 4, 0.01)"));
    return db;
}

QList<double> spalte(Recordset& rs, const QString& feld)
{
    QList<double> werte;
    for (; !rs.eof(); rs.moveNext())
        werte << rs.value(feld).toDouble();
    return werte;
}

bool gleich(const QList<double>& a, const QList<double>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > 1e-9)
            return false;
    return true;
}

} // namespace

class TestAggregates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyAggregate_data();
    void everyAggregate();
};

void TestAggregates::everyAggregate_data()
{
    QTest::addColumn<QString>("funktion");
    QTest::addColumn<QList<double>>("allein"); // A = 1, 2, 3, 4
    QTest::addColumn<QList<double>>("mitWhere"); // A > 1
    QTest::addColumn<QList<double>>("gruppiert"); // x, y
    const double v4 = 5.0 / 3.0;
    QTest::newRow("Sum") << "Sum" << QList<double> { 10 } << QList<double> { 9 }
                         << QList<double> { 3, 7 };
    QTest::newRow("Avg") << "Avg" << QList<double> { 2.5 } << QList<double> { 3 }
                         << QList<double> { 1.5, 3.5 };
    QTest::newRow("Count") << "Count" << QList<double> { 4 } << QList<double> { 3 }
                           << QList<double> { 2, 2 };
    QTest::newRow("Min") << "Min" << QList<double> { 1 } << QList<double> { 2 }
                         << QList<double> { 1, 3 };
    QTest::newRow("Max") << "Max" << QList<double> { 4 } << QList<double> { 4 }
                         << QList<double> { 2, 4 };
    QTest::newRow("First") << "First" << QList<double> { 1 } << QList<double> { 2 }
                           << QList<double> { 1, 3 };
    QTest::newRow("Last") << "Last" << QList<double> { 4 } << QList<double> { 4 }
                          << QList<double> { 2, 4 };
    QTest::newRow("Var") << "Var" << QList<double> { v4 } << QList<double> { 1 }
                         << QList<double> { 0.5, 0.5 };
    QTest::newRow("VarP") << "VarP" << QList<double> { 1.25 } << QList<double> { 2.0 / 3.0 }
                          << QList<double> { 0.25, 0.25 };
    QTest::newRow("StDev") << "StDev" << QList<double> { std::sqrt(v4) } << QList<double> { 1 }
                           << QList<double> { std::sqrt(0.5), std::sqrt(0.5) };
    QTest::newRow("StDevP") << "StDevP" << QList<double> { std::sqrt(1.25) }
                            << QList<double> { std::sqrt(2.0 / 3.0) } << QList<double> { 0.5, 0.5 };
}

void TestAggregates::everyAggregate()
{
    QFETCH(QString, funktion);
    QFETCH(QList<double>, allein);
    QFETCH(QList<double>, mitWhere);
    QFETCH(QList<double>, gruppiert);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = werteDb(ws, dir.file(QStringLiteral("a.kdb")));
    // Opened as the windows open them (a dynaset): one row of many, not a row per record.
    auto rs = db->openRecordset(QStringLiteral("SELECT %1(A) AS W FROM T").arg(funktion));
    QCOMPARE(rs->recordCount(), 1);
    QVERIFY2(gleich(spalte(*rs, QStringLiteral("W")), allein), qPrintable(funktion));
    rs = db->openRecordset(QStringLiteral("SELECT %1(A) AS W FROM T WHERE A > 1").arg(funktion));
    QVERIFY(gleich(spalte(*rs, QStringLiteral("W")), mitWhere));
    rs = db->openRecordset(
        QStringLiteral("SELECT G, %1(A) AS W FROM T GROUP BY G ORDER BY G").arg(funktion));
    QVERIFY(gleich(spalte(*rs, QStringLiteral("W")), gruppiert));
    QVERIFY(!rs->updatable());
}

QTEST_GUILESS_MAIN(TestAggregates)
#include "tst_aggregates.moc"
