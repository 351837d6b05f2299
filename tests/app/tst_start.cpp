#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestStart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startetUndZeigtHauptfenster();
};

void TestStart::startetUndZeigtHauptfenster()
{
    const QString programm = qEnvironmentVariable("KV_BIN_DIR") + QStringLiteral("/kelvado");
    QTemporaryDir einstellungen;
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("KV_EINSTELLUNGEN"), einstellungen.path());
    p.setProcessEnvironment(umgebung);
    p.start(programm, { QStringLiteral("--beenden-nach-start") });
    QVERIFY2(p.waitForFinished(30000), qPrintable(p.errorString()));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(
        QString::fromUtf8(p.readAllStandardOutput()).remove(u'\n'), QStringLiteral("Kelvado 7.0 "));
}

QTEST_GUILESS_MAIN(TestStart)
#include "tst_start.moc"
