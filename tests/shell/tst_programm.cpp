// The program as it starts: GMainEP's wiring with the real password dialog, message boxes,
// help and windows, driven the way a user does.

#include "Kundendatenbank.h"
#include "Programmumgebung.h"
#include "base/Hilfe.h"
#include "base/NichtVerfuegbar.h"
#include "shell/Aktionsschutz.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Hilfeindex.h"
#include "shell/Hilfeseiten.h"
#include "shell/Programmstart.h"
#include "shell/ui/Anwendungseinrichtung.h"
#include "shell/ui/GMainEP.h"
#include "shell/ui/about.h"
#include "shell/ui/frmAnpassen.h"
#include "shell/ui/frmHilfe.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmWebUpdate.h"
#include "shell/ui/frmZentrale.h"
#include "shell/ui/passwort.h"
#include "tables/ui/TabellenStrukturEditor.h"
#include "tables/ui/frmImportTabellen.h"
#include "testutils/Fensterschritt.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

using namespace kv;

class TestProgramm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void passwortGeschuetzteBefehle();
    void fehlendeFensterMelden();
    void meldungenTragenDenAnwendungstitel();
    void infoIstModal();
    void webupdateSchliesstFensterVorher();
    void f1ZeigtDieSeiteDesFensters();
    void jedeSeiteIstInDerHilfe();
    void texteditorFrischtDieZentraleAuf();
    void fehlendeDatenbankAusDerKommandozeile_data();
    void fehlendeDatenbankAusDerKommandozeile();

private:
    /// A database with the table Kunden that the start opens as the one of the previous run.
    QString letzteDatenbank();
    void starte(const QStringList& argumente = {});

    std::unique_ptr<test::Programmumgebung> m_umgebung;
    std::unique_ptr<frmMain> m_f;
};

void TestProgramm::init()
{
    m_umgebung = std::make_unique<test::Programmumgebung>();
    m_umgebung->symboleAnlegen();
}

void TestProgramm::cleanup()
{
    if (m_f)
        m_f->close();
    m_f.reset();
    aktionsschutz() = Aktionsschutz();
    QVERIFY(m_umgebung->dialoge.leer());
    m_umgebung.reset();
}

QString TestProgramm::letzteDatenbank()
{
    const QString pfad = m_umgebung->ordner.file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad);
    Einstellungen e;
    e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), pfad);
    e.schreibe(AbschnittSettings, QStringLiteral("DatenbankTyp"), QStringLiteral("1"));
    return pfad;
}

void TestProgramm::starte(const QStringList& argumente)
{
    m_f = GMainEP(argumente, QString());
    QVERIFY(m_f);
}

void TestProgramm::passwortGeschuetzteBefehle()
{
    Aktionsschutz schutz;
    schutz.setzePasswort(1, QStringLiteral("Geheim"));
    Einstellungen().schreibe(
        AbschnittSettings, QStringLiteral("DatenbankAktionStatus"), schutz.wert());
    starte();
    test::ScriptedDialoge& d = m_umgebung->dialoge;

    // The start installed the password dialog: the right password lets "Datei Neu" run.
    test::beimNaechstenFenster<passwort>([](passwort* p) {
        QCOMPARE(p->windowTitle(), QStringLiteral("Passwort-Eingabe Kelvado für Windows"));
        QTest::keyClicks(
            p->findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("Gehei"));
    });
    d.erwarteDatei(DateiDialogErgebnis {});
    m_f->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    QCOMPARE(d.dateiDialoge().size(), 1);
    QCOMPARE(d.dateiDialoge().constFirst().titel, QStringLiteral("Neue Datenbank erstellen"));
    QVERIFY(d.meldungen().isEmpty());

    // A wrong one (case counts) is reported and the command does not run.
    test::beimNaechstenFenster<passwort>([](passwort* p) {
        QTest::keyClicks(
            p->findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("geheim"));
    });
    m_f->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    QCOMPARE(d.dateiDialoge().size(), 1);
    QCOMPARE(d.texte(),
        QStringList { QStringLiteral("Leider wurde das falsche Passwort eingegeben!\n\n"
                                     "Die gewünschte Aktion kann nicht durchgeführt werden!") });

    // Escape gives up without a word; unprotected commands never ask.
    test::beimNaechstenFenster<passwort>([](passwort* p) { QTest::keyClick(p, Qt::Key_Escape); });
    m_f->ActiveBar21_ToolClick(QStringLiteral("dateineu"));
    QCOMPARE(d.meldungen().size(), 1);
    d.erwarteDatei(DateiDialogErgebnis {});
    m_f->ActiveBar21_ToolClick(QStringLiteral("dateiöffnen"));
    QCOMPARE(d.dateiDialoge().size(), 2);
}

void TestProgramm::fehlendeFensterMelden()
{
    letzteDatenbank();
    starte();
    QVERIFY(aktuelleDatenbank().offen());
    // A second child window: a missing window must not ask to close it first.
    m_f->mdiArea()->addSubWindow(new QWidget)->show();
    test::ScriptedDialoge& d = m_umgebung->dialoge;
    for (const char* werkzeug : { "bearbeitenglobalesändern", "bearbeitenglobaleslöschen",
             "bearbeitenhochzählautomatik", "ansichtoptionen" }) {
        d.vergiss();
        m_f->ActiveBar21_ToolClick(QString::fromUtf8(werkzeug));
        QCOMPARE(d.texte(), QStringList { NichtVerfuegbarText() });
        QCOMPARE(d.letzteMeldung().symbol, Symbol::Information);
    }
    // The tool bar's button opens the import window like the menu.
    d.vergiss();
    bool geoeffnet = false;
    test::beimNaechstenFenster<frmImportTabellen>([&geoeffnet](frmImportTabellen* f) {
        geoeffnet = true;
        f->reject();
    });
    QAction* knopf = m_f->werkzeuge(QStringLiteral("bearbeitenimport")).constLast();
    knopf->trigger();
    QVERIFY(geoeffnet);
    QVERIFY(d.texte().isEmpty());
}

void TestProgramm::meldungenTragenDenAnwendungstitel()
{
    const std::unique_ptr<Dialoge> programm = Programmdialoge();
    Dialoge* vorher = Dialoge::setze(programm.get());
    QStringList titel;
    const auto merken = [&titel](QMessageBox* box) {
        titel.append(box->windowTitle());
        box->accept();
    };
    test::beimNaechstenFenster<QMessageBox>(merken);
    zeigeMeldung(QStringLiteral("Ohne eigene Überschrift"));
    test::beimNaechstenFenster<QMessageBox>(merken);
    zeigeMeldung(QStringLiteral("Mit"), QStringLiteral("Datei löschen"));
    Dialoge::setze(vorher);
    QCOMPARE(titel, (QStringList { "Kelvado 7.0", "Datei löschen" }));
}

void TestProgramm::infoIstModal()
{
    starte();
    bool modal = false;
    QString version;
    QStringList knoepfe;
    test::beimNaechstenFenster<about>([&](about* a) {
        modal = a->isModal();
        version = a->findChild<QWidget*>(QStringLiteral("lblVersion"))->property("text").toString();
        for (QAbstractButton* k : a->findChild<QDialogButtonBox*>()->buttons())
            knoepfe.append(k->text());
        QTest::keyClick(a, Qt::Key_Escape);
    });
    m_f->ActiveBar21_ToolClick(QStringLiteral("Infoüber"));
    QVERIFY(modal);
    QCOMPARE(version, QStringLiteral("Kelvado Version: 7  Release: 8"));
    QCOMPARE(knoepfe.size(), 1);
    // Escape closed it: nothing of it is left.
    QVERIFY(m_f->findChildren<about*>().isEmpty());

    test::beimNaechstenFenster<about>(
        [](about* a) { a->findChild<QDialogButtonBox*>()->buttons().constFirst()->click(); });
    m_f->ActiveBar21_ToolClick(QStringLiteral("Infoüber"));
    QVERIFY(m_f->findChildren<about*>().isEmpty());
}

void TestProgramm::webupdateSchliesstFensterVorher()
{
    letzteDatenbank();
    starte();
    m_f->mdiArea()->addSubWindow(new QWidget)->show();
    QCOMPARE(m_f->mdiArea()->subWindowList().size(), 2);
    test::ScriptedDialoge& d = m_umgebung->dialoge;
    int gezeigt = 0;
    QString hilfeseite;
    test::beimNaechstenFenster<frmWebUpdate>([&](frmWebUpdate* w) {
        ++gezeigt;
        hilfeseite = w->property(HilfeseiteEigenschaft).toString();
        w->reject();
    });
    // "No" keeps the windows and starts nothing.
    d.erwarteAntwort(Antwort::Nein);
    m_f->ActiveBar21_ToolClick(QStringLiteral("Webupdate"));
    QCOMPARE(d.letzteMeldung().text,
        QStringLiteral("Die aktuelle Aktion kann nur durchgeführt werden,\nwenn alle Fenster "
                       "geschlossen sind!\n\nSollen alle Fenster jetzt geschlossen werden?"));
    QCOMPARE(d.letzteMeldung().titel, QStringLiteral("Kelvado 7.0"));
    QCOMPARE(gezeigt, 0);
    QCOMPARE(m_f->mdiArea()->subWindowList().size(), 2);

    d.erwarteAntwort(Antwort::Ja);
    m_f->ActiveBar21_ToolClick(QStringLiteral("Webupdate"));
    QCOMPARE(gezeigt, 1);
    QCOMPARE(hilfeseite, Hilfeseiten::WebUpdate);
    // Only the navigator is left.
    QCOMPARE(m_f->mdiArea()->subWindowList().size(), 1);
    QVERIFY(frmZentrale::finde(m_f->mdiArea()));
}

void TestProgramm::f1ZeigtDieSeiteDesFensters()
{
    letzteDatenbank();
    starte();
    frmZentrale* zentrale = frmZentrale::finde(m_f->mdiArea());
    QVERIFY(zentrale);
    const auto seite = [this] { return m_f->hilfe()->browser()->source().fileName(); };

    QTest::keyClick(zentrale->TDBGrid1(), Qt::Key_F1);
    QCOMPARE(seite(), Hilfeseiten::Datenzentrale);
    QVERIFY(m_f->hilfe()->isVisible());
    QCOMPARE(m_f->hilfe()->windowModality(), Qt::NonModal);

    QTest::keyClick(m_f.get(), Qt::Key_F1);
    QCOMPARE(seite(), Hilfeseiten::Hauptfenster);

    // From a modal dialog the help comes up usable in front of it.
    QString ausDialog;
    Qt::WindowModality modalitaet = Qt::NonModal;
    test::beimNaechstenFenster<frmAnpassen>([&](frmAnpassen* a) {
        QTest::keyClick(a->leistenliste(), Qt::Key_F1);
        ausDialog = seite();
        modalitaet = m_f->hilfe()->windowModality();
        m_f->hilfe()->close();
        a->reject();
    });
    m_f->ActiveBar21_ToolClick(QStringLiteral("ansichtmenüanpassen"));
    QCOMPARE(ausDialog, Hilfeseiten::Anpassen);
    QCOMPARE(modalitaet, Qt::ApplicationModal);

    // The menu entry still shows the contents.
    m_f->ActiveBar21_ToolClick(QStringLiteral("Hilfethemen"));
    QCOMPARE(seite(), Hilfeindex::Inhaltsseite);
    QCOMPARE(m_f->hilfe()->windowModality(), Qt::NonModal);
}

void TestProgramm::jedeSeiteIstInDerHilfe()
{
    const Hilfeindex index = Hilfeindex::lade(frmHilfe::Hilfeordner);
    QStringList dateien;
    for (const Hilfeseite& s : index.seiten())
        dateien.append(s.datei);
    for (const QString& seite : { Hilfeseiten::Hauptfenster, Hilfeseiten::Datenzentrale,
             Hilfeseiten::Datenbank, Hilfeseiten::Sicherung, Hilfeseiten::Anpassen,
             Hilfeseiten::Tastenfolgen, Hilfeseiten::WebUpdate, Hilfeseiten::Hilfe })
        QVERIFY2(dateien.contains(seite), qPrintable(seite));
    // Every link of the pages leads to a page of the help.
    for (const QString& datei : std::as_const(dateien)) {
        QFile f(frmHilfe::Hilfeordner + u'/' + datei);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        for (qsizetype i = html.indexOf(QStringLiteral("href=\"")); i >= 0;
             i = html.indexOf(QStringLiteral("href=\""), i + 1)) {
            const QString ziel
                = html.mid(i + 6, html.indexOf(u'"', i + 6) - i - 6).section(u'#', 0, 0);
            QVERIFY2(dateien.contains(ziel), qPrintable(datei + QStringLiteral(" → ") + ziel));
        }
    }
}

void TestProgramm::texteditorFrischtDieZentraleAuf()
{
    const QString db = letzteDatenbank();
    starte();
    frmZentrale* zentrale = frmZentrale::finde(m_f->mdiArea());
    QVERIFY(zentrale);
    const QList<Zentralezeile>& zeilen = zentrale->liste().zeilen();
    int standard = -1;
    for (int i = 0; i < zeilen.size(); ++i) {
        if (zeilen.at(i).art == Zeilenart::StandardMaske)
            standard = i;
    }
    QVERIFY(standard >= 0);

    // The context menu's text-editor entry, then the editor itself: a name, a text, Speichern.
    test::beimNaechstenFenster<QMenu>([](QMenu* menue) {
        for (QAction* a : menue->actions()) {
            if (a->text().startsWith(QStringLiteral("Neue Benutzer-Maske per Texteditor"))) {
                menue->setActiveAction(a);
                QTest::keyClick(menue, Qt::Key_Return);
                return;
            }
        }
        menue->close();
    });
    test::beimNaechstenFenster<TabellenStrukturEditor>([](TabellenStrukturEditor* e) {
        QTest::keyClicks(
            e->findChild<QLineEdit*>(QStringLiteral("Text1")), QStringLiteral("Probe"));
        e->findChild<QPlainTextEdit*>(QStringLiteral("Text2"))
            ->setPlainText(QStringLiteral("KV-Maske: Mein Titel\r\nSQL: SELECT * FROM Kunden\r\n"));
        e->findChild<QPushButton*>(QStringLiteral("Speichern"))->click();
    });
    zentrale->kontextmenue(standard);

    QVERIFY(
        QFile::exists(QFileInfo(db).dir().filePath(QStringLiteral("Adressen_KELVAD_Probe.MSK"))));
    bool gelistet = false;
    for (const Zentralezeile& z : zentrale->liste().zeilen())
        gelistet |= z.art == Zeilenart::BenutzerMaske
            && z.anzeige == QStringLiteral("Probe : Mein Titel");
    QVERIFY(gelistet);
}

void TestProgramm::fehlendeDatenbankAusDerKommandozeile_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::newRow("Datei fehlt") << QStringLiteral("nicht/da.mdb");
    QTest::newRow("Verzeichnis") << QString();
}

void TestProgramm::fehlendeDatenbankAusDerKommandozeile()
{
    QFETCH(QString, pfad);
    const QString letzte = letzteDatenbank();
    const QString angegeben
        = pfad.isEmpty() ? m_umgebung->ordner.path() : m_umgebung->ordner.file(pfad);
    starte({ QStringLiteral("/MDB:") + angegeben });
    // The user is told, then the database of the previous run opens as usual.
    QCOMPARE(m_umgebung->dialoge.texte(),
        QStringList { QStringLiteral("Die beim Programmaufruf angegebene Datenbank wurde nicht "
                                     "gefunden:\n\n")
            + angegeben + QStringLiteral("\n\nDie Angabe wird nicht berücksichtigt.") });
    QCOMPARE(KommandozeilenDatenbankFehlt(angegeben), m_umgebung->dialoge.texte().constFirst());
    QVERIFY(aktuelleDatenbank().offen());
    QCOMPARE(aktuelleDatenbank().Datenbank, letzte);
}

QTEST_MAIN(TestProgramm)
#include "tst_programm.moc"
