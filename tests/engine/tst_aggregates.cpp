// Aggregates of the dialect over a stored table: alone, under WHERE and with GROUP BY, and
// Currency sums and arithmetic that come out exact.

#include "SqlDb.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/SqliteFile.h"
#include "testutils/TempDir.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>

using namespace kv::engine;

namespace {

// T(G, A, B): groups x (A 1, 2) and y (A 3, 4), in this order of entry; B is Currency.
std::unique_ptr<Database> werteDb(Workspace& ws, const QString& pfad)
{
    return kv::test::sqlDb(ws, pfad,
        { "CREATE TABLE T (G TEXT(5), A LONG, B CURRENCY)", "INSERT INTO T VALUES ('x', 1, 0.1)",
            "INSERT INTO T VALUES ('x', 2, 0.2)", "INSERT INTO T VALUES ('y', 3, 0.7)",
            "INSERT INTO T VALUES ('y', 4, 0.01)" });
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
    void currencyIsExact_data();
    void currencyIsExact();
    void sumOfManyCentAmountsIsExact();
    void sumKeepsIntegersAndOtherNumbers();
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

void TestAggregates::currencyIsExact_data()
{
    QTest::addColumn<QString>("ausdruck");
    QTest::newRow("stored sum") << "(SELECT Sum(B) FROM T WHERE A <= 2) = 0.3";
    QTest::newRow("sum of all") << "(SELECT Sum(B) FROM T) = 1.01";
    QTest::newRow("addition") << "CCur(0.1) + CCur(0.2) = CCur(0.3)";
    QTest::newRow("subtraction") << "CCur(0.3) - CCur(0.1) = 0.2";
    QTest::newRow("negated") << "-CCur(0.1) - CCur(0.2) = -0.3";
    QTest::newRow("with a number") << "CCur(1.1) + 2.2 = 3.3";
    QTest::newRow("product") << "CCur(0.1) * 3 = 0.3";
    QTest::newRow("product rounded to even") << "CCur(1.2345) * 0.5 = 0.6172";
    QTest::newRow("grouped") << "(CCur(0.7) + CCur(0.1)) * CCur(3) = 2.4";
}

void TestAggregates::currencyIsExact()
{
    QFETCH(QString, ausdruck);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = werteDb(ws, dir.file(QStringLiteral("a.kdb")));
    auto rs = db->openRecordset(QStringLiteral("SELECT (%1) AS Wahr").arg(ausdruck));
    QCOMPARE(rs->value(0).toInt(), -1);
}

void TestAggregates::sumOfManyCentAmountsIsExact()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("geld.kdb"));
    auto db = kv::test::sqlDb(ws, pfad, { "CREATE TABLE Geld (B CURRENCY)" });
    // The amounts go in as a Currency column holds them: doubles rounded to the cent.
    QRandomGenerator zufall(20261206);
    qint64 centSumme = 0;
    {
        kv::test::SqliteFile roh(pfad);
        QCOMPARE(roh.exec(QStringLiteral("BEGIN")), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(roh, "INSERT INTO Geld (B) VALUES (?1)", -1, &st, nullptr),
            SQLITE_OK);
        for (int i = 0; i < 100000; ++i) {
            const qint64 cent = qint64(zufall.bounded(20000000)) - 10000000;
            centSumme += cent;
            sqlite3_bind_double(st, 1, double(cent) / 100.0);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        QCOMPARE(roh.exec(QStringLiteral("COMMIT")), SQLITE_OK);
    }
    const QString exakt = QStringLiteral("%1%2.%3")
                              .arg(centSumme < 0 ? "-" : "")
                              .arg(std::abs(centSumme) / 100)
                              .arg(std::abs(centSumme) % 100, 2, 10, QLatin1Char('0'));
    auto rs = db->openRecordset(
        QStringLiteral("SELECT Sum(B) AS S, (Sum(B) = %1) AS Gleich FROM Geld").arg(exakt));
    QCOMPARE(rs->value(QStringLiteral("Gleich")).toInt(), -1);
    QCOMPARE(rs->value(QStringLiteral("S")).toDouble(), exakt.toDouble());
}

void TestAggregates::sumKeepsIntegersAndOtherNumbers()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kv::test::sqlDb(ws, dir.file(QStringLiteral("a.kdb")),
        { "CREATE TABLE Z (L LONG, D DOUBLE)", "INSERT INTO Z VALUES (9007199254740993, 0.125)",
            "INSERT INTO Z VALUES (1, 0.0000001)", "INSERT INTO Z (L) VALUES (Null)" });
    auto rs = db->openRecordset(
        QStringLiteral("SELECT Sum(L) AS L, Sum(D) AS D, Sum(Null) AS N FROM Z"));
    // Whole numbers stay whole beyond a double's precision; other values add as doubles.
    QCOMPARE(rs->value(QStringLiteral("L")).toLongLong(), 9007199254740994LL);
    QCOMPARE(rs->value(QStringLiteral("D")).toDouble(), 0.125 + 0.0000001);
    QVERIFY(rs->value(QStringLiteral("N")).isNull());
}

QTEST_GUILESS_MAIN(TestAggregates)
#include "tst_aggregates.moc"
