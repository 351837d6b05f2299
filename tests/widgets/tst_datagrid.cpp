#include "Rasterbedienung.h"
#include "base/Format.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "testutils/Testrastermodell.h"
#include "widgets/DataGrid.h"
#include "widgets/Farbwert.h"
#include "widgets/Zelleneditor.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace kv;
using test::Testrastermodell;

namespace {

enum Spalte { Name, Betrag, Datum, Nr, Notiz };

QDateTime tag(int j, int m, int t)
{
    return QDateTime(QDate(j, m, t), QTime(0, 0));
}

QList<Datenfeldinfo> felder()
{
    return {
        { QStringLiteral("Name"), Testrastermodell::Text, QStringLiteral("Kunden"),
            QStringLiteral("Name"), true },
        { QStringLiteral("Betrag"), Testrastermodell::Currency, QStringLiteral("Kunden"),
            QStringLiteral("Betrag"), true },
        { QStringLiteral("Datum"), Testrastermodell::Datum, QStringLiteral("Kunden"),
            QStringLiteral("Datum"), true },
        // An auto-increment field: the model does not let it be written.
        { QStringLiteral("Nr"), Testrastermodell::Long, QStringLiteral("Kunden"),
            QStringLiteral("Nr"), false },
        { QStringLiteral("Notiz"), Testrastermodell::Memo, QStringLiteral("Kunden"),
            QStringLiteral("Notiz"), true },
    };
}

QList<QVariantList> zeilen()
{
    return {
        { QStringLiteral("Meier"), 12.5, tag(2009, 2, 1), 1, QStringLiteral("eins\r\nzwei") },
        { QStringLiteral("Müller"), QVariant(), tag(2010, 3, 15), 2, QVariant() },
        { QStringLiteral("Schulz"), 3.25, QVariant(), 3, QStringLiteral("x") },
        { QStringLiteral("Adam"), 100.0, tag(2011, 1, 1), 4, QVariant() },
        { QStringLiteral("Berg"), 7.0, tag(2012, 5, 6), 5, QVariant() },
    };
}

QList<Rasterspalte> spalten()
{
    return {
        { QStringLiteral("Name"), QStringLiteral("Kunde"), 2880, Spaltenausrichtung::Links, false,
            QString(), true },
        { QStringLiteral("Betrag"), QString(), 1440, Spaltenausrichtung::Rechts, false,
            QStringLiteral("Currency"), true },
        { QStringLiteral("Datum"), QStringLiteral("Datum"), 0, Spaltenausrichtung::Zentriert, false,
            QStringLiteral("Short Date"), true },
        { QStringLiteral("Nr"), QStringLiteral("Nr."), 720, Spaltenausrichtung::Rechts, true,
            QString(), true },
        { QStringLiteral("Notiz"), QStringLiteral("Notiz"), 2000, Spaltenausrichtung::Links, false,
            QString(), true },
    };
}

/// A grid on the in-memory model, shown and active, both models under a tester.
struct Aufbau {
    test::ScriptedDialoge dialoge;
    Testrastermodell modell { felder(), zeilen() };
    QAbstractItemModelTester pruefer { &modell,
        QAbstractItemModelTester::FailureReportingMode::QtTest };
    DataGrid grid;
    std::unique_ptr<QAbstractItemModelTester> proxypruefer;

    explicit Aufbau(bool mitSpalten = true)
    {
        grid.resize(700, 300);
        grid.setzeModell(&modell);
        if (mitSpalten)
            grid.setzeSpalten(spalten());
        proxypruefer = test::zeigeAktiv(grid);
    }
    bool bereit() { return QTest::qWaitForWindowActive(&grid); }

    QTableView* ansicht() const { return grid.ansicht(); }
    QModelIndex zelle(int zeile, int spalte) const
    {
        return ansicht()->model()->index(zeile, spalte);
    }
    void gehe(int zeile, int spalte) { test::geheZu(grid, zeile, spalte); }
    /// Keys go where the focus is, as the user's keys do: the first one opens the editor.
    void tippe(const QString& text)
    {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1() ? c.toLatin1() : 'x');
    }
    void taste(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { test::drueckeTaste(k, m); }
    /// The open editor: it has the focus (a closed one may linger until deleted).
    Zelleneditor* editor() const
    {
        return qobject_cast<Zelleneditor*>(QApplication::focusWidget());
    }
    void klickeZeilenkopf(int zeile, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QHeaderView* koepfe = ansicht()->verticalHeader();
        const QPoint p(koepfe->width() / 2,
            koepfe->sectionViewportPosition(zeile) + koepfe->sectionSize(zeile) / 2);
        QTest::mouseClick(koepfe->viewport(), Qt::LeftButton, m, p);
    }
};

void schreibeBild(const QString& pfad)
{
    QImage bild(8, 8, QImage::Format_ARGB32);
    bild.fill(Qt::blue);
    QVERIFY(bild.save(pfad, "BMP"));
}

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void spaltenUndKoepfe();
    void ohneSpaltenAlleFelder();
    void kopfstileUndKopfklick();
    void suchzeile();
    void fusszeile();
    void markierenMitDatensatzmarkierern();
    void loeschenMitFrage();
    void loeschenMitUmschalterNurAktuelleZeile();
    void loeschenScheitertTeilweise();
    void zellpruefung_data();
    void zellpruefung();
    void eigenePruefung();
    void zeileSpeichernAbgelehnt();
    void neueZeile();
    void neueZeileDurchTippen();
    void gesperrteSpaltenUndNurLesen();
    void tastenF6F7();
    void zeilenumbruch();
    void escape();
    void aktuelleZeileInBeidenRichtungen();
    void navigationUndStrgEnde();
    void lesefehlerEinmal();
    void farbenUndZebramuster();
    void systemfarben();
    void hoeheSchriftUndBreiten();
    void druckzugriff();
};

void TestDataGrid::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestDataGrid::spaltenUndKoepfe()
{
    Aufbau a;
    QCOMPARE(a.grid.spaltenanzahl(), 5);
    const QAbstractItemModel* m = a.ansicht()->model();
    QCOMPARE(m->headerData(Name, Qt::Horizontal).toString(), QStringLiteral("Kunde"));
    // An empty title shows the field name.
    QCOMPARE(m->headerData(Betrag, Qt::Horizontal).toString(), QStringLiteral("Betrag"));
    QCOMPARE(a.grid.spaltentitel(Betrag), QStringLiteral("Betrag"));
    QCOMPARE(a.grid.datenfeld(Datum), QStringLiteral("Datum"));
    QCOMPARE(a.grid.feldtyp(Betrag), int(Testrastermodell::Currency));

    // The model formats with the column's format; Null is empty.
    QCOMPARE(a.grid.zelltext(0, Betrag), Format(12.5, QStringLiteral("Currency")));
    QCOMPARE(a.grid.zelltext(0, Datum), QStringLiteral("01.02.2009"));
    QCOMPARE(a.grid.zelltext(1, Betrag), QString());
    QCOMPARE(a.zelle(0, Betrag).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
        Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(a.zelle(0, Datum).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
        Qt::AlignHCenter | Qt::AlignVCenter);

    // Widths in twips; 0 keeps the default width.
    const int dpi = a.ansicht()->logicalDpiX();
    QCOMPARE(a.ansicht()->columnWidth(Name), qRound(2880.0 * dpi / 1440));
    QCOMPARE(
        a.ansicht()->columnWidth(Datum), a.ansicht()->horizontalHeader()->defaultSectionSize());

    QList<Rasterspalte> neu = spalten();
    neu[Notiz].sichtbar = false;
    a.grid.setzeSpalten(neu);
    QVERIFY(a.ansicht()->isColumnHidden(Notiz));
    const QList<Rasterspalte> gelesen = a.grid.spalten();
    QCOMPARE(gelesen.size(), 5);
    QCOMPARE(gelesen.at(Name).breite, 2880.0);
    QCOMPARE(gelesen.at(Nr).gesperrt, true);
    QCOMPARE(gelesen.at(Betrag).titel, QStringLiteral("Betrag"));
    QVERIFY(!gelesen.at(Notiz).sichtbar);
    QCOMPARE(a.modell.columnCount(), 5);

    // A field the source lacks gives an empty column instead of failing.
    neu.append({ QStringLiteral("Gibtsnicht"), QString(), 0, Spaltenausrichtung::Links, false,
        QString(), true });
    a.grid.setzeSpalten(neu);
    QCOMPARE(a.grid.spaltenanzahl(), 6);
    QCOMPARE(a.grid.zelltext(0, 5), QString());
    QCOMPARE(a.grid.spaltentitel(5), QStringLiteral("Gibtsnicht"));

    a.grid.setzeTitel(QStringLiteral("Kundenliste"));
    auto* titel = a.grid.findChild<QLabel*>(QStringLiteral("Titel"));
    QVERIFY(titel && titel->isVisible());
    QCOMPARE(titel->text(), QStringLiteral("Kundenliste"));
    QVERIFY(titel->geometry().bottom() <= a.ansicht()->geometry().top());
    a.grid.setzeTitel(QString());
    QVERIFY(!titel->isVisible());
}

void TestDataGrid::ohneSpaltenAlleFelder()
{
    Aufbau a(false);
    QCOMPARE(a.grid.spaltenanzahl(), 5);
    QCOMPARE(a.grid.spaltentitel(Notiz), QStringLiteral("Notiz"));
    QCOMPARE(a.grid.datenfeld(Nr), QStringLiteral("Nr"));
    QCOMPARE(a.grid.zelltext(0, Betrag), QStringLiteral("12,5"));
    QCOMPARE(a.grid.spalten().size(), 5);

    // A plain model is shown read-only as it is.
    QStandardItemModel einfach(2, 2);
    QAbstractItemModelTester pruefer(
        &einfach, QAbstractItemModelTester::FailureReportingMode::QtTest);
    einfach.setHorizontalHeaderLabels({ QStringLiteral("A"), QStringLiteral("B") });
    einfach.setData(einfach.index(1, 1), QStringLiteral("b2"));
    a.grid.setzeModell(&einfach);
    QCOMPARE(a.grid.spaltentitel(1), QStringLiteral("B"));
    QCOMPARE(a.grid.zelltext(1, 1), QStringLiteral("b2"));
    QCOMPARE(a.grid.datenzeilen(), 2);
    QVERIFY(!(a.ansicht()->model()->flags(a.zelle(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!a.grid.neueZeileBeginnen());
}

void TestDataGrid::kopfstileUndKopfklick()
{
    Aufbau a;
    QVERIFY(a.bereit());
    test::TempDir dir;
    schreibeBild(dir.file(QStringLiteral("SortAufsteigend.bmp")));
    a.grid.setzeKopfstilBild(Kopfstil::Aufsteigend, dir.file(QStringLiteral("SortAufsteigend.bmp")),
        QStringLiteral("Aufsteigend"));
    a.grid.setzeKopfstilBild(
        Kopfstil::Absteigend, dir.file(QStringLiteral("fehlt.bmp")), QStringLiteral("Absteigend"));
    const QAbstractItemModel* m = a.ansicht()->model();

    a.grid.setzeKopfstil(Betrag, Kopfstil::Aufsteigend);
    QCOMPARE(a.grid.kopfstil(Betrag), Kopfstil::Aufsteigend);
    QVERIFY(!m->headerData(Betrag, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(m->headerData(Betrag, Qt::Horizontal, Qt::ToolTipRole).toString(),
        QStringLiteral("Aufsteigend"));
    QVERIFY(m->headerData(Name, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    // A missing picture leaves the head without one, the tool tip stays.
    a.grid.setzeKopfstil(Betrag, Kopfstil::Absteigend);
    QVERIFY(m->headerData(Betrag, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(m->headerData(Betrag, Qt::Horizontal, Qt::ToolTipRole).toString(),
        QStringLiteral("Absteigend"));
    a.grid.setzeKopfstil(Betrag, Kopfstil::Heading);
    QVERIFY(m->headerData(Betrag, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());

    // A head click is reported and leaves the current row where it is.
    a.gehe(3, Name);
    QSignalSpy klicks(&a.grid, &DataGrid::kopfGeklickt);
    QHeaderView* kopf = a.ansicht()->horizontalHeader();
    const QPoint mitte(kopf->sectionViewportPosition(Datum) + kopf->sectionSize(Datum) / 2, 5);
    QTest::mouseClick(kopf->viewport(), Qt::LeftButton, Qt::NoModifier, mitte);
    QCOMPARE(klicks.count(), 1);
    QCOMPARE(klicks.at(0).at(0).toInt(), int(Datum));
    QCOMPARE(a.grid.aktuelleZeile(), 3);
    QVERIFY(a.grid.markierteZeilen().isEmpty());
}

void TestDataGrid::suchzeile()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QHeaderView* kopf = a.ansicht()->horizontalHeader();
    const int ohne = kopf->height();
    a.grid.setzeSuchzeile(true);
    QVERIFY(a.grid.suchzeile());
    QTRY_VERIFY(kopf->height() > ohne);
    auto* feld = kopf->findChild<QLineEdit*>(QStringLiteral("Suchzeile1"));
    QVERIFY(feld && feld->isVisible());
    // Each input lies under its head and below the heads' text.
    QCOMPARE(feld->x(), kopf->sectionViewportPosition(Betrag) + 1);
    QVERIFY(feld->y() >= ohne - 1);

    // The window requeries on every change; the input keeps the focus and the cursor stays
    // after its text.
    QSignalSpy aenderungen(&a.grid, &DataGrid::suchtextGeaendert);
    connect(&a.grid, &DataGrid::suchtextGeaendert, &a.modell,
        [&](int, const QString&) { a.modell.ersetzeZeilen(zeilen().mid(0, 2)); });
    feld->setFocus();
    QTest::keyClicks(feld, QStringLiteral("Me"));
    QCOMPARE(aenderungen.count(), 2);
    QCOMPARE(aenderungen.last().at(0).toInt(), int(Betrag));
    QCOMPARE(aenderungen.last().at(1).toString(), QStringLiteral("Me"));
    QCOMPARE(QApplication::focusWidget(), feld);
    QCOMPARE(feld->cursorPosition(), 2);
    QCOMPARE(a.grid.suchtext(Betrag), QStringLiteral("Me"));
    QCOMPARE(a.grid.datenzeilen(), 2);

    // Set by the window: not reported. Texts survive new columns of the same count.
    a.grid.setzeSuchtext(Name, QStringLiteral("x"));
    QCOMPARE(aenderungen.count(), 2);
    a.grid.setzeSpalten(spalten());
    QCOMPARE(a.grid.suchtext(Name), QStringLiteral("x"));

    // Scrolled to the right, the inputs move with their heads.
    a.grid.resize(250, 300);
    QTRY_VERIFY(a.ansicht()->horizontalScrollBar()->maximum() > 100);
    a.ansicht()->horizontalScrollBar()->setValue(100);
    QCOMPARE(feld->x(), kopf->sectionViewportPosition(Betrag) + 1);

    a.grid.setzeSuchzeile(false);
    QVERIFY(!feld->isVisible());
}

void TestDataGrid::fusszeile()
{
    Aufbau a;
    QVERIFY(a.bereit());
    auto* fuss = a.grid.findChild<QWidget*>(QStringLiteral("Fusszeile"));
    QVERIFY(fuss);
    QVERIFY(!fuss->isVisible());
    QVERIFY(!a.grid.fusszeile());

    a.grid.setzeFusszeile(true);
    a.grid.setzeFusstext(Betrag, QStringLiteral("122,75"), Spaltenausrichtung::Rechts);
    a.grid.setzeFusstext(Name, QStringLiteral("Summe"));
    QVERIFY(fuss->isVisible());
    QCOMPARE(a.grid.fusstext(Betrag), QStringLiteral("122,75"));
    QCOMPARE(a.grid.fussausrichtung(Betrag), Spaltenausrichtung::Rechts);
    QCOMPARE(a.grid.fussausrichtung(Name), Spaltenausrichtung::Links);
    QCOMPARE(a.grid.fusstext(Notiz), QString());
    QCOMPARE(a.grid.fusstext(99), QString());
    // Under the rows, above the horizontal scroll bar.
    QVERIFY(fuss->geometry().top() >= a.ansicht()->geometry().bottom());
    a.grid.resize(200, 300);
    auto* leiste = a.grid.findChild<QScrollBar*>(QStringLiteral("Laufleiste"));
    QTRY_VERIFY(leiste->isVisible());
    QVERIFY(leiste->geometry().top() >= fuss->geometry().bottom());
    QVERIFY(!a.ansicht()->horizontalScrollBar()->isVisible());
    leiste->setValue(leiste->maximum());
    QCOMPARE(a.ansicht()->horizontalScrollBar()->value(), leiste->maximum());

    a.grid.fusstexteLeeren();
    QCOMPARE(a.grid.fusstext(Betrag), QString());
    a.grid.setzeFusszeile(false);
    QVERIFY(!fuss->isVisible());
    QVERIFY(!leiste->isVisible());

    // Null counts 0 in a column sum.
    QCOMPARE(a.grid.spaltensumme(Betrag), 122.75);
    QCOMPARE(a.grid.spaltensumme(Name), 0.0);
}

void TestDataGrid::markierenMitDatensatzmarkierern()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.klickeZeilenkopf(1);
    QCOMPARE(a.grid.markierteZeilen(), QList<int> { 1 });
    QCOMPARE(a.grid.aktuelleZeile(), 1);
    a.klickeZeilenkopf(3, Qt::ControlModifier);
    QCOMPARE(a.grid.markierteZeilen(), (QList<int> { 1, 3 }));
    a.klickeZeilenkopf(1, Qt::ControlModifier);
    QCOMPARE(a.grid.markierteZeilen(), QList<int> { 3 });
    // Shift marks from the row clicked last.
    a.klickeZeilenkopf(4, Qt::ShiftModifier);
    QCOMPARE(a.grid.markierteZeilen(), (QList<int> { 1, 2, 3, 4 }));
    QCOMPARE(a.grid.markierteLesezeichen(), (QList<QByteArray> { "2", "3", "4", "5" }));

    // A click into a cell moves the cursor without marking.
    a.klickeZeilenkopf(0);
    const QRect zelle = a.ansicht()->visualRect(a.zelle(2, Name));
    QTest::mouseClick(a.ansicht()->viewport(), Qt::LeftButton, Qt::NoModifier, zelle.center());
    QCOMPARE(a.grid.aktuelleZeile(), 2);
    QCOMPARE(a.grid.markierteZeilen(), QList<int> { 0 });
    // The add-new row cannot be marked.
    a.klickeZeilenkopf(5);
    QCOMPARE(a.grid.markierteZeilen(), QList<int> { 0 });
    a.grid.markierungAufheben();
    QVERIFY(a.grid.markierteLesezeichen().isEmpty());
}

void TestDataGrid::loeschenMitFrage()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QSignalSpy geloescht(&a.grid, &DataGrid::zeilenGeloescht);
    a.grid.markiereZeile(1);
    a.grid.markiereZeile(3, true);
    a.dialoge.erwarteAntwort(Antwort::Nein);
    a.taste(Qt::Key_Delete);
    const Meldung frage = a.dialoge.letzteMeldung();
    QCOMPARE(frage.text,
        QStringLiteral(
            "Möchten Sie die markierten Datensätze löschen?\n\nMarkierte Datensätze: 2"));
    QCOMPARE(frage.titel, QStringLiteral("Daten löschen"));
    QCOMPARE(frage.knoepfe, Knoepfe::JaNein);
    QCOMPARE(frage.symbol, Symbol::Frage);
    QCOMPARE(frage.standardKnopf, 2);
    QCOMPARE(a.modell.gespeicherteZeilen(), 5);

    a.grid.setzeLoeschtitel(QStringLiteral("Positionen / Daten löschen"));
    a.dialoge.erwarteAntwort(Antwort::Ja);
    a.taste(Qt::Key_Delete);
    QCOMPARE(a.dialoge.letzteMeldung().titel, QStringLiteral("Positionen / Daten löschen"));
    QCOMPARE(a.modell.gespeicherteZeilen(), 3);
    QCOMPARE(a.grid.zelltext(1, Name), QStringLiteral("Schulz"));
    QCOMPARE(geloescht.count(), 1);
    QCOMPARE(geloescht.at(0).at(0).toInt(), 2);
    // The row that took the first deleted one's place is current; nothing stays marked.
    QCOMPARE(a.grid.aktuelleZeile(), 1);
    QVERIFY(a.grid.markierteZeilen().isEmpty());

    // The table view asks only from two rows on.
    a.dialoge.vergiss();
    a.grid.setzeLoeschfrage(Loeschfrage::AbZweiZeilen);
    a.grid.markiereZeile(0);
    a.taste(Qt::Key_Delete);
    QVERIFY(a.dialoge.meldungen().isEmpty());
    QCOMPARE(a.modell.gespeicherteZeilen(), 2);

    // Without marked rows Delete deletes nothing.
    a.taste(Qt::Key_Delete);
    QCOMPARE(a.modell.gespeicherteZeilen(), 2);
    // Deleting the last rows leaves an empty grid with its add-new row.
    a.grid.markiereZeile(0);
    a.grid.markiereZeile(1, true);
    a.dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(a.grid.loescheMarkierte());
    QCOMPARE(a.grid.datenzeilen(), 0);
    QCOMPARE(a.ansicht()->model()->rowCount(), 1);
}

void TestDataGrid::loeschenMitUmschalterNurAktuelleZeile()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.grid.markiereZeile(0);
    a.grid.markiereZeile(4, true);
    a.gehe(2, Name);
    a.dialoge.erwarteAntwort(Antwort::Ja);
    a.taste(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral(
            "Möchten Sie die markierten Datensätze löschen?\n\nMarkierte Datensätze: 1"));
    QCOMPARE(a.modell.gespeicherteZeilen(), 4);
    QCOMPARE(a.grid.zelltext(0, Name), QStringLiteral("Meier"));
    QCOMPARE(a.grid.zelltext(2, Name), QStringLiteral("Adam"));

    // Read-only: nothing is deleted, whatever the keys.
    a.grid.setzeNurLesen(true);
    a.gehe(1, Name);
    a.taste(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(a.modell.gespeicherteZeilen(), 4);
    QVERIFY(!a.grid.loescheMarkierte());
}

void TestDataGrid::loeschenScheitertTeilweise()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.grid.setzeFehlertexte(QStringLiteral("Fehler beim Ändern von Verknüpfungsdaten!"),
        QStringLiteral("Fehler beim Löschen von Verknüpfungsdaten!"), Fehlerkennung::Fehler);
    a.modell.setzeLoeschfehler(
        "3", { 3200, QStringLiteral("Datensatz kann nicht gelöscht werden.") });
    a.grid.markiereZeile(0);
    a.grid.markiereZeile(2, true);
    a.grid.markiereZeile(3, true);
    a.dialoge.erwarteAntwort(Antwort::Ja);
    QVERIFY(a.grid.loescheMarkierte());
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral("Fehler beim Löschen von Verknüpfungsdaten!\n\nFehler: 3200\n"
                       "Beschreibung: Datensatz kann nicht gelöscht werden."));
    // The rows before the failure are gone, the others stay.
    QCOMPARE(a.modell.gespeicherteZeilen(), 4);
    QCOMPARE(a.grid.zelltext(1, Name), QStringLiteral("Schulz"));
}

void TestDataGrid::zellpruefung_data()
{
    QTest::addColumn<int>("spalte");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("meldung"); // empty: taken

    QTest::newRow("Zahl") << int(Betrag) << QStringLiteral("12,5") << QString();
    QTest::newRow("Zahl mit Tausenderpunkt")
        << int(Betrag) << QStringLiteral("1.234,5") << QString();
    QTest::newRow("keine Zahl") << int(Betrag) << QStringLiteral("12a")
                                << QStringLiteral("Es wurde kein numerischer Wert eingegeben!\n\n"
                                                  "Bitte korrigieren Sie die Eingabe!\n\n"
                                                  "Eingabesspalte: Betrag\nEingabewert:12a");
    QTest::newRow("Datum") << int(Datum) << QStringLiteral("1.2.2009") << QString();
    QTest::newRow("kein Datum") << int(Datum) << QStringLiteral("31.2.2009")
                                << QStringLiteral("Es wurde kein Datumswert eingegeben!\n\n"
                                                  "Bitte korrigieren Sie die Eingabe!\n\n"
                                                  "Eingabesspalte: Datum\nEingabewert:31.2.2009");
    QTest::newRow("Text nimmt alles") << int(Name) << QStringLiteral("12a") << QString();
}

void TestDataGrid::zellpruefung()
{
    QFETCH(int, spalte);
    QFETCH(QString, eingabe);
    QFETCH(QString, meldung);

    Aufbau a;
    QVERIFY(a.bereit());
    a.gehe(1, spalte);
    a.tippe(eingabe);
    QVERIFY(a.editor());
    a.taste(Qt::Key_Return);
    if (meldung.isEmpty()) {
        QVERIFY(a.dialoge.meldungen().isEmpty());
        QVERIFY(!a.editor());
        QCOMPARE(a.modell.bearbeiteteZeile(), 1);
        return;
    }
    QCOMPARE(a.dialoge.letzteMeldung().text, meldung);
    QCOMPARE(a.dialoge.letzteMeldung().knoepfe, Knoepfe::Ok);
    // Refused: the editor stays with the entry, nothing reached the model, and no move leaves
    // the cell until the entry is fixed.
    QVERIFY(a.editor());
    QCOMPARE(a.editor()->text(), eingabe);
    QCOMPARE(a.modell.bearbeiteteZeile(), -1);
    a.taste(Qt::Key_Tab);
    QVERIFY(a.editor());
    QVERIFY(!a.grid.setzeAktuelleZeile(3));
    QCOMPARE(a.grid.aktuelleZeile(), 1);
    QVERIFY(!a.grid.aenderungenUebernehmen());
    QCOMPARE(a.dialoge.texte(), QStringList(4, meldung));

    a.editor()->setzeText(QString());
    a.taste(Qt::Key_Return);
    QVERIFY(!a.editor());
    QCOMPARE(a.dialoge.meldungen().size(), 4);
}

void TestDataGrid::eigenePruefung()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QList<int> geprueft;
    a.grid.setzeZellpruefung([&](int spalte, const QString& text) {
        geprueft.append(spalte);
        return text.startsWith(QLatin1Char('-')) ? QStringLiteral("Nicht negativ!") : QString();
    });
    a.gehe(0, Betrag);
    a.tippe(QStringLiteral("-1"));
    a.taste(Qt::Key_Return);
    QCOMPARE(a.dialoge.texte(), QStringList { QStringLiteral("Nicht negativ!") });
    QVERIFY(a.editor());
    a.editor()->setzeText(QStringLiteral("abc"));
    a.taste(Qt::Key_Return);
    QCOMPARE(a.dialoge.meldungen().size(), 1);
    QCOMPARE(geprueft, (QList<int> { Betrag, Betrag }));

    // An entry left unchanged is not checked again and not written.
    a.gehe(2, Name);
    a.taste(Qt::Key_F2);
    QVERIFY(a.editor());
    a.taste(Qt::Key_Return);
    QCOMPARE(geprueft.size(), 2);
}

void TestDataGrid::zeileSpeichernAbgelehnt()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.modell.setzePruefung([](const QVariantList& werte) -> std::optional<Rasterfehler> {
        if (werte.value(Name).toString().isEmpty())
            return Rasterfehler { 3316, QStringLiteral("Name muss angegeben werden.") };
        return std::nullopt;
    });
    QSignalSpy gespeichert(&a.grid, &DataGrid::zeileGespeichert);
    a.gehe(1, Name);
    a.taste(Qt::Key_F2);
    a.editor()->setzeText(QString());
    a.taste(Qt::Key_Return);
    QCOMPARE(a.modell.bearbeiteteZeile(), 1);
    QVERIFY(a.grid.inBearbeitung());
    QCOMPARE(a.ansicht()->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("✎"));

    a.taste(Qt::Key_Down);
    QCOMPARE(a.dialoge.letzteMeldung().text,
        QStringLiteral("Fehler beim Speichern der Datenzeile!\n\nNr: 3316\n"
                       "Beschreibung: Name muss angegeben werden."));
    QCOMPARE(a.grid.aktuelleZeile(), 1);
    QCOMPARE(a.modell.bearbeiteteZeile(), 1);
    QCOMPARE(a.grid.zelltext(1, Name), QString());
    QCOMPARE(gespeichert.count(), 0);

    a.gehe(1, Name);
    a.tippe(QStringLiteral("Neu"));
    a.taste(Qt::Key_Return);
    QVERIFY(a.grid.setzeAktuelleZeile(3));
    QCOMPARE(gespeichert.count(), 1);
    QCOMPARE(gespeichert.at(0).at(0).toByteArray(), QByteArray("2"));
    QCOMPARE(gespeichert.at(0).at(1).toBool(), false);
    QCOMPARE(a.modell.gespeichert(1).at(Name).toString(), QStringLiteral("Neu"));
    QCOMPARE(a.ansicht()->model()->headerData(1, Qt::Vertical).toString(), QString());
    QCOMPARE(a.ansicht()->model()->headerData(3, Qt::Vertical).toString(), QStringLiteral("▶"));
}

void TestDataGrid::neueZeile()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QSignalSpy begonnen(&a.grid, &DataGrid::hinzufuegenBegonnen);
    QSignalSpy beendet(&a.grid, &DataGrid::hinzufuegenBeendet);
    QSignalSpy gespeichert(&a.grid, &DataGrid::zeileGespeichert);
    QCOMPARE(a.ansicht()->model()->headerData(5, Qt::Vertical).toString(), QStringLiteral("*"));

    // While the rows are still counted, the count is finished first.
    a.modell.setzeZaehltNoch(true);
    QVERIFY(a.grid.neueZeileBeginnen());
    QCOMPARE(a.modell.anzahlErmittelt(), 1);
    QVERIFY(a.grid.imHinzufuegen());
    QCOMPARE(begonnen.count(), 1);
    QCOMPARE(a.grid.aktuelleZeile(), 5);
    QVERIFY(a.editor());
    QCOMPARE(a.grid.datenzeilen(), 5);
    QVERIFY(a.grid.lesezeichen(5).isEmpty());
    // A second "new" while adding keeps the one record.
    QVERIFY(a.grid.neueZeileBeginnen());
    QCOMPARE(begonnen.count(), 1);
    // The window fills defaults: the open editor shows its cell's, the others go to the row.
    QVERIFY(a.grid.setzeZelltext(5, Name, QStringLiteral("Vorgabe")));
    QVERIFY(a.grid.setzeZelltext(5, Datum, QStringLiteral("1.1.2020")));
    QVERIFY(!a.grid.setzeZelltext(5, Nr, QStringLiteral("7")));
    QCOMPARE(a.editor()->text(), QStringLiteral("Vorgabe"));
    QCOMPARE(a.grid.zellwert(5, Datum).toDateTime(), tag(2020, 1, 1));

    a.editor()->setzeText(QStringLiteral("Zander"));
    a.taste(Qt::Key_Tab);
    QCOMPARE(a.grid.aktuelleSpalte(), int(Betrag));
    a.editor()->setzeText(QStringLiteral("5"));
    a.taste(Qt::Key_Return);
    QVERIFY(a.grid.aenderungenUebernehmen());
    QCOMPARE(beendet.count(), 1);
    QCOMPARE(beendet.at(0).at(0).toBool(), true);
    QCOMPARE(gespeichert.count(), 1);
    QCOMPARE(gespeichert.at(0).at(1).toBool(), true);
    const QByteArray neu = gespeichert.at(0).at(0).toByteArray();
    QVERIFY(!neu.isEmpty());
    QCOMPARE(a.grid.lesezeichen(5), neu);
    QCOMPARE(a.modell.zeileVon(neu), 5);
    QCOMPARE(a.modell.gespeichert(5).at(Betrag).toDouble(), 5.0);
    QCOMPARE(a.modell.gespeichert(5).at(Datum).toDateTime(), tag(2020, 1, 1));
    QCOMPARE(a.grid.datenzeilen(), 6);
    QVERIFY(!a.grid.imHinzufuegen());

    // Dropped with the grid's own call.
    QVERIFY(a.grid.neueZeileBeginnen());
    a.grid.aenderungenVerwerfen();
    QCOMPARE(beendet.count(), 2);
    QCOMPARE(beendet.at(1).at(0).toBool(), false);
    QCOMPARE(a.grid.datenzeilen(), 6);
    QCOMPARE(a.ansicht()->model()->rowCount(), 7);
    QVERIFY(a.grid.aktuelleZeile() <= 6);
}

void TestDataGrid::neueZeileDurchTippen()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QSignalSpy begonnen(&a.grid, &DataGrid::hinzufuegenBegonnen);
    a.gehe(5, Name);
    QVERIFY(!a.grid.imHinzufuegen());
    a.tippe(QStringLiteral("Ott"));
    QCOMPARE(begonnen.count(), 1);
    QVERIFY(a.grid.imHinzufuegen());
    QCOMPARE(a.editor()->text(), QStringLiteral("Ott"));
    // Moving on into the next add-new row saves it.
    a.taste(Qt::Key_Return);
    a.taste(Qt::Key_Down);
    QCOMPARE(a.modell.gespeicherteZeilen(), 6);
    QCOMPARE(a.modell.gespeichert(5).at(Name).toString(), QStringLiteral("Ott"));
    QVERIFY(!a.grid.imHinzufuegen());
}

void TestDataGrid::gesperrteSpaltenUndNurLesen()
{
    Aufbau a;
    QVERIFY(a.bereit());
    // Tab passes over the locked column Nr.
    a.gehe(0, Datum);
    a.taste(Qt::Key_Tab);
    QCOMPARE(a.grid.aktuelleSpalte(), int(Notiz));
    a.taste(Qt::Key_Backtab);
    QCOMPARE(a.grid.aktuelleSpalte(), int(Datum));
    // The mouse may put the cursor there, but typing does not edit it.
    a.gehe(0, Nr);
    a.tippe(QStringLiteral("9"));
    QVERIFY(!a.editor());
    QVERIFY(!(a.ansicht()->model()->flags(a.zelle(0, Nr)) & Qt::ItemIsEditable));

    a.grid.setzeNurLesen(true);
    QCOMPARE(a.ansicht()->model()->rowCount(), 5);
    QCOMPARE(a.grid.datenzeilen(), 5);
    a.gehe(0, Name);
    a.tippe(QStringLiteral("x"));
    QVERIFY(!a.editor());
    QVERIFY(!a.grid.neueZeileBeginnen());
    a.grid.setzeNurLesen(false);
    QCOMPARE(a.ansicht()->model()->rowCount(), 6);
    QVERIFY(a.ansicht()->model()->flags(a.zelle(0, Name)) & Qt::ItemIsEditable);
}

void TestDataGrid::tastenF6F7()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.gehe(2, Betrag);
    a.taste(Qt::Key_F6);
    // The row above (Müller) has no amount: the editor opens empty.
    QVERIFY(a.editor());
    QCOMPARE(a.editor()->text(), QString());
    a.taste(Qt::Key_Escape);
    a.gehe(2, Datum);
    a.taste(Qt::Key_F6);
    QCOMPARE(a.editor()->text(), Format(tag(2010, 3, 15)));
    a.taste(Qt::Key_Return);
    QCOMPARE(
        a.modell.data(a.modell.index(2, Datum), Rasterrolle::Wert).toDateTime(), tag(2010, 3, 15));

    // In the first row there is no row above: nothing happens.
    a.gehe(0, Name);
    a.taste(Qt::Key_F6);
    QVERIFY(!a.editor());

    // F7 puts today's date into a date cell, also while an editor is open.
    a.gehe(3, Datum);
    a.taste(Qt::Key_F2);
    a.taste(Qt::Key_F7);
    QCOMPARE(a.editor()->text(), QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    a.taste(Qt::Key_Escape);
    a.gehe(3, Name);
    a.taste(Qt::Key_F7);
    QVERIFY(!a.editor());
}

void TestDataGrid::zeilenumbruch()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.gehe(2, Notiz);
    a.tippe(QStringLiteral("ab"));
    a.taste(Qt::Key_Return, Qt::ShiftModifier);
    a.tippe(QStringLiteral("cd"));
    QVERIFY(a.editor());
    a.taste(Qt::Key_Return);
    QVERIFY(!a.editor());
    QCOMPARE(a.modell.data(a.modell.index(2, Notiz), Qt::EditRole).toString(),
        QStringLiteral("ab\r\ncd"));

    // Changing one word of a text with line breaks keeps their form.
    a.gehe(0, Notiz);
    a.taste(Qt::Key_F2);
    QCOMPARE(a.editor()->toPlainText(), QStringLiteral("eins\nzwei"));
    a.editor()->moveCursor(QTextCursor::End);
    a.tippe(QStringLiteral("x"));
    a.taste(Qt::Key_Return);
    QCOMPARE(a.modell.data(a.modell.index(0, Notiz), Qt::EditRole).toString(),
        QStringLiteral("eins\r\nzweix"));
}

void TestDataGrid::escape()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QSignalSpy schliessen(&a.grid, &DataGrid::escapeOhneAenderung);
    a.gehe(0, Name);
    a.tippe(QStringLiteral("Z"));
    // First Escape drops the entry, the second the row's changes, the third closes.
    a.taste(Qt::Key_Escape);
    QVERIFY(!a.editor());
    QCOMPARE(a.modell.bearbeiteteZeile(), -1);
    QCOMPARE(schliessen.count(), 0);

    a.tippe(QStringLiteral("Z"));
    a.taste(Qt::Key_Return);
    QCOMPARE(a.grid.zelltext(0, Name), QStringLiteral("Z"));
    a.taste(Qt::Key_Escape);
    QCOMPARE(a.grid.zelltext(0, Name), QStringLiteral("Meier"));
    QVERIFY(!a.grid.inBearbeitung());
    QCOMPARE(schliessen.count(), 0);
    a.taste(Qt::Key_Escape);
    QCOMPARE(schliessen.count(), 1);

    // While adding, Escape drops the new record.
    QSignalSpy beendet(&a.grid, &DataGrid::hinzufuegenBeendet);
    QVERIFY(a.grid.neueZeileBeginnen());
    a.tippe(QStringLiteral("Q"));
    a.taste(Qt::Key_Return);
    a.taste(Qt::Key_Escape);
    QCOMPARE(beendet.count(), 1);
    QCOMPARE(a.modell.gespeicherteZeilen(), 5);
    QCOMPARE(a.ansicht()->model()->rowCount(), 6);
    QCOMPARE(schliessen.count(), 1);
}

void TestDataGrid::aktuelleZeileInBeidenRichtungen()
{
    Aufbau a;
    QVERIFY(a.bereit());
    QSignalSpy zeilenwechsel(&a.grid, &DataGrid::aktuelleZeileGeaendert);
    QSignalSpy zellwechsel(&a.grid, &DataGrid::aktuelleZelleGeaendert);
    // A model shows its first row as current.
    QCOMPARE(a.grid.aktuelleZeile(), 0);
    a.gehe(2, Name);
    QCOMPARE(a.modell.aktuelleZeile(), 2);
    QCOMPARE(zeilenwechsel.count(), 1);
    a.gehe(2, Betrag);
    QCOMPARE(zeilenwechsel.count(), 1);
    QCOMPARE(zellwechsel.last().at(1).toInt(), int(Betrag));
    QCOMPARE(a.ansicht()->model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("▶"));

    a.modell.bewegeAuf(4);
    QCOMPARE(a.grid.aktuelleZeile(), 4);
    QCOMPARE(a.grid.aktuelleSpalte(), int(Betrag));
    // The add-new row leaves the record set where it was.
    a.gehe(5, Name);
    QCOMPARE(a.modell.aktuelleZeile(), 4);

    // A replaced record set starts on its first row again.
    a.modell.ersetzeZeilen(zeilen().mid(1));
    QCOMPARE(a.grid.aktuelleZeile(), 0);
    QCOMPARE(a.grid.zelltext(0, Name), QStringLiteral("Müller"));
}

void TestDataGrid::navigationUndStrgEnde()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.grid.bewege(Navigationsschritt::Zurueck);
    QCOMPARE(a.grid.aktuelleZeile(), 0);
    a.grid.bewege(Navigationsschritt::Vor);
    QCOMPARE(a.grid.aktuelleZeile(), 1);
    a.grid.bewege(Navigationsschritt::Letzter);
    QCOMPARE(a.grid.aktuelleZeile(), 4);
    a.grid.bewege(Navigationsschritt::Vor);
    QCOMPARE(a.grid.aktuelleZeile(), 4);
    a.grid.bewege(Navigationsschritt::Erster);
    QCOMPARE(a.grid.aktuelleZeile(), 0);
    a.grid.bewege(Navigationsschritt::SeiteVor);
    QVERIFY(a.grid.aktuelleZeile() > 0);

    // The navigation bar drives the grid.
    Navigationsleiste leiste;
    connect(&leiste, &Navigationsleiste::schritt, &a.grid, &DataGrid::bewege);
    leiste.knopf(Navigationsschritt::Letzter)->click();
    QCOMPARE(a.grid.aktuelleZeile(), 4);
    leiste.knopf(Navigationsschritt::Zurueck)->click();
    QCOMPARE(a.grid.aktuelleZeile(), 3);

    // Ctrl+End lets a running count finish and goes to the last record, not the add-new row.
    a.modell.setzeZaehltNoch(true);
    a.gehe(0, Name);
    a.taste(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(a.modell.anzahlErmittelt(), 1);
    QCOMPARE(a.grid.aktuelleZeile(), 4);
    a.taste(Qt::Key_Down);
    QCOMPARE(a.grid.aktuelleZeile(), 5);
    a.modell.setzeZaehltNoch(true);
    a.grid.bewege(Navigationsschritt::Letzter);
    QCOMPARE(a.modell.anzahlErmittelt(), 2);
    QCOMPARE(a.grid.aktuelleZeile(), 4);
}

void TestDataGrid::lesefehlerEinmal()
{
    Aufbau a;
    a.modell.meldeLesefehler(3049, QStringLiteral("Datei ist beschädigt."));
    a.modell.meldeLesefehler(3049, QStringLiteral("Datei ist beschädigt."));
    // Shown after painting, once.
    QVERIFY(a.dialoge.meldungen().isEmpty());
    QTRY_COMPARE(a.dialoge.meldungen().size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(a.dialoge.texte(),
        QStringList { QStringLiteral("Beim Lesen der Daten ist ein Fehler aufgetreten!\n\n"
                                     "Nr: 3049\nBeschreibung: Datei ist beschädigt.") });
    // After a requery a new failure is shown again.
    a.modell.ersetzeZeilen(zeilen());
    a.modell.meldeLesefehler(3049, QStringLiteral("Datei ist beschädigt."));
    QTRY_COMPARE(a.dialoge.meldungen().size(), 2);
}

void TestDataGrid::farbenUndZebramuster()
{
    Aufbau a(false);
    QVERIFY(a.bereit());
    a.grid.setzeFarbe(Rasterfarbe::HintergrundAllgemein, 0x00FFFFFF);
    a.grid.setzeFarbe(Rasterfarbe::HintergrundNormalzeile, 0x000000FF); // red
    a.grid.setzeFarbe(Rasterfarbe::HintergrundZebramuster, 0x0000FF00); // green
    a.grid.setzeFarbe(Rasterfarbe::HintergrundAuswahlzeile, 0x00FF0000); // blue
    QCOMPARE(a.grid.farbe(Rasterfarbe::HintergrundNormalzeile), QColor(255, 0, 0));

    const auto farbeIn = [&](int zeile) {
        const QImage bild = a.ansicht()->viewport()->grab().toImage();
        const QRect r = a.ansicht()->visualRect(a.zelle(zeile, Notiz));
        return bild.pixelColor(r.right() - 3, r.center().y());
    };
    QCOMPARE(farbeIn(0), QColor(255, 255, 255));
    a.grid.setzeZebramuster(true);
    QCOMPARE(farbeIn(0), QColor(255, 0, 0));
    QCOMPARE(farbeIn(1), QColor(0, 255, 0));
    QCOMPARE(farbeIn(2), QColor(255, 0, 0));
    a.grid.markiereZeile(1);
    QCOMPARE(farbeIn(1), QColor(0, 0, 255));
}

void TestDataGrid::systemfarben()
{
    const QPalette p = QApplication::palette();
    QCOMPARE(Farbe(Systemfarbe(Systemfarbindex::Fenster), p), p.color(QPalette::Base));
    QCOMPARE(Farbe(Systemfarbe(Systemfarbindex::Markierung), p), p.color(QPalette::Highlight));
    QCOMPARE(
        Farbe(Systemfarbe(Systemfarbindex::Schaltflaechentext), p), p.color(QPalette::ButtonText));
    // As a signed 32-bit number, the way files may store it.
    QCOMPARE(Farbe(-2147483643LL, p), p.color(QPalette::Base));
    QCOMPARE(Farbe(16776960, p), QColor(0, 255, 255));
    QCOMPARE(Farbe(255, p), QColor(255, 0, 0));
    QCOMPARE(Farbwert(QColor(0, 255, 255)), 16776960);
    // An index beyond the system colours falls back to the window colour.
    QCOMPARE(Farbe(0x800000FFLL, p), p.color(QPalette::Base));
}

void TestDataGrid::hoeheSchriftUndBreiten()
{
    Aufbau a;
    QVERIFY(a.bereit());
    const int dpi = a.ansicht()->logicalDpiY();
    a.grid.setzeZeilenhoehe(600);
    QCOMPARE(a.ansicht()->rowHeight(0), qRound(600.0 * dpi / 1440));
    a.grid.setzeSchriftgroesse(14);
    QCOMPARE(a.ansicht()->font().pointSizeF(), 14.0);
    QCOMPARE(a.ansicht()->horizontalHeader()->font().pointSizeF(), 14.0);
    QCOMPARE(a.grid.findChild<QLabel*>(QStringLiteral("Titel"))->font().pointSizeF(), 14.0);
    QCOMPARE(a.ansicht()->rowHeight(0), qRound(600.0 * dpi / 1440));
    a.grid.setzeZeilenhoehe(0);
    QVERIFY(a.ansicht()->rowHeight(0) >= a.ansicht()->fontMetrics().height());

    // The last column reaches the right edge.
    QHeaderView* kopf = a.ansicht()->horizontalHeader();
    a.grid.setzeRechteSpalteExpandieren(true);
    QTRY_COMPARE(
        kopf->sectionPosition(Notiz) + kopf->sectionSize(Notiz), a.ansicht()->viewport()->width());
    a.grid.setzeRechteSpalteExpandieren(false);

    // Proportional widths follow the grid's width.
    a.grid.setzeSpalten(spalten());
    a.grid.setzeProportionaleSpaltenbreiten(true);
    const int vorher = a.ansicht()->columnWidth(Name);
    const int breiteVorher = a.ansicht()->viewport()->width();
    a.grid.resize(a.grid.width() + breiteVorher, a.grid.height());
    QTRY_VERIFY(a.ansicht()->viewport()->width() > breiteVorher);
    const double faktor = double(a.ansicht()->viewport()->width()) / breiteVorher;
    QVERIFY(qAbs(a.ansicht()->columnWidth(Name) - vorher * faktor) <= 1.0);
}

void TestDataGrid::druckzugriff()
{
    Aufbau a;
    QVERIFY(a.bereit());
    a.grid.setzeTitel(QStringLiteral("Kunden"));
    const auto [erste, letzte] = a.grid.sichtbareZeilen();
    QCOMPARE(erste, 0);
    QCOMPARE(letzte, 5);
    QCOMPARE(a.grid.datenzeilen(), 5);
    QStringList namen;
    for (int zeile = 0; zeile < a.grid.datenzeilen(); ++zeile)
        namen.append(a.grid.zelltext(zeile, Name));
    QCOMPARE(namen.join(QLatin1Char(',')), QStringLiteral("Meier,Müller,Schulz,Adam,Berg"));
    QCOMPARE(a.grid.zellwert(0, Betrag).toDouble(), 12.5);
    QVERIFY(a.grid.zellwert(1, Betrag).isNull());
    QCOMPARE(a.grid.spalten().at(Betrag).ausrichtung, Spaltenausrichtung::Rechts);
    QCOMPARE(a.grid.spalten().at(Betrag).format, QStringLiteral("Currency"));

    Testrastermodell leer(felder(), {});
    QAbstractItemModelTester pruefer(&leer, QAbstractItemModelTester::FailureReportingMode::QtTest);
    a.grid.setzeModell(&leer);
    QCOMPARE(a.grid.datenzeilen(), 0);
    QCOMPARE(a.grid.sichtbareZeilen().first, 0);
    leer.setzeNeuzeile(false);
    QCOMPARE(a.grid.sichtbareZeilen(), std::make_pair(-1, -1));
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
