// Moving through a record set, its bookmarks and clones, editing, adding and deleting, finding,
// and a cache that stays true to the file through every write.

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;
using kv::test::fehlerNummer;
using kv::test::kundenDb;

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
    void writesInAWalkAreSeenAtOnce();
    void randomWritesKeepTheCacheTrue_data();
    void randomWritesKeepTheCacheTrue();
};

void TestRecordset::navigationAtTheBoundaries_data()
{
    QTest::addColumn<int>("zeilen");
    QTest::newRow("eine") << 1;
    QTest::newRow("drei") << 3;
    QTest::newRow("seitengrenze") << 513; // one past a cache page of 512 rows
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
