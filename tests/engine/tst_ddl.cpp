// Tables made by SQL read back as the object model makes them, counters number their rows, and
// later changes through the object model keep what SQL made.

#include "SqlDb.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {

QList<QVariant> spalte(Database& db, const QString& sql)
{
    QList<QVariant> werte;
    auto rs = db.openRecordset(sql);
    for (; !rs->eof(); rs->moveNext())
        werte << rs->value(0);
    return werte;
}

} // namespace

class TestDdl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typesReadBackAsTheObjectModelMakesThem_data();
    void typesReadBackAsTheObjectModelMakesThem();
    void counterNumbersRowsWithOrWithoutKey_data();
    void counterNumbersRowsWithOrWithoutKey();
    void secondCounterIsRefused();
    void counterAddedToTableWithRows();
    void objectModelChangesKeepColumnsMadeBySql();
};

void TestDdl::typesReadBackAsTheObjectModelMakesThem_data()
{
    QTest::addColumn<QString>("ddl");
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("groesse"); // -1: the type's own
    QTest::addColumn<bool>("zaehler");
    QTest::addColumn<bool>("pflicht");
    auto row = [](const char* ddl, int typ, int groesse = -1, bool zaehler = false,
                   bool pflicht = false) {
        QTest::newRow(ddl) << QString::fromLatin1(ddl) << typ << groesse << zaehler << pflicht;
    };
    for (const char* t :
        { "TEXT", "VARCHAR", "CHAR", "CHARACTER", "STRING", "ALPHANUMERIC", "NVARCHAR" })
        row(t, dbText, 255);
    row("TEXT(5)", dbText, 5);
    row("VARCHAR(40) NOT NULL", dbText, 40, false, true);
    row("TEXT(300)", dbText, 255);
    for (const char* t : { "MEMO", "LONGTEXT", "LONGCHAR", "NOTE", "NTEXT" })
        row(t, dbMemo);
    for (const char* t : { "LONG", "INTEGER", "INT", "INTEGER4" })
        row(t, dbLong);
    row("LONG NOT NULL", dbLong, -1, false, true);
    for (const char* t : { "SHORT", "SMALLINT", "INTEGER2" })
        row(t, dbInteger);
    for (const char* t : { "BYTE", "TINYINT", "INTEGER1" })
        row(t, dbByte);
    for (const char* t : { "CURRENCY", "MONEY" })
        row(t, dbCurrency);
    for (const char* t : { "SINGLE", "REAL", "FLOAT4", "IEEESINGLE" })
        row(t, dbSingle);
    for (const char* t : { "DOUBLE", "FLOAT", "FLOAT8", "NUMBER", "IEEEDOUBLE" })
        row(t, dbDouble);
    for (const char* t : { "DATETIME", "DATE", "TIME", "TIMESTAMP" })
        row(t, dbDate);
    for (const char* t : { "YESNO", "BIT", "LOGICAL", "LOGICAL1", "BOOLEAN" })
        row(t, dbBoolean);
    row("COUNTER", dbLong, -1, true);
    row("AUTOINCREMENT", dbLong, -1, true);
    row("COUNTER NOT NULL", dbLong, -1, true, true);
    for (const char* t : { "LONGBINARY", "OLEOBJECT", "IMAGE", "GENERAL" })
        row(t, dbLongBinary);
    row("BINARY(16)", dbBinary, 16);
    row("VARBINARY(8)", dbBinary, 8);
    for (const char* t : { "GUID", "UNIQUEIDENTIFIER" })
        row(t, dbGUID);
    for (const char* t : { "DECIMAL", "NUMERIC", "DEC", "DECIMAL(10,2)" })
        row(t, dbDecimal);
}

void TestDdl::typesReadBackAsTheObjectModelMakesThem()
{
    QFETCH(QString, ddl);
    QFETCH(int, typ);
    QFETCH(int, groesse);
    QFETCH(bool, zaehler);
    QFETCH(bool, pflicht);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->execute(QStringLiteral("CREATE TABLE S (F %1, Z TEXT(1))").arg(ddl));
    auto t = db->createTableDef(QStringLiteral("O"));
    auto f = t->createField(QStringLiteral("F"), typ, groesse);
    if (zaehler)
        f->setAttributes(dbFixedField | dbAutoIncrField);
    f->setRequired(pflicht);
    t->fields().append(std::move(f));
    db->tableDefs().append(std::move(t));
    db->tableDefs().refresh();
    const Field& sql
        = *db->tableDefs().find(QStringLiteral("S"))->fields().find(QStringLiteral("F"));
    const Field& om
        = *db->tableDefs().find(QStringLiteral("O"))->fields().find(QStringLiteral("F"));
    QCOMPARE(sql.type(), om.type());
    QCOMPARE(sql.size(), om.size());
    QCOMPARE(sql.attributes(), om.attributes());
    QCOMPARE(sql.required(), om.required());
    QCOMPARE(sql.type(), typ);
}

void TestDdl::counterNumbersRowsWithOrWithoutKey_data()
{
    QTest::addColumn<QString>("ddl");
    QTest::newRow("no key") << "CREATE TABLE T (Nr COUNTER, A TEXT(5))";
    QTest::newRow("autoincrement") << "CREATE TABLE T (A TEXT(5), Nr AUTOINCREMENT)";
    QTest::newRow("counter is the key") << "CREATE TABLE T (Nr COUNTER PRIMARY KEY, A TEXT(5))";
    QTest::newRow("key on another field") << "CREATE TABLE T (Nr COUNTER, A TEXT(5) PRIMARY KEY)";
    QTest::newRow("key constraint") << "CREATE TABLE T (Nr COUNTER, A TEXT(5), "
                                       "CONSTRAINT pk PRIMARY KEY (A))";
    QTest::newRow("key constraint on the counter")
        << "CREATE TABLE T (Nr COUNTER, A TEXT(5), CONSTRAINT pk PRIMARY KEY (Nr))";
}

void TestDdl::counterNumbersRowsWithOrWithoutKey()
{
    QFETCH(QString, ddl);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    db->execute(ddl);
    for (const char* a : { "a", "b", "c" })
        db->execute(QStringLiteral("INSERT INTO T (A) VALUES ('%1')").arg(QLatin1String(a)));
    QCOMPARE(
        spalte(*db, QStringLiteral("SELECT Nr FROM T ORDER BY A")), (QList<QVariant> { 1, 2, 3 }));
    const Field* nr
        = db->tableDefs().find(QStringLiteral("T"))->fields().find(QStringLiteral("Nr"));
    QVERIFY(nr->isAutoIncrement());
    QCOMPARE(nr->type(), int(dbLong));
    // A key on the other field still refuses a second equal value.
    if (ddl.contains(QLatin1String("PRIMARY KEY (A)"))
        || ddl.contains(QLatin1String("A TEXT(5) PRIMARY KEY")))
        QCOMPARE(
            fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO T (A) VALUES ('a')")); }),
            err::DuplicateKey);
}

void TestDdl::secondCounterIsRefused()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("CREATE TABLE T (Nr COUNTER, Nr2 AUTOINCREMENT)"));
    }),
        err::InvalidOperation);
    QVERIFY(!db->tableDefs().find(QStringLiteral("T")));
}

void TestDdl::counterAddedToTableWithRows()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kv::test::sqlDb(ws, dir.file(QStringLiteral("a.kdb")),
        { "CREATE TABLE T (A TEXT(5), B LONG)", "INSERT INTO T VALUES ('x', 7)",
            "INSERT INTO T VALUES ('y', 8)", "ALTER TABLE T ADD COLUMN Nr COUNTER",
            "INSERT INTO T (A, B) VALUES ('z', 9)" });
    QCOMPARE(spalte(*db, QStringLiteral("SELECT A & B & '-' & Nr FROM T ORDER BY Nr")),
        (QList<QVariant> {
            QStringLiteral("x7-1"), QStringLiteral("y8-2"), QStringLiteral("z9-3") }));
    QVERIFY(db->tableDefs()
                .find(QStringLiteral("T"))
                ->fields()
                .find(QStringLiteral("Nr"))
                ->isAutoIncrement());
}

void TestDdl::objectModelChangesKeepColumnsMadeBySql()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kv::test::sqlDb(ws, dir.file(QStringLiteral("a.kdb")),
        { "CREATE TABLE T (A TEXT(5), B LONG)", "INSERT INTO T VALUES ('x', 7)" });
    // A counter added through the object model rebuilds the table around the new rowid.
    TableDef* t = db->tableDefs().find(QStringLiteral("T"));
    auto nr = t->createField(QStringLiteral("Nr"), dbLong);
    nr->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(nr));
    db->execute(QStringLiteral("ALTER TABLE T ADD COLUMN C TEXT(3)"));
    db->execute(QStringLiteral("UPDATE T SET C = 'c'"));
    t = db->tableDefs().find(QStringLiteral("T"));
    auto d = t->createField(QStringLiteral("D"), dbText, 5);
    d->setDefaultValue(QStringLiteral("'neu'"));
    t->fields().append(std::move(d));
    QCOMPARE(spalte(*db, QStringLiteral("SELECT A & B & C & Nr FROM T")),
        (QList<QVariant> { QStringLiteral("x7c1") }));
    db->execute(QStringLiteral("INSERT INTO T (A) VALUES ('y')"));
    QCOMPARE(spalte(*db, QStringLiteral("SELECT D FROM T WHERE A = 'y'")),
        (QList<QVariant> { QStringLiteral("neu") }));
}

QTEST_GUILESS_MAIN(TestDdl)
#include "tst_ddl.moc"
