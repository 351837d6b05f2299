#include "shell/Einstellungen.h"
#include "shell/Fenstergeometrie.h"
#include "shell/StartEinstellungen.h"
#include "shell/ui/Fensterzustand.h"
#include "testutils/TempDir.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace kv;

class TestFenstergeometrie : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void text_data();
    void text();
    void twips();

    void fensterHinUndZurueck();
    void minimiertWirdNichtGespeichert();
    void maximiert();
    void ohneWertZentriertImHauptfenster();
    void mdiKind();
    void hauptfenster();

private:
    test::TempDir m_ordner;
};

void TestFenstergeometrie::initTestCase()
{
    Einstellungen::setzeSpeicherordner(m_ordner.path());
}

void TestFenstergeometrie::cleanupTestCase()
{
    Einstellungen::setzeSpeicherordner(QString());
}

void TestFenstergeometrie::init()
{
    Einstellungen().loesche(AbschnittSettings);
}

void TestFenstergeometrie::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<bool>("maximiert");
    QTest::addColumn<QString>("neu"); // as written again
    QTest::newRow("normal") << "120;240;6000;4500" << true << false << "120;240;6000;4500";
    QTest::newRow("maximiert") << "0; 0 ;6000;4500;1" << true << true << "0;0;6000;4500;1";
    QTest::newRow("fünftes leer") << "-30;-45;6000;4500;" << true << false << "-30;-45;6000;4500";
    QTest::newRow("leer") << "" << false << false << "";
    QTest::newRow("drei Zahlen") << "1;2;3" << false << false << "";
    QTest::newRow("keine Zahl") << "1;2;breit;4" << false << false << "";
    QTest::newRow("Größe 0") << "1;2;0;4" << false << false << "";
}

void TestFenstergeometrie::text()
{
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    const auto g = Fenstergeometrie::ausText(text);
    QCOMPARE(g.has_value(), gueltig);
    if (g) {
        QTEST(g->maximiert, "maximiert");
        QTEST(g->text(), "neu");
    }
}

void TestFenstergeometrie::twips()
{
    QCOMPARE(pixelZuTwips(96, 96), 1440);
    QCOMPARE(twipsZuPixel(1440, 96), 96);
    QCOMPARE(pixelZuTwips(1, 96), 15);
    QCOMPARE(twipsZuPixel(4500, 120), 375);
    QCOMPARE(twipsZuPixel(-150, 96), -10);
}

void TestFenstergeometrie::fensterHinUndZurueck()
{
    QWidget fenster;
    fenster.setObjectName(QStringLiteral("frmTabelle"));
    fenster.move(40, 60);
    fenster.resize(400, 300);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    FenstergeometrieSpeichern(&fenster);

    const int dpiX = fenster.logicalDpiX();
    const int dpiY = fenster.logicalDpiY();
    const QString erwartet = QStringLiteral("%1;%2;%3;%4")
                                 .arg(pixelZuTwips(fenster.x(), dpiX))
                                 .arg(pixelZuTwips(fenster.y(), dpiY))
                                 .arg(pixelZuTwips(400, dpiX))
                                 .arg(pixelZuTwips(300, dpiY));
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("frmTabelle")), erwartet);

    QWidget neu;
    neu.setObjectName(QStringLiteral("frmTabelle"));
    FenstergeometrieWiederherstellen(&neu, false);
    QCOMPARE(neu.pos(), fenster.pos());
    QCOMPARE(neu.size(), QSize(400, 300));

    // A window without a stored value and without centring stays as it is.
    QWidget anders;
    anders.setObjectName(QStringLiteral("frmAnders"));
    anders.move(7, 9);
    anders.resize(123, 45);
    FenstergeometrieWiederherstellen(&anders, false);
    QCOMPARE(anders.pos(), QPoint(7, 9));
    QCOMPARE(anders.size(), QSize(123, 45));
}

void TestFenstergeometrie::minimiertWirdNichtGespeichert()
{
    QWidget fenster;
    fenster.setObjectName(QStringLiteral("frmMaske"));
    fenster.resize(200, 100);
    fenster.setWindowState(Qt::WindowMinimized);
    fenster.show();
    FenstergeometrieSpeichern(&fenster);
    QVERIFY(!Einstellungen().enthaelt(AbschnittSettings, QStringLiteral("frmMaske")));

    // Nor is a window without a name.
    QWidget ohneName;
    FenstergeometrieSpeichern(&ohneName);
    QVERIFY(Einstellungen().leseAbschnitt(AbschnittSettings).isEmpty());
}

void TestFenstergeometrie::maximiert()
{
    Einstellungen().schreibe(
        AbschnittSettings, QStringLiteral("frmAbfrage"), QStringLiteral("1440;1440;7200;4320;1"));
    QWidget fenster;
    fenster.setObjectName(QStringLiteral("frmAbfrage"));
    FenstergeometrieWiederherstellen(&fenster, true);
    QVERIFY(fenster.windowState() & Qt::WindowMaximized);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));
    FenstergeometrieSpeichern(&fenster);
    QVERIFY(Einstellungen().lese(AbschnittSettings, QStringLiteral("frmAbfrage")).endsWith(";1"));
}

void TestFenstergeometrie::ohneWertZentriertImHauptfenster()
{
    QMainWindow haupt;
    haupt.setCentralWidget(new QWidget);
    haupt.move(100, 50);
    haupt.resize(800, 600);
    haupt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&haupt));

    QWidget dialog(&haupt, Qt::Dialog);
    dialog.setObjectName(QStringLiteral("frmSortierung"));
    dialog.resize(200, 100);
    FenstergeometrieWiederherstellen(&dialog, true);
    const QWidget* c = haupt.centralWidget();
    const QRect bereich(c->mapToGlobal(QPoint(0, 0)), c->size());
    QVERIFY(
        (QRect(dialog.pos(), dialog.size()).center() - bereich.center()).manhattanLength() <= 2);
}

void TestFenstergeometrie::mdiKind()
{
    QMainWindow haupt;
    auto* mdi = new QMdiArea;
    haupt.setCentralWidget(mdi);
    haupt.resize(900, 700);
    haupt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&haupt));

    auto* kind = new QWidget;
    kind->setObjectName(QStringLiteral("frmMaske"));
    QMdiSubWindow* sub = mdi->addSubWindow(kind);
    sub->resize(300, 200);
    FenstergeometrieWiederherstellen(kind, true);
    const QRect bereich = mdi->viewport()->rect();
    QVERIFY((sub->geometry().center() - bereich.center()).manhattanLength() <= 2);

    sub->show();
    sub->move(30, 45);
    FenstergeometrieSpeichern(kind);
    const auto g = Fenstergeometrie::ausText(
        Einstellungen().lese(AbschnittSettings, QStringLiteral("frmMaske")));
    QVERIFY(g);
    QCOMPARE(twipsZuPixel(g->links, sub->logicalDpiX()), 30);
    QCOMPARE(twipsZuPixel(g->breite, sub->logicalDpiX()), 300);

    auto* zweites = new QWidget;
    zweites->setObjectName(QStringLiteral("frmMaske"));
    QMdiSubWindow* sub2 = mdi->addSubWindow(zweites);
    FenstergeometrieWiederherstellen(zweites, false);
    QCOMPARE(sub2->geometry(), QRect(30, 45, 300, 200));
}

void TestFenstergeometrie::hauptfenster()
{
    QMainWindow haupt;
    haupt.move(10, 20);
    haupt.resize(640, 480);
    StartEinstellungen werte;
    werte.mainState = 0;
    werte.mainLeft = pixelZuTwips(50, haupt.logicalDpiX());
    werte.mainWidth = pixelZuTwips(700, haupt.logicalDpiX());
    HauptfensterzustandAnwenden(&haupt, werte);
    QCOMPARE(haupt.pos(), QPoint(50, 20));
    QCOMPARE(haupt.size(), QSize(700, 480));

    // Closed minimised: the designed geometry stays.
    werte.mainState = 1;
    werte.mainLeft = 0;
    HauptfensterzustandAnwenden(&haupt, werte);
    QCOMPARE(haupt.pos(), QPoint(50, 20));

    Einstellungen e;
    haupt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&haupt));
    HauptfensterzustandSpeichern(&haupt, e);
    const StartEinstellungen gelesen = StartEinstellungen::lade(e);
    QCOMPARE(gelesen.mainState, 0);
    QCOMPARE(gelesen.mainWidth, std::optional<int>(pixelZuTwips(700, haupt.logicalDpiX())));
    QCOMPARE(gelesen.mainLeft, std::optional<int>(pixelZuTwips(haupt.x(), haupt.logicalDpiX())));

    werte.mainState = 2;
    HauptfensterzustandAnwenden(&haupt, werte);
    QVERIFY(haupt.isMaximized());
    HauptfensterzustandSpeichern(&haupt, e);
    QCOMPARE(e.lese(AbschnittSettings, QStringLiteral("MainState")), QStringLiteral("2"));
}

QTEST_MAIN(TestFenstergeometrie)
#include "tst_fenstergeometrie.moc"
