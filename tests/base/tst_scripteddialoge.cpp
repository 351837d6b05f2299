#include "testutils/ScriptedDialoge.h"

#include <QTest>

using namespace kv;
using kv::test::ScriptedDialoge;

class TestScriptedDialoge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void installiertUndStelltZurueck()
    {
        ScriptedDialoge aussen;
        {
            ScriptedDialoge innen;
            QCOMPARE(&Dialoge::aktuell(), static_cast<Dialoge*>(&innen));
            zeigeMeldung(QStringLiteral("innen"));
        }
        QCOMPARE(&Dialoge::aktuell(), static_cast<Dialoge*>(&aussen));
        QVERIFY(aussen.meldungen().isEmpty());
    }

    void zeichnetAufUndAntwortet()
    {
        ScriptedDialoge d;
        d.erwarteAntwort(Antwort::Ja);
        d.erwarteEingabe(QStringLiteral("Kunden"));
        d.erwarteEingabe(std::nullopt);
        d.erwarteDatei(DateiDialogErgebnis { false, QStringLiteral("/tmp/a.mdb"), 2, true });

        // The OK message in between must not eat the answer queued for the question.
        QCOMPARE(zeigeMeldung(QStringLiteral("Hinweis")), Antwort::Ok);
        QCOMPARE(zeigeMeldung(QStringLiteral("Löschen?"), QStringLiteral("Kelvado"),
                     Knoepfe::JaNein, Symbol::Frage, 2),
            Antwort::Ja);
        QCOMPARE(d.eingabe(QStringLiteral("Name:"), QStringLiteral("T"), QStringLiteral("v")),
            std::optional<QString>(QStringLiteral("Kunden")));
        QCOMPARE(d.eingabe(QStringLiteral("Noch einer:"), QString(), QString()), std::nullopt);
        DateiDialogOptionen o;
        o.titel = QStringLiteral("Öffnen");
        const DateiDialogErgebnis e = d.dateiDialog(o);
        QVERIFY(!e.abgebrochen);
        QCOMPARE(e.pfad, QStringLiteral("/tmp/a.mdb"));
        QCOMPARE(e.filterIndex, 2);
        QVERIFY(e.schreibgeschuetzt);

        QVERIFY(d.leer());
        QCOMPARE(d.fehler(), 0);
        QCOMPARE(d.texte(), QStringList({ QStringLiteral("Hinweis"), QStringLiteral("Löschen?") }));
        const Meldung m = d.letzteMeldung();
        QCOMPARE(m.titel, QStringLiteral("Kelvado"));
        QCOMPARE(m.knoepfe, Knoepfe::JaNein);
        QCOMPARE(m.symbol, Symbol::Frage);
        QCOMPARE(m.standardKnopf, 2);
        QCOMPARE(d.eingaben().size(), 2);
        QCOMPARE(d.eingaben().first().vorgabe, QStringLiteral("v"));
        QCOMPARE(d.dateiDialoge().size(), 1);
        QCOMPARE(d.dateiDialoge().first().titel, QStringLiteral("Öffnen"));

        d.vergiss();
        QVERIFY(d.meldungen().isEmpty());
        QCOMPARE(d.letzteMeldung().text, QString());
    }

    void okNimmtNurEinVorbereitetesOk()
    {
        ScriptedDialoge d;
        d.erwarteAntwort(Antwort::Ok);
        zeigeMeldung(QStringLiteral("Fertig"));
        QVERIFY(d.leer());
    }

    void unbeantworteteFragenScheitern()
    {
        ScriptedDialoge d;
        d.nurZaehlen(true);
        QCOMPARE(zeigeMeldung(QStringLiteral("?"), QString(), Knoepfe::JaNein), Antwort::Nein);
        QCOMPARE(
            zeigeMeldung(QStringLiteral("?"), QString(), Knoepfe::OkAbbrechen), Antwort::Abbrechen);
        QCOMPARE(zeigeMeldung(QStringLiteral("?"), QString(), Knoepfe::JaNeinAbbrechen),
            Antwort::Abbrechen);
        QCOMPARE(d.eingabe(QStringLiteral("?"), QString(), QString()), std::nullopt);
        QVERIFY(d.dateiDialog(DateiDialogOptionen {}).abgebrochen);
        // An answer that is not one of the buttons is a scripting mistake as well.
        d.erwarteAntwort(Antwort::Ok);
        QCOMPARE(zeigeMeldung(QStringLiteral("?"), QString(), Knoepfe::JaNein), Antwort::Nein);
        QCOMPARE(d.fehler(), 6);
        QVERIFY(d.leer());
    }

    void unbeantworteteFrageLaesstDenTestScheitern()
    {
        ScriptedDialoge d;
        QEXPECT_FAIL("", "a question without a queued answer must fail the test", Abort);
        zeigeMeldung(QStringLiteral("Wirklich?"), QString(), Knoepfe::JaNein);
    }
};

QTEST_GUILESS_MAIN(TestScriptedDialoge)
#include "tst_scripteddialoge.moc"
