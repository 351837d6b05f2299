#include "tables/SqlNamen.h"

#include <QTest>

using namespace kv;

class TestSqlNamen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void klammername();
    void sqlFeldname_data();
    void sqlFeldname();
    void sortierSql_data();
    void sortierSql();
    void unlesbarerText();
};

void TestSqlNamen::klammername()
{
    QCOMPARE(Klammername(QStringLiteral("Kunden")), QStringLiteral("[Kunden]"));
    QCOMPARE(Klammername(QStringLiteral("Meine Orte")), QStringLiteral("[Meine Orte]"));
    QCOMPARE(Klammername(QString()), QString());
}

void TestSqlNamen::sqlFeldname_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sql");
    QTest::newRow("ohne Blank") << "Name"
                                << "Name";
    QTest::newRow("qualifiziert ohne Blank") << "Kunden.Name"
                                             << "Kunden.Name";
    QTest::newRow("Blank") << "Kunden Nr"
                           << "[Kunden Nr]";
    QTest::newRow("qualifiziert mit Blank") << "Meine Kunden.Kunden Nr"
                                            << "[Meine Kunden].[Kunden Nr]";
    QTest::newRow("nur erster Punkt") << "A B.C.D"
                                      << "[A B].[C.D]";
    QTest::newRow("Plus") << "+ Kunden.Name"
                          << "+ [Kunden].[Name]";
    QTest::newRow("Minus mit Blanks") << "- Meine Kunden.PLZ"
                                      << "- [Meine Kunden].[PLZ]";
    QTest::newRow("Minus ohne Tabelle") << "- PLZ"
                                        << "- [PLZ]";
    QTest::newRow("Minus ohne Blank") << "-PLZ"
                                      << "-PLZ";
}

void TestSqlNamen::sqlFeldname()
{
    QFETCH(QString, name);
    QFETCH(QString, sql);
    QCOMPARE(SQLFeldname(name), sql);
}

void TestSqlNamen::sortierSql_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<QString>("richtung");
    QTest::addColumn<QString>("ergebnis");

    QTest::newRow("ohne Sortierung") << "SELECT * From [Kunden]"
                                     << "Name"
                                     << "ASC"
                                     << "SELECT * From [Kunden] Order By [Name] ASC";
    QTest::newRow("ersetzt") << "SELECT * From [Kunden] ORDER BY [Ort] DESC, PLZ"
                             << "Kunden Nr"
                             << "DESC"
                             << "SELECT * From [Kunden] Order By [Kunden Nr] DESC";
    QTest::newRow("klein und Zeilenumbruch") << "select * from Kunden\r\norder\r\nby Ort"
                                             << "Name"
                                             << "ASC"
                                             << "select * from Kunden Order By [Name] ASC";
    QTest::newRow("Semikolon") << "SELECT * FROM Kunden;  "
                               << "Name"
                               << "DESC"
                               << "SELECT * FROM Kunden Order By [Name] DESC";
    QTest::newRow("Text mit Order By")
        << "SELECT * FROM T WHERE Notiz = 'nach Order By sortiert' ORDER BY Ort"
        << "Name"
        << "ASC"
        << "SELECT * FROM T WHERE Notiz = 'nach Order By sortiert' Order By [Name] ASC";
    QTest::newRow("Text mit Hochkomma")
        << "SELECT * FROM T WHERE N = 'O''Neil order by x'"
        << "Name"
        << "ASC"
        << "SELECT * FROM T WHERE N = 'O''Neil order by x' Order By [Name] ASC";
    QTest::newRow("Anfuehrungszeichen")
        << "SELECT * FROM T WHERE N = \"Order By\""
        << "A"
        << "ASC"
        << "SELECT * FROM T WHERE N = \"Order By\" Order By [A] ASC";
    QTest::newRow("Feldname mit Order By")
        << "SELECT [Order By], [Tabelle Order By].X FROM [Tabelle Order By]"
        << "Order By"
        << "DESC"
        << "SELECT [Order By], [Tabelle Order By].X FROM [Tabelle Order By] Order By [Order By] "
           "DESC";
    QTest::newRow("Unterabfrage")
        << "SELECT * FROM (SELECT TOP 5 * FROM T ORDER BY Preis DESC) AS S ORDER BY Name"
        << "Preis"
        << "ASC"
        << "SELECT * FROM (SELECT TOP 5 * FROM T ORDER BY Preis DESC) AS S Order By [Preis] ASC";
    QTest::newRow("kein ganzes Wort") << "SELECT Reorder, BYx FROM T"
                                      << "A"
                                      << "ASC"
                                      << "SELECT Reorder, BYx FROM T Order By [A] ASC";
    QTest::newRow("Order ohne By") << "SELECT [Order] FROM T WHERE Order = 1"
                                   << "A"
                                   << "ASC"
                                   << "SELECT [Order] FROM T WHERE Order = 1 Order By [A] ASC";
    QTest::newRow("ohne Richtung") << "SELECT * FROM T"
                                   << "A"
                                   << ""
                                   << "SELECT * FROM T Order By [A]";
    QTest::newRow("ohne Feld") << "SELECT * FROM T ORDER BY A"
                               << ""
                               << "ASC"
                               << "SELECT * FROM T";
}

void TestSqlNamen::sortierSql()
{
    QFETCH(QString, sql);
    QFETCH(QString, feld);
    QFETCH(QString, richtung);
    QFETCH(QString, ergebnis);
    const QString neu = SortierSQL(sql, feld, richtung);
    QCOMPARE(neu, ergebnis);
    // Sorting again replaces the clause instead of adding a second one.
    if (!feld.isEmpty()) {
        const QString nochmal = SortierSQL(neu, QStringLiteral("Ort"), QStringLiteral("DESC"));
        QCOMPARE(nochmal, ohneOrderBy(neu) + QStringLiteral(" Order By [Ort] DESC"));
        const auto stelle = findeOrderBy(nochmal);
        QVERIFY(stelle);
        QVERIFY(!findeOrderBy(nochmal.mid(stelle->ende)));
    }
}

// An unclosed literal hides any clause after it: the clause is appended, and opening the
// statement reports the fault.
void TestSqlNamen::unlesbarerText()
{
    const QString sql = QStringLiteral("SELECT * FROM T WHERE A = 'x ORDER BY B");
    QVERIFY(!findeOrderBy(sql));
    QCOMPARE(SortierSQL(sql, QStringLiteral("C"), QStringLiteral("ASC")),
        sql + QStringLiteral(" Order By [C] ASC"));
}

QTEST_GUILESS_MAIN(TestSqlNamen)
#include "tst_sqlnamen.moc"
