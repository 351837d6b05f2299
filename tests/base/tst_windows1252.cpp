#include "base/Windows1252.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QTest>

using namespace kv;

class TestWindows1252 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rundreise();
    void dateiMitCrLf();
};

void TestWindows1252::rundreise()
{
    const QString text = QStringLiteral("Äpfel, Größe 5 € – „Zitat“ ß");
    QCOMPARE(ausWindows1252(zuWindows1252(text)), text);
    QCOMPARE(zuWindows1252(QStringLiteral("€")), QByteArray("\x80"));
    QCOMPARE(zuWindows1252(QStringLiteral("Ω")), QByteArray("?"));
}

void TestWindows1252::dateiMitCrLf()
{
    test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("a.txt"));
    QVERIFY(schreibeTextdatei(pfad, QStringLiteral("KV-Maske: Ä\nzwei\r\ndrei\r")));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("KV-Maske: \xC4\r\nzwei\r\ndrei\r\n"));
    QCOMPARE(leseTextdatei(pfad).value(), QStringLiteral("KV-Maske: Ä\r\nzwei\r\ndrei\r\n"));
    QVERIFY(!leseTextdatei(dir.file(QStringLiteral("fehlt.txt"))).has_value());
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
