#include "widgets/Knopfzeile.h"

#include <QHBoxLayout>
#include <QTest>
#include <QWidget>
#include <array>

using namespace kv;

// The button row of the list windows: names, tips, clicks with their index, no default button
// that would take Return from the list, and the stretch before the last group.
class TestKnopfzeile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void knoepfeUndKlicks_data();
    void knoepfeUndKlicks();
};

void TestKnopfzeile::knoepfeUndKlicks_data()
{
    QTest::addColumn<int>("dehnungVor");
    QTest::newRow("ohne Dehnung") << -1;
    QTest::newRow("letzter rechts") << 2;
    QTest::newRow("alle rechts") << 0;
}

void TestKnopfzeile::knoepfeUndKlicks()
{
    QFETCH(int, dehnungVor);
    static constexpr std::array<Knopfangabe, 3> angaben { {
        { "&Öffnen", "Öffnet das Objekt" },
        { "&Neu", "Neues Objekt" },
        { "Schließen", "Schließt das Fenster" },
    } };
    QWidget fenster;
    std::array<QPushButton*, 3> knoepfe {};
    QList<int> klicks;
    QHBoxLayout* zeile = Knopfzeile(
        &fenster, angaben, knoepfe, [&](int i) { klicks << i; }, dehnungVor);
    fenster.setLayout(zeile);
    fenster.resize(600, 60);
    fenster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenster));

    QCOMPARE(zeile->count(), dehnungVor < 0 ? 3 : 4);
    for (int i = 0; i < 3; ++i) {
        QPushButton* k = knoepfe.at(static_cast<size_t>(i));
        QVERIFY(k);
        QCOMPARE(k->objectName(), QStringLiteral("Command1_%1").arg(i));
        QCOMPARE(k->text(), QString::fromUtf8(angaben.at(static_cast<size_t>(i)).text));
        QCOMPARE(k->toolTip(), QString::fromUtf8(angaben.at(static_cast<size_t>(i)).tipp));
        QVERIFY(!k->autoDefault() && !k->isDefault());
        QTest::mouseClick(k, Qt::LeftButton);
    }
    QCOMPARE(klicks, (QList<int> { 0, 1, 2 }));
    // The stretch opens a gap before button dehnungVor; without one the buttons sit together.
    const auto luecke = [&](size_t i) {
        return knoepfe.at(i)->geometry().left() - knoepfe.at(i - 1)->geometry().right();
    };
    QCOMPARE(luecke(2) > luecke(1), dehnungVor == 2);
    QCOMPARE(knoepfe.front()->geometry().left() > zeile->contentsMargins().left(), dehnungVor == 0);
}

QTEST_MAIN(TestKnopfzeile)
#include "tst_knopfzeile.moc"
