#include "IsamTestHelfer.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/XlsWorkbook.h"

#include <QtEndian>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

QByteArray u16(int v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(quint16(v), b.data());
    return b;
}

QByteArray u32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

QByteArray f64(double v)
{
    QByteArray b(8, '\0');
    qToLittleEndian<double>(v, b.data());
    return b;
}

QByteArray rec(int id, const QByteArray& daten)
{
    return u16(id) + u16(int(daten.size())) + daten;
}

QByteArray zelle(int zeile, int spalte, int xf = 0)
{
    return u16(zeile) + u16(spalte) + u16(xf);
}

// A compact string of the 1997 format: 8-bit characters.
QByteArray text8(const QByteArray& latin1)
{
    return u16(int(latin1.size())) + QByteArray(1, '\0') + latin1;
}

QByteArray formel(int zeile, int spalte, const QByteArray& ergebnis, int xf = 0)
{
    return rec(0x0006, zelle(zeile, spalte, xf) + ergebnis + u16(0) + u32(0) + u16(0));
}

QByteArray sonderergebnis(int art, int wert = 0)
{
    return QByteArray(1, char(art)) + QByteArray(1, '\0') + QByteArray(1, char(wert))
        + QByteArray(3, '\0') + QByteArray("\xFF\xFF", 2);
}

/// A workbook stream of the 1997 format with one sheet "Daten": the shared strings end in one
/// whose characters go on in a CONTINUE record, there stored two bytes a character.
QByteArray biff8(int sstIndex = 2)
{
    const QByteArray bof = u16(0x0600) + u16(0x0005) + QByteArray(12, '\0');
    const QByteArray sheetBof = u16(0x0600) + u16(0x0010) + QByteArray(12, '\0');
    QByteArray sst = u32(3) + u32(3) + text8("Name") + text8("Wert");
    // "Grüße": "Gr" in this record, "üße" in UTF-16 in the next.
    sst += u16(5) + QByteArray(1, '\0') + "Gr";
    QByteArray fortsetzung(1, '\x01');
    for (char16_t c : u"üße")
        fortsetzung += u16(c);
    const QByteArray format = u16(164) + u16(10) + QByteArray(1, '\0') + "dd.mm.yyyy";
    const QByteArray xfs = rec(0x00E0, u16(0) + u16(0) + QByteArray(16, '\0'))
        + rec(0x00E0, u16(0) + u16(164) + QByteArray(16, '\0'));
    const QByteArray name = QByteArray(1, char(5)) + QByteArray(1, '\0') + "Daten";
    QByteArray globalsOhneBlatt = rec(0x0809, bof) + rec(0x0042, u16(1200)) + rec(0x041E, format)
        + xfs + rec(0x00FC, sst) + rec(0x003C, fortsetzung) + rec(0x000A, {});
    const int blattStart = int(globalsOhneBlatt.size()) + 4 + 6 + int(name.size());
    QByteArray globals = rec(0x0809, bof) + rec(0x0085, u32(blattStart) + u16(0) + name)
        + globalsOhneBlatt.mid(4 + bof.size());
    QByteArray blatt = rec(0x0809, sheetBof);
    blatt += rec(0x00FD, zelle(0, 0) + u32(0)) + rec(0x00FD, zelle(0, 1) + u32(1));
    blatt += rec(0x00FD, zelle(1, 0) + u32(quint32(sstIndex)));
    blatt += formel(1, 1, sonderergebnis(0)) + rec(0x04BC, QByteArray(8, '\0'))
        + rec(0x0207, text8("aus Formel"));
    blatt += rec(0x0204, zelle(2, 0) + text8("wahr"))
        + formel(2, 1, sonderergebnis(1, 1)); // truth value as text column
    blatt += rec(0x0204, zelle(3, 0) + text8("Fehler")) + formel(3, 1, sonderergebnis(2, 7));
    // RK: a day number under the date format; MULRK: 123.45 (an integer divided by 100) and
    // 1.5 (the top half of a double).
    blatt += rec(0x027E, zelle(4, 0, 1) + u32((44197u << 2) | 2));
    blatt += rec(0x00BD,
        u16(5) + u16(0) + u16(0) + u32((12345u << 2) | 3) + u16(0) + u32(0x3FF80000u) + u16(1));
    blatt += rec(0x0203, zelle(6, 1) + f64(-2.25));
    blatt += rec(0x0201, zelle(7, 0)); // blank cells make no row
    blatt += rec(0x000A, {});
    return globals + blatt;
}

/// The stream in a compound file of 512-byte sectors: sector 0 the allocation table, 1 the
/// directory, then the stream itself (or, below 4096 bytes, the mini allocation table and
/// the mini stream).
QByteArray container(QByteArray stream, const QString& name = QStringLiteral("Workbook"))
{
    const bool mini = stream.size() < 4096;
    QByteArray kopf = QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(16, '\0') + u16(0x3E)
        + u16(3) + u16(0xFFFE) + u16(9) + u16(6) + QByteArray(6, '\0') + u32(0) + u32(1) + u32(1)
        + u32(0) + u32(4096) + u32(mini ? 2 : 0xFFFFFFFE) + u32(mini ? 1 : 0) + u32(0xFFFFFFFE)
        + u32(0) + u32(0);
    for (int i = 1; i < 109; ++i)
        kopf += u32(0xFFFFFFFF);
    QList<quint32> fat = { 0xFFFFFFFD, 0xFFFFFFFE };
    QByteArray daten;
    QByteArray miniFat;
    quint32 rootStart = 0xFFFFFFFE;
    quint32 rootSize = 0;
    quint32 start = 0;
    if (mini) {
        const int miniSektoren = int((stream.size() + 63) / 64);
        for (int i = 0; i < miniSektoren; ++i)
            miniFat += u32(i + 1 < miniSektoren ? quint32(i + 1) : 0xFFFFFFFE);
        miniFat.append(QByteArray(512 - miniFat.size(), '\xFF'));
        fat.append(0xFFFFFFFE); // sector 2: mini allocation table
        stream.append(QByteArray(miniSektoren * 64 - stream.size(), '\0'));
        rootStart = 3;
        rootSize = quint32(stream.size());
    } else {
        start = 2;
    }
    const int erster = int(fat.size());
    const int sektoren = int((stream.size() + 511) / 512);
    for (int i = 0; i < sektoren; ++i)
        fat.append(i + 1 < sektoren ? quint32(erster + i + 1) : 0xFFFFFFFE);
    stream.append(QByteArray(sektoren * 512 - stream.size(), '\0'));
    QByteArray fatSektor;
    for (quint32 v : fat)
        fatSektor += u32(v);
    fatSektor.append(QByteArray(512 - fatSektor.size(), '\xFF'));
    const auto eintrag = [](const QString& n, int typ, quint32 s, quint32 groesse, quint32 kind) {
        QByteArray e(reinterpret_cast<const char*>(n.utf16()), n.size() * 2);
        e.append(QByteArray(64 - e.size(), '\0'));
        e += u16(int(n.size() + 1) * 2) + QByteArray(1, char(typ)) + QByteArray(1, '\1')
            + u32(0xFFFFFFFF) + u32(0xFFFFFFFF) + u32(kind) + QByteArray(36, '\0') + u32(s)
            + u32(groesse) + u32(0);
        return e;
    };
    QByteArray verzeichnis = eintrag(QStringLiteral("Root Entry"), 5, rootStart, rootSize, 1)
        + eintrag(name, 2, start, quint32(mini ? rootSize : stream.size()), 0xFFFFFFFF);
    verzeichnis.append(QByteArray(512 - verzeichnis.size(), '\0'));
    daten = mini ? miniFat + stream : stream;
    return kopf + fatSektor + verzeichnis + daten;
}

QString schreibe(const TempDir& dir, const QByteArray& daten, const QString& name = "t.xls")
{
    const QString pfad = dir.file(name);
    QFile f(pfad);
    f.open(QIODevice::WriteOnly);
    f.write(daten);
    return pfad;
}

// 0 when the workbook opens and every value of every sheet reads; otherwise the error number,
// after checking that the message names the file.
int lies(const QString& pfad)
{
    try {
        XlsWorkbook mappe(pfad);
        for (const QString& blatt : mappe.tableNames())
            alleZeilen(*mappe.openTable(blatt));
        return 0;
    } catch (const IsamError& e) {
        if (!e.description().contains(QDir::toNativeSeparators(pfad)))
            return -1;
        return e.number();
    }
}

QByteArray testdatei(const QString& relativ)
{
    QFile f(testdaten(QStringLiteral("xls/") + relativ));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class TestXlsBeschaedigt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void werteDerZellarten_data()
    {
        QTest::addColumn<bool>("imContainer");
        QTest::newRow("Datenstrom allein") << false;
        QTest::newRow("im Container, Ministrom") << true;
    }

    void werteDerZellarten()
    {
        QFETCH(bool, imContainer);
        TempDir dir;
        const QString pfad = schreibe(dir, imContainer ? container(biff8()) : biff8());
        XlsWorkbook mappe(pfad);
        QCOMPARE(mappe.biffVersion(), 8);
        QCOMPARE(mappe.tableNames(), QStringList({ "Daten" }));
        auto t = mappe.openTable(QStringLiteral("daten"));
        QCOMPARE(feldnamen(*t), QStringList({ "Name", "Wert" }));
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 6);
        QCOMPARE(z[0][0].toString(), QStringLiteral("Grüße"));
        QCOMPARE(z[0][1].toString(), QStringLiteral("aus Formel"));
        QCOMPARE(z[1][1].toString(), QStringLiteral("WAHR"));
        QVERIFY(!z[2][1].isValid()); // #DIV/0!
        // The first column mixes texts, a date (its cell format is dd.mm.yyyy) and numbers.
        QCOMPARE(z[3][0].toString(), QStringLiteral("01.01.2021"));
        QCOMPARE(z[4][0].toString(), QStringLiteral("123.45"));
        QCOMPARE(z[4][1].toString(), QStringLiteral("1.5"));
        QCOMPARE(z[5][1].toString(), QStringLiteral("-2.25"));
        QCOMPARE(t->rowCount(), 6);
    }

    void grosserDatenstromImContainer()
    {
        // A stream of 4096 bytes or more lies in the regular sectors, not the mini stream.
        TempDir dir;
        QByteArray s = biff8();
        s.append(QByteArray(5000, '\0'));
        const QString pfad = schreibe(dir, container(s));
        XlsWorkbook mappe(pfad);
        QCOMPARE(alleZeilen(*mappe.openTable(QStringLiteral("Daten"))).size(), 6);
    }

    void alteFormatohneContainer()
    {
        // BIFF2: one worksheet named after the file, 1-byte text lengths, INTEGER cells and a
        // formula whose text result follows in a STRING record.
        const QByteArray attr(3, '\0');
        QByteArray s = rec(0x0009, u16(2) + u16(0x0010));
        s += rec(0x0042, u16(0x8000)); // Mac Roman
        s += rec(0x0004, u16(0) + u16(0) + attr + QByteArray(1, char(4)) + "Kopf");
        s += rec(0x0004, u16(1) + u16(0) + attr + QByteArray(1, char(3)) + "Gr\x9F");
        s += rec(0x0002, u16(2) + u16(0) + attr + u16(77));
        s += rec(0x0006,
            u16(3) + u16(0) + attr + sonderergebnis(0) + QByteArray(1, '\0') + QByteArray(1, '\0'));
        s += rec(0x0007, QByteArray(1, char(2)) + "ok");
        s += rec(0x000A, {});
        TempDir dir;
        const QString pfad = schreibe(dir, s, QStringLiteral("Alt.xls"));
        XlsWorkbook mappe(pfad);
        QCOMPARE(mappe.biffVersion(), 2);
        QCOMPARE(mappe.tableNames(), QStringList({ "Alt" }));
        const auto z = alleZeilen(*mappe.openTable(QStringLiteral("Alt")));
        QCOMPARE(z.size(), 3);
        QCOMPARE(z[0][0].toString(), QStringLiteral("Grü"));
        QCOMPARE(z[1][0].toString(), QStringLiteral("77"));
        QCOMPARE(z[2][0].toString(), QStringLiteral("ok"));
    }

    void beschaedigteArbeitsmappen_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<QString>("grund");
        const QByteArray gut = biff8();
        const QByteArray imContainer = container(gut);
        QTest::newRow("leer") << QByteArray() << "die Datei ist leer";
        QTest::newRow("kein Excel") << QByteArray("PK\x03\x04 kein Excel") << "kein Anfang";
        QTest::newRow("Eintrag abgeschnitten") << gut.left(gut.size() - 3) << "endet mitten";
        QTest::newRow("Blatt ohne Ende") << gut.left(gut.size() - 4) << "endet vorzeitig";
        QTest::newRow("Textverweis ausserhalb") << biff8(99) << "fehlenden Text";
        QByteArray zelle = gut;
        // The first LABELSST's column (the sheet's BOF is 20 bytes before it).
        const qsizetype blatt = gut.lastIndexOf(QByteArray::fromHex("0908100000061000"));
        qToLittleEndian<quint16>(300, zelle.data() + blatt + 20 + 6);
        QTest::newRow("Spalte ausserhalb") << zelle << "außerhalb des Tabellenblatts";
        QByteArray blattVerweis = gut;
        qToLittleEndian<quint32>(7, blattVerweis.data() + 20 + 4);
        QTest::newRow("Blattverweis falsch") << blattVerweis << "nicht an der angegebenen Stelle";
        QTest::newRow("Container abgeschnitten")
            << imContainer.left(512 * 3 + 10) << "außerhalb der Datei";
        QByteArray kreis = imContainer;
        // The mini allocation table's first entry points at itself.
        qToLittleEndian<quint32>(0, kreis.data() + 512 * 3);
        QTest::newRow("Ministrom im Kreis") << kreis << "Zyklus";
        QByteArray fatKreis = imContainer;
        // The directory's sector names itself as the next one.
        qToLittleEndian<quint32>(1, fatKreis.data() + 512 + 4);
        QTest::newRow("Verzeichnis im Kreis") << fatKreis << "Zyklus";
        QByteArray fatWeit = imContainer;
        qToLittleEndian<quint32>(0x00FFFFFF, fatWeit.data() + 512 + 4);
        QTest::newRow("Kette ausserhalb") << fatWeit << "unterbrochen";
        QByteArray sektorGroesse = imContainer;
        sektorGroesse[0x1E] = 20;
        QTest::newRow("Sektorgrösse") << sektorGroesse << "Sektorgröße";
        QTest::newRow("ohne Arbeitsmappe")
            << container(gut, QStringLiteral("Andere")) << "keine Arbeitsmappe";
    }

    void beschaedigteArbeitsmappen()
    {
        QFETCH(QByteArray, daten);
        QFETCH(QString, grund);
        TempDir dir;
        const QString pfad = schreibe(dir, daten);
        try {
            XlsWorkbook mappe(pfad);
            for (const QString& blatt : mappe.tableNames())
                alleZeilen(*mappe.openTable(blatt));
            QFAIL("gelesen");
        } catch (const IsamError& e) {
            QCOMPARE(e.number(), int(isamerr::NotADatabase));
            QVERIFY2(e.description().contains(QDir::toNativeSeparators(pfad)),
                qPrintable(e.description()));
            QVERIFY2(e.description().contains(grund), qPrintable(e.description()));
        }
    }

    void kennwortgeschuetzt()
    {
        QByteArray s = biff8();
        // FILEPASS right after the first BOF.
        s.insert(20, rec(0x002F, u16(0) + QByteArray(52, '\0')));
        TempDir dir;
        const QString pfad = schreibe(dir, s);
        QVERIFY_THROWS_EXCEPTION(IsamError, XlsWorkbook { pfad });
        try {
            XlsWorkbook mappe(pfad);
        } catch (const IsamError& e) {
            QCOMPARE(e.number(), int(isamerr::PasswordInvalid));
            QVERIFY(e.description().contains(QStringLiteral("Kennwort")));
        }
    }

    void abgeschnitteneTestdateien_data()
    {
        QTest::addColumn<QString>("datei");
        for (const char* d : { "ExcelDataReader/as3xls_BIFF2.xls", "apache_poi/testEXCEL_4.xls",
                 "ExcelDataReader/as3xls_BIFF5.xls", "python-excel_xlrd/Formate.xls",
                 "tidyverse_readxl/types.xls" })
            QTest::newRow(d) << QString::fromLatin1(d);
    }

    void abgeschnitteneTestdateien()
    {
        // Cut anywhere, a real workbook either still reads or is refused naming the file.
        QFETCH(QString, datei);
        const QByteArray ganz = testdatei(datei);
        if (ganz.isEmpty())
            QSKIP("Testdaten fehlen");
        TempDir dir;
        for (int teil = 1; teil < 16; ++teil) {
            const QString pfad = schreibe(dir, ganz.left(ganz.size() * teil / 16));
            const int fehler = lies(pfad);
            QVERIFY2(fehler == 0 || fehler == isamerr::NotADatabase,
                qPrintable(QStringLiteral("%1/16: %2").arg(teil).arg(fehler)));
        }
        QCOMPARE(lies(schreibe(dir, ganz.left(ganz.size() / 2))), int(isamerr::NotADatabase));
    }
};

QTEST_GUILESS_MAIN(TestXlsBeschaedigt)
#include "tst_xlsbeschaedigt.moc"
