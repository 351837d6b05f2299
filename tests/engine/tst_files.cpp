#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/SqliteFile.h"
#include "testutils/TempDir.h"

#include <QProcess>
#include <QThread>
#include <QtTest>
#include <sqlite3.h>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {
// Kunden with the counter ID, the index NameIx, n rows with long notes, and the query "Alle".
void kundenAnlegen(Workspace& ws, const QString& pfad, int n)
{
    kv::test::notizKunden(ws, pfad, n, QStringLiteral("Kunde %1"), true)
        ->createQueryDef(QStringLiteral("Alle"), QStringLiteral("SELECT * FROM Kunden"));
}

// Helper mode of this executable: opens the file, starts a transaction, changes rows, says
// "bereit" and waits to be killed.
int kindProzess(const QString& pfad)
{
    Workspace ws;
    auto db = ws.openDatabase(pfad);
    ws.beginTrans();
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID > 10"));
    db->execute(QStringLiteral("UPDATE Kunden SET Name = 'halb'"));
    for (int i = 0; i < 2000; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Notiz) VALUES ('neu', '%1')")
                        .arg(QString(500, QLatin1Char('x'))));
    fputs("bereit\n", stdout);
    fflush(stdout);
    QThread::sleep(60);
    return 0;
}
} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void badFilesGiveClearErrors();
    void emptyFileIsNotADatabase();
    void readOnlyFileOpensReadOnly();
    void sqliteFailuresAreDescribedInGerman();
    void lockedFileIsReported();
    void killedTransactionLeavesTheFileConsistent();
    void passwordIsChecked();
    void compactionShrinksAndKeepsEveryObject();
    void repairRebuildsADamagedFile();
    void aWorkerReadsTheFileThroughItsOwnWorkspace();
    void errorsBelongToTheirWorkspace();
};

void TestFiles::badFilesGiveClearErrors()
{
    kv::test::TempDir dir;
    Workspace ws;
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(dir.file(QStringLiteral("fehlt.kdb"))); }),
        err::FileNotFound);
    QCOMPARE(ws.errors().constFirst().number(), err::FileNotFound);
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(dir.path()); }), err::InvalidPath);
    QFile text(dir.file(QStringLiteral("text.kdb")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(text.fileName()); }), err::NotADatabase);
    QCOMPARE(
        fehlerNummer([&] { ws.openDatabase(text.fileName(), false, true); }), err::NotADatabase);
    QCOMPARE(fehlerNummer([&] { ws.createDatabase(text.fileName()); }), err::DatabaseExists);
    QCOMPARE(fehlerNummer([&] { ws.createDatabase(dir.file(QStringLiteral("nicht/da/x.kdb"))); }),
        err::FileNotFound);
    QCOMPARE(fehlerNummer([&] { ws.repairDatabase(dir.file(QStringLiteral("fehlt.kdb"))); }),
        err::FileNotFound);
}

void TestFiles::emptyFileIsNotADatabase()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("leer.kdb"));
    QFile leer(pfad);
    QVERIFY(leer.open(QIODevice::WriteOnly));
    leer.close();
    for (const bool nurLesen : { false, true }) {
        try {
            ws.openDatabase(pfad, false, nurLesen);
            QFAIL("an empty file opened as a database");
        } catch (const EngineError& e) {
            QCOMPARE(e.number(), err::NotADatabase);
            QCOMPARE(e.description(),
                QStringLiteral("Die Datei '%1' ist keine Datenbank oder ist beschädigt.")
                    .arg(pfad));
        }
    }
    QCOMPARE(QFileInfo(pfad).size(), 0);
}

void TestFiles::sqliteFailuresAreDescribedInGerman()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 3);
    auto db = ws.openDatabase(pfad, false, true);
    auto fehler = [](auto&& f) {
        try {
            f();
        } catch (const EngineError& e) {
            return e;
        }
        return EngineError(0, QString());
    };
    // Writing into a file opened read-only fails inside SQLite.
    const EngineError schreiben = fehler([&] {
        auto t = db->createTableDef(QStringLiteral("Neu"));
        t->fields().append(t->createField(QStringLiteral("A"), dbLong));
        db->tableDefs().append(std::move(t));
    });
    QCOMPARE(schreiben.number(), err::ReadOnly);
    QCOMPARE(schreiben.description(), QStringLiteral("Die Datenbank ist schreibgeschützt."));
    QVERIFY(schreiben.details().contains(QLatin1String("readonly")));
    const EngineError tabelle
        = fehler([&] { db->openRecordset(QStringLiteral("SELECT * FROM Fehlt WHERE 1 = 1")); });
    QCOMPARE(tabelle.number(), err::NoSuchTable);
    QCOMPARE(tabelle.description(),
        QStringLiteral("Die Tabelle oder Abfrage 'Fehlt' ist nicht vorhanden."));
}

void TestFiles::readOnlyFileOpensReadOnly()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 3);
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadUser);
    if (QFileInfo(pfad).isWritable())
        QSKIP("running as a user who can write read-only files");
    auto db = ws.openDatabase(pfad);
    QVERIFY(!db->updatable());
    QCOMPARE(db->openRecordset(QStringLiteral("Kunden"))->recordCount(), 3);
    QVERIFY(!db->openRecordset(QStringLiteral("Kunden"))->updatable());
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("DELETE FROM Kunden")); }), err::ReadOnly);
}

void TestFiles::lockedFileIsReported()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 3);
    // Another connection holds a write transaction.
    kv::test::SqliteFile fremd(pfad);
    QCOMPARE(fremd.openResult(), SQLITE_OK);
    QCOMPARE(sqlite3_exec(fremd, "BEGIN EXCLUSIVE; DELETE FROM Kunden;", nullptr, nullptr, nullptr),
        SQLITE_OK);
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(pfad); }), err::FileLocked);
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(pfad, true); }), err::FileLocked);
    sqlite3_exec(fremd, "ROLLBACK; BEGIN IMMEDIATE; DELETE FROM Kunden WHERE ID = 1;", nullptr,
        nullptr, nullptr);
    auto db = ws.openDatabase(pfad);
    QCOMPARE(db->openRecordset(QStringLiteral("Kunden"))->recordCount(), 3);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("DELETE FROM Kunden")); }), err::FileLocked);
    fremd.exec(QStringLiteral("ROLLBACK"));
    db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 2"));
    QCOMPARE(db->recordsAffected(), 1);
}

void TestFiles::killedTransactionLeavesTheFileConsistent()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 100);
    QProcess kind;
    kind.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--kind"), pfad });
    QVERIFY(kind.waitForStarted());
    QVERIFY(kind.waitForReadyRead(30000));
    QCOMPARE(kind.readLine().trimmed(), QByteArray("bereit"));
    kind.kill();
    QVERIFY(kind.waitForFinished());
    auto db = ws.openDatabase(pfad);
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 100);
    QCOMPARE(db->openRecordset(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'halb'"))
                 ->value(0)
                 .toInt(),
        0);
    QCOMPARE(ws.repairDatabase(pfad), QStringList());
}

void TestFiles::passwordIsChecked()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 1);
    {
        auto db = ws.openDatabase(pfad);
        db->newPassword(QString(), QStringLiteral("geheim"));
        QCOMPARE(fehlerNummer([&] { db->newPassword(QStringLiteral("falsch"), QString()); }),
            err::PasswordInvalid);
    }
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(pfad); }), err::PasswordInvalid);
    QCOMPARE(
        fehlerNummer([&] { ws.openDatabase(pfad, false, false, QStringLiteral(";pwd=Geheim")); }),
        err::PasswordInvalid);
    QCOMPARE(fehlerNummer([&] { ws.compactDatabase(pfad, dir.file(QStringLiteral("k.kdb"))); }),
        err::PasswordInvalid);
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("k.kdb"))));
    auto db = ws.openDatabase(pfad, false, false, QStringLiteral(";pwd=geheim"));
    QCOMPARE(db->tableDefs().item(QStringLiteral("Kunden")).recordCount(), 1);
    db->newPassword(QStringLiteral("geheim"), QString());
    db.reset();
    QVERIFY(ws.openDatabase(pfad) != nullptr);
}

void TestFiles::compactionShrinksAndKeepsEveryObject()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    const QString ziel = dir.file(QStringLiteral("klein.kdb"));
    kundenAnlegen(ws, pfad, 2000);
    {
        auto db = ws.openDatabase(pfad);
        db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID > 100"));
    }
    ws.compactDatabase(pfad, ziel);
    QVERIFY(QFileInfo(ziel).size() < QFileInfo(pfad).size() / 2);
    auto db = ws.openDatabase(ziel);
    TableDef& t = db->tableDefs().item(QStringLiteral("Kunden"));
    QCOMPARE(t.recordCount(), 100);
    QVERIFY(t.fields().item(QStringLiteral("ID")).isAutoIncrement());
    QVERIFY(t.indexes().contains(QStringLiteral("NameIx")));
    QVERIFY(db->queryDefs().contains(QStringLiteral("Alle")));
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->addNew();
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 2001);
    rs->cancelUpdate();
    const qint64 groesse = QFileInfo(ziel).size();
    QCOMPARE(fehlerNummer([&] { ws.compactDatabase(pfad, ziel); }), err::DatabaseExists);
    QCOMPARE(QFileInfo(ziel).size(), groesse);
}

void TestFiles::repairRebuildsADamagedFile()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 3000);
    QCOMPARE(ws.repairDatabase(pfad), QStringList()); // intact: nothing to do
    // Overwrite a page in the middle of the table's data.
    const qint64 seite = 4096;
    {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 seiten = f.size() / seite;
        f.seek((seiten / 2) * seite);
        f.write(QByteArray(seite, char(0x5a)));
    }
    const QStringList verluste = ws.repairDatabase(pfad);
    QVERIFY(QFile::exists(pfad + QStringLiteral(".beschaedigt")));
    auto db = ws.openDatabase(pfad);
    TableDef& t = db->tableDefs().item(QStringLiteral("Kunden"));
    const qint64 gerettet = t.recordCount();
    QVERIFY2(gerettet > 1000, qPrintable(QString::number(gerettet)));
    QVERIFY(gerettet <= 3000);
    if (gerettet < 3000)
        QVERIFY(!verluste.isEmpty());
    QVERIFY(db->queryDefs().contains(QStringLiteral("Alle")));
    QVERIFY(t.fields().item(QStringLiteral("ID")).isAutoIncrement());
    QCOMPARE(ws.repairDatabase(pfad), QStringList());
}

namespace {
// What a worker hands back: plain values, never engine objects.
struct Gelesen {
    qint64 anzahl = 0;
    qint64 summe = 0;
    QString letzter;
    QString fehler;
};
} // namespace

void TestFiles::aWorkerReadsTheFileThroughItsOwnWorkspace()
{
    kv::test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    Workspace ws;
    kundenAnlegen(ws, pfad, 3000);
    auto db = ws.openDatabase(pfad);
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->setAbsolutePosition(1500);

    Gelesen gelesen;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            Workspace eigener;
            auto eigene = eigener.openDatabase(pfad, false, true);
            auto alle = eigene->openRecordset(
                QStringLiteral("SELECT ID, Name FROM Kunden ORDER BY ID DESC"), dbOpenSnapshot);
            for (; !alle->eof(); alle->moveNext()) {
                ++gelesen.anzahl;
                gelesen.summe += alle->value(0).toLongLong();
                gelesen.letzter = alle->value(1).toString();
            }
        } catch (const EngineError& e) {
            gelesen.fehler = e.description();
        }
    }));
    worker->start();
    QVERIFY(worker->wait(120000));
    QCOMPARE(gelesen.fehler, QString());
    QCOMPARE(gelesen.anzahl, 3000);
    QCOMPARE(gelesen.summe, 3000 * 3001 / 2);
    QCOMPARE(gelesen.letzter, QStringLiteral("Kunde 0"));

    // The window's set is where it was, and still writes.
    QCOMPARE(rs->absolutePosition(), 1500);
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Kunde 1500"));
    rs->edit();
    rs->setValue(QStringLiteral("Name"), QStringLiteral("geändert"));
    rs->update();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("geändert"));
}

void TestFiles::errorsBelongToTheirWorkspace()
{
    kv::test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    Workspace erster;
    Workspace zweiter;
    kundenAnlegen(erster, pfad, 1);
    QCOMPARE(fehlerNummer([&] { erster.openDatabase(dir.file(QStringLiteral("fehlt.kdb"))); }),
        err::FileNotFound);
    QCOMPARE(erster.errors().size(), 1);
    QVERIFY(zweiter.errors().isEmpty());

    // A database's failures are its workspace's: statements, collections, record sets.
    auto db = zweiter.openDatabase(pfad);
    QCOMPARE(
        fehlerNummer([&] { db->execute(QStringLiteral("DELETE FROM Fehlt")); }), err::NoSuchTable);
    QCOMPARE(zweiter.errors().constFirst().number(), err::NoSuchTable);
    QCOMPARE(
        fehlerNummer([&] { db->tableDefs().remove(QStringLiteral("Fehlt")); }), err::ItemNotFound);
    QCOMPARE(zweiter.errors().constFirst().number(), err::ItemNotFound);
    auto rs = db->openRecordset(QStringLiteral("Kunden"));
    rs->edit();
    rs->setValue(QStringLiteral("Name"), QString(61, QLatin1Char('x')));
    QCOMPARE(fehlerNummer([&] { rs->update(); }), err::FieldTooSmall);
    QCOMPARE(zweiter.errors().constFirst().number(), err::FieldTooSmall);
    QCOMPARE(erster.errors().constFirst().number(), err::FileNotFound);

    // A worker's failure stays in the worker's workspace.
    QList<EngineError> imWorker;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        Workspace eigener;
        try {
            eigener.openDatabase(dir.file(QStringLiteral("auch-nicht.kdb")));
        } catch (const EngineError&) { }
        imWorker = eigener.errors();
    }));
    worker->start();
    QVERIFY(worker->wait(60000));
    QCOMPARE(imWorker.size(), 1);
    QCOMPARE(imWorker.constFirst().number(), err::FileNotFound);
    QCOMPARE(zweiter.errors().constFirst().number(), err::FieldTooSmall);

    // A definition not yet appended belongs to no workspace and keeps no list.
    auto t = db->createTableDef(QStringLiteral("Neu"));
    t->fields().append(t->createField(QStringLiteral("A")));
    QCOMPARE(fehlerNummer([&] { t->fields().append(t->createField(QStringLiteral("a"))); }),
        err::NameExists);
    QCOMPARE(zweiter.errors().constFirst().number(), err::FieldTooSmall);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--kind") == 0)
        return kindProzess(QString::fromLocal8Bit(argv[2]));
    TestFiles t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_files.moc"
