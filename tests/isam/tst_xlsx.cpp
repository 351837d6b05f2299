#include "FremdLeser.h"
#include "IsamTestHelfer.h"
#include "engine/isam/ExcelNumberFormat.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsxParts.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QJsonArray>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

const IsamFields Felder
    = { { QStringLiteral("Name"), dbText, 50 }, { QStringLiteral("Nr"), dbLong, 4 },
          { QStringLiteral("Betrag"), dbCurrency, 8 }, { QStringLiteral("Seit"), dbDate, 8 },
          { QStringLiteral("Aktiv"), dbBoolean, 1 }, { QStringLiteral("Notiz"), dbMemo, 0 } };

QList<ValueIssue> schreibeKunden(const QString& pfad)
{
    QList<ValueIssue> probleme;
    XlsxWorkbook mappe(pfad);
    auto t = mappe.createTable(QStringLiteral("Kunden"), Felder);
    t->setIssueSink([&probleme](const ValueIssue& i) { probleme.append(i); });
    t->append({ QStringLiteral("Müller & Söhne"), 1, 12.5, tag(2024, 2, 29), true,
        QStringLiteral("Zeile 1\nZeile 2") });
    t->append({ QStringLiteral("Ærø"), QVariant(), -0.25, tag(1999, 12, 31, 23, 59, 59), false,
        QVariant() });
    t->append({ QVariant(), 2147483647, 1e15, tag(1850, 6, 1), QVariant(),
        QString(40000, QLatin1Char('x')) });
    t->flush();
    return probleme;
}

} // namespace

class TestXlsx : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void schreibenUndZuruecklesen()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("export.xlsx"));
        const auto probleme = schreibeKunden(pfad);
        // Before 1900 Excel has no dates, and a cell holds at most 32767 characters.
        QCOMPARE(probleme.size(), 2);
        QCOMPARE(probleme[0].kind, IssueKind::DateOutOfRange);
        QCOMPARE(probleme[0].row, 4);
        QCOMPARE(probleme[0].target.toString(), QStringLiteral("01.06.1850 00:00:00"));
        QCOMPARE(probleme[1].kind, IssueKind::TextCut);
        QCOMPARE(probleme[1].fieldName, QStringLiteral("Notiz"));

        XlsxWorkbook mappe(pfad);
        QCOMPARE(mappe.tableNames(), QStringList({ "Kunden" }));
        auto t = mappe.openTable(QStringLiteral("kunden"));
        QCOMPARE(feldnamen(*t), QStringList({ "Name", "Nr", "Betrag", "Seit", "Aktiv", "Notiz" }));
        QCOMPARE(t->fields()[0].type, int(dbText));
        QCOMPARE(t->fields()[1].type, int(dbDouble));
        QCOMPARE(t->fields()[3].type, int(dbText)); // the text of the early date mixes in
        QCOMPARE(t->fields()[4].type, int(dbBoolean));
        QCOMPARE(t->fields()[5].type, int(dbMemo));
        QCOMPARE(t->rowCount(), 3);
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 3);
        QCOMPARE(z[0][0].toString(), QStringLiteral("Müller & Söhne"));
        QCOMPARE(z[0][1].toDouble(), 1.0);
        QCOMPARE(z[0][2].toDouble(), 12.5);
        QCOMPARE(z[0][3].toString(), QStringLiteral("29.02.2024"));
        QCOMPARE(z[0][4], QVariant(true));
        QCOMPARE(z[0][5].toString(), QStringLiteral("Zeile 1\nZeile 2"));
        QCOMPARE(z[1][0].toString(), QStringLiteral("Ærø"));
        QVERIFY(!z[1][1].isValid());
        QCOMPARE(z[1][3].toString(), QStringLiteral("31.12.1999 23:59:59"));
        QVERIFY(!z[1][5].isValid());
        QVERIFY(!z[2][0].isValid());
        QCOMPARE(z[2][1].toDouble(), 2147483647.0);
        QCOMPARE(z[2][2].toDouble(), 1e15);
        QCOMPARE(z[2][5].toString().size(), 32767);

        // Two cursors read independently.
        auto a = t->openCursor();
        auto b = t->openCursor();
        QVERIFY(a->next() && a->next());
        QVERIFY(b->next());
        QCOMPARE(a->value(0).toString(), QStringLiteral("Ærø"));
        QCOMPARE(b->value(0).toString(), QStringLiteral("Müller & Söhne"));
        QCOMPARE(a->rowId(), 3);
        QVERIFY(b->seek(4));
        QVERIFY(!b->value(0).isValid());
    }

    void openpyxlLiestWasWirSchreiben()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("export.xlsx"));
        schreibeKunden(pfad);
        const QJsonDocument doc = pythonJson(
            QStringLiteral(
                "import json, sys, openpyxl\n"
                "ws = openpyxl.load_workbook(sys.argv[1])['Kunden']\n"
                "print(json.dumps([[c.isoformat() if hasattr(c, 'isoformat') else c for c in r]\n"
                "                  for r in ws.iter_rows(values_only=True)]))\n"),
            { pfad });
        if (doc.isNull())
            QSKIP("python3-openpyxl fehlt");
        const QJsonArray z = doc.array();
        QCOMPARE(z.size(), 4);
        QCOMPARE(z[0].toArray()[0].toString(), QStringLiteral("Name"));
        QCOMPARE(z[1].toArray()[0].toString(), QStringLiteral("Müller & Söhne"));
        QCOMPARE(z[1].toArray()[1].toDouble(), 1.0);
        QCOMPARE(z[1].toArray()[2].toDouble(), 12.5);
        QCOMPARE(z[1].toArray()[3].toString(), QStringLiteral("2024-02-29T00:00:00"));
        QCOMPARE(z[1].toArray()[4].toBool(), true);
        QCOMPARE(z[2].toArray()[3].toString(), QStringLiteral("1999-12-31T23:59:59"));
        QVERIFY(z[2].toArray()[1].isNull());
        QCOMPARE(z[3].toArray()[1].toDouble(), 2147483647.0);
    }

    void blattnamenNachExcelsRegeln()
    {
        TempDir dir;
        XlsxWorkbook mappe(dir.file(QStringLiteral("n.xlsx")));
        auto t = mappe.createTable(
            QStringLiteral("Umsatz 2024/25: [alle]"), { { QStringLiteral("A"), dbText, 10 } });
        QCOMPARE(t->name(), QStringLiteral("Umsatz 2024_25_ _alle_"));
        QCOMPARE(t->notices().size(), 1);
        t->append({ QStringLiteral("x") });
        t->flush();
        QVERIFY_THROWS_EXCEPTION(IsamError, t->append({ QStringLiteral("y") }));
        QCOMPARE(XlsxWorkbook(dir.file(QStringLiteral("n.xlsx"))).tableNames(),
            QStringList({ t->name() }));
        // An existing workbook is not rewritten behind the user's back.
        XlsxWorkbook vorhanden(dir.file(QStringLiteral("n.xlsx")));
        QVERIFY(!vorhanden.canCreateTables());
        QVERIFY_THROWS_EXCEPTION(IsamError,
            vorhanden.createTable(QStringLiteral("B"), { { QStringLiteral("A"), dbText, 10 } }));
    }

    void datumsformateErkennen_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("datum");
        QTest::newRow("deutsch") << "dd.mm.yyyy" << true;
        QTest::newRow("uhrzeit") << "[h]:mm:ss" << true;
        QTest::newRow("farbe") << "[Red]0.00" << false;
        QTest::newRow("text in anfuehrung") << "0.00\" days\"" << false;
        QTest::newRow("escape") << "0\\d" << false;
        QTest::newRow("general") << "General" << false;
        QTest::newRow("waehrung") << "#,##0.00 [$€-407]" << false;
        QTest::newRow("standard deutsch") << "Standard" << false;
        QTest::newRow("farbe mit m") << "[Magenta]0" << false;
        QTest::newRow("minuten abgelaufen") << "[mm]:ss" << true;
        QTest::newRow("nur negativ als datum") << "0.00;dd.mm.yy" << false;
    }

    void datumsformateErkennen()
    {
        QFETCH(QString, code);
        QFETCH(bool, datum);
        QCOMPARE(isDateFormatCode(code), datum);
    }

    void excelTageszahlen()
    {
        QCOMPARE(excelSerialToDateTime(36526, false), tag(2000, 1, 1));
        QCOMPARE(excelSerialToDateTime(35064, true), tag(2000, 1, 1));
        QCOMPARE(excelSerialToDateTime(1, false), tag(1900, 1, 1));
        QCOMPARE(excelSerialToDateTime(61, false), tag(1900, 3, 1));
        QCOMPARE(excelSerialToDateTime(44197.5, false), tag(2021, 1, 1, 12));
        QVERIFY(!excelSerialToDateTime(-1, false).isValid());
        QCOMPARE(*excelSerialFromDateTime(tag(2021, 1, 1, 12)), 44197.5);
        QVERIFY(!excelSerialFromDateTime(tag(1899, 1, 1)));
        QCOMPARE(numberText(1.3), QStringLiteral("1.3"));
        QCOMPARE(numberText(36436153), QStringLiteral("36436153"));
    }
};

QTEST_GUILESS_MAIN(TestXlsx)
#include "tst_xlsx.moc"
