#include "Strukturdatenbank.h"
#include "tables/IndexNeu.h"
#include "tables/Indexfeldtext.h"
#include "tables/ui/frmIndexNeu.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kv;
using namespace kv::engine;

class TestIndexNeu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void feldtext_data();
    void feldtext();
    void feldlisteOhneMemoUndLongBinary();
    void primaerErzwingtEindeutig();
    void okNurMitNameUndFeldern();
    void abgelehnterIndex();

private:
    TableDef& kunden() { return m_db->tableDefs().item(QStringLiteral("Kunden")); }

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
};

void TestIndexNeu::init()
{
    m_dir = std::make_unique<test::TempDir>();
    m_dlg = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("index.mdb")));
    test::legeStrukturtabellenAn(*m_db);
    test::fuelleStrukturtabellen(*m_db, { "Meier|1", "Meier|2" }, {});
    TableDef& t = kunden();
    t.fields().append(t.createField(QStringLiteral("Notiz"), dbMemo));
    t.fields().append(t.createField(QStringLiteral("Bild"), dbLongBinary));
    t.fields().append(t.createField(QStringLiteral("E-Mail"), dbText, 80));
}

void TestIndexNeu::cleanup()
{
    m_db.reset();
    m_ws.reset();
    QVERIFY(m_dlg->leer());
    m_dlg.reset();
    m_dir.reset();
}

void TestIndexNeu::feldtext_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("felder"); // name:A(scending)/D(escending), comma-separated
    QTest::addColumn<QString>("zurueck");

    QTest::newRow("eins") << "+Name"
                          << "Name:A"
                          << "+Name";
    QTest::newRow("zwei") << "+Name;-Datum"
                          << "Name:A,Datum:D"
                          << "+Name;-Datum";
    QTest::newRow("Blanks") << "  + Name ;  -  Datum  "
                            << "Name:A,Datum:D"
                            << "+Name;-Datum";
    QTest::newRow("ohne Zeichen") << "Name"
                                  << "Name:A"
                                  << "+Name";
    QTest::newRow("Bindestrich im Namen") << "-E-Mail;+Straßen-Nr"
                                          << "E-Mail:D,Straßen-Nr:A"
                                          << "-E-Mail;+Straßen-Nr";
    QTest::newRow("leere Stücke") << ";+A;;-B;"
                                  << "A:A,B:D"
                                  << "+A;-B";
    QTest::newRow("nur Zeichen") << "+;-"
                                 << ""
                                 << "";
}

void TestIndexNeu::feldtext()
{
    QFETCH(QString, text);
    QFETCH(QString, felder);
    QFETCH(QString, zurueck);
    const QList<IndexField> gelesen = leseIndexfeldtext(text);
    QStringList kurz;
    for (const IndexField& f : gelesen)
        kurz << f.name + (f.descending ? QStringLiteral(":D") : QStringLiteral(":A"));
    QCOMPARE(kurz.join(QLatin1Char(',')), felder);
    QCOMPARE(indexfeldtext(gelesen), zurueck);
}

void TestIndexNeu::feldlisteOhneMemoUndLongBinary()
{
    QCOMPARE(
        indexfaehigeFelder(kunden()), (QStringList { "ID", "Name", "PLZ", "Umsatz", "E-Mail" }));
    frmIndexNeu dialog(kunden());
    QCOMPARE(dialog.List1()->count(), 5);
    QCOMPARE(dialog.List1()->currentItem()->text(), QStringLiteral("ID"));
    // The button and a double click append "+" and the name, after a ";".
    dialog.List1()->setCurrentRow(4);
    dialog.hinzufuegenKnopf()->click();
    QCOMPARE(dialog.Text1(1)->text(), QStringLiteral("+E-Mail"));
    QListWidgetItem* name = dialog.List1()->item(1);
    dialog.List1()->setCurrentItem(name);
    Q_EMIT dialog.List1()->itemDoubleClicked(name);
    QCOMPARE(dialog.Text1(1)->text(), QStringLiteral("+E-Mail;+Name"));
}

// Checking "primary" checks unique and required; unchecking unique afterwards does not make
// the primary index any less unique.
void TestIndexNeu::primaerErzwingtEindeutig()
{
    m_db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 2"));
    kunden().indexes().remove(QStringLiteral("PrimaryKey"));
    frmIndexNeu dialog(kunden());
    dialog.Text1(0)->setText(QStringLiteral("Schluessel"));
    dialog.Text1(1)->setText(QStringLiteral("-Name"));
    dialog.Check1(frmIndexNeu::NullwerteIgnorieren)->setChecked(true);
    dialog.Check1(frmIndexNeu::Primaer)->click();
    QVERIFY(dialog.Check1(frmIndexNeu::Eindeutig)->isChecked());
    QVERIFY(dialog.Check1(frmIndexNeu::Erforderlich)->isChecked());
    dialog.Check1(frmIndexNeu::Eindeutig)->click();
    QVERIFY(!dialog.Check1(frmIndexNeu::Eindeutig)->isChecked());
    dialog.okKnopf()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const Index& ix = kunden().indexes().item(QStringLiteral("Schluessel"));
    QVERIFY(ix.primary());
    QVERIFY(ix.unique());
    QVERIFY(ix.required());
    QVERIFY(!ix.ignoreNulls());
    QCOMPARE(ix.fields().value(0).name, QStringLiteral("Name"));
    QVERIFY(ix.fields().value(0).descending);
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestIndexNeu::okNurMitNameUndFeldern()
{
    frmIndexNeu dialog(kunden());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Neuer Index"));
    QVERIFY(!dialog.okKnopf()->isEnabled());
    dialog.Text1(0)->setText(QStringLiteral("X"));
    QVERIFY(!dialog.okKnopf()->isEnabled());
    dialog.Text1(1)->setText(QStringLiteral("+PLZ"));
    QVERIFY(dialog.okKnopf()->isEnabled());
    dialog.Text1(0)->clear();
    QVERIFY(!dialog.okKnopf()->isEnabled());
}

// The engine's refusal: its message, the dialog closes without a result, nothing is added.
void TestIndexNeu::abgelehnterIndex()
{
    struct Fall {
        const char* name;
        const char* felder;
        bool primaer;
        bool eindeutig;
        int nummer;
    };
    const Fall faelle[] = {
        { "NachPLZ", "+Name", false, false, 3367 }, // the name is taken
        { "Zweiter", "+PLZ", true, false, 3219 }, // a second primary index
        { "Unbekannt", "+Gibtsnicht", false, false, 3265 },
        { "Doppelt", "+Name", false, true, 3022 }, // two customers Meier
    };
    for (const Fall& f : faelle) {
        m_dlg->vergiss();
        frmIndexNeu dialog(kunden());
        dialog.Text1(0)->setText(QString::fromUtf8(f.name));
        dialog.Text1(1)->setText(QString::fromUtf8(f.felder));
        dialog.Check1(frmIndexNeu::Primaer)->setChecked(f.primaer);
        dialog.Check1(frmIndexNeu::Eindeutig)->setChecked(f.eindeutig);
        dialog.okKnopf()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_dlg->meldungen().size(), 1);
        QVERIFY2(m_dlg->letzteMeldung().text.startsWith(QStringLiteral(
                     "Fehler beim Hinzufügen des Index!\n\nFehler: %1\nBeschreibung: ")
                                                            .arg(f.nummer)),
            qPrintable(m_dlg->letzteMeldung().text));
        kunden().indexes().refresh();
        QCOMPARE(kunden().indexes().count(), 2);
    }
}

QTEST_MAIN(TestIndexNeu)
#include "tst_indexneu.moc"
