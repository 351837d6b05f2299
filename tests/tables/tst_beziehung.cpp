#include "Strukturdatenbank.h"
#include "tables/Beziehungseingabe.h"
#include "tables/ui/frmRelation.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kv;
using namespace kv::engine;

class TestBeziehung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void attribute_data();
    void attribute();
    void unveraendertGespeichertBleibtErzwungen();
    void verletzendeDatenBehaltenDieAlteBeziehung();
    void umbenennenErsetzt();
    void weiterePaareBleiben();
    void neueBeziehungImDialog();
    void keineSystemtabellen();

private:
    Relation& relation() { return m_db->relations().item(QStringLiteral("KundenRechnungen")); }

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
};

void TestBeziehung::init()
{
    m_dir = std::make_unique<test::TempDir>();
    m_dlg = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("relation.mdb")));
    test::legeStrukturtabellenAn(*m_db);
    test::fuelleStrukturtabellen(*m_db, { "Meier|1", "Müller|2" }, { "1|5", "2|6" });
}

void TestBeziehung::cleanup()
{
    m_db.reset();
    m_ws.reset();
    QVERIFY(m_dlg->leer());
    m_dlg.reset();
    m_dir.reset();
}

void TestBeziehung::attribute_data()
{
    QTest::addColumn<qint64>("attribute");
    QTest::addColumn<bool>("einsZuEins");
    QTest::addColumn<int>("verknuepfung");
    QTest::addColumn<bool>("erzwingen");
    QTest::addColumn<bool>("aenderung");
    QTest::addColumn<bool>("loeschen");
    QTest::addColumn<bool>("uebernommen");

    QTest::newRow("1:n erzwungen") << qint64(0) << false << 0 << true << false << false << false;
    QTest::newRow("1:1 nicht erzwungen")
        << qint64(3) << true << 0 << false << false << false << false;
    QTest::newRow("Weitergaben") << qint64(256 + 4096) << false << 0 << true << true << true
                                 << false;
    QTest::newRow("links übernommen")
        << qint64(16777216 + 4) << false << 1 << true << false << false << true;
    QTest::newRow("rechts") << qint64(33554432 + 2) << false << 2 << false << false << false
                            << false;
}

// Loading reads every flag; saving adds them up again to the same value.
void TestBeziehung::attribute()
{
    QFETCH(qint64, attribute);
    QFETCH(bool, einsZuEins);
    QFETCH(int, verknuepfung);
    QFETCH(bool, erzwingen);
    QFETCH(bool, aenderung);
    QFETCH(bool, loeschen);
    QFETCH(bool, uebernommen);
    Relation r(QStringLiteral("R"), QStringLiteral("A"), QStringLiteral("B"), attribute);
    r.appendField(QStringLiteral("x"), QStringLiteral("y"));
    const Beziehungseingabe e = Beziehungseingabe::aus(r);
    QCOMPARE(e.einsZuEins, einsZuEins);
    QCOMPARE(int(e.verknuepfung), verknuepfung);
    QCOMPARE(e.erzwingen, erzwingen);
    QCOMPARE(e.aenderungsweitergabe, aenderung);
    QCOMPARE(e.loeschweitergabe, loeschen);
    QCOMPARE(e.uebernommen, uebernommen);
    QCOMPARE(e.attribute(), attribute);
    QCOMPARE(e.basisfeld, QStringLiteral("x"));
    QCOMPARE(e.fremdfeld, QStringLiteral("y"));
}

void TestBeziehung::unveraendertGespeichertBleibtErzwungen()
{
    frmRelation dialog(*m_db, QStringLiteral("kundenrechnungen"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Relation (Beziehung) bearbeiten"));
    QCOMPARE(dialog.Text1()->text(), QStringLiteral("KundenRechnungen"));
    QCOMPARE(dialog.tabellenliste(0)->currentText(), QStringLiteral("Kunden"));
    QCOMPARE(dialog.feldliste(1)->currentText(), QStringLiteral("KundeID"));
    QVERIFY(dialog.einsZuN()->isChecked());
    QVERIFY(dialog.verknuepfung(Verknuepfungstyp::Innen)->isChecked());
    QVERIFY(dialog.regel(frmRelation::Erzwingen)->isChecked());
    QVERIFY(dialog.regel(frmRelation::Loeschweitergabe)->isChecked());
    QVERIFY(!dialog.regel(frmRelation::Aenderungsweitergabe)->isChecked());
    dialog.speichernKnopf()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(relation().attributes(), qint64(dbRelationDeleteCascade));
    QVERIFY(relation().enforced());
    // Still enforced in the file: a child without parent is refused, a delete cascades.
    QVERIFY_THROWS_EXCEPTION(
        EngineError, m_db->execute(QStringLiteral("INSERT INTO Rechnungen (KundeID) VALUES (9)")));
    m_db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 1"));
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("KundeID")),
        QStringList { "2" });
    QVERIFY(m_dlg->meldungen().isEmpty());
}

// Enforcing a relation over data that break it fails when the new relation is appended; the
// transaction goes back and the old relation is still there.
void TestBeziehung::verletzendeDatenBehaltenDieAlteBeziehung()
{
    Beziehungseingabe e = Beziehungseingabe::aus(relation());
    e.erzwingen = false;
    QVERIFY(speichereBeziehung(*m_db, e, e.name));
    m_db->execute(QStringLiteral("INSERT INTO Rechnungen (KundeID) VALUES (9)"));
    QCOMPARE(relation().attributes(), qint64(dbRelationDeleteCascade + dbRelationDontEnforce));

    e.erzwingen = true;
    e.einsZuEins = true;
    QVERIFY(!speichereBeziehung(*m_db, e, e.name));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Hinzufügen der Beziehung!\n\nFehler: 3201\nBeschreibung: ")));
    QCOMPARE(m_db->relations().count(), 1);
    QCOMPARE(relation().attributes(), qint64(dbRelationDeleteCascade + dbRelationDontEnforce));
    QVERIFY(m_db->tableDefs()
                .item(QStringLiteral("Rechnungen"))
                .indexes()
                .item(QStringLiteral("KundenRechnungen"))
                .foreign());
    QVERIFY(!m_ws->inTransaction());
}

void TestBeziehung::umbenennenErsetzt()
{
    frmRelation dialog(*m_db, QStringLiteral("KundenRechnungen"));
    dialog.Text1()->setText(QStringLiteral("Rechnungen der Kunden"));
    dialog.verknuepfung(Verknuepfungstyp::Links)->setChecked(true);
    dialog.speichernKnopf()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_db->relations().count(), 1);
    const Relation& r = m_db->relations().item(QStringLiteral("Rechnungen der Kunden"));
    QCOMPARE(r.attributes(), qint64(dbRelationDeleteCascade + dbRelationLeft));
    TableDef& rechnungen = m_db->tableDefs().item(QStringLiteral("Rechnungen"));
    rechnungen.indexes().refresh();
    QCOMPARE(rechnungen.indexes().count(), 1);
    QCOMPARE(rechnungen.indexes().item(0).name(), QStringLiteral("Rechnungen der Kunden"));

    // A name that another relation has already is refused; the edited relation stays.
    auto zweite = m_db->createRelation(QStringLiteral("Zweite"), QStringLiteral("Kunden"),
        QStringLiteral("Rechnungen"), dbRelationDontEnforce);
    zweite->appendField(QStringLiteral("ID"), QStringLiteral("Nr"));
    m_db->relations().append(std::move(zweite));
    Beziehungseingabe e = Beziehungseingabe::aus(r);
    e.name = QStringLiteral("zweite");
    QVERIFY(!speichereBeziehung(*m_db, e, QStringLiteral("Rechnungen der Kunden")));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Hinzufügen der Beziehung!\n\nFehler: 3367\n")));
    QVERIFY(m_db->relations().contains(QStringLiteral("Rechnungen der Kunden")));
    QCOMPARE(m_db->relations().count(), 2);
}

// A relation of two field pairs shows the first and keeps the second while its tables stay.
void TestBeziehung::weiterePaareBleiben()
{
    auto r = m_db->createRelation(QStringLiteral("Doppelt"), QStringLiteral("Kunden"),
        QStringLiteral("Rechnungen"), dbRelationDontEnforce);
    r->appendField(QStringLiteral("ID"), QStringLiteral("KundeID"));
    r->appendField(QStringLiteral("PLZ"), QStringLiteral("Betrag"));
    m_db->relations().append(std::move(r));

    frmRelation dialog(*m_db, QStringLiteral("Doppelt"));
    QCOMPARE(dialog.feldliste(0)->currentText(), QStringLiteral("ID"));
    QVERIFY(!dialog.weiterePaareAnzeige()->isHidden());
    QCOMPARE(dialog.weiterePaareAnzeige()->text(),
        QStringLiteral("Weitere Feldpaare: [PLZ] = [Betrag]"));
    dialog.regel(frmRelation::Uebernommen)->setChecked(true);
    dialog.speichernKnopf()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const Relation& gespeichert = m_db->relations().item(QStringLiteral("Doppelt"));
    QCOMPARE(gespeichert.fields().size(), 2);
    QCOMPARE(gespeichert.fields().at(1).foreignName, QStringLiteral("Betrag"));
    QCOMPARE(gespeichert.attributes(), qint64(dbRelationDontEnforce + dbRelationInherited));

    // Another foreign table: the further pair belonged to the old one and goes.
    frmRelation anders(*m_db, QStringLiteral("Doppelt"));
    anders.tabellenliste(1)->setCurrentIndex(anders.tabellenliste(1)->findText("Kunden"));
    Q_EMIT anders.tabellenliste(1)->activated(anders.tabellenliste(1)->currentIndex());
    QVERIFY(anders.weiterePaareAnzeige()->isHidden());
    QCOMPARE(anders.eingabe().paare().size(), 1);
}

void TestBeziehung::neueBeziehungImDialog()
{
    m_db->relations().remove(QStringLiteral("KundenRechnungen"));
    frmRelation dialog(*m_db, QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Relation (Beziehung) neu erstellen"));
    QVERIFY(!dialog.speichernKnopf()->isEnabled());
    QVERIFY(dialog.einsZuN()->isChecked());
    QVERIFY(!dialog.regel(frmRelation::Erzwingen)->isChecked());
    // Cascades need enforcement; they are offered once it is checked.
    QVERIFY(!dialog.regel(frmRelation::Loeschweitergabe)->isEnabled());
    for (int seite = 0; seite < 2; ++seite) {
        QComboBox* t = dialog.tabellenliste(seite);
        t->setCurrentIndex(t->findText(seite == 0 ? "Kunden" : "Rechnungen"));
        Q_EMIT t->activated(t->currentIndex());
    }
    QCOMPARE(dialog.Text1()->text(), QStringLiteral("KundenRechnungen"));
    QCOMPARE(dialog.feldliste(1)->count(), 3);
    dialog.feldliste(1)->setCurrentIndex(dialog.feldliste(1)->findText("KundeID"));
    dialog.regel(frmRelation::Erzwingen)->setChecked(true);
    QVERIFY(dialog.regel(frmRelation::Loeschweitergabe)->isEnabled());
    dialog.regel(frmRelation::Aenderungsweitergabe)->setChecked(true);
    dialog.einsZuEins()->setChecked(true);
    QVERIFY(dialog.speichernKnopf()->isEnabled());
    dialog.speichernKnopf()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(relation().attributes(), qint64(dbRelationUnique + dbRelationUpdateCascade));
    QCOMPARE(relation().fields().value(0).name, QStringLiteral("ID"));
}

void TestBeziehung::keineSystemtabellen()
{
    frmRelation dialog(*m_db, QString());
    for (int seite = 0; seite < 2; ++seite) {
        QStringList namen;
        for (int i = 0; i < dialog.tabellenliste(seite)->count(); ++i)
            namen << dialog.tabellenliste(seite)->itemText(i);
        QCOMPARE(namen, (QStringList { "Kunden", "Rechnungen" }));
    }
}

QTEST_MAIN(TestBeziehung)
#include "tst_beziehung.moc"
