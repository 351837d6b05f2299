#include "IsamTestHelfer.h"
#include "engine/isam/DbfTable.h"
#include "engine/isam/IsamError.h"
#include "engine/isam/MdbDatabase.h"
#include "engine/isam/ParadoxTable.h"
#include "engine/isam/XlsWorkbook.h"
#include "engine/isam/XlsxWorkbook.h"

#include <QtEndian>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

namespace {

QByteArray lies(const QString& pfad)
{
    QFile f(pfad);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void schreibe(const QString& pfad, const QByteArray& daten)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(daten);
}

// Opens a file of the format and reads every value; returns the error, or 0 and the notes.
int oeffneUndLies(const QString& format, const QString& pfad, QStringList* hinweise, QString* text)
{
    try {
        std::unique_ptr<IsamDatabase> db;
        std::unique_ptr<IsamTable> t;
        if (format == QLatin1String("dbf"))
            t = DbfTable::open(pfad);
        else if (format == QLatin1String("db"))
            t = ParadoxTable::open(pfad);
        else if (format == QLatin1String("xls"))
            db = std::make_unique<XlsWorkbook>(pfad);
        else if (format == QLatin1String("xlsx"))
            db = std::make_unique<XlsxWorkbook>(pfad);
        else
            db = std::make_unique<MdbDatabase>(pfad);
        if (db)
            for (const QString& name : db->tableNames())
                alleZeilen(*db->openTable(name));
        if (t) {
            alleZeilen(*t);
            *hinweise = t->notices();
        }
        return 0;
    } catch (const IsamError& e) {
        *text = e.description();
        return e.number();
    }
}

// A small table of each format, written by us, to damage afterwards.
QString vorlage(const QString& format, const TempDir& dir)
{
    const IsamFields felder
        = { { QStringLiteral("NAME"), dbText, 10 }, { QStringLiteral("NOTIZ"), dbMemo, 0 } };
    if (format == QLatin1String("dbf")) {
        const QString p = dir.file(QStringLiteral("T.DBF"));
        auto t = DbfTable::create(p, felder, DbfFlavor::Dbase3);
        for (int i = 0; i < 20; ++i)
            t->append({ QStringLiteral("Zeile %1").arg(i), QStringLiteral("Memo %1").arg(i) });
        t->flush();
        return p;
    }
    if (format == QLatin1String("db")) {
        const QString p = dir.file(QStringLiteral("T.DB"));
        auto t = ParadoxTable::create(p, { felder[0] }, ParadoxVersion::V5);
        for (int i = 0; i < 20; ++i)
            t->append({ QStringLiteral("Zeile %1").arg(i) });
        t->flush();
        return p;
    }
    if (format == QLatin1String("xlsx")) {
        const QString p = dir.file(QStringLiteral("T.xlsx"));
        XlsxWorkbook mappe(p);
        auto t = mappe.createTable(QStringLiteral("Blatt"), felder);
        for (int i = 0; i < 20; ++i)
            t->append({ QStringLiteral("Zeile %1").arg(i), QStringLiteral("Memo") });
        t->flush();
        return p;
    }
    // .xls and .mdb: no writer; a file with the right signature and nothing sound behind it.
    const QString p = dir.file(
        format == QLatin1String("xls") ? QStringLiteral("T.xls") : QStringLiteral("T.mdb"));
    QByteArray kopf = format == QLatin1String("xls")
        ? QByteArray::fromHex("D0CF11E0A1B11AE1")
        : QByteArray::fromHex("00010000") + "Standard Jet DB";
    kopf.append(QByteArray(8192 - kopf.size(), '\0'));
    schreibe(p, kopf);
    return p;
}

} // namespace

class TestFehlerhaft : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fehlerhafteDateien_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("schaden");
        QTest::addColumn<int>("nummer"); // 0: opens, with a note for the user
        QTest::addColumn<QString>("teiltext");
        for (const char* f : { "dbf", "db", "xls", "xlsx", "mdb" }) {
            QTest::addRow("%s leer", f) << f << "leer" << 3343 << "ist leer";
            QTest::addRow("%s abgeschnitten", f) << f << "abgeschnitten" << 3343 << "";
            QTest::addRow("%s unsinn", f) << f << "unsinn" << 3343 << "";
        }
        QTest::newRow("dbf falsche Version")
            << "dbf"
            << "version" << 3343 << "unbekannte dBASE-Version 0x07";
        QTest::newRow("dbf Kopf zu lang") << "dbf"
                                          << "kopflaenge" << 3343 << "Kopflänge 60000";
        QTest::newRow("dbf Sätze fehlen") << "dbf"
                                          << "saetze" << 0 << "ist kürzer als ihr Kopf angibt";
        QTest::newRow("dbf Memo ausserhalb") << "dbf"
                                             << "memoverweis" << 0 << "keinen gültigen Block 99999";
        QTest::newRow("dbf ohne Codeseite") << "dbf"
                                            << "codeseite" << 0 << "nennt keine Codeseite";
        QTest::newRow("db falsche Version") << "db"
                                            << "version" << 3343 << "unbekannte Paradox-Version 99";
        QTest::newRow("db Kopf zu lang") << "db"
                                         << "kopflaenge" << 3343 << "Kopflänge 65535";
        QTest::newRow("db Blockkette im Kreis") << "db"
                                                << "blockkette" << 3343 << "Kette der Datenblöcke";
        // Found by fuzzing: pxlib searched for minutes for records no block holds.
        QTest::newRow("db mehr Sätze als Blöcke")
            << "db"
            << "saetzezahl" << 3343 << "mehr Datensätze angegeben, als die Datenblöcke fassen";
        QTest::newRow("mdb falsche Version") << "mdb"
                                             << "version" << 3343 << "unbekannte Jet-Version 7";
    }

    void fehlerhafteDateien()
    {
        QFETCH(QString, format);
        QFETCH(QString, schaden);
        QFETCH(int, nummer);
        QFETCH(QString, teiltext);
        TempDir dir;
        const QString pfad = vorlage(format, dir);
        QByteArray d = lies(pfad);
        if (schaden == QLatin1String("leer")) {
            d.clear();
        } else if (schaden == QLatin1String("abgeschnitten")) {
            d.truncate(format == QLatin1String("dbf")
                    ? 20
                    : (format == QLatin1String("xlsx") ? d.size() / 2 : 300));
        } else if (schaden == QLatin1String("unsinn")) {
            for (qsizetype i = 0; i < d.size(); ++i)
                d[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
        } else if (schaden == QLatin1String("version")) {
            if (format == QLatin1String("dbf"))
                d[0] = 0x07;
            else if (format == QLatin1String("db"))
                d[0x39] = 99;
            else
                d[0x14] = 7;
        } else if (schaden == QLatin1String("kopflaenge")) {
            qToLittleEndian<quint16>(format == QLatin1String("dbf") ? 60000 : 65535,
                d.data() + (format == QLatin1String("dbf") ? 8 : 2));
        } else if (schaden == QLatin1String("saetze")) {
            d.truncate(d.size() - 100);
        } else if (schaden == QLatin1String("memoverweis")) {
            // The first record's memo field (after the delete flag and NAME) points past the end.
            const int kopf = qFromLittleEndian<quint16>(d.constData() + 8);
            d.replace(kopf + 11, 10, QByteArray("     99999"));
        } else if (schaden == QLatin1String("saetzezahl")) {
            qToLittleEndian<quint32>(16387, d.data() + 6);
        } else if (schaden == QLatin1String("codeseite")) {
            d[29] = 0;
        } else if (schaden == QLatin1String("blockkette")) {
            // The first data block names itself as the next one.
            const int kopf = qFromLittleEndian<quint16>(d.constData() + 2);
            qToLittleEndian<quint16>(
                qFromLittleEndian<quint16>(d.constData() + 0x0E), d.data() + kopf);
        }
        schreibe(pfad, d);
        QStringList hinweise;
        QString text;
        const int fehler = oeffneUndLies(format, pfad, &hinweise, &text);
        QCOMPARE(fehler, nummer);
        const QString meldung = fehler ? text : hinweise.join(QLatin1Char('\n'));
        // The message names the file (for a memo pointer: the memo file beside the table).
        QVERIFY2(meldung.contains(QDir::toNativeSeparators(pfad).chopped(1)), qPrintable(meldung));
        QVERIFY2(meldung.contains(teiltext), qPrintable(meldung));
    }

    void fehlendeDatei()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("gibtsnicht.dbf"));
        try {
            DbfTable::open(pfad);
            QFAIL("geöffnet");
        } catch (const IsamError& e) {
            QCOMPARE(e.number(), 3024);
            QCOMPARE(e.description(),
                QStringLiteral("Die Datei '%1' wurde nicht gefunden.")
                    .arg(QDir::toNativeSeparators(pfad)));
        }
        QVERIFY_THROWS_EXCEPTION(IsamError, ParadoxTable::open(dir.file(QStringLiteral("x.db"))));
        QVERIFY_THROWS_EXCEPTION(IsamError, MdbDatabase(dir.file(QStringLiteral("x.mdb"))));
        QVERIFY_THROWS_EXCEPTION(IsamError, XlsWorkbook(dir.file(QStringLiteral("x.xls"))));
    }
};

QTEST_GUILESS_MAIN(TestFehlerhaft)
#include "tst_fehlerhaft.moc"
