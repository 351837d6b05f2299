#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "testutils/Fehlernummer.h"
#include "testutils/TempDir.h"

#include <QProcess>
#include <QtTest>
#include <sqlite3.h>

using namespace kv::engine;
using kv::test::fehlerNummer;

namespace {
void kundenAnlegen(Workspace& ws, const QString& pfad, int n)
{
    auto db = ws.createDatabase(pfad);
    auto t = db->createTableDef(QStringLiteral("Kunden"));
    auto id = t->createField(QStringLiteral("ID"), dbLong);
    id->setAttributes(dbFixedField | dbAutoIncrField);
    t->fields().append(std::move(id));
    t->fields().append(t->createField(QStringLiteral("Name"), dbText, 60));
    t->fields().append(t->createField(QStringLiteral("Notiz"), dbMemo));
    auto ix = t->createIndex(QStringLiteral("NameIx"));
    ix->appendField(QStringLiteral("Name"));
    t->indexes().append(std::move(ix));
    db->tableDefs().append(std::move(t));
    db->createQueryDef(QStringLiteral("Alle"), QStringLiteral("SELECT * FROM Kunden"));
    ws.beginTrans();
    for (int i = 0; i < n; ++i)
        db->execute(QStringLiteral("INSERT INTO Kunden (Name, Notiz) VALUES ('Kunde %1', '%2')")
                        .arg(i)
                        .arg(QString(200, QLatin1Char('n'))));
    ws.commitTrans();
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
    void readOnlyFileOpensReadOnly();
    void lockedFileIsReported();
    void killedTransactionLeavesTheFileConsistent();
    void passwordIsChecked();
    void compactionShrinksAndKeepsEveryObject();
    void repairRebuildsADamagedFile();
};

void TestFiles::badFilesGiveClearErrors()
{
    kv::test::TempDir dir;
    Workspace ws;
    QCOMPARE(fehlerNummer([&] { ws.openDatabase(dir.file(QStringLiteral("fehlt.kdb"))); }),
        err::FileNotFound);
    QCOMPARE(Workspace::errors().constFirst().number(), err::FileNotFound);
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
    QCOMPARE(
        fehlerNummer([&] { Workspace::repairDatabase(dir.file(QStringLiteral("fehlt.kdb"))); }),
        err::FileNotFound);
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
    sqlite3* fremd = nullptr;
    QCOMPARE(sqlite3_open(pfad.toUtf8().constData(), &fremd), SQLITE_OK);
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
    sqlite3_exec(fremd, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(fremd);
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
    QCOMPARE(Workspace::repairDatabase(pfad), QStringList());
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
    QCOMPARE(
        fehlerNummer([&] { Workspace::compactDatabase(pfad, dir.file(QStringLiteral("k.kdb"))); }),
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
    Workspace::compactDatabase(pfad, ziel);
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
    QCOMPARE(fehlerNummer([&] { Workspace::compactDatabase(pfad, ziel); }), err::DatabaseExists);
    QCOMPARE(QFileInfo(ziel).size(), groesse);
}

void TestFiles::repairRebuildsADamagedFile()
{
    kv::test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("a.kdb"));
    kundenAnlegen(ws, pfad, 3000);
    QCOMPARE(Workspace::repairDatabase(pfad), QStringList()); // intact: nothing to do
    // Overwrite a page in the middle of the table's data.
    const qint64 seite = 4096;
    {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 seiten = f.size() / seite;
        f.seek((seiten / 2) * seite);
        f.write(QByteArray(seite, char(0x5a)));
    }
    const QStringList verluste = Workspace::repairDatabase(pfad);
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
    QCOMPARE(Workspace::repairDatabase(pfad), QStringList());
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
