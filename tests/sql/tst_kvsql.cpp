// The command-line tool end to end, and its statement splitting.

#include "engine/ScriptRunner.h"
#include "testutils/TempDir.h"

#include <QProcess>
#include <QTest>

using kv::engine::ScriptRunner;

namespace {

struct Result {
    int code;
    QString out;
    QString err;
};

Result kvsql(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(qEnvironmentVariable("KV_BIN_DIR") + QStringLiteral("/kvsql"), args);
    if (!p.waitForStarted())
        return { -1, {}, QStringLiteral("kvsql fehlt") };
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return { p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
        QString::fromUtf8(p.readAllStandardError()) };
}

} // namespace

class TstKvsql : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void endToEnd();
    void crosstabWithoutInList();
};

void TstKvsql::split_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("one without semicolon") << "SELECT 1" << QStringList { "SELECT 1" };
    QTest::newRow("lines") << "SELECT *\nFROM T;\r\nDELETE * FROM T;\n\n"
                           << QStringList { "SELECT *\nFROM T;", "DELETE * FROM T;" };
    QTest::newRow("semicolon inside a line") << "SELECT ';' FROM T\n;\n"
                                             << QStringList { "SELECT ';' FROM T\n;" };
    QTest::newRow("parameters stay with their statement")
        << "PARAMETERS a Text;\nSELECT a;\nSELECT 2"
        << QStringList { "PARAMETERS a Text;\nSELECT a;", "SELECT 2" };
}

void TstKvsql::split()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(ScriptRunner::split(script), statements);
}

void TstKvsql::endToEnd()
{
    kv::test::TempDir dir;
    const QString db = dir.file(QStringLiteral("k.kvd"));
    Result r = kvsql({ "--create", db,
        "CREATE TABLE [K] ([ID] COUNTER PRIMARY KEY, [Name] TEXT(20), [Datum] DATETIME, [B] YESNO, "
        "[W] CURRENCY)" });
    QCOMPARE(r.code, 0);
    r = kvsql({ db },
        "INSERT INTO K (Name, Datum, B, W) VALUES ('Meier, Hans', #2/1/2009#, True, 12.5);\n"
        "INSERT INTO K (Name) VALUES ('Ärger \"x\"');\n"
        "SELECT * FROM K ORDER BY Name;\n");
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out,
        QStringLiteral("1\n1\nID,Name,Datum,B,W\n2,\"Ärger \"\"x\"\"\",,,\n"
                       "1,\"Meier, Hans\",2009-02-01 00:00:00,-1,12.5\n"));
    r = kvsql({ "--table", "--param", "n=m*", db, "SELECT ID, Name FROM K WHERE Name Like n" });
    QCOMPARE(r.out, QStringLiteral("ID | Name\n---+------------\n1  | Meier, Hans\n"));
    r = kvsql({ db, "SELECT * FROM K WHERE Name = fehlt" });
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, QStringLiteral("Fehler 3061: Zu wenige Parameter. Erwartet: 1.\n"));
    r = kvsql({ "--readonly", db, "DELETE * FROM K" });
    QCOMPARE(r.code, 1);
    QVERIFY(r.err.startsWith(QLatin1String("Fehler 3027: ")));
    r = kvsql({ db, "SELECT * FROM K WHERE (" });
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err,
        QStringLiteral("Fehler 3075: Syntaxfehler in der Abfrage bei Position 24: "
                       "unerwartetes Ende der Anweisung. Erwartet: ein Ausdruck.\n"));
}

void TstKvsql::crosstabWithoutInList()
{
    // The tool reads the crosstab's columns from the data, as a stored query does.
    kv::test::TempDir dir;
    const QString db = dir.file(QStringLiteral("k.kvd"));
    QCOMPARE(
        kvsql({ "--create", db, "CREATE TABLE U (Name TEXT(10), Jahr LONG, W CURRENCY)" }).code, 0);
    Result r = kvsql({ db },
        "INSERT INTO U VALUES ('A', 2020, 1.5);\nINSERT INTO U VALUES ('A', 2021, 2);\n"
        "INSERT INTO U VALUES ('B', 2021, 3);\n"
        "TRANSFORM Sum(W) SELECT Name FROM U GROUP BY Name PIVOT Jahr;\n");
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QStringLiteral("1\n1\n1\nName,2020,2021\nA,1.5,2\nB,,3\n"));
    r = kvsql({ "--param", "ab=2021", db,
        "PARAMETERS ab Long; TRANSFORM Sum(W) SELECT Name FROM U WHERE Jahr >= ab GROUP BY Name "
        "PIVOT Jahr" });
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QStringLiteral("Name,2021\nA,2\nB,3\n"));
    // Values typed as a German user types them, converted to the declared type.
    r = kvsql({ "--param", "ab=1,5", db,
        "PARAMETERS ab Currency; SELECT Name, Jahr FROM U WHERE W > ab ORDER BY Jahr" });
    QCOMPARE(r.out, QStringLiteral("Name,Jahr\nA,2021\nB,2021\n"));
    r = kvsql(
        { "--param", "ab=zwei", db, "PARAMETERS ab Long; SELECT Name FROM U WHERE Jahr > ab" });
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err,
        QStringLiteral(
            "Fehler 3464: Der Wert 'zwei' für den Parameter 'ab' ist keine gültige Zahl.\n"));
}

QTEST_GUILESS_MAIN(TstKvsql)
#include "tst_kvsql.moc"
