#include "widgets/DataGrid.h"
#include "widgets/Rasterkopf.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace kv;

// The search row under the column heads while the grid's columns come and go.
class TestRasterkopf : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void alleSpaltenAufEinmal_data();
    void alleSpaltenAufEinmal();
    void spaltenWiederDa();
    void entfernenAusDerEingabe();
};

namespace {

struct Aufbau {
    Aufbau()
    {
        modell.setHorizontalHeaderLabels(
            { QStringLiteral("Name"), QStringLiteral("Ort"), QStringLiteral("Betrag") });
        modell.appendRow({ new QStandardItem(QStringLiteral("Meier")),
            new QStandardItem(QStringLiteral("Bonn")), new QStandardItem(QStringLiteral("1")) });
        grid.setzeModell(&modell);
        grid.setzeSuchzeile(true);
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        kopf = grid.ansicht()->findChild<Rasterkopf*>();
        QVERIFY(kopf);
    }
    QList<QLineEdit*> sichtbareFelder() const
    {
        QList<QLineEdit*> felder;
        for (QLineEdit* f : kopf->findChildren<QLineEdit*>()) {
            if (f->isVisible())
                felder.append(f);
        }
        return felder;
    }

    QStandardItemModel modell;
    DataGrid grid;
    Rasterkopf* kopf = nullptr;
};

} // namespace

void TestRasterkopf::alleSpaltenAufEinmal_data()
{
    QTest::addColumn<int>("weg");
    QTest::addColumn<bool>("eingabeHatFokus");
    QTest::addColumn<bool>("zuruecksetzen");
    QTest::newRow("entfernt") << 0 << false << false;
    QTest::newRow("entfernt, Fokus in der letzten Eingabe") << 2 << true << false;
    QTest::newRow("entfernt, Fokus in der ersten Eingabe") << 0 << true << false;
    QTest::newRow("Modell leer gesetzt") << 1 << true << true;
}

void TestRasterkopf::alleSpaltenAufEinmal()
{
    QFETCH(int, weg);
    QFETCH(bool, eingabeHatFokus);
    QFETCH(bool, zuruecksetzen);
    Aufbau a;
    QCOMPARE(a.sichtbareFelder().size(), 3);
    a.grid.setzeSuchtext(weg, QStringLiteral("Mei"));
    if (eingabeHatFokus) {
        a.kopf->suchfeld(weg)->setFocus();
        QTRY_VERIFY(a.kopf->suchfeld(weg)->hasFocus());
    }
    if (zuruecksetzen)
        a.modell.clear();
    else
        a.modell.removeColumns(0, a.modell.columnCount());
    QCOMPARE(a.kopf->count(), 0);
    QCOMPARE(a.kopf->suchfeld(0), nullptr);
    QCOMPARE(a.grid.suchtext(weg), QString());
    QVERIFY(a.sichtbareFelder().isEmpty());
    // Painting and laying out the empty head does not reach a gone input.
    a.grid.resize(520, 320);
    a.grid.ansicht()->horizontalScrollBar()->setValue(0);
    a.kopf->suchfelderAnordnen();
    QVERIFY(QTest::qWaitForWindowExposed(&a.grid));
    QCoreApplication::processEvents();
}

void TestRasterkopf::spaltenWiederDa()
{
    Aufbau a;
    a.modell.removeColumns(0, 3);
    a.modell.setHorizontalHeaderLabels({ QStringLiteral("A"), QStringLiteral("B") });
    QCOMPARE(a.kopf->count(), 2);
    QCOMPARE(a.sichtbareFelder().size(), 2);
    // The inputs sit under their heads again and report typing.
    QSignalSpy getippt(&a.grid, &DataGrid::suchtextGeaendert);
    a.kopf->suchfeld(1)->setFocus();
    QTest::keyClicks(a.kopf->suchfeld(1), QStringLiteral("x"));
    QCOMPARE(getippt.size(), 1);
    QCOMPARE(getippt.at(0).at(0).toInt(), 1);
    QCOMPARE(a.kopf->suchfeld(1)->x(), a.kopf->sectionViewportPosition(1) + 1);
}

void TestRasterkopf::entfernenAusDerEingabe()
{
    // A window that requeries while the user types may take every column away from inside the
    // input's own signal.
    Aufbau a;
    connect(&a.grid, &DataGrid::suchtextGeaendert, &a.modell,
        [&a] { a.modell.removeColumns(0, a.modell.columnCount()); });
    QLineEdit* feld = a.kopf->suchfeld(1);
    feld->setFocus();
    QTest::keyClicks(feld, QStringLiteral("M"));
    QCOMPARE(a.kopf->count(), 0);
    QCoreApplication::processEvents();
    QVERIFY(a.sichtbareFelder().isEmpty());
}

QTEST_MAIN(TestRasterkopf)
#include "tst_rasterkopf.moc"
