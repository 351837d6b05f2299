#include "Strukturdatenbank.h"
#include "tables/FeldZeile.h"
#include "tables/ui/frmTabellenStruktur.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace kv;
using namespace kv::engine;

// The structure editor's window: a type change that loses values says so in its question, and
// "Strukturänderung rückgängig" brings the field back until something else changes.
class TestStrukturfenster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void verlustInDerFrageUndRueckgaengig();

private:
    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
};

void TestStrukturfenster::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_dir = std::make_unique<test::TempDir>();
    m_dlg = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("struktur.mdb")));
    test::legeStrukturtabellenAn(*m_db);
    test::fuelleStrukturtabellen(*m_db, { "Meier|12345" }, { "1|12,50", "1|abc", "1|7" });
}

void TestStrukturfenster::cleanup()
{
    m_db.reset();
    m_ws.reset();
    QVERIFY(m_dlg->leer());
    m_dlg.reset();
    m_dir.reset();
}

void TestStrukturfenster::verlustInDerFrageUndRueckgaengig()
{
    frmTabellenStruktur fenster(*m_db, false, QStringLiteral("Rechnungen"), m_db->name());
    fenster.show();
    QPushButton* rueckgaengig = fenster.knopf(QStringLiteral("Rueckgaengig"));
    QVERIFY(rueckgaengig && !rueckgaengig->isEnabled());
    Strukturbearbeitung& b = fenster.bearbeitung();
    const int zeile = 2;
    QCOMPARE(b.zeilen().at(zeile).name, QStringLiteral("Betrag"));
    fenster.TDBGrid1()->setCurrentIndex(fenster.TDBGrid1()->model()->index(zeile, 0));
    FeldZeile z = b.zeilen().at(zeile);
    typWechseln(z, dbLong);
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(fenster.zeileVerlassen());
    QVERIFY2(m_dlg->letzteMeldung().text.contains(
                 QStringLiteral("1 Wert kann nicht übernommen werden, z. B. Zeile 2: 'abc'.")),
        qPrintable(m_dlg->letzteMeldung().text));
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag")),
        (QStringList { "12", "<Null>", "7" }));
    QVERIFY(rueckgaengig->isEnabled());

    m_dlg->erwarteAntwort(Antwort::Ja);
    rueckgaengig->click();
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Strukturänderung rückgängig"));
    QCOMPARE(b.zeilen().at(zeile).typ, qint16(dbText));
    QCOMPARE(b.zeilen().at(zeile).groesse, 20);
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag")),
        (QStringList { "12,50", "abc", "7" }));
    QVERIFY(!rueckgaengig->isEnabled());

    // A second change, then another change of the structure: the undo is gone.
    z = b.zeilen().at(zeile);
    z.groesse = 10;
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(fenster.zeileVerlassen());
    QVERIFY(rueckgaengig->isEnabled());
    const int neu = b.neueZeile();
    FeldZeile n = b.zeilen().at(neu);
    n.name = QStringLiteral("Notiz");
    b.setzeZeile(neu, n);
    QCOMPARE(b.speichereZeile(neu), Zeilenergebnis::Gespeichert);
    QVERIFY(!b.rueckgaengigMoeglich());
}

QTEST_MAIN(TestStrukturfenster)
#include "tst_strukturfenster.moc"
