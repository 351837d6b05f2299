// A worksheet is unpacked and parsed once: the scan for the column types keeps the rows in a
// temporary file, and the cursors read them back from there. What they read must be what the
// sheet holds, whatever the scan decided late, however large a cell, and also when no
// temporary file can be made.

#include "Handmappe.h"
#include "IsamTestHelfer.h"
#include "engine/isam/SheetRowCache.h"
#include "engine/isam/XlsxWorkbook.h"

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

QByteArray blatt(const QByteArray& zeilen)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        + zeilen + "</sheetData></worksheet>";
}

QByteArray text(int zeile, const char* spalte, const QByteArray& inhalt)
{
    return "<c r=\"" + QByteArray(spalte) + QByteArray::number(zeile) + "\" t=\"inlineStr\"><is><t>"
        + inhalt + "</t></is></c>";
}

QByteArray zahl(int zeile, const char* spalte, double wert, int stil = 0)
{
    return "<c r=\"" + QByteArray(spalte) + QByteArray::number(zeile) + "\" s=\""
        + QByteArray::number(stil) + "\"><v>" + QByteArray::number(wert, 'g', 17) + "</v></c>";
}

QByteArray zeile(int nummer, const QByteArray& zellen)
{
    return "<row r=\"" + QByteArray::number(nummer) + "\">" + zellen + "</row>";
}

/// The sheet's table as SheetTable, which hands out its sources.
std::unique_ptr<SheetTable> oeffne(XlsxWorkbook& mappe)
{
    std::unique_ptr<IsamTable> t = mappe.openTable(QStringLiteral("Blatt"));
    auto* blatt = dynamic_cast<SheetTable*>(t.get());
    if (!blatt)
        return {};
    t.release();
    return std::unique_ptr<SheetTable>(blatt);
}

bool liestKopie(const SheetTable& t)
{
    std::unique_ptr<SheetSource> quelle = t.openSource();
    quelle->rewind();
    auto* kopie = dynamic_cast<SheetRowCache*>(quelle.get());
    return kopie && kopie->readsCopy();
}

QStringList kopien(const QString& ordner)
{
    return QDir(ordner).entryList({ QStringLiteral("kelvado-blatt-*") }, QDir::Files);
}

} // namespace

class TestBlattkopie : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<TempDir>();
        m_ordnerVorher = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_tmp->path().toLocal8Bit());
    }

    void cleanup()
    {
        qputenv("TMPDIR", m_ordnerVorher);
        m_tmp.reset();
    }

    void spaeteTypentscheidung()
    {
        // Thousands of numbers and dates first; the last row makes both columns text, so the
        // values read before that decision must come back as text of what the cells hold.
        QByteArray zeilen = zeile(1, text(1, "A", "Wert") + text(1, "B", "Tag"));
        for (int i = 2; i <= 4001; ++i)
            zeilen += zeile(i, zahl(i, "A", i * 0.5) + zahl(i, "B", 44283 + i % 7, 1));
        zeilen += zeile(4003, text(4003, "A", "ende") + "<c r=\"B4003\" t=\"b\"><v>1</v></c>");
        const QString pfad = m_tmp->file(QStringLiteral("spaet.xlsx"));
        schreibeMappe(pfad, blatt(zeilen));

        XlsxWorkbook mappe(pfad);
        auto t = oeffne(mappe);
        QVERIFY(t);
        QCOMPARE(t->fields()[0].type, int(dbText));
        QCOMPARE(t->fields()[1].type, int(dbText));
        QCOMPARE(t->rowCount(), qint64(4001));
        QVERIFY(liestKopie(*t));

        const auto werte = alleZeilen(*t);
        QCOMPARE(werte.size(), 4001);
        QCOMPARE(werte[0][0].toString(), QStringLiteral("1"));
        QCOMPARE(werte[0][1].toString(), QStringLiteral("30.03.2021"));
        QCOMPARE(werte[1][0].toString(), QStringLiteral("1.5"));
        QCOMPARE(werte[3999][0].toString(), QStringLiteral("2000.5"));
        QCOMPARE(werte[4000][0].toString(), QStringLiteral("ende"));
        QCOMPARE(werte[4000][1].toString(), QStringLiteral("WAHR"));

        // Going back reads the copy again from its start.
        auto c = t->openCursor();
        QVERIFY(c->seek(4003));
        QVERIFY(c->seek(3));
        QCOMPARE(c->value(0).toString(), QStringLiteral("1.5"));
        QVERIFY(!c->seek(4002));
    }

    void zellenGroesserAlsEinLeseblock()
    {
        // A text longer than the blocks the copy is read in, between ordinary rows, and shared
        // strings: one within the Basic Multilingual Plane, one beyond it with an escaped
        // carriage return.
        QByteArray lang(1536 * 1024, 'x');
        for (qsizetype i = 0; i < lang.size(); i += 1000)
            lang[i] = char('a' + (i / 1000) % 26);
        QByteArray zeilen = zeile(1, text(1, "A", "Nr") + text(1, "B", "Inhalt"));
        for (int i = 2; i <= 3000; ++i) {
            QByteArray inhalt;
            if (i == 1500)
                inhalt = text(i, "B", lang);
            else if (i % 2)
                inhalt = "<c r=\"B" + QByteArray::number(i) + "\" t=\"s\"><v>"
                    + (i % 4 == 1 ? "1" : "2") + "</v></c>";
            else
                inhalt = text(i, "B", "Zeile " + QByteArray::number(i));
            zeilen += zeile(i, zahl(i, "A", i) + inhalt);
        }
        const QString pfad = m_tmp->file(QStringLiteral("gross.xlsx"));
        schreibeMappe(pfad, blatt(zeilen),
            { QStringLiteral("nie benutzt"), QStringLiteral("Gesicht 😀_x000D_zwei"),
                QStringLiteral("Grüße & 中文") });

        XlsxWorkbook mappe(pfad);
        auto t = oeffne(mappe);
        QVERIFY(t);
        QCOMPARE(t->fields()[1].type, int(dbMemo));
        QVERIFY(liestKopie(*t));
        const auto werte = alleZeilen(*t);
        QCOMPARE(werte.size(), 2999);
        QCOMPARE(werte[0][1].toString(), QStringLiteral("Zeile 2"));
        QCOMPARE(werte[1][1].toString(), QStringLiteral("Grüße & 中文"));
        QCOMPARE(werte[3][1].toString(), QStringLiteral("Gesicht 😀\rzwei"));
        QCOMPARE(werte[1498][0].toDouble(), 1500.0);
        QCOMPARE(werte[1498][1].toString().toLatin1(), lang);
        QCOMPARE(werte[1499][1].toString(), QStringLiteral("Gesicht 😀\rzwei"));
        QCOMPARE(werte[1501][1].toString(), QStringLiteral("Grüße & 中文"));
        QCOMPARE(werte[2998][0].toDouble(), 3000.0);
        QCOMPARE(werte[2998][1].toString(), QStringLiteral("Zeile 3000"));
    }

    void kopieLebtMitDerTabelle()
    {
        const QString pfad = m_tmp->file(QStringLiteral("k.xlsx"));
        schreibeMappe(pfad, blatt(zeile(1, text(1, "A", "A")) + zeile(2, zahl(2, "A", 7))));
        {
            XlsxWorkbook mappe(pfad);
            auto t = oeffne(mappe);
            QVERIFY(t);
            // The cursors read what the scan kept, not the workbook.
            QVERIFY(QFile::remove(pfad));
            auto c = t->openCursor();
            QVERIFY(c->next());
            QCOMPARE(c->value(0).toDouble(), 7.0);
            QVERIFY(!c->next());
        }
        QVERIFY(kopien(m_tmp->path()).isEmpty());
    }

    void ohneTemporaereDateiWirdDasBlattNeuGelesen()
    {
        const QString pfad = m_tmp->file(QStringLiteral("o.xlsx"));
        schreibeMappe(pfad,
            blatt(zeile(1, text(1, "A", "A") + text(1, "B", "B"))
                + zeile(2, zahl(2, "A", 7) + "<c r=\"B2\" t=\"s\"><v>0</v></c>")
                + zeile(4, zahl(4, "A", 8))));
        qputenv("TMPDIR", m_tmp->file(QStringLiteral("gibt-es-nicht")).toLocal8Bit());
        XlsxWorkbook mappe(pfad);
        auto t = oeffne(mappe);
        QVERIFY(t);
        QVERIFY(!liestKopie(*t));
        const auto werte = alleZeilen(*t);
        QCOMPARE(werte.size(), 2);
        QCOMPARE(werte[0][0].toDouble(), 7.0);
        QCOMPARE(werte[0][1].toString(), QStringLiteral("geteilt"));
        QCOMPARE(werte[1][0].toDouble(), 8.0);
        QVERIFY(!werte[1][1].isValid());
    }

private:
    std::unique_ptr<TempDir> m_tmp;
    QByteArray m_ordnerVorher;
};

QTEST_GUILESS_MAIN(TestBlattkopie)
#include "tst_blattkopie.moc"
