#include "../masks/Maskendatenbank.h"
#include "Maskenfenster.h"
#include "engine/TableDef.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Standardmaske.h"
#include "masks/ui/F6Kopie.h"
#include "widgets/Ankreuzfeld.h"
#include "widgets/DataGrid.h"
#include "widgets/Spaltenliste.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTableView>
#include <QTimer>

using namespace kv;
using namespace kv::engine;

namespace {

QVariant wertAus(Database& db, const QString& sql)
{
    auto rs = db.openRecordset(sql);
    return rs->value(0);
}

QLineEdit* zeileVon(Feldelement* f)
{
    return f ? f->findChild<QLineEdit*>() : nullptr;
}

} // namespace

/// The mask window at its edges: the last and the only record deleted, copies of a record with
/// a counter, values only the record change writes (check box, emptied number, list value),
/// the range of a number input, and the F6 copy.
class TestMaskengrenzfaelle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void letztenUndEinzigenLoeschen();
    void grosseQuelleWirdNebenherGezaehlt();
    void neukopieMitZaehler();
    void ankreuzfeldUndGeleerteZahl();
    void listenwertLaengerAlsDasFeld();
    void zahlUeberDemMaximum();
    void f6UebernimmtEinenWert();

private:
    /// The standard mask of the mask database's Kunden, changed by anpassen before it opens.
    frmMaske* kundenmaske(const std::function<void(Maskendefinition&)>& anpassen = {});
    std::unique_ptr<test::Maskenfenster> m_f;
};

void TestMaskengrenzfaelle::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestMaskengrenzfaelle::init()
{
    m_f = std::make_unique<test::Maskenfenster>();
}

void TestMaskengrenzfaelle::cleanup()
{
    const bool leer = m_f->dlg().leer();
    m_f.reset();
    QVERIFY(leer);
}

frmMaske* TestMaskengrenzfaelle::kundenmaske(const std::function<void(Maskendefinition&)>& anpassen)
{
    Workspace ws;
    const QString pfad = m_f->dir().file(QStringLiteral("Masken.mdb"));
    test::maskendatenbank(ws, pfad)->close();
    if (!m_f->oeffneDatenbank(pfad))
        return nullptr;
    Maskendefinition d = test::standardmaske(*m_f->db().db(), QStringLiteral("Kunden"));
    if (anpassen)
        anpassen(d);
    return m_f->oeffneMaske(QStringLiteral("Kunden"), maskendefinitionstext(d));
}

void TestMaskengrenzfaelle::letztenUndEinzigenLoeschen()
{
    frmMaske* m = m_f->kundenStandardmaske(2);
    QVERIFY(m);
    Feldelement* name = test::Maskenfenster::feld(m, QStringLiteral("Name"));
    Navigationsleiste* nav = m->leisten()->navigation();

    // The last record gone, the one before it is shown.
    test::Maskenfenster::klicke(m, Navigationsschritt::Letzter);
    QCOMPARE(name->eingabetext(), QStringLiteral("K1"));
    m->werkzeug(QStringLiteral("löschen"));
    QCOMPARE(nav->text(), QStringLiteral("Datensatz: 1 von 1"));
    QCOMPARE(name->eingabetext(), QStringLiteral("K0"));

    // The only record gone, the window waits for a new one with empty elements.
    m->werkzeug(QStringLiteral("löschen"));
    QCOMPARE(m->steuerung().anzahl(), 0);
    QVERIFY(m->steuerung().hinzufuegen());
    QCOMPARE(name->eingabetext(), QString());
    QCOMPARE(m->leisten()->werkzeug(QStringLiteral("Neu"))->text(), QStringLiteral("Speichern"));
    QVERIFY(!m->leisten()->werkzeug(QStringLiteral("Löschen"))->isEnabled());

    // What is typed there becomes the new record.
    test::Maskenfenster::tippe(name, QStringLiteral("Neu"));
    m->werkzeug(QStringLiteral("neu"));
    QVERIFY(!m->steuerung().hinzufuegen());
    QCOMPARE(nav->text(), QStringLiteral("Datensatz: 1 von 1"));
    QCOMPARE(wertAus(*m_f->db().db(), QStringLiteral("SELECT Name FROM Kunden")).toString(),
        QStringLiteral("Neu"));
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskengrenzfaelle::grosseQuelleWirdNebenherGezaehlt()
{
    frmMaske* m = m_f->kundenStandardmaske(3000);
    QVERIFY(m);
    Feldelement* name = test::Maskenfenster::feld(m, QStringLiteral("Name"));
    Navigationsleiste* nav = m->leisten()->navigation();
    QCOMPARE(name->eingabetext(), QStringLiteral("K0"));
    // The count arrives from the worker and completes the position.
    QTRY_COMPARE(nav->text(), QStringLiteral("Datensatz: 1 von 3000"));

    // The last record is the last one of all, counted or not yet.
    frmMaske* zweite = m_f->ausZentrale(QStringLiteral("Standard-Maske"), QStringLiteral("Kunden"));
    QVERIFY(zweite && zweite != m);
    test::Maskenfenster::klicke(zweite, Navigationsschritt::Letzter);
    QCOMPARE(zweite->leisten()->navigation()->text(), QStringLiteral("Datensatz: 3000 von 3000"));
    QCOMPARE(test::Maskenfenster::feld(zweite, QStringLiteral("Name"))->eingabetext(),
        QStringLiteral("K2999"));
    QVERIFY(!zweite->leisten()->werkzeug(QStringLiteral("Vor"))->isEnabled());
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskengrenzfaelle::neukopieMitZaehler()
{
    frmMaske* m = kundenmaske();
    QVERIFY(m);
    Database& db = *m_f->db().db();
    m->werkzeug(QStringLiteral("neukopie"));
    QVERIFY(m->steuerung().hinzufuegen());
    QCOMPARE(test::Maskenfenster::feld(m, QStringLiteral("Name"))->eingabetext(),
        QStringLiteral("Meier"));
    m->werkzeug(QStringLiteral("neu"));
    QVERIFY(!m->steuerung().hinzufuegen());
    // The copy got a counter of its own; everything else is the original's.
    QCOMPARE(
        wertAus(db, QStringLiteral("SELECT Count(*) FROM Kunden WHERE Name = 'Meier'")).toInt(), 2);
    QCOMPARE(wertAus(db, QStringLiteral("SELECT Max(KundenNr) FROM Kunden")).toInt(), 4);
    QCOMPARE(wertAus(db, QStringLiteral("SELECT Menge FROM Kunden WHERE KundenNr = 4")).toInt(), 5);
    QCOMPARE(m->steuerung().datensatz()->value(QStringLiteral("KundenNr")).toInt(), 4);
    QCOMPARE(test::Maskenfenster::feld(m, QStringLiteral("KundenNr"))->wert().toInt(), 4);
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskengrenzfaelle::ankreuzfeldUndGeleerteZahl()
{
    frmMaske* m = kundenmaske();
    QVERIFY(m);
    auto* stammkunde
        = qobject_cast<Ankreuzfeld*>(test::Maskenfenster::feld(m, QStringLiteral("Stammkunde")));
    QVERIFY(stammkunde);
    QVERIFY(stammkunde->angekreuzt());
    QTest::mouseClick(stammkunde->box(), Qt::LeftButton);
    QVERIFY(!stammkunde->angekreuzt());
    test::Maskenfenster::tippe(test::Maskenfenster::feld(m, QStringLiteral("Menge")), QString());
    test::Maskenfenster::klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m->steuerung().position(), 1);
    Database& db = *m_f->db().db();
    QCOMPARE(
        wertAus(db, QStringLiteral("SELECT Stammkunde FROM Kunden WHERE KundenNr = 1")).toInt(), 0);
    // Emptied is Null, not 0.
    QVERIFY(wertAus(db, QStringLiteral("SELECT Menge FROM Kunden WHERE KundenNr = 1")).isNull());
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskengrenzfaelle::listenwertLaengerAlsDasFeld()
{
    int liste = -1;
    frmMaske* m = kundenmaske([&liste](Maskendefinition& d) {
        d.fensterMitStatuszeile = true;
        Maskenelement e = test::maskenelement(
            Maskenelementart::EingabeCombobox, QStringLiteral("Anrede"), 7000, 100, 2000, 300);
        ComboboxEinstellungen c;
        c.spalten = { { QStringLiteral("Anrede"), false, Combospaltentyp::Text, 2000 } };
        c.verknuepfungsfeld = QStringLiteral("Anrede");
        c.festeWerte = { { QStringLiteral("Herr") }, { QStringLiteral("Professorin") } };
        c.in(e);
        liste = int(d.elemente.size());
        d.elemente.append(e);
    });
    QVERIFY(m);
    auto* auswahl = qobject_cast<Spaltenliste*>(m->feldelement(liste));
    QVERIFY(auswahl);
    auswahl->waehle(1);
    test::Maskenfenster::klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m->steuerung().position(), 1);
    // The field holds five characters: the value is cut, and the status line says so.
    QCOMPARE(
        wertAus(*m_f->db().db(), QStringLiteral("SELECT Anrede FROM Kunden WHERE KundenNr = 1"))
            .toString(),
        QStringLiteral("Profe"));
    QCOMPARE(m->leisten()->hilfstext(),
        QStringLiteral("Der Wert wurde auf die Feldgröße gekürzt: Anrede"));
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

void TestMaskengrenzfaelle::zahlUeberDemMaximum()
{
    frmMaske* m = kundenmaske([](Maskendefinition& d) {
        for (Maskenelement& e : d.elemente) {
            if (e.datenfeld != u"Menge")
                continue;
            e.art = Maskenelementart::EingabeGanzzahl;
            ZahleingabeEinstellungen z;
            z.minimum = 0;
            z.maximum = 100;
            z.in(e);
        }
    });
    QVERIFY(m);
    Feldelement* menge = test::Maskenfenster::feld(m, QStringLiteral("Menge"));
    test::Maskenfenster::tippe(menge, QStringLiteral("150"));
    QCOMPARE(menge->eingabetext(), QStringLiteral("150"));
    m_f->dlg().erwarteAntwort(Antwort::Ok);
    test::Maskenfenster::klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m_f->dlg().meldungen().size(), 1);
    const QString text = m_f->dlg().letzteMeldung().text;
    QVERIFY2(text.startsWith(QStringLiteral("Der Eingabewert ist ungültig!")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Datenfeld: Menge")));
    QVERIFY(text.contains(QStringLiteral("Aktueller Wert: 150")));
    QVERIFY(text.contains(QStringLiteral("Minimalwert: 0")));
    QVERIFY(text.contains(QStringLiteral("Maximalwert: 100")));
    QVERIFY(text.endsWith(QStringLiteral("Bitte korrigieren Sie die Eingabe.")));
    // The record stays, with the entry, and the focus is back in it.
    QCOMPARE(m->steuerung().position(), 0);
    QCOMPARE(menge->eingabetext(), QStringLiteral("150"));
    QCOMPARE(m->window()->focusWidget(), zeileVon(menge));

    test::Maskenfenster::tippe(menge, QStringLiteral("100"));
    test::Maskenfenster::klicke(m, Navigationsschritt::Vor);
    QCOMPARE(m->steuerung().position(), 1);
    QCOMPARE(wertAus(*m_f->db().db(), QStringLiteral("SELECT Menge FROM Kunden WHERE KundenNr = 1"))
                 .toInt(),
        100);
}

void TestMaskengrenzfaelle::f6UebernimmtEinenWert()
{
    // Without a function bar the keys work all the same.
    frmMaske* m
        = kundenmaske([](Maskendefinition& d) { d.funktionsleisteAnzeige = Funktionsleiste::Aus; });
    QVERIFY(m);
    m_f->mdi()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_f->mdi()));
    m->werkzeug(QStringLiteral("neu"));
    Feldelement* name = test::Maskenfenster::feld(m, QStringLiteral("Name"));
    QLineEdit* zeile = zeileVon(name);
    zeile->setFocus();

    // The dialog lists every name once, in order; Enter takes the current one.
    QStringList gezeigt;
    const auto waehle = [&gezeigt](int zeile, Qt::Key taste) {
        QTimer::singleShot(0, [&gezeigt, zeile, taste] {
            auto* dialog = qobject_cast<F6Kopie*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            DataGrid* g = dialog->grid();
            gezeigt.clear();
            for (int i = 0; i < g->datenzeilen(); ++i)
                gezeigt.append(g->zelltext(i, 0));
            g->setzeAktuelleZeile(zeile);
            QTest::keyClick(g->ansicht(), taste);
            if (dialog->isVisible())
                dialog->reject();
        });
    };
    waehle(1, Qt::Key_Return);
    QTest::keyClick(zeile, Qt::Key_F6);
    QCOMPARE(gezeigt,
        (QStringList {
            QStringLiteral("Meier"), QStringLiteral("O'Brien"), QStringLiteral("Schulz") }));
    QCOMPARE(name->eingabetext(), QStringLiteral("O'Brien"));
    QVERIFY(name->datenGeaendert());
    QCOMPARE(m->window()->focusWidget(), zeile);

    // Escape leaves the element as it was.
    waehle(2, Qt::Key_Escape);
    QTest::keyClick(zeile, Qt::Key_F6);
    QCOMPARE(gezeigt.size(), 3);
    QCOMPARE(name->eingabetext(), QStringLiteral("O'Brien"));
    m->werkzeug(QStringLiteral("neu"));
    QCOMPARE(wertAus(*m_f->db().db(),
                 QStringLiteral("SELECT Count(*) FROM Kunden WHERE Name = 'O''Brien'"))
                 .toInt(),
        2);
    QVERIFY(m_f->dlg().meldungen().isEmpty());
}

QTEST_MAIN(TestMaskengrenzfaelle)
#include "tst_maskengrenzfaelle.moc"
