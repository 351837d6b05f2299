#include "engine/Database.h"
#include "engine/FieldReplacement.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "engine/sqlite/Connection.h"
#include "testutils/Fehlernummer.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {

const QStringList Werte { "12", "abc", "12,5", "99999999999", "9", "<Null>", "2024-03-01",
    "01.02.2024", " 7 ", "-32769", "255", "256", "1e3", "wahr", "sehr langer Text", "0815" };

QStringList spalte(Database& db, const QString& tabelle, const QString& feld)
{
    QStringList werte;
    auto rs = db.openRecordset(QStringLiteral("SELECT [%1] FROM [%2]").arg(feld, tabelle));
    while (!rs->eof()) {
        const QVariant v = rs->value(feld);
        werte << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
        rs->moveNext();
    }
    return werte;
}

// Haupt(A Long, B Text) with a primary key over both; Werte(Nr counter, W Text(20) indexed,
// A, B) joined to Haupt over two field pairs, enforced with cascading updates. The first row
// is deleted again, so that the stored order and the rowids differ.
std::unique_ptr<Database> beispiel(Workspace& ws, const QString& pfad)
{
    auto db = ws.createDatabase(pfad);
    auto h = db->createTableDef(QStringLiteral("Haupt"));
    h->fields().append(h->createField(QStringLiteral("A"), dbLong));
    h->fields().append(h->createField(QStringLiteral("B"), dbText, 10));
    auto pk = h->createIndex(QStringLiteral("PrimaryKey"));
    pk->appendField(QStringLiteral("A"));
    pk->appendField(QStringLiteral("B"));
    pk->setPrimary(true);
    h->indexes().append(std::move(pk));
    db->tableDefs().append(std::move(h));

    auto t = db->createTableDef(QStringLiteral("Werte"));
    auto nr = t->createField(QStringLiteral("Nr"), dbLong);
    t->fields().append(std::move(nr));
    t->fields().append(t->createField(QStringLiteral("W"), dbText, 20));
    t->fields().append(t->createField(QStringLiteral("A"), dbLong));
    t->fields().append(t->createField(QStringLiteral("B"), dbText, 10));
    auto ix = t->createIndex(QStringLiteral("NachW"));
    ix->appendField(QStringLiteral("W"), true);
    t->indexes().append(std::move(ix));
    db->tableDefs().append(std::move(t));
    db->execute(QStringLiteral("INSERT INTO Haupt (A, B) VALUES (1, 'x')"));
    db->execute(QStringLiteral("INSERT INTO Haupt (A, B) VALUES (2, '0815')"));
    auto r = db->createRelation(QStringLiteral("HauptWerte"), QStringLiteral("Haupt"),
        QStringLiteral("Werte"), dbRelationUpdateCascade);
    r->appendField(QStringLiteral("A"), QStringLiteral("A"));
    r->appendField(QStringLiteral("B"), QStringLiteral("B"));
    db->relations().append(std::move(r));

    auto rs = db->openRecordset(QStringLiteral("Werte"));
    rs->addNew();
    rs->setValue(QStringLiteral("Nr"), 0);
    rs->update();
    for (int i = 0; i < Werte.size(); ++i) {
        rs->addNew();
        rs->setValue(QStringLiteral("Nr"), i + 1);
        if (Werte.at(i) != QLatin1String("<Null>"))
            rs->setValue(QStringLiteral("W"), Werte.at(i));
        rs->setValue(QStringLiteral("A"), 1 + i % 2);
        rs->setValue(QStringLiteral("B"), i % 2 ? QStringLiteral("0815") : QStringLiteral("x"));
        rs->update();
    }
    db->execute(QStringLiteral("DELETE FROM Werte WHERE Nr = 0"));
    return db;
}

// Enough rows (5001 more) that SQLite reports progress while a statement runs.
void weitereZeilen(Workspace& ws, Database& db)
{
    ws.beginTrans();
    db.connection().exec(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < 5100) INSERT INTO Werte (Nr, W, A, B) SELECT i, "
                       "CAST(i AS TEXT), 1, 'x' FROM n"));
    ws.commitTrans();
}

} // namespace

class TestFieldReplacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void lossPreviewCountsWhatTheChangeLoses_data();
    void lossPreviewCountsWhatTheChangeLoses();
    void undoRestoresTypeValuesIndexAndRelation();
    void undoEndsWithTheNextChangeOfTheField();
    void failureLeavesTableAndUndoAsBefore();
    void refusedWhenNewValuesBreakARule_data();
    void refusedWhenNewValuesBreakARule();
    void undoRestoresLostValuesOfARequiredField();
    void stopRollsEverythingBack_data();
    void stopRollsEverythingBack();
    void stoppedUndoKeepsTheChange_data();
    void stoppedUndoKeepsTheChange();
    void alterColumnReplacesTheField();
    void nothingElseRunsOnTheConnectionMeanwhile();
};

void TestFieldReplacement::lossPreviewCountsWhatTheChangeLoses_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("groesse");
    QTest::newRow("Long") << int(dbLong) << 0;
    QTest::newRow("Integer") << int(dbInteger) << 0;
    QTest::newRow("Byte") << int(dbByte) << 0;
    QTest::newRow("Double") << int(dbDouble) << 0;
    QTest::newRow("Datum") << int(dbDate) << 0;
    QTest::newRow("Ja/Nein") << int(dbBoolean) << 0;
    QTest::newRow("Text 3") << int(dbText) << 3;
    QTest::newRow("Memo") << int(dbMemo) << 0;
}

// The preview against the change itself: every value that is not Null before and is Null (or,
// for a text, different) after counts, and the examples name the rows in the table's order.
void TestFieldReplacement::lossPreviewCountsWhatTheChangeLoses()
{
    QFETCH(int, typ);
    QFETCH(int, groesse);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    const QStringList vorher = spalte(*db, QStringLiteral("Werte"), QStringLiteral("W"));
    QCOMPARE(vorher, Werte);

    const ConversionLoss verlust
        = conversionLoss(*db, QStringLiteral("Werte"), QStringLiteral("W"), typ, groesse, 3);
    Field ersatz(QStringLiteral("W"), typ, groesse);
    replaceField(*db, QStringLiteral("Werte"), QStringLiteral("W"), ersatz);
    const QStringList nachher = spalte(*db, QStringLiteral("Werte"), QStringLiteral("W"));
    QCOMPARE(nachher.size(), vorher.size());
    QList<int> verloren;
    for (int i = 0; i < vorher.size(); ++i) {
        const bool text = typ == dbText || typ == dbMemo;
        if (vorher.at(i) != QLatin1String("<Null>")
            && (nachher.at(i) == QLatin1String("<Null>")
                || (text && nachher.at(i) != vorher.at(i))))
            verloren << i + 1;
    }
    QCOMPARE(verlust.count, qint64(verloren.size()));
    QCOMPARE(verlust.examples.size(), std::min<int>(3, verloren.size()));
    for (int i = 0; i < verlust.examples.size(); ++i) {
        QCOMPARE(verlust.examples.at(i).row, qint64(verloren.at(i)));
        QCOMPARE(verlust.examples.at(i).value.toString(), vorher.at(verloren.at(i) - 1));
    }
    if (typ == dbLong)
        QVERIFY(verlust.count > 3); // the sample holds texts that are no whole numbers
}

// The undo brings back the type, the size, every old value (a leading zero, a text that is no
// number), the field's place, its index and both pairs of the relation.
void TestFieldReplacement::undoRestoresTypeValuesIndexAndRelation()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    QVERIFY(!undoableFieldChange(*db));
    Field ersatz(QStringLiteral("W"), dbLong);
    ersatz.setDefaultValue(QStringLiteral("0")); // a default makes the engine rebuild the table
    replaceField(*db, QStringLiteral("Werte"), QStringLiteral("W"), ersatz);
    Field b(QStringLiteral("B"), dbText, 30);
    // The relation's second pair changes too; the undo below is for this one.
    replaceField(*db, QStringLiteral("Werte"), QStringLiteral("B"), b);
    {
        const Relation& r = db->relations().item(QStringLiteral("HauptWerte"));
        QCOMPARE(r.fields().size(), 2);
        QCOMPARE(r.fields().at(1).foreignName, QStringLiteral("B"));
        QCOMPARE(r.attributes(), qint64(dbRelationUpdateCascade));
    }
    const auto aenderung = undoableFieldChange(*db);
    QVERIFY(aenderung);
    QCOMPARE(aenderung->field, QStringLiteral("B"));
    undoFieldChange(*db);
    QVERIFY(!undoableFieldChange(*db));
    TableDef& t = db->tableDefs().item(QStringLiteral("Werte"));
    QCOMPARE(t.fields().item(QStringLiteral("B")).size(), 10);
    QCOMPARE(t.fields().item(QStringLiteral("B")).ordinalPosition(), 3);

    // The first change went through a rebuild of the table; the rows kept their order.
    const QStringList alsZahl = spalte(*db, QStringLiteral("Werte"), QStringLiteral("W"));
    QCOMPARE(alsZahl.at(0), QStringLiteral("12"));
    QCOMPARE(alsZahl.at(1), QStringLiteral("<Null>"));
    QCOMPARE(alsZahl.at(15), QStringLiteral("815"));

    // A change of a field with text values, undone: every value exactly as before.
    auto db2 = beispiel(ws, dir.file(QStringLiteral("b.kdb")));
    replaceField(
        *db2, QStringLiteral("Werte"), QStringLiteral("W"), Field(QStringLiteral("W"), dbLong));
    db2->execute(QStringLiteral("INSERT INTO Werte (Nr, W, A, B) VALUES (99, 5, 1, 'x')"));
    undoFieldChange(*db2);
    TableDef& t2 = db2->tableDefs().item(QStringLiteral("Werte"));
    QCOMPARE(t2.fields().item(QStringLiteral("W")).type(), int(dbText));
    QCOMPARE(t2.fields().item(QStringLiteral("W")).size(), 20);
    QCOMPARE(t2.fields().item(QStringLiteral("W")).ordinalPosition(), 1);
    QCOMPARE(
        spalte(*db2, QStringLiteral("Werte"), QStringLiteral("W")), Werte + QStringList { "5" });
    QCOMPARE(
        t2.indexes().item(QStringLiteral("NachW")).fields().value(0).name, QStringLiteral("W"));
    QVERIFY(t2.indexes().item(QStringLiteral("NachW")).fields().value(0).descending);
    const Relation& r = db2->relations().item(QStringLiteral("HauptWerte"));
    QCOMPARE(r.fields().size(), 2);
    QCOMPARE(r.attributes(), qint64(dbRelationUpdateCascade));
    // The relation still works: the cascade reaches the rows over both pairs.
    db2->execute(QStringLiteral("UPDATE Haupt SET B = 'y' WHERE A = 1"));
    QCOMPARE(
        spalte(*db2, QStringLiteral("Werte"), QStringLiteral("B")).count(QStringLiteral("y")), 9);
}

void TestFieldReplacement::undoEndsWithTheNextChangeOfTheField()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("W"), Field(QStringLiteral("W"), dbMemo));
    QVERIFY(undoableFieldChange(*db));
    db->tableDefs()
        .item(QStringLiteral("Werte"))
        .fields()
        .item(QStringLiteral("W"))
        .setName(QStringLiteral("V"));
    QVERIFY(!undoableFieldChange(*db));
    QCOMPARE(fehlerNummer([&] { undoFieldChange(*db); }), 3219);
    db->tableDefs().refresh();
    QVERIFY(db->tableDefs().find(QStringLiteral("MSysKvUndoValues")));
    forgetFieldChange(*db);
    db->tableDefs().refresh();
    QVERIFY(!db->tableDefs().find(QStringLiteral("MSysKvUndoValues")));
}

// The new field requires a value that some rows cannot give: nothing changes, and the undo of
// the change before is still there.
void TestFieldReplacement::failureLeavesTableAndUndoAsBefore()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("B"), Field(QStringLiteral("B"), dbText, 12));
    Field ersatz(QStringLiteral("W"), dbLong);
    ersatz.setRequired(true);
    QCOMPARE(fehlerNummer(
                 [&] { replaceField(*db, QStringLiteral("Werte"), QStringLiteral("W"), ersatz); }),
        3314);
    TableDef& t = db->tableDefs().item(QStringLiteral("Werte"));
    QCOMPARE(t.fields().count(), 4);
    QCOMPARE(t.fields().item(QStringLiteral("W")).type(), int(dbText));
    QCOMPARE(t.indexes().item(QStringLiteral("NachW")).fields().value(0).name, QStringLiteral("W"));
    QCOMPARE(spalte(*db, QStringLiteral("Werte"), QStringLiteral("W")), Werte);
    const auto aenderung = undoableFieldChange(*db);
    QVERIFY(aenderung);
    QCOMPARE(aenderung->field, QStringLiteral("B"));
}

void TestFieldReplacement::refusedWhenNewValuesBreakARule_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("regel");
    QTest::addColumn<int>("fehler");
    QTest::addColumn<int>("alterTyp");
    // 255 and 256 are no longer allowed.
    QTest::newRow("Gültigkeitsregel") << "Werte"
                                      << "W" << int(dbLong) << "< 100" << 3316 << int(dbText);
    // 1 and 2 both become Ja (-1): the rows of the other side lose their partner.
    QTest::newRow("Beziehung, Primärseite") << "Haupt"
                                            << "A" << int(dbBoolean) << "" << 3201 << int(dbLong);
    QTest::newRow("Beziehung, Fremdseite") << "Werte"
                                           << "A" << int(dbBoolean) << "" << 3201 << int(dbLong);
}

// The copy runs without the table's rule triggers; what they would refuse, the check after the
// copy refuses, and the table, its relation and the undo of the change before stay.
void TestFieldReplacement::refusedWhenNewValuesBreakARule()
{
    QFETCH(QString, tabelle);
    QFETCH(QString, feld);
    QFETCH(int, typ);
    QFETCH(QString, regel);
    QFETCH(int, fehler);
    QFETCH(int, alterTyp);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("Nr"), Field(QStringLiteral("Nr"), dbDouble));
    const QStringList vorher = spalte(*db, tabelle, feld);
    Field ersatz(feld, typ);
    ersatz.setValidationRule(regel);
    QCOMPARE(fehlerNummer([&] { replaceField(*db, tabelle, feld, ersatz); }), fehler);
    QCOMPARE(db->tableDefs().item(tabelle).fields().item(feld).type(), alterTyp);
    QCOMPARE(spalte(*db, tabelle, feld), vorher);
    QCOMPARE(db->relations().item(QStringLiteral("HauptWerte")).fields().size(), 2);
    const auto aenderung = undoableFieldChange(*db);
    QVERIFY(aenderung);
    QCOMPARE(aenderung->field, QStringLiteral("Nr"));
    // The rules still guard the table after the refused change.
    QCOMPARE(fehlerNummer([&] {
        db->execute(QStringLiteral("INSERT INTO Werte (Nr, W, A, B) VALUES (77, 'z', 1, 'fehlt')"));
    }),
        3201);
}

// The values kept for the undo come back within the same copy, so a required text field whose
// texts were no numbers is restored without tripping over its own rule.
void TestFieldReplacement::undoRestoresLostValuesOfARequiredField()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
    auto t = db->createTableDef(QStringLiteral("Notizen"));
    auto feld = t->createField(QStringLiteral("T"), dbText, 10);
    feld->setRequired(true);
    feld->setAllowZeroLength(false);
    t->fields().append(std::move(feld));
    db->tableDefs().append(std::move(t));
    db->execute(QStringLiteral("INSERT INTO Notizen (T) VALUES ('1')"));
    db->execute(QStringLiteral("INSERT INTO Notizen (T) VALUES ('eins')"));
    db->execute(QStringLiteral("INSERT INTO Notizen (T) VALUES ('007')"));

    replaceField(
        *db, QStringLiteral("Notizen"), QStringLiteral("T"), Field(QStringLiteral("T"), dbLong));
    QCOMPARE(spalte(*db, QStringLiteral("Notizen"), QStringLiteral("T")),
        QStringList({ "1", "<Null>", "7" }));
    undoFieldChange(*db);
    const Field& f
        = db->tableDefs().item(QStringLiteral("Notizen")).fields().item(QStringLiteral("T"));
    QCOMPARE(f.type(), int(dbText));
    QVERIFY(f.required());
    QCOMPARE(spalte(*db, QStringLiteral("Notizen"), QStringLiteral("T")),
        QStringList({ "1", "eins", "007" }));
    // The rule is in force again.
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("INSERT INTO Notizen (T) VALUES (Null)")); }),
        3314);
}

void TestFieldReplacement::stopRollsEverythingBack_data()
{
    QTest::addColumn<double>("anteil");
    QTest::newRow("vor dem ersten Schritt") << 0.0;
    QTest::newRow("früh") << 0.2;
    QTest::newRow("mitten") << 0.5;
    QTest::newRow("spät") << 0.9;
    QTest::newRow("letzter Aufruf") << 1.0;
}

// A stop at any call of the progress, between the steps or inside one of them, leaves the
// table, its index, the relation and the undo of the change before exactly as they were.
void TestFieldReplacement::stopRollsEverythingBack()
{
    QFETCH(double, anteil);
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    auto db = beispiel(ws, pfad);
    weitereZeilen(ws, *db);
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("B"), Field(QStringLiteral("B"), dbText, 12));
    const QStringList vorher = spalte(*db, QStringLiteral("Werte"), QStringLiteral("W"));

    // The same change on a copy counts the calls and sees the steps in order.
    const QString kopie = dir.file(QStringLiteral("b.kdb"));
    QVERIFY(QFile::copy(pfad, kopie));
    int aufrufe = 0, letzterSchritt = 0;
    {
        auto probe = ws.openDatabase(kopie);
        replaceField(*probe, QStringLiteral("Werte"), QStringLiteral("W"),
            Field(QStringLiteral("W"), dbLong), [&](int schritt, int schritte) {
                ++aufrufe;
                [&] {
                    QCOMPARE(schritte, 5);
                    QVERIFY(schritt >= letzterSchritt && schritt >= 1);
                }();
                letzterSchritt = schritt;
                return true;
            });
    }
    QCOMPARE(letzterSchritt, 5);
    QVERIFY2(aufrufe > 5 + 5, "progress inside the statements");

    const int halt = std::max(1, int(anteil * aufrufe));
    int gezaehlt = 0;
    QCOMPARE(fehlerNummer([&] {
        replaceField(*db, QStringLiteral("Werte"), QStringLiteral("W"),
            Field(QStringLiteral("W"), dbLong), [&](int, int) { return ++gezaehlt < halt; });
    }),
        3000);
    QCOMPARE(gezaehlt, halt);
    TableDef& t = db->tableDefs().item(QStringLiteral("Werte"));
    QCOMPARE(t.fields().count(), 4);
    QCOMPARE(t.fields().item(QStringLiteral("W")).type(), int(dbText));
    QCOMPARE(t.indexes().item(QStringLiteral("NachW")).fields().value(0).name, QStringLiteral("W"));
    QCOMPARE(spalte(*db, QStringLiteral("Werte"), QStringLiteral("W")), vorher);
    QCOMPARE(db->relations().item(QStringLiteral("HauptWerte")).fields().size(), 2);
    const auto aenderung = undoableFieldChange(*db);
    QVERIFY(aenderung);
    QCOMPARE(aenderung->field, QStringLiteral("B"));
    // Nothing of the stopped work stays on the connection: the next change runs through.
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("W"), Field(QStringLiteral("W"), dbLong));
    QCOMPARE(db->tableDefs().item(QStringLiteral("Werte")).fields().item("W").type(), int(dbLong));
}

void TestFieldReplacement::stoppedUndoKeepsTheChange_data()
{
    QTest::addColumn<int>("schritt");
    QTest::newRow("erster Schritt") << 1;
    QTest::newRow("Indizes") << 2;
    QTest::newRow("Prüfungen und Regeln") << 3;
    QTest::newRow("Einlesen") << 4;
}

// An undo stopped at a step leaves the changed field, its values and the undo itself; the undo
// then runs through.
void TestFieldReplacement::stoppedUndoKeepsTheChange()
{
    QFETCH(int, schritt);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    replaceField(
        *db, QStringLiteral("Werte"), QStringLiteral("W"), Field(QStringLiteral("W"), dbLong));
    const QStringList geaendert = spalte(*db, QStringLiteral("Werte"), QStringLiteral("W"));
    int gesehen = 0;
    QCOMPARE(fehlerNummer([&] {
        undoFieldChange(*db, [&](int s, int schritte) {
            gesehen = std::max(gesehen, s);
            return schritte == 4 && s < schritt;
        });
    }),
        3000);
    QCOMPARE(gesehen, schritt);
    QCOMPARE(db->tableDefs().item(QStringLiteral("Werte")).fields().item("W").type(), int(dbLong));
    QCOMPARE(spalte(*db, QStringLiteral("Werte"), QStringLiteral("W")), geaendert);
    QVERIFY(undoableFieldChange(*db));
    undoFieldChange(*db);
    QCOMPARE(spalte(*db, QStringLiteral("Werte"), QStringLiteral("W")), Werte);
}

void TestFieldReplacement::alterColumnReplacesTheField()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    db->execute(QStringLiteral("ALTER TABLE Werte ALTER COLUMN W LONG"));
    TableDef& t = db->tableDefs().item(QStringLiteral("Werte"));
    QCOMPARE(t.fields().item(QStringLiteral("W")).type(), int(dbLong));
    QCOMPARE(t.indexes().item(QStringLiteral("NachW")).fields().value(0).name, QStringLiteral("W"));
    QCOMPARE(spalte(*db, QStringLiteral("Werte"), QStringLiteral("W")).at(0), QStringLiteral("12"));
    db->execute(QStringLiteral("ALTER TABLE [Werte] ALTER [B] TEXT(40)"));
    QCOMPARE(
        db->tableDefs().item(QStringLiteral("Werte")).fields().item(QStringLiteral("B")).size(),
        40);
    QCOMPARE(db->relations().item(QStringLiteral("HauptWerte")).fields().size(), 2);
    QCOMPARE(fehlerNummer(
                 [&] { db->execute(QStringLiteral("ALTER TABLE Werte ALTER COLUMN Fehlt LONG")); }),
        3265);
    // Undoable like a change made in the structure editor.
    undoFieldChange(*db);
    QCOMPARE(
        db->tableDefs().item(QStringLiteral("Werte")).fields().item(QStringLiteral("B")).size(),
        10);
}

// A window that repaints from the progress must not read on the connection in the middle of
// the change (SQLite forbids it, and between two steps the table is half made): such a read is
// refused with 3045, the change runs on, and reading works again afterwards.
void TestFieldReplacement::nothingElseRunsOnTheConnectionMeanwhile()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = beispiel(ws, dir.file(QStringLiteral("a.kdb")));
    weitereZeilen(ws, *db);
    auto leser = db->openRecordset(QStringLiteral("Werte"));
    int abgewiesen = 0, aufrufe = 0;
    replaceField(*db, QStringLiteral("Werte"), QStringLiteral("W"),
        Field(QStringLiteral("W"), dbLong), [&](int, int) {
            ++aufrufe;
            abgewiesen += fehlerNummer([&] {
                db->connection().scalar("SELECT count(*) FROM Werte");
            }) == 3045;
            abgewiesen += fehlerNummer([&] { leser->moveLast(); }) == 3045;
            return true;
        });
    QVERIFY(aufrufe > 5);
    QCOMPARE(abgewiesen, 2 * aufrufe);
    QCOMPARE(db->connection().scalar("SELECT count(*) FROM Werte").toInt(), Werte.size() + 5001);
    leser->moveLast();
    QCOMPARE(leser->value(QStringLiteral("W")).toInt(), 5100);
}

QTEST_GUILESS_MAIN(TestFieldReplacement)
#include "tst_fieldreplacement.moc"
