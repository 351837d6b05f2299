#include "tables/Felddarstellung.h"
#include "tables/Feldtypen.h"

#include <QTest>

using namespace kv;

class TestFeldtypen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typname_data();
    void typname();
    void typliste();
    void darstellung_data();
    void darstellung();
    void attribute();
};

void TestFeldtypen::typname_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    // One of each family; codes the engine does not have read "Unbekannt".
    QTest::newRow("Long") << 4 << "Long";
    QTest::newRow("Währung") << 5 << "Währung";
    QTest::newRow("Datum") << 8 << "Datum/Zeit";
    QTest::newRow("OLE") << 11 << "Long Binary (OLE/Grafik)";
    QTest::newRow("Dezimal") << 20 << "Dezimal";
    for (int code : { 0, 13, 14, 24, -1 })
        QTest::addRow("%d", code) << code << QStringLiteral("Unbekannt");
}

void TestFeldtypen::typname()
{
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(Feldtypname(static_cast<qint16>(code)), name);
}

void TestFeldtypen::typliste()
{
    const QList<Feldtypeintrag> liste = feldtypliste();
    QCOMPARE(liste.size(), 11);
    QList<qint16> codes;
    for (const Feldtypeintrag& e : liste) {
        codes.append(e.code);
        QCOMPARE(e.name, Feldtypname(e.code));
    }
    QCOMPARE(codes, (QList<qint16> { 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12 }));
    QVERIFY(!istWaehlbarerFeldtyp(engine::dbBinary));
    QVERIFY(!istWaehlbarerFeldtyp(engine::dbGUID));
}

void TestFeldtypen::darstellung_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("ausrichtung");
    QTest::addColumn<bool>("gesperrt");
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("element"); // -1: no element

    const int links = int(Ausrichtung::Links), rechts = int(Ausrichtung::Rechts),
              bleibt = int(Ausrichtung::Unveraendert);
    const int text = int(Maskenelementart::EingabeText);
    QTest::newRow("Datum") << 8 << "Short Date" << links << false << int(Reportfeldart::Datum)
                           << text;
    QTest::newRow("Währung") << 5 << "Currency" << rechts << false << int(Reportfeldart::Zahl)
                             << text;
    QTest::newRow("Byte") << 2 << "General Number" << rechts << false << int(Reportfeldart::Keine)
                          << text;
    for (int typ : { 3, 4, 6, 7 })
        QTest::addRow("Zahl %d", typ)
            << typ << "General Number" << rechts << false << int(Reportfeldart::Zahl) << text;
    QTest::newRow("Text") << 10 << "" << links << false << int(Reportfeldart::Text) << text;
    QTest::newRow("Memo") << 12 << "" << links << false << int(Reportfeldart::Text)
                          << int(Maskenelementart::EingabeTextMemo);
    QTest::newRow("Boolean") << 1 << "" << bleibt << false << int(Reportfeldart::Boolean)
                             << int(Maskenelementart::EingabeCheckbox);
    QTest::newRow("Long Binary") << 11 << "" << bleibt << true << int(Reportfeldart::Keine) << -1;
    for (int typ : { 9, 15, 16, 20, 23 })
        QTest::addRow("andere %d", typ)
            << typ << "" << bleibt << true << int(Reportfeldart::Keine) << text;
}

void TestFeldtypen::darstellung()
{
    QFETCH(int, typ);
    QFETCH(QString, format);
    QFETCH(int, ausrichtung);
    QFETCH(bool, gesperrt);
    QFETCH(int, report);
    QFETCH(int, element);

    const Rasterspaltenformat spalte = rasterspaltenformat(static_cast<qint16>(typ));
    QCOMPARE(spalte.zahlenformat, format);
    QCOMPARE(int(spalte.ausrichtung), ausrichtung);
    QCOMPARE(spalte.gesperrt, gesperrt);
    QCOMPARE(int(reportfeldart(static_cast<qint16>(typ))), report);
    const auto art = standardmaskenelement(static_cast<qint16>(typ));
    QCOMPARE(art ? int(*art) : -1, element);
}

void TestFeldtypen::attribute()
{
    QCOMPARE(feldattribute(true, false), 1);
    QCOMPARE(feldattribute(false, false), 2);
    QCOMPARE(feldattribute(true, true), 17);
    QCOMPARE(feldgroessentext(3), QStringLiteral("Variabel"));
    QCOMPARE(feldgroessentext(17), QStringLiteral("Fix"));
    QCOMPARE(feldgroessentext(16), QString());
    QCOMPARE(Maskenelementarten().size(), 13);
    QCOMPARE(maskenelementname(Maskenelementart::EingabeTabelle), QStringLiteral("EingabeTabelle"));
    QCOMPARE(maskenelementart(QStringLiteral("EINGABECHECKBOX")),
        std::optional(Maskenelementart::EingabeCheckbox));
    QVERIFY(!maskenelementart(QStringLiteral("Eingabe")));
}

QTEST_GUILESS_MAIN(TestFeldtypen)
#include "tst_feldtypen.moc"
