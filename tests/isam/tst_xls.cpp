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

int fehlerBeimOeffnen(const QString& datei)
{
    try {
        XlsWorkbook mappe(datei);
    } catch (const IsamError& e) {
        if (!e.description().contains(QDir::toNativeSeparators(datei)))
            return -1;
        return e.number();
    }
    return 0;
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
        for (const char* s :
            { "Size", "Returns", "11", "784", "151", "Table 10 -- Examination Coverage:",
                "Recommended and Average Recommended Additional Tax After",
                "Individual income tax returns, total", "$100,000 or more",
                "S corporation returns, Form 1120S [10,15]",
                "individual income tax return “short forms.”" })
            QVERIFY2(t4.contains(QString::fromUtf8(s)), s);
        // FreeXL gives BIFF4 formula cells no cached result: "0.398" and "624" stay empty.
        QVERIFY(!t4.contains(QStringLiteral("0.398")));

        XlsWorkbook x5(pfad(QStringLiteral("apache_poi/testEXCEL_5.xls")));
        QCOMPARE(x5.biffVersion(), 5);
        const QString t5 = gesamterText(x5);
        for (const char* s : { "Sample Excel", "Written and saved", "Sheet: Feuil3" })
            QVERIFY2(t5.contains(QString::fromUtf8(s)), s);
        // The numbers and squares are formula cells, which FreeXL leaves empty.
        QVERIFY(!t5.contains(QStringLiteral("169")));

        XlsWorkbook sample(pfad(QStringLiteral("apache_poi/SampleSS.xls")));
        QCOMPARE(sample.tableNames(), QStringList({ "First Sheet", "Sheet Number 2", "Sheet3" }));
    }

    void excelDataReaderOhneContainer()
    {
        // FreeXL reads these workbooks written on a Mac not at all: the user gets a clear message
        // naming the file instead of a half-read table.
        for (const char* d :
            { "as3xls_BIFF2.xls", "as3xls_BIFF3.xls", "as3xls_BIFF4.xls", "as3xls_BIFF5.xls" })
            QCOMPARE(fehlerBeimOeffnen(pfad(QStringLiteral("ExcelDataReader/") + QLatin1String(d))),
                3343);
    }

    void excelDataReaderFehlerwerte()
    {
        XlsWorkbook mappe(pfad(QStringLiteral("ExcelDataReader/Test_git_issue_466_biff3.xls")));
        auto t = mappe.openTable(mappe.tableNames().first());
        for (const auto& zeile : alleZeilen(*t))
            for (const QVariant& v : zeile)
                QVERIFY(!v.isValid());
    }

    void xlrd()
    {
        // FreeXL finds no sheet in these two; the user is told so, naming the file.
        for (const char* d : { "Formate.xls", "biff4_no_format_no_window2.xls" })
            QCOMPARE(
                fehlerBeimOeffnen(pfad(QStringLiteral("python-excel_xlrd/") + QLatin1String(d))),
                3343);

        XlsWorkbook profile(pfad(QStringLiteral("python-excel_xlrd/profiles.xls")));
        QCOMPARE(profile.tableNames(),
            QStringList({ "PROFILEDEF", "AXISDEF", "TRAVERSALCHAINAGE", "AXISDATUMLEVELS",
                "PROFILELEVELS" }));
        auto def = profile.openTable(QStringLiteral("PROFILEDEF"));
        QCOMPARE(feldnamen(*def)[0], QStringLiteral("PROFIL"));
        QCOMPARE(def->fields().size(), 13);
        QCOMPARE(alleZeilen(*def).size(), 14);
        QCOMPARE(alleZeilen(*def)[0][1].toDouble(), 100.0);
        auto levels = profile.openTable(QStringLiteral("PROFILELEVELS"));
        // D2 is a formula (265.131 cached), which FreeXL does not hand over.
        QVERIFY(!alleZeilen(*levels)[0][3].isValid());
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

        XlsWorkbook mtcars(pfad(QStringLiteral("tidyverse_readxl/mtcars.xls")));
        QCOMPARE(mtcars.openTable(mtcars.tableNames().first())->fields().size(), 11);

        XlsWorkbook d1900(pfad(QStringLiteral("tidyverse_readxl/dates-1900.xls")));
        XlsWorkbook d1904(pfad(QStringLiteral("tidyverse_readxl/dates-1904.xls")));
        QVERIFY(d1904.dateSystem1904());
        const QStringList n1900 = feldnamen(*d1900.openTable(d1900.tableNames().first()));
        QCOMPARE(n1900, feldnamen(*d1904.openTable(d1904.tableNames().first())));
        QCOMPARE(n1900.first(), QStringLiteral("01.01.2000"));

        QCOMPARE(
            fehlerBeimOeffnen(pfad(QStringLiteral("tidyverse_readxl/biff5-rich-text-string.xls"))),
            3343);
    }

    void calamine()
    {
        for (const char* datei : { "tafia_calamine/date.xls", "tafia_calamine/date_1904.xls" }) {
            XlsWorkbook mappe(pfad(QString::fromLatin1(datei)));
            auto t = mappe.openTable(mappe.tableNames().first());
            QCOMPARE(feldnamen(*t).first(), QStringLiteral("01.01.2021"));
        }
    }
};

QTEST_GUILESS_MAIN(TestXls)
#include "tst_xls.moc"
