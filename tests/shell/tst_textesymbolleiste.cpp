#include "Programmumgebung.h"
#include "base/Programmverzeichnis.h"
#include "shell/Einstellungen.h"
#include "shell/Leistenlayout.h"
#include "shell/ui/Hauptfensteraufrufe.h"
#include "shell/ui/TexteSymbolleiste.h"
#include "shell/ui/frmMain.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace kv;

namespace {

const QString Haupt = QStringLiteral("mtbHauptleiste");

// Runs the texts dialog from the main window's command, driven by schritte.
void texteDialog(frmMain& f, const std::function<void(TexteSymbolleiste&)>& schritte)
{
    bool gelaufen = false;
    QTimer::singleShot(0, &f, [&] {
        auto* d = qobject_cast<TexteSymbolleiste*>(QApplication::activeModalWidget());
        QVERIFY(d);
        schritte(*d);
        gelaufen = true;
    });
    f.ActiveBar21_ToolClick(QStringLiteral("ansichttextanpassen"));
    QVERIFY(gelaufen);
}

void tippe(QLineEdit* feld, const QString& text)
{
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Delete);
    QTest::keyClicks(feld, text);
}

} // namespace

class TestTexteSymbolleiste : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void designteTexte_data();
    void designteTexte();
    void aenderungen();
    void dialog();
    void ausDemHauptfenster();

private:
    std::unique_ptr<test::Programmumgebung> m_umgebung;
};

void TestTexteSymbolleiste::init()
{
    m_umgebung = std::make_unique<test::Programmumgebung>();
}

void TestTexteSymbolleiste::cleanup()
{
    QVERIFY(m_umgebung->dialoge.leer());
    m_umgebung.reset();
}

void TestTexteSymbolleiste::designteTexte_data()
{
    QTest::addColumn<QString>("werkzeug");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("Hauptleiste") << "dateiöffnen"
                                 << "Öffnen"
                                 << "Vorhandene Datenbank öffnen";
    QTest::newRow("eigene Quickinfo") << "ansichtoptionen"
                                      << "Optionen"
                                      << "Allgemeine Einstellungen";
    QTest::newRow("Menübefehl ohne &") << "dateispeichernunter"
                                       << "Speichern unter..."
                                       << "Datenbank unter einem anderen Dateinamen speichern";
    QTest::newRow("unbekannt") << "gibtsnicht"
                               << ""
                               << "";
}

void TestTexteSymbolleiste::designteTexte()
{
    QFETCH(QString, werkzeug);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    QCOMPARE(Leistenlayout::designteTexte(werkzeug), (Werkzeugtexte { text, tooltip }));
}

void TestTexteSymbolleiste::aenderungen()
{
    Leistenlayout l = Leistenlayout::standard();
    l.aendereTexte(Haupt, QStringLiteral("Ende"), { QStringLiteral(" Schluss "), QString() });
    QCOMPARE(l.anzeigetexte(Haupt, QStringLiteral("Ende")),
        (Werkzeugtexte { QStringLiteral("Schluss"), QStringLiteral("Programm beenden") }));
    // The change is per bar.
    QCOMPARE(l.anzeigetexte(QStringLiteral("Benutzer1"), QStringLiteral("Ende")).text,
        QStringLiteral("Ende"));
    // The designed texts again: nothing is kept.
    l.aendereTexte(Haupt, QStringLiteral("Ende"),
        { QStringLiteral("Ende"), QStringLiteral("Programm beenden") });
    QVERIFY(l.texte.isEmpty());
    l.aendereTexte(Haupt, QStringLiteral("Ende"), { QString(), QStringLiteral("Tschüss") });
    QCOMPARE(l.texte,
        (QList<Textaenderung> {
            { Haupt, QStringLiteral("Ende"), QString(), QStringLiteral("Tschüss") } }));
}

void TestTexteSymbolleiste::dialog()
{
    Leistenlayout l = Leistenlayout::standard();
    const QString eigene = l.neueLeiste(QStringLiteral("Meine"));
    l.hinzufuegen(eigene, QStringLiteral("bearbeitenimport"));
    l.hinzufuegen(eigene, QString());
    l.hinzufuegen(eigene, QStringLiteral("bearbeitenimport"));
    l.setzeText(eigene, QStringLiteral("bearbeitenimport"), QStringLiteral("Rein"), QString());

    TexteSymbolleiste d(l);
    // One heading per tool bar, the menus are not there; separators and doubles are left out.
    QCOMPARE(d.liste()->topLevelItemCount(), 2);
    QCOMPARE(d.liste()->topLevelItem(0)->text(0),
        QStringLiteral("Name der Funktionsleiste: Funktionsleiste"));
    QCOMPARE(d.liste()->topLevelItem(0)->childCount(), 11);
    QCOMPARE(
        d.liste()->topLevelItem(1)->text(0), QStringLiteral("Name der Funktionsleiste: Meine"));
    QCOMPARE(d.liste()->topLevelItem(1)->childCount(), 1);
    QCOMPARE(d.textFeld()->text(), QStringLiteral("Neu"));
    QCOMPARE(d.quickinfoFeld()->text(), QStringLiteral("Neue Datenbank erzeugen"));

    QVERIFY(d.waehle(eigene, QStringLiteral("bearbeitenimport")));
    QCOMPARE(d.textFeld()->text(), QStringLiteral("Rein"));
    QCOMPARE(d.quickinfoFeld()->text(), QStringLiteral("Datenimport aufrufen"));
    tippe(d.quickinfoFeld(), QStringLiteral("Daten holen"));
    QCOMPARE(d.liste()->currentItem()->text(1), QStringLiteral("Daten holen"));
    QCOMPARE(d.layout().text(eigene, QStringLiteral("bearbeitenimport"))->tooltip,
        QStringLiteral("Daten holen"));

    // A heading has nothing to edit.
    QVERIFY(d.waehle(Haupt, QString()));
    QVERIFY(!d.textFeld()->isEnabled());
    QVERIFY(!d.waehle(Haupt, QStringLiteral("bearbeitenimport")));

    QVERIFY(d.waehle(Haupt, QStringLiteral("Ende")));
    tippe(d.textFeld(), QStringLiteral("Aus"));
    QCOMPARE(d.layout().texte.size(), 2);
    // Reset of one tool, then of a whole bar.
    d.knopf(QStringLiteral("Zurücksetzen"))->click();
    QCOMPARE(d.textFeld()->text(), QStringLiteral("Ende"));
    QVERIFY(!d.layout().text(Haupt, QStringLiteral("Ende")));
    QVERIFY(d.waehle(eigene, QString()));
    d.knopf(QStringLiteral("Zurücksetzen"))->click();
    QVERIFY(d.layout().texte.isEmpty());
    QCOMPARE(d.liste()->topLevelItem(1)->child(0)->text(0), QStringLiteral("Import..."));
}

void TestTexteSymbolleiste::ausDemHauptfenster()
{
    {
        frmMain f;
        f.setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(f));
        f.show();
        texteDialog(f, [](TexteSymbolleiste& d) {
            QVERIFY(d.waehle(Haupt, QStringLiteral("dateiöffnen")));
            tippe(d.textFeld(), QStringLiteral("Laden"));
            tippe(d.quickinfoFeld(), QStringLiteral("Datenbank laden"));
            d.knopf(QStringLiteral("OK"))->click();
        });
        QAction* oeffnen = f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"));
        QCOMPARE(oeffnen->text(), QStringLiteral("Laden"));
        QCOMPARE(oeffnen->toolTip(), QStringLiteral("Datenbank laden"));
        // The menu keeps its own text.
        QCOMPARE(f.menueWerkzeug(QStringLiteral("dateiöffnen"))->text(), QStringLiteral("Ö&ffnen"));

        // "Abbruch" leaves the bar as it was.
        texteDialog(f, [](TexteSymbolleiste& d) {
            QVERIFY(d.waehle(Haupt, QStringLiteral("dateiöffnen")));
            tippe(d.textFeld(), QStringLiteral("Anders"));
            d.knopf(QStringLiteral("Abbruch"))->click();
        });
        QCOMPARE(f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"))->text(),
            QStringLiteral("Laden"));
        f.close();
    }
    frmMain f;
    f.setzeFensteraufrufe(std::make_unique<Hauptfensteraufrufe>(f));
    QCOMPARE(
        f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"))->text(), QStringLiteral("Laden"));
    f.show();
    texteDialog(f, [](TexteSymbolleiste& d) {
        QVERIFY(d.waehle(Haupt, QString()));
        d.knopf(QStringLiteral("Zurücksetzen"))->click();
        d.knopf(QStringLiteral("OK"))->click();
    });
    QCOMPARE(
        f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"))->text(), QStringLiteral("Öffnen"));
    QCOMPARE(f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"))->toolTip(),
        QStringLiteral("Vorhandene Datenbank öffnen"));
}

QTEST_MAIN(TestTexteSymbolleiste)
#include "tst_textesymbolleiste.moc"
