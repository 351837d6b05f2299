// Statements that write into the files of a foreign folder are all-or-nothing: a statement that
// fails half-way, or a transaction rolled back, leaves the files as they were.

#include "engine/Engine.h"
#include "testutils/Ordnerinhalt.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kv::engine;

namespace {

qint64 anzahl(Database& db, const QString& sql)
{
    return db.openRecordset(sql)->value(0).toLongLong();
}

bool scheitert(Database& db, const QString& sql)
{
    try {
        db.execute(sql);
    } catch (const EngineError&) {
        return true;
    }
    return false;
}

// Integer division by zero once Nr reaches 150: the statement fails after its first rows.
const QString BisZeile150 = QStringLiteral(" WHERE 1 \\ (Nr - 150) > -1000");

} // namespace

class TestFremdschreiben : public QObject {
    Q_OBJECT

    std::unique_ptr<kv::test::TempDir> m_dir;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
    QString m_ordner;
    QString m_in;

private Q_SLOTS:
    void initTestCase_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("dBASE IV") << QStringLiteral("dBASE IV;");
        QTest::newRow("FoxPro 2.6") << QStringLiteral("FoxPro 2.6;");
        QTest::newRow("dBASE III") << QStringLiteral("dBASE III;");
    }

    // A local table of 300 rows and a foreign table made from its first 100.
    void init()
    {
        QFETCH_GLOBAL(QString, format);
        m_dir = std::make_unique<kv::test::TempDir>();
        m_ws = std::make_unique<Workspace>();
        m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("a.kdb")));
        m_db->execute(QStringLiteral("CREATE TABLE Quelle (Nr LONG, Name TEXT(20))"));
        m_db->execute(QStringLiteral("INSERT INTO Quelle VALUES (1, 'Kunde')"));
        for (int da = 1; da < 300; da *= 2)
            m_db->execute(
                QStringLiteral("INSERT INTO Quelle SELECT Nr + %1 AS Nr, Name FROM Quelle "
                               "WHERE Nr + %1 <= 300")
                    .arg(da));
        m_ordner = m_dir->file(QStringLiteral("fremd"));
        QDir().mkpath(m_ordner);
        m_in = QStringLiteral(" IN '%1/' '%2'").arg(m_ordner, format);
        m_db->execute(QStringLiteral("SELECT * INTO Ziel") + m_in
            + QStringLiteral(" FROM Quelle WHERE Nr <= 100"));
    }

    void cleanup()
    {
        m_db.reset();
        m_ws.reset();
        m_dir.reset();
    }

    void fehlschlagLaesstDateienWieVorher()
    {
        const QMap<QString, QByteArray> vorher = kv::test::ordnerinhalt(m_ordner);
        QVERIFY(!vorher.isEmpty());
        // Appending: rows 1 to 149 reach the file before the statement fails.
        QVERIFY(scheitert(*m_db,
            QStringLiteral("INSERT INTO Ziel") + m_in + QStringLiteral(" SELECT * FROM Quelle")
                + BisZeile150));
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), vorher);
        QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT count(*) FROM Ziel") + m_in), 100);
        // Deleting and changing the same way.
        QVERIFY(scheitert(*m_db,
            QStringLiteral("DELETE * FROM Ziel") + m_in
                + QStringLiteral(" WHERE 1 \\ (Nr - 50) > -1000")));
        QVERIFY(scheitert(*m_db,
            QStringLiteral("UPDATE Ziel") + m_in
                + QStringLiteral(" SET Name = 'neu' WHERE 1 \\ (Nr - 50) > -1000")));
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), vorher);
        // What succeeds stays.
        m_db->execute(QStringLiteral("INSERT INTO Ziel") + m_in
            + QStringLiteral(" SELECT * FROM Quelle WHERE Nr > 290"));
        QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT count(*) FROM Ziel") + m_in), 110);
    }

    void transaktionEntscheidet()
    {
        const QMap<QString, QByteArray> vorher = kv::test::ordnerinhalt(m_ordner);
        m_ws->beginTrans();
        m_db->execute(QStringLiteral("INSERT INTO Ziel") + m_in
            + QStringLiteral(" SELECT * FROM Quelle WHERE Nr > 100"));
        m_db->execute(QStringLiteral("SELECT * INTO Neu") + m_in + QStringLiteral(" FROM Quelle"));
        QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT count(*) FROM Ziel") + m_in), 300);
        m_ws->rollback();
        // The appended rows are gone and so is the table the transaction made.
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), vorher);

        m_ws->beginTrans();
        m_db->execute(QStringLiteral("INSERT INTO Ziel") + m_in
            + QStringLiteral(" SELECT * FROM Quelle WHERE Nr > 100"));
        m_ws->commitTrans();
        QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT count(*) FROM Ziel") + m_in), 300);
        // A later failure puts back the state of the commit, not the one before it.
        const QMap<QString, QByteArray> danach = kv::test::ordnerinhalt(m_ordner);
        QVERIFY(scheitert(*m_db,
            QStringLiteral("INSERT INTO Ziel") + m_in + QStringLiteral(" SELECT * FROM Quelle")
                + BisZeile150));
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), danach);
    }
};

QTEST_MAIN(TestFremdschreiben)
#include "tst_fremdschreiben.moc"
