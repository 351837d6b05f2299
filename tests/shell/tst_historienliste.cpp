#include "shell/Einstellungen.h"
#include "shell/Historienliste.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;

class TestHistorienliste : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void laden_data();
    void laden();
    void hoechstens20BeimLaden();
    void hinzufuegenUndEntfernen();
    void zwanzigsterUndEinundzwanzigster();
    void pfadeMitTrennzeichen();
    void menuePunkte();

private:
    test::TempDir m_ordner;
};

void TestHistorienliste::initTestCase()
{
    Einstellungen::setzeSpeicherordner(m_ordner.path());
}

void TestHistorienliste::cleanupTestCase()
{
    Einstellungen::setzeSpeicherordner(QString());
}

void TestHistorienliste::laden_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("erwartet"); // the list as saved again
    QTest::newRow("leer") << ""
                          << "";
    QTest::newRow("zwei") << "C:\\a.mdb,1,True;C:\\Daten,2,False"
                          << "C:\\a.mdb,1,True;C:\\Daten,2,False";
    QTest::newRow("Boolean als Zahl") << "C:\\a.mdb,1,-1"
                                      << "C:\\a.mdb,1,True";
    // A list cut off anywhere keeps what is usable.
    QTest::newRow("abgeschnittenes Flag") << "C:\\a.mdb,1,Tr"
                                          << "C:\\a.mdb,1,False";
    QTest::newRow("ohne Typ") << "C:\\b.xls;C:\\c.dbf,"
                              << "C:\\b.xls,14,False;C:\\c.dbf,2,False";
    QTest::newRow("Typ keine Zahl") << "C:\\a.mdb,x,True"
                                    << "C:\\a.mdb,1,True";
    QTest::newRow("leere Einträge") << ";;C:\\a.mdb,1,False;,3,True;"
                                    << "C:\\a.mdb,1,False";
    QTest::newRow("unbekannte Endung") << "/d/a.txt,99"
                                       << "/d/a.txt,0,False";
}

void TestHistorienliste::laden()
{
    QFETCH(QString, text);
    QFETCH(QString, erwartet);
    Historienliste h;
    int aufrufe = 0;
    qsizetype gezeigt = -1;
    h.setzeMenueAufbau([&](const QList<HistorieEintrag>& e) {
        ++aufrufe;
        gezeigt = e.size();
    });
    h.ausfuehren(Historienliste::Modus::Laden, text);
    QCOMPARE(h.text(), erwartet);
    QCOMPARE(aufrufe, 1);
    QCOMPARE(gezeigt, h.eintraege().size());
}

void TestHistorienliste::hoechstens20BeimLaden()
{
    QStringList teile;
    for (int i = 1; i <= 25; ++i)
        teile.append(QStringLiteral("/d/db%1.mdb,1,False").arg(i));
    Historienliste h;
    h.laden(teile.join(u';'));
    QCOMPARE(h.eintraege().size(), 20);
    QCOMPARE(h.eintraege().last().pfad, QStringLiteral("/d/db20.mdb"));
}

void TestHistorienliste::hinzufuegenUndEntfernen()
{
    Historienliste h;
    int aufrufe = 0;
    h.setzeMenueAufbau([&](const QList<HistorieEintrag>&) { ++aufrufe; });
    h.laden(QStringLiteral("C:\\Daten\\Kunden.mdb,1,False;C:\\Daten\\Lager.mdb,1,False"));
    h.ausfuehren(Historienliste::Modus::Hinzufuegen, QStringLiteral("c:\\daten\\LAGER.MDB,1,True"));
    QCOMPARE(h.text(), QStringLiteral("c:\\daten\\LAGER.MDB,1,True;C:\\Daten\\Kunden.mdb,1,False"));
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("MRUListe")), h.text());

    h.ausfuehren(Historienliste::Modus::Entfernen, QStringLiteral("C:\\DATEN\\kunden.mdb,1,False"));
    QCOMPARE(h.text(), QStringLiteral("c:\\daten\\LAGER.MDB,1,True"));
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("MRUListe")), h.text());
    QCOMPARE(aufrufe, 3);

    // Saving alone does not touch the menu.
    h.leeren();
    h.ausfuehren(Historienliste::Modus::Speichern);
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("MRUListe"), "x"), QString());
    QCOMPARE(aufrufe, 3);
}

void TestHistorienliste::zwanzigsterUndEinundzwanzigster()
{
    Historienliste h;
    for (int i = 1; i <= 21; ++i)
        h.hinzufuegen({ QStringLiteral("/d/db%1.mdb").arg(i), 1, false });
    QCOMPARE(h.eintraege().size(), 20);
    QCOMPARE(h.eintraege().first().pfad, QStringLiteral("/d/db21.mdb"));
    QCOMPARE(h.eintraege().last().pfad, QStringLiteral("/d/db2.mdb"));
}

void TestHistorienliste::pfadeMitTrennzeichen()
{
    const QList<HistorieEintrag> eintraege { { QStringLiteral("/home/a;b/Müller, Co.mdb"), 1,
                                                 true },
        { QStringLiteral("/home/\"zitat\".xls"), 14, false },
        { QStringLiteral("/d/x.dbf"), 2, false } };
    const QString text = Historienliste::alsText(eintraege);
    QCOMPARE(text,
        QStringLiteral("\"/home/a;b/Müller, Co.mdb\",1,True;\"/home/\"\"zitat\"\".xls\",14,False;"
                       "/d/x.dbf,2,False"));
    QCOMPARE(Historienliste::ausText(text), eintraege);

    // Adding and removing take the entry in the same form.
    Historienliste h;
    h.ausfuehren(Historienliste::Modus::Hinzufuegen,
        Historienliste::eintragText({ QStringLiteral("/d/a,b.mdb"), 1, false }));
    QCOMPARE(h.eintraege().first().pfad, QStringLiteral("/d/a,b.mdb"));
    h.ausfuehren(Historienliste::Modus::Entfernen, QStringLiteral("\"/d/A,B.mdb\""));
    QVERIFY(h.eintraege().isEmpty());
}

void TestHistorienliste::menuePunkte()
{
    QList<HistorieEintrag> eintraege;
    for (int i = 1; i <= 10; ++i)
        eintraege.append({ QStringLiteral("/d/db%1.mdb").arg(i), 1, false });
    eintraege[1].pfad = QStringLiteral("/d/Meier & Söhne.mdb");
    const QList<HistorieMenuePunkt> punkte = Historienliste::menuePunkte(eintraege);
    QCOMPARE(punkte.size(), 10);
    QCOMPARE(punkte.at(0).text, QStringLiteral("&1. /d/db1.mdb"));
    QCOMPARE(punkte.at(0).beschreibung, QStringLiteral("Diese Datenbank öffnen: /d/db1.mdb"));
    QCOMPARE(punkte.at(1).text, QStringLiteral("&2. /d/Meier && Söhne.mdb"));
    QCOMPARE(
        punkte.at(1).beschreibung, QStringLiteral("Diese Datenbank öffnen: /d/Meier & Söhne.mdb"));
    QCOMPARE(punkte.at(8).text, QStringLiteral("&9. /d/db9.mdb"));
    QCOMPARE(punkte.at(9).text, QStringLiteral("10. /d/db10.mdb"));
}

QTEST_GUILESS_MAIN(TestHistorienliste)
#include "tst_historienliste.moc"
