#include "widgets/Navigationsleiste.h"

#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kv;

Q_DECLARE_METATYPE(kv::Navigationsschritt)

class TestNavigationsleiste : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ziel_data();
    void ziel();
    void positionstext();
    void modi_data();
    void modi();
    void knoepfeMelden();
    void gesperrteAnsicht();
    void textfeldSchneidetNichts();
};

void TestNavigationsleiste::ziel_data()
{
    QTest::addColumn<Navigationsschritt>("schritt");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("anzahl");
    QTest::addColumn<qint64>("ziel");

    using S = Navigationsschritt;
    QTest::newRow("vor") << S::Vor << qint64(3) << qint64(10) << qint64(4);
    QTest::newRow("vor am Ende bleibt") << S::Vor << qint64(9) << qint64(10) << qint64(9);
    QTest::newRow("zurück") << S::Zurueck << qint64(3) << qint64(10) << qint64(2);
    QTest::newRow("zurück am Anfang bleibt") << S::Zurueck << qint64(0) << qint64(10) << qint64(0);
    QTest::newRow("erster") << S::Erster << qint64(7) << qint64(10) << qint64(0);
    QTest::newRow("letzter") << S::Letzter << qint64(2) << qint64(10) << qint64(9);
    QTest::newRow("Seite vor") << S::SeiteVor << qint64(2) << qint64(10) << qint64(6);
    QTest::newRow("Seite vor über das Ende") << S::SeiteVor << qint64(8) << qint64(10) << qint64(9);
    QTest::newRow("Seite zurück über den Anfang")
        << S::SeiteZurueck << qint64(2) << qint64(10) << qint64(0);
    QTest::newRow("leere Menge") << S::Vor << qint64(-1) << qint64(0) << qint64(-1);
    QTest::newRow("ohne Position zum ersten") << S::Vor << qint64(-1) << qint64(5) << qint64(0);
    QTest::newRow("ohne Position zum letzten")
        << S::Letzter << qint64(-1) << qint64(5) << qint64(4);
    // From behind the last record (the add-new row) back onto it.
    QTest::newRow("hinter dem Ende") << S::Vor << qint64(5) << qint64(5) << qint64(4);
}

void TestNavigationsleiste::ziel()
{
    QFETCH(Navigationsschritt, schritt);
    QFETCH(qint64, position);
    QFETCH(qint64, anzahl);
    QFETCH(qint64, ziel);
    QCOMPARE(Navigationsziel(schritt, position, anzahl, 4), ziel);
}

void TestNavigationsleiste::positionstext()
{
    QCOMPARE(Positionstext(2, 10), QStringLiteral("Datensatz: 3 von 10"));
    QCOMPARE(Positionstext(-1, 0), QStringLiteral("Datensatz: 0 von 0"));
    Navigationsleiste leiste;
    leiste.setzeText(Positionstext(0, 1));
    QCOMPARE(leiste.text(), QStringLiteral("Datensatz: 1 von 1"));
}

void TestNavigationsleiste::modi_data()
{
    QTest::addColumn<int>("modus");
    QTest::addColumn<bool>("sichtbar");
    QTest::addColumn<QString>("knoepfe"); // the buttons shown, in order

    const QString alle = QStringLiteral(
        "Erster SeiteZurueck Zurueck Vor SeiteVor Letzter Neu Loeschen Speichern Abbrechen");
    QTest::newRow("0: versteckt") << 0 << false << QString();
    QTest::newRow("1: voll") << 1 << true << alle;
    QTest::newRow("2: reduziert") << 2 << true
                                  << QStringLiteral(
                                         "Erster Zurueck Vor Letzter Speichern Abbrechen");
    QTest::newRow("unbekannt wie 1") << 7 << true << alle;
}

void TestNavigationsleiste::modi()
{
    QFETCH(int, modus);
    QFETCH(bool, sichtbar);
    QFETCH(QString, knoepfe);

    QWidget fenster;
    auto* leiste = new Navigationsleiste(&fenster);
    leiste->setzeModus(modus);
    fenster.show();
    QCOMPARE(leiste->isVisible(), sichtbar);
    QCOMPARE(leiste->modus(), modus == 7 ? 1 : modus);
    if (!sichtbar) {
        // Switched on again, the bar comes back.
        leiste->setzeModus(1);
        QVERIFY(leiste->isVisible());
        return;
    }
    QStringList gezeigt;
    for (QToolButton* k : leiste->findChildren<QToolButton*>()) {
        if (k->isVisible())
            gezeigt.append(k->objectName());
    }
    QCOMPARE(gezeigt.join(QLatin1Char(' ')), knoepfe);
}

void TestNavigationsleiste::knoepfeMelden()
{
    Navigationsleiste leiste;
    QSignalSpy schritte(&leiste, &Navigationsleiste::schritt);
    QSignalSpy befehle(&leiste, &Navigationsleiste::befehl);
    leiste.knopf(Navigationsschritt::Letzter)->click();
    leiste.knopf(Navigationsschritt::Zurueck)->click();
    leiste.knopf(Navigationsbefehl::Speichern)->click();
    QCOMPARE(schritte.count(), 2);
    QCOMPARE(schritte.at(0).at(0).value<Navigationsschritt>(), Navigationsschritt::Letzter);
    QCOMPARE(schritte.at(1).at(0).value<Navigationsschritt>(), Navigationsschritt::Zurueck);
    QCOMPARE(befehle.count(), 1);
    QCOMPARE(befehle.at(0).at(0).value<Navigationsbefehl>(), Navigationsbefehl::Speichern);
    QCOMPARE(
        leiste.knopf(Navigationsschritt::Erster)->toolTip(), QStringLiteral("Erster Datensatz"));
}

void TestNavigationsleiste::gesperrteAnsicht()
{
    Navigationsleiste leiste;
    leiste.setzeBearbeitbar(false);
    QVERIFY(!leiste.bearbeitbar());
    for (auto b : { Navigationsbefehl::Neu, Navigationsbefehl::Loeschen,
             Navigationsbefehl::Speichern, Navigationsbefehl::Abbrechen })
        QVERIFY(!leiste.knopf(b)->isEnabled());
    // Moving still works.
    QVERIFY(leiste.knopf(Navigationsschritt::Vor)->isEnabled());
    QSignalSpy befehle(&leiste, &Navigationsleiste::befehl);
    leiste.knopf(Navigationsbefehl::Neu)->click();
    QCOMPARE(befehle.count(), 0);
    leiste.setzeBearbeitbar(true);
    QVERIFY(leiste.knopf(Navigationsbefehl::Loeschen)->isEnabled());
}

void TestNavigationsleiste::textfeldSchneidetNichts()
{
    // As the windows place it: beside a tool bar that wants the whole row.
    QMainWindow fenster;
    auto* werkzeuge = new QToolBar(&fenster);
    for (int i = 0; i < 40; ++i)
        werkzeuge->addAction(QStringLiteral("Werkzeug %1").arg(i));
    fenster.addToolBar(Qt::BottomToolBarArea, werkzeuge);
    auto* band = new QToolBar(&fenster);
    fenster.addToolBar(Qt::BottomToolBarArea, band);
    auto* leiste = new Navigationsleiste(band);
    band->addWidget(leiste);
    fenster.resize(700, 300);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    QLabel* feld = leiste->textfeld();
    const auto passt = [feld](const QString& text) {
        QCoreApplication::processEvents();
        return feld->contentsRect().width() >= feld->fontMetrics().horizontalAdvance(text);
    };

    leiste->setzePositionsbreite(1000000);
    leiste->setzeText(Positionstext(0, 1000000));
    QVERIFY(passt(QStringLiteral("Datensatz: 1 von 1000000")));
    const int breite = feld->width();
    // Moving keeps the width, also to the widest positions.
    for (const qint64 position : { qint64(999998), qint64(888887), qint64(5) }) {
        leiste->setzePositionsbreite(1000000);
        leiste->setzeText(Positionstext(position, 1000000));
        QVERIFY(passt(leiste->text()));
        QCOMPARE(feld->width(), breite);
    }

    // Fewer records need less room.
    leiste->setzePositionsbreite(12);
    leiste->setzeText(Positionstext(11, 12));
    QVERIFY(passt(leiste->text()));
    QVERIFY(feld->minimumWidth() < breite);

    // A field's values widen the field, which stays so for shorter ones.
    const QString lang = QStringLiteral("Gesellschaft für Wohnungsbau und Stadtentwicklung");
    leiste->setzeText(lang);
    QVERIFY(passt(lang));
    const int feldbreite = feld->width();
    leiste->setzeText(QStringLiteral("Maier"));
    QCoreApplication::processEvents();
    QCOMPARE(feld->width(), feldbreite);
}

QTEST_MAIN(TestNavigationsleiste)
#include "tst_navigationsleiste.moc"
