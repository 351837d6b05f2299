// Dates on their way out to foreign files and back in, in a zone whose clock skips an hour:
// what the database holds comes back character for character, the skipped hour, the doubled
// one, dates before 1900 and after 2038 included.

#include "engine/Engine.h"
#include "engine/isam/VerificationReport.h"
#include "testutils/TempDir.h"

#include <QtTest>
#include <ctime>
#include <sqlite3.h>

using namespace kv::engine;

namespace {

/// The stored text of a column, read past the engine straight from the file.
QStringList gespeichert(const QString& datei, const QString& sql)
{
    QStringList werte;
    sqlite3* db = nullptr;
    sqlite3_open_v2(datei.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        werte << (sqlite3_column_type(st, 0) == SQLITE_NULL
                ? QStringLiteral("NULL")
                : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return werte;
}

} // namespace

class TestFremdDatum : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_zone = qgetenv("TZ");
        // Berlin skips 02:00–03:00 on 28 March 2021 and repeats 02:00–03:00 on 31 October.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

    void cleanupTestCase()
    {
        if (m_zone.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_zone);
        tzset();
    }

    void hinUndZurueck_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QStringList>("werte");
        const QStringList mitZeit = { QStringLiteral("2021-03-28 02:30:00"),
            QStringLiteral("2021-10-31 02:30:00"), QStringLiteral("1850-06-15 08:00:00"),
            QStringLiteral("2050-01-01 12:34:56"), QStringLiteral("0100-02-28 23:59:59") };
        QTest::newRow("FoxPro 3.0, Datum mit Zeit")
            << QStringLiteral("FoxPro 3.0;") << QString() << mitZeit;
        QTest::newRow("dBASE IV, Tage")
            << QStringLiteral("dBASE IV;") << QString()
            << QStringList { QStringLiteral("2021-03-28 00:00:00"),
                   QStringLiteral("1850-06-15 00:00:00"), QStringLiteral("2050-01-01 00:00:00") };
        // Excel counts days from 1900 on; earlier dates are not numbers there.
        QTest::newRow("Excel-Arbeitsmappe")
            << QStringLiteral("Excel 8.0;") << QStringLiteral("aus.xlsx")
            << QStringList { QStringLiteral("2021-03-28 02:30:00"),
                   QStringLiteral("2021-10-31 02:30:00"), QStringLiteral("2050-01-01 12:34:56"),
                   QStringLiteral("1900-03-01 00:00:00") };
    }

    void hinUndZurueck()
    {
        QFETCH(QString, format);
        QFETCH(QString, ziel);
        QFETCH(QStringList, werte);
        kv::test::TempDir dir;
        const QString datei = dir.file(QStringLiteral("a.kdb"));
        const QString ort = ziel.isEmpty() ? dir.path() + QLatin1Char('/') : dir.file(ziel);
        {
            Workspace ws;
            auto db = ws.createDatabase(datei);
            db->execute(QStringLiteral("CREATE TABLE Termine (Nr LONG, Zeit DATETIME)"));
            for (int i = 0; i < werte.size(); ++i)
                db->execute(QStringLiteral("INSERT INTO Termine VALUES (%1, '%2')")
                                .arg(i + 1)
                                .arg(werte[i]));
        }
        QCOMPARE(gespeichert(datei, QStringLiteral("SELECT Zeit FROM Termine ORDER BY Nr")), werte);
        {
            Workspace ws;
            auto db = ws.openDatabase(datei);
            db->execute(
                QStringLiteral("SELECT * INTO Aus IN '%1' '%2' FROM Termine").arg(ort, format));
            QCOMPARE(db->recordsAffected(), werte.size());
            db->execute(
                QStringLiteral("SELECT * INTO Zurueck FROM Aus IN '%1' '%2'").arg(ort, format));
        }
        QCOMPARE(gespeichert(datei, QStringLiteral("SELECT Zeit FROM Zurueck ORDER BY Nr")), werte);
    }

    void berichtZeigtDasDatum()
    {
        // dBASE keeps days only; the report names the value handed in as the date it was.
        kv::test::TempDir dir;
        Workspace ws;
        auto db = ws.createDatabase(dir.file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Termine (Nr LONG, Zeit DATETIME)"));
        db->execute(QStringLiteral("INSERT INTO Termine VALUES (1, '2020-05-05 10:00:00')"));
        isam::VerificationReport bericht;
        db->setVerificationReport(&bericht);
        db->execute(QStringLiteral("SELECT * INTO Aus IN '%1' 'dBASE IV;' FROM Termine")
                        .arg(dir.path() + QLatin1Char('/')));
        db->setVerificationReport(nullptr);
        QCOMPARE(bericht.entries().size(), 1);
        const isam::ValueIssue& i = bericht.entries().first().issue;
        QCOMPARE(i.kind, isam::IssueKind::TimeDropped);
        QCOMPARE(i.source, QVariant(QDateTime(QDate(2020, 5, 5), QTime(10, 0))));
        QCOMPARE(i.target, QVariant(QDateTime(QDate(2020, 5, 5), QTime(0, 0))));
    }

private:
    QByteArray m_zone;
};

QTEST_GUILESS_MAIN(TestFremdDatum)
#include "tst_fremddatum.moc"
