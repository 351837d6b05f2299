#include "base/Programmverzeichnis.h"
#include "shell/Aktionsschutz.h"
#include "shell/Befehlstabelle.h"
#include "shell/Einstellungen.h"
#include "shell/Leistenlayout.h"
#include "shell/Prozesswerte.h"
#include "shell/Statustext.h"
#include "shell/ui/frmHilfe.h"
#include "shell/ui/frmMain.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/Werkzeugleiste.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace kv;

namespace {

// Records which command the dispatch handed on.
struct Protokoll {
    QStringList aufrufe;
};

class Datenbankprotokoll : public Datenbankbefehle {
public:
    explicit Datenbankprotokoll(Protokoll& p)
        : m_p(p)
    { }
    void neu() override { m_p.aufrufe.append(QStringLiteral("neu")); }
    void oeffnen() override { m_p.aufrufe.append(QStringLiteral("oeffnen")); }
    void schliessen() override { m_p.aufrufe.append(QStringLiteral("schliessen")); }
    void speichern() override { m_p.aufrufe.append(QStringLiteral("speichern")); }
    void speichernUnter() override { m_p.aufrufe.append(QStringLiteral("speichernUnter")); }
    void komprimieren() override { m_p.aufrufe.append(QStringLiteral("komprimieren")); }
    void reparieren() override { m_p.aufrufe.append(QStringLiteral("reparieren")); }
    void sichern() override { m_p.aufrufe.append(QStringLiteral("sichern")); }
    void ruecksichern() override { m_p.aufrufe.append(QStringLiteral("ruecksichern")); }
    void historieOeffnen(int n) override
    {
        m_p.aufrufe.append(QStringLiteral("historie:%1").arg(n));
    }
    void transaktionBeginnen() override { m_p.aufrufe.append(QStringLiteral("beginnen")); }
    void transaktionUpdate() override { m_p.aufrufe.append(QStringLiteral("update")); }
    void transaktionRollback() override { m_p.aufrufe.append(QStringLiteral("rollback")); }
    void beenden() override { m_p.aufrufe.append(QStringLiteral("beenden")); }

private:
    Protokoll& m_p;
};

class Fensterprotokoll : public Fensteraufrufe {
public:
    explicit Fensterprotokoll(Protokoll& p)
        : m_p(p)
    { }
    void datenzentrale() override { m_p.aufrufe.append(QStringLiteral("datenzentrale")); }
    void strukturgenerator() override { m_p.aufrufe.append(QStringLiteral("struktur")); }
    void importExport(bool e) override { m_p.aufrufe.append(QStringLiteral("import:%1").arg(e)); }
    void global(int m) override { m_p.aufrufe.append(QStringLiteral("global:%1").arg(m)); }
    void optionen() override { m_p.aufrufe.append(QStringLiteral("optionen")); }
    void texteAnpassen() override { m_p.aufrufe.append(QStringLiteral("texteanpassen")); }
    void webupdate() override { m_p.aufrufe.append(QStringLiteral("webupdate")); }
    void info() override { m_p.aufrufe.append(QStringLiteral("info")); }

private:
    Protokoll& m_p;
};

// A child window with unsaved work whose user chose to keep it open.
class Verweigerer : public QWidget {
protected:
    void closeEvent(QCloseEvent* e) override { e->ignore(); }
};

QStringList texte(const QMenu* menue)
{
    QStringList t;
    for (QAction* a : menue->actions()) {
        if (a->isVisible())
            t.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return t;
}

QString einstellung(const char* schluessel)
{
    return Einstellungen().lese(AbschnittSettings, QString::fromUtf8(schluessel));
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void menues_data();
    void menues();
    void funktionsleiste();
    void statuszeile();
    void dispatch_data();
    void dispatch();
    void geschuetzteAktion();
    void historie();
    void umschalterSchreibenEinstellungen();
    void textanzeigeUndSymbolgroesse();
    void befehlsstatus();
    void schriften();
    void fensterAnordnenUndSchliessen();
    void hilfe();
    void symboleAusGrafikordner();
    void schliessenSchreibtEinstellungen();

private:
    std::unique_ptr<frmMain> neuesFenster();

    test::TempDir m_ordner;
    std::unique_ptr<test::TempDir> m_einstellungen;
    std::unique_ptr<test::ScriptedDialoge> m_dialoge;
    Protokoll m_protokoll;
};

void TestFrmMain::initTestCase()
{
    setzeProgrammverzeichnis(m_ordner.path());
}

void TestFrmMain::init()
{
    m_einstellungen = std::make_unique<test::TempDir>();
    Einstellungen::setzeSpeicherordner(m_einstellungen->path());
    m_dialoge = std::make_unique<test::ScriptedDialoge>();
    m_protokoll.aufrufe.clear();
    QFile::remove(Layoutpfad(QStringLiteral(".cb2")));
    QFile::remove(Layoutpfad(QStringLiteral(".chg")));
    Programmschrift() = QFont(QStringLiteral("Arial"), 8);
    Menueschrift() = QFont(QStringLiteral("MS Sans Serif"), 8);
}

void TestFrmMain::cleanup()
{
    QVERIFY(m_dialoge->leer());
    m_dialoge.reset();
    Einstellungen::setzeSpeicherordner(QString());
    m_einstellungen.reset();
}

void TestFrmMain::cleanupTestCase()
{
    setzeProgrammverzeichnis(QString());
}

std::unique_ptr<frmMain> TestFrmMain::neuesFenster()
{
    auto f = std::make_unique<frmMain>();
    f->setzeDatenbankbefehle(std::make_unique<Datenbankprotokoll>(m_protokoll));
    f->setzeFensteraufrufe(std::make_unique<Fensterprotokoll>(m_protokoll));
    f->show();
    return f;
}

void TestFrmMain::menues_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QStringList>("texte");

    QTest::newRow("Datei") << QStringLiteral("Datei")
                           << QStringList { "&Neu", "Ö&ffnen", "S&chließen", "-", "&Speichern",
                                  "&Speichern unter...", "-", "&Komprimieren...", "Reparieren...",
                                  "Sichern...", "Rücksichern...", "-", "&Ende", "-" };
    QTest::newRow("Bearbeiten") << QStringLiteral("Bearbeiten")
                                << QStringList { "Datenzentrale", "&Struktur-Generator", "-",
                                       "Import...", "Export...", "-", "Globales Ändern",
                                       "Globales Löschen", "Hochzählautomatik" };
    QTest::newRow("Ansicht") << QStringLiteral("Ansicht")
                             << QStringList { "Symbolleiste anzeigen", "Statusleiste anzeigen",
                                    "Reduziertes Menüsystem", "-", "Textanzeige", "Symbolgröße",
                                    "Texte ändern...", "&Menüsystem anpassen...", "-",
                                    "Schrift Arbeitsfenster: Arial",
                                    "Schrift Symbolleisten: MS Sans Serif", "-", "Optionen" };
    QTest::newRow("Fenster") << QStringLiteral("Fenster")
                             << QStringList { "Überlappend", "Untereinander", "Nebeneinander",
                                    "Symbole anordnen", "-", "Alle schließen", "-" };
    QTest::newRow("Hilfe") << QStringLiteral("mi?")
                           << QStringList { "&Hilfethemen...", "&Suchen in der Hilfe...",
                                  "&Direkthilfe", "-", "Update im Web suchen", "-",
                                  "Info über..." };
    QTest::newRow("Textanzeige") << QStringLiteral("mpAnpassenText")
                                 << QStringList { "Aus", "Links", "Rechts", "Oben", "Unten" };
    QTest::newRow("Symbolgröße") << QStringLiteral("mpAnpassenGröße")
                                 << QStringList { "Klein", "Groß" };
}

void TestFrmMain::menues()
{
    QFETCH(QString, band);
    QFETCH(QStringList, texte);
    auto f = neuesFenster();
    QMenu* menue = f->band(band);
    QVERIFY(menue);
    QCOMPARE(::texte(menue), texte);

    QStringList titel;
    for (QAction* a : f->menuBar()->actions())
        titel.append(a->text());
    QCOMPARE(titel, (QStringList { "&Datei", "&Bearbeiten", "&Ansicht", "&Fenster", "&?" }));
}

void TestFrmMain::funktionsleiste()
{
    auto f = neuesFenster();
    Werkzeugleiste* leiste = f->hauptleiste();
    QCOMPARE(leiste->objectName(), QStringLiteral("mtbHauptleiste"));
    QCOMPARE(leiste->windowTitle(), QStringLiteral("Funktionsleiste"));
    QStringList ist;
    for (QAction* a : leiste->actions())
        ist.append(a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
    QCOMPARE(ist,
        (QStringList { "dateineu=Neu", "dateiöffnen=Öffnen", "dateispeichern=Speichern", "-",
            "transaktionbeginnen=Transaktion", "transaktionupdate=Update",
            "transaktionrollback=Rollback", "-", "bearbeitenstrukturgenerator=Strukturen",
            "dateisichern=Sichern", "ansichtschriftfenster=Schrift", "ansichtoptionen=Optionen",
            "-", "Ende=Ende" }));
    QCOMPARE(leiste->werkzeug(QStringLiteral("ansichtoptionen"))->toolTip(),
        QStringLiteral("Allgemeine Einstellungen"));
    QCOMPARE(leiste->werkzeug(QStringLiteral("transaktionrollback"))->toolTip(),
        QStringLiteral("Transaktion zurücknehmen und beenden"));
    // At load nothing runs a transaction.
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("transaktionupdate")));
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("transaktionrollback")));

    leiste->werkzeug(QStringLiteral("dateisichern"))->setEnabled(true);
    leiste->werkzeug(QStringLiteral("dateisichern"))->trigger();
    QCOMPARE(m_protokoll.aufrufe, QStringList { QStringLiteral("sichern") });
}

void TestFrmMain::statuszeile()
{
    auto f = neuesFenster();
    QCOMPARE(f->statusBar()->objectName(), QStringLiteral("msb"));
    QCOMPARE(f->statustext(), QStringLiteral("Bereit"));
    QToolButton* aktiv = f->aktiveDatenbankWerkzeug();
    QCOMPARE(aktiv->text(), QStringLiteral("<keine aktive Datenbank>"));
    QCOMPARE(aktiv->toolTip(),
        QStringLiteral("Momentan ist keine Datenbank geöffnet (Auswahl per Mausklick)"));
    auto* datum = f->statusBar()->findChild<QLabel*>(QStringLiteral("Datum"));
    QVERIFY(datum);
    QCOMPARE(datum->toolTip(), QStringLiteral("Aktuelles Tagesdatum"));
    QVERIFY2(datum->text().endsWith(QString::number(QDate::currentDate().year())),
        qPrintable(datum->text()));

    Statustext(QStringLiteral("Datenbank wird gespeichert..."));
    QCOMPARE(f->statustext(), QStringLiteral("Datenbank wird gespeichert..."));
    Statustext();
    QCOMPARE(f->statustext(), QStringLiteral("Bereit"));

    f->setzeAktiveDatenbank(QDir::toNativeSeparators(QStringLiteral("/daten/Adressen.mdb")));
    QCOMPARE(aktiv->text(), QStringLiteral("Adressen.mdb"));
    QCOMPARE(aktiv->toolTip(),
        QStringLiteral("Momentan geöffnete Datenbank: ")
            + QDir::toNativeSeparators(QStringLiteral("/daten/Adressen.mdb")));
    f->setzeAktiveDatenbank(QString());
    QCOMPARE(aktiv->text(), QStringLiteral("<keine aktive Datenbank>"));
    QCOMPARE(aktiv->toolTip(), QStringLiteral("Momentan ist keine Datenbank geöffnet"));

    // Clickable with or without a database: it opens the file dialog.
    f->SetzeBefehlsstatus(false);
    QVERIFY(aktiv->isEnabled());
    aktiv->click();
    QCOMPARE(m_protokoll.aufrufe, QStringList { QStringLiteral("oeffnen") });
}

void TestFrmMain::dispatch_data()
{
    QTest::addColumn<QString>("werkzeug");
    QTest::addColumn<QString>("aufruf"); // empty: nothing handed on

    const QList<QPair<const char*, const char*>> faelle = {
        { "dateineu", "neu" },
        { "dateiöffnen", "oeffnen" },
        { "AktiveDatenbank", "oeffnen" },
        { "dateischließen", "schliessen" },
        { "dateispeichern", "speichern" },
        { "dateispeichernunter", "speichernUnter" },
        { "dateikomprimieren", "komprimieren" },
        { "dateireparieren", "reparieren" },
        { "dateisichern", "sichern" },
        { "dateirücksichern", "ruecksichern" },
        { "transaktionbeginnen", "beginnen" },
        { "transaktionupdate", "update" },
        { "transaktionrollback", "rollback" },
        { "bearbeitendatenzentrale", "datenzentrale" },
        { "bearbeitenstrukturgenerator", "struktur" },
        { "bearbeitenimport", "import:0" },
        { "bearbeitenexport", "import:1" },
        { "bearbeitenglobalesändern", "global:0" },
        { "bearbeitenglobaleslöschen", "global:1" },
        { "bearbeitenhochzählautomatik", "global:2" },
        { "ansichtoptionen", "optionen" },
        { "ansichttextanpassen", "texteanpassen" },
        { "mTextanpassen", "texteanpassen" },
        { "Webupdate", "webupdate" },
        { "Infoüber", "info" },
        { "miÜberlappend", "" },
        { "ansichtmenüpersonalisiert", "" },
        { "Hilfstext", "" },
        { "gibtsnicht", "" },
        { "DATEINEU", "" },
    };
    for (const auto& [werkzeug, aufruf] : faelle)
        QTest::newRow(werkzeug) << QString::fromUtf8(werkzeug) << QString::fromUtf8(aufruf);
}

void TestFrmMain::dispatch()
{
    QFETCH(QString, werkzeug);
    QFETCH(QString, aufruf);
    auto f = neuesFenster();
    f->ActiveBar21_ToolClick(werkzeug);
    QCOMPARE(m_protokoll.aufrufe, aufruf.isEmpty() ? QStringList() : QStringList { aufruf });
}

void TestFrmMain::geschuetzteAktion()
{
    auto f = neuesFenster();
    const QString vorher = aktionsschutz().wert();
    aktionsschutz().setzePasswort(1, QStringLiteral("geh"));
    aktionsschutz().setzePasswort(10, QStringLiteral("imp"));

    std::optional<QString> antwort;
    int gefragt = 0;
    setzePasswortAbfrage([&] {
        ++gefragt;
        return antwort;
    });

    // Cancelled: no effect, no message.
    antwort.reset();
    f->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    QCOMPARE(gefragt, 1);
    QVERIFY(m_protokoll.aufrufe.isEmpty());
    QVERIFY(m_dialoge->meldungen().isEmpty());

    // Wrong: the password check reports it, the command does not run.
    antwort = QStringLiteral("falsch");
    f->ActiveBar21_ToolClick(QStringLiteral("bearbeitenimport"));
    QVERIFY(m_protokoll.aufrufe.isEmpty());
    QCOMPARE(m_dialoge->meldungen().size(), 1);
    QVERIFY(m_dialoge->letzteMeldung().text.startsWith(
        QStringLiteral("Leider wurde das falsche Passwort eingegeben!")));

    // Right: runs. An unprotected action never asks.
    antwort = QStringLiteral("geh");
    f->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    f->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
    f->ActiveBar21_ToolClick(QStringLiteral("Hilfstext"));
    QCOMPARE(gefragt, 3);
    QCOMPARE(m_protokoll.aufrufe, (QStringList { "neu", "oeffnen" }));

    setzePasswortAbfrage({});
    aktionsschutz().laden(vorher);
}

void TestFrmMain::historie()
{
    auto f = neuesFenster();
    QStringList eintraege;
    for (int i = 1; i <= 10; ++i)
        eintraege.append(QStringLiteral("/daten/db%1.mdb,1,False").arg(i));
    f->historie().laden(eintraege.join(QLatin1Char(';')));

    QCOMPARE(f->menueWerkzeug(QStringLiteral("Historie01"))->text(),
        QStringLiteral("&1. /daten/db1.mdb"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("Historie09"))->text(),
        QStringLiteral("&9. /daten/db9.mdb"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("Historie10"))->text(),
        QStringLiteral("10. /daten/db10.mdb"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("Historie10"))->statusTip(),
        QStringLiteral("Diese Datenbank öffnen: /daten/db10.mdb"));
    QVERIFY(f->menueWerkzeug(QStringLiteral("Historie10"))->isVisible());
    QVERIFY(!f->menueWerkzeug(QStringLiteral("Historie11"))->isVisible());

    // The entries follow the designed tools of "Datei" after one separator.
    const QList<QAction*> datei = f->band(QStringLiteral("Datei"))->actions();
    QCOMPARE(datei.size(), DateibandWerkzeuge + 1 + MaxHistorie);
    QVERIFY(datei.at(DateibandWerkzeuge)->isSeparator());
    QCOMPARE(datei.at(DateibandWerkzeuge + 1)->objectName(), QStringLiteral("Historie01"));

    f->menueWerkzeug(QStringLiteral("Historie03"))->trigger();
    f->ActiveBar21_ToolClick(QStringLiteral("Historie10"));
    f->ActiveBar21_ToolClick(QStringLiteral("Historie11")); // beyond the list
    QCOMPARE(m_protokoll.aufrufe, (QStringList { "historie:3", "historie:10" }));

    // Removing hides the last entry; the list is saved.
    f->historie().entfernen(QStringLiteral("/DATEN/DB1.MDB"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("Historie01"))->text(),
        QStringLiteral("&1. /daten/db2.mdb"));
    QVERIFY(!f->menueWerkzeug(QStringLiteral("Historie10"))->isVisible());
    QVERIFY(einstellung("MRUListe").startsWith(QStringLiteral("/daten/db2.mdb,1,")));
}

void TestFrmMain::umschalterSchreibenEinstellungen()
{
    {
        auto f = neuesFenster();
        QAction* symbol = f->menueWerkzeug(QStringLiteral("ansichtsymbolleiste"));
        QAction* status = f->menueWerkzeug(QStringLiteral("ansichtstatusleiste"));
        QVERIFY(symbol->isChecked());
        QVERIFY(status->isChecked());
        QVERIFY(f->hauptleiste()->isVisible());

        f->ActiveBar21_ToolClick(QStringLiteral("ansichtsymbolleiste"));
        QVERIFY(!f->hauptleiste()->isVisible());
        QVERIFY(!symbol->isChecked());
        QCOMPARE(einstellung("HauptSymbolleisteAnzeigen"), QStringLiteral("False"));

        f->ActiveBar21_ToolClick(QStringLiteral("ansichtstatusleiste"));
        QVERIFY(!f->statusBar()->isVisible());
        QVERIFY(!status->isChecked());
        QCOMPARE(einstellung("HauptStatusleisteAnzeigen"), QStringLiteral("False"));

        f->ActiveBar21_ToolClick(QStringLiteral("ansichtsymbolleiste"));
        QVERIFY(f->hauptleiste()->isVisible());
        QVERIFY(symbol->isChecked());
        QCOMPARE(einstellung("HauptSymbolleisteAnzeigen"), QStringLiteral("True"));

        // The menu entry and a direct call flip the switch alike.
        QAction* personalisiert = f->menueWerkzeug(QStringLiteral("ansichtmenüpersonalisiert"));
        personalisiert->trigger();
        QVERIFY(personalisiert->isChecked());
        f->ActiveBar21_ToolClick(personalisiert->objectName());
        QVERIFY(!personalisiert->isChecked());
        symbol->trigger();
        QVERIFY(!f->hauptleiste()->isVisible());
        QVERIFY(!symbol->isChecked());
        symbol->trigger();
    }
    // The next start shows what was chosen.
    auto f = neuesFenster();
    QVERIFY(f->hauptleiste()->isVisible());
    QVERIFY(!f->statusBar()->isVisible());
    QVERIFY(!f->menueWerkzeug(QStringLiteral("ansichtstatusleiste"))->isChecked());
}

void TestFrmMain::textanzeigeUndSymbolgroesse()
{
    {
        auto f = neuesFenster();
        QVERIFY(f->menueWerkzeug(QStringLiteral("mpTextaus"))->isChecked());
        QVERIFY(f->menueWerkzeug(QStringLiteral("mpklein"))->isChecked());
        QCOMPARE(f->hauptleiste()->iconSize(), QSize(16, 16));

        f->ActiveBar21_ToolClick(QStringLiteral("mpTextoben"));
        QCOMPARE(einstellung("ToolbarTextanzeige"), QStringLiteral("3"));
        QVERIFY(f->menueWerkzeug(QStringLiteral("mpTextoben"))->isChecked());
        QVERIFY(!f->menueWerkzeug(QStringLiteral("mpTextaus"))->isChecked());
        QCOMPARE(f->hauptleiste()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);

        f->ActiveBar21_ToolClick(QStringLiteral("mpgross"));
        QCOMPARE(einstellung("IconToolbarKlein"), QStringLiteral("False"));
        QVERIFY(f->menueWerkzeug(QStringLiteral("mpgross"))->isChecked());
        QVERIFY(!f->menueWerkzeug(QStringLiteral("mpklein"))->isChecked());
        QCOMPARE(f->hauptleiste()->iconSize(), QSize(32, 32));
    }
    auto f = neuesFenster();
    QVERIFY(f->menueWerkzeug(QStringLiteral("mpTextoben"))->isChecked());
    QVERIFY(f->menueWerkzeug(QStringLiteral("mpgross"))->isChecked());
    QCOMPARE(f->hauptleiste()->textanzeige(), 3);

    f->ActiveBar21_ToolClick(QStringLiteral("mpTextunten"));
    QCOMPARE(einstellung("ToolbarTextanzeige"), QStringLiteral("4"));
    f->ActiveBar21_ToolClick(QStringLiteral("mpklein"));
    QCOMPARE(einstellung("IconToolbarKlein"), QStringLiteral("True"));
}

void TestFrmMain::befehlsstatus()
{
    auto f = neuesFenster();
    const QStringList datenbankbefehle
        = { "dateispeichern", "dateispeichernunter", "dateischließen", "dateisichern",
              "bearbeitendatenzentrale", "bearbeitenstrukturgenerator", "bearbeitenimport",
              "bearbeitenexport", "bearbeitenglobalesändern", "bearbeitenglobaleslöschen",
              "bearbeitenhochzählautomatik", "transaktionbeginnen", "dateikomprimieren" };
    const QStringList immer = { "dateineu", "dateiöffnen", "dateireparieren", "dateirücksichern",
        "Ende", "ansichtoptionen" };

    // Without a database (as after start).
    for (const QString& n : datenbankbefehle) {
        for (QAction* a : f->werkzeuge(n))
            QVERIFY2(!a->isEnabled(), qPrintable(n));
    }
    for (const QString& n : immer)
        QVERIFY2(f->werkzeugAktiv(n), qPrintable(n));
    // The tool bar's instance follows the menu's.
    QCOMPARE(f->werkzeuge(QStringLiteral("dateispeichern")).size(), 2);

    f->SetzeBefehlsstatus(true);
    for (const QString& n : datenbankbefehle) {
        for (QAction* a : f->werkzeuge(n))
            QVERIFY2(a->isEnabled(), qPrintable(n));
    }
    f->SetzeBefehlsstatus(true, true);
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("dateispeichern")));
    QVERIFY(f->werkzeugAktiv(QStringLiteral("dateispeichernunter")));
    f->SetzeBefehlsstatus(true, false, false);
    QVERIFY(!f->werkzeugAktiv(QStringLiteral("transaktionbeginnen")));
}

void TestFrmMain::schriften()
{
    auto f = neuesFenster();
    auto* kind = f->mdiArea()->addSubWindow(new QWidget);
    kind->show();

    std::optional<QFont> antwort = QFont(QStringLiteral("DejaVu Serif"), 12, QFont::Bold);
    QString titel;
    f->setzeSchriftwahl([&](const QFont& aktuell, const QString& t) {
        titel = t + QStringLiteral(" / ") + aktuell.family();
        return antwort;
    });

    f->ActiveBar21_ToolClick(QStringLiteral("ansichtschriftfenster"));
    QCOMPARE(titel, QStringLiteral("Schriftart für Arbeitsfenster einstellen / Arial"));
    QCOMPARE(Programmschrift().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(Programmschrift().pointSizeF(), 12.0);
    QVERIFY(!Programmschrift().bold());
    QCOMPARE(kind->widget()->font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("ansichtschriftfenster"))->text(),
        QStringLiteral("Schrift Arbeitsfenster: DejaVu Serif"));
    // The tool bar keeps its short caption.
    QCOMPARE(f->hauptleiste()->werkzeug(QStringLiteral("ansichtschriftfenster"))->text(),
        QStringLiteral("Schrift"));

    antwort = QFont(QStringLiteral("DejaVu Sans"), 10);
    f->ActiveBar21_ToolClick(QStringLiteral("ansichtschriftsymbolleiste"));
    QCOMPARE(Menueschrift().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(f->menuBar()->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(f->hauptleiste()->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(f->menueWerkzeug(QStringLiteral("ansichtschriftsymbolleiste"))->text(),
        QStringLiteral("Schrift Symbolleisten: DejaVu Sans"));

    // Cancel changes nothing.
    antwort.reset();
    f->ActiveBar21_ToolClick(QStringLiteral("ansichtschriftfenster"));
    QCOMPARE(Programmschrift().family(), QStringLiteral("DejaVu Serif"));
}

void TestFrmMain::fensterAnordnenUndSchliessen()
{
    auto f = neuesFenster();
    f->resize(900, 700);
    QList<QMdiSubWindow*> kinder;
    for (int i = 0; i < 3; ++i) {
        auto* w = new QWidget;
        w->setWindowTitle(QStringLiteral("Fenster %1").arg(i + 1));
        auto* k = f->mdiArea()->addSubWindow(w);
        k->setAttribute(Qt::WA_DeleteOnClose);
        k->show();
        kinder.append(k);
    }
    const QRect flaeche = f->mdiArea()->viewport()->rect();

    f->ActiveBar21_ToolClick(QStringLiteral("miUntereinander"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(kinder.at(i)->width(), flaeche.width());
    QVERIFY(kinder.at(0)->y() < kinder.at(1)->y());
    QVERIFY(kinder.at(1)->y() < kinder.at(2)->y());
    QCOMPARE(kinder.at(2)->geometry().bottom(), flaeche.bottom());

    f->ActiveBar21_ToolClick(QStringLiteral("miNebeneinander"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(kinder.at(i)->height(), flaeche.height());
    QVERIFY(kinder.at(0)->x() < kinder.at(1)->x());
    QCOMPARE(kinder.at(2)->geometry().right(), flaeche.right());

    kinder.at(1)->showMinimized();
    kinder.at(2)->showMinimized();
    f->ActiveBar21_ToolClick(QStringLiteral("miSymboleanordnen"));
    QCOMPARE(kinder.at(1)->x(), flaeche.left());
    QCOMPARE(kinder.at(1)->geometry().bottom(), flaeche.bottom());
    QCOMPARE(kinder.at(2)->x(), flaeche.left() + kinder.at(1)->width());

    f->ActiveBar21_ToolClick(QStringLiteral("miÜberlappend"));

    // The window list names the open windows and activates the chosen one.
    QMenu* fenster = f->band(QStringLiteral("Fenster"));
    Q_EMIT fenster->aboutToShow();
    QStringList liste;
    QAction* zweites = nullptr;
    for (QAction* a : fenster->actions()) {
        if (a->objectName() == QLatin1String("MDIListe")) {
            liste.append(a->text());
            if (a->text().contains(QLatin1String("Fenster 2")))
                zweites = a;
        }
    }
    QCOMPARE(liste, (QStringList { "&1 Fenster 1", "&2 Fenster 2", "&3 Fenster 3" }));
    QVERIFY(zweites);
    zweites->trigger();
    QCOMPARE(f->mdiArea()->activeSubWindow(), kinder.at(1));

    // "Alle schließen" keeps the first child (the navigator's place).
    f->ActiveBar21_ToolClick(QStringLiteral("miAlleschließen"));
    QCOMPARE(f->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(f->mdiArea()->subWindowList().constFirst(), kinder.at(0));
    f->EntladeFenster(1);
    QVERIFY(f->mdiArea()->subWindowList().isEmpty());
}

void TestFrmMain::hilfe()
{
    auto f = neuesFenster();
    f->ActiveBar21_ToolClick(QStringLiteral("Hilfethemen"));
    frmHilfe* h = f->hilfe();
    QVERIFY(h->isVisible());
    QCOMPARE(h->browser()->documentTitle(), QStringLiteral("Inhalt"));
    QVERIFY(h->browser()->toPlainText().contains(QStringLiteral("Das Hauptfenster")));
    QVERIFY(h->index().seiten().size() >= 2);
    QCOMPARE(h->index().seiten().constFirst().datei, QStringLiteral("inhalt.html"));

    f->ActiveBar21_ToolClick(QStringLiteral("SucheninderHilfe"));
    QTest::keyClicks(h->suchfeld(), QStringLiteral("transak"));
    QVERIFY(h->trefferliste()->count() >= 1);
    QCOMPARE(h->trefferliste()->item(0)->text(), QStringLiteral("Transaktion"));
    QTest::keyClick(h->suchfeld(), Qt::Key_Return);
    QCOMPARE(h->browser()->documentTitle(), QStringLiteral("Mit Datenbanken arbeiten"));

    // A link inside a page leads on.
    h->zeigeSeite(QStringLiteral("hilfe.html"));
    QCOMPARE(h->browser()->documentTitle(), QStringLiteral("Die Hilfe benutzen"));
}

void TestFrmMain::symboleAusGrafikordner()
{
    QDir(m_ordner.path()).mkpath(QStringLiteral("Grafik"));
    for (const char* datei : { "DateiNeu16.ico", "DateiNeu32.ico", "Speichern32.ico" }) {
        QImage bild(16, 16, QImage::Format_ARGB32);
        bild.fill(Qt::blue);
        QVERIFY(bild.save(Grafikverzeichnis() + QString::fromUtf8(datei), "PNG"));
    }
    auto f = neuesFenster();
    Werkzeugleiste* leiste = f->hauptleiste();
    QVERIFY(!leiste->werkzeug(QStringLiteral("dateineu"))->icon().isNull());
    QVERIFY(!f->menueWerkzeug(QStringLiteral("dateineu"))->icon().isNull());
    // Only the large picture exists: the small bar shows the caption alone.
    QVERIFY(leiste->werkzeug(QStringLiteral("dateispeichern"))->icon().isNull());
    f->ActiveBar21_ToolClick(QStringLiteral("mpgross"));
    QVERIFY(!leiste->werkzeug(QStringLiteral("dateispeichern"))->icon().isNull());
    QVERIFY(leiste->werkzeug(QStringLiteral("dateiöffnen"))->icon().isNull());
    QDir(Grafikverzeichnis()).removeRecursively();
}

void TestFrmMain::schliessenSchreibtEinstellungen()
{
    auto f = neuesFenster();
    auto* bleibt = f->mdiArea()->addSubWindow(new Verweigerer);
    bleibt->show();
    f->ActiveBar21_ToolClick(QStringLiteral("Ende"));
    QVERIFY(f->isVisible());
    QVERIFY(m_protokoll.aufrufe.isEmpty());
    QVERIFY(einstellung("MainState").isEmpty());
    f->mdiArea()->removeSubWindow(bleibt);
    delete bleibt;

    f->historie().hinzufuegen({ QStringLiteral("/daten/a.mdb"), 1, false });
    auto* kind = f->mdiArea()->addSubWindow(new QWidget);
    kind->show();
    f->ActiveBar21_ToolClick(QStringLiteral("Ende"));
    QVERIFY(!f->isVisible());
    QVERIFY(f->mdiArea()->subWindowList().isEmpty());
    QCOMPARE(m_protokoll.aufrufe, QStringList { QStringLiteral("beenden") });
    QCOMPARE(einstellung("MainState"), QStringLiteral("0"));
    QCOMPARE(einstellung("Schriftart"), QStringLiteral("Arial"));
    QCOMPARE(einstellung("SchriftartMenü"), QStringLiteral("MS Sans Serif"));
    QCOMPARE(einstellung("MRUListe"), QStringLiteral("/daten/a.mdb,1,False"));
    QVERIFY(!einstellung("MainWidth").isEmpty());
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
