#include "base/Windows1252.h"
#include "tables/Definitionsdatei.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kv;

class TestDefinitionsdatei : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateiname_data();
    void dateiname();
    void ungueltigerName();
    void nameAusDatei();
    void ohneNamen();
    void ohneNamenAlleVergeben();
    void auflistung();
    void titel();
};

namespace {
void anlegen(const QString& pfad, const QByteArray& inhalt = "KV-Maske: Test\r\n")
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}
} // namespace

void TestDefinitionsdatei::dateiname_data()
{
    QTest::addColumn<QString>("db");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("maske");
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("zurueck");

    QTest::newRow("Maske") << "/daten/Adressen.mdb"
                           << "Kunden" << true << "/daten/Adressen_KELVAD_Kunden.MSK"
                           << "Kunden";
    QTest::newRow("Tabelle") << "/daten/Adressen.mdb"
                             << "Kunden" << false << "/daten/Adressen_KELVAD_Kunden.TSK"
                             << "Kunden";
    QTest::newRow("Endung vorhanden") << "/daten/Adressen.mdb"
                                      << "Kunden.msk" << true << "/daten/Adressen_KELVAD_Kunden.msk"
                                      << "Kunden";
    QTest::newRow("andere Endung im Namen")
        << "/daten/Adressen.mdb"
        << "Kunden.TSK" << true << "/daten/Adressen_KELVAD_Kunden.TSK.MSK"
        << "Kunden.TSK";
    QTest::newRow("Endung mitten im Namen")
        << "/daten/Adressen.mdb"
        << "a.MSK b" << true << "/daten/Adressen_KELVAD_a.MSK b.MSK"
        << "a.MSK b";
    QTest::newRow("Punkt im Ordner") << "/daten.v2/Adressen"
                                     << "Kunden" << true << "/daten.v2/Adressen_KELVAD_Kunden.MSK"
                                     << "Kunden";
    QTest::newRow("Windows-Pfad") << "C:\\Daten\\Adressen.mdb"
                                  << "Kunden" << true << "C:\\Daten\\Adressen_KELVAD_Kunden.MSK"
                                  << "Kunden";
    QTest::newRow("KELVAD im Datenbanknamen")
        << "/d/Alt_KELVAD_X.mdb"
        << "Kunden" << true << "/d/Alt_KELVAD_X_KELVAD_Kunden.MSK"
        << "Kunden";
}

void TestDefinitionsdatei::dateiname()
{
    QFETCH(QString, db);
    QFETCH(QString, name);
    QFETCH(bool, maske);
    QFETCH(QString, datei);
    QFETCH(QString, zurueck);
    const Definitionsart art = maske ? Definitionsart::Maske : Definitionsart::Tabelle;
    QCOMPARE(definitionsdateiname(db, name, art), datei);
    QCOMPARE(definitionsname(datei, db), zurueck);
}

void TestDefinitionsdatei::ungueltigerName()
{
    QCOMPARE(definitionsdateiname("/d/A.mdb", QString(), Definitionsart::Maske), QString());
    for (const char* name : { "../x", "a\\b", "a:b", "a*", "a?", "a|b", "a\"b", "<a>" }) {
        QCOMPARE(definitionsdateiname("/d/A.mdb", name, Definitionsart::Maske), QString());
        QVERIFY(pruefeDefinitionsname(name));
    }
    QVERIFY(!pruefeDefinitionsname(QStringLiteral("Kunden (alt) 2.0")));
}

void TestDefinitionsdatei::nameAusDatei()
{
    QCOMPARE(definitionsname("/d/Adressen_KELVAD_Kunden.MSK"), QStringLiteral("Kunden"));
    QCOMPARE(definitionsname("/d/adressen_kelvad_Kunden.tsk"), QStringLiteral("Kunden"));
    QCOMPARE(definitionsname("C:\\d\\A_KELVAD_x.y.MSK"), QStringLiteral("x.y"));
    QCOMPARE(definitionsname("/d/A_KELVAD_ohne"), QStringLiteral("ohne"));
    QCOMPARE(definitionsname("/d/Adressen.MSK"), QString());
}

void TestDefinitionsdatei::ohneNamen()
{
    test::TempDir dir;
    const QString db = dir.file("Adressen.mdb");
    QCOMPARE(
        freierOhneNamenName(db, Definitionsart::Maske), std::optional<QString>("OhneNamen0001"));

    anlegen(dir.file("Adressen_KELVAD_OhneNamen0001.MSK"));
    anlegen(dir.file("adressen_kelvad_ohnenamen0002.msk"));
    anlegen(dir.file("Adressen_KELVAD_OhneNamen0004.MSK"));
    // Other kinds and other databases do not take numbers away.
    anlegen(dir.file("Adressen_KELVAD_OhneNamen0003.TSK"));
    anlegen(dir.file("Lager_KELVAD_OhneNamen0003.MSK"));
    QCOMPARE(
        freierOhneNamenName(db, Definitionsart::Maske), std::optional<QString>("OhneNamen0003"));
    QCOMPARE(
        freierOhneNamenName(db, Definitionsart::Tabelle), std::optional<QString>("OhneNamen0001"));
}

void TestDefinitionsdatei::ohneNamenAlleVergeben()
{
    test::TempDir dir;
    const QString db = dir.file("A.mdb");
    for (int i = 1; i <= 9999; ++i)
        anlegen(
            dir.file(QStringLiteral("A_KELVAD_OhneNamen%1.TSK").arg(i, 4, 10, QLatin1Char('0'))));
    QVERIFY(!freierOhneNamenName(db, Definitionsart::Tabelle));
    QCOMPARE(ohneNamenVergebenText(Definitionsart::Tabelle),
        QStringLiteral("Die Namen OhneNamen0001 bis OhneNamen9999 sind bereits alle vergeben!\n\n"
                       "Bitte geben Sie der Tabelle einen eigenen Namen."));
    QFile::remove(dir.file("A_KELVAD_OhneNamen0500.TSK"));
    QCOMPARE(
        freierOhneNamenName(db, Definitionsart::Tabelle), std::optional<QString>("OhneNamen0500"));
}

void TestDefinitionsdatei::auflistung()
{
    test::TempDir dir;
    const QString db = dir.file("Adressen.mdb");
    anlegen(db, "");
    anlegen(dir.file("Adressen_KELVAD_Kunden.MSK"));
    anlegen(dir.file("ADRESSEN_kelvad_Orte.msk"));
    anlegen(dir.file("Adressen_KELVAD_Liste.TSK"));
    anlegen(dir.file("Adressen_KELVAD_Notiz.txt"));
    anlegen(dir.file("Adressen2_KELVAD_Fremd.MSK"));
    anlegen(dir.file("Lager_KELVAD_Kunden.MSK"));
    anlegen(dir.file("Lager_KELVAD_Liste.TSK"));
    anlegen(dir.file("Adressen.MSK"));
    QDir(dir.path()).mkdir("Adressen_KELVAD_Ordner.MSK");

    QStringList masken;
    for (const Definitionsdatei& d : definitionsdateien(db, Definitionsart::Maske)) {
        QCOMPARE(d.art, Definitionsart::Maske);
        QCOMPARE(definitionsname(d.pfad, db), d.name);
        QVERIFY(QFile::exists(d.pfad));
        masken.append(d.name);
    }
    masken.sort();
    QCOMPARE(masken, (QStringList { "Kunden", "Orte" }));

    const QList<Definitionsdatei> tabellen = definitionsdateien(db, Definitionsart::Tabelle);
    QCOMPARE(tabellen.size(), 1);
    QCOMPARE(tabellen.first().name, QStringLiteral("Liste"));
    QCOMPARE(tabellen.first().pfad, dir.file("Adressen_KELVAD_Liste.TSK"));
    QCOMPARE(definitionsdateien(db).size(), 3);

    // A database name with characters that wildcard patterns treat specially.
    const QString sonder = dir.file("Bü[ro]*.mdb");
    anlegen(dir.file("Bü[ro]*_KELVAD_Post.MSK"));
    anlegen(dir.file("Büro_KELVAD_Post.MSK"));
    const QList<Definitionsdatei> post = definitionsdateien(sonder);
    QCOMPARE(post.size(), 1);
    QCOMPARE(post.first().name, QStringLiteral("Post"));

    QVERIFY(definitionsdateien(dir.file("fehlt/Nichts.mdb")).isEmpty());
}

void TestDefinitionsdatei::titel()
{
    test::TempDir dir;
    const QString maske = dir.file("A_KELVAD_M.MSK");
    QVERIFY(schreibeTextdatei(maske, QStringLiteral("kv-maske:  Kunden für Ärzte \r\nSQL: x\r\n")));
    QCOMPARE(definitionstitel(maske, Definitionsart::Maske), QStringLiteral("Kunden für Ärzte"));
    QCOMPARE(
        definitionstitel(maske, Definitionsart::Tabelle), QStringLiteral("kein Titel vorhanden"));
    const QString leer = dir.file("A_KELVAD_L.TSK");
    QVERIFY(schreibeTextdatei(leer, QStringLiteral("\r\nKV-Tabelle: zu spät\r\n")));
    QCOMPARE(definitionstitel(leer, Definitionsart::Tabelle),
        QStringLiteral("Fehler beim Lesen der Titelinformation"));
}

QTEST_GUILESS_MAIN(TestDefinitionsdatei)
#include "tst_definitionsdatei.moc"
