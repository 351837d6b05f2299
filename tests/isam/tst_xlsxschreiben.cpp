#include "FremdLeser.h"
#include "IsamTestHelfer.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QJsonArray>
#include <QJsonObject>
#include <zip.h>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

IsamField feld(const char* name, int typ, int groesse = 0)
{
    IsamField f;
    f.name = QString::fromUtf8(name);
    f.type = typ;
    f.size = groesse;
    return f;
}

/// Writes one sheet "Daten" and returns the changed values it reported.
QList<ValueIssue> schreibe(
    const QString& pfad, const IsamFields& felder, const QVector<IsamRow>& zeilen)
{
    QList<ValueIssue> probleme;
    XlsxWorkbook mappe(pfad);
    auto t = mappe.createTable(QStringLiteral("Daten"), felder);
    t->setIssueSink([&probleme](const ValueIssue& i) { probleme.append(i); });
    for (const IsamRow& z : zeilen)
        t->append(z);
    t->flush();
    return probleme;
}

QVector<IsamRow> zurueck(const QString& pfad, const QString& blatt = QStringLiteral("Daten"))
{
    XlsxWorkbook mappe(pfad);
    auto t = mappe.openTable(blatt);
    return alleZeilen(*t);
}

/// Every sheet as openpyxl reads it: {name: rows of values}, dates and times as ISO text.
QJsonObject mitOpenpyxl(const QString& pfad)
{
    return pythonJson(
        QStringLiteral("import json, sys, openpyxl\n"
                       "wb = openpyxl.load_workbook(sys.argv[1])\n"
                       "def w(c):\n"
                       "    return c.isoformat() if hasattr(c, 'isoformat') else c\n"
                       "print(json.dumps({ws.title: [[w(c) for c in r] for r in "
                       "ws.iter_rows(values_only=True)] for ws in wb.worksheets}))\n"),
        { pfad })
        .object();
}

const QString Emoji = QString::fromUtf8("Gr\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");

} // namespace

class TestXlsxSchreiben : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void texteMaskiert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("gelesen");
        QTest::addColumn<bool>("gemeldet");
        QTest::newRow("xml-zeichen") << "a & b < c > d \"e\" 'f'"
                                     << "a & b < c > d \"e\" 'f'" << false;
        QTest::newRow("zeilenenden") << "eins\r\nzwei\rdrei\nvier\tf"
                                     << "eins\r\nzwei\rdrei\nvier\tf" << false;
        QTest::newRow("leerzeichen am rand") << "  innen  "
                                             << "  innen  " << false;
        QTest::newRow("zeilenumbruch am rand") << "\nx\n"
                                               << "\nx\n"
                                               << false;
        QTest::newRow("escape-muster") << "_x0041_ und _x00e4_"
                                       << "_x0041_ und _x00e4_" << false;
        QTest::newRow("unterstrich") << "_x_ a_b _x004"
                                     << "_x_ a_b _x004" << false;
        QTest::newRow("ersatzpaar") << Emoji << Emoji << false;
        QTest::newRow("steuerzeichen") << QStringLiteral("a\x01z\x0B\x1F!") << "az!" << true;
        QTest::newRow("nullzeichen")
            << QString(QStringLiteral("a%1b")).arg(QChar(0)) << "ab" << true;
        QTest::newRow("einzelnes ersatzzeichen")
            << QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y") << "xy" << true;
        QTest::newRow("nichtzeichen") << QStringLiteral("x") + QChar(0xFFFF) << "x" << true;
    }

    void texteMaskiert()
    {
        QFETCH(QString, text);
        QFETCH(QString, gelesen);
        QFETCH(bool, gemeldet);
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("t.xlsx"));
        const auto probleme
            = schreibe(pfad, { feld("Text", dbMemo), feld("Danach", dbLong) }, { { text, 7 } });
        const auto z = zurueck(pfad);
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0][0].toString(), gelesen);
        QCOMPARE(z[0][1].toDouble(), 7.0);
        QCOMPARE(probleme.size(), gemeldet ? 1 : 0);
        if (gemeldet) {
            QCOMPARE(probleme[0].kind, IssueKind::CharactersMissing);
            QCOMPARE(probleme[0].row, 2);
            QCOMPARE(probleme[0].fieldName, QStringLiteral("Text"));
            QCOMPARE(probleme[0].source.toString(), text);
            QCOMPARE(probleme[0].target.toString(), gelesen);
        }
    }

    void langeTexteGekuerzt()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("lang.xlsx"));
        // The second text would be cut between the two halves of a pair: the pair goes whole.
        const QString genau(32767, QLatin1Char('a'));
        const QString paarAmRand = QString(32766, QLatin1Char('b')) + Emoji.right(2);
        const QString mitSteuerzeichen = QString(40000, QLatin1Char('&')) + QChar(1);
        const auto probleme = schreibe(
            pfad, { feld("Notiz", dbMemo) }, { { genau }, { paarAmRand }, { mitSteuerzeichen } });
        QCOMPARE(probleme.size(), 2);
        QCOMPARE(probleme[0].kind, IssueKind::TextCut);
        QCOMPARE(probleme[0].row, 3);
        QCOMPARE(probleme[0].target.toString(), QString(32766, QLatin1Char('b')));
        QCOMPARE(probleme[1].kind, IssueKind::TextCut);
        QCOMPARE(probleme[1].target.toString().size(), 32767);
        const auto z = zurueck(pfad);
        QCOMPARE(z.size(), 3);
        QCOMPARE(z[0][0].toString(), genau);
        QCOMPARE(z[1][0].toString(), QString(32766, QLatin1Char('b')));
        QCOMPARE(z[2][0].toString(), QString(32767, QLatin1Char('&')));
    }

    void zahlen()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("zahlen.xlsx"));
        const double summe = 0.1 + 0.2;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        // Value handed in, value the file holds (NaN: none).
        const QVector<QPair<QVariant, double>> faelle = { { qlonglong(123456789012345),
                                                              123456789012345.0 },
            { qlonglong(9007199254740993), 9007199254740992.0 }, // 2^53 + 1: no double holds it
            { summe, summe }, { 1e300, 1e300 }, { -2.5e-300, -2.5e-300 }, { 5e-324, 5e-324 },
            { -0.0, 0.0 }, { nan, nan }, { std::numeric_limits<double>::infinity(), nan },
            { 2147483647, 2147483647.0 }, { -2147483647 - 1, -2147483648.0 } };
        QVector<IsamRow> zeilen;
        for (int i = 0; i < faelle.size(); ++i)
            zeilen.append({ faelle[i].first, i });
        const auto probleme
            = schreibe(pfad, { feld("Wert", dbDouble), feld("Nr", dbLong) }, zeilen);
        QCOMPARE(probleme.size(), 3);
        QCOMPARE(probleme[0].kind, IssueKind::NumberRounded);
        QCOMPARE(probleme[0].row, 3);
        QCOMPARE(probleme[0].target.toDouble(), 9007199254740992.0);
        QCOMPARE(probleme[1].kind, IssueKind::NumberOutOfRange);
        QCOMPARE(probleme[2].kind, IssueKind::NumberOutOfRange);
        QCOMPARE(probleme[2].row, 10);

        // Every number that was written reads back as the same double, to the last bit.
        const auto z = zurueck(pfad);
        QCOMPARE(z.size(), faelle.size());
        const QJsonObject o = mitOpenpyxl(pfad);
        const QJsonArray p = o.value(QStringLiteral("Daten")).toArray();
        for (int i = 0; i < faelle.size(); ++i) {
            const double erwartet = faelle[i].second;
            QCOMPARE(z[i][1].toDouble(), double(i));
            if (std::isnan(erwartet)) {
                QVERIFY(!z[i][0].isValid());
                continue;
            }
            // QCOMPARE would forgive the last digits.
            QVERIFY2(z[i][0].toDouble() == erwartet, qPrintable(z[i][0].toString()));
            if (!o.isEmpty())
                QVERIFY2(
                    p[i + 1].toArray()[0].toDouble() == erwartet, qPrintable(QString::number(i)));
        }
    }

    void datumUndZeit()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("datum.xlsx"));
        // Dates come as QDateTime or as the engine's stored text.
        const auto probleme = schreibe(pfad, { feld("Wann", dbDate), feld("Nr", dbLong) },
            { { QStringLiteral("1900-03-01 00:00:00"), 1 }, { tag(2024, 2, 29, 13, 5, 9), 2 },
                { QStringLiteral("1899-12-30 12:30:00"), 3 },
                { QStringLiteral("1900-02-28 00:00:00"), 4 }, { tag(1066, 10, 14), 5 },
                { QStringLiteral("9999-12-31 23:59:59"), 6 }, { QVariant(), 7 } });
        // Excel has no days before March 1900; they stay readable as text and are reported.
        QCOMPARE(probleme.size(), 2);
        QCOMPARE(probleme[0].kind, IssueKind::DateOutOfRange);
        QCOMPARE(probleme[0].row, 5);
        QCOMPARE(probleme[0].target.toString(), QStringLiteral("28.02.1900 00:00:00"));
        QCOMPARE(probleme[1].row, 6);
        QCOMPARE(probleme[1].target.toString(), QStringLiteral("14.10.1066 00:00:00"));

        const QJsonObject o = mitOpenpyxl(pfad);
        if (o.isEmpty())
            QSKIP("python3-openpyxl fehlt");
        const QJsonArray z = o.value(QStringLiteral("Daten")).toArray();
        QCOMPARE(z.size(), 8);
        auto wert = [&z](int zeile) { return z[zeile].toArray()[0].toString(); };
        QCOMPARE(wert(1), QStringLiteral("1900-03-01T00:00:00"));
        QCOMPARE(wert(2), QStringLiteral("2024-02-29T13:05:09"));
        // A time alone is a time of day for Excel, not a day in 1899.
        QCOMPARE(wert(3), QStringLiteral("12:30:00"));
        QCOMPARE(wert(4), QStringLiteral("28.02.1900 00:00:00"));
        QCOMPARE(wert(6), QStringLiteral("9999-12-31T23:59:59"));
        QVERIFY(z[7].toArray()[0].isNull());
        QCOMPARE(z[7].toArray()[1].toDouble(), 7.0);
    }

    void leereTabelleUndNull()
    {
        TempDir dir;
        const QString leer = dir.file(QStringLiteral("leer.xlsx"));
        QVERIFY(schreibe(leer, { feld("A", dbText, 10), feld("B", dbLong) }, {}).isEmpty());
        {
            XlsxWorkbook mappe(leer);
            auto t = mappe.openTable(QStringLiteral("Daten"));
            QCOMPARE(feldnamen(*t), QStringList({ "A", "B" }));
            QCOMPARE(alleZeilen(*t).size(), 0);
        }

        // Cells after a Null keep their columns, and a row of Nulls keeps its place.
        const QString luecken = dir.file(QStringLiteral("luecken.xlsx"));
        const IsamFields felder = { feld("A", dbText, 10), feld("B", dbLong), feld("C", dbText, 10),
            feld("D", dbBoolean) };
        schreibe(luecken, felder,
            { { QVariant(), 1, QStringLiteral("c1"), true },
                { QVariant(), QVariant(), QVariant(), QVariant() },
                { QStringLiteral("a3"), QVariant(), QVariant(), false },
                { QStringLiteral("a4"), 4, QVariant(), QVariant() } });
        // Whether a reader shows a row without any value is its own choice; openpyxl does.
        QVector<IsamRow> z;
        for (const IsamRow& r : zurueck(luecken))
            if (std::any_of(r.cbegin(), r.cend(), [](const QVariant& v) { return v.isValid(); }))
                z.append(r);
        QCOMPARE(z.size(), 3);
        QVERIFY(!z[0][0].isValid());
        QCOMPARE(z[0][1].toDouble(), 1.0);
        QCOMPARE(z[0][2].toString(), QStringLiteral("c1"));
        QCOMPARE(z[0][3], QVariant(true));
        QCOMPARE(z[1][0].toString(), QStringLiteral("a3"));
        QVERIFY(!z[1][1].isValid());
        QCOMPARE(z[1][3], QVariant(false));
        QCOMPARE(z[2][1].toDouble(), 4.0);

        const QJsonObject o = mitOpenpyxl(luecken);
        if (o.isEmpty())
            QSKIP("python3-openpyxl fehlt");
        const QJsonArray p = o.value(QStringLiteral("Daten")).toArray();
        QCOMPARE(p.size(), 5);
        QCOMPARE(p[1].toArray(), QJsonArray({ QJsonValue(), 1, "c1", true }));
        QCOMPARE(
            p[2].toArray(), QJsonArray({ QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue() }));
        QCOMPARE(p[3].toArray(), QJsonArray({ "a3", QJsonValue(), QJsonValue(), false }));
        QCOMPARE(p[4].toArray(), QJsonArray({ "a4", 4, QJsonValue(), QJsonValue() }));
        const QJsonObject l = mitOpenpyxl(leer);
        QCOMPARE(
            l.value(QStringLiteral("Daten")).toArray(), QJsonArray({ QJsonArray({ "A", "B" }) }));
    }

    void openpyxlLiestTexte()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("texte.xlsx"));
        const QStringList texte
            = { QStringLiteral("a & b < c > d \"e\""), QStringLiteral("eins\r\nzwei"),
                  QStringLiteral("  innen  "), Emoji, QStringLiteral("Ærø\tß") };
        QVector<IsamRow> zeilen;
        for (const QString& t : texte)
            zeilen.append({ t });
        schreibe(pfad, { feld("Text & <Titel>", dbMemo) }, zeilen);
        const QJsonObject o = mitOpenpyxl(pfad);
        if (o.isEmpty())
            QSKIP("python3-openpyxl fehlt");
        const QJsonArray z = o.value(QStringLiteral("Daten")).toArray();
        QCOMPARE(z.size(), texte.size() + 1);
        QCOMPARE(z[0].toArray()[0].toString(), QStringLiteral("Text & <Titel>"));
        for (int i = 0; i < texte.size(); ++i)
            QCOMPARE(z[i + 1].toArray()[0].toString(), texte[i]);
    }

    void mehrereBlaetterEinerMappe()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("zwei.xlsx"));
        {
            XlsxWorkbook mappe(pfad);
            auto a = mappe.createTable(QStringLiteral("Kunden & Co"), { feld("Name", dbText, 20) });
            auto b = mappe.createTable(QStringLiteral("Orte"), { feld("Ort", dbText, 20) });
            // The same name again, in other letters, is no second sheet.
            QVERIFY_THROWS_EXCEPTION(
                IsamError, mappe.createTable(QStringLiteral("ORTE"), { feld("X", dbText, 5) }));
            for (int i = 0; i < 3000; ++i) {
                a->append({ QStringLiteral("Kunde %1").arg(i) });
                b->append({ QStringLiteral("Ort %1").arg(i) });
            }
            b->flush();
            QVERIFY_THROWS_EXCEPTION(IsamError, a->append({ QStringLiteral("zu spät") }));
        }
        XlsxWorkbook mappe(pfad);
        QCOMPARE(mappe.tableNames(), QStringList({ "Kunden & Co", "Orte" }));
        const auto kunden = zurueck(pfad, QStringLiteral("Kunden & Co"));
        const auto orte = zurueck(pfad, QStringLiteral("Orte"));
        QCOMPARE(kunden.size(), 3000);
        QCOMPARE(orte.size(), 3000);
        QCOMPARE(kunden[2999][0].toString(), QStringLiteral("Kunde 2999"));
        QCOMPARE(orte[0][0].toString(), QStringLiteral("Ort 0"));

        // Every part's check sum and size agree between its header and the directory.
        int fehler = 0;
        zip_t* zip
            = zip_open(QFile::encodeName(pfad).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &fehler);
        QVERIFY2(zip, qPrintable(QString::number(fehler)));
        QCOMPARE(zip_get_num_entries(zip, 0), 7);
        zip_discard(zip);
        const QJsonObject o = mitOpenpyxl(pfad);
        if (o.isEmpty())
            QSKIP("python3-openpyxl fehlt");
        QCOMPARE(o.value(QStringLiteral("Orte")).toArray().size(), 3001);
        QCOMPARE(o.value(QStringLiteral("Kunden & Co")).toArray()[3000].toArray()[0].toString(),
            QStringLiteral("Kunde 2999"));
    }

    void ordnerFehlt()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("fehlt/mappe.xlsx"));
        XlsxWorkbook mappe(pfad);
        try {
            mappe.createTable(QStringLiteral("A"), { feld("A", dbText, 5) });
            QFAIL("kein Fehler");
        } catch (const IsamError& e) {
            QVERIFY(e.description().contains(QDir::toNativeSeparators(pfad)));
        }
    }
};

QTEST_GUILESS_MAIN(TestXlsxSchreiben)
#include "tst_xlsxschreiben.moc"
