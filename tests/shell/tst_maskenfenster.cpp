#include "../masks/Maskendatenbank.h"
#include "Kundendatenbank.h"
#include "Maskenfenster.h"
#include "base/NichtVerfuegbar.h"
#include "base/Windows1252.h"
#include "beispiel/Beispieldatenbank.h"
#include "beispiel/Beispieldefinitionen.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Standardmaske.h"
#include "masks/ui/frmMaske.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Objektuebergabe.h"
#include "shell/ui/Maskenuebergabe.h"
#include "shell/ui/frmZentrale.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/Anzeigefeld.h"
#include "widgets/Feldelement.h"
#include "widgets/Fensterleisten.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Texteingabe.h"
#include "widgets/Zahleingabe.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace kv;
using namespace kv::engine;

/// The mask window as the user reaches it: opened from the navigator over the open database,
/// browsed and edited through its bars and keys.
class TestMaskenfenster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void standardmaskeAusDerZentrale();
    void benutzermaskeAusDerZentrale();
    void blaetternUndSpeichern();
    void neuUndSchliessen();
    void nichtVerfuegbareTasten();
    void gescheitertesSpeichernBehaeltEingaben();
    void formelnWaehrendDerEingabe();
    void beispielmaskenOeffnen();

private:
    void oeffneDatenbank(const QString& pfad) { QVERIFY(m_f->oeffneDatenbank(pfad)); }
    frmZentrale* zentrale() { return m_f->zentrale(); }
    frmMaske* ausZentrale(const QString& artText, const QString& anfang)
    {
        return m_f->ausZentrale(artText, anfang);
    }
    frmMaske* letzteMaske() const { return m_f->letzteMaske(); }
    static Feldelement* feld(frmMaske* m, const QString& datenfeld)
    {
        return test::Maskenfenster::feld(m, datenfeld);
    }
    static void tippe(Feldelement* f, const QString& text) { test::Maskenfenster::tippe(f, text); }
    static void klicke(frmMaske* m, Navigationsschritt s) { test::Maskenfenster::klicke(m, s); }

    std::unique_ptr<test::Maskenfenster> m_f;
    test::TempDir* m_dir = nullptr;
    test::ScriptedDialoge* m_dlg = nullptr;
    AktuelleDatenbank* m_db = nullptr;
    QMdiArea* m_mdi = nullptr;
};

void TestMaskenfenster::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestMaskenfenster::init()
{
    m_f = std::make_unique<test::Maskenfenster>();
    m_dir = &m_f->dir();
    m_dlg = &m_f->dlg();
    m_db = &m_f->db();
    m_mdi = m_f->mdi();
}

void TestMaskenfenster::cleanup()
{
    // Closing saves nothing here: every test leaves its windows without pending changes.
    const bool leer = m_dlg->leer();
    m_f.reset();
    QVERIFY(leer);
}

void TestMaskenfenster::standardmaskeAusDerZentrale()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 3);
    oeffneDatenbank(pfad);
    frmMaske* m = ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    QVERIFY(m_dlg->meldungen().isEmpty());
    QCOMPARE(m->symboldatei(), QStringLiteral("MaskeStandard32.ico"));
    QVERIFY(feld(m, QStringLiteral("Name")));
    QVERIFY(feld(m, QStringLiteral("Notiz")));
    QCOMPARE(feld(m, QStringLiteral("Name"))->eingabetext(), QStringLiteral("K0"));
    QCOMPARE(m->leisten()->navigation()->text(), QStringLiteral("Datensatz: 1 von 3"));
}

void TestMaskenfenster::benutzermaskeAusDerZentrale()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 2);
    oeffneDatenbank(pfad);
    // A user mask made from the standard one, titled and reduced to the name.
    QString text;
    {
        Maskendefinition d = test::standardmaske(*m_db->db(), QStringLiteral("Kunden"));
        d.titel = QStringLiteral("Kundenmaske");
        d.elemente.removeIf([](const Maskenelement& e) { return e.datenfeld != u"Name"; });
        text = maskendefinitionstext(d);
    }
    QVERIFY(schreibeTextdatei(m_dir->file(QStringLiteral("Adressen_KELVAD_Kunden.MSK")), text));
    frmMaske* m = ausZentrale(QStringLiteral("Benutzer-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    QVERIFY(m_dlg->meldungen().isEmpty());
    QCOMPARE(m->windowTitle(), QStringLiteral("Kundenmaske"));
    QCOMPARE(m->symboldatei(), QStringLiteral("MaskeBenutzer32.ico"));
    QVERIFY(!feld(m, QStringLiteral("Notiz")));
    QCOMPARE(feld(m, QStringLiteral("Name"))->eingabetext(), QStringLiteral("K0"));
}

void TestMaskenfenster::blaetternUndSpeichern()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 3);
    oeffneDatenbank(pfad);
    frmMaske* m = ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    Navigationsleiste* nav = m->leisten()->navigation();
    Feldelement* name = feld(m, QStringLiteral("Name"));

    // "Zurück" on the first record stays there without a word.
    klicke(m, Navigationsschritt::Zurueck);
    QCOMPARE(nav->text(), QStringLiteral("Datensatz: 1 von 3"));

    tippe(name, QStringLiteral("Anna"));
    klicke(m, Navigationsschritt::Vor);
    QCOMPARE(nav->text(), QStringLiteral("Datensatz: 2 von 3"));
    QCOMPARE(name->eingabetext(), QStringLiteral("K1"));
    const QString sql = QStringLiteral("SELECT * FROM Kunden");
    QCOMPARE(test::gespeichert(*m_db->db(), sql, 0, QStringLiteral("Name")).toString(),
        QStringLiteral("Anna"));

    klicke(m, Navigationsschritt::Letzter);
    QCOMPARE(nav->text(), QStringLiteral("Datensatz: 3 von 3"));
    klicke(m, Navigationsschritt::Erster);
    QCOMPARE(name->eingabetext(), QStringLiteral("Anna"));
    // The tools "vor" and "zurück" move as the bar does.
    m->werkzeug(QStringLiteral("vor"));
    QCOMPARE(name->eingabetext(), QStringLiteral("K1"));
    m->werkzeug(QStringLiteral("zurück"));
    QCOMPARE(name->eingabetext(), QStringLiteral("Anna"));
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestMaskenfenster::neuUndSchliessen()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 1);
    oeffneDatenbank(pfad);
    frmMaske* m = ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    Feldelement* name = feld(m, QStringLiteral("Name"));

    // "neu" starts an empty record; "neu" again saves it.
    m->werkzeug(QStringLiteral("neu"));
    QVERIFY(m->steuerung().hinzufuegen());
    QCOMPARE(name->eingabetext(), QString());
    tippe(name, QStringLiteral("Berta"));
    m->werkzeug(QStringLiteral("neu"));
    QVERIFY(!m->steuerung().hinzufuegen());
    QCOMPARE(m->steuerung().anzahl(), 2);
    m->werkzeug(QStringLiteral("zurück"));
    QCOMPARE(name->eingabetext(), QStringLiteral("K0"));

    // Escape drops a pending change first, then closes the window.
    tippe(name, QStringLiteral("Verworfen"));
    QTest::keyClick(name->findChild<QLineEdit*>(), Qt::Key_Escape);
    QCOMPARE(name->eingabetext(), QStringLiteral("K0"));
    QVERIFY(letzteMaske());
    QTest::keyClick(name->findChild<QLineEdit*>(), Qt::Key_Escape);
    QTRY_VERIFY(!letzteMaske());
    Workspace ws;
    auto db = ws.openDatabase(pfad);
    auto rs = db->openRecordset(QStringLiteral("SELECT Name FROM Kunden ORDER BY Name"));
    QStringList namen;
    for (; !rs->eof(); rs->moveNext())
        namen.append(rs->value(0).toString());
    QCOMPARE(namen, (QStringList { QStringLiteral("Berta"), QStringLiteral("K0") }));
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestMaskenfenster::nichtVerfuegbareTasten()
{
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 1);
    oeffneDatenbank(pfad);
    frmMaske* m = ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    // The keys belong to the active window.
    m_mdi->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_mdi));
    QLineEdit* zeile = feld(m, QStringLiteral("Name"))->findChild<QLineEdit*>();
    zeile->setFocus();
    QTest::keyClick(zeile, Qt::Key_F5);
    QTest::keyClick(zeile, Qt::Key_F8);
    m->werkzeug(QStringLiteral("druckenmaske"));
    QCOMPARE(m_dlg->texte(), QStringList(3, NichtVerfuegbarText()));
}

void TestMaskenfenster::gescheitertesSpeichernBehaeltEingaben()
{
    Workspace ws;
    const QString pfad = m_dir->file(QStringLiteral("Masken.mdb"));
    test::maskendatenbank(ws, pfad)->close();
    oeffneDatenbank(pfad);
    frmMaske* m = ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(m);
    Feldelement* name = feld(m, QStringLiteral("Name"));
    QCOMPARE(name->eingabetext(), QStringLiteral("Meier"));

    // The name is required: the move fails, the record and the emptied input stay.
    tippe(name, QString());
    m_dlg->erwarteAntwort(Antwort::Ok);
    klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QCOMPARE(m->leisten()->navigation()->text(), QStringLiteral("Datensatz: 1 von 3"));
    QCOMPARE(name->eingabetext(), QString());
    tippe(name, QStringLiteral("Maier"));
    klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m->leisten()->navigation()->text(), QStringLiteral("Datensatz: 2 von 3"));
    QCOMPARE(test::gespeichert(
                 *m_db->db(), QStringLiteral("SELECT * FROM Kunden"), 0, QStringLiteral("Name"))
                 .toString(),
        QStringLiteral("Maier"));
}

void TestMaskenfenster::formelnWaehrendDerEingabe()
{
    Workspace ws;
    const QString pfad = m_dir->file(QStringLiteral("Masken.mdb"));
    test::maskendatenbank(ws, pfad)->close();
    oeffneDatenbank(pfad);
    Maskendefinition d = test::standardmaske(*m_db->db(), QStringLiteral("Kunden"));
    Maskenelement formel
        = test::maskenelement(Maskenelementart::AnzeigeText, QString(), 0, 0, 1500, 300);
    AnzeigetextEinstellungen a;
    a.formel = QStringLiteral("{Menge}*{Preis}");
    a.in(formel);
    d.elemente.append(formel);
    objektuebergabe().maske(QStringLiteral("Kunden"), maskendefinitionstext(d));
    frmMaske* m = letzteMaske();
    QVERIFY(m);
    auto* ergebnis = qobject_cast<Anzeigefeld*>(m->steuerelement(int(d.elemente.size()) - 1));
    QVERIFY(ergebnis);
    QCOMPARE(ergebnis->text(), QStringLiteral("12,5"));
    tippe(feld(m, QStringLiteral("Menge")), QStringLiteral("4"));
    QCOMPARE(ergebnis->text(), QStringLiteral("10"));
    // Dropping the change shows the stored result again.
    m->werkzeug(QStringLiteral("schließen"));
    QCOMPARE(ergebnis->text(), QStringLiteral("12,5"));
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestMaskenfenster::beispielmaskenOeffnen()
{
    const QString pfad = erzeugeBeispieldatenbank(m_dir->file(QStringLiteral("beispiel")));
    schreibeBeispieldefinitionen(pfad);
    oeffneDatenbank(pfad);
    frmZentrale* z = zentrale();
    QVERIFY(z);
    QStringList masken;
    for (const Zentralezeile& zeile : z->liste().zeilen()) {
        if (zeile.artText() == u"Benutzer-Maske")
            masken.append(zeile.anzeige);
    }
    QCOMPARE(masken.size(), 4);
    for (const QString& anzeige : masken) {
        frmMaske* m = ausZentrale(QStringLiteral("Benutzer-Maske"), anzeige);
        QVERIFY2(m, qPrintable(anzeige));
        QVERIFY2(m_dlg->meldungen().isEmpty(), qPrintable(anzeige + m_dlg->texte().join(u'\n')));
        QVERIFY(m->steuerung().hatDatensatz());
        m->werkzeug(QStringLiteral("vor"));
        m->werkzeug(QStringLiteral("zurück"));
        QCOMPARE(m->steuerung().position(), 0);
        m->werkzeug(QStringLiteral("schließen"));
        QTRY_VERIFY(letzteMaske() != m);
    }
    QVERIFY(m_dlg->meldungen().isEmpty());
}

QTEST_MAIN(TestMaskenfenster)
#include "tst_maskenfenster.moc"
