#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/TempDir.h"

#include <QtTest>
#include <sqlite3.h>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {
// Kunden(ID counter, Name required, Ort, Umsatz currency) with n rows "K1".."Kn".
std::unique_ptr<Database> kundenDb(Workspace& ws, const QString& pfad, int n)
{
    auto db = ws.createDatabase(pfad);
    auto t = db->createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    auto name = t->createField(QStringLiteral("Name"), dbText, 30);
    name->setRequired(true);
    t->fields().append(std::move(name));
    auto ort = t->createField(QStringLiteral("Ort"), dbText, 30);
    ort->setDefaultValue(QStringLiteral("'Bonn'"));
    t->fields().append(std::move(ort));
    t->fields().append(t->createField(QStringLiteral("Umsatz"), dbCurrency));
    db->tableDefs().append(std::move(t));
    ws.beginTrans();
    for (int i = 1; i <= n; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Umsatz) VALUES ('K%1', %1)").arg(i));
    ws.commitTrans();
    return db;
}
} // namespace

class TestRecordset : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void navigationAtTheBoundaries_data();
    void navigationAtTheBoundaries();
    void emptySetRefusesMoves();
    void deletingTheLastRow();
    void bookmarksAreValidAcrossClones();
    void editsInACloneAreSeenAfterRequery();
    void addNewShowsDefaultsAndCounter();
    void ruleViolationKeepsEditMode();
    void absolutePositionAndMove();
    void findFirstWithConditions();
    void getRowsAndPagesBeyondTheCache();
    void storedValuesBecomeFieldTypes();
    void snapshotsAndJoinsAreReadOnly();
    void fieldsKnowTheirOrigin();
    void parametersAndStoredQueries();
    void attachedTableWorksLikeALocalOne();
    void wholeTableIsReadAsTheCursorGoes();
    void crosstabTakesItsColumnsFromTheData();
    void textsReadBackExactly();
    void writesInAWalkAreSeenAtOnce();
    void randomWritesKeepTheCacheTrue_data();
    void randomWritesKeepTheCacheTrue();
};

void TestRecordset::navigationAtTheBoundaries_data()
{
    QTest::addColumn<int>("zeilen");
    QTest::newRow("eine") << 1;
    QTest::newRow("drei") << 3;
    QTest::newRow("seitengrenze") << 129;
}

void TestRecordset::navigationAtTheBoundaries()
{
    QFETCH(int, zeilen);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), zeilen);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden] ORDER BY Umsatz DESC"));
    QCOMPARE(rs->recordCount(), zeilen);
    QVERIFY(!rs->bof());
    QVERIFY(!rs->eof());
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K%1").arg(zeilen));
    int n = 0;
    while (!rs->eof()) {
        ++n;
        rs->moveNext();
    }
    QCOMPARE(n, zeilen);
    QCOMPARE(fehlerNummer([&] { rs->moveNext(); }), err::NoCurrentRecord);
    QCOMPARE(fehlerNummer([&] { rs->value(0); }), err::NoCurrentRecord);
    rs->movePrevious();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    rs->moveFirst();
    rs->movePrevious();
    QVERIFY(rs->bof());
    QCOMPARE(fehlerNummer([&] { rs->movePrevious(); }), err::NoCurrentRecord);
    rs->moveLast();
    QCOMPARE(rs->absolutePosition(), zeilen - 1);
}

void TestRecordset::emptySetRefusesMoves()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 2);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE Name = 'niemand'"));
    QVERIFY(rs->bof());
    QVERIFY(rs->eof());
    QCOMPARE(rs->recordCount(), 0);
    QCOMPARE(rs->absolutePosition(), -1);
    QCOMPARE(fehlerNummer([&] { rs->moveFirst(); }), err::NoCurrentRecord);
    QCOMPARE(fehlerNummer([&] { rs->bookmark(); }), err::NoCurrentRecord);
    QCOMPARE(fehlerNummer([&] { rs->edit(); }), err::NoCurrentRecord);
    QCOMPARE(fehlerNummer([&] { rs->setAbsolutePosition(0); }), err::InvalidArgument);
    QCOMPARE(rs->getRows(10).size(), 0);
    rs->findFirst(QStringLiteral("Name = 'K1'"));
    QVERIFY(rs->noMatch());
    // A new record joins the empty set.
    rs->addNew();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Neu"));
    rs->update();
    QCOMPARE(rs->recordCount(), 1);
    rs->setBookmark(rs->lastModified());
    QCOMPARE(rs->value(QStringLiteral("Ort")).toString(), QStringLiteral("Bonn"));
}

void TestRecordset::deletingTheLastRow()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 2);
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->moveLast();
    rs->remove();
    QCOMPARE(fehlerNummer([&] { rs->value(0); }), err::RecordDeleted);
    rs->moveNext();
    QVERIFY(rs->eof());
    rs->movePrevious();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    rs->remove();
    QCOMPARE(rs->recordCount(), 0);
    rs->moveNext();
    QVERIFY(rs->eof());
    QVERIFY(rs->bof());
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 0);
}

void TestRecordset::bookmarksAreValidAcrossClones()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 300);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY Name"));
    rs->setAbsolutePosition(250);
    const QByteArray b = rs->bookmark();
    const QString name = rs->value(QStringLiteral("Name")).toString();
    auto klon = rs->clone();
    QVERIFY(klon->bof());
    klon->setBookmark(b);
    QCOMPARE(klon->value(QStringLiteral("Name")).toString(), name);
    QCOMPARE(klon->absolutePosition(), 250);
    klon->moveFirst();
    rs->setBookmark(klon->bookmark());
    QCOMPARE(rs->absolutePosition(), 0);
    QCOMPARE(fehlerNummer([&] { rs->setBookmark(QByteArray("xx")); }), err::InvalidBookmark);
    auto anderes = db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE ID > 500"));
    QCOMPARE(fehlerNummer([&] { anderes->setBookmark(b); }), err::InvalidBookmark);
    // A clone of the clone walks the same keys.
    auto zweiter = klon->clone();
    zweiter->moveLast();
    QCOMPARE(zweiter->recordCount(), 300);
}

void TestRecordset::editsInACloneAreSeenAfterRequery()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 5);
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    auto klon = rs->clone();
    klon->moveFirst();
    klon->edit();
    klon->setValue(QStringLiteral("Name"), QStringLiteral("Geändert"));
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    klon->update();
    QCOMPARE(klon->editMode(), int(dbEditNone));
    klon->moveLast();
    klon->remove();
    rs->requery();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Geändert"));
    QCOMPARE(rs->recordCount(), 4);
    // Cancelling leaves the file as it was.
    rs->edit();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Verworfen"));
    rs->cancelUpdate();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Geändert"));
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::NoEdit);
    QCOMPARE(fehlerNummer([&] { rs->setValue(QStringLiteral("Name"), 1); }), err::NoEdit);
}

void TestRecordset::addNewShowsDefaultsAndCounter()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 3);
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 3"));
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->moveFirst();
    rs->addNew();
    QCOMPARE(rs->editMode(), int(dbEditAdd));
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 4); // numbers are not reused
    QCOMPARE(rs->value(QStringLiteral("Ort")).toString(), QStringLiteral("Bonn"));
    QVERIFY(!rs->field(QStringLiteral("ID")).dataUpdatable());
    QCOMPARE(fehlerNummer([&] { rs->setValue(QStringLiteral("ID"), 99); }), err::FieldNotUpdatable);
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Vier"));
    rs->setValue(QStringLiteral("Umsatz"), QStringLiteral("12.34567"));
    rs->update();
    QCOMPARE(rs->absolutePosition(), 0); // stays where it was
    rs->setBookmark(rs->lastModified());
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 4);
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toDouble(), 12.3457);
    QCOMPARE(rs->recordCount(), 3);
}

void TestRecordset::ruleViolationKeepsEditMode()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 2);
    TableDef& t = db->tableDefs().item(QStringLiteral("Kunden"));
    t.fields().item(QStringLiteral("Umsatz")).setValidationRule(QStringLiteral(">= 0"));
    t.fields()
        .item(QStringLiteral("Umsatz"))
        .setValidationText(QStringLiteral("Kein negativer Umsatz!"));
    auto ix = t.createIndex(QStringLiteral("NameIx"));
    ix->appendField(QStringLiteral("Name"));
    ix->setUnique(true);
    t.indexes().append(std::move(ix));

    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->edit();
    rs->setValue(QStringLiteral("Umsatz"), -5);
    try {
        rs->update();
        QFAIL("no error");
    } catch (const EngineError& e) {
        QCOMPARE(e.number(), err::ValidationRule);
        QCOMPARE(e.description(), QStringLiteral("Kein negativer Umsatz!"));
    }
    QCOMPARE(rs->editMode(), int(dbEditInProgress));
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toDouble(), -5.0);
    rs->setValue(QStringLiteral("Name"), QVariant());
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::Required);
    rs->setValue(QStringLiteral("Umsatz"), 5);
    rs->setValue(QStringLiteral("Name"), QStringLiteral("k2")); // case-insensitive duplicate
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::DuplicateKey);
    rs->setValue(QStringLiteral("Name"), QString(31, QLatin1Char('x')));
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::FieldTooSmall);
    rs->setValue(QStringLiteral("Name"), QString());
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::ZeroLength);
    rs->cancelUpdate();
    auto pruef = db->openRecordset(QStringLiteral("Kunden"));
    QCOMPARE(pruef->value(QStringLiteral("Name")).toString(), QStringLiteral("K1"));
    QCOMPARE(pruef->value(QStringLiteral("Umsatz")).toDouble(), 1.0);
    // The same rules hold for SQL statements.
    QCOMPARE(fehlerNummer([&] { db->execute(QStringLiteral("UPDATE Kunden SET Umsatz = -1")); }),
        err::ValidationRule);
    QCOMPARE(fehlerNummer([&] { db->execute(QStringLiteral("UPDATE Kunden SET Name = NULL")); }),
        err::Required);
    // Null passes a rule, as it always did.
    db->execute(QStringLiteral("UPDATE Kunden SET Umsatz = NULL"));
    QCOMPARE(db->recordsAffected(), 2);
}

void TestRecordset::absolutePositionAndMove()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 1000);
    auto rs = db->openRecordset(
        QStringLiteral("SELECT ID, Name FROM Kunden WHERE ID Mod 2 = 0 ORDER BY ID DESC"));
    QCOMPARE(rs->recordCount(), 500);
    rs->setAbsolutePosition(499);
    QCOMPARE(rs->value(0).toInt(), 2);
    rs->move(-10);
    QCOMPARE(rs->value(0).toInt(), 22);
    rs->move(20);
    QVERIFY(rs->eof());
    rs->moveFirst();
    rs->move(3, QByteArray());
    QCOMPARE(rs->value(0).toInt(), 994);
    rs->move(-10);
    QVERIFY(rs->bof());
    QCOMPARE(fehlerNummer([&] { rs->setAbsolutePosition(500); }), err::InvalidArgument);
    QCOMPARE(fehlerNummer([&] { rs->setAbsolutePosition(-1); }), err::InvalidArgument);
}

void TestRecordset::findFirstWithConditions()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 50);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    rs->findFirst(QStringLiteral("Umsatz < 10"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 9);
    rs->findNext(QStringLiteral("Umsatz < 10"));
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 8);
    rs->findLast(QStringLiteral("Umsatz > 40"));
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 41);
    rs->findPrevious(QStringLiteral("Umsatz > 40"));
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 42);
    rs->findFirst(QStringLiteral("[Kunden].[Name] = 'k7'"));
    QCOMPARE(rs->value(QStringLiteral("Umsatz")).toInt(), 7);
    const qint64 vorher = rs->absolutePosition();
    rs->findFirst(QStringLiteral("Name = 'gibt es nicht'"));
    QVERIFY(rs->noMatch());
    QCOMPARE(rs->absolutePosition(), vorher);
    QCOMPARE(fehlerNummer([&] { rs->findFirst(QStringLiteral("Name = ")); }), err::SyntaxError);
}

void TestRecordset::getRowsAndPagesBeyondTheCache()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 5000);
    // Random order defeats range reads; every row must still come back once.
    auto rs = db->openRecordset(
        QStringLiteral("SELECT ID, Umsatz FROM Kunden ORDER BY (ID * 7919) Mod 5000"));
    qint64 summe = 0;
    int zeilen = 0;
    while (!rs->eof()) {
        const QList<QVariantList> teil = rs->getRows(700);
        for (const QVariantList& z : teil)
            summe += z.value(0).toLongLong();
        zeilen += teil.size();
    }
    QCOMPARE(zeilen, 5000);
    QCOMPARE(summe, qint64(5000) * 5001 / 2);
    rs->setAbsolutePosition(4999);
    rs->setAbsolutePosition(0);
    QVERIFY(rs->value(0).toInt() > 0);
}

void TestRecordset::storedValuesBecomeFieldTypes()
{
    kv::test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("w.kdb"));
    Workspace ws;
    const int typen[] = { dbDate, dbBoolean, dbLong, dbCurrency, dbText, dbMemo, dbDouble };
    {
        auto db = ws.createDatabase(pfad);
        auto t = db->createTableDef(QStringLiteral("W"));
        for (int i = 0; i < 7; ++i)
            t->fields().append(t->createField(QStringLiteral("F%1").arg(i), typen[i]));
        db->tableDefs().append(std::move(t));
    }
    // Storage values as other programs leave them, repeated so that pages and the date
    // lookups are used again, and spread over more than one page.
    const char* werte[] = { "'2009-02-01 00:00:00', -1, 7, 12.5, 'Müller', NULL, 2.5",
        "'2009-02-01 13:45:10', 0, 7.5, 3, 42, x'00ff', '1,5'",
        "'2009-02-30 00:00:00', 'false', '8', NULL, 1.25, 'Notiz', 3",
        "'1899-12-30', 'true', NULL, '9,95', 'a', 'b', NULL",
        "'kein Datum', 2, -3, 0, NULL, 'ä', 0", "NULL, NULL, NULL, NULL, NULL, NULL, NULL",
        "12, 1.5, 2147483647, -0.5, 'x', 'y', -1",
        "'2009x02-01 00:00:00', NULL, NULL, NULL, NULL, NULL, NULL" };
    sqlite3* roh = nullptr;
    QCOMPARE(sqlite3_open(pfad.toUtf8().constData(), &roh), SQLITE_OK);
    sqlite3_exec(roh, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 0; i < 1301; ++i) {
        const QByteArray sql = QByteArray("INSERT INTO W VALUES (") + werte[i % 8] + ")";
        QVERIFY2(sqlite3_exec(roh, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK,
            sqlite3_errmsg(roh));
    }
    sqlite3_exec(roh, "COMMIT", nullptr, nullptr, nullptr);
    auto db = ws.openDatabase(pfad);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM W"));
    auto klon = rs->clone();
    klon->moveLast(); // pages read out of order
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(roh, "SELECT * FROM W ORDER BY rowid", -1, &st, nullptr);
    int zeile = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        QVERIFY(!rs->eof());
        for (int i = 0; i < 7; ++i) {
            QVariant gespeichert;
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER:
                gespeichert = QVariant(qlonglong(sqlite3_column_int64(st, i)));
                break;
            case SQLITE_FLOAT:
                gespeichert = QVariant(sqlite3_column_double(st, i));
                break;
            case SQLITE_TEXT:
                gespeichert = QVariant(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))));
                break;
            case SQLITE_BLOB:
                gespeichert
                    = QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                        sqlite3_column_bytes(st, i)));
                break;
            default:
                break;
            }
            const QVariant erwartet = datatype::fromStorage(gespeichert, typen[i]);
            const QVariant gelesen = rs->value(i);
            if (gelesen != erwartet || gelesen.typeId() != erwartet.typeId())
                QFAIL(qPrintable(QStringLiteral("Zeile %1, Feld %2: %3 statt %4")
                                     .arg(zeile)
                                     .arg(i)
                                     .arg(gelesen.toString(), erwartet.toString())));
        }
        if (zeile == 1) {
            QCOMPARE(rs->value(0).toDateTime(), QDateTime(QDate(2009, 2, 1), QTime(13, 45, 10)));
            QCOMPARE(rs->value(0).toDateTime().timeSpec(), Qt::LocalTime);
        }
        rs->moveNext();
        ++zeile;
    }
    sqlite3_finalize(st);
    QCOMPARE(zeile, 1301);
    QVERIFY(rs->eof());
    QCOMPARE(klon->value(2), QVariant(-3)); // row 1300 is the fifth kind
    sqlite3_close(roh);
}

void TestRecordset::snapshotsAndJoinsAreReadOnly()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 10);
    auto gruppen = db->openRecordset(
        QStringLiteral("SELECT Ort, count(*) AS Anzahl FROM Kunden GROUP BY Ort"));
    QVERIFY(!gruppen->updatable());
    QCOMPARE(gruppen->type(), int(dbOpenSnapshot));
    QCOMPARE(gruppen->value(QStringLiteral("Anzahl")).toInt(), 10);
    QCOMPARE(fehlerNummer([&] { gruppen->edit(); }), err::NotSupported);
    auto summe = db->openRecordset(QStringLiteral("SELECT sum(Umsatz) FROM Kunden"));
    QCOMPARE(summe->recordCount(), 1);
    QCOMPARE(summe->value(0).toInt(), 55);
    auto schnapp = db->openRecordset(QStringLiteral("Kunden"), dbOpenSnapshot);
    QVERIFY(!schnapp->updatable());
    QCOMPARE(schnapp->recordCount(), 10);
    auto dyn = db->openRecordset(
        QStringLiteral("SELECT Name, Umsatz * 2 AS Doppelt FROM Kunden AS k WHERE k.Umsatz > 5"));
    QVERIFY(dyn->updatable());
    QCOMPARE(dyn->recordCount(), 5);
    QVERIFY(!dyn->field(QStringLiteral("Doppelt")).dataUpdatable());
    QCOMPARE(dyn->value(QStringLiteral("Doppelt")).toInt(), 12);
    dyn->edit();
    dyn->setValue(QStringLiteral("Name"), QStringLiteral("Sechs"));
    dyn->update();
    QCOMPARE(dyn->value(QStringLiteral("Name")).toString(), QStringLiteral("Sechs"));
    // A snapshot copy lives on in its clone after the original closes.
    auto klon = gruppen->clone();
    gruppen.reset();
    klon->moveFirst();
    QCOMPARE(klon->value(1).toInt(), 10);
}

void TestRecordset::fieldsKnowTheirOrigin()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 1);
    auto rs = db->openRecordset(
        QStringLiteral("SELECT k.Name AS Kunde, Umsatz, ID, 1 + 1 AS Zwei FROM Kunden k"));
    QCOMPARE(rs->fieldCount(), 4);
    Field& kunde = rs->field(QStringLiteral("Kunde"));
    QCOMPARE(kunde.sourceTable(), QStringLiteral("Kunden"));
    QCOMPARE(kunde.sourceField(), QStringLiteral("Name"));
    QCOMPARE(kunde.type(), int(dbText));
    QCOMPARE(kunde.size(), 30);
    QVERIFY(kunde.required());
    QCOMPARE(rs->field(QStringLiteral("Umsatz")).type(), int(dbCurrency));
    QVERIFY(rs->field(QStringLiteral("ID")).isAutoIncrement());
    QCOMPARE(rs->field(QStringLiteral("Zwei")).sourceTable(), QString());
    QCOMPARE(rs->field(QStringLiteral("Zwei")).type(), int(dbLong));
    QCOMPARE(rs->field(QStringLiteral("Kunden.Name")).name(), QStringLiteral("Kunde"));
    QCOMPARE(rs->field(0).value().toString(), QStringLiteral("K1"));
}

void TestRecordset::parametersAndStoredQueries()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 20);
    QueryDef& q = db->createQueryDef(QStringLiteral("Grosskunden"),
        QStringLiteral("SELECT * FROM Kunden WHERE Umsatz >= [Mindest]"));
    QCOMPARE(q.type(), int(dbQSelect));
    QCOMPARE(q.parameters().size(), 1);
    QCOMPARE(q.parameters()[0].name, QStringLiteral("Mindest"));
    QCOMPARE(fehlerNummer([&] { q.openRecordset(); }), err::TooFewParameters);
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("Grosskunden")); }),
        err::TooFewParameters);
    q.setParameter(QStringLiteral("mindest"), 15);
    auto rs = q.openRecordset();
    QCOMPARE(rs->recordCount(), 6);
    QVERIFY(rs->updatable());
    QCOMPARE(fehlerNummer([&] { q.setParameter(QStringLiteral("Fehlt"), 1); }), err::ItemNotFound);

    // A stored select query is usable as a table.
    db->createQueryDef(QStringLiteral("Bonner"),
        QStringLiteral("SELECT Name, Umsatz FROM Kunden WHERE Ort = 'Bonn'"));
    auto ueber = db->openRecordset(QStringLiteral("SELECT count(*) FROM Bonner WHERE Umsatz > 10"));
    QCOMPARE(ueber->value(0).toInt(), 10);
    QCOMPARE(db->openRecordset(QStringLiteral("Bonner"))->recordCount(), 20);

    QueryDef& loeschen = db->createQueryDef(
        QStringLiteral("Aufraeumen"), QStringLiteral("DELETE FROM Kunden WHERE Umsatz < 3"));
    QCOMPARE(loeschen.type(), int(dbQDelete));
    QCOMPARE(loeschen.execute(), 2);
    QCOMPARE(QueryDef::typeOf(QStringLiteral("UPDATE Kunden SET Ort = 'x'")), int(dbQUpdate));
    QCOMPARE(
        QueryDef::typeOf(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('x')")), int(dbQAppend));
    QCOMPARE(QueryDef::typeOf(QStringLiteral("SELECT * INTO Neu FROM Kunden")), int(dbQMakeTable));
    QCOMPARE(QueryDef::typeOf(QStringLiteral("SELECT 1 UNION SELECT 2")), int(dbQSetOperation));
    QCOMPARE(
        QueryDef::typeOf(QStringLiteral("TRANSFORM Sum(x) SELECT a FROM t GROUP BY a PIVOT b")),
        int(dbQCrosstab));
    QCOMPARE(
        QueryDef::typeOf(QStringLiteral("PARAMETERS [X] Long; DELETE FROM t")), int(dbQDelete));
    // Words inside parentheses, texts or names and unreadable text decide nothing.
    QCOMPARE(QueryDef::typeOf(QStringLiteral("SELECT * FROM (SELECT 1 UNION SELECT 2) AS u")),
        int(dbQSelect));
    QCOMPARE(QueryDef::typeOf(QStringLiteral("SELECT 'UNION', [Into] FROM t")), int(dbQSelect));
    QCOMPARE(QueryDef::typeOf(QStringLiteral("SELECT 'offen FROM t")), int(dbQSelect));
    QCOMPARE(QueryDef::typeOf(QStringLiteral("(SELECT 1) UNION (SELECT 2)")), int(dbQSetOperation));

    // Stored, renamed, changed, reopened.
    const QString pfad = db->name();
    db->queryDefs().item(QStringLiteral("Bonner")).setName(QStringLiteral("BonnerKunden"));
    db->queryDefs()
        .item(QStringLiteral("BonnerKunden"))
        .setSql(QStringLiteral("SELECT Name FROM Kunden"));
    QCOMPARE(fehlerNummer(
                 [&] { db->createQueryDef(QStringLiteral("Kunden"), QStringLiteral("SELECT 1")); }),
        err::ObjectExists);
    rs.reset();
    ueber.reset();
    db.reset();
    db = ws.openDatabase(pfad);
    QCOMPARE(db->queryDefs().count(), 3);
    QueryDef& wieder = db->queryDefs().item(QStringLiteral("bonnerkunden"));
    QCOMPARE(wieder.sql(), QStringLiteral("SELECT Name FROM Kunden"));
    QVERIFY(wieder.lastUpdated() >= wieder.dateCreated());
    db->queryDefs().remove(QStringLiteral("BonnerKunden"));
    QCOMPARE(fehlerNummer([&] { db->openRecordset(QStringLiteral("SELECT * FROM BonnerKunden")); }),
        err::NoSuchTable);
}

void TestRecordset::attachedTableWorksLikeALocalOne()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString fremdPfad = dir.file(QStringLiteral("fremd.kdb"));
    kundenDb(ws, fremdPfad, 4);
    auto db = ws.createDatabase(dir.file(QStringLiteral("haupt.kdb")));
    auto t = db->createTableDef(QStringLiteral("ExterneKunden"));
    t->setConnect(QStringLiteral(";DATABASE=") + fremdPfad + QLatin1Char(';'));
    t->setSourceTableName(QStringLiteral("Kunden"));
    db->tableDefs().append(std::move(t));
    TableDef& ext = db->tableDefs().item(QStringLiteral("ExterneKunden"));
    QVERIFY(ext.attributes() & dbAttachedTable);
    QCOMPARE(ext.fields().count(), 4);
    QCOMPARE(ext.fields().item(QStringLiteral("Name")).size(), 30);
    QCOMPARE(ext.recordCount(), 4);
    auto rs = db->openRecordset(QStringLiteral("ExterneKunden"));
    QVERIFY(rs->updatable());
    rs->edit();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Extern"));
    rs->update();
    // The other file's own rules hold.
    rs->edit();
    rs->setValue(QStringLiteral("Name"), QVariant());
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::Required);
    rs->cancelUpdate();
    QCOMPARE(db->openRecordset(QStringLiteral("SELECT Name FROM ExterneKunden WHERE ID = 1"))
                 ->value(0)
                 .toString(),
        QStringLiteral("Extern"));
    const QString pfad = db->name();
    rs.reset();
    db.reset();
    db = ws.openDatabase(pfad);
    QCOMPARE(db->tableDefs().item(QStringLiteral("ExterneKunden")).sourceTableName(),
        QStringLiteral("Kunden"));
    QCOMPARE(db->openRecordset(QStringLiteral("ExterneKunden"))->recordCount(), 4);
    auto falsch = db->createTableDef(QStringLiteral("Fehlt"));
    falsch->setConnect(QStringLiteral(";DATABASE=") + dir.file(QStringLiteral("nichtda.kdb")));
    QCOMPARE(fehlerNummer([&] { db->tableDefs().append(std::move(falsch)); }), err::FileNotFound);
}

// A whole table in table order is read in steps; the set must behave as if all keys were known.
void TestRecordset::wholeTableIsReadAsTheCursorGoes()
{
    kv::test::TempDir dir;
    Workspace ws;
    const int n = 3000;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), n);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden]"));
    auto klon = rs->clone();

    // Other writers change rows not read yet: deleted ones never show, changed ones do.
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE Umsatz BETWEEN 2001 AND 2010"));
    db->execute(QStringLiteral("UPDATE Kunden SET Ort = 'Köln' WHERE Umsatz = 2500"));
    rs->findFirst(QStringLiteral("Umsatz = 2500"));
    QVERIFY(!rs->noMatch());
    QCOMPARE(rs->value(QStringLiteral("Ort")).toString(), QStringLiteral("Köln"));
    QCOMPARE(rs->absolutePosition(), 2489);

    // A bookmark from far ahead is found by a cursor that has not read that far.
    auto dritter = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden]"));
    dritter->setBookmark(rs->bookmark());
    QCOMPARE(dritter->value(QStringLiteral("Name")).toString(), QStringLiteral("K2500"));
    klon->setBookmark(rs->bookmark());
    QCOMPARE(klon->absolutePosition(), 2489);
    rs->moveFirst();
    QVERIFY_THROWS_EXCEPTION(kv::engine::EngineError, dritter->setBookmark(QByteArray(8, '\x7f')));

    // A new row is added once, at the end, also when the set had not been read to the end.
    auto neu = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden]"));
    neu->addNew();
    neu->setValue(QStringLiteral("Name"), QStringLiteral("Neu"));
    neu->update();
    QCOMPARE(neu->recordCount(), n - 10 + 1);
    neu->moveLast();
    QCOMPARE(neu->value(QStringLiteral("Name")).toString(), QStringLiteral("Neu"));
    neu->movePrevious();
    QCOMPARE(neu->value(QStringLiteral("Name")).toString(), QStringLiteral("K3000"));

    // Deleting in a half-read clone leaves the other cursor's keys alone.
    auto a = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden]"));
    auto b = a->clone();
    a->moveFirst();
    a->remove();
    a->moveNext();
    QCOMPARE(a->value(QStringLiteral("Name")).toString(), QStringLiteral("K2"));
    b->moveFirst();
    QVERIFY_THROWS_EXCEPTION(kv::engine::EngineError, b->value(QStringLiteral("Name")));
    qint64 gelaufen = 0;
    for (a->moveFirst(); !a->eof(); a->moveNext())
        ++gelaufen;
    QCOMPARE(gelaufen, n - 10);
    QCOMPARE(a->recordCount(), n - 10);
    a->setAbsolutePosition(2000);
    QCOMPARE(a->value(QStringLiteral("Name")).toString(), QStringLiteral("K2012"));
    QVERIFY_THROWS_EXCEPTION(kv::engine::EngineError, a->setAbsolutePosition(n));
}

void TestRecordset::crosstabTakesItsColumnsFromTheData()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 6);
    db->execute(QStringLiteral("UPDATE Kunden SET Ort = 'Köln' WHERE Umsatz > 4"));
    db->execute(QStringLiteral("UPDATE Kunden SET Ort = Null WHERE Umsatz = 1"));
    const QString kreuz = QStringLiteral(
        "TRANSFORM Sum(Umsatz) SELECT Name FROM Kunden WHERE Umsatz >= [Ab] GROUP BY Name "
        "PIVOT Ort");
    QueryDef& q = db->createQueryDef(QStringLiteral("UmsatzNachOrt"), kreuz);
    QCOMPARE(q.type(), int(dbQCrosstab));
    QCOMPARE(fehlerNummer([&] { q.openRecordset(); }), err::TooFewParameters);

    // The columns are the values the chosen rows hold, sorted; a missing value is "<>".
    q.setParameter(QStringLiteral("Ab"), 1);
    auto alle = q.openRecordset();
    QStringList spalten;
    for (Field* f : alle->fields())
        spalten << f->name();
    QCOMPARE(spalten,
        QStringList({ QStringLiteral("Name"), QStringLiteral("<>"), QStringLiteral("Bonn"),
            QStringLiteral("Köln") }));
    QCOMPARE(alle->recordCount(), 6);

    q.setParameter(QStringLiteral("Ab"), 5);
    auto spaet = q.openRecordset();
    QCOMPARE(spaet->fieldCount(), 2);
    QCOMPARE(spaet->field(1).name(), QStringLiteral("Köln"));
    spaet->moveLast();
    QCOMPARE(spaet->value(1).toDouble(), 6.0);

    // Without a stored query, directly.
    auto direkt = db->openRecordset(QStringLiteral(
        "TRANSFORM Count(*) SELECT Ort FROM Kunden GROUP BY Ort PIVOT Umsatz Mod 2"));
    QCOMPARE(direkt->fieldCount(), 3);
}

// Texts come out of a page's shared block: every kind of UTF-8 (and bytes that are none) must
// read back as Qt reads it, and a text the caller changes must not change any other.
void TestRecordset::textsReadBackExactly()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 0);
    // Also: longer than the page's first text block, ASCII runs broken by other characters at
    // every offset, and an empty text, which is not a missing one.
    const QList<QByteArray> texte { "Müller", "Straße 7", "€ 12,50", "\xf0\x9f\x98\x80 Gruß",
        "ab\xc3(cd", "\xed\xa0\x80x", "\xc0\xafy", "K", QByteArray(30000, 'x') + "ä",
        "abcdefgh\xc3\xa4ijklmnopqrstuvw\xe2\x82\xacxyz", "" };
    TableDef& kunden = db->tableDefs().item(QStringLiteral("Kunden"));
    auto notiz = kunden.createField(QStringLiteral("Notiz"), dbMemo);
    notiz->setAllowZeroLength(true);
    kunden.fields().append(std::move(notiz));
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(db->name().toUtf8().constData(), &h), SQLITE_OK);
    for (const QByteArray& t : texte) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            h, "INSERT INTO Kunden (Name, Ort, Notiz) VALUES ('K', NULL, ?1)", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        QCOMPARE(sqlite3_step(st), SQLITE_DONE);
        sqlite3_finalize(st);
    }
    sqlite3_close(h);

    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM [Kunden]"));
    QList<QString> gelesen;
    for (const QByteArray& t : texte) {
        const QVariant v = rs->value(QStringLiteral("Notiz"));
        QCOMPARE(v.typeId(), int(QMetaType::QString));
        QCOMPARE(v.toString(), QString::fromUtf8(t));
        QVERIFY(!v.toString().isNull());
        QVERIFY(!rs->value(QStringLiteral("Ort")).isValid());
        gelesen << v.toString();
        rs->moveNext();
    }
    rs->requery(); // the page goes; the texts handed out stay
    QString erster = gelesen[0];
    erster += QStringLiteral("-Lüdenscheid");
    gelesen[6].append(QLatin1Char('!'));
    QCOMPARE(erster, QStringLiteral("Müller-Lüdenscheid"));
    QCOMPARE(gelesen[0], QStringLiteral("Müller"));
    QCOMPARE(gelesen[1], QStringLiteral("Straße 7"));
    QCOMPARE(gelesen[7], QStringLiteral("K"));
    QCOMPARE(QString::fromUtf16(reinterpret_cast<const char16_t*>(gelesen[1].utf16())),
        QStringLiteral("Straße 7")); // zero-terminated
}

// A cursor that writes as it walks sees its own changes at once: an edited row is read again
// alone, rows after a deleted or added one are read afresh, and the rest of its pages stay.
void TestRecordset::writesInAWalkAreSeenAtOnce()
{
    kv::test::TempDir dir;
    Workspace ws;
    const int zeilen = 1200; // three pages
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), zeilen);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC"));
    QVERIFY(rs->updatable());
    ws.beginTrans();
    int nr = zeilen;
    while (!rs->eof()) {
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("K%1").arg(nr));
        const QString alt = rs->value(QStringLiteral("Name")).toString();
        rs->edit();
        // Longer than any text before, so that the page's text block must grow.
        rs->setValue(QStringLiteral("Name"), QStringLiteral("Kundin %1 aus Lüdenscheid").arg(nr));
        rs->update();
        QCOMPARE(alt, QStringLiteral("K%1").arg(nr)); // a text handed out stays as it was
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(),
            QStringLiteral("Kundin %1 aus Lüdenscheid").arg(nr));
        if (nr % 3 == 0) {
            rs->remove();
            QVERIFY_THROWS_EXCEPTION(EngineError, rs->value(0));
        }
        rs->moveNext();
        --nr;
    }
    ws.commitTrans();
    QCOMPARE(rs->recordCount(), zeilen - zeilen / 3);
    rs->moveFirst();
    for (int n = zeilen; n >= 1; --n) {
        if (n % 3 == 0)
            continue;
        QCOMPARE(rs->value(QStringLiteral("Name")).toString(),
            QStringLiteral("Kundin %1 aus Lüdenscheid").arg(n));
        rs->moveNext();
    }
    QVERIFY(rs->eof());
    rs->addNew();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Neu"));
    rs->update();
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Neu"));
    rs->movePrevious();
    QCOMPARE(
        rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Kundin 1 aus Lüdenscheid"));
    QCOMPARE(
        db->openRecordset(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name LIKE 'Kundin*'"))
            ->value(0)
            .toInt(),
        zeilen - zeilen / 3);
}

void TestRecordset::randomWritesKeepTheCacheTrue_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::newRow("table order") << QStringLiteral("SELECT * FROM Kunden");
    QTest::newRow("sorted") << QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz DESC");
    QTest::newRow("filtered") << QStringLiteral("SELECT * FROM Kunden WHERE ID MOD 3 <> 1");
}

// Jumps, edits, deletions and additions in random order over several pages: whatever the cursor
// shows must be what the file holds for that record.
void TestRecordset::randomWritesKeepTheCacheTrue()
{
    QFETCH(QString, quelle);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 1500);
    auto rs = db->openRecordset(quelle);
    qint64 anzahl = rs->recordCount();
    quint32 zufall = 4711;
    auto wuerfel = [&](quint32 n) {
        zufall = zufall * 1664525u + 1013904223u;
        return (zufall >> 8) % n;
    };
    auto pruefe = [&] {
        const int id = rs->value(QStringLiteral("ID")).toInt();
        auto datei = db->openRecordset(
            QStringLiteral("SELECT Name, Umsatz FROM Kunden WHERE ID = %1").arg(id));
        QVERIFY2(!datei->eof(), qPrintable(QStringLiteral("ID %1 fehlt").arg(id)));
        QCOMPARE(rs->value(QStringLiteral("Name")), datei->value(0));
        QCOMPARE(rs->value(QStringLiteral("Umsatz")), datei->value(1));
    };
    for (int schritt = 0; schritt < 600; ++schritt) {
        rs->setAbsolutePosition(wuerfel(static_cast<quint32>(anzahl)));
        pruefe();
        switch (wuerfel(5)) {
        case 0:
            rs->edit();
            rs->setValue(QStringLiteral("Name"),
                QStringLiteral("Geändert %1 mit längerem Text").arg(schritt));
            rs->update();
            pruefe();
            break;
        case 1:
            rs->remove();
            --anzahl;
            QVERIFY_THROWS_EXCEPTION(EngineError, rs->value(0));
            rs->moveNext();
            if (!rs->eof())
                pruefe();
            break;
        case 2:
            rs->addNew();
            rs->setValue(QStringLiteral("Name"), QStringLiteral("Neu %1").arg(schritt));
            rs->setValue(QStringLiteral("Umsatz"), schritt);
            rs->update();
            ++anzahl;
            rs->moveLast();
            QCOMPARE(rs->value(QStringLiteral("Name")).toString(),
                QStringLiteral("Neu %1").arg(schritt));
            break;
        case 3:
            rs->movePrevious();
            if (!rs->bof())
                pruefe();
            break;
        default:
            if (wuerfel(10) == 0) {
                rs->requery();
                anzahl = rs->recordCount();
            }
            break;
        }
        QCOMPARE(rs->recordCount(), anzahl);
        if (QTest::currentTestFailed())
            return; // the first difference tells; the rest would only repeat it
    }
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
