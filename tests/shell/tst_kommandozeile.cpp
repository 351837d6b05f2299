#include "shell/Kommandozeile.h"
#include "testutils/TempDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kv;

class TestKommandozeile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void auswerten_data();
    void auswerten();
    void ausArgumenten();
    void tabelle_data();
    void tabelle();

private:
    test::TempDir m_ordner;
    QString m_datenbank;
};

void TestKommandozeile::initTestCase()
{
    m_datenbank = m_ordner.file(QStringLiteral("Adressen 2026.mdb"));
    QFile f(m_datenbank);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

void TestKommandozeile::auswerten_data()
{
    QTest::addColumn<QString>("zeile"); // "%1" stands for the existing database
    QTest::addColumn<QString>("datenbank"); // "-" = none
    QTest::addColumn<int>("xpStil"); // -1 = not given
    QTest::addColumn<QString>("nichtGefunden"); // "-" = none
    QTest::newRow("leer") << ""
                          << "-" << -1 << "-";
    QTest::newRow("beides") << "/MDB:%1 /XPStil:0"
                            << "%1" << 0 << "-";
    QTest::newRow("klein, Blanks") << "  /mdb:  %1   /xpstil:1  "
                                   << "%1" << 1 << "-";
    QTest::newRow("XPStil ja") << "/XPStil:yes"
                               << "-" << 0 << "-";
    QTest::newRow("XPStil leer") << "/XPStil:"
                                 << "-" << 0 << "-";
    QTest::newRow("fehlende Datei") << "/MDB:%1.weg /XPStil:1"
                                    << "-" << 1 << "%1.weg";
    QTest::newRow("unbekannt") << "/Debug /Log:5"
                               << "-" << -1 << "-";
    // Read from the fifth character on, as the keyword is expected first: no such file.
    QTest::newRow("Schlüssel mitten im Teil") << "/xMDB:%1"
                                              << "-" << -1 << ":%1";
    QTest::newRow("Verzeichnis") << "/MDB:" + QDir::tempPath() << "-" << -1 << QDir::tempPath();
    QTest::newRow("ohne Pfad") << "/MDB: /XPStil:1"
                               << "-" << 1 << "-";
    QTest::newRow("letzte zählt") << "/XPStil:1 /XPStil:0"
                                  << "-" << 0 << "-";
}

void TestKommandozeile::auswerten()
{
    QFETCH(QString, zeile);
    QFETCH(QString, datenbank);
    QFETCH(int, xpStil);
    QFETCH(QString, nichtGefunden);
    const Kommandozeile k
        = Kommandozeile::auswerten(zeile.replace(QLatin1String("%1"), m_datenbank));
    QCOMPARE(k.datenbank.value_or(QStringLiteral("-")),
        datenbank.replace(QLatin1String("%1"), m_datenbank));
    QCOMPARE(k.xpStil.has_value() ? int(*k.xpStil) : -1, xpStil);
    QCOMPARE(k.nichtGefunden.value_or(QStringLiteral("-")),
        nichtGefunden.replace(QLatin1String("%1"), m_datenbank));
}

void TestKommandozeile::ausArgumenten()
{
    const QString zeile = Kommandozeile::ausArgumenten(
        { QStringLiteral("/MDB:") + m_datenbank, QStringLiteral("/XPStil:1") });
    const Kommandozeile k = Kommandozeile::auswerten(zeile);
    QCOMPARE(k.datenbank, std::optional<QString>(m_datenbank));
    QCOMPARE(k.xpStil, std::optional<bool>(true));
}

void TestKommandozeile::tabelle_data()
{
    QTest::addColumn<QString>("zeile"); // "%1" stands for the existing database
    QTest::addColumn<QString>("tabelle"); // "-" = none
    QTest::addColumn<QString>("datenbank"); // "-" = none
    QTest::newRow("allein") << "/TABELLE:Kunden"
                            << "Kunden"
                            << "-";
    QTest::newRow("mit Datenbank, klein") << "/MDB:%1 /tabelle: Kunden mit Wohnort "
                                          << "Kunden mit Wohnort"
                                          << "%1";
    QTest::newRow("Name mit Schlüsselwort") << "/TABELLE:MDB:Test /MDB:%1"
                                            << "MDB:Test"
                                            << "%1";
    QTest::newRow("ohne Namen") << "/TABELLE: "
                                << "-"
                                << "-";
    QTest::newRow("Schlüssel mitten im Teil") << "/xTABELLE:Kunden"
                                              << "-"
                                              << "-";
}

void TestKommandozeile::tabelle()
{
    QFETCH(QString, zeile);
    QFETCH(QString, tabelle);
    QFETCH(QString, datenbank);
    const Kommandozeile k
        = Kommandozeile::auswerten(zeile.replace(QLatin1String("%1"), m_datenbank));
    QCOMPARE(k.tabelle.value_or(QStringLiteral("-")), tabelle);
    QCOMPARE(k.datenbank.value_or(QStringLiteral("-")),
        datenbank.replace(QLatin1String("%1"), m_datenbank));
}

QTEST_GUILESS_MAIN(TestKommandozeile)
#include "tst_kommandozeile.moc"
