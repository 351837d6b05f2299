#include "../masks/Maskendatenbank.h"
#include "Kundendatenbank.h"
#include "Zentraleumfeld.h"
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

namespace {

/// The value of a field of the record at position (from 0) in table order of the first field.
QVariant gespeichert(Database& db, const QString& sql, int position, const QString& feld)
{
    auto rs = db.openRecordset(sql);
    rs->move(position);
    return rs->value(feld);
}

} // namespace

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
    void oeffneDatenbank(const QString& pfad);
    frmZentrale* zentrale();
    /// Opens the row of the navigator with that kind and text start; the mask window opened.
    frmMaske* ausZentrale(const QString& artText, const QString& anfang);
    frmMaske* letzteMaske() const;
    static Feldelement* feld(frmMaske* m, const QString& datenfeld);
    static void tippe(Feldelement* f, const QString& text);
    static void klicke(frmMaske* m, Navigationsschritt s);

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<AktuelleDatenbank> m_db;
    std::unique_ptr<QMdiArea> m_mdi;
};

void TestMaskenfenster::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestMaskenfenster::init()
{
    test::Zentraleumfeld(m_dir, m_dlg, m_db, m_mdi).aufbauen({ 1000, 800 });
    MaskenfensterAnmelden(m_mdi.get(), *m_db);
}

void TestMaskenfenster::cleanup()
{
    QVERIFY(test::Zentraleumfeld(m_dir, m_dlg, m_db, m_mdi).abbauen());
}

void TestMaskenfenster::oeffneDatenbank(const QString& pfad)
{
    m_db->Datenbank = pfad;
    m_db->DatenbankTyp = 1;
    m_db->oeffne();
    QVERIFY(m_db->offen());
}

frmZentrale* TestMaskenfenster::zentrale()
{
    Zentraleumgebung u;
    u.datenbank = m_db.get();
    u.aktionErlaubt = [](int) { return true; };
    u.alleFensterSchliessen = [] { return true; };
    u.datenbankSchliessen = [] {};
    return frmZentrale::zeigen(m_mdi.get(), u, [](const QStringList&) { return 0; });
}

frmMaske* TestMaskenfenster::ausZentrale(const QString& artText, const QString& anfang)
{
    frmZentrale* z = zentrale();
    if (!z)
        return nullptr;
    const QList<Zentralezeile>& zeilen = z->liste().zeilen();
    for (int i = 0; i < zeilen.size(); ++i) {
        if (zeilen.at(i).artText() == artText && zeilen.at(i).anzeige.startsWith(anfang)) {
            z->setzeAktuelleZeile(i);
            QTest::mouseClick(z->Command1(frmZentrale::Oeffnen), Qt::LeftButton);
            return letzteMaske();
        }
    }
    return nullptr;
}

frmMaske* TestMaskenfenster::letzteMaske() const
{
    frmMaske* gefunden = nullptr;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (auto* m = qobject_cast<frmMaske*>(w->widget()))
            gefunden = m;
    }
    return gefunden;
}

Feldelement* TestMaskenfenster::feld(frmMaske* m, const QString& datenfeld)
{
    const QList<Maskenelement>& elemente = m->definition().elemente;
    for (int i = 0; i < elemente.size(); ++i) {
        Feldelement* f = m->feldelement(i);
        if (f && elemente.at(i).datenfeld.compare(datenfeld, Qt::CaseInsensitive) == 0)
            return f;
    }
    return nullptr;
}

void TestMaskenfenster::tippe(Feldelement* f, const QString& text)
{
    auto* zeile = f->findChild<QLineEdit*>();
    QVERIFY(zeile);
    zeile->setFocus();
    zeile->selectAll();
    if (text.isEmpty())
        QTest::keyClick(zeile, Qt::Key_Delete);
    else
        QTest::keyClicks(zeile, text);
}

void TestMaskenfenster::klicke(frmMaske* m, Navigationsschritt s)
{
    QTest::mouseClick(m->leisten()->navigation()->knopf(s), Qt::LeftButton);
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
        Maskendefinition d = leseMaskendefinition(
            standardmaskentext(QStringLiteral("Kunden"),
                maskenfelder(*m_db->db()->tableDefs().find(QStringLiteral("Kunden"))), 300,
                Standardmaskenvariante::Fenster))
                                 .definition;
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
    QCOMPARE(gespeichert(*m_db->db(), sql, 0, QStringLiteral("Name")).toString(),
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
    QVERIFY(QTest::qWaitForWindowActive(m_mdi.get()));
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
    QCOMPARE(
        gespeichert(*m_db->db(), QStringLiteral("SELECT * FROM Kunden"), 0, QStringLiteral("Name"))
            .toString(),
        QStringLiteral("Maier"));
}

void TestMaskenfenster::formelnWaehrendDerEingabe()
{
    Workspace ws;
    const QString pfad = m_dir->file(QStringLiteral("Masken.mdb"));
    test::maskendatenbank(ws, pfad)->close();
    oeffneDatenbank(pfad);
    Maskendefinition d = leseMaskendefinition(
        standardmaskentext(QStringLiteral("Kunden"),
            maskenfelder(*m_db->db()->tableDefs().find(QStringLiteral("Kunden"))), 300,
            Standardmaskenvariante::Fenster))
                             .definition;
    Maskenelement formel;
    formel.art = Maskenelementart::AnzeigeText;
    formel.breite = 1500;
    formel.hoehe = 300;
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
