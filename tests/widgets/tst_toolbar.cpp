#include "Leistendefinitionen.h"
#include "testutils/TempDir.h"
#include "widgets/Symboldatei.h"
#include "widgets/Werkzeugdefinition.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kv;
using test::Maskenleiste;

Q_DECLARE_METATYPE(QList<kv::Werkzeug>)

namespace {

Werkzeug w(const char* name, const char* text, const char* symbol, const char* tip,
    QStringList kuerzel = {}, const char* modi = "")
{
    return { QString::fromUtf8(name), QString::fromUtf8(text), QString::fromUtf8(symbol),
        QString::fromUtf8(tip), std::move(kuerzel), QString::fromUtf8(modi), false };
}

Werkzeug trenner()
{
    Werkzeug t;
    t.trennlinie = true;
    return t;
}

QStringList sichtbareNamen(const Werkzeugleiste& leiste)
{
    QStringList namen;
    for (QAction* a : leiste.actions()) {
        if (!a->isSeparator() && a->isVisible())
            namen.append(a->objectName());
    }
    return namen;
}

void schreibeBild(const QString& pfad, int groesse)
{
    QImage bild(groesse, groesse, QImage::Format_ARGB32);
    bild.fill(Qt::red);
    QVERIFY(bild.save(pfad, "PNG"));
}

} // namespace

class TestToolbar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void zerlegen_data();
    void zerlegen();
    void maskenleisteVollstaendig();
    void modi_data();
    void modi();
    void tasten_data();
    void tasten();
    void leisteNachModus_data();
    void leisteNachModus();
    void klickMeldetNamen();
    void textanzeigeUndPosition();
    void symboldatei_data();
    void symboldatei();
    void symboleZuweisen();
    void popupAuswahl();
};

void TestToolbar::zerlegen_data()
{
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QList<Werkzeug>>("erwartet");

    QTest::newRow("leer") << QString() << QList<Werkzeug> {};
    QTest::newRow("nur Trenner") << QStringLiteral("||") << QList<Werkzeug> {};
    QTest::newRow("ein Werkzeug vollständig")
        << QStringLiteral("Kopie;&Kopie;Zwischenablage;In die Zwischenablage;Alt+K;13")
        << QList<Werkzeug> { w(
               "Kopie", "&Kopie", "Zwischenablage", "In die Zwischenablage", { "Alt+K" }, "13") };
    QTest::newRow("kurzer Eintrag")
        << QStringLiteral("Neu") << QList<Werkzeug> { w("Neu", "", "", "") };
    QTest::newRow("Trenner zwischen, am Ende weg") << QStringLiteral(
        "A;a;;;| |B;b|") << QList<Werkzeug> { w("A", "a", "", ""), trenner(), w("B", "b", "", "") };
    QTest::newRow("Trenner am Anfang bleibt")
        << QStringLiteral("|A") << QList<Werkzeug> { trenner(), w("A", "", "", "") };
    QTest::newRow("Leerzeichen und mehrere Tasten")
        << QStringLiteral(" Neu ; &Neu ; Neu ; Neuer Satz ; F9 , Shift+F9 ; 12 ")
        << QList<Werkzeug> { w("Neu", "&Neu", "Neu", "Neuer Satz", { "F9", "Shift+F9" }, "12") };
}

void TestToolbar::zerlegen()
{
    QFETCH(QString, definition);
    QFETCH(QList<Werkzeug>, erwartet);
    QCOMPARE(WerkzeugeAusDefinition(definition), erwartet);
}

void TestToolbar::maskenleisteVollstaendig()
{
    const QList<Werkzeug> werkzeuge = WerkzeugeAusDefinition(Maskenleiste);
    QStringList namen;
    for (const Werkzeug& x : werkzeuge)
        namen.append(x.trennlinie ? QStringLiteral("-") : x.name);
    QCOMPARE(namen.join(QLatin1Char(' ')),
        QStringLiteral("Zurück Vor - Neu Neukopie Löschen - Suchen Kopie DruckenReport "
                       "DruckenMaske - Schließen"));
    QCOMPARE(werkzeuge.at(10).tastenkuerzel, QStringList { QStringLiteral("Control+Shift+M") });
    QCOMPARE(werkzeuge.at(4).tooltip,
        QStringLiteral("Neuen Datensatz als Kopie des aktuellen Datensatzes erzeugen"));
}

void TestToolbar::modi_data()
{
    QTest::addColumn<QString>("modi");
    QTest::addColumn<QString>("sichtbarIn"); // modes 0..3 that show the tool

    QTest::newRow("leer: jeder Modus außer 0") << QString() << QStringLiteral("123");
    QTest::newRow("nur 3") << QStringLiteral("3") << QStringLiteral("3");
    QTest::newRow("1 und 3") << QStringLiteral("13") << QStringLiteral("13");
}

void TestToolbar::modi()
{
    QFETCH(QString, modi);
    QFETCH(QString, sichtbarIn);
    Werkzeug x;
    x.name = QStringLiteral("X");
    x.modi = modi;
    QString ist;
    for (int modus = 0; modus <= 3; ++modus) {
        if (x.sichtbarImModus(modus))
            ist += QString::number(modus);
    }
    QCOMPARE(ist, sichtbarIn);
}

void TestToolbar::tasten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("folge");
    QTest::addColumn<QString>("anzeige");

    QTest::newRow("Control") << QStringLiteral("Control+Shift+T")
                             << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)
                             << QStringLiteral("Strg+Umschalt+T");
    QTest::newRow("Alt+Delete") << QStringLiteral("Alt+Delete")
                                << QKeySequence(Qt::ALT | Qt::Key_Delete)
                                << QStringLiteral("Alt+Del");
    QTest::newRow("Funktionstaste")
        << QStringLiteral("F3") << QKeySequence(Qt::Key_F3) << QStringLiteral("F3");
    QTest::newRow("deutsche Namen")
        << QStringLiteral("Strg+Umschalt+K") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)
        << QStringLiteral("Strg+Umschalt+K");
    QTest::newRow("unbekannte Taste")
        << QStringLiteral("Alt+Gibtsnicht") << QKeySequence() << QString();
    QTest::newRow("leer") << QString() << QKeySequence() << QString();
}

void TestToolbar::tasten()
{
    QFETCH(QString, text);
    QFETCH(QKeySequence, folge);
    QFETCH(QString, anzeige);
    QCOMPARE(Tastenfolge(text), folge);
    QCOMPARE(Tastentext(Tastenfolge(text)), anzeige);
}

void TestToolbar::leisteNachModus_data()
{
    QTest::addColumn<int>("modus");
    QTest::addColumn<bool>("leisteSichtbar");
    QTest::addColumn<QString>("werkzeuge");

    QTest::newRow("0: keine Leiste") << 0 << false << QString();
    QTest::newRow("1: ohne Zurück und Vor")
        << 1 << true
        << QStringLiteral("Neu Neukopie Löschen Suchen Kopie DruckenReport DruckenMaske Schließen");
    QTest::newRow("2: reduziert") << 2 << true
                                  << QStringLiteral("Neu Löschen Suchen DruckenReport Schließen");
    QTest::newRow("3: alle") << 3 << true
                             << QStringLiteral("Zurück Vor Neu Neukopie Löschen Suchen Kopie "
                                               "DruckenReport DruckenMaske Schließen");
}

void TestToolbar::leisteNachModus()
{
    QFETCH(int, modus);
    QFETCH(bool, leisteSichtbar);
    QFETCH(QString, werkzeuge);

    QWidget fenster;
    Werkzeugleiste leiste(
        QStringLiteral("Maskenfunktionen"), QStringLiteral("Funktionen"), &fenster);
    leiste.aufbauen(Maskenleiste, modus);
    QCOMPARE(!leiste.isHidden(), leisteSichtbar);
    if (leisteSichtbar)
        QCOMPARE(sichtbareNamen(leiste).join(QLatin1Char(' ')), werkzeuge);
    QCOMPARE(leiste.objectName(), QStringLiteral("Maskenfunktionen"));

    QAction* maske = leiste.werkzeug(QStringLiteral("DruckenMaske"));
    QVERIFY(maske);
    QCOMPARE(maske->text(), QStringLiteral("Drucken"));
    QCOMPARE(maske->toolTip(), QStringLiteral("Aktuellen Datensatz als Maskendruck ausdrucken"));
    QCOMPARE(maske->statusTip(), maske->toolTip());
    QCOMPARE(maske->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    QVERIFY(!leiste.werkzeug(QStringLiteral("Gibtsnicht")));
}

void TestToolbar::klickMeldetNamen()
{
    Werkzeugleiste leiste(QStringLiteral("Maskenfunktionen"), QString());
    leiste.aufbauen(Maskenleiste, 3);
    QSignalSpy spion(&leiste, &Werkzeugleiste::werkzeugGeklickt);
    leiste.werkzeug(QStringLiteral("Löschen"))->trigger();
    leiste.werkzeug(QStringLiteral("Zurück"))->trigger();
    QCOMPARE(spion.count(), 2);
    QCOMPARE(spion.at(0).at(0).toString(), QStringLiteral("Löschen"));
    QCOMPARE(spion.at(1).at(0).toString(), QStringLiteral("Zurück"));

    // Rebuilding replaces the tools instead of adding to them.
    leiste.aufbauen(QStringLiteral("A;a|B;b"), 3);
    QCOMPARE(sichtbareNamen(leiste), (QStringList { QStringLiteral("A"), QStringLiteral("B") }));
    QCOMPARE(leiste.actions().size(), 2);
}

void TestToolbar::textanzeigeUndPosition()
{
    Werkzeugleiste leiste(QStringLiteral("X"), QString());
    const QList<QPair<int, Qt::ToolButtonStyle>> faelle = {
        { 0, Qt::ToolButtonIconOnly },
        { 1, Qt::ToolButtonTextBesideIcon },
        { 2, Qt::ToolButtonTextBesideIcon },
        { 3, Qt::ToolButtonTextUnderIcon },
        { 4, Qt::ToolButtonTextUnderIcon },
        { 9, Qt::ToolButtonIconOnly },
    };
    for (const auto& [wert, stil] : faelle) {
        leiste.setzeTextanzeige(wert);
        QCOMPARE(leiste.toolButtonStyle(), stil);
        QCOMPARE(leiste.textanzeige(), wert);
    }
    QCOMPARE(Werkzeugleiste::bereich(QStringLiteral("UNTEN")), Qt::BottomToolBarArea);
    QCOMPARE(Werkzeugleiste::bereich(QStringLiteral(" unten ")), Qt::BottomToolBarArea);
    QCOMPARE(Werkzeugleiste::bereich(QStringLiteral("OBEN")), Qt::TopToolBarArea);
    QCOMPARE(Werkzeugleiste::bereich(QString()), Qt::TopToolBarArea);
}

void TestToolbar::symboldatei_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<bool>("klein");
    QTest::addColumn<QString>("datei"); // empty: none

    QTest::newRow("klein") << QStringLiteral("Neu") << true << QStringLiteral("Neu16.ico");
    QTest::newRow("groß") << QStringLiteral("Neu") << false << QStringLiteral("Neu32.ico");
    QTest::newRow("Größe im Namen gewinnt")
        << QStringLiteral("Neu32") << true << QStringLiteral("Neu32.ico");
    QTest::newRow("andere Schreibweise")
        << QStringLiteral("ABBRUCH") << false << QStringLiteral("abbruch32.ico");
    QTest::newRow("bis zum NUL-Zeichen") << QStringLiteral("Neu") + QChar(0) + QStringLiteral("xy")
                                         << true << QStringLiteral("Neu16.ico");
    QTest::newRow("Datei fehlt") << QStringLiteral("Suchen") << true << QString();
    QTest::newRow("nur eine Größe da") << QStringLiteral("abbruch") << true << QString();
    QTest::newRow("leer") << QString() << true << QString();
}

void TestToolbar::symboldatei()
{
    QFETCH(QString, symbol);
    QFETCH(bool, klein);
    QFETCH(QString, datei);

    test::TempDir dir;
    schreibeBild(dir.file(QStringLiteral("Neu16.ico")), 16);
    schreibeBild(dir.file(QStringLiteral("Neu32.ico")), 32);
    schreibeBild(dir.file(QStringLiteral("abbruch32.ico")), 32);
    const QString ist = Symboldatei(dir.path(), symbol, klein);
    QCOMPARE(ist, datei.isEmpty() ? QString() : dir.file(datei));
}

void TestToolbar::symboleZuweisen()
{
    test::TempDir dir;
    schreibeBild(dir.file(QStringLiteral("Neu16.ico")), 16);
    schreibeBild(dir.file(QStringLiteral("Neu32.ico")), 32);

    Werkzeugleiste leiste(QStringLiteral("X"), QString());
    leiste.aufbauen(QStringLiteral("Neu;;Neu;Neu|Suchen;&Suchen;Suchen;Suchen|Ohne;Ohne"), 3);
    QMenu unter;
    QAction* imMenue = unter.addAction(QStringLiteral("im Menü"));
    imMenue->setProperty("symbol", QStringLiteral("Neu"));
    leiste.addAction(unter.menuAction());

    QFont schrift(QStringLiteral("DejaVu Sans"), 11);
    ToolbarIconsZuweisen(&leiste, false, dir.path(), schrift);
    QCOMPARE(leiste.iconSize(), QSize(32, 32));
    QCOMPARE(leiste.font().pointSize(), 11);
    QVERIFY(!leiste.werkzeug(QStringLiteral("Neu"))->icon().isNull());
    QVERIFY(!imMenue->icon().isNull());
    // A missing picture leaves the tool with its caption only.
    QVERIFY(leiste.werkzeug(QStringLiteral("Suchen"))->icon().isNull());
    QVERIFY(leiste.werkzeug(QStringLiteral("Ohne"))->icon().isNull());

    ToolbarIconsZuweisen(&leiste, true, dir.path(), schrift);
    QCOMPARE(leiste.iconSize(), QSize(16, 16));
    QVERIFY(!leiste.werkzeug(QStringLiteral("Neu"))->icon().isNull());
}

void TestToolbar::popupAuswahl()
{
    const QStringList eintraege = { QStringLiteral("Per Masken-Generator bearbeiten;Generator;"),
        QStringLiteral("Per Texteditor bearbeiten;Brieftext;"), QStringLiteral("Zurück;abbruch") };

    QStringList gezeigt;
    QTimer::singleShot(0, this, [&] {
        auto* menue = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menue);
        QCOMPARE(menue->objectName(), QStringLiteral("miPopup"));
        for (QAction* a : menue->actions())
            gezeigt.append(a->text());
        menue->setActiveAction(menue->actions().at(1));
        QTest::keyClick(menue, Qt::Key_Return);
    });
    QCOMPARE(PopupAuswahl(eintraege, QString(), QPoint(10, 10)), 2);
    QCOMPARE(gezeigt,
        (QStringList { QStringLiteral("Per Masken-Generator bearbeiten"),
            QStringLiteral("Per Texteditor bearbeiten"), QStringLiteral("Zurück") }));

    QTimer::singleShot(0, this, [] {
        if (QWidget* menue = QApplication::activePopupWidget())
            menue->close();
    });
    QCOMPARE(PopupAuswahl(eintraege, QString(), QPoint(10, 10)), 0);
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
