#include "base/Format.h"
#include "base/Werteparser.h"

#include <QTest>

using namespace kv;

class TestParser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }
    void zahl_data();
    void zahl();
    void datum_data();
    void datum();
    void val_data();
    void val();
    void datumAmerikanisch();
    void rundreise();
    void tageszahl();
};

void TestParser::zahl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<double>("wert");
    QTest::newRow("komma") << "12,5" << true << 12.5;
    QTest::newRow("tausender") << "1.234,5" << true << 1234.5;
    QTest::newRow("zwei tausender") << "1.234.567" << true << 1234567.0;
    QTest::newRow("negativ") << "-3" << true << -3.0;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("blanks") << " 7 " << true << 7.0;
    QTest::newRow("nur bruch") << ",5" << true << 0.5;
    QTest::newRow("komma am ende") << "5," << true << 5.0;
    QTest::newRow("exponent") << "1,5E3" << true << 1500.0;
    QTest::newRow("waehrung") << "-1.234,50 €" << true << -1234.5;
    QTest::newRow("punkt als dezimal") << "12.5" << false << 0.0;
    QTest::newRow("gruppe zu lang") << "1234.567" << false << 0.0;
    QTest::newRow("gruppe zu kurz") << "1.23,4" << false << 0.0;
    QTest::newRow("leer") << "" << false << 0.0;
    QTest::newRow("blanks allein") << "   " << false << 0.0;
    QTest::newRow("buchstaben") << "abc" << false << 0.0;
    QTest::newRow("zahl mit rest") << "12abc" << false << 0.0;
    QTest::newRow("nur vorzeichen") << "-" << false << 0.0;
    QTest::newRow("exponent ohne ziffern") << "1E" << false << 0.0;
}

void TestParser::zahl()
{
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    QFETCH(double, wert);
    const std::optional<double> z = ParseZahl(text);
    QCOMPARE(z.has_value(), gueltig);
    QCOMPARE(IstZahl(text), gueltig);
    if (gueltig)
        QCOMPARE(*z, wert);
}

void TestParser::datum_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("erwartet"); // invalid: no date
    const QDate feb1(2009, 2, 1);
    QTest::newRow("kurz") << "1.2.2009" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("zweistellig") << "01.02.09" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("mit zeit") << "1.2.2009 10:30" << QDateTime(feb1, QTime(10, 30));
    QTest::newRow("mit sekunden") << "1.2.2009 10:30:15" << QDateTime(feb1, QTime(10, 30, 15));
    QTest::newRow("pm") << "1.2.2009 10:30 PM" << QDateTime(feb1, QTime(22, 30));
    QTest::newRow("schraegstrich") << "1/2/2009" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("iso") << "2009-02-01" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("gespeichert") << "2009-02-01 10:30:00" << QDateTime(feb1, QTime(10, 30));
    QTest::newRow("iso mit T") << "2009-02-01T10:30:15" << QDateTime(feb1, QTime(10, 30, 15));
    QTest::newRow("monatsname") << "1. Februar 2009" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("mit wochentag") << "Sonntag, 1. Februar 2009" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("kurzer monat") << "01-Feb-09" << QDateTime(feb1, QTime(0, 0));
    QTest::newRow("nur zeit") << "10:30" << QDateTime(QDate(1899, 12, 30), QTime(10, 30));
    QTest::newRow("jahr 29") << "1.2.29" << QDateTime(QDate(2029, 2, 1), QTime(0, 0));
    QTest::newRow("jahr 30") << "1.2.30" << QDateTime(QDate(1930, 2, 1), QTime(0, 0));
    QTest::newRow("ohne jahr") << "1.2."
                               << QDateTime(QDate(QDate::currentDate().year(), 2, 1), QTime(0, 0));
    QTest::newRow("31. februar") << "31.2.2009" << QDateTime();
    QTest::newRow("monat 13") << "1.13.2009" << QDateTime();
    QTest::newRow("stunde 25") << "1.2.2009 25:00" << QDateTime();
    QTest::newRow("iso ungueltig") << "2009-02-30" << QDateTime();
    QTest::newRow("zahl mit komma") << "12,5" << QDateTime();
    QTest::newRow("zahl") << "2009" << QDateTime();
    QTest::newRow("text") << "abc" << QDateTime();
    QTest::newRow("falscher wochentag") << "Montag der 1.2.2009" << QDateTime();
    QTest::newRow("leer") << "" << QDateTime();
}

void TestParser::datum()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, erwartet);
    const std::optional<QDateTime> d = ParseDatum(text);
    QCOMPARE(d.has_value(), erwartet.isValid());
    QCOMPARE(IstDatum(text), erwartet.isValid());
    if (d)
        QCOMPARE(*d, erwartet);
}

void TestParser::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("wert");
    QTest::newRow("ganz") << "12" << 12.0;
    QTest::newRow("punkt") << "12.5" << 12.5;
    QTest::newRow("komma beendet") << "12,5" << 12.0;
    QTest::newRow("blanks dazwischen") << " 1 2 3" << 123.0;
    QTest::newRow("rest") << "3 Stück" << 3.0;
    QTest::newRow("vorzeichen") << "-4.5" << -4.5;
    QTest::newRow("plus") << "+4" << 4.0;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("exponent ohne ziffern") << "2e" << 2.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("oktal") << "&O17" << 15.0;
    QTest::newRow("keine zahl") << "abc" << 0.0;
    QTest::newRow("leer") << "" << 0.0;
}

void TestParser::val()
{
    QFETCH(QString, text);
    QFETCH(double, wert);
    QCOMPARE(Val(text), wert);
}

void TestParser::datumAmerikanisch()
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(ParseDatum(QStringLiteral("2/1/2009"), us)->date(), QDate(2009, 2, 1));
    QCOMPARE(ParseZahl(QStringLiteral("1,234.5"), us), std::optional<double>(1234.5));
    QVERIFY(!ParseZahl(QStringLiteral("12,5"), us));
}

void TestParser::rundreise()
{
    const QDateTime d(QDate(2009, 2, 1), QTime(14, 5, 9));
    for (const char* format : { "General Date", "Long Date", "Medium Date", "Short Date" }) {
        const QString text = Format(d, QString::fromLatin1(format));
        const std::optional<QDateTime> zurueck = ParseDatum(text);
        QVERIFY2(zurueck.has_value(), qPrintable(text));
        QCOMPARE(zurueck->date(), d.date());
    }
    QCOMPARE(ParseZahl(Format(-1234567.25, QStringLiteral("Standard"))),
        std::optional<double>(-1234567.25));
    QCOMPARE(
        ParseZahl(Format(-1234.5, QStringLiteral("Currency"))), std::optional<double>(-1234.5));
}

void TestParser::tageszahl()
{
    const QDateTime d(QDate(2009, 2, 1), QTime(12, 0));
    QCOMPARE(DatumAlsZahl(d), 39845.5);
    QCOMPARE(ZahlAlsDatum(39845.5), std::optional<QDateTime>(d));
    // before day 0 the fraction still counts from midnight forward
    QCOMPARE(
        ZahlAlsDatum(-1.25), std::optional<QDateTime>(QDateTime(QDate(1899, 12, 29), QTime(6, 0))));
    QCOMPARE(DatumAlsZahl(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    QVERIFY(!ZahlAlsDatum(1e12));
}

QTEST_GUILESS_MAIN(TestParser)
#include "tst_parser.moc"
