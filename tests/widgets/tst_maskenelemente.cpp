#include "base/Format.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/Ankreuzfeld.h"
#include "widgets/Anzeigefeld.h"
#include "widgets/Bildlage.h"
#include "widgets/Datumseingabe.h"
#include "widgets/Memoeingabe.h"
#include "widgets/Optionsgruppe.h"
#include "widgets/Spaltenliste.h"
#include "widgets/Texteingabe.h"
#include "widgets/Zahleingabe.h"
#include "widgets/Zelleneditor.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace kv;

namespace {

/// An element in a window of its own with a second input to take the focus away.
template <class T> struct Fenster {
    QWidget fenster;
    T* element = new T(&fenster);
    QLineEdit* anderes = new QLineEdit(&fenster);

    Fenster()
    {
        auto* layout = new QVBoxLayout(&fenster);
        layout->addWidget(element);
        layout->addWidget(anderes);
        fenster.resize(320, 120);
        // The element starts without the focus, showing its display form.
        anderes->setFocus();
        fenster.show();
        fenster.activateWindow();
    }
    bool bereit() { return QTest::qWaitForWindowActive(&fenster); }
    void tippe(QWidget* w, const QString& text)
    {
        w->setFocus();
        QTest::keyClicks(w, text);
    }
    /// Leaves the element for the other input; the check of the entry runs on the next turn.
    void verlassen()
    {
        anderes->setFocus();
        QCoreApplication::processEvents();
    }
};

QString ungueltig(const QString& feld, const QString& wert, const QString& min, const QString& max,
    const QString& schluss)
{
    return QStringLiteral("Der Eingabewert ist ungültig!\n\nDatenfeld: %1\nAktueller Wert: %2\n"
                          "Minimalwert: %3\nMaximalwert: %4\n\n%5")
        .arg(feld, wert, min, max, schluss);
}

} // namespace

class TestMaskenelemente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void texteingabe();
    void eingabeformat_data();
    void eingabeformat();
    void memoeingabe();
    void zahlAnzeigeUndEingabe();
    void zahlUeberMaximum();
    void zahlLeerenUndGanzzahl();
    void zahlPfeileUndRechner();
    void datum();
    void datumGrenzenUndLeereingabe();
    void ankreuzfeld();
    void optionsgruppe();
    void anzeigefeld();
    void spaltenliste();
    void listenwerte_data();
    void listenwerte();
    void bildrechteck_data();
    void bildrechteck();
};

void TestMaskenelemente::texteingabe()
{
    Fenster<Texteingabe> f;
    QVERIFY(f.bereit());
    Texteingabe* t = f.element;
    t->setzeHoechstlaenge(5);
    QSignalSpy geaendert(t, &Feldelement::wertGeaendert);

    // A stored value is shown whole even when longer than the field now allows.
    t->zeigeWert(QStringLiteral("Müller-Lüdenscheidt"));
    QCOMPARE(t->eingabetext(), QStringLiteral("Müller-Lüdenscheidt"));
    QVERIFY(!t->datenGeaendert());
    QCOMPARE(geaendert.count(), 0);

    t->zeigeWert(QVariant());
    QVERIFY(t->leer());
    QVERIFY(t->wert().isNull());
    f.tippe(t->zeile(), QStringLiteral("Meierhof"));
    QCOMPARE(t->wert().toString(), QStringLiteral("Meier"));
    QVERIFY(t->datenGeaendert());
    QVERIFY(geaendert.count() > 0);

    // Emptying gives Null, not an empty text.
    t->zeile()->selectAll();
    QTest::keyClick(t->zeile(), Qt::Key_Delete);
    QVERIFY(t->wert().isNull());

    t->setzeNurLesen(true);
    t->zeigeWert(QStringLiteral("fest"));
    f.tippe(t->zeile(), QStringLiteral("x"));
    QCOMPARE(t->wert().toString(), QStringLiteral("fest"));
    QVERIFY(!t->datenGeaendert());
}

void TestMaskenelemente::eingabeformat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("ergebnis");
    QTest::newRow("Buchstabe und Ziffer, gross") << "A9"
                                                 << "b7x"
                                                 << "B7";
    QTest::newRow("klein") << "aa"
                           << "XY"
                           << "xy";
    QTest::newRow("Umlaut ist kein Buchstabe A") << "AA"
                                                 << "ÄB"
                                                 << "B";
    QTest::newRow("Zeichen #") << "####"
                               << "-1,5"
                               << "-1,5";
    QTest::newRow("binaer") << "BBB"
                            << "1021"
                            << "101";
    QTest::newRow("hexadezimal") << "xxx"
                                 << "aFg0"
                                 << "aF0";
    QTest::newRow("Symbole") << "@@"
                             << "a%&"
                             << "%&";
}

void TestMaskenelemente::eingabeformat()
{
    QFETCH(QString, format);
    QFETCH(QString, getippt);
    QFETCH(QString, ergebnis);
    Fenster<Texteingabe> f;
    QVERIFY(f.bereit());
    TexteingabeEinstellungen e;
    e.eingabeformat = format;
    f.element->setzeEinstellungen(e);
    f.tippe(f.element->zeile(), getippt);
    QCOMPARE(f.element->eingabetext(), ergebnis);
}

void TestMaskenelemente::memoeingabe()
{
    Fenster<Memoeingabe> f;
    QVERIFY(f.bereit());
    Memoeingabe* m = f.element;
    m->zeigeWert(QStringLiteral("eins\r\nzwei"));
    QCOMPARE(m->wert().toString(), QStringLiteral("eins\r\nzwei"));
    QVERIFY(!m->datenGeaendert());

    // Shift+Enter breaks the line in the stored text's form.
    m->editor()->setFocus();
    m->editor()->moveCursor(QTextCursor::End);
    QTest::keyClick(m->editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(m->editor(), QStringLiteral("drei"));
    QCOMPARE(m->wert().toString(), QStringLiteral("eins\r\nzwei\r\ndrei"));
    QVERIFY(m->datenGeaendert());

    m->setzeHoechstlaenge(4);
    m->zeigeWert(QVariant());
    QTest::keyClicks(m->editor(), QStringLiteral("abcdef"));
    QCOMPARE(m->wert().toString(), QStringLiteral("abcd"));
}

void TestMaskenelemente::zahlAnzeigeUndEingabe()
{
    Fenster<Zahleingabe> f;
    QVERIFY(f.bereit());
    Zahleingabe* z = f.element;
    ZahleingabeEinstellungen e;
    e.dezimalstellen = 2;
    e.tausendertrennung = true;
    z->setzeEinstellungen(e, false);
    z->zeigeWert(1234.5);
    QCOMPARE(z->zeile()->text(), QStringLiteral("1.234,50"));
    // With the focus the value is shown as it is typed.
    z->zeile()->setFocus();
    QCOMPARE(z->zeile()->text(), QStringLiteral("1234,5"));
    QCOMPARE(z->eingabetext(), QStringLiteral("1234,5"));
    f.verlassen();

    e.tausendertrennung = false;
    z->setzeEinstellungen(e, false);
    QCOMPARE(z->zeile()->text(), QStringLiteral("1234,50"));
    e.waehrung = true;
    z->setzeEinstellungen(e, false);
    QCOMPARE(z->anzeigeformat(), ZahleingabeEinstellungen(e).wirksamesFormat());
    QVERIFY(z->zeile()->text().contains(QStringLiteral("€")));
    e.anzeigeformat = QStringLiteral("0.0");
    z->setzeEinstellungen(e, false);
    QCOMPARE(z->zeile()->text(), QStringLiteral("1234,5"));

    z->zeile()->setFocus();
    z->zeile()->selectAll();
    QTest::keyClicks(z->zeile(), QStringLiteral("7,25"));
    QCOMPARE(z->wert().toDouble(), 7.25);
    QVERIFY(z->datenGeaendert());
    f.verlassen();
    QCOMPARE(z->zeile()->text(), QStringLiteral("7,3"));
    QCOMPARE(z->wert().toDouble(), 7.25);
}

void TestMaskenelemente::zahlUeberMaximum()
{
    test::ScriptedDialoge dialoge;
    Fenster<Zahleingabe> f;
    QVERIFY(f.bereit());
    Zahleingabe* z = f.element;
    z->setzeDatenfeld(QStringLiteral("Menge"));
    ZahleingabeEinstellungen e;
    e.minimum = 0;
    e.maximum = 100;
    z->setzeEinstellungen(e, true);
    z->zeigeWert(5);
    z->zeile()->setFocus();
    z->zeile()->selectAll();
    QTest::keyClicks(z->zeile(), QStringLiteral("150"));
    QVERIFY(!z->gueltig());
    f.verlassen();
    QTRY_COMPARE(dialoge.meldungen().size(), 1);
    QCOMPARE(dialoge.letzteMeldung().text,
        ungueltig(QStringLiteral("Menge"), QStringLiteral("150"), QStringLiteral("0"),
            QStringLiteral("100"), QStringLiteral("Bitte korrigieren Sie die Eingabe.")));
    // The focus is back in the input, the entry kept for correcting.
    QTRY_COMPARE(QApplication::focusWidget(), z->zeile());
    QCOMPARE(z->zeile()->text(), QStringLiteral("150"));
    QCOMPARE(z->wert().toInt(), 5);
    QVERIFY(!z->pruefen());
    QCOMPARE(dialoge.meldungen().size(), 2);

    z->zeile()->selectAll();
    QTest::keyClicks(z->zeile(), QStringLiteral("100"));
    QVERIFY(z->pruefen());
    QCOMPARE(z->wert().toLongLong(), 100);
}

void TestMaskenelemente::zahlLeerenUndGanzzahl()
{
    test::ScriptedDialoge dialoge;
    Fenster<Zahleingabe> f;
    QVERIFY(f.bereit());
    Zahleingabe* z = f.element;
    z->setzeEinstellungen(ZahleingabeEinstellungen(), true);
    z->zeigeWert(42);
    QVERIFY(!z->leer());
    z->zeile()->setFocus();
    z->zeile()->selectAll();
    QTest::keyClick(z->zeile(), Qt::Key_Delete);
    QVERIFY(z->leer());
    QVERIFY(z->datenGeaendert());
    QVERIFY(z->wert().isNull());
    QVERIFY(z->pruefen());

    // A whole-number input refuses a fraction and text; limits stay empty in the message.
    QTest::keyClicks(z->zeile(), QStringLiteral("2,5"));
    QVERIFY(!z->pruefen());
    QCOMPARE(dialoge.letzteMeldung().text,
        ungueltig(QString(), QStringLiteral("2,5"), QString(), QString(),
            QStringLiteral("Bitte korrigieren Sie die Eingabe.")));
    z->zeile()->selectAll();
    QTest::keyClicks(z->zeile(), QStringLiteral("abc"));
    QVERIFY(!z->gueltig());
}

void TestMaskenelemente::zahlPfeileUndRechner()
{
    Fenster<Zahleingabe> f;
    QVERIFY(f.bereit());
    Zahleingabe* z = f.element;
    ZahleingabeEinstellungen e;
    e.spin = Spinanzeige::EinMitButtonRechtsBeiFokus;
    e.maximum = 10;
    z->setzeEinstellungen(e, true);
    z->zeigeWert(9);
    // Arrows and button only while the input has the focus.
    QVERIFY(z->pfeilAuf()->isHidden());
    z->zeile()->setFocus();
    QVERIFY(!z->pfeilAuf()->isHidden());
    QVERIFY(!z->knopf()->isHidden());
    QTest::keyClick(z->zeile(), Qt::Key_Up);
    QTest::keyClick(z->zeile(), Qt::Key_Up);
    QCOMPARE(z->wert().toLongLong(), 10);
    z->pfeilAb()->click();
    QCOMPARE(z->wert().toLongLong(), 9);

    z->rechnerOeffnen();
    auto* rechner = z->findChild<QLineEdit*>(QStringLiteral("Rechner"));
    QVERIFY(rechner);
    rechner->setText(QStringLiteral("(1+2)*3"));
    QTest::keyClick(rechner, Qt::Key_Return);
    QCOMPARE(z->wert().toLongLong(), 9);
    QVERIFY(z->datenGeaendert());
}

void TestMaskenelemente::datum()
{
    Fenster<Datumseingabe> f;
    QVERIFY(f.bereit());
    Datumseingabe* d = f.element;
    DatumeingabeEinstellungen e;
    e.anzeigeformat = QStringLiteral("mmmm yyyy");
    e.spin = Spinanzeige::EinMitButtonRechts;
    d->setzeEinstellungen(e);
    d->zeigeWert(QDateTime(QDate(2009, 2, 1), QTime(10, 30)));
    QCOMPARE(d->zeile()->text(), QStringLiteral("Februar 2009"));
    d->zeile()->setFocus();
    QCOMPARE(d->zeile()->text(), QStringLiteral("01.02.2009"));
    d->zeile()->selectAll();
    QTest::keyClicks(d->zeile(), QStringLiteral("3.4.2010"));
    // The time of day the value had stays.
    QCOMPARE(d->wert().toDateTime(), QDateTime(QDate(2010, 4, 3), QTime(10, 30)));
    QTest::keyClick(d->zeile(), Qt::Key_Down);
    QCOMPARE(d->wert().toDateTime().date(), QDate(2010, 4, 2));

    QCalendarWidget* kalender = d->kalenderOeffnen();
    QVERIFY(kalender);
    QCOMPARE(kalender->selectedDate(), QDate(2010, 4, 2));
    Q_EMIT kalender->clicked(QDate(2011, 5, 6));
    QCOMPARE(d->wert().toDateTime(), QDateTime(QDate(2011, 5, 6), QTime(10, 30)));
}

void TestMaskenelemente::datumGrenzenUndLeereingabe()
{
    test::ScriptedDialoge dialoge;
    Fenster<Datumseingabe> f;
    QVERIFY(f.bereit());
    Datumseingabe* d = f.element;
    d->setzeDatenfeld(QStringLiteral("Geburtsdatum"));
    DatumeingabeEinstellungen e;
    e.minimum = QDate(1900, 1, 1);
    e.maximum = QDate(2010, 12, 31);
    e.leereingabe = false;
    d->setzeEinstellungen(e);
    d->zeigeWert(QDateTime(QDate(2000, 1, 1), QTime()));
    f.tippe(d->zeile(), QString());
    d->zeile()->selectAll();
    QTest::keyClicks(d->zeile(), QStringLiteral("1.1.2011"));
    QVERIFY(!d->pruefen());
    QCOMPARE(dialoge.letzteMeldung().text,
        ungueltig(QStringLiteral("Geburtsdatum"), QStringLiteral("1.1.2011"),
            QStringLiteral("01.01.1900"), QStringLiteral("31.12.2010"),
            QStringLiteral("Bitte korrigieren Sie die Eingabe!")));
    // No date at all is refused the same way, and so is an empty entry here.
    d->zeile()->selectAll();
    QTest::keyClicks(d->zeile(), QStringLiteral("31.02.2009"));
    QVERIFY(!d->gueltig());
    d->zeile()->selectAll();
    QTest::keyClick(d->zeile(), Qt::Key_Delete);
    QVERIFY(!d->gueltig());
    e.leereingabe = true;
    d->setzeEinstellungen(e);
    QVERIFY(d->gueltig());
    QVERIFY(d->wert().isNull());
    // Read-only: no calendar.
    d->setzeNurLesen(true);
    QVERIFY(!d->kalenderOeffnen());
}

void TestMaskenelemente::ankreuzfeld()
{
    Fenster<Ankreuzfeld> f;
    QVERIFY(f.bereit());
    Ankreuzfeld* c = f.element;
    CheckboxEinstellungen e;
    e.text = QStringLiteral("Stammkunde mit einem langen Text");
    e.boxausrichtung = Boxausrichtung::Rechts;
    e.mehrzeilig = true;
    c->setzeEinstellungen(e);
    QCOMPARE(c->text(), e.text);
    QVERIFY(c->beschriftung()->wordWrap());
    QTRY_VERIFY(c->box()->geometry().left() > c->beschriftung()->geometry().left());

    c->zeigeWert(QVariant());
    QVERIFY(!c->angekreuzt());
    QCOMPARE(c->wert(), QVariant(false));
    c->zeigeWert(true);
    QVERIFY(c->angekreuzt());
    QVERIFY(!c->datenGeaendert());
    // A click on the text toggles, as one on the box does.
    QTest::mouseClick(c->beschriftung(), Qt::LeftButton);
    QCOMPARE(c->wert(), QVariant(false));
    QVERIFY(c->datenGeaendert());
    c->setzeNurLesen(true);
    c->umschalten();
    QCOMPARE(c->wert(), QVariant(false));
}

void TestMaskenelemente::optionsgruppe()
{
    Fenster<Optionsgruppe> f;
    QVERIFY(f.bereit());
    Optionsgruppe* o = f.element;
    OptionboxEinstellungen e;
    e.optionen = { { QStringLiteral("Eins"), QStringLiteral("1") },
        { QStringLiteral("Zwei"), QStringLiteral("2") },
        { QStringLiteral("Halb"), QStringLiteral("0.5") } };
    e.beschriftung = QStringLiteral("Stufe");
    e.textLinks = true;
    o->setzeEinstellungen(e);
    QCOMPARE(o->knopf(0)->layoutDirection(), Qt::RightToLeft);

    // Stored numbers find the option of the same number.
    o->zeigeWert(2);
    QCOMPARE(o->gewaehlt(), 1);
    o->zeigeWert(0.5);
    QCOMPARE(o->gewaehlt(), 2);
    o->zeigeWert(7);
    QCOMPARE(o->gewaehlt(), -1);
    QVERIFY(o->wert().isNull());
    QVERIFY(!o->datenGeaendert());
    o->knopf(0)->click();
    QCOMPARE(o->wert(), QVariant(QStringLiteral("1")));
    QVERIFY(o->datenGeaendert());
    QVERIFY(optionswertPasst(QStringLiteral("-1"), true));
    QVERIFY(optionswertPasst(QStringLiteral("Frau"), QStringLiteral("Frau")));
    QVERIFY(!optionswertPasst(QStringLiteral("frau"), QStringLiteral("Frau")));
}

void TestMaskenelemente::anzeigefeld()
{
    Fenster<Anzeigefeld> f;
    QVERIFY(f.bereit());
    Anzeigefeld* a = f.element;
    AnzeigetextEinstellungen e;
    e.statischerText = QStringLiteral("Zeile 1\nZeile 2");
    a->setzeEinstellungen(e);
    QCOMPARE(a->text(), e.statischerText);
    QVERIFY(a->nurLesen());

    e.statischerText.clear();
    e.anzeigeformat = QStringLiteral("#,##0.00");
    e.schriftgroesse = 14;
    a->setzeEinstellungen(e);
    a->zeigeWert(1234.5);
    QCOMPARE(a->text(), QStringLiteral("1.234,50"));
    QCOMPARE(a->font().pointSizeF(), 14.0);
    // A formula shows nothing until its result comes.
    e.formel = QStringLiteral("{A}*2");
    Anzeigefeld b;
    b.setzeEinstellungen(e);
    QCOMPARE(b.text(), QString());
    a->grab(); // paints every style without failing
}

void TestMaskenelemente::spaltenliste()
{
    Fenster<Spaltenliste> f;
    QVERIFY(f.bereit());
    Spaltenliste* l = f.element;
    ComboboxEinstellungen e;
    e.spalten = { { QStringLiteral("OrtID"), true, Combospaltentyp::Zahl, 500 },
        { QStringLiteral("PLZ"), false, Combospaltentyp::Text, 720 },
        { QStringLiteral("Ort"), false, Combospaltentyp::Text, 1440 } };
    e.verknuepfungsfeld = QStringLiteral("OrtID");
    e.anzeigefeld = QStringLiteral("Ort");
    l->setzeEinstellungen(e);
    l->setzeZeilen({ { 1, QStringLiteral("10115"), QStringLiteral("Berlin") },
        { 2, QStringLiteral("80331"), QStringLiteral("München") } });
    QCOMPARE(l->zeilenanzahl(), 2);
    QVERIFY(l->liste()->isColumnHidden(0));
    // The drop-down is as wide as the shown columns (one and a half inch at 96 dpi) and its
    // frame and scroll bar.
    QVERIFY(l->listenbreite() >= 48 + 96);
    QVERIFY(l->listenbreite() < 48 + 96 + 60);

    l->zeigeWert(qlonglong(2));
    QCOMPARE(l->anzeigetext(), QStringLiteral("München"));
    QCOMPARE(l->wert().toInt(), 2);
    QVERIFY(!l->datenGeaendert());
    // A value the list lacks is shown as it is, with no row chosen.
    l->zeigeWert(99);
    QCOMPARE(l->gewaehlt(), -1);
    QCOMPARE(l->anzeigetext(), QStringLiteral("99"));

    l->waehle(0);
    QCOMPARE(l->wert().toInt(), 1);
    QVERIFY(l->datenGeaendert());
    l->box()->setFocus();
    QTest::keyClick(l->box(), Qt::Key_Delete);
    QVERIFY(l->wert().isNull());
    QCOMPARE(l->anzeigetext(), QString());

    // Fixed values without column definitions: numbered columns, the first is the link.
    Spaltenliste fest;
    ComboboxEinstellungen ohne;
    fest.setzeEinstellungen(ohne);
    fest.setzeZeilen({ { QStringLiteral("A"), QStringLiteral("Anfang") } });
    QCOMPARE(fest.spalten().size(), 2);
    fest.waehle(0);
    QCOMPARE(fest.wert().toString(), QStringLiteral("A"));
}

void TestMaskenelemente::listenwerte_data()
{
    QTest::addColumn<QVariant>("liste");
    QTest::addColumn<QVariant>("gespeichert");
    QTest::addColumn<bool>("passt");
    QTest::newRow("Zahl und Text") << QVariant(QStringLiteral("2")) << QVariant(2) << true;
    QTest::newRow("Komma") << QVariant(QStringLiteral("2,5")) << QVariant(2.5) << true;
    QTest::newRow("Punkt der Datei") << QVariant(QStringLiteral("2.5")) << QVariant(2.5) << true;
    QTest::newRow("Gross und klein")
        << QVariant(QStringLiteral("ab")) << QVariant(QStringLiteral("AB")) << true;
    QTest::newRow("Datum") << QVariant(QStringLiteral("01.02.2009"))
                           << QVariant(QDateTime(QDate(2009, 2, 1), QTime(0, 0))) << true;
    QTest::newRow("anderer Text") << QVariant(QStringLiteral("a")) << QVariant(QStringLiteral("b"))
                                  << false;
    QTest::newRow("Null") << QVariant() << QVariant(1) << false;
}

void TestMaskenelemente::listenwerte()
{
    QFETCH(QVariant, liste);
    QFETCH(QVariant, gespeichert);
    QFETCH(bool, passt);
    QCOMPARE(listenwertPasst(liste, gespeichert), passt);
}

void TestMaskenelemente::bildrechteck_data()
{
    QTest::addColumn<int>("lage");
    QTest::addColumn<QRect>("erwartet");
    const QRect b(10, 20, 100, 50);
    Q_UNUSED(b);
    QTest::newRow("links oben") << 0 << QRect(10, 20, 20, 10);
    QTest::newRow("links unten") << 2 << QRect(10, 60, 20, 10);
    QTest::newRow("zentriert") << 4 << QRect(50, 40, 20, 10);
    QTest::newRow("rechts zentriert") << 7 << QRect(90, 40, 20, 10);
    QTest::newRow("gestreckt") << 9 << QRect(10, 20, 100, 50);
    QTest::newRow("repliziert") << 10 << QRect(10, 20, 20, 10);
    // Zoomed keeps the proportions: 2:1 into 100 x 50 fills it.
    QTest::newRow("gezoomt") << 11 << QRect(10, 20, 100, 50);
}

void TestMaskenelemente::bildrechteck()
{
    QFETCH(int, lage);
    QFETCH(QRect, erwartet);
    QCOMPARE(kv::bildrechteck(QRect(10, 20, 100, 50), QSize(20, 10), Flaechenlage(lage)), erwartet);
}

QTEST_MAIN(TestMaskenelemente)
#include "tst_maskenelemente.moc"
