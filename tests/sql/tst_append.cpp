// INSERT INTO … SELECT through the engine: columns filled by name unless a column list is given.

#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;

namespace {

// Quelle(Nr, Name, Ort) and Ziel with the columns in another order, an extra column with a
// default, one without, and a counter.
std::unique_ptr<Database> datenbank(Workspace& ws, const QString& pfad)
{
    auto db = ws.createDatabase(pfad);
    for (const char* s : {
             "CREATE TABLE [Quelle] ([Nr] LONG, [Name] TEXT(30), [Ort] TEXT(30))",
             "INSERT INTO [Quelle] VALUES (7, 'Meier', 'Bonn')",
             "INSERT INTO [Quelle] VALUES (8, 'Müller', 'Köln')",
             "CREATE TABLE [Ziel] ([ID] COUNTER PRIMARY KEY, [ort] TEXT(30), [Land] TEXT(10) "
             "DEFAULT 'DE', [Notiz] TEXT(20), [NAME] TEXT(30), [Nr] LONG)",
             "CREATE TABLE [Andere] ([Nr] LONG, [Name] TEXT(30))",
         })
        db->execute(QString::fromUtf8(s));
    return db;
}

QStringList zeilen(Database& db, const QString& sql)
{
    QStringList ergebnis;
    auto rs = db.openRecordset(sql);
    while (!rs->eof()) {
        QStringList werte;
        for (int i = 0; i < rs->fieldCount(); ++i)
            werte << (rs->value(i).isNull() ? QStringLiteral("NULL") : rs->value(i).toString());
        ergebnis << werte.join(QLatin1Char('|'));
        rs->moveNext();
    }
    return ergebnis;
}

} // namespace

class TstAppend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnsByName_data();
    void columnsByName();
    void unknownOrDoubleNameInsertsNothing_data();
    void unknownOrDoubleNameInsertsNothing();
    void counterTakesTheSourceValue();
    void storedAppendQueryWithParameter();
};

void TstAppend::columnsByName_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("erwartet"); // ID|ort|Land|Notiz|NAME|Nr

    const QStringList beide { QStringLiteral("1|Bonn|DE|NULL|Meier|7"),
        QStringLiteral("2|Köln|DE|NULL|Müller|8") };
    QTest::newRow("star") << "INSERT INTO [Ziel] SELECT * FROM [Quelle] ORDER BY [Nr]" << beide;
    QTest::newRow("table star") << "INSERT INTO Ziel SELECT q.* FROM Quelle AS q WHERE q.Nr > 7"
                                << QStringList { QStringLiteral("1|Köln|DE|NULL|Müller|8") };
    QTest::newRow("named columns in another order")
        << "INSERT INTO [Ziel] SELECT [Ort], [Nr], [Name] FROM [Quelle] ORDER BY [Nr]" << beide;
    QTest::newRow("aliases")
        << "INSERT INTO [Ziel] SELECT [Name] AS [Notiz], [Nr] * 10 AS [Nr] FROM [Quelle] "
           "WHERE [Nr] = 7"
        << QStringList { QStringLiteral("1|NULL|DE|Meier|NULL|70") };
    // A column list is filled by position as written.
    QTest::newRow("column list")
        << "INSERT INTO [Ziel] ([Notiz], [Land]) SELECT [Name], [Ort] FROM [Quelle] ORDER BY [Nr]"
        << QStringList { QStringLiteral("1|NULL|Bonn|Meier|NULL|NULL"),
               QStringLiteral("2|NULL|Köln|Müller|NULL|NULL") };
}

void TstAppend::columnsByName()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, erwartet);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = datenbank(ws, dir.file(QStringLiteral("a.kdb")));
    db->execute(sql);
    QCOMPARE(db->recordsAffected(), erwartet.size());
    QCOMPARE(zeilen(*db, QStringLiteral("SELECT * FROM [Ziel] ORDER BY [ID]")), erwartet);
}

void TstAppend::unknownOrDoubleNameInsertsNothing_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QString>("meldung");
    const QString unbekannt = QStringLiteral(
        "Das INSERT INTO-Statement enthält den folgenden unbekannten Feldnamen: '%1'. Stellen Sie "
        "sicher, dass Sie den Namen richtig eingegeben haben, und wiederholen Sie den Vorgang.");
    QTest::newRow("star") << "INSERT INTO [Andere] SELECT * FROM [Quelle]" << 3127
                          << unbekannt.arg(QStringLiteral("Ort"));
    QTest::newRow("computed column")
        << "INSERT INTO [Andere] SELECT [Nr], [Name] & '!' FROM [Quelle]" << 3127
        << unbekannt.arg(QStringLiteral("Expr1000"));
    QTest::newRow("same column twice")
        << "INSERT INTO [Andere] SELECT [Nr], [Name], [Ort] AS [NAME] FROM [Quelle]" << 3219
        << QStringLiteral("Doppeltes Ausgabeziel 'Name'.");
}

void TstAppend::unknownOrDoubleNameInsertsNothing()
{
    QFETCH(QString, sql);
    QFETCH(int, nummer);
    QFETCH(QString, meldung);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = datenbank(ws, dir.file(QStringLiteral("a.kdb")));
    try {
        db->execute(sql);
        QFAIL("no error");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), nummer);
        QCOMPARE(e.description(), meldung);
    }
    QCOMPARE(zeilen(*db, QStringLiteral("SELECT count(*) FROM [Andere]")),
        QStringList { QStringLiteral("0") });
}

void TstAppend::counterTakesTheSourceValue()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = datenbank(ws, dir.file(QStringLiteral("a.kdb")));
    db->execute(QStringLiteral("INSERT INTO [Ziel] SELECT [Nr] AS [ID], [Name] FROM [Quelle]"));
    // The next counter value follows the highest one taken over.
    db->execute(QStringLiteral("INSERT INTO [Ziel] ([Name]) VALUES ('Neu')"));
    QCOMPARE(zeilen(*db, QStringLiteral("SELECT [ID], [Name] FROM [Ziel] ORDER BY [ID]")),
        (QStringList {
            QStringLiteral("7|Meier"), QStringLiteral("8|Müller"), QStringLiteral("9|Neu") }));
}

void TstAppend::storedAppendQueryWithParameter()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = datenbank(ws, dir.file(QStringLiteral("a.kdb")));
    QueryDef& q = db->createQueryDef(QStringLiteral("Anfuegen"),
        QStringLiteral("INSERT INTO [Ziel] SELECT * FROM [Quelle] WHERE [Ort] = [Welcher Ort]"));
    QCOMPARE(q.type(), int(dbQAppend));
    q.setParameter(QStringLiteral("Welcher Ort"), QStringLiteral("köln"));
    QCOMPARE(q.execute(), 1);
    QCOMPARE(zeilen(*db, QStringLiteral("SELECT [ort], [NAME], [Nr] FROM [Ziel]")),
        QStringList { QStringLiteral("Köln|Müller|8") });
}

QTEST_GUILESS_MAIN(TstAppend)
#include "tst_append.moc"
