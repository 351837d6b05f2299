#include "base/LeseDatei.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QTest>

using namespace kv;

class TestLeseDatei : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lesen_data();
    void lesen();
};

void TestLeseDatei::lesen_data()
{
    QTest::addColumn<QByteArray>("inhalt"); // "-" = no file
    QTest::addColumn<QString>("erwartet"); // empty = read error shown
    QTest::newRow("Text") << QByteArray("KV-Maske: Kunden\r\nFeld: Name\xe4\r\n")
                          << QStringLiteral("KV-Maske: Kunden\r\nFeld: Nameä\r\n");
    QTest::newRow("leer") << QByteArray() << QString();
    QTest::newRow("fehlt") << QByteArray("-") << QString();
    QTest::newRow("binär") << QByteArray("MZ\x90\0\x03\0\0\0", 8) << QString();
}

void TestLeseDatei::lesen()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, erwartet);
    const test::TempDir ordner;
    const QString pfad = ordner.file(QStringLiteral("Adr_KELVAD_Kunden.MSK"));
    if (inhalt != "-") {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }
    test::ScriptedDialoge dialoge;
    QCOMPARE(LeseDatei(pfad), erwartet);
    if (erwartet.isEmpty()) {
        QCOMPARE(dialoge.texte(),
            QStringList {
                QStringLiteral("Fehler beim Lesen der Definitionsdatei!\nDatei: ") + pfad });
        QCOMPARE(dialoge.letzteMeldung().knoepfe, Knoepfe::Ok);
    } else {
        QVERIFY(dialoge.meldungen().isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestLeseDatei)
#include "tst_lesedatei.moc"
