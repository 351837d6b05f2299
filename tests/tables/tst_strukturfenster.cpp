#include "Strukturdatenbank.h"
#include "engine/model/RecordsetModel.h"
#include "tables/FeldZeile.h"
#include "tables/ui/frmTabellenStruktur.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
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
    void fortschrittUndAbbrechen_data();
    void fortschrittUndAbbrechen();
    void offeneTabelleLiestNichtMittendrin();

private:
    /// 3000 more invoices, enough for the box to show.
    void weitereRechnungen();
    /// Changes Betrag (Text) to Long in the window and answers its question with Yes.
    bool betragWirdLong(frmTabellenStruktur& fenster);

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

void TestStrukturfenster::weitereRechnungen()
{
    m_ws->beginTrans();
    for (int i = 0; i < 3000; ++i)
        m_db->execute(
            QStringLiteral("INSERT INTO Rechnungen (KundeID, Betrag) VALUES (1, '%1')").arg(i));
    m_ws->commitTrans();
}

bool TestStrukturfenster::betragWirdLong(frmTabellenStruktur& fenster)
{
    Strukturbearbeitung& b = fenster.bearbeitung();
    const int zeile = 2; // Betrag
    fenster.TDBGrid1()->setCurrentIndex(fenster.TDBGrid1()->model()->index(zeile, 0));
    FeldZeile z = b.zeilen().at(zeile);
    typWechseln(z, dbLong);
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Ja);
    return fenster.zeileVerlassen();
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

void TestStrukturfenster::fortschrittUndAbbrechen_data()
{
    QTest::addColumn<bool>("abbrechen");
    QTest::newRow("durchlaufen") << false;
    QTest::newRow("abbrechen") << true;
}

// A replacement on a larger table shows its box while the values are copied; Abbrechen in the
// box leaves the table as it was, and the box is gone before the message says so.
void TestStrukturfenster::fortschrittUndAbbrechen()
{
    QFETCH(bool, abbrechen);
    weitereRechnungen();
    const QStringList vorher
        = test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag"));

    frmTabellenStruktur fenster(*m_db, false, QStringLiteral("Rechnungen"), m_db->name());
    fenster.setzeFortschrittsverzoegerung(0);
    fenster.show();
    const auto sichtbareBox = [&]() -> QProgressDialog* {
        for (QProgressDialog* d : fenster.findChildren<QProgressDialog*>())
            if (d->isVisible())
                return d;
        return nullptr;
    };
    QString boxtext;
    QTimer waechter;
    waechter.setInterval(0);
    connect(&waechter, &QTimer::timeout, &fenster, [&] {
        if (QProgressDialog* box = sichtbareBox()) {
            boxtext = box->labelText();
            waechter.stop();
            if (abbrechen)
                box->cancel();
        }
    });
    waechter.start();
    bool boxBeiMeldung = false;
    m_dlg->beimZeigen([&](const Meldung&) { boxBeiMeldung = boxBeiMeldung || sichtbareBox(); });

    Strukturbearbeitung& b = fenster.bearbeitung();
    const int zeile = 2;
    QCOMPARE(betragWirdLong(fenster), !abbrechen);
    QCOMPARE(boxtext, QStringLiteral("Bitte warten... Die Daten des Feldes werden umkopiert."));
    QVERIFY(!sichtbareBox());
    QVERIFY(!boxBeiMeldung);
    const QStringList nachher
        = test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag"));
    if (abbrechen) {
        QVERIFY(m_dlg->letzteMeldung().text.contains(
            QStringLiteral("Die Strukturänderung konnte nicht durchgeführt werden!")));
        QCOMPARE(nachher, vorher);
        QCOMPARE(m_db->tableDefs()
                     .item(QStringLiteral("Rechnungen"))
                     .fields()
                     .item(QStringLiteral("Betrag"))
                     .type(),
            int(dbText));
        QVERIFY(!b.rueckgaengigMoeglich());
    } else {
        QCOMPARE(nachher.size(), vorher.size());
        QCOMPARE(nachher.last(), QStringLiteral("2999"));
        QCOMPARE(b.zeilen().at(zeile).typ, qint16(dbLong));
    }
}

// A table view open on the same database while a replacement with its box runs: the view
// repaints and scrolls from inside the progress, reads nothing meanwhile (so nothing runs on the
// connection in the middle of the change), reports no failure, and shows the new values after.
void TestStrukturfenster::offeneTabelleLiestNichtMittendrin()
{
    weitereRechnungen();
    RecordsetModel modell;
    modell.setzeNeuzeile(false);
    modell.setRecordset(m_db->openRecordset(QStringLiteral("Rechnungen")));
    modell.anzahlErmitteln();
    QTRY_VERIFY(!modell.zaehltNoch());
    QCOMPARE(modell.rowCount(), 3003);
    QTableView ansicht;
    ansicht.setModel(&modell);
    ansicht.resize(400, 300);
    ansicht.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ansicht));
    int betrag = -1;
    for (int c = 0; c < modell.columnCount(); ++c)
        if (modell.headerData(c, Qt::Horizontal).toString() == QLatin1String("Betrag"))
            betrag = c;
    QVERIFY(betrag >= 0);
    QSignalSpy fehler(&modell, &Rastermodell::lesefehler);

    frmTabellenStruktur fenster(*m_db, false, QStringLiteral("Rechnungen"), m_db->name());
    fenster.setzeFortschrittsverzoegerung(0);
    fenster.show();
    int mittendrin = 0;
    QStringList gelesen;
    QTimer waechter;
    waechter.setInterval(0);
    connect(&waechter, &QTimer::timeout, &fenster, [&] {
        for (QProgressDialog* d : fenster.findChildren<QProgressDialog*>())
            if (d->isVisible()) {
                ++mittendrin;
                ansicht.scrollToBottom();
                ansicht.viewport()->repaint();
                const QString v = modell.data(modell.index(3002, betrag)).toString();
                if (!v.isEmpty())
                    gelesen << v;
            }
    });
    waechter.start();

    QVERIFY(betragWirdLong(fenster));
    waechter.stop();
    QVERIFY(mittendrin > 0);
    QVERIFY2(gelesen.isEmpty(), qPrintable(gelesen.join(QLatin1Char(','))));
    QCOMPARE(fehler.count(), 0);
    // Once the connection is free, the view reads the rows it skipped.
    ansicht.scrollToBottom();
    QTRY_COMPARE(modell.data(modell.index(3002, betrag)).toString(), QStringLiteral("2999"));
    QCOMPARE(fehler.count(), 0);
}

QTEST_MAIN(TestStrukturfenster)
#include "tst_strukturfenster.moc"
