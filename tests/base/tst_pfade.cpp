#include "base/DefinitionsTitel.h"
#include "base/Pfade.h"
#include "base/Windows1252.h"
#include "testutils/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

using namespace kv;

class TestPfade : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mitBackslash();
    void verzeichnis_data();
    void verzeichnis();
    void verzeichnisFallback();
    void dateiname_data();
    void dateiname();
    void ohneEndung_data();
    void ohneEndung();
    void dateiVorhanden();
    void definitionsTitel_data();
    void definitionsTitel();
};

void TestPfade::mitBackslash()
{
    QCOMPARE(MitBackslash(QStringLiteral("/daten")), QStringLiteral("/daten/"));
    QCOMPARE(MitBackslash(QStringLiteral("/daten/")), QStringLiteral("/daten/"));
    QCOMPARE(MitBackslash(QStringLiteral("C:\\Daten\\")), QStringLiteral("C:\\Daten\\"));
}

void TestPfade::verzeichnis_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("unix") << "/daten/kunden.db"
                          << "/daten/";
    QTest::newRow("windows") << "C:\\Daten\\kunden.mdb"
                             << "C:\\Daten\\";
    QTest::newRow("gemischt") << "C:\\Daten/sub\\kunden.mdb"
                              << "C:\\Daten/sub\\";
    QTest::newRow("laufwerk") << "C:kunden.mdb"
                              << "C:/";
    QTest::newRow("doppelpunkt im namen") << "/daten/a:b.txt"
                                          << "/daten/";
}

void TestPfade::verzeichnis()
{
    QFETCH(QString, pfad);
    QFETCH(QString, erwartet);
    QCOMPARE(Verzeichnis(pfad), erwartet);
}

void TestPfade::verzeichnisFallback()
{
    QCOMPARE(
        Verzeichnis(QStringLiteral("kunden.db"), QStringLiteral("/tmp")), QStringLiteral("/tmp/"));
    QCOMPARE(Verzeichnis(QStringLiteral("kunden.db")),
        QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

void TestPfade::dateiname_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("unix") << "/daten/kunden.db"
                          << "kunden.db";
    QTest::newRow("windows") << "C:\\Daten\\kunden.mdb"
                             << "kunden.mdb";
    QTest::newRow("laufwerk") << "C:kunden.mdb"
                              << "kunden.mdb";
    QTest::newRow("nur name") << "kunden.mdb"
                              << "kunden.mdb";
    QTest::newRow("verzeichnis") << "/daten/"
                                 << "";
}

void TestPfade::dateiname()
{
    QFETCH(QString, pfad);
    QFETCH(QString, erwartet);
    QCOMPARE(Dateiname(pfad), erwartet);
}

void TestPfade::ohneEndung_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<bool>("mitVerzeichnis");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("mit verzeichnis") << "/daten/kunden.mdb" << true << "/daten/kunden";
    QTest::newRow("nur name") << "/daten/kunden.mdb" << false << "kunden";
    QTest::newRow("ohne punkt") << "kunden" << false << "kunden";
    QTest::newRow("letzter punkt") << "C:\\a\\b.c.mdb" << false << "b.c";
    QTest::newRow("punkt im verzeichnis") << "/da.ten/kunden" << true << "/da.ten/kunden";
}

void TestPfade::ohneEndung()
{
    QFETCH(QString, pfad);
    QFETCH(bool, mitVerzeichnis);
    QFETCH(QString, erwartet);
    QCOMPARE(OhneEndung(pfad, mitVerzeichnis), erwartet);
}

void TestPfade::dateiVorhanden()
{
    test::TempDir dir;
    const QString datei = dir.file(QStringLiteral("a.txt"));
    QVERIFY(schreibeTextdatei(datei, QStringLiteral("x")));
    QVERIFY(DateiVorhanden(datei));
    QVERIFY(!DateiVorhanden(dir.path()));
    QVERIFY(!DateiVorhanden(dir.file(QStringLiteral("fehlt.txt"))));
    QVERIFY(!DateiVorhanden(QString()));
}

void TestPfade::definitionsTitel_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("titel") << QByteArray("KV-Maske:  Kunden \xfc"
                                         "bersicht \r\nSQL: x\r\n")
                           << QStringLiteral("Kunden übersicht");
    QTest::newRow("gross/klein") << QByteArray("kv-maske: Kunden") << QStringLiteral("Kunden");
    QTest::newRow("ohne schluesselwort")
        << QByteArray("Irgendwas\r\n") << QStringLiteral("kein Titel vorhanden");
    QTest::newRow("leere erste zeile") << QByteArray("\r\nKV-Maske: Kunden")
                                       << QStringLiteral("Fehler beim Lesen der Titelinformation");
    QTest::newRow("leere datei") << QByteArray()
                                 << QStringLiteral("Fehler beim Lesen der Titelinformation");
}

void TestPfade::definitionsTitel()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(QString, erwartet);
    test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("d_KELVADO_Kunden.MSK"));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
    f.close();
    QCOMPARE(DefinitionsTitel(pfad, QStringLiteral("KV-Maske:")), erwartet);
    QCOMPARE(DefinitionsTitel(dir.file(QStringLiteral("fehlt.MSK")), QStringLiteral("KV-Maske:")),
        QStringLiteral("Fehler beim Lesen der Titelinformation"));
}

QTEST_GUILESS_MAIN(TestPfade)
#include "tst_pfade.moc"
