// What a record set reads: the types its fields take, read-only copies of joins and groups,
// the origins of fields, parameters, attached tables, a whole table read as the cursor goes,
// crosstabs and texts exactly as stored.

#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/SqliteFile.h"
#include "testutils/TempDir.h"

#include <QtTest>
#include <sqlite3.h>

using namespace kv::engine;
using kv::test::fehlerNummer;
using kv::test::kundenDb;

class TestRecordSources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storedValuesBecomeFieldTypes();
    void snapshotsAndJoinsAreReadOnly();
    void fieldsKnowTheirOrigin();
    void parametersAndStoredQueries();
    void attachedTableWorksLikeALocalOne();
    void wholeTableIsReadAsTheCursorGoes();
    void crosstabTakesItsColumnsFromTheData();
    void textsReadBackExactly();
};

void TestRecordSources::storedValuesBecomeFieldTypes()
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
    kv::test::SqliteFile roh(pfad);
    QCOMPARE(roh.openResult(), SQLITE_OK);
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
}

void TestRecordSources::snapshotsAndJoinsAreReadOnly()
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

void TestRecordSources::fieldsKnowTheirOrigin()
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

void TestRecordSources::parametersAndStoredQueries()
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

void TestRecordSources::attachedTableWorksLikeALocalOne()
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
void TestRecordSources::wholeTableIsReadAsTheCursorGoes()
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

void TestRecordSources::crosstabTakesItsColumnsFromTheData()
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
void TestRecordSources::textsReadBackExactly()
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
    {
        kv::test::SqliteFile h(db->name());
        QCOMPARE(h.openResult(), SQLITE_OK);
        for (const QByteArray& t : texte) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(h, "INSERT INTO Kunden (Name, Ort, Notiz) VALUES ('K', NULL, ?1)",
                -1, &st, nullptr);
            sqlite3_bind_text(st, 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            QCOMPARE(sqlite3_step(st), SQLITE_DONE);
            sqlite3_finalize(st);
        }
    }

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

QTEST_GUILESS_MAIN(TestRecordSources)
#include "tst_recordsources.moc"
