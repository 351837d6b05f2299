// The stored queries of the Northwind sample database (tests/sql/nwind_queries.txt): each
// translates, and those that are complete run as stored queries on the sample's tables.

#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/sql/Dialect.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QtTest>

using namespace kv::engine;

namespace {

struct Abfrage {
    QString name;
    QString sql;
    bool ausfuehren = true;
};

struct Beispiel {
    QStringList schema;
    QList<Abfrage> abfragen;
};

Beispiel lies()
{
    QFile f(QFINDTESTDATA("nwind_queries.txt"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("nwind_queries.txt missing");
    Beispiel b;
    bool schema = false;
    const QLatin1String nurUebersetzen(" (translate only)");
    for (const QString& zeile : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (zeile.startsWith(QLatin1Char('#')) || zeile.trimmed().isEmpty())
            continue;
        if (zeile.startsWith(QLatin1String("=== schema"))) {
            schema = true;
        } else if (zeile.startsWith(QLatin1String("== "))) {
            schema = false;
            Abfrage a;
            a.name = zeile.mid(3).trimmed();
            if (a.name.endsWith(nurUebersetzen)) {
                a.name.chop(nurUebersetzen.size());
                a.ausfuehren = false;
            }
            b.abfragen.append(a);
        } else if (schema) {
            b.schema.append(zeile);
        } else if (!b.abfragen.isEmpty()) {
            b.abfragen.last().sql += zeile;
        }
    }
    return b;
}

} // namespace

class TstNwind : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void queries_data();
    void queries();
    void topTakesTheTiedProduct();

private:
    std::unique_ptr<kv::test::TempDir> m_dir;
    Workspace m_ws;
    std::unique_ptr<Database> m_db;
};

void TstNwind::initTestCase()
{
    const Beispiel b = lies();
    QVERIFY(b.abfragen.size() >= 10);
    m_dir = std::make_unique<kv::test::TempDir>();
    m_db = m_ws.createDatabase(m_dir->file(QStringLiteral("nwind.kdb")));
    for (const QString& s : b.schema)
        m_db->execute(s);
    // Twelve products; the tenth and eleventh dearest cost the same.
    for (int i = 1; i <= 12; ++i)
        m_db->execute(QStringLiteral("INSERT INTO Products (ProductID, ProductName, CategoryID, "
                                     "UnitPrice, Discontinued) VALUES (%1, 'P%1', 1, %2, %3)")
                          .arg(i)
                          .arg(i == 2 ? 30 : i * 10)
                          .arg(i % 5 == 0 ? QStringLiteral("Yes") : QStringLiteral("No")));
    for (const char* s :
        {
            "INSERT INTO Categories (CategoryID, CategoryName) VALUES (1, 'Beverages')",
            "INSERT INTO Customers (CustomerID, CompanyName, City) VALUES ('ALFKI', 'Alfreds "
            "Futterkiste', 'Berlin')",
            "INSERT INTO Employees (EmployeeID, LastName, FirstName, Country) VALUES (1, "
            "'Davolio', 'Nancy', 'USA')",
            "INSERT INTO Shippers (ShipperID, CompanyName) VALUES (1, 'Speedy Express')",
            "INSERT INTO Orders (OrderID, CustomerID, EmployeeID, OrderDate, ShippedDate, ShipVia) "
            "VALUES (10248, 'ALFKI', 1, #7/4/1995#, #7/16/1995#, 1)",
            "INSERT INTO [Order Details] VALUES (10248, 1, 14, 12, 0)",
            "INSERT INTO [Order Details] VALUES (10248, 3, 9.8, 10, 0.25)",
        })
        m_db->execute(QString::fromUtf8(s));
    for (const Abfrage& a : b.abfragen)
        m_db->createQueryDef(a.name, a.sql);
}

void TstNwind::queries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("ausfuehren");
    for (const Abfrage& a : lies().abfragen)
        QTest::newRow(qPrintable(a.name)) << a.name << a.sql << a.ausfuehren;
}

void TstNwind::queries()
{
    QFETCH(QString, name);
    QFETCH(QString, sql);
    QFETCH(bool, ausfuehren);
    try {
        QCOMPARE(
            int(kv::engine::sql::translate(sql).kind), int(kv::engine::sql::StatementKind::Select));
    } catch (const EngineError& e) {
        QFAIL(qPrintable(e.description()));
    }
    if (!ausfuehren)
        return;
    QueryDef* q = m_db->queryDefs().find(name);
    QVERIFY(q);
    for (Parameter& p : q->parameters())
        p.value = 10248;
    try {
        auto rs = q->openRecordset();
        QVERIFY(rs->recordCount() > 0);
    } catch (const EngineError& e) {
        QFAIL(qPrintable(QString::number(e.number()) + QLatin1Char(' ') + e.description()));
    }
}

void TstNwind::topTakesTheTiedProduct()
{
    auto rs = m_db->openRecordset(QStringLiteral("Ten Most Expensive Products"));
    QStringList namen;
    for (; !rs->eof(); rs->moveNext())
        namen << rs->value(0).toString();
    QCOMPARE(namen.size(), 11);
    QCOMPARE(namen.first(), QStringLiteral("P12"));
    QVERIFY(namen.mid(9).contains(QStringLiteral("P2")));
    QVERIFY(namen.mid(9).contains(QStringLiteral("P3")));
}

QTEST_GUILESS_MAIN(TstNwind)
#include "tst_nwind.moc"
