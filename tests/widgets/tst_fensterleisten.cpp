#include "Leistendefinitionen.h"
#include "testutils/TempDir.h"
#include "widgets/Fensterleisten.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWidgetAction>

using namespace kv;
using test::Tabellenleiste;

namespace {

QStringList gezeigt(const Werkzeugleiste* leiste)
{
    QStringList namen;
    for (QAction* a : leiste->actions()) {
        if (a->isSeparator())
            namen.append(QStringLiteral("-"));
        else if (a->isVisible())
            namen.append(a->objectName());
    }
    return namen;
}

struct Fenster {
    QMainWindow fenster;
    Fensterleisten leisten;

    explicit Fenster(Leistendarstellung d = {})
        : leisten(&fenster, d)
    {
        fenster.setCentralWidget(new QWidget);
        fenster.resize(900, 400);
    }
    /// Shown and active, so that shortcuts reach it.
    bool aktiv()
    {
        fenster.show();
        fenster.activateWindow();
        return QTest::qWaitForWindowActive(&fenster);
    }
};

} // namespace

class TestFensterleisten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modi_data();
    void modi();
    void trennlinien();
    void tastenInQuickinfo();
    void tastenLoesenAus();
    void position_data();
    void position();
    void namenKlein();
    void aendernZurLaufzeit();
    void videoUndStatusleiste();
    void darstellung();
};

void TestFensterleisten::modi_data()
{
    QTest::addColumn<int>("modus");
    QTest::addColumn<QString>("werkzeuge");

    QTest::newRow("0: keine Leiste") << 0 << QString();
    QTest::newRow("1: alle außer Zurück und Vor")
        << 1
        << QStringLiteral(
               "Neu Neukopie Löschen Suchen Kopie DruckenReport DruckenTabelle Schließen");
    QTest::newRow("2: reduziert") << 2
                                  << QStringLiteral("Neu Löschen Suchen DruckenReport Schließen");
    QTest::newRow("3: alle") << 3
                             << QStringLiteral("Zurück Vor Neu Neukopie Löschen Suchen Kopie "
                                               "DruckenReport DruckenTabelle Schließen");
}

void TestFensterleisten::modi()
{
    QFETCH(int, modus);
    QFETCH(QString, werkzeuge);

    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, modus, QStringLiteral("OBEN"));
    f.fenster.show();
    Werkzeugleiste* leiste = f.leisten.funktionsleiste();
    QCOMPARE(leiste->objectName(), QStringLiteral("Maskenfunktionen"));
    QCOMPARE(leiste->isVisible(), modus > 0);
    QStringList namen = gezeigt(leiste);
    namen.removeAll(QStringLiteral("-"));
    QCOMPARE(namen.join(QLatin1Char(' ')), werkzeuge);
}

void TestFensterleisten::trennlinien()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    QCOMPARE(gezeigt(f.leisten.funktionsleiste()).join(QLatin1Char(' ')),
        QStringLiteral("Zurück Vor - Neu Neukopie Löschen - Suchen Kopie DruckenReport "
                       "DruckenTabelle - Schließen"));
}

void TestFensterleisten::tastenInQuickinfo()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("DruckenTabelle"))->toolTip(),
        QStringLiteral("Aktuelle Daten als Tabellendruck ausdrucken (Strg+Umschalt+T)"));
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("Neukopie"))->toolTip(),
        QStringLiteral(
            "Neuen Datensatz als Kopie des aktuellen Datensatzes erzeugen (Umschalt+F9)"));
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("Suchen"))->toolTip(),
        QStringLiteral("Suchfunktionen aufrufen (F3)"));
    // Without a shortcut the tip stays as it is; the status text never carries the keys.
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("Schließen"))->toolTip(),
        QStringLiteral("Arbeitsfenster schließen"));
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("Suchen"))->statusTip(),
        QStringLiteral("Suchfunktionen aufrufen"));

    // A plain tool bar (the main window's) shows no keys unless asked to.
    Werkzeugleiste einfach(QStringLiteral("X"), QString());
    einfach.aufbauen(Tabellenleiste, 3);
    QCOMPARE(einfach.werkzeug(QStringLiteral("Suchen"))->toolTip(),
        QStringLiteral("Suchfunktionen aufrufen"));
    einfach.setzeTastenInQuickinfo(true);
    QCOMPARE(einfach.werkzeug(QStringLiteral("Suchen"))->toolTip(),
        QStringLiteral("Suchfunktionen aufrufen (F3)"));
}

void TestFensterleisten::tastenLoesenAus()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    QSignalSpy klicks(&f.leisten, &Fensterleisten::werkzeugGeklickt);
    QVERIFY(f.aktiv());
    QTest::keyClick(&f.fenster, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&f.fenster, Qt::Key_F9, Qt::ShiftModifier);
    QTest::keyClick(&f.fenster, Qt::Key_Z, Qt::AltModifier);
    QCOMPARE(klicks.count(), 3);
    QCOMPARE(klicks.at(0).at(0).toString(), QStringLiteral("druckentabelle"));
    QCOMPARE(klicks.at(1).at(0).toString(), QStringLiteral("neukopie"));
    QCOMPARE(klicks.at(2).at(0).toString(), QStringLiteral("zurück"));

    // A tool the mode hides takes no shortcut.
    Fenster g;
    g.leisten.aufbauen(Tabellenleiste, 2, QString());
    QSignalSpy andere(&g.leisten, &Fensterleisten::werkzeugGeklickt);
    QVERIFY(g.aktiv());
    QTest::keyClick(&g.fenster, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&g.fenster, Qt::Key_F3);
    QCOMPARE(andere.count(), 1);
    QCOMPARE(andere.at(0).at(0).toString(), QStringLiteral("suchen"));
}

void TestFensterleisten::position_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<Qt::ToolBarArea>("bereich");
    QTest::newRow("UNTEN") << QStringLiteral("UNTEN") << Qt::BottomToolBarArea;
    QTest::newRow("unten") << QStringLiteral("unten") << Qt::BottomToolBarArea;
    QTest::newRow("OBEN") << QStringLiteral("OBEN") << Qt::TopToolBarArea;
    QTest::newRow("leer") << QString() << Qt::TopToolBarArea;
}

void TestFensterleisten::position()
{
    QFETCH(QString, position);
    QFETCH(Qt::ToolBarArea, bereich);
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 1, position);
    QCOMPARE(f.fenster.toolBarArea(f.leisten.funktionsleiste()), bereich);
    QCOMPARE(f.fenster.toolBarArea(f.leisten.videoleiste()), bereich);
}

void TestFensterleisten::namenKlein()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    QSignalSpy klicks(&f.leisten, &Fensterleisten::werkzeugGeklickt);
    for (const char* name : { "Zurück", "Löschen", "Schließen", "DruckenReport" })
        f.leisten.werkzeug(QString::fromUtf8(name))->trigger();
    QStringList namen;
    for (const QList<QVariant>& k : std::as_const(klicks))
        namen.append(k.at(0).toString());
    QCOMPARE(namen,
        (QStringList { QStringLiteral("zurück"), QStringLiteral("löschen"),
            QStringLiteral("schließen"), QStringLiteral("druckenreport") }));
}

void TestFensterleisten::aendernZurLaufzeit()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    // While a record is added, "Neu" saves and "Schließen" cancels.
    QVERIFY(f.leisten.setzeText(QStringLiteral("neu"), QStringLiteral("Speichern")));
    QVERIFY(f.leisten.setzeTooltip(
        QStringLiteral("Neu"), QStringLiteral("Speichert den neuen Datensatz")));
    QVERIFY(f.leisten.setzeText(QStringLiteral("schließen"), QStringLiteral("Abbruch")));
    QVERIFY(f.leisten.setzeTooltip(
        QStringLiteral("Schließen"), QStringLiteral("Eingabe abbrechen ohne Speicherung")));
    QVERIFY(f.leisten.setzeAktiv(QStringLiteral("löschen"), false));
    QAction* neu = f.leisten.werkzeug(QStringLiteral("Neu"));
    QCOMPARE(neu->text(), QStringLiteral("Speichern"));
    QCOMPARE(neu->toolTip(), QStringLiteral("Speichert den neuen Datensatz (F9)"));
    QCOMPARE(neu->statusTip(), QStringLiteral("Speichert den neuen Datensatz"));
    QCOMPARE(f.leisten.werkzeug(QStringLiteral("Schließen"))->toolTip(),
        QStringLiteral("Eingabe abbrechen ohne Speicherung"));
    QVERIFY(!f.leisten.werkzeug(QStringLiteral("Löschen"))->isEnabled());
    // The renamed tool still reports its name.
    QSignalSpy klicks(&f.leisten, &Fensterleisten::werkzeugGeklickt);
    neu->trigger();
    QCOMPARE(klicks.at(0).at(0).toString(), QStringLiteral("neu"));

    QVERIFY(!f.leisten.setzeText(QStringLiteral("Gibtsnicht"), QStringLiteral("x")));
    QVERIFY(!f.leisten.setzeAktiv(QStringLiteral("Gibtsnicht"), true));
    QVERIFY(!f.leisten.werkzeug(QStringLiteral("Gibtsnicht")));
}

void TestFensterleisten::videoUndStatusleiste()
{
    Fenster f;
    f.leisten.aufbauen(Tabellenleiste, 1, QString());
    f.fenster.show();
    QToolBar* video = f.leisten.videoleiste();
    QCOMPARE(video->objectName(), QStringLiteral("Videoleiste"));
    auto* tool = video->findChild<QWidgetAction*>(QStringLiteral("Video"));
    QVERIFY(tool);
    QCOMPARE(tool->defaultWidget(), f.leisten.navigation());
    QVERIFY(video->isVisible());
    QVERIFY(f.leisten.navigation()->isVisible());

    f.leisten.setzeNavigationsmodus(0);
    QVERIFY(!video->isVisible());
    f.leisten.setzeNavigationsmodus(2);
    QVERIFY(video->isVisible());
    QVERIFY(!f.leisten.navigation()->knopf(Navigationsschritt::SeiteVor)->isVisible());
    QVERIFY(f.leisten.navigation()->knopf(Navigationsschritt::Vor)->isVisible());

    QStatusBar* status = f.leisten.statusleiste();
    QCOMPARE(status->objectName(), QStringLiteral("Statusleiste"));
    QCOMPARE(f.fenster.statusBar(), status);
    QVERIFY(!status->isVisible());
    f.leisten.setzeStatuszeile(true);
    QVERIFY(status->isVisible());
    f.leisten.setzeHilfstext(QStringLiteral("Eingabe Spalte: Name Datenfeld: Name"));
    auto* hilfstext = status->findChild<QLabel*>(QStringLiteral("Hilfstext"));
    QVERIFY(hilfstext && hilfstext->isVisible());
    QCOMPARE(hilfstext->text(), QStringLiteral("Eingabe Spalte: Name Datenfeld: Name"));
    QCOMPARE(f.leisten.hilfstext(), hilfstext->text());
}

void TestFensterleisten::darstellung()
{
    test::TempDir dir;
    for (const char* datei : { "Neu16.ico", "Neu32.ico" }) {
        QImage bild(16, 16, QImage::Format_ARGB32);
        bild.fill(Qt::green);
        QVERIFY(bild.save(dir.file(QString::fromLatin1(datei)), "PNG"));
    }
    Leistendarstellung d;
    d.kleineSymbole = false;
    d.textanzeige = 4;
    d.grafikverzeichnis = dir.path();
    d.schrift = QFont(QStringLiteral("DejaVu Sans"), 13);
    Fenster f(d);
    f.leisten.aufbauen(Tabellenleiste, 3, QString());
    Werkzeugleiste* leiste = f.leisten.funktionsleiste();
    QCOMPARE(leiste->iconSize(), QSize(32, 32));
    QCOMPARE(leiste->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(leiste->font().pointSize(), 13);
    QCOMPARE(f.leisten.videoleiste()->font().pointSize(), 13);
    QVERIFY(!f.leisten.werkzeug(QStringLiteral("Neu"))->icon().isNull());
    QVERIFY(f.leisten.werkzeug(QStringLiteral("Suchen"))->icon().isNull());

    d.kleineSymbole = true;
    d.textanzeige = 0;
    Fenster g(d);
    g.leisten.aufbauen(Tabellenleiste, 3, QString());
    QCOMPARE(g.leisten.funktionsleiste()->iconSize(), QSize(16, 16));
    QCOMPARE(g.leisten.funktionsleiste()->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

QTEST_MAIN(TestFensterleisten)
#include "tst_fensterleisten.moc"
