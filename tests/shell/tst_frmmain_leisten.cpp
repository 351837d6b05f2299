#include "Programmumgebung.h"
#include "base/Programmverzeichnis.h"
#include "shell/Befehlstabelle.h"
#include "shell/Einstellungen.h"
#include "shell/Leistenlayout.h"
#include "shell/Menuepersonalisierung.h"
#include "shell/ui/Anwendungseinrichtung.h"
#include "shell/ui/Menueverhalten.h"
#include "shell/ui/frmAnpassen.h"
#include "shell/ui/frmMain.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kv;

namespace {

QStringList hauptwerkzeuge()
{
    return Leistenlayout::standard().leisten.constFirst().werkzeuge;
}

void schreibe(const QString& pfad, const QByteArray& text)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

class TestLeisten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void standard();
    void textHinUndZurueck();
    void beschaedigt_data();
    void beschaedigt();
    void unbekannteWerkzeuge();
    void leistenBearbeiten();
    void werkzeugeUndTexte();
    void dateien();
    void fensterZeigtUndSpeichertLayout();
    void menueAngepasst();
    void dialog();
    void dialogAusDemMenue();
    void reduzierteMenues();
    void anpassenOptionenUndAuswahl();
    void menueanimation();
    void texteDesFensterrahmens();

private:
    std::unique_ptr<test::Programmumgebung> m_umgebung;
};

void TestLeisten::init()
{
    m_umgebung = std::make_unique<test::Programmumgebung>();
}

void TestLeisten::cleanup()
{
    QVERIFY(m_umgebung->dialoge.leer());
    m_umgebung.reset();
}

void TestLeisten::standard()
{
    const Leistenlayout l = Leistenlayout::standard();
    QCOMPARE(l.leisten.size(), 6);
    QCOMPARE(l.leisten.constFirst().name, QStringLiteral("mtbHauptleiste"));
    QCOMPARE(l.leisten.at(1).name, QStringLiteral("Datei"));
    QVERIFY(l.leisten.at(1).menue);
    QCOMPARE(l.leisten.at(3).werkzeuge, Bandinhalt(QStringLiteral("Ansicht")));
    QCOMPARE(l.leisten.constFirst().titel, QStringLiteral("Funktionsleiste"));
    QCOMPARE(hauptwerkzeuge().size(), 14);
    QCOMPARE(hauptwerkzeuge().at(3), QString());
    QVERIFY(l.texte.isEmpty());
    QCOMPARE(l.optionen, Leistenoptionen {});
}

void TestLeisten::textHinUndZurueck()
{
    Leistenlayout l = Leistenlayout::standard();
    const QString eigene = l.neueLeiste(QStringLiteral("Meine Leiste"));
    QVERIFY(l.hinzufuegen(eigene, QStringLiteral("bearbeitenimport")));
    QVERIFY(l.hinzufuegen(eigene, QString()));
    QVERIFY(l.hinzufuegen(eigene, QStringLiteral("Hilfethemen")));
    l.leiste(eigene)->bereich = QStringLiteral("unten");
    l.leiste(QStringLiteral("mtbHauptleiste"))->sichtbar = false;
    l.setzeText(eigene, QStringLiteral("Hilfethemen"), QStringLiteral("Hilfe"), QString());
    l.setzeText(
        QStringLiteral("Datei"), QStringLiteral("dateineu"), QString(), QStringLiteral("Neu!"));
    l.optionen.quickinfo = false;
    l.optionen.personalisiert = true;

    Leistenlayout gelesen;
    QVERIFY(gelesen.layoutLesen(l.layoutText()));
    QVERIFY(gelesen.aenderungenLesen(l.aenderungsText()));
    QCOMPARE(gelesen.leisten, l.leisten);
    QCOMPARE(gelesen.texte, l.texte);
    QCOMPARE(gelesen.optionen, l.optionen);
}

void TestLeisten::beschaedigt_data()
{
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QByteArray>("aenderungen");

    QTest::newRow("kein JSON") << QByteArray("\x00\x01 kaputt", 9) << QByteArray("{");
    QTest::newRow("leer") << QByteArray() << QByteArray();
    QTest::newRow("Liste statt Objekt") << QByteArray("[]") << QByteArray("[]");
    QTest::newRow("ohne Leisten") << QByteArray(R"({"x":1})") << QByteArray(R"({"optionen":{}})");
    QTest::newRow("falscher Bereich") << QByteArray(
        R"({"leisten":[{"name":"mtbHauptleiste","titel":"F","bereich":"mitte",)"
        R"("werkzeuge":[]}]})") << QByteArray(R"({"texte":"dateineu"})");
    QTest::newRow("fremde Leiste nicht eigene") << QByteArray(
        R"({"leisten":[{"name":"Fremd","titel":"F","bereich":"oben",)"
        R"("werkzeuge":[]}]})") << QByteArray(R"({"texte":{}})");
}

void TestLeisten::beschaedigt()
{
    QFETCH(QByteArray, layout);
    QFETCH(QByteArray, aenderungen);
    Leistenlayout l = Leistenlayout::standard();
    l.optionen.quickinfo = false;
    const Leistenlayout vorher = l;
    QVERIFY(!l.layoutLesen(layout));
    QVERIFY(!l.aenderungenLesen(aenderungen));
    QCOMPARE(l.leisten, vorher.leisten);
    QCOMPARE(l.optionen, vorher.optionen);
}

void TestLeisten::unbekannteWerkzeuge()
{
    Leistenlayout l;
    QVERIFY(l.layoutLesen(
        R"({"leisten":[{"name":"Benutzer1","titel":"Eigene","bereich":"links","eigene":true,)"
        R"("werkzeuge":["dateineu","gibtsnicht","","Ende"]}]})"));
    // The designed bands are always there; unknown tools are left out.
    QCOMPARE(l.leisten.size(), 7);
    QCOMPARE(l.leisten.at(0).name, QStringLiteral("mtbHauptleiste"));
    QCOMPARE(
        l.leiste(QStringLiteral("Benutzer1"))->werkzeuge, (QStringList { "dateineu", "", "Ende" }));
    QCOMPARE(l.leiste(QStringLiteral("Benutzer1"))->bereich, QStringLiteral("links"));
    QCOMPARE(l.leiste(QStringLiteral("Fenster"))->werkzeuge, Bandinhalt(QStringLiteral("Fenster")));

    // Menus keep their sub-menus and window list; a menu of another name is damage.
    QVERIFY(l.layoutLesen(R"({"leisten":[{"name":"Ansicht","titel":"&Ansicht","bereich":"oben",)"
                          R"("menue":true,"werkzeuge":["mpAnpassenText","MDIListe","x"]}]})"));
    QCOMPARE(l.leiste(QStringLiteral("Ansicht"))->werkzeuge,
        (QStringList { "mpAnpassenText", "MDIListe" }));
    QVERIFY(!l.layoutLesen(R"({"leisten":[{"name":"Extras","titel":"Extras","bereich":"oben",)"
                           R"("menue":true,"werkzeuge":[]}]})"));
    QVERIFY(!l.umbenennen(QStringLiteral("Ansicht"), QStringLiteral("Sicht")));
    QVERIFY(!l.loeschen(QStringLiteral("Ansicht")));
    l.zuruecksetzen(QStringLiteral("Ansicht"));
    QCOMPARE(l.leiste(QStringLiteral("Ansicht"))->werkzeuge, Bandinhalt(QStringLiteral("Ansicht")));
}

void TestLeisten::leistenBearbeiten()
{
    Leistenlayout l = Leistenlayout::standard();
    QCOMPARE(l.neueLeiste(QStringLiteral(" Eins ")), QStringLiteral("Benutzer1"));
    QCOMPARE(l.leiste(QStringLiteral("Benutzer1"))->titel, QStringLiteral("Eins"));
    QCOMPARE(l.neueLeiste(QStringLiteral("Zwei")), QStringLiteral("Benutzer2"));
    QCOMPARE(l.neueLeiste(QStringLiteral("zwei")), QString());
    QCOMPARE(l.neueLeiste(QStringLiteral("Funktionsleiste")), QString());
    QCOMPARE(l.neueLeiste(QStringLiteral("  ")), QString());

    QVERIFY(l.loeschen(QStringLiteral("Benutzer1")));
    QVERIFY(!l.loeschen(QStringLiteral("mtbHauptleiste")));
    QVERIFY(!l.loeschen(QStringLiteral("Benutzer1")));
    // The freed name is used again.
    QCOMPARE(l.neueLeiste(QStringLiteral("Drei")), QStringLiteral("Benutzer1"));

    QVERIFY(l.umbenennen(QStringLiteral("Benutzer2"), QStringLiteral("Zweite")));
    QVERIFY(!l.umbenennen(QStringLiteral("Benutzer2"), QStringLiteral("Drei")));
    QVERIFY(!l.umbenennen(QStringLiteral("Benutzer2"), QString()));
    QVERIFY(!l.umbenennen(QStringLiteral("Gibtsnicht"), QStringLiteral("X")));
    QVERIFY(l.umbenennen(QStringLiteral("mtbHauptleiste"), QStringLiteral("Haupt")));
    QCOMPARE(l.leiste(QStringLiteral("Benutzer2"))->titel, QStringLiteral("Zweite"));

    l.entfernen(QStringLiteral("mtbHauptleiste"), 0);
    l.setzeText(
        QStringLiteral("mtbHauptleiste"), QStringLiteral("Ende"), QStringLiteral("Aus"), {});
    l.zuruecksetzen(QStringLiteral("mtbHauptleiste"));
    QCOMPARE(l.leiste(QStringLiteral("mtbHauptleiste"))->werkzeuge, hauptwerkzeuge());
    QCOMPARE(l.leiste(QStringLiteral("mtbHauptleiste"))->titel, QStringLiteral("Funktionsleiste"));
    QVERIFY(l.texte.isEmpty());
}

void TestLeisten::werkzeugeUndTexte()
{
    Leistenlayout l = Leistenlayout::standard();
    const QString n = l.neueLeiste(QStringLiteral("X"));
    QVERIFY(l.hinzufuegen(n, QStringLiteral("dateineu")));
    QVERIFY(l.hinzufuegen(n, QStringLiteral("Ende"), 0));
    QVERIFY(l.hinzufuegen(n, QString(), 1));
    QVERIFY(l.hinzufuegen(n, QStringLiteral("Infoüber"), 99));
    QVERIFY(!l.hinzufuegen(n, QStringLiteral("gibtsnicht")));
    QVERIFY(!l.hinzufuegen(QStringLiteral("Gibtsnicht"), QStringLiteral("Ende")));
    QCOMPARE(l.leiste(n)->werkzeuge, (QStringList { "Ende", "", "dateineu", "Infoüber" }));
    QVERIFY(l.entfernen(n, 1));
    QVERIFY(!l.entfernen(n, 3));
    QVERIFY(!l.entfernen(n, -1));
    QCOMPARE(l.leiste(n)->werkzeuge, (QStringList { "Ende", "dateineu", "Infoüber" }));

    l.setzeText(n, QStringLiteral("Ende"), QStringLiteral("Schluss"), QString());
    l.setzeText(n, QStringLiteral("Ende"), QStringLiteral("Aus"), QStringLiteral("Beenden"));
    QCOMPARE(l.texte.size(), 1);
    QCOMPARE(l.text(n, QStringLiteral("Ende"))->tooltip, QStringLiteral("Beenden"));
    l.setzeText(n, QStringLiteral("Ende"), QString(), QString());
    QVERIFY(!l.text(n, QStringLiteral("Ende")));
    // Deleting a bar forgets its texts.
    l.setzeText(n, QStringLiteral("Ende"), QStringLiteral("Aus"), QString());
    QVERIFY(l.loeschen(n));
    QVERIFY(l.texte.isEmpty());
}

void TestLeisten::dateien()
{
    // What the user changes lives in the settings folder, never beside the program.
    const QString cb2 = Layoutpfad(QStringLiteral(".cb2"));
    QCOMPARE(cb2, QDir(Einstellungen::speicherordner()).filePath(QStringLiteral("KelvadMenu.cb2")));

    // A layout the installation brings along counts until the user has one.
    Leistenlayout installiert = Leistenlayout::standard();
    installiert.neueLeiste(QStringLiteral("Vom Installateur"));
    schreibe(Programmverzeichnis() + QStringLiteral("KelvadMenu.cb2"), installiert.layoutText());
    Leistenlayout vorgabe = Leistenlayout::standard();
    LayoutLaden(vorgabe);
    QVERIFY(vorgabe.leiste(QStringLiteral("Benutzer1")));

    Leistenlayout l = Leistenlayout::standard();
    l.neueLeiste(QStringLiteral("Eigene"));
    l.optionen.tastenInQuickinfo = true;
    QVERIFY(LayoutSpeichern(l));
    QVERIFY(QFile::exists(cb2));
    QVERIFY(QFile::exists(Layoutpfad(QStringLiteral(".chg"))));
    QVERIFY(!QFile::exists(Programmverzeichnis() + QStringLiteral("KelvadMenu.chg")));
    QCOMPARE(QDir(Programmverzeichnis()).entryList(QDir::Files), QStringList { "KelvadMenu.cb2" });

    Leistenlayout gelesen = Leistenlayout::standard();
    LayoutLaden(gelesen);
    QCOMPARE(gelesen.leisten, l.leisten);
    QVERIFY(gelesen.optionen.tastenInQuickinfo);

    // A damaged file is ignored; the other one still counts.
    schreibe(cb2, "kaputt");
    Leistenlayout teilweise = Leistenlayout::standard();
    LayoutLaden(teilweise);
    QCOMPARE(teilweise.leisten, Leistenlayout::standard().leisten);
    QVERIFY(teilweise.optionen.tastenInQuickinfo);
}

void TestLeisten::fensterZeigtUndSpeichertLayout()
{
    {
        Leistenlayout l = Leistenlayout::standard();
        const QString n = l.neueLeiste(QStringLiteral("Eigene"));
        l.hinzufuegen(n, QStringLiteral("bearbeitenimport"));
        l.hinzufuegen(n, QStringLiteral("transaktionbeginnen"));
        l.leiste(n)->bereich = QStringLiteral("unten");
        l.setzeText(n, QStringLiteral("bearbeitenimport"), QStringLiteral("Rein"), QString());
        l.setzeText(
            QStringLiteral("Datei"), QStringLiteral("dateineu"), QStringLiteral("&Anlegen"), {});
        l.entfernen(QStringLiteral("mtbHauptleiste"), 0);
        l.optionen.tastenInQuickinfo = true;
        QVERIFY(LayoutSpeichern(l));
    }
    {
        frmMain f;
        Werkzeugleiste* eigene = f.leiste(QStringLiteral("Benutzer1"));
        QVERIFY(eigene);
        QCOMPARE(eigene->windowTitle(), QStringLiteral("Eigene"));
        QCOMPARE(f.toolBarArea(eigene), Qt::BottomToolBarArea);
        QCOMPARE(
            eigene->werkzeug(QStringLiteral("bearbeitenimport"))->text(), QStringLiteral("Rein"));
        QCOMPARE(eigene->werkzeug(QStringLiteral("transaktionbeginnen"))->text(),
            QStringLiteral("Transaktion"));
        // Without a database the command stays disabled on the new bar too.
        QVERIFY(!eigene->werkzeug(QStringLiteral("bearbeitenimport"))->isEnabled());
        QVERIFY(!f.hauptleiste()->werkzeug(QStringLiteral("dateineu")));
        QCOMPARE(f.menueWerkzeug(QStringLiteral("dateineu"))->text(), QStringLiteral("&Anlegen"));
        QCOMPARE(f.hauptleiste()->werkzeug(QStringLiteral("dateiöffnen"))->toolTip(),
            QStringLiteral("Vorhandene Datenbank öffnen (Strg+O)"));

        // A click on the user's bar goes through the same dispatch.
        f.SetzeBefehlsstatus(true);
        QVERIFY(eigene->werkzeug(QStringLiteral("bearbeitenimport"))->isEnabled());

        f.show();
        f.addToolBar(Qt::TopToolBarArea, eigene);
        f.close();
    }
    Leistenlayout gelesen;
    LayoutLaden(gelesen);
    QCOMPARE(gelesen.leiste(QStringLiteral("Benutzer1"))->bereich, QStringLiteral("oben"));
}

void TestLeisten::menueAngepasst()
{
    {
        Leistenlayout l = Leistenlayout::standard();
        l.entfernen(QStringLiteral("Datei"), 2); // "dateischließen"
        l.hinzufuegen(QStringLiteral("Datei"), QStringLiteral("Infoüber"), 0);
        QVERIFY(LayoutSpeichern(l));
    }
    frmMain f;
    QStringList texte;
    for (QAction* a : f.band(QStringLiteral("Datei"))->actions())
        texte.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(texte.mid(0, 4), (QStringList { "Infoüber", "dateineu", "dateiöffnen", "-" }));
    QVERIFY(!texte.contains(QStringLiteral("dateischließen")));
    // The history still follows.
    QCOMPARE(texte.mid(13, 2), (QStringList { "-", "Historie01" }));
    f.historie().laden(QStringLiteral("/daten/x.mdb,1,False"));
    QCOMPARE(
        f.menueWerkzeug(QStringLiteral("Historie01"))->text(), QStringLiteral("&1. /daten/x.mdb"));
    QVERIFY(f.menueWerkzeug(QStringLiteral("Historie01"))->isVisible());

    // Menus appear as targets of the commands.
    frmAnpassen d(f.leistenlayout());
    QVERIFY(d.zielleiste()->findText(QStringLiteral("Menü Datei")) >= 0);
    QCOMPARE(d.leistenliste()->count(), 1);
}

void TestLeisten::dialog()
{
    frmAnpassen d(Leistenlayout::standard());
    QCOMPARE(d.windowTitle(), QStringLiteral("Anpassen"));
    QCOMPARE(d.leistenliste()->count(), 1);

    m_umgebung->dialoge.erwarteEingabe(QStringLiteral("Meine"));
    d.knopf(QStringLiteral("Neu"))->click();
    QCOMPARE(m_umgebung->dialoge.eingaben().constLast().titel,
        QStringLiteral("Neue Symbolleiste anlegen"));
    QCOMPARE(m_umgebung->dialoge.eingaben().constLast().aufforderung,
        QStringLiteral("Name der Symbolleiste"));
    QCOMPARE(d.leistenliste()->count(), 2);
    QCOMPARE(d.leistenliste()->currentItem()->text(), QStringLiteral("Meine"));

    // The same name again is refused with a message.
    m_umgebung->dialoge.erwarteEingabe(QStringLiteral("meine"));
    d.knopf(QStringLiteral("Neu"))->click();
    QCOMPARE(d.leistenliste()->count(), 2);
    QCOMPARE(m_umgebung->dialoge.meldungen().size(), 1);

    // Commands: category "Bearbeiten", command "Export...", target the new bar.
    d.kategorien()->setCurrentRow(1);
    QCOMPARE(d.befehle()->item(3)->text(), QStringLiteral("Export..."));
    d.befehle()->setCurrentRow(3);
    d.zielleiste()->setCurrentIndex(d.zielleiste()->findData(QStringLiteral("Benutzer1")));
    d.knopf(QStringLiteral("Zuweisen"))->click();
    d.befehle()->setCurrentRow(0);
    d.knopf(QStringLiteral("Zuweisen"))->click();
    QCOMPARE(d.layout().leiste(QStringLiteral("Benutzer1"))->werkzeuge,
        (QStringList { "bearbeitenexport", "bearbeitendatenzentrale" }));
    d.zielwerkzeuge()->setCurrentRow(0);
    d.knopf(QStringLiteral("Entfernen"))->click();
    QCOMPARE(d.layout().leiste(QStringLiteral("Benutzer1"))->werkzeuge,
        (QStringList { "bearbeitendatenzentrale" }));

    // Hiding a bar by its check box; options.
    d.leistenliste()->item(0)->setCheckState(Qt::Unchecked);
    QVERIFY(!d.layout().leiste(QStringLiteral("mtbHauptleiste"))->sichtbar);
    d.option(QStringLiteral("Quickinfo anzeigen"))->setChecked(false);
    d.option(QStringLiteral("Symbole vergrößern"))->setChecked(true);
    QVERIFY(!d.layout().optionen.quickinfo);
    QVERIFY(d.layout().optionen.grosseSymbole);

    // The program's own bar cannot be deleted; a user bar after the question.
    d.leistenliste()->setCurrentRow(0);
    d.knopf(QStringLiteral("Löschen"))->click();
    QCOMPARE(d.leistenliste()->count(), 2);
    d.leistenliste()->setCurrentRow(1);
    m_umgebung->dialoge.erwarteAntwort(Antwort::Nein);
    d.knopf(QStringLiteral("Löschen"))->click();
    QCOMPARE(d.leistenliste()->count(), 2);
    QCOMPARE(m_umgebung->dialoge.letzteMeldung().text,
        QStringLiteral("Sind Sie sicher, dass Sie die Symbolleiste löschen wollen?"));
    QCOMPARE(m_umgebung->dialoge.letzteMeldung().standardKnopf, 2);
    m_umgebung->dialoge.erwarteAntwort(Antwort::Ja);
    d.knopf(QStringLiteral("Löschen"))->click();
    QCOMPARE(d.leistenliste()->count(), 1);
    QVERIFY(!d.layout().leiste(QStringLiteral("Benutzer1")));
}

void TestLeisten::dialogAusDemMenue()
{
    frmMain f;
    f.show();
    QTimer::singleShot(0, this, [this] {
        auto* d = qobject_cast<frmAnpassen*>(QApplication::activeModalWidget());
        QVERIFY(d);
        m_umgebung->dialoge.erwarteEingabe(QStringLiteral("Neue"));
        d->knopf(QStringLiteral("Neu"))->click();
        d->zielleiste()->setCurrentIndex(d->zielleiste()->findData(QStringLiteral("Benutzer1")));
        d->kategorien()->setCurrentRow(0);
        d->befehle()->setCurrentRow(0);
        d->knopf(QStringLiteral("Zuweisen"))->click();
        d->option(QStringLiteral("Symbole vergrößern"))->setChecked(true);
        d->knopf(QStringLiteral("Schließen"))->click();
    });
    f.ActiveBar21_ToolClick(QStringLiteral("ansichtmenüanpassen"));
    Werkzeugleiste* neu = f.leiste(QStringLiteral("Benutzer1"));
    QVERIFY(neu);
    QVERIFY(neu->werkzeug(QStringLiteral("dateineu")));
    QCOMPARE(f.hauptleiste()->iconSize(), QSize(32, 32));
    QCOMPARE(neu->iconSize(), QSize(32, 32));
    QCOMPARE(Einstellungen().lese(AbschnittSettings, QStringLiteral("IconToolbarKlein")),
        QStringLiteral("False"));
    QVERIFY(f.menueWerkzeug(QStringLiteral("mpgross"))->isChecked());
}

namespace {

/// The tool names a menu shows just now ("-" for a separator Qt would draw).
QStringList gezeigt(const QMenu* menue)
{
    QStringList namen;
    for (QAction* a : menue->actions()) {
        if (a->isVisible())
            namen.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
    }
    while (!namen.isEmpty() && namen.constLast() == QLatin1String("-"))
        namen.removeLast();
    return namen;
}

} // namespace

void TestLeisten::reduzierteMenues()
{
    const QStringList alle = { "dateineu", "dateiöffnen", "dateischließen", "-", "dateispeichern",
        "dateispeichernunter", "-", "dateikomprimieren", "dateireparieren", "dateisichern",
        "dateirücksichern", "-", "Ende" };
    {
        frmMain f;
        f.show();
        QMenu* datei = f.band(QStringLiteral("Datei"));
        datei->popup(QPoint(10, 10));
        QCOMPARE(gezeigt(datei), alle);
        datei->hide();

        // "Reduziertes Menüsystem": the commands every user needs, then "Weitere Befehle".
        f.ActiveBar21_ToolClick(QStringLiteral("ansichtmenüpersonalisiert"));
        QVERIFY(f.leistenlayout().optionen.personalisiert);
        datei->popup(QPoint(10, 10));
        QCOMPARE(gezeigt(datei),
            (QStringList { "dateineu", "dateiöffnen", "dateischließen", "-", "dateispeichern", "-",
                "dateisichern", "-", "Ende", "miWeitereBefehle" }));
        auto* verhalten = datei->findChild<Menueverhalten*>();
        QVERIFY(verhalten && verhalten->reduziert());
        QCOMPARE(verhalten->weitere()->text(), QStringLiteral("Weitere Befehle"));

        // A click on it opens the whole menu, which stays open.
        QTest::mouseClick(
            datei, Qt::LeftButton, {}, datei->actionGeometry(verhalten->weitere()).center());
        QVERIFY(datei->isVisible());
        QCOMPARE(gezeigt(datei), alle);
        datei->hide();

        // So does the keyboard; a command used once shows from then on.
        datei->popup(QPoint(10, 10));
        datei->setActiveAction(verhalten->weitere());
        QTest::keyClick(datei, Qt::Key_Return);
        QCOMPARE(gezeigt(datei), alle);
        datei->hide();
        f.ActiveBar21_ToolClick(QStringLiteral("dateireparieren"));
        datei->popup(QPoint(10, 10));
        QVERIFY(gezeigt(datei).contains(QStringLiteral("dateireparieren")));
        QVERIFY(!gezeigt(datei).contains(QStringLiteral("dateikomprimieren")));

        // Left open for a moment, the menu shows everything by itself.
        QTRY_VERIFY_WITH_TIMEOUT(
            !verhalten->reduziert(), Menuepersonalisierung::VerzoegerungMs * 3);
        QCOMPARE(gezeigt(datei), alle);
        datei->hide();
        // Closed, it keeps every entry as designed.
        QCOMPARE(gezeigt(datei), alle);
        f.close();
    }
    // The commands used lately survive the end of the program.
    frmMain wieder;
    QCOMPARE(wieder.leistenlayout().zuletztVerwendet.value(0), QStringLiteral("dateireparieren"));
    QVERIFY(wieder.leistenlayout().optionen.personalisiert);
    QVERIFY(wieder.menueWerkzeug(QStringLiteral("ansichtmenüpersonalisiert"))->isChecked());
}

void TestLeisten::anpassenOptionenUndAuswahl()
{
    frmAnpassen d(Leistenlayout::standard());
    QCheckBox* zuletzt
        = d.option(QStringLiteral("Menüs zeigen zuletzt verwendete Befehle zuerst an"));
    QCheckBox* verzoegert
        = d.option(QStringLiteral("Nach kurzer Verzögerung vollständige Menüs anzeigen"));
    QVERIFY(zuletzt && verzoegert);
    QVERIFY(!verzoegert->isEnabled());
    zuletzt->setChecked(true);
    QVERIFY(verzoegert->isEnabled());
    verzoegert->setChecked(false);
    QVERIFY(d.layout().optionen.personalisiert);
    QVERIFY(!d.layout().optionen.vollstaendigNachVerzoegerung);
    auto* animation = d.findChild<QComboBox*>(QStringLiteral("Menüanimation"));
    QCOMPARE(animation->count(), 4);
    QCOMPARE(animation->itemText(0), QStringLiteral("(Keine)"));
    animation->setCurrentIndex(animation->findText(QStringLiteral("Abrollen")));
    QCOMPARE(d.layout().optionen.animation, Menueanimation::Abrollen);

    // "Befehlsbeschreibung" tells what the chosen command does.
    d.kategorien()->setCurrentRow(0);
    d.befehle()->setCurrentRow(0);
    d.knopf(QStringLiteral("Befehlsbeschreibung"))->click();
    QCOMPARE(m_umgebung->dialoge.letzteMeldung().titel, QStringLiteral("Befehlsbeschreibung"));
    QCOMPARE(
        m_umgebung->dialoge.letzteMeldung().text, QStringLiteral("Neu\n\nNeue Datenbank erzeugen"));

    // "Auswahl ändern" on the second button of the main tool bar.
    const QString haupt = QStringLiteral("mtbHauptleiste");
    d.zielleiste()->setCurrentIndex(d.zielleiste()->findData(haupt));
    d.zielwerkzeuge()->setCurrentRow(1);
    m_umgebung->dialoge.erwarteEingabe(QStringLiteral("Laden"));
    d.auswahlUmbenennen();
    QCOMPARE(m_umgebung->dialoge.eingaben().constLast().vorgabe, QStringLiteral("Öffnen"));
    QCOMPARE(d.layout().anzeigetexte(haupt, QStringLiteral("dateiöffnen")).text,
        QStringLiteral("Laden"));
    QCOMPARE(d.zielwerkzeuge()->item(1)->text(), QStringLiteral("Laden"));
    d.gruppierungBeginnen(true);
    QCOMPARE(d.layout().leiste(haupt)->werkzeuge.mid(0, 3),
        (QStringList { "dateineu", "", "dateiöffnen" }));
    QCOMPARE(d.zielwerkzeuge()->currentRow(), 2);
    d.gruppierungBeginnen(true); // there is one already
    QCOMPARE(d.layout().leiste(haupt)->werkzeuge.count(QString()), 4);
    d.gruppierungBeginnen(false);
    QCOMPARE(
        d.layout().leiste(haupt)->werkzeuge, Leistenlayout::standard().leiste(haupt)->werkzeuge);
    d.auswahlZuruecksetzen();
    QCOMPARE(d.layout().anzeigetexte(haupt, QStringLiteral("dateiöffnen")).text,
        QStringLiteral("Öffnen"));
    QVERIFY(d.layout().texte.isEmpty());
}

void TestLeisten::menueanimation()
{
    Leistenlayout l = Leistenlayout::standard();
    l.optionen.animation = Menueanimation::Abwechselnd;
    QVERIFY(LayoutSpeichern(l));
    frmMain f;
    f.show();
    QMenu* menue = f.band(QStringLiteral("Bearbeiten"));
    QList<bool> einblenden;
    for (int i = 0; i < 2; ++i) {
        menue->popup(QPoint(10, 10));
        QVERIFY(QApplication::isEffectEnabled(Qt::UI_AnimateMenu));
        einblenden.append(QApplication::isEffectEnabled(Qt::UI_FadeMenu));
        menue->hide();
    }
    // The two effects in turn.
    QVERIFY(einblenden.at(0) != einblenden.at(1));

    for (const auto& [art, rollen, blenden] :
        { std::tuple { Menueanimation::Abrollen, true, false },
            std::tuple { Menueanimation::Entfalten, true, true },
            std::tuple { Menueanimation::Keine, false, false } }) {
        Menueverhalten::animationSetzen(art);
        QCOMPARE(QApplication::isEffectEnabled(Qt::UI_AnimateMenu), rollen);
        QCOMPARE(QApplication::isEffectEnabled(Qt::UI_FadeMenu), blenden);
    }
}

void TestLeisten::texteDesFensterrahmens()
{
    // The main window's parts that Qt draws speak German as well.
    DeutscheUebersetzungenLaden(*qApp);
    frmMain f;
    f.show();
    f.resize(300, 300);
    QCOMPARE(f.hauptleiste()
                 ->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))
                 ->toolTip(),
        QStringLiteral("Weitere Schaltflächen"));
    QMdiSubWindow* kind = f.mdiArea()->addSubWindow(new QWidget);
    kind->showMaximized();
    QStringList texte;
    for (QAction* a : kind->systemMenu()->actions())
        texte.append(a->text().remove(u'&'));
    QVERIFY2(texte.contains(QStringLiteral("Minimieren")), qPrintable(texte.join(u',')));
    QVERIFY2(texte.contains(QStringLiteral("Wiederherstellen")), qPrintable(texte.join(u',')));
}

QTEST_MAIN(TestLeisten)
#include "tst_frmmain_leisten.moc"
