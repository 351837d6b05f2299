// Parameter values take the type their PARAMETERS declaration names, read as a German user
// types them, whichever way the statement runs.

#include "SqlDb.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/TempDir.h"

#include <QtTest>

using namespace kv::engine;

namespace {

std::unique_ptr<Database> personenDb(Workspace& ws, const QString& pfad)
{
    return kv::test::sqlDb(ws, pfad,
        { "CREATE TABLE P (Name TEXT(5), Geb DATETIME, Betrag CURRENCY, Aktiv YESNO, Anzahl LONG)",
            "INSERT INTO P VALUES ('A', #12/31/1999#, 12.5, True, 3)",
            "INSERT INTO P VALUES ('B', #1/1/2000#, 7.25, False, 10)",
            "INSERT INTO P VALUES ('C', #6/15/2005#, 100, True, 200)" });
}

} // namespace

class TestParameters : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesTakeTheDeclaredType_data();
    void valuesTakeTheDeclaredType();
    void actionQueriesConvertToo();
};

void TestParameters::valuesTakeTheDeclaredType_data()
{
    QTest::addColumn<QString>("deklaration");
    QTest::addColumn<QString>("bedingung");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("namen"); // the rows found, or the error text
    QTest::newRow("German date") << "[Ab] DateTime"
                                 << "Geb >= [Ab]" << QVariant("01.01.2000") << "B,C";
    QTest::newRow("short German date") << "[Ab] Date"
                                       << "Geb < [Ab]" << QVariant("1.1.2000") << "A";
    QTest::newRow("date value") << "[Ab] DateTime"
                                << "Geb >= [Ab]" << QVariant(QDate(2005, 1, 1)) << "C";
    QTest::newRow("decimal comma") << "[Min] Currency"
                                   << "Betrag >= [Min]" << QVariant("12,5") << "A,C";
    QTest::newRow("decimal point") << "[Min] Double"
                                   << "Betrag >= [Min]" << QVariant("12.5") << "A,C";
    QTest::newRow("thousands") << "[Min] Double"
                               << "Betrag < [Min]" << QVariant("1.000,5") << "A,B,C";
    QTest::newRow("Ja") << "[Nur] YesNo"
                        << "Aktiv = [Nur]" << QVariant("Ja") << "A,C";
    QTest::newRow("Falsch") << "[Nur] Bit"
                            << "Aktiv = [Nur]" << QVariant("Falsch") << "B";
    QTest::newRow("Wahr") << "[Nur] Boolean"
                          << "Aktiv = [Nur]" << QVariant("wahr") << "A,C";
    QTest::newRow("whole number") << "[N] Long"
                                  << "Anzahl > [N]" << QVariant("9") << "B,C";
    QTest::newRow("rounded") << "[N] Long"
                             << "Anzahl > [N]" << QVariant("9,6") << "C";
    QTest::newRow("text stays text") << "[T] Text"
                                     << "Name = [T]" << QVariant("b") << "B";
    QTest::newRow("empty is Null") << "[Ab] DateTime"
                                   << "Geb >= [Ab] OR [Ab] IS NULL" << QVariant("") << "A,B,C";
    QTest::newRow("no date")
        << "[Ab] DateTime"
        << "Geb >= [Ab]" << QVariant("31.02.2000")
        << "3464: Der Wert '31.02.2000' für den Parameter 'Ab' ist kein gültiges Datum.";
    QTest::newRow("no number")
        << "[N] Long"
        << "Anzahl > [N]" << QVariant("viele")
        << "3464: Der Wert 'viele' für den Parameter 'N' ist keine gültige Zahl.";
    QTest::newRow("out of range") << "[N] Byte"
                                  << "Anzahl > [N]" << QVariant("300")
                                  << "3464: Der Wert '300' für den Parameter 'N' ist keine Zahl "
                                     "zwischen 0 und 255.";
    QTest::newRow("no truth value")
        << "[Nur] YesNo"
        << "Aktiv = [Nur]" << QVariant("vielleicht")
        << "3464: Der Wert 'vielleicht' für den Parameter 'Nur' ist kein gültiger Wahrheitswert "
           "(Ja oder Nein).";
}

void TestParameters::valuesTakeTheDeclaredType()
{
    QFETCH(QString, deklaration);
    QFETCH(QString, bedingung);
    QFETCH(QVariant, wert);
    QFETCH(QString, namen);
    kv::test::TempDir dir;
    Workspace ws;
    auto db = personenDb(ws, dir.file(QStringLiteral("p.kdb")));
    QueryDef& q = db->createQueryDef(QStringLiteral("Suche"),
        QStringLiteral("PARAMETERS %1; SELECT Name FROM P WHERE %2 ORDER BY Name")
            .arg(deklaration, bedingung));
    q.setParameter(deklaration.section(QLatin1Char(']'), 0, 0).mid(1), wert);
    QString gefunden;
    try {
        QStringList liste;
        for (auto rs = q.openRecordset(); !rs->eof(); rs->moveNext())
            liste << rs->value(0).toString();
        gefunden = liste.join(QLatin1Char(','));
    } catch (const EngineError& e) {
        gefunden = QString::number(e.number()) + QStringLiteral(": ") + e.description();
    }
    QCOMPARE(gefunden, namen);
}

void TestParameters::actionQueriesConvertToo()
{
    kv::test::TempDir dir;
    Workspace ws;
    auto db = personenDb(ws, dir.file(QStringLiteral("p.kdb")));
    QueryDef& q = db->createQueryDef(QStringLiteral("Null setzen"),
        QStringLiteral("PARAMETERS [Ab] DateTime; UPDATE P SET Anzahl = 0 WHERE Geb >= [Ab]"));
    q.setParameter(QStringLiteral("Ab"), QStringLiteral("01.01.2000"));
    QCOMPARE(q.execute(), 2);
}

QTEST_GUILESS_MAIN(TestParameters)
#include "tst_parameters.moc"
