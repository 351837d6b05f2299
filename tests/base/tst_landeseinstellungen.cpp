#include "base/Format.h"
#include "base/Landeseinstellungen.h"
#include "base/Zahlenformate.h"

#include <QTest>

using namespace kv;

class TestLandeseinstellungen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void deutsch_data();
    void deutsch();
    void systemIstEigeneLocale();
    void datumsformatVierstellig();
    void muster_data();
    void muster();
    void zahlenformate();
    void zahlenformateNachWechsel();
};

void TestLandeseinstellungen::deutsch_data()
{
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("waehrung") << 20 << "€";
    QTest::newRow("dezimal") << 14 << ",";
    QTest::newRow("tausender") << 15 << ".";
    QTest::newRow("liste") << 12 << ";";
    QTest::newRow("kurzes datum") << 31 << "dd.MM.yyyy";
    QTest::newRow("langes datum") << 32 << "dddd, d. MMMM yyyy";
    QTest::newRow("reihenfolge") << 33 << "1";
    QTest::newRow("zeit") << 0x1003 << "HH:mm:ss";
    QTest::newRow("datumstrenner") << 29 << ".";
    QTest::newRow("zeittrenner") << 30 << ":";
    QTest::newRow("montag") << 0x2A << "Montag";
    QTest::newRow("sonntag") << 0x30 << "Sonntag";
    QTest::newRow("maerz") << 0x3A << "März";
    QTest::newRow("unbekannt") << 9999 << "";
}

void TestLandeseinstellungen::deutsch()
{
    QFETCH(int, element);
    QFETCH(QString, erwartet);
    QCOMPARE(LandesEinstellung(element), erwartet);
}

void TestLandeseinstellungen::systemIstEigeneLocale()
{
    // the machine's locale stays what it is while the program's default changes
    QCOMPARE(SystemEinstellung(Gebietselement::Dezimalzeichen), QLocale::system().decimalPoint());
}

void TestLandeseinstellungen::datumsformatVierstellig()
{
    QCOMPARE(DatumsformatVierstellig(), QStringLiteral("dd.mm.yyyy"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(DatumsformatVierstellig(), QStringLiteral("m/d/yyyy"));
}

void TestLandeseinstellungen::muster_data()
{
    QTest::addColumn<QString>("qt");
    QTest::addColumn<QString>("plattform");
    QTest::addColumn<QString>("format");
    QTest::newRow("datum") << "dd.MM.yy"
                           << "dd.MM.yy"
                           << "dd.mm.yy";
    QTest::newRow("zeit mit zone") << "HH:mm:ss t"
                                   << "HH:mm:ss"
                                   << "hh:nn:ss";
    QTest::newRow("12 stunden") << "h:mm AP"
                                << "h:mm tt"
                                << "h:nn AM/PM";
    QTest::newRow("zitat") << "d 'de' MMMM"
                           << "d 'de' MMMM"
                           << "d \"de\" mmmm";
    QTest::newRow("buchstabe maskiert") << "yyyy'年'M"
                                        << "yyyy'年'M"
                                        << "yyyy\"年\"m";
}

void TestLandeseinstellungen::muster()
{
    QFETCH(QString, qt);
    QFETCH(QString, plattform);
    QFETCH(QString, format);
    QCOMPARE(qtMusterAlsPlattformMuster(qt), plattform);
    QCOMPARE(plattformMusterAlsFormat(plattform), format);
}

void TestLandeseinstellungen::zahlenformate()
{
    ZahlenformateNeuBilden();
    const QStringList& f = Zahlenformate();
    QCOMPARE(f.size(), 13);
    QCOMPARE(f.at(0), QStringLiteral("##,###,###,##0.00;-##,###,###,##0.00"));
    QCOMPARE(f.at(1), QStringLiteral("###,###,###,###,##0;-###,###,###,###,##0"));
    QCOMPARE(f.at(2), QStringLiteral("##,###,###,##0"));
    QCOMPARE(f.at(3), QStringLiteral("##,###,###,##0.00 €;-##,###,###,##0.00 €"));
    QCOMPARE(f.at(4), QStringLiteral("##,###,###,###,##0.0;-##,###,###,###,##0.0"));
    QCOMPARE(f.at(12), QStringLiteral("###,##0.000000000;-###,##0.000000000"));
    QCOMPARE(Format(-1234.5, f.at(3)), QStringLiteral("-1.234,50 €"));
    QCOMPARE(Format(1234567.125, f.at(1)), QStringLiteral("1.234.567"));
    QCOMPARE(Format(0.5, f.at(6)), QStringLiteral("0,500"));
}

void TestLandeseinstellungen::zahlenformateNachWechsel()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ZahlenformateNeuBilden();
    QCOMPARE(Zahlenformate().at(3), QStringLiteral("##,###,###,##0.00 $;-##,###,###,##0.00 $"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ZahlenformateNeuBilden();
    QVERIFY(Zahlenformate().at(3).endsWith(QStringLiteral(" €")));
}

QTEST_GUILESS_MAIN(TestLandeseinstellungen)
#include "tst_landeseinstellungen.moc"
