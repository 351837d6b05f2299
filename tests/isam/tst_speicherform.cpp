// The values foreign tables hand to SQLite without a QVariant (storedValue) must be exactly the
// ones the general path gives (value() converted to storage form): for every table of the
// shared test data, for tables we write, and for a hand-written sheet with the XML a lean
// reader can trip over.

#include "Handmappe.h"
#include "IsamTestHelfer.h"
#include "engine/core/DataType.h"
#include "engine/isam/DbfFolder.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsWorkbook.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QDirIterator>
#include <ctime>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

/// What a sink received, as text that names the kind.
class Aufzeichnung : public StorageSink {
public:
    void null() override { wert = QByteArrayLiteral("NULL"); }
    void integer(qint64 v) override { wert = "I:" + QByteArray::number(v); }
    void real(double v) override { wert = "R:" + QByteArray::number(v, 'g', 17); }
    void text(const char* t, qsizetype n) override { wert = "T:" + QByteArray(t, n); }
    void blob(const char* d, qsizetype n) override { wert = "B:" + QByteArray(d, n).toHex(); }
    QByteArray wert;
};

QByteArray direkt(const IsamCursor& c, int spalte, int typ)
{
    Aufzeichnung a;
    c.storedValue(spalte, typ, a);
    return a.wert;
}

QByteArray allgemein(const IsamCursor& c, int spalte, int typ)
{
    Aufzeichnung a;
    putStored(datatype::toStorage(c.value(spalte), typ), a);
    return a.wert;
}

/// Compares both ways for every value of the table (the first rows of long ones); returns how
/// many values were compared.
qint64 vergleiche(IsamTable& t, const QString& wo, qint64 hoechstens = 3000)
{
    qint64 n = 0;
    auto c = t.openCursor();
    for (qint64 zeile = 0; zeile < hoechstens && c->next(); ++zeile) {
        for (int i = 0; i < t.fields().size(); ++i) {
            const int typ = t.fields()[i].type;
            const QByteArray a = direkt(*c, i, typ);
            const QByteArray b = allgemein(*c, i, typ);
            if (a != b)
                qFatal("%s, Zeile %lld, Feld %s: %s statt %s", qPrintable(wo), c->rowId(),
                    qPrintable(t.fields()[i].name), a.constData(), b.constData());
            ++n;
        }
    }
    return n;
}

std::unique_ptr<IsamDatabase> oeffne(const QString& pfad)
{
    const QString endung = QFileInfo(pfad).suffix().toLower();
    if (endung == QLatin1String("xlsx"))
        return std::make_unique<XlsxWorkbook>(pfad);
    if (endung == QLatin1String("xls"))
        return std::make_unique<XlsWorkbook>(pfad);
    return std::make_unique<DbfFolder>(QFileInfo(pfad).absolutePath(), DbfFlavor::Dbase4);
}

} // namespace

class TestSpeicherform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Both ways agree in any zone but the clock's gaps; those are tested in the engine.
        qputenv("TZ", "UTC");
        tzset();
    }

    void testdatenGleichUeberBeideWege()
    {
        const QString wurzel = testdaten(QString());
        if (!QFileInfo::exists(wurzel + QStringLiteral("EXPECTED.md")))
            QSKIP("Testdaten fehlen");
        qint64 werte = 0;
        int tabellen = 0;
        for (const QString ordner : { QStringLiteral("dbf"), QStringLiteral("xls") }) {
            QDirIterator it(wurzel + ordner,
                { QStringLiteral("*.dbf"), QStringLiteral("*.DBF"), QStringLiteral("*.xlsx"),
                    QStringLiteral("*.xls") },
                QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString pfad = it.next();
                try {
                    auto db = oeffne(pfad);
                    const QStringList namen = pfad.endsWith(QLatin1String("xls"))
                            || pfad.endsWith(QLatin1String("xlsx"))
                        ? db->tableNames()
                        : QStringList { QFileInfo(pfad).completeBaseName() };
                    for (const QString& name : namen) {
                        auto t = db->openTable(name);
                        werte += vergleiche(*t, pfad + QLatin1Char(':') + name);
                        ++tabellen;
                    }
                } catch (const IsamError&) {
                    // Damaged files of the collection fail on opening; that is tested elsewhere.
                }
            }
        }
        QVERIFY2(tabellen > 40, qPrintable(QString::number(tabellen)));
        QVERIFY(werte > 10000);
    }

    void geschriebeneDbfGleich_data()
    {
        QTest::addColumn<int>("art");
        QTest::addColumn<int>("codeseite");
        QTest::newRow("dBASE IV, DOS 850") << int(DbfFlavor::Dbase4) << 850;
        QTest::newRow("dBASE III, Windows-1252") << int(DbfFlavor::Dbase3) << 1252;
        QTest::newRow("Visual FoxPro mit Null") << int(DbfFlavor::VisualFoxPro) << 1252;
    }

    void geschriebeneDbfGleich()
    {
        QFETCH(int, art);
        QFETCH(int, codeseite);
        TempDir dir;
        const IsamFields felder = { { QStringLiteral("Name"), dbText, 20 },
            { QStringLiteral("Nr"), dbLong, 4 }, { QStringLiteral("Betrag"), dbDouble, 8 },
            { QStringLiteral("Preis"), dbCurrency, 8 }, { QStringLiteral("Seit"), dbDate, 8 },
            { QStringLiteral("Aktiv"), dbBoolean, 1 }, { QStringLiteral("Notiz"), dbMemo, 0 } };
        {
            DbfFolder ordner(dir.path(), DbfFlavor(art), CodePage::fromNumber(codeseite));
            auto t = ordner.createTable(QStringLiteral("T"), felder);
            t->append({ QStringLiteral("  Größe ÄÖÜ ß"), -7, -1.25, 12.3456, tag(2024, 2, 29), true,
                QStringLiteral("Memo äö") });
            t->append({ QString(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                QVariant() });
            t->append({ QStringLiteral("€ und ©"), 2147483647, 1e14, -0.5, tag(1850, 6, 15, 8),
                false, QString() });
            t->append({ QStringLiteral("x"), 0, 0.0, 0.0, tag(2050, 1, 1, 12, 34, 56), QVariant(),
                QStringLiteral("Zeile 1\r\nZeile 2") });
            t->flush();
        }
        DbfFolder ordner(dir.path(), DbfFlavor(art));
        auto t = ordner.openTable(QStringLiteral("T"));
        QCOMPARE(vergleiche(*t, QStringLiteral("T")), qint64(4 * felder.size()));
        // The direct way keeps what the code page decodes, leading blanks included.
        auto c = t->openCursor();
        QVERIFY(c->next());
        QCOMPARE(direkt(*c, 0, dbText), QByteArray("T:  Größe ÄÖÜ ß"));
        QCOMPARE(direkt(*c, 4, dbDate), QByteArray("T:2024-02-29 00:00:00"));
        QCOMPARE(direkt(*c, 5, dbBoolean), QByteArray("I:-1"));
        // Asked for another type than the field's, the general conversion answers.
        QCOMPARE(direkt(*c, 1, dbText), QByteArray("T:-7"));
    }

    void geschriebeneMappeGleich()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("m.xlsx"));
        {
            XlsxWorkbook mappe(pfad);
            auto t = mappe.createTable(QStringLiteral("Blatt"),
                { { QStringLiteral("Text"), dbText, 255 }, { QStringLiteral("Zahl"), dbDouble, 8 },
                    { QStringLiteral("Datum"), dbDate, 8 },
                    { QStringLiteral("Ja"), dbBoolean, 1 } });
            t->append(
                { QStringLiteral("A & B <c> \"d\" 'e'"), 1.5, tag(2021, 3, 28, 2, 30), true });
            t->append({ QStringLiteral("Zeile 1\r\nZeile 2\tTab"), -0.0, tag(1900, 3, 1), false });
            t->append({ QStringLiteral("Gesicht 😀 und 中"), 1e300, tag(9999, 12, 31, 23, 59, 59),
                QVariant() });
            t->flush();
        }
        XlsxWorkbook mappe(pfad);
        auto t = mappe.openTable(QStringLiteral("Blatt"));
        QCOMPARE(vergleiche(*t, pfad), qint64(12));
        const auto zeilen = alleZeilen(*t);
        QCOMPARE(zeilen[0][0].toString(), QStringLiteral("A & B <c> \"d\" 'e'"));
        // The writer escapes the carriage return as "_x000D_"; it comes back as it went out.
        QCOMPARE(zeilen[1][0].toString(), QStringLiteral("Zeile 1\r\nZeile 2\tTab"));
        QCOMPARE(zeilen[2][0].toString(), QStringLiteral("Gesicht 😀 und 中"));
    }

    void handgeschriebenesBlatt()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("h.xlsx"));
        // Prefixed names, a comment, CDATA, character references, rich text, self-closing
        // cells, rows without numbers and cells without references.
        schreibeMappe(pfad,
            QByteArrayLiteral(
                "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                "<x:worksheet "
                "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                "<!-- <row r=\"9\"><c><v>1</v></c></row> -->"
                "<x:sheetData>\n"
                "  <x:row r=\"1\" spans=\"1:4\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c>"
                "<x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>Datum</x:t></x:is></x:c>"
                "<x:c r='C1' t='str'><x:v>Text</x:v></x:c><x:c r=\"D1\" "
                "t=\"s\"><x:v>1</x:v></x:c></x:row>\n"
                "  <x:row r=\"2\"><x:c r=\"A2\"><x:v> 42.5 </x:v></x:c><x:c r=\"B2\" "
                "s=\"1\"><x:v>44283</x:v></x:c>"
                "<x:c r=\"C2\" "
                "t=\"inlineStr\"><x:is><x:r><x:rPr><x:b/></x:rPr><x:t>fett</x:t></x:r>"
                "<x:r><x:t xml:space=\"preserve\"> &amp; &lt;mager&gt; "
                "&#228;&#x4E2D;</x:t></x:r></x:is></x:c>"
                "<x:c r=\"D2\" t=\"b\"><x:v>1</x:v></x:c></x:row>\n"
                "  <x:row><x:c r=\"A3\"><x:v>1</x:v></x:c><x:c s=\"1\"><x:v>36526.5</x:v></x:c>"
                "<x:c t=\"str\"><x:v><![CDATA[<roh> & ]]>echt</x:v></x:c><x:c "
                "t=\"b\"><x:v>0</x:v></x:c></x:row>\n"
                "  <x:row r=\"5\"><x:c r=\"A5\"><x:v/></x:c><x:c r=\"B5\" s=\"1\"/><x:c r=\"C5\" "
                "t=\"str\"><x:v>a\r\nb\xFF</x:v></x:c>"
                "<x:c r=\"D5\" t=\"e\"><x:v>#N/A</x:v></x:c></x:row>\n"
                "  <x:row r=\"6\"><x:c r=\"A6\"><x:v>7</x:v></x:c><x:c r=\"C6\" "
                "t=\"str\"><x:v>kaputt &unbekannt;</x:v></x:c></x:row>\n"
                "  <x:row r=\"7\"><x:c r=\"A7\"><x:v>8</x:v></x:c></x:row>\n"
                "</x:sheetData></x:worksheet>"));
        XlsxWorkbook mappe(pfad);
        auto t = mappe.openTable(QStringLiteral("Blatt"));
        QCOMPARE(feldnamen(*t),
            QStringList({ QStringLiteral("geteilt"), QStringLiteral("Datum"),
                QStringLiteral("Text"), QStringLiteral("zwei") }));
        QCOMPARE(t->fields()[0].type, int(dbDouble));
        QCOMPARE(t->fields()[1].type, int(dbDate));
        QCOMPARE(t->fields()[2].type, int(dbText));
        QCOMPARE(t->fields()[3].type, int(dbBoolean));
        // The sheet ends where its XML breaks: the unknown entity in row 6.
        QCOMPARE(t->rowCount(), qint64(3));
        QCOMPARE(vergleiche(*t, pfad), qint64(12));

        auto c = t->openCursor();
        QVERIFY(c->next());
        QCOMPARE(c->rowId(), qint64(2));
        QCOMPARE(direkt(*c, 0, dbDouble), QByteArray("R:42.5"));
        QCOMPARE(direkt(*c, 1, dbDate), QByteArray("T:2021-03-28 00:00:00"));
        QCOMPARE(direkt(*c, 2, dbText), QByteArray("T:fett & <mager> ä中"));
        QCOMPARE(direkt(*c, 3, dbBoolean), QByteArray("I:-1"));
        QVERIFY(c->next());
        QCOMPARE(c->rowId(), qint64(3));
        QCOMPARE(direkt(*c, 0, dbDouble), QByteArray("R:1"));
        QCOMPARE(direkt(*c, 1, dbDate), QByteArray("T:2000-01-01 12:00:00"));
        QCOMPARE(direkt(*c, 2, dbText), QByteArray("T:<roh> & echt"));
        QCOMPARE(direkt(*c, 3, dbBoolean), QByteArray("I:0"));
        QVERIFY(c->next());
        QCOMPARE(c->rowId(), qint64(5));
        QCOMPARE(direkt(*c, 0, dbDouble), QByteArray("NULL"));
        // A byte that is no UTF-8 becomes the replacement character on both ways.
        QCOMPARE(direkt(*c, 2, dbText), QByteArray("T:a\nb\xEF\xBF\xBD"));
        QCOMPARE(direkt(*c, 3, dbBoolean), QByteArray("NULL"));
        QVERIFY(!c->next());
    }

    void textlaengeZaehltWieQString()
    {
        // A text over 255 characters makes a Memo; the count must be QString's, not bytes.
        SheetCell c;
        c.kind = SheetCell::Text;
        c.utf8 = QString(200, QChar(u'ä')).toUtf8();
        QCOMPARE(c.textLength(), qsizetype(200));
        c.utf8 = QStringLiteral("😀x").toUtf8();
        QCOMPARE(c.textLength(), QStringLiteral("😀x").size());
    }
};

QTEST_GUILESS_MAIN(TestSpeicherform)
#include "tst_speicherform.moc"
