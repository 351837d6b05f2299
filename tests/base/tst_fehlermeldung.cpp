#include "base/Fehlermeldung.h"
#include "testutils/ScriptedDialoge.h"

#include <QTest>

using namespace kv;

class TestFehlermeldung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void texte_data()
    {
        QTest::addColumn<QString>("objekt");
        QTest::addColumn<int>("kennung");
        QTest::addColumn<QString>("erwartet");

        QTest::newRow("Nr") << QString() << int(Fehlerkennung::Nr)
                            << QStringLiteral("Fehler beim Sortieren!\n\nNr: 3061\n"
                                              "Beschreibung: Zu wenige Parameter.");
        QTest::newRow("Fehler") << QString() << int(Fehlerkennung::Fehler)
                                << QStringLiteral("Fehler beim Sortieren!\n\nFehler: 3061\n"
                                                  "Beschreibung: Zu wenige Parameter.");
        QTest::newRow("kompakt mit Pfad")
            << QStringLiteral("/daten/Kunden.mdb") << int(Fehlerkennung::FehlerKompakt)
            << QStringLiteral("Fehler beim Sortieren!\n\n/daten/Kunden.mdb\n\nFehler:3061\n"
                              "Beschreibung: Zu wenige Parameter.");
    }

    void texte()
    {
        QFETCH(QString, objekt);
        QFETCH(int, kennung);
        QFETCH(QString, erwartet);
        const auto k = static_cast<Fehlerkennung>(kennung);
        const QString satz = QStringLiteral("Fehler beim Sortieren!");
        const QString beschreibung = QStringLiteral("Zu wenige Parameter.");
        const QString text = objekt.isNull() ? fehlermeldung(satz, 3061, beschreibung, k)
                                             : fehlermeldung(satz, objekt, 3061, beschreibung, k);
        QCOMPARE(text, erwartet);
    }

    void zeigtOkMeldung()
    {
        test::ScriptedDialoge d;
        zeigeFehler(QStringLiteral("Fehler bei der Reparatur von:"), QStringLiteral("a.mdb"), -1,
            QStringLiteral("kaputt"), Fehlerkennung::Fehler);
        QCOMPARE(d.meldungen().size(), 1);
        QCOMPARE(d.letzteMeldung().knoepfe, Knoepfe::Ok);
        QCOMPARE(d.letzteMeldung().text,
            QStringLiteral(
                "Fehler bei der Reparatur von:\n\na.mdb\n\nFehler: -1\nBeschreibung: kaputt"));
    }
};

QTEST_GUILESS_MAIN(TestFehlermeldung)
#include "tst_fehlermeldung.moc"
