// A statement that fails inside a transaction takes its writes into foreign files back, as
// SQLite does for its own tables, whichever way the foreign table is reached; what the
// transaction's other statements wrote stays when it is committed.

#include "engine/Engine.h"
#include "engine/ForeignWriteJournal.h"
#include "engine/isam/DbfTable.h"
#include "testutils/Fehlernummer.h"
#include "testutils/Ordnerinhalt.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace kv::engine;
using namespace kv::engine::isam;

namespace {

bool scheitert(Database& db, const QString& sql)
{
    return kv::test::fehlerNummer([&] { db.execute(sql); }) != 0;
}

QVariant wert(Database& db, const QString& sql)
{
    return db.openRecordset(sql)->value(0);
}

// Integer division by zero once Nr reaches the given number: the statement fails after the
// rows before it.
QString bisNr(int nr)
{
    return QStringLiteral(" WHERE 1 \\ (Nr - %1) > -1000").arg(nr);
}

QVector<IsamRow> zeilen(IsamTable& t, bool geloeschte = false)
{
    QVector<IsamRow> alle;
    auto c = t.openCursor(geloeschte);
    while (c->next()) {
        IsamRow r;
        for (int i = 0; i < t.fields().size(); ++i)
            r.append(c->value(i));
        alle.append(r);
    }
    return alle;
}

QByteArray inhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

enum class Weg { In, Eingebunden, Geoeffnet };

} // namespace

Q_DECLARE_METATYPE(Weg)

class TestFremdanweisung : public QObject {
    Q_OBJECT

    std::unique_ptr<kv::test::TempDir> m_dir;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
    QString m_ordner;
    QString m_ziel; ///< the foreign table of 100 rows as the statements name it
    QString m_quelle; ///< the foreign table of 300 rows

    qint64 anzahl()
    {
        return wert(*m_db, QStringLiteral("SELECT count(*) FROM ") + m_ziel).toLongLong();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<kv::test::TempDir>();
        m_ws = std::make_unique<Workspace>();
        m_ordner = m_dir->file(QStringLiteral("fremd"));
        QDir().mkpath(m_ordner);
        auto db = m_ws->createDatabase(m_dir->file(QStringLiteral("a.kdb")));
        db->execute(QStringLiteral("CREATE TABLE Quelle (Nr LONG, Name TEXT(20))"));
        db->execute(QStringLiteral("INSERT INTO Quelle VALUES (1, 'Kunde')"));
        for (int da = 1; da < 300; da *= 2)
            db->execute(QStringLiteral("INSERT INTO Quelle SELECT Nr + %1 AS Nr, Name FROM Quelle "
                                       "WHERE Nr + %1 <= 300")
                            .arg(da));
        const QString in = QStringLiteral(" IN '%1/' 'dBASE IV;'").arg(m_ordner);
        db->execute(QStringLiteral("SELECT * INTO Quelle") + in + QStringLiteral(" FROM Quelle"));
        db->execute(QStringLiteral("SELECT * INTO Ziel") + in
            + QStringLiteral(" FROM Quelle WHERE Nr <= 100"));
        m_db = std::move(db);
    }

    void cleanup()
    {
        m_db.reset();
        m_ws.reset();
        m_dir.reset();
    }

    void fehlgeschlageneAnweisung_data()
    {
        QTest::addColumn<Weg>("weg");
        QTest::newRow("IN") << Weg::In;
        QTest::newRow("eingebundene Tabelle") << Weg::Eingebunden;
        QTest::newRow("Ordner als Datenbank") << Weg::Geoeffnet;
    }

    void fehlgeschlageneAnweisung()
    {
        QFETCH(Weg, weg);
        switch (weg) {
        case Weg::In: {
            const QString in = QStringLiteral(" IN '%1/' 'dBASE IV;'").arg(m_ordner);
            m_ziel = QStringLiteral("Ziel") + in;
            m_quelle = QStringLiteral("Quelle") + in;
            break;
        }
        case Weg::Eingebunden:
            for (const char* name : { "Ziel", "Quelle" }) {
                auto t = m_db->createTableDef(QStringLiteral("F") + QLatin1String(name));
                t->setConnect(QStringLiteral("dBASE IV;DATABASE=") + m_ordner);
                t->setSourceTableName(QLatin1String(name));
                m_db->tableDefs().append(std::move(t));
            }
            m_ziel = QStringLiteral("FZiel");
            m_quelle = QStringLiteral("FQuelle");
            break;
        case Weg::Geoeffnet:
            m_db.reset();
            m_db = m_ws->openDatabase(m_ordner, false, false, QStringLiteral("dBASE IV;"));
            m_ziel = QStringLiteral("Ziel");
            m_quelle = QStringLiteral("Quelle");
            break;
        }
        const auto vorher = kv::test::ordnerinhalt(m_ordner);
        const QString anfuegen = QStringLiteral("INSERT INTO ") + m_ziel
            + QStringLiteral(" SELECT * FROM ") + m_quelle;

        // Without a transaction: rows 1 to 149 reached the file before the statement failed.
        QVERIFY(scheitert(*m_db, anfuegen + bisNr(150)));
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), vorher);

        // Failed statements inside a transaction, then a commit.
        m_ws->beginTrans();
        m_db->execute(anfuegen + QStringLiteral(" WHERE Nr > 290"));
        QVERIFY(scheitert(*m_db, anfuegen + bisNr(150)));
        QVERIFY(scheitert(*m_db,
            QStringLiteral("UPDATE ") + m_ziel + QStringLiteral(" SET Name = 'neu'") + bisNr(50)));
        QVERIFY(scheitert(*m_db, QStringLiteral("DELETE * FROM ") + m_ziel + bisNr(50)));
        m_db->execute(QStringLiteral("UPDATE ") + m_ziel
            + QStringLiteral(" SET Name = 'geändert' WHERE Nr = 7"));
        QCOMPARE(anzahl(), 110);
        m_ws->commitTrans();

        QCOMPARE(anzahl(), 110);
        QCOMPARE(
            wert(*m_db, QStringLiteral("SELECT sum(Nr) FROM ") + m_ziel).toLongLong(), 5050 + 2955);
        QCOMPARE(wert(*m_db,
                     QStringLiteral("SELECT count(*) FROM ") + m_ziel
                         + QStringLiteral(" WHERE Name = 'Kunde'"))
                     .toLongLong(),
            109);
        m_db.reset();
        auto datei = DbfTable::open(m_ordner + QStringLiteral("/Ziel.DBF"));
        QCOMPARE(datei->recordCount(), 110);
        QCOMPARE(zeilen(*datei, true).size(), 110);
        QCOMPARE(QFileInfo(m_ordner + QStringLiteral("/Ziel.DBF")).size(),
            datei->header().headerLength + 110 * datei->header().recordLength + 1);
        QCOMPARE(inhalt(m_ordner + QStringLiteral("/Quelle.DBF")),
            vorher.value(QStringLiteral("Quelle.DBF")));
    }

    void rollbackGanz()
    {
        const QString in = QStringLiteral(" IN '%1/' 'dBASE IV;'").arg(m_ordner);
        auto t = m_db->createTableDef(QStringLiteral("FZiel"));
        t->setConnect(QStringLiteral("dBASE IV;DATABASE=") + m_ordner);
        t->setSourceTableName(QStringLiteral("Ziel"));
        m_db->tableDefs().append(std::move(t));
        const auto vorher = kv::test::ordnerinhalt(m_ordner);
        m_ws->beginTrans();
        m_db->execute(QStringLiteral("INSERT INTO FZiel SELECT * FROM Quelle WHERE Nr > 100"));
        m_db->execute(QStringLiteral("UPDATE FZiel SET Name = 'neu' WHERE Nr < 20"));
        m_db->execute(QStringLiteral("DELETE * FROM FZiel WHERE Nr BETWEEN 30 AND 40"));
        QVERIFY(scheitert(*m_db, QStringLiteral("DELETE * FROM FZiel") + bisNr(60)));
        QCOMPARE(wert(*m_db, QStringLiteral("SELECT count(*) FROM FZiel")).toLongLong(), 289);
        m_ws->rollback();
        QCOMPARE(wert(*m_db, QStringLiteral("SELECT count(*) FROM FZiel")).toLongLong(), 100);
        m_db.reset();
        QCOMPARE(kv::test::ordnerinhalt(m_ordner), vorher);
    }

    // The journal on its own over a table with a memo field: savepoints inside savepoints,
    // given up and rolled back to, as SQLite calls them.
    void sicherungspunkte()
    {
        const QString pfad = m_dir->file(QStringLiteral("J.dbf"));
        IsamFields felder(2);
        felder[0].name = QStringLiteral("NAME");
        felder[0].type = dbText;
        felder[0].size = 10;
        felder[1].name = QStringLiteral("NOTIZ");
        felder[1].type = dbMemo;
        auto t = DbfTable::create(pfad, felder, DbfFlavor::Dbase4);
        for (const char* n : { "eins", "zwei", "drei" })
            t->append(
                { QString::fromLatin1(n), QString(QStringLiteral("Notiz ") + QLatin1String(n)) });
        t->flush();
        const QByteArray anfang = inhalt(pfad);
        const auto anfangsZeilen = zeilen(*t, true);

        ForeignWriteJournal j;
        j.begin(*t);
        j.savepoint(0);
        j.beforeAppend();
        t->append({ QStringLiteral("vier"), QStringLiteral("lang") });
        j.savepoint(1);
        j.beforeChange(2);
        t->update(2, { QStringLiteral("ZWEI"), QStringLiteral("neu") });
        j.beforeChange(1);
        t->remove(1);
        j.beforeAppend();
        t->append({ QStringLiteral("fünf"), QVariant() });
        j.beforeChange(2);
        t->update(2, { QStringLiteral("2"), QVariant() });
        j.rollbackTo(1);
        auto z = zeilen(*t, true);
        QCOMPARE(z.size(), 4);
        QCOMPARE(z.mid(0, 3), anfangsZeilen);
        QCOMPARE(z[3], IsamRow({ QStringLiteral("vier"), QStringLiteral("lang") }));
        QCOMPARE(t->rowCount(), 4);

        // Savepoint 1 stays after the rollback to it; given up, its writes belong to 0.
        j.beforeChange(3);
        t->update(3, { QStringLiteral("DREI"), QVariant() });
        j.release(1);
        j.savepoint(1);
        j.beforeChange(3);
        t->remove(3);
        j.release(1);
        j.rollbackTo(0);
        t->flush();
        QCOMPARE(zeilen(*t, true), anfangsZeilen);
        QCOMPARE(inhalt(pfad), anfang);

        // A rollback to a savepoint older than the table's first one goes back to its begin.
        j.commit();
        j.begin(*t);
        j.savepoint(3);
        j.beforeAppend();
        t->append({ QStringLiteral("sechs"), QVariant() });
        j.rollbackTo(1);
        t->flush();
        QCOMPARE(inhalt(pfad), anfang);

        // Committed writes stay; a rollback after the commit finds nothing to take back.
        j.begin(*t);
        j.beforeChange(1);
        t->update(1, { QStringLiteral("EINS"), QVariant() });
        j.commit();
        j.rollback();
        QCOMPARE(zeilen(*t).first().first(), QVariant(QStringLiteral("EINS")));
    }
};

QTEST_GUILESS_MAIN(TestFremdanweisung)
#include "tst_fremdanweisung.moc"
