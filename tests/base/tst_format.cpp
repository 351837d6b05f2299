#include "base/Format.h"
#include "base/FormatMuster.h"

#include <QDateTime>
#include <QTest>

using namespace kv;

// Expected texts are what the platform's Format function shows with German regional settings.
class TestFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void benannt_data();
    void benannt() { pruefe(); }
    void zahlenmuster_data();
    void zahlenmuster() { pruefe(); }
    void datumsmuster_data();
    void datumsmuster() { pruefe(); }
    void textmuster_data();
    void textmuster() { pruefe(); }
    void andereLocale();
    void musterWiederverwenden();

private:
    static void spalten()
    {
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("erwartet");
    }
    static void zeile(
        const char* name, const QVariant& wert, const char* format, const char* erwartet)
    {
        QTest::newRow(name) << wert << QString::fromUtf8(format) << QString::fromUtf8(erwartet);
    }
    static void pruefe()
    {
        QFETCH(QVariant, wert);
        QFETCH(QString, format);
        QFETCH(QString, erwartet);
        QCOMPARE(Format(wert, format), erwartet);
    }
};

namespace {
const QDate k_datum(2009, 2, 1);
const QDateTime k_zeitpunkt(QDate(2009, 2, 1), QTime(14, 5, 9));
} // namespace

void TestFormat::benannt_data()
{
    spalten();
    zeile("waehrung", 1234.5, "Currency", "1.234,50 €");
    zeile("waehrung negativ", -1234.5, "Currency", "-1.234,50 €");
    zeile("waehrung gerundet auf null", -0.004, "Currency", "0,00 €");
    zeile("prozent", 0.5, "Percent", "50,00%");
    zeile("prozent ohne tausender", 12.345, "Percent", "1234,50%");
    zeile("standard", 1234.5, "Standard", "1.234,50");
    zeile("fixed", 1234.5, "Fixed", "1234,50");
    zeile("fixed negativ", -0.5, "Fixed", "-0,50");
    zeile("scientific", 1234.5, "Scientific", "1,23E+03");
    zeile("scientific klein", 0.000123, "Scientific", "1,23E-04");
    zeile("scientific null", 0, "Scientific", "0,00E+00");
    zeile("general number", 1234.5, "General Number", "1234,5");
    zeile("gross/klein egal", 1234.5, "general NUMBER", "1234,5");
    zeile("general number gross", 1e15, "General Number", "1E+15");
    zeile("general number text", "abc", "General Number", "abc");
    zeile("leer zahl", 12.5, "", "12,5");
    zeile("leer klein", 0.00001, "", "1E-05");
    zeile("leer noch normal", 0.0001, "", "0,0001");
    zeile("leer binaerfehler", 0.1 + 0.2, "", "0,3");
    zeile("leer 15 stellen", 999999999999999.0, "", "999999999999999");
    zeile("leer negativ", -2.5, "", "-2,5");
    zeile("leer ganzzahl", qint64(123456789012345678), "", "123456789012345678");
    zeile("leer single", QVariant(0.1f), "", "0,1");
    zeile("leer wahr", true, "", "Wahr");
    zeile("leer text", "12.5", "", "12.5");
    zeile("leer null", QVariant(), "", "");
    zeile("ja", -1, "Yes/No", "Ja");
    zeile("nein", 0, "Yes/No", "Nein");
    zeile("ja klein", true, "yes/no", "Ja");
    zeile("wahr", true, "True/False", "Wahr");
    zeile("falsch", false, "True/False", "Falsch");
    zeile("ein", 5, "On/Off", "Ein");
    zeile("aus", false, "On/Off", "Aus");
    zeile("ja null", QVariant(), "Yes/No", "");
    zeile("long date", k_datum, "Long Date", "Sonntag, 1. Februar 2009");
    zeile("short date", k_datum, "Short Date", "01.02.2009");
    zeile("medium date", k_datum, "Medium Date", "01. Feb 09");
    zeile("long time", k_zeitpunkt, "Long Time", "14:05:09");
    zeile("short time", k_zeitpunkt, "Short Time", "14:05");
    zeile("medium time", k_zeitpunkt, "Medium Time", "02:05 PM");
    zeile("general date", k_zeitpunkt, "General Date", "01.02.2009 14:05:09");
    zeile("general date ohne zeit", k_datum, "General Date", "01.02.2009");
    zeile("general date nur zeit", QTime(10, 30), "General Date", "10:30:00");
    zeile("leer datum", k_zeitpunkt, "", "01.02.2009 14:05:09");
    zeile("iso text", "2009-02-01 00:00:00", "Short Date", "01.02.2009");
    zeile("lokaler text", "1.2.2009", "Long Date", "Sonntag, 1. Februar 2009");
    zeile("tageszahl", 39845, "Short Date", "01.02.2009");
    zeile("tageszahl mit zeit", 39845.5, "General Date", "01.02.2009 12:00:00");
    zeile("kein datum", "abc", "Short Date", "abc");
}

void TestFormat::zahlenmuster_data()
{
    spalten();
    zeile("fuehrende nullen", 5, "00000", "00005");
    zeile("klammern negativ", -5, "0;(0)", "(5)");
    zeile("klammern positiv", 5, "0;(0)", "5");
    zeile("nullabschnitt", 0, "0;-0;\\N\\u\\l\\l", "Null");
    zeile("leerer nullabschnitt", 0, "0.0;-0.0;", "0,0");
    zeile("leerer negativabschnitt", -5, "0.0;;\\z", "-5,0");
    zeile("null-wert abschnitt", QVariant(), "0;-0;0;\\l\\e\\e\\r", "leer");
    zeile("null-wert ohne abschnitt", QVariant(), "0.00", "");
    zeile("tausender", 1234567.891, "#,##0.00", "1.234.567,89");
    zeile("tausender klein", 123, "#,##0", "123");
    zeile("tausender gross", 1e20, "#,##0", "100.000.000.000.000.000.000");
    zeile("runden halb auf", 2.345, "0.00", "2,35");
    zeile("runden achtel", 0.125, "0.00", "0,13");
    zeile("runden binaer", 1.005, "0.00", "1,01");
    zeile("runden negativ", -2.5, "0", "-3");
    zeile("runden uebertrag", 9.996, "0.00", "10,00");
    zeile("negativ auf null gerundet", -0.001, "0.00", "0,00");
    zeile("raute bruch", 0.5, "#.##", ",5");
    zeile("raute ganz", 5, "#.##", "5,");
    zeile("raute null", 0, "#", "");
    zeile("optionale stellen", 12345.6, "0.0#", "12345,6");
    zeile("optionale stellen voll", 12345.678, "0.0#", "12345,68");
    zeile("skalierung", 1234567, "#,##0,", "1.235");
    zeile("prozent", 0.256, "0%", "26%");
    zeile("prozent bruch", 0.256, "0.0%", "25,6%");
    zeile("literale zwischen stellen", 123456789, "000-00-0000", "123-45-6789");
    zeile("ohne ganzstellen", 12.5, ".00", "12,50");
    zeile("exponent", 1234.5, "0.00E+00", "1,23E+03");
    zeile("exponent minus", 0.00012345, "0.00E-00", "1,23E-04");
    zeile("exponent minus positiv", 12345, "0.00E-00", "1,23E04");
    zeile("exponent uebertrag", 9.999, "0.0E+0", "1,0E+1");
    zeile("dollar", -5, "$0.00", "-$5,00");
    zeile("maskiert", 5, "0 \\k\\g", "5 kg");
    zeile("zitat", 5, "0 \"Stück\"", "5 Stück");
    zeile("euro", 1234.5, "#,##0.00 €", "1.234,50 €");
    zeile("zahlentext", "12,5", "0.00", "12,50");
    zeile("zahlentext tausender", "1.234,5", "#,##0.0", "1.234,5");
    zeile("kein zahlentext", "abc", "0.00", "abc");
    zeile("wahr als zahl", true, "0", "-1");
    zeile("datum als zahl", k_datum, "0.00", "39845,00");
    zeile("iso text als zahl", "2009-02-01", "0", "39845");
    zeile("nur literal", 5, "\\a", "a");
    zeile("ganzzahl gross", qint64(9007199254740993), "#,##0", "9.007.199.254.740.993");
}

void TestFormat::datumsmuster_data()
{
    spalten();
    zeile("deutsch", k_zeitpunkt, "dd.mm.yyyy", "01.02.2009");
    zeile("gross geschrieben", k_zeitpunkt, "DD.MM.YYYY", "01.02.2009");
    zeile("mit zeit", k_zeitpunkt, "dd.mm.yyyy hh:nn", "01.02.2009 14:05");
    zeile("sql datum", k_datum, "mm-dd-yyyy", "02-01-2009");
    zeile("iso", k_datum, "yyyy-mm-dd", "2009-02-01");
    zeile("m nach h ist minute", k_zeitpunkt, "hh:mm:ss", "14:05:09");
    zeile("ohne fuehrende nullen", k_zeitpunkt, "h:m:s", "14:5:9");
    zeile("m vor s ist minute", k_zeitpunkt, "mm:ss", "05:09");
    zeile("am/pm", k_zeitpunkt, "hh:nn AM/PM", "02:05 PM");
    zeile("am/pm klein", k_zeitpunkt, "h:nn am/pm", "2:05 pm");
    zeile("a/p", k_zeitpunkt, "h A/P", "2 P");
    zeile("mitternacht 12 stunden", QDateTime(k_datum, QTime(0, 15)), "h:nn AM/PM", "12:15 AM");
    zeile("trenner der locale", k_zeitpunkt, "d/m/yy", "1.2.09");
    zeile("kurze namen", k_zeitpunkt, "ddd, d. mmm", "So, 1. Feb");
    zeile("lange namen", k_zeitpunkt, "dddd mmmm", "Sonntag Februar");
    zeile("quartal", k_zeitpunkt, "q", "1");
    zeile("jahrestag", k_zeitpunkt, "y", "32");
    zeile("wochentag", k_zeitpunkt, "w", "1");
    zeile("woche", k_zeitpunkt, "ww", "6");
    zeile("kurzdatum", k_zeitpunkt, "ddddd", "01.02.2009");
    zeile("langdatum", k_zeitpunkt, "dddddd", "Sonntag, 1. Februar 2009");
    zeile("langzeit", k_zeitpunkt, "ttttt", "14:05:09");
    zeile("allgemein", k_zeitpunkt, "c", "01.02.2009 14:05:09");
    zeile("literal", k_zeitpunkt, "\"am\" d.m.", "am 1.2.");
    zeile("null", QVariant(), "dd.mm.yyyy", "");
    zeile("iso text", "2009-02-01 14:05:00", "dd.mm.yyyy hh:nn", "01.02.2009 14:05");
}

void TestFormat::textmuster_data()
{
    spalten();
    zeile("gross", "abc", ">", "ABC");
    zeile("klein", "ÄBC", "<", "äbc");
    zeile("rechtsbuendig", "abc", "@@@@@", "  abc");
    zeile("linksbuendig", "abc", "!@@@@@", "abc  ");
    zeile("zu lang", "abcdef", "@@@", "abcdef");
    zeile("literal dazwischen", "12345", "@@@-@@", "123-45");
    zeile("optional", "ab", "&&&&", "ab");
    zeile("leer abschnitt", "", "@;\\l\\e\\e\\r", "leer");
    zeile("null abschnitt", QVariant(), "@;\\l\\e\\e\\r", "leer");
    zeile("zahl als text", 12.5, ">@", "12,5");
    zeile("buchstaben neben zeichenplatz", "abc", "@@@ cm", "abc cm");
}

void TestFormat::andereLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(Format(1234.5, QStringLiteral("Standard")), QStringLiteral("1,234.50"));
    QCOMPARE(Format(1234.5, QStringLiteral("#,##0.00")), QStringLiteral("1,234.50"));
    QCOMPARE(Format(1234.5, QStringLiteral("Currency")), QStringLiteral("$1,234.50"));
    QCOMPARE(Format(QVariant(k_datum), QStringLiteral("d/m/yyyy")), QStringLiteral("1/2/2009"));
    QCOMPARE(Format(QVariant(k_datum), QStringLiteral("Short Date")), QStringLiteral("2/1/2009"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(Format(1234.5, QStringLiteral("Standard")), QStringLiteral("1.234,50"));
}

void TestFormat::musterWiederverwenden()
{
    const FormatMuster muster(QStringLiteral("#,##0.00;(#,##0.00);\\-"));
    QCOMPARE(muster.anwenden(1234.5), QStringLiteral("1.234,50"));
    QCOMPARE(muster.anwenden(-1234.5), QStringLiteral("(1.234,50)"));
    QCOMPARE(muster.anwenden(0), QStringLiteral("-"));
    QCOMPARE(muster.anwenden(QStringLiteral("7")), QStringLiteral("7,00"));
}

QTEST_GUILESS_MAIN(TestFormat)
#include "tst_format.moc"
