#include "shell/Befehlsstatus.h"
#include "shell/Befehlstabelle.h"
#include "shell/Fensteranordnung.h"
#include "shell/Hilfeindex.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace kv;

class TestBefehle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void baenderOhneToteEintraege();
    void historiennamen_data();
    void historiennamen();
    void textanzeige();
    void befehlsstatus();
    void datenbankanzeige();
    void anordnung_data();
    void anordnung();
    void symbolpositionen();
    void hilfeindex();
    void hilfeseiteOhneTitel();
};

void TestBefehle::baenderOhneToteEintraege()
{
    // A band entry without a command would be a dead menu entry; one key for two entries would
    // fire neither.
    QSet<QString> kuerzel;
    for (const QString& band :
        Menuebaender() + QStringList { "mpAnpassenText", "mpAnpassenGröße", "msb", "mtbKontext" }) {
        for (const QString& name : Bandinhalt(band)) {
            if (name.isEmpty() || !Bandinhalt(name).isEmpty() || name == QLatin1String("MDIListe"))
                continue;
            const Befehl* b = FindeBefehl(name);
            QVERIFY2(b, qPrintable(band + QLatin1Char('/') + name));
            if (!b->tastenkuerzel.isEmpty()) {
                QVERIFY2(!kuerzel.contains(b->tastenkuerzel), qPrintable(b->tastenkuerzel));
                kuerzel.insert(b->tastenkuerzel);
            }
        }
    }
}

void TestBefehle::historiennamen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("nummer");

    QTest::newRow("erster") << QStringLiteral("Historie01") << 1;
    QTest::newRow("zehnter") << QStringLiteral("Historie10") << 10;
    QTest::newRow("letzter") << QStringLiteral("Historie20") << 20;
    QTest::newRow("zu groß") << QStringLiteral("Historie21") << 0;
    QTest::newRow("null") << QStringLiteral("Historie00") << 0;
    QTest::newRow("ohne Nummer") << QStringLiteral("Historie") << 0;
    QTest::newRow("dreistellig") << QStringLiteral("Historie001") << 0;
    QTest::newRow("anderer Name") << QStringLiteral("dateineu") << 0;
}

void TestBefehle::historiennamen()
{
    QFETCH(QString, name);
    QFETCH(int, nummer);
    QCOMPARE(Historiennummer(name), nummer);
    if (nummer > 0) {
        QCOMPARE(Historienname(nummer), name);
        QCOMPARE(FindeBefehl(name)->ziel, Befehlsziel::Historie);
    }
}

void TestBefehle::textanzeige()
{
    const QStringList werkzeuge
        = { "mpTextaus", "mpTextlinks", "mpTextrechts", "mpTextoben", "mpTextunten" };
    for (int wert = 0; wert < werkzeuge.size(); ++wert) {
        QCOMPARE(Textanzeigewert(werkzeuge.at(wert)), wert);
        QCOMPARE(TextanzeigeWerkzeug(wert), werkzeuge.at(wert));
        QCOMPARE(FindeBefehl(werkzeuge.at(wert))->id, 1100 + wert);
    }
    QCOMPARE(Textanzeigewert(QStringLiteral("mpklein")), -1);
    QCOMPARE(TextanzeigeWerkzeug(7), QStringLiteral("mpTextaus"));
    QCOMPARE(TextanzeigeWerkzeug(-1), QStringLiteral("mpTextaus"));
}

void TestBefehle::befehlsstatus()
{
    const auto aktiv = [](bool offen, bool nurLesen, bool transaktionen, const char* name) {
        for (const auto& [n, a] : Befehlsstatus(offen, nurLesen, transaktionen)) {
            if (n == QString::fromUtf8(name))
                return a ? 1 : 0;
        }
        return -1;
    };
    QCOMPARE(Befehlsstatus(false, false, true).size(), 13);
    QCOMPARE(aktiv(false, false, true, "dateispeichern"), 0);
    QCOMPARE(aktiv(true, false, true, "dateispeichern"), 1);
    QCOMPARE(aktiv(true, true, true, "dateispeichern"), 0);
    QCOMPARE(aktiv(true, true, true, "dateikomprimieren"), 0);
    QCOMPARE(aktiv(false, false, true, "dateikomprimieren"), 0);
    QCOMPARE(aktiv(true, true, true, "bearbeitenhochzählautomatik"), 1);
    QCOMPARE(aktiv(false, false, true, "transaktionbeginnen"), 0);
    QCOMPARE(aktiv(true, false, true, "transaktionbeginnen"), 1);
    QCOMPARE(aktiv(true, true, true, "transaktionbeginnen"), 0);
    QCOMPARE(aktiv(true, false, false, "transaktionbeginnen"), 0);
    // Not touched by the rule.
    QCOMPARE(aktiv(true, false, true, "dateiöffnen"), -1);
    QCOMPARE(aktiv(true, false, true, "transaktionupdate"), -1);
}

void TestBefehle::datenbankanzeige()
{
    const Datenbankanzeige keine = Datenbankanzeige::fuer(QString());
    QCOMPARE(keine.text, QStringLiteral("<keine aktive Datenbank>"));
    QCOMPARE(keine.beschreibung, QStringLiteral("Momentan ist keine Datenbank geöffnet"));
    const Datenbankanzeige offen = Datenbankanzeige::fuer(QStringLiteral("C:\\Daten\\Kunden.MDB"));
    QCOMPARE(offen.text, QStringLiteral("Kunden.MDB"));
    QCOMPARE(
        offen.beschreibung, QStringLiteral("Momentan geöffnete Datenbank: C:\\Daten\\Kunden.MDB"));
}

void TestBefehle::anordnung_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<QRect>("flaeche");

    QTest::newRow("keins") << 0 << QRect(0, 0, 100, 100);
    QTest::newRow("eins") << 1 << QRect(5, 7, 100, 90);
    QTest::newRow("glatt") << 4 << QRect(0, 0, 400, 200);
    QTest::newRow("mit Rest") << 3 << QRect(10, 20, 101, 302);
    QTest::newRow("mehr als Pixel") << 5 << QRect(0, 0, 3, 3);
}

void TestBefehle::anordnung()
{
    QFETCH(int, anzahl);
    QFETCH(QRect, flaeche);

    for (bool untereinander : { true, false }) {
        const QList<QRect> rahmen
            = untereinander ? Untereinander(anzahl, flaeche) : Nebeneinander(anzahl, flaeche);
        QCOMPARE(rahmen.size(), anzahl);
        int summe = 0;
        int kleinste = INT_MAX;
        int groesste = 0;
        for (int i = 0; i < rahmen.size(); ++i) {
            const QRect& r = rahmen.at(i);
            const int laenge = untereinander ? r.height() : r.width();
            summe += laenge;
            kleinste = std::min(kleinste, laenge);
            groesste = std::max(groesste, laenge);
            if (untereinander) {
                QCOMPARE(r.left(), flaeche.left());
                QCOMPARE(r.width(), flaeche.width());
                QCOMPARE(r.top(), i == 0 ? flaeche.top() : rahmen.at(i - 1).bottom() + 1);
            } else {
                QCOMPARE(r.top(), flaeche.top());
                QCOMPARE(r.height(), flaeche.height());
                QCOMPARE(r.left(), i == 0 ? flaeche.left() : rahmen.at(i - 1).right() + 1);
            }
        }
        if (anzahl > 0) {
            QCOMPARE(summe, untereinander ? flaeche.height() : flaeche.width());
            QVERIFY(groesste - kleinste <= 1);
        }
    }
}

void TestBefehle::symbolpositionen()
{
    const QRect flaeche(0, 0, 250, 400);
    const QList<QPoint> p = Symbolpositionen(5, QSize(100, 30), flaeche);
    QCOMPARE(p, (QList<QPoint> { { 0, 370 }, { 100, 370 }, { 0, 340 }, { 100, 340 }, { 0, 310 } }));
    QVERIFY(Symbolpositionen(0, QSize(100, 30), flaeche).isEmpty());
    QVERIFY(Symbolpositionen(3, QSize(0, 30), flaeche).isEmpty());
    // A symbol wider than the area still gets one per row.
    QCOMPARE(
        Symbolpositionen(2, QSize(300, 30), flaeche), (QList<QPoint> { { 0, 370 }, { 0, 340 } }));
}

void TestBefehle::hilfeindex()
{
    test::TempDir dir;
    const auto schreibe = [&](const char* datei, const char* html) {
        QFile f(dir.file(QString::fromUtf8(datei)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(html);
    };
    schreibe("inhalt.html", "<html><head><title>Inhalt</title></head><body></body></html>");
    schreibe("b.html",
        "<html><head><TITLE>Über Masken</TITLE>"
        "<meta name=\"keywords\" content=\"Maske, Eingabe, Öffnen einer Maske\"></head></html>");
    schreibe("a.html",
        "<html><head><title>Abfragen &amp; Suchen</title>"
        "<meta name=\"keywords\" content=\"Suche, SQL, , Abfrage\"></head></html>");
    schreibe("notiz.txt", "keine Seite");

    const Hilfeindex index = Hilfeindex::lade(dir.path());
    QStringList titel;
    for (const Hilfeseite& s : index.seiten())
        titel.append(s.titel);
    QCOMPARE(titel, (QStringList { "Inhalt", "Abfragen & Suchen", "Über Masken" }));
    QCOMPARE(index.seiten().at(2).stichwoerter,
        (QStringList { "Maske", "Eingabe", "Öffnen einer Maske" }));

    QStringList woerter;
    for (const Hilfestichwort& s : index.stichwoerter())
        woerter.append(s.wort);
    QCOMPARE(woerter,
        (QStringList { "Abfrage", "Abfragen & Suchen", "Eingabe", "Inhalt", "Maske",
            "Öffnen einer Maske", "SQL", "Suche", "Über Masken" }));

    QCOMPARE(
        index.suche(QStringLiteral("  mas")), (QList<Hilfestichwort> { { "Maske", "b.html" } }));
    // Nothing begins with it: the keywords that contain it.
    QCOMPARE(index.suche(QStringLiteral("einer")),
        (QList<Hilfestichwort> { { "Öffnen einer Maske", "b.html" } }));
    QVERIFY(index.suche(QStringLiteral("xyz")).isEmpty());
    QCOMPARE(index.suche(QString()).size(), woerter.size());

    QVERIFY(Hilfeindex::lade(dir.file(QStringLiteral("fehlt"))).seiten().isEmpty());
}

void TestBefehle::hilfeseiteOhneTitel()
{
    const Hilfeseite s
        = Hilfeindex::seiteAusHtml(QStringLiteral("x.html"), QStringLiteral("<p>x</p>"));
    QCOMPARE(s.titel, QStringLiteral("x.html"));
    QVERIFY(s.stichwoerter.isEmpty());
}

QTEST_MAIN(TestBefehle)
#include "tst_frmmain_befehle.moc"
