#include "IsamTestHelfer.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsWorkbook.h"

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

QString pfad(const QString& datei)
{
    return testdaten(QStringLiteral("xls/") + datei);
}

// Every name and value of every sheet as text, for the checks that only ask "is it there".
QString gesamterText(XlsWorkbook& mappe)
{
    QStringList teile;
    for (const QString& blatt : mappe.tableNames()) {
        teile.append(QStringLiteral("Sheet: ") + blatt);
        auto t = mappe.openTable(blatt);
        teile.append(feldnamen(*t));
        for (const auto& zeile : alleZeilen(*t))
            for (const QVariant& v : zeile)
                teile.append(
                    v.typeId() == QMetaType::Double ? numberText(v.toDouble()) : v.toString());
    }
    return teile.join(QLatin1Char('\n'));
}

} // namespace

class TestXls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFileInfo::exists(pfad(QString())))
            QSKIP("Testdaten fehlen");
    }

    void apachePoi()
    {
        XlsWorkbook x3(pfad(QStringLiteral("apache_poi/testEXCEL_3.xls")));
        QCOMPARE(x3.biffVersion(), 3);
        const QString t3 = gesamterText(x3);
        for (const char* s : { "Season beginning August", "USDA", "347", "228", "1981/82" })
            QVERIFY2(t3.contains(QString::fromUtf8(s)), s);

        XlsWorkbook x4(pfad(QStringLiteral("apache_poi/testEXCEL_4.xls")));
        QCOMPARE(x4.biffVersion(), 4);
        const QString t4 = gesamterText(x4);
        for (const char* s : { "Size", "Returns", "11", "784", "151", "0.398", "624",
                 "Table 10 -- Examination Coverage:",
                 "Recommended and Average Recommended Additional Tax After",
                 "Individual income tax returns, total", "$100,000 or more",
                 "S corporation returns, Form 1120S [10,15]",
                 "individual income tax return “short forms.”" })
            QVERIFY2(t4.contains(QString::fromUtf8(s)), s);
        QVERIFY(t4.size() > 100);

        XlsWorkbook x5(pfad(QStringLiteral("apache_poi/testEXCEL_5.xls")));
        QCOMPARE(x5.biffVersion(), 5);
        const QString t5 = gesamterText(x5);
        for (const char* s :
            { "Sample Excel", "Written and saved", "1", "13", "15", "169", "Sheet: Feuil3" })
            QVERIFY2(t5.contains(QString::fromUtf8(s)), s);
        // The squares are formulas: their cached results are the values.
        auto feuil1 = x5.openTable(QStringLiteral("Feuil1"));
        const auto zeilen = alleZeilen(*feuil1);
        QCOMPARE(zeilen[0][1].toString(), QStringLiteral("Number"));
        QCOMPARE(zeilen[0][2].toString(), QStringLiteral("Square"));
        for (int n = 1; n <= 15; ++n) {
            QCOMPARE(zeilen[n][1].toString(), QString::number(n));
            QCOMPARE(zeilen[n][2].toString(), QString::number(n * n));
        }

        XlsWorkbook sample(pfad(QStringLiteral("apache_poi/SampleSS.xls")));
        QCOMPARE(sample.biffVersion(), 8);
        QCOMPARE(sample.tableNames(), QStringList({ "First Sheet", "Sheet Number 2", "Sheet3" }));
        const QString ts = gesamterText(sample);
        for (const char* s : { "Test spreadsheet", "2nd row 2nd column", "cb=sum", "13" })
            QVERIFY2(ts.contains(QString::fromUtf8(s)), s);
    }

    void excelDataReader_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<int>("biff");
        for (int v : { 2, 3, 4, 5 })
            QTest::addRow("BIFF%d", v) << QStringLiteral("as3xls_BIFF%1.xls").arg(v) << v;
    }

    void excelDataReader()
    {
        QFETCH(QString, datei);
        QFETCH(int, biff);
        XlsWorkbook mappe(pfad(QStringLiteral("ExcelDataReader/") + datei));
        QCOMPARE(mappe.biffVersion(), biff);
        QVERIFY(mappe.dateSystem1904());
        QCOMPARE(mappe.tableNames().size(), biff == 5 ? 3 : 1);
        auto t = mappe.openTable(mappe.tableNames().first());
        // The first row (1, "Hi", 10.22, …) names the fields.
        QCOMPARE(feldnamen(*t).mid(0, 3), QStringList({ "1", "Hi", "10.22" }));
        QCOMPARE(feldnamen(*t)[3], QStringLiteral("14.7543176023568"));
        QCOMPARE(feldnamen(*t)[4], QStringLiteral("21.0410757253369"));
        QCOMPARE(t->fields()[0].type, int(dbDouble));
        QCOMPARE(t->fields()[1].type, int(dbText));
        // Column C mixes dates, text and numbers, so every value arrives as text.
        QCOMPARE(t->fields()[2].type, int(dbText));
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 9);
        QCOMPARE(z[0][0].toDouble(), 2.0);
        QCOMPARE(z[0][1].toString(), QStringLiteral("How"));
        QCOMPARE(z[0][2].toString(), QStringLiteral("22.02.2007"));
        QCOMPARE(z[1][1].toString(), QStringLiteral("are"));
        QCOMPARE(z[1][2].toString(), QStringLiteral("19.01.2002"));
        const QStringList spalteC
            = { "Saturday", "0.33", "19", "Goog", "12.19", "99", "1385729.234" };
        for (int i = 0; i < spalteC.size(); ++i)
            QCOMPARE(z[i + 2][2].toString(), spalteC[i]);
        // D and E are formulas; their cached results arrive.
        QCOMPARE(z[0][3].toDouble(), 14.754317602356753);
        QCOMPARE(z[0][4].toDouble(), 43.04107572533686);
    }

    void excelDataReaderFehlerwerte()
    {
        XlsWorkbook mappe(pfad(QStringLiteral("ExcelDataReader/Test_git_issue_466_biff3.xls")));
        QCOMPARE(mappe.biffVersion(), 3);
        auto t = mappe.openTable(mappe.tableNames().first());
        // Error values (formula results in the first row, constants in the second) are Null.
        QCOMPARE(feldnamen(*t), QStringList({ "F1", "F2", "F3", "F4", "F5" }));
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 1);
        for (const QVariant& v : z[0])
            QVERIFY(!v.isValid());

        XlsWorkbook leer(pfad(QStringLiteral("ExcelDataReader/Test_git_issue_224_simple_95.xls")));
        QCOMPARE(leer.biffVersion(), 5);
        QCOMPARE(leer.openTable(leer.tableNames().first())->rowCount(), 0);
    }

    void xlrd()
    {
        XlsWorkbook formate(pfad(QStringLiteral("python-excel_xlrd/Formate.xls")));
        QCOMPARE(formate.tableNames(),
            QStringList({ QStringLiteral("Blätt1"), QStringLiteral("ÖÄÜ"), QStringLiteral("Blätt3"),
                QStringLiteral("Formate") }));
        auto b1 = formate.openTable(QStringLiteral("Blätt1"));
        // A1 and B1 name the fields; B mixes dates, times and numbers and arrives as text.
        QCOMPARE(feldnamen(*b1), QStringList({ QStringLiteral("Huber"), "03.07.1907" }));
        const auto z = alleZeilen(*b1);
        QCOMPARE(z[0][0].toString(), QStringLiteral("Äcker"));
        QCOMPARE(z[1][0].toString(), QStringLiteral("Öcker"));
        const QStringList spalteB = { "23.02.2005", "03.05.1988", "06:34:00", "12:56:00",
            "17:47:13", "0.974", "0.124", "1000.3", "1.2" };
        for (int i = 0; i < spalteB.size(); ++i)
            QCOMPARE(z[i][1].toString(), spalteB[i]);
        QVERIFY(gesamterText(formate).contains(QStringLiteral("MERGED CELLS")));
        auto b3 = formate.openTable(QStringLiteral("Blätt3"));
        QCOMPARE(feldnamen(*b3), QStringList({ "100" }));

        XlsWorkbook profile(pfad(QStringLiteral("python-excel_xlrd/profiles.xls")));
        QCOMPARE(profile.tableNames(),
            QStringList({ "PROFILEDEF", "AXISDEF", "TRAVERSALCHAINAGE", "AXISDATUMLEVELS",
                "PROFILELEVELS" }));
        auto def = profile.openTable(QStringLiteral("PROFILEDEF"));
        QCOMPARE(feldnamen(*def)[0], QStringLiteral("PROFIL"));
        QCOMPARE(def->fields().size(), 13);
        QCOMPARE(alleZeilen(*def).size(), 14);
        QCOMPARE(alleZeilen(*def)[0][1].toDouble(), 100.0);
        QCOMPARE(feldnamen(*profile.openTable(QStringLiteral("TRAVERSALCHAINAGE")))[0],
            QStringLiteral("F1"));
        auto levels = profile.openTable(QStringLiteral("PROFILELEVELS"));
        QCOMPARE(feldnamen(*levels)[1], QStringLiteral("Quergefälle"));
        QCOMPARE(QString::number(alleZeilen(*levels)[0][3].toDouble(), 'f', 3),
            QStringLiteral("265.131"));

        // No FORMAT, WINDOW2 or CODEPAGE record: text cells only.
        XlsWorkbook biff4(pfad(QStringLiteral("python-excel_xlrd/biff4_no_format_no_window2.xls")));
        QCOMPARE(biff4.biffVersion(), 4);
        auto t4 = biff4.openTable(biff4.tableNames().first());
        QCOMPARE(feldnamen(*t4), QStringList({ "ID", "TOTAL", "MAIN", "SUB" }));
        QCOMPARE(t4->rowCount(), 26);
        QCOMPARE(alleZeilen(*t4)[0][0].toString(), QStringLiteral("A"));
    }

    void readxl()
    {
        XlsWorkbook iris(pfad(QStringLiteral("tidyverse_readxl/iris-excel-xls.xls")));
        auto t = iris.openTable(iris.tableNames().first());
        QCOMPARE(feldnamen(*t),
            QStringList(
                { "Sepal.Length", "Sepal.Width", "Petal.Length", "Petal.Width", "Species" }));
        QCOMPARE(alleZeilen(*t).size(), 150);
        QCOMPARE(t->fields()[0].type, int(dbDouble));
        QCOMPARE(t->fields()[4].type, int(dbText));

        XlsWorkbook datasets(pfad(QStringLiteral("tidyverse_readxl/datasets.xls")));
        QCOMPARE(feldnamen(*datasets.openTable(QStringLiteral("chickwts"))),
            QStringList({ "weight", "feed" }));
        QCOMPARE(alleZeilen(*datasets.openTable(QStringLiteral("quakes"))).size(), 1000);
        QCOMPARE(alleZeilen(*datasets.openTable(QStringLiteral("mtcars"))).size(), 32);

        // DIMENSIONS under-reports the last column; the cells count.
        XlsWorkbook mtcars(pfad(QStringLiteral("tidyverse_readxl/mtcars.xls")));
        QCOMPARE(mtcars.openTable(mtcars.tableNames().first())->fields().size(), 11);

        XlsWorkbook d1900(pfad(QStringLiteral("tidyverse_readxl/dates-1900.xls")));
        XlsWorkbook d1904(pfad(QStringLiteral("tidyverse_readxl/dates-1904.xls")));
        QVERIFY(!d1900.dateSystem1904());
        QVERIFY(d1904.dateSystem1904());
        const QStringList n1900 = feldnamen(*d1900.openTable(d1900.tableNames().first()));
        QCOMPARE(n1900, feldnamen(*d1904.openTable(d1904.tableNames().first())));
        QCOMPARE(n1900.first(), QStringLiteral("01.01.2000"));

        XlsWorkbook label(pfad(QStringLiteral("tidyverse_readxl/biff5-label-records.xls")));
        QCOMPARE(label.biffVersion(), 5);
        const auto lz = alleZeilen(*label.openTable(label.tableNames().first()));
        QCOMPARE(lz.size(), 16);
        QCOMPARE(lz[1][0].toString(), QStringLiteral("Date"));
        QCOMPARE(lz[2][0].toString(), QStringLiteral("21/01/2017"));
        QCOMPARE(lz[2][1].toString(), QStringLiteral("01:00"));
        QCOMPARE(lz[15][1].toString(), QStringLiteral("14:00"));

        XlsWorkbook rich(pfad(QStringLiteral("tidyverse_readxl/biff5-rich-text-string.xls")));
        QVERIFY(feldnamen(*rich.openTable(rich.tableNames().first()))
                    .first()
                    .startsWith(QStringLiteral("ELECTORAL")));

        XlsWorkbook types(pfad(QStringLiteral("tidyverse_readxl/types.xls")));
        QVERIFY(types.dateSystem1904());
        auto guess = types.openTable(QStringLiteral("guess_me"));
        QCOMPARE(feldnamen(*guess), QStringList({ "blank", "boolean", "date", "numeric", "text" }));
        QCOMPARE(guess->fields()[1].type, int(dbBoolean));
        QCOMPARE(guess->fields()[2].type, int(dbDate));
        QCOMPARE(guess->fields()[3].type, int(dbDouble));
        QCOMPARE(alleZeilen(*guess)[0][2].toDateTime(), tag(2017, 2, 27));
        const QString typText = gesamterText(types);
        for (const char* s : { "1.3", "36436153", "HELLO WORLD" })
            QVERIFY2(typText.contains(QString::fromUtf8(s)), s);
        QVERIFY(!typText.contains(QStringLiteral("1.300000")));

        XlsWorkbook deaths(pfad(QStringLiteral("tidyverse_readxl/deaths.xls")));
        QCOMPARE(deaths.tableNames(), QStringList({ "arts", "other" }));
        const auto dz = alleZeilen(*deaths.openTable(QStringLiteral("arts")));
        QCOMPARE(dz[3][0].toString(), QStringLiteral("Name"));
        QCOMPARE(dz[4][0].toString(), QStringLiteral("David Bowie"));
        QCOMPARE(dz[4][2].toString(), QStringLiteral("69"));
        QCOMPARE(dz[4][3].toString(), QStringLiteral("WAHR"));
        QCOMPARE(dz[4][4].toString(), QStringLiteral("08.01.1947"));
        QCOMPARE(dz[4][5].toString(), QStringLiteral("10.01.2016"));
    }

    void calamine()
    {
        for (const char* datei : { "tafia_calamine/date.xls", "tafia_calamine/date_1904.xls" }) {
            XlsWorkbook mappe(pfad(QString::fromLatin1(datei)));
            auto t = mappe.openTable(mappe.tableNames().first());
            QCOMPARE(feldnamen(*t).first(), QStringLiteral("01.01.2021"));
            QCOMPARE(t->fields()[0].type, int(dbDate));
            const auto z = alleZeilen(*t);
            // A3 is a duration of 255 h 10 min 10 s shown with a time format: a date-time
            // counted from the workbook's day zero.
            const QDateTime dauer = z[1][0].toDateTime();
            QCOMPARE(dauer.time(), QTime(15, 10, 10));
            const QDate nullpunkt
                = mappe.dateSystem1904() ? QDate(1904, 1, 1) : QDate(1899, 12, 31);
            QCOMPARE(nullpunkt.daysTo(dauer.date()), 10);
        }
    }
};

QTEST_GUILESS_MAIN(TestXls)
#include "tst_xls.moc"
