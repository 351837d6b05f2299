// A large set over a whole table goes to its last records without reading every key: from the
// end back through the keys not read yet, writes near the end, bookmarks, and a count that
// another program made wrong.

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/cursor/Keyset.h"
#include "engine/sqlite/Connection.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;
using kv::test::kundenDb;

namespace {
// Keys a whole-table set reads when it opens.
constexpr int ErsteSchluessel = 512;

QVariantList ids(Database& db, const QString& quelle)
{
    // A snapshot copies the result and keys the copy: a path of its own to compare with.
    auto rs = db.openRecordset(quelle, dbOpenSnapshot);
    QVariantList liste;
    while (!rs->eof()) {
        liste << rs->value(QStringLiteral("ID"));
        rs->moveNext();
    }
    return liste;
}

// Every ID of rs from its first record on.
QVariantList alleIds(Recordset& rs)
{
    QVariantList liste;
    rs.moveFirst();
    while (!rs.eof()) {
        liste << rs.value(QStringLiteral("ID"));
        rs.moveNext();
    }
    return liste;
}

// Runs sql on a connection of its own, as another program would.
void fremd(const QString& datei, const QString& sql)
{
    Workspace anderer;
    anderer.openDatabase(datei)->execute(sql);
}

Keyset tabellenschluessel(Database& db)
{
    return Keyset(db.connection().handle(), QStringLiteral("\"main\".\"Kunden\""),
        QStringLiteral("\"Kunden\""));
}
} // namespace

class TestRecordsetEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keysetReadsTheEndAndFillsTheGap();
    void keyInsideTheGapIsReadOnce();
    void moveLastThenBackThroughTheGap_data();
    void moveLastThenBackThroughTheGap();
    void writesNearTheEnd_data();
    void writesNearTheEnd();
    void countMadeWrongByAnotherProgram();
    void countTooSmallLosesNoRow();
};

void TestRecordsetEnd::keysetReadsTheEndAndFillsTheGap()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 5000);
    Keyset keys = tabellenschluessel(*db);
    QCOMPARE(keys.loaded(), ErsteSchluessel);
    QVERIFY(!keys.countKnown());
    QCOMPARE(keys.count(), 5000);
    QVERIFY(keys.has(4999));
    QCOMPARE(keys.at(4999), 5000);
    QVERIFY(!keys.has(5000));
    QVERIFY(!keys.complete()); // the middle is still unread
    QCOMPARE(keys.indexOf(4990, -1), 4989);
    // Back from the end through the gap: every key in its place, read from the nearer side.
    for (qint64 i = 4999; i >= 0; --i) {
        QVERIFY(keys.has(i));
        QCOMPARE(keys.at(i), i + 1);
    }
    QVERIFY(keys.complete());
    QCOMPARE(keys.size(), 5000);

    // A page reaching from the gap into the tail is loaded whole.
    Keyset andere = tabellenschluessel(*db);
    andere.noteCount(5000);
    QVERIFY(andere.has(4999));
    andere.load(3500, 4999);
    for (qint64 i = 3500; i < 5000; ++i)
        QCOMPARE(andere.at(i), i + 1);
    QCOMPARE(andere.indexOf(2000, 4999), 1999); // a key in the gap is read up to
    QCOMPARE(andere.indexOf(99999, 0), -1);
    QCOMPARE(andere.count(), 5000);
}

void TestRecordsetEnd::keyInsideTheGapIsReadOnce()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 3000);
    Keyset keys = tabellenschluessel(*db);
    keys.noteCount(3000);
    QVERIFY(keys.has(2999));
    QVERIFY(!keys.complete());
    // A row written with a key the gap still holds, as a typed counter value would.
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 2000"));
    keys.beforeInsert();
    db->execute(QStringLiteral("INSERT INTO Kunden (ID, Name) VALUES (2000, 'Wieder')"));
    keys.append(2000);
    QCOMPARE(keys.size(), 3000);
    QCOMPARE(keys.at(2999), 2000);
    QCOMPARE(keys.at(1999), 2001);
    QCOMPARE(keys.indexOf(2000, -1), 2999);

    // A new key above every key read joins the tail without reading the gap.
    Keyset andere = tabellenschluessel(*db);
    andere.beforeInsert();
    db->execute(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Neu')"));
    const qint64 neu
        = db->connection().scalar(QStringLiteral("SELECT max(ID) FROM Kunden")).toLongLong();
    andere.append(neu);
    QVERIFY(!andere.complete());
    QCOMPARE(andere.count(), 3001);
    QCOMPARE(andere.at(3000), neu);
    QVERIFY(!andere.has(3001));
    QCOMPARE(andere.size(), 3001);
    QCOMPARE(andere.at(1999), 2000);
    QCOMPARE(andere.at(2999), 3000);
}

void TestRecordsetEnd::moveLastThenBackThroughTheGap_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<int>("zeilen");
    QTest::addColumn<bool>("anzahlVonAussen");
    const QString tabelle = QStringLiteral("SELECT * FROM Kunden");
    QTest::newRow("table, counted by the set") << tabelle << 3000 << false;
    QTest::newRow("table, count told") << tabelle << 3000 << true;
    QTest::newRow("table, a page past the first keys") << tabelle << 1025 << true;
    QTest::newRow("table smaller than the first keys") << tabelle << 300 << false;
    QTest::newRow("sorted with equal values")
        << QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz MOD 7 DESC, ID") << 3000 << true;
}

void TestRecordsetEnd::moveLastThenBackThroughTheGap()
{
    QFETCH(QString, quelle);
    QFETCH(int, zeilen);
    QFETCH(bool, anzahlVonAussen);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), zeilen);
    const QVariantList erwartet = ids(*db, quelle);
    QCOMPARE(erwartet.size(), zeilen);
    auto rs = db->openRecordset(quelle);
    if (anzahlVonAussen)
        rs->noteRecordCount(zeilen);
    rs->moveLast();
    QCOMPARE(rs->absolutePosition(), zeilen - 1);
    QCOMPARE(rs->value(QStringLiteral("ID")), erwartet.last());
    QVERIFY(rs->recordCountKnown());
    QCOMPARE(rs->recordCount(), zeilen);
    const QByteArray letzter = rs->bookmark();
    rs->moveNext();
    QVERIFY(rs->eof());
    QCOMPARE(rs->absolutePosition(), -1);

    // Back to the first record, as scrolling up from the end does.
    rs->moveLast();
    QByteArray mitte;
    for (int i = zeilen - 1; i >= 0; --i) {
        QCOMPARE(rs->absolutePosition(), i);
        QCOMPARE(rs->value(QStringLiteral("ID")), erwartet.at(i));
        if (i == zeilen / 2)
            mitte = rs->bookmark();
        rs->movePrevious();
    }
    QVERIFY(rs->bof());

    // Bookmarks from both ends hold in a clone, which shares the keys.
    auto klon = rs->clone();
    klon->setBookmark(mitte);
    QCOMPARE(klon->absolutePosition(), zeilen / 2);
    klon->setBookmark(letzter);
    QCOMPARE(klon->absolutePosition(), zeilen - 1);
    klon->setAbsolutePosition(zeilen / 3);
    QCOMPARE(klon->value(QStringLiteral("ID")), erwartet.at(zeilen / 3));
    QCOMPARE(rs->recordCount(), zeilen);
}

void TestRecordsetEnd::writesNearTheEnd_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::newRow("table order") << QStringLiteral("SELECT * FROM Kunden");
    QTest::newRow("sorted with equal values")
        << QStringLiteral("SELECT * FROM Kunden ORDER BY Umsatz MOD 5, ID DESC");
}

// Deleting and adding at the end of a set whose middle is unread: positions, counts and the
// order of the rows stay those of the file.
void TestRecordsetEnd::writesNearTheEnd()
{
    QFETCH(QString, quelle);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = kundenDb(ws, dir.file(QStringLiteral("a.kdb")), 4000);
    auto rs = db->openRecordset(quelle);
    rs->noteRecordCount(4000);
    QVariantList erwartet = ids(*db, quelle);

    rs->moveLast();
    rs->remove(); // the last record
    erwartet.removeLast();
    rs->movePrevious();
    QCOMPARE(rs->absolutePosition(), 3998);
    QCOMPARE(rs->value(QStringLiteral("ID")), erwartet.last());
    rs->move(-10);
    rs->remove(); // one a little before the end
    erwartet.removeAt(3988);
    rs->moveNext();
    QCOMPARE(rs->absolutePosition(), 3988);
    QCOMPARE(rs->value(QStringLiteral("ID")), erwartet.at(3988));
    QCOMPARE(rs->recordCount(), 3998);

    rs->addNew();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("Neu am Ende"));
    rs->update();
    rs->setBookmark(rs->lastModified());
    QCOMPARE(rs->absolutePosition(), 3998);
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Neu am Ende"));
    erwartet << rs->value(QStringLiteral("ID"));
    QCOMPARE(rs->recordCount(), 3999);
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Neu am Ende"));

    // The whole set from the front now: the unread middle in its place, the new record last.
    QCOMPARE(alleIds(*rs), erwartet);
}

// Another program deletes rows after the worker counted: the set goes to its true last record,
// reads on without fault, and its count comes right when its keys meet.
void TestRecordsetEnd::countMadeWrongByAnotherProgram()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString datei = dir.file(QStringLiteral("a.kdb"));
    auto db = kundenDb(ws, datei, 3000);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden"));
    fremd(datei, QStringLiteral("DELETE FROM Kunden WHERE ID BETWEEN 1001 AND 1010"));
    rs->noteRecordCount(3000); // counted before the delete
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 3000);
    const QByteArray letzter = rs->bookmark();
    int gelesen = 0;
    while (!rs->bof()) {
        QVERIFY(rs->value(QStringLiteral("ID")).toInt() > 0);
        ++gelesen;
        rs->movePrevious();
    }
    QVERIFY(gelesen >= 2990);
    QCOMPARE(rs->recordCount(), 2990);
    rs->setBookmark(letzter);
    QCOMPARE(rs->absolutePosition(), 2989);
    QCOMPARE(alleIds(*rs).size(), 2990);
}

// Another program adds rows after the count: the end read from the table meets the first keys
// by the count, but the rows between are read all the same.
void TestRecordsetEnd::countTooSmallLosesNoRow()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString datei = dir.file(QStringLiteral("a.kdb"));
    auto db = kundenDb(ws, datei, 1000);
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden"));
    fremd(datei,
        QStringLiteral("INSERT INTO Kunden (Name) SELECT 'Fremd' FROM Kunden WHERE ID <= 100"));
    rs->noteRecordCount(1000); // counted before the rows came
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 1100);
    QCOMPARE(rs->recordCount(), 1100);
    QCOMPARE(alleIds(*rs), ids(*db, QStringLiteral("SELECT * FROM Kunden")));
}

QTEST_GUILESS_MAIN(TestRecordsetEnd)
#include "tst_recordsetend.moc"
