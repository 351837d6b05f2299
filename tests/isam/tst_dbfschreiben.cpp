#include "FremdLeser.h"
#include "IsamTestHelfer.h"
#include "engine/isam/DbfFolder.h"
#include "engine/isam/DbfTable.h"
#include "engine/isam/IsamError.h"

#include <QJsonArray>
#include <QJsonObject>

using namespace kv::engine;
using namespace kv::engine::isam;
using namespace kv::test;

Q_DECLARE_METATYPE(kv::engine::isam::DbfFlavor)

namespace {

const IsamFields Felder = { { QStringLiteral("NAME"), dbText, 12 },
    { QStringLiteral("ZAHL"), dbLong, 4 }, { QStringLiteral("BETRAG"), dbCurrency, 8 },
    { QStringLiteral("WERT"), dbDouble, 8 }, { QStringLiteral("DATUM"), dbDate, 8 },
    { QStringLiteral("JA"), dbBoolean, 1 }, { QStringLiteral("NOTIZ"), dbMemo, 0 } };

// What dbfread, another program's reader, makes of a table: one JSON object per record.
QJsonArray dbfread(const QString& pfad, bool geloeschte = false)
{
    const QJsonDocument doc = pythonJson(
        QStringLiteral(
            "import json, sys, dbfread\n"
            "t = dbfread.DBF(sys.argv[1], char_decode_errors='strict')\n"
            "rows = t.deleted if sys.argv[2] == '1' else t\n"
            "conv = lambda v: v.isoformat() if hasattr(v, 'isoformat') else v.hex() if "
            "isinstance(v, bytes) else (float(v) if type(v).__name__ == 'Decimal' else v)\n"
            "print(json.dumps([{k: conv(v) for k, v in r.items()} for r in rows]))\n"),
        { pfad, geloeschte ? QStringLiteral("1") : QStringLiteral("0") });
    return doc.array();
}

} // namespace

class TestDbfSchreiben : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rundreise_data()
    {
        QTest::addColumn<DbfFlavor>("art");
        QTest::addColumn<int>("version");
        QTest::newRow("dBASE III") << DbfFlavor::Dbase3 << 0x83;
        QTest::newRow("dBASE IV") << DbfFlavor::Dbase4 << 0x8B;
        QTest::newRow("FoxPro 2") << DbfFlavor::FoxPro2 << 0xF5;
        QTest::newRow("FoxPro 3") << DbfFlavor::VisualFoxPro << 0x30;
    }

    void rundreise()
    {
        QFETCH(DbfFlavor, art);
        QFETCH(int, version);
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("KUNDEN.DBF"));
        QList<ValueIssue> probleme;
        {
            auto t = DbfTable::create(pfad, Felder, art);
            t->setIssueSink([&probleme](const ValueIssue& i) { probleme.append(i); });
            t->append({ QStringLiteral("Müller"), 42, 12.5, 0.125, tag(1999, 12, 31), true,
                QStringLiteral("Zeile 1\r\nZeile 2 mit ß") });
            t->append({ QStringLiteral("Ein sehr langer Name"), -7, -0.01, 1e9,
                tag(2024, 2, 29, 13, 30), false, QVariant() });
            t->append({ QStringLiteral("€uro ☺"), QVariant(), QVariant(), QVariant(), QVariant(),
                QVariant(), QString(3000, QLatin1Char('x')) });
            t->flush();
        }
        const bool vfp = art == DbfFlavor::VisualFoxPro;
        // The name is cut, the smiley has no place in Windows-1252, and only Visual FoxPro
        // keeps the time of day.
        QCOMPARE(probleme.size(), vfp ? 2 : 3);
        QCOMPARE(probleme[0].kind, IssueKind::TextCut);
        QCOMPARE(probleme[0].row, 2);
        QCOMPARE(probleme[0].target.toString(), QStringLiteral("Ein sehr lan"));
        if (!vfp) {
            QCOMPARE(probleme[1].kind, IssueKind::TimeDropped);
            QCOMPARE(probleme[1].fieldName, QStringLiteral("DATUM"));
        }
        QCOMPARE(probleme.last().kind, IssueKind::CharactersMissing);
        QCOMPARE(probleme.last().target.toString(), QStringLiteral("€uro ?"));

        auto t = DbfTable::open(pfad);
        QCOMPARE(int(t->header().version), version);
        QCOMPARE(t->codePage(), QStringLiteral("Windows-1252"));
        QVERIFY(t->notices().isEmpty());
        QCOMPARE(feldnamen(*t),
            QStringList({ "NAME", "ZAHL", "BETRAG", "WERT", "DATUM", "JA", "NOTIZ" }));
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 3);
        QCOMPARE(z[0],
            IsamRow({ QStringLiteral("Müller"), 42, 12.5, 0.125, tag(1999, 12, 31), true,
                QStringLiteral("Zeile 1\r\nZeile 2 mit ß") }));
        QCOMPARE(z[1][3].toDouble(), 1e9);
        QCOMPARE(z[1][4].toDateTime(), vfp ? tag(2024, 2, 29, 13, 30) : tag(2024, 2, 29));
        QCOMPARE(z[1][5], QVariant(false));
        for (int i = 1; i < 6; ++i)
            QVERIFY2(!z[2][i].isValid(), qPrintable(QString::number(i)));
        QCOMPARE(z[2][6].toString().size(), 3000);

        const QJsonArray fremd = dbfread(pfad);
        if (fremd.isEmpty())
            QSKIP("python3-dbfread fehlt");
        QCOMPARE(fremd.size(), 3);
        const QJsonObject r0 = fremd[0].toObject();
        QCOMPARE(r0[QStringLiteral("NAME")].toString(), QStringLiteral("Müller"));
        QCOMPARE(r0[QStringLiteral("ZAHL")].toDouble(), 42.0);
        QCOMPARE(r0[QStringLiteral("BETRAG")].toDouble(), 12.5);
        QCOMPARE(r0[QStringLiteral("WERT")].toDouble(), 0.125);
        QCOMPARE(r0[QStringLiteral("DATUM")].toString().left(10), QStringLiteral("1999-12-31"));
        QCOMPARE(r0[QStringLiteral("JA")].toBool(), true);
        QCOMPARE(
            r0[QStringLiteral("NOTIZ")].toString(), QStringLiteral("Zeile 1\r\nZeile 2 mit ß"));
        QCOMPARE(fremd[1].toObject()[QStringLiteral("ZAHL")].toDouble(), -7.0);
        QCOMPARE(fremd[2].toObject()[QStringLiteral("NAME")].toString(), QStringLiteral("€uro ?"));
        QCOMPARE(fremd[2].toObject()[QStringLiteral("NOTIZ")].toString().size(), 3000);
    }

    void aendernUndLoeschenAmOrt()
    {
        TempDir dir;
        const QString pfad = dir.file(QStringLiteral("ARTIKEL.DBF"));
        DbfTable::create(pfad, Felder, DbfFlavor::Dbase4)->flush();
        {
            DbfOptions o;
            o.writable = true;
            auto t = DbfTable::open(pfad, o);
            QVERIFY(
                t->capabilities().append && t->capabilities().update && t->capabilities().remove);
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(t->append({ QStringLiteral("A%1").arg(i), i, QVariant(), QVariant(),
                             QVariant(), QVariant(), QStringLiteral("Memo %1").arg(i) }),
                    i);
            t->update(2,
                { QStringLiteral("Neu"), 20, 1.5, QVariant(), tag(2000, 1, 1), true,
                    QStringLiteral("Neues Memo") });
            t->remove(1);
            QVERIFY_THROWS_EXCEPTION(IsamError, t->update(1, { QStringLiteral("x") }));
            QVERIFY_THROWS_EXCEPTION(IsamError, t->remove(9));
            QCOMPARE(t->rowCount(), 2);
            // A cursor sees the changes at once, without a flush.
            auto c = t->openCursor();
            QVERIFY(c->next());
            QCOMPARE(c->rowId(), 2);
            QCOMPARE(c->value(0).toString(), QStringLiteral("Neu"));
            t->flush();
        }
        auto t = DbfTable::open(pfad);
        QVERIFY_THROWS_EXCEPTION(IsamError, t->append({}));
        const auto z = alleZeilen(*t);
        QCOMPARE(z.size(), 2);
        QCOMPARE(z[0],
            IsamRow({ QStringLiteral("Neu"), 20, 1.5, QVariant(), tag(2000, 1, 1), true,
                QStringLiteral("Neues Memo") }));
        QCOMPARE(z[1][6].toString(), QStringLiteral("Memo 3"));
        auto c = t->openCursor(true);
        QVERIFY(c->seek(1));
        QVERIFY(c->isDeleted());
        QCOMPARE(c->value(0).toString(), QStringLiteral("A1"));

        const QJsonArray geloescht = dbfread(pfad, true);
        if (geloescht.isEmpty())
            QSKIP("python3-dbfread fehlt");
        QCOMPARE(geloescht.size(), 1);
        QCOMPARE(geloescht[0].toObject()[QStringLiteral("NAME")].toString(), QStringLiteral("A1"));
        QCOMPARE(dbfread(pfad).size(), 2);
    }

    void codeseiteDos850()
    {
        TempDir dir;
        DbfFolder ordner(dir.path(), DbfFlavor::Dbase3, CodePage::fromNumber(850));
        {
            auto t = ordner.createTable(
                QStringLiteral("orte"), { { QStringLiteral("ORT"), dbText, 20 } });
            t->append({ QStringLiteral("Großenhain – Süd") });
            t->flush();
            QVERIFY_THROWS_EXCEPTION(IsamError,
                ordner.createTable(
                    QStringLiteral("ORTE"), { { QStringLiteral("ORT"), dbText, 20 } }));
        }
        QCOMPARE(ordner.tableNames(), QStringList({ "orte" }));
        auto t = DbfTable::open(ordner.tablePath(QStringLiteral("ORTE")));
        QCOMPARE(t->header().languageId, 0x02);
        QCOMPARE(t->codePage(), QStringLiteral("DOS 850"));
        // DOS 850 has no dash: it becomes "?".
        QCOMPARE(alleZeilen(*t)[0][0].toString(), QStringLiteral("Großenhain ? Süd"));
        const QJsonArray fremd = dbfread(ordner.tablePath(QStringLiteral("orte")));
        if (!fremd.isEmpty())
            QCOMPARE(fremd[0].toObject()[QStringLiteral("ORT")].toString(),
                QStringLiteral("Großenhain ? Süd"));
    }

    void zahlenDieNichtPassen()
    {
        TempDir dir;
        QList<ValueIssue> probleme;
        const QString pfad = dir.file(QStringLiteral("Z.DBF"));
        {
            auto t = DbfTable::create(pfad,
                { { QStringLiteral("B"), dbByte, 1 }, { QStringLiteral("W"), dbDouble, 8 } },
                DbfFlavor::Dbase3);
            t->setIssueSink([&probleme](const ValueIssue& i) { probleme.append(i); });
            t->append({ 1000, 1.0 / 3.0 });
            t->append({ QStringLiteral("abc"), 1e30 });
        }
        QCOMPARE(probleme.size(), 4);
        QCOMPARE(probleme[0].kind, IssueKind::NumberOutOfRange);
        QCOMPARE(probleme[1].kind, IssueKind::NumberRounded);
        QCOMPARE(probleme[1].target.toDouble(), 0.333333);
        QCOMPARE(probleme[2].kind, IssueKind::NotRepresentable);
        QCOMPARE(probleme[3].kind, IssueKind::NumberOutOfRange);
        const auto z = alleZeilen(*DbfTable::open(pfad));
        QVERIFY(!z[0][0].isValid());
        QCOMPARE(z[0][1].toDouble(), 0.333333);
    }
};

QTEST_GUILESS_MAIN(TestDbfSchreiben)
#include "tst_dbfschreiben.moc"
