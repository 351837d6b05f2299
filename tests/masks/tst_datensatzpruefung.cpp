#include "Maskendatenbank.h"
#include "engine/Recordset.h"
#include "masks/Beschriftungslage.h"
#include "masks/Datensatzpruefung.h"
#include "masks/Feldwert.h"
#include "masks/Maskensteuerung.h"
#include "masks/Maskenwerkzeuge.h"
#include "masks/Untertabellenabfrage.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;

namespace {

/// The window as the record logic sees it: element values set by the test.
class Ansicht : public Maskenansicht {
public:
    QList<Elementwert> werte;
    QList<engine::Recordset*> tabellen;
    bool eingabenGueltig = true;
    int angezeigt = 0;
    QStringList hinweise;

    QList<Elementwert> elementwerte() const override { return werte; }
    bool eingabenPruefen() override { return eingabenGueltig; }
    void alsGespeichertMarkieren(const QList<int>& elemente) override
    {
        for (Elementwert& w : werte) {
            if (elemente.contains(w.element))
                w.geaendert = false;
        }
    }
    // Showing a record replaces what the elements held.
    void anzeigen() override
    {
        ++angezeigt;
        for (Elementwert& w : werte)
            w.geaendert = false;
    }
    int tabellenelemente() const override { return int(tabellen.size()); }
    bool tabellenzeileSpeichern(int) override { return true; }
    engine::Recordset* tabellenzeilen(int n) override { return tabellen.at(n); }
    void hinweis(const QString& text) override { hinweise.append(text); }

    void setze(Eingabefamilie familie, const QString& feld, const QVariant& wert)
    {
        werte.append({ int(werte.size()), familie, feld, wert, true });
    }
};

QVariant einzelwert(engine::Database& db, const QString& sql)
{
    return db.openRecordset(sql)->value(0);
}

int anzahl(engine::Database& db, const QString& sql)
{
    return einzelwert(db, sql).toInt();
}

} // namespace

class TestDatensatzpruefung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init();
    void cleanup();

    void feldwerte_data();
    void feldwerte();
    void schreibenJeFamilie();
    void nichtSchreibbareWerte();
    void speichernScheitertUndBleibt();
    void untertabelleMitAnfuehrungszeichen();
    void alleZeilenLoeschen();
    void werkzeugstaende();
    void beschriftungen_data();
    void beschriftungen();
    void proportionaleLage();

    void oeffnenScheitert();
    void bewegenSpeichertUndBleibtBeiFehler();
    void neuOhneEingabeUndAbbruch();
    void neukopieMitNeuemZaehler();
    void loeschenMitUntertabellenzeilen();
    void loeschenGesperrtNimmtNichtsWeg();
    void loeschenLetzterUndEinziger();

private:
    std::unique_ptr<test::TempDir> m_ordner;
    std::unique_ptr<engine::Workspace> m_ws;
    std::unique_ptr<engine::Database> m_db;
};

void TestDatensatzpruefung::init()
{
    m_ordner = std::make_unique<test::TempDir>();
    m_ws = std::make_unique<engine::Workspace>();
    m_db = test::maskendatenbank(*m_ws, m_ordner->file(QStringLiteral("masken.mdb")));
}

void TestDatensatzpruefung::cleanup()
{
    m_db.reset();
    m_ws.reset();
    m_ordner.reset();
}

void TestDatensatzpruefung::feldwerte_data()
{
    using namespace engine;
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("groesse");
    QTest::addColumn<QVariant>("erwartet");
    QTest::addColumn<bool>("moeglich");
    const QVariant null;
    QTest::newRow("Text gekuerzt") << QVariant(QStringLiteral("Fraulein")) << int(dbText) << 5
                                   << QVariant(QStringLiteral("Fraul")) << true;
    QTest::newRow("Memo nie gekuerzt") << QVariant(QStringLiteral("Fraulein")) << int(dbMemo) << 5
                                       << QVariant(QStringLiteral("Fraulein")) << true;
    QTest::newRow("Zahl als Text")
        << QVariant(42) << int(dbText) << 10 << QVariant(QStringLiteral("42")) << true;
    QTest::newRow("leer ist Null") << QVariant(QString()) << int(dbLong) << 0 << null << true;
    QTest::newRow("Long aus Text")
        << QVariant(QStringLiteral("12")) << int(dbLong) << 0 << QVariant(12LL) << true;
    QTest::newRow("Long rundet") << QVariant(2.6) << int(dbLong) << 0 << QVariant(3LL) << true;
    QTest::newRow("Double deutsch")
        << QVariant(QStringLiteral("1,5")) << int(dbDouble) << 0 << QVariant(1.5) << true;
    QTest::newRow("Double aus Datei")
        << QVariant(QStringLiteral("1.5")) << int(dbCurrency) << 0 << QVariant(1.5) << true;
    QTest::newRow("kein Long") << QVariant(QStringLiteral("abc")) << int(dbLong) << 0 << null
                               << false;
    QTest::newRow("Boolean Ja") << QVariant(QStringLiteral("Ja")) << int(dbBoolean) << 0
                                << QVariant(true) << true;
    QTest::newRow("Boolean -1") << QVariant(QStringLiteral("-1")) << int(dbBoolean) << 0
                                << QVariant(true) << true;
    QTest::newRow("Boolean aus bool")
        << QVariant(false) << int(dbBoolean) << 0 << QVariant(false) << true;
    QTest::newRow("kein Boolean") << QVariant(QStringLiteral("vielleicht")) << int(dbBoolean) << 0
                                  << null << false;
    QTest::newRow("Datum aus Text") << QVariant(QStringLiteral("1.2.2009")) << int(dbDate) << 0
                                    << QVariant(QDateTime(QDate(2009, 2, 1), QTime(0, 0))) << true;
    QTest::newRow("kein Datum") << QVariant(QStringLiteral("morgen")) << int(dbDate) << 0 << null
                                << false;
}

void TestDatensatzpruefung::feldwerte()
{
    QFETCH(QVariant, wert);
    QFETCH(int, typ);
    QFETCH(int, groesse);
    QFETCH(QVariant, erwartet);
    QFETCH(bool, moeglich);
    const std::optional<QVariant> r = feldwert(wert, typ, groesse);
    QCOMPARE(r.has_value(), moeglich);
    if (moeglich) {
        QCOMPARE(r->isNull(), erwartet.isNull());
        if (!erwartet.isNull())
            QCOMPARE(*r, erwartet);
    }
}

void TestDatensatzpruefung::schreibenJeFamilie()
{
    auto rs = m_db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr"));
    rs->moveFirst();
    const QList<Elementwert> werte {
        { 0, Eingabefamilie::Checkbox, QStringLiteral("Stammkunde"), QVariant(false), true },
        // An emptied number input stores Null, not 0.
        { 1, Eingabefamilie::Zahl, QStringLiteral("Menge"), QVariant(), true },
        // A list value longer than the text field is cut to its size.
        { 2, Eingabefamilie::Combobox, QStringLiteral("Anrede"),
            QVariant(QStringLiteral("Fraulein")), true },
        { 3, Eingabefamilie::Optionbox, QStringLiteral("Preis"), QVariant(QStringLiteral("7.5")),
            true },
        { 4, Eingabefamilie::Datum, QStringLiteral("Geburtstag"), QVariant(), true },
        { 5, Eingabefamilie::Gebunden, QStringLiteral("Notiz"), QVariant(QStringLiteral("a\r\nb")),
            true },
        // Unchanged elements are not written.
        { 6, Eingabefamilie::Gebunden, QStringLiteral("Name"), QVariant(QStringLiteral("X")),
            false },
    };
    const Speicherergebnis r = speichereDatensatz(*rs, werte);
    QVERIFY(r.ok);
    QVERIFY(r.gespeichert);
    QCOMPARE(r.geschrieben, QList<int>({ 0, 1, 2, 3, 4, 5 }));
    QVERIFY(r.nichtGeschrieben.isEmpty());
    QCOMPARE(rs->editMode(), int(engine::dbEditNone));

    auto neu = m_db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE KundenNr = 1"));
    QCOMPARE(neu->value(QStringLiteral("Stammkunde")), QVariant(false));
    QVERIFY(neu->value(QStringLiteral("Menge")).isNull());
    QCOMPARE(neu->value(QStringLiteral("Anrede")).toString(), QStringLiteral("Fraul"));
    QCOMPARE(neu->value(QStringLiteral("Preis")).toDouble(), 7.5);
    QVERIFY(neu->value(QStringLiteral("Geburtstag")).isNull());
    QCOMPARE(neu->value(QStringLiteral("Notiz")).toString(), QStringLiteral("a\r\nb"));
    QCOMPARE(neu->value(QStringLiteral("Name")).toString(), QStringLiteral("Meier"));

    // Nothing changed and no edit pending: nothing is written.
    const Speicherergebnis leer = speichereDatensatz(*rs, {});
    QVERIFY(leer.ok);
    QVERIFY(!leer.gespeichert);
}

void TestDatensatzpruefung::nichtSchreibbareWerte()
{
    auto rs = m_db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr"));
    rs->moveFirst();
    const QList<Elementwert> werte {
        { 0, Eingabefamilie::Combobox, QStringLiteral("Menge"), QVariant(QStringLiteral("viel")),
            true },
        { 1, Eingabefamilie::Gebunden, QStringLiteral("KundenNr"), QVariant(99), true },
        { 2, Eingabefamilie::Gebunden, QStringLiteral("Gibtsnicht"), QVariant(1), true },
        { 3, Eingabefamilie::Gebunden, QStringLiteral("Anrede"), QVariant(QStringLiteral("Dr.")),
            true },
    };
    const Speicherergebnis r = speichereDatensatz(*rs, werte);
    QVERIFY(r.ok);
    QCOMPARE(r.geschrieben, QList<int>({ 3 }));
    QCOMPARE(r.nichtGeschrieben,
        QStringList(
            { QStringLiteral("Menge"), QStringLiteral("KundenNr"), QStringLiteral("Gibtsnicht") }));
    QCOMPARE(hinweisNichtGeschrieben({ QStringLiteral("Menge") }),
        QStringLiteral("Der Wert konnte nicht übernommen werden; das Feld behält seinen "
                       "bisherigen Wert: Menge"));
    QVERIFY(hinweisNichtGeschrieben({}).isEmpty());
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Menge FROM Kunden WHERE KundenNr = 1")), 5);
    QCOMPARE(einzelwert(*m_db, QStringLiteral("SELECT Anrede FROM Kunden WHERE KundenNr = 1")),
        QVariant(QStringLiteral("Dr.")));
}

void TestDatensatzpruefung::speichernScheitertUndBleibt()
{
    auto rs = m_db->openRecordset(QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr"));
    rs->moveFirst();
    QList<Elementwert> werte {
        { 0, Eingabefamilie::Gebunden, QStringLiteral("Name"), QVariant(), true },
        { 1, Eingabefamilie::Gebunden, QStringLiteral("Anrede"), QVariant(QStringLiteral("Dr.")),
            true },
    };
    const Speicherergebnis r = speichereDatensatz(*rs, werte);
    QVERIFY(!r.ok);
    QVERIFY(!r.gespeichert);
    QVERIFY(r.meldung.startsWith(
        QStringLiteral("Fehler beim Aktualisieren der Daten!\n\nFehler: 3314\nBeschreibung: ")));
    // The record stays in edit with what was typed; the file is unchanged.
    QCOMPARE(rs->editMode(), int(engine::dbEditInProgress));
    QCOMPARE(rs->value(QStringLiteral("Anrede")).toString(), QStringLiteral("Dr."));
    QCOMPARE(einzelwert(*m_db, QStringLiteral("SELECT Name FROM Kunden WHERE KundenNr = 1")),
        QVariant(QStringLiteral("Meier")));

    // Corrected, the same record saves.
    werte[0].wert = QStringLiteral("Maier");
    QVERIFY(speichereDatensatz(*rs, werte).ok);
    QCOMPARE(einzelwert(*m_db, QStringLiteral("SELECT Name FROM Kunden WHERE KundenNr = 1")),
        QVariant(QStringLiteral("Maier")));
}

void TestDatensatzpruefung::untertabelleMitAnfuehrungszeichen()
{
    TabellenelementEinstellungen e;
    e.sql = QStringLiteral("SELECT * FROM Positionen ");
    e.feldUntertabelle = QStringLiteral("Name");
    e.sortierung = QStringLiteral("Betrag DESC");
    Untertabellenabfrage a(*m_db, e);
    QCOMPARE(a.anweisung(),
        QStringLiteral(
            "SELECT * FROM Positionen WHERE [Name] = :kvHauptwert ORDER BY Betrag DESC"));
    // The quote is part of the value, not of the statement.
    auto zeilen = a.oeffne(QStringLiteral("O'Brien"));
    QCOMPARE(zeilen->recordCount(), 2);
    QCOMPARE(zeilen->value(QStringLiteral("Betrag")).toDouble(), 8.0);
    QCOMPARE(a.oeffne(QStringLiteral("x' OR 'a' = 'a"))->recordCount(), 0);
    QCOMPARE(a.oeffne(QVariant())->recordCount(), 0);
    QCOMPARE(a.oeffne(QString())->recordCount(), 0);

    // A number link, a qualified field and no sort order.
    e.feldUntertabelle = QStringLiteral("Positionen.KundenNr");
    e.sortierung.clear();
    Untertabellenabfrage b(*m_db, e);
    QCOMPARE(b.anweisung(),
        QStringLiteral("SELECT * FROM Positionen WHERE "
                       "[Positionen].[KundenNr] = :kvHauptwert"));
    QCOMPARE(b.oeffne(1)->recordCount(), 3);
    QCOMPARE(b.oeffne(1)->recordCount(), 3);
}

void TestDatensatzpruefung::alleZeilenLoeschen()
{
    auto zeilen
        = m_db->openRecordset(QStringLiteral("SELECT * FROM Positionen WHERE KundenNr = 1"));
    QCOMPARE(loescheAlleZeilen(*zeilen), 3);
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Positionen")), 3);
    auto leer = m_db->openRecordset(QStringLiteral("SELECT * FROM Positionen WHERE KundenNr = 9"));
    QCOMPARE(loescheAlleZeilen(*leer), 0);
}

void TestDatensatzpruefung::werkzeugstaende()
{
    const auto stand = [](const Maskenlage& l, const QString& name) {
        for (const Werkzeugstand& w : maskenwerkzeugstaende(l)) {
            if (w.name == name)
                return w;
        }
        return Werkzeugstand {};
    };
    Maskenlage l;
    l.hatDatensaetze = true;
    l.amAnfang = true;
    l.amEnde = false;
    QVERIFY(!stand(l, QStringLiteral("Zurück")).aktiv);
    QVERIFY(stand(l, QStringLiteral("Vor")).aktiv);
    QCOMPARE(stand(l, QStringLiteral("Neu")).text, QStringLiteral("Neu"));
    QCOMPARE(
        stand(l, QStringLiteral("Schließen")).tooltip, QStringLiteral("Arbeitsfenster schließen"));

    l.hinzufuegen = true;
    QCOMPARE(stand(l, QStringLiteral("Neu")),
        (Werkzeugstand { QStringLiteral("Neu"), true, QStringLiteral("Speichern"),
            QStringLiteral("Speichert den neuen Datensatz") }));
    QCOMPARE(stand(l, QStringLiteral("Schließen")),
        (Werkzeugstand { QStringLiteral("Schließen"), true, QStringLiteral("Abbruch"),
            QStringLiteral("Eingabe abbrechen ohne Speicherung") }));
    for (const Werkzeugstand& w : maskenwerkzeugstaende(l)) {
        if (w.name != u"Neu" && w.name != u"Schließen")
            QVERIFY2(!w.aktiv, qPrintable(w.name));
    }

    l.hinzufuegen = false;
    l.aenderbar = false;
    QVERIFY(!stand(l, QStringLiteral("Neu")).aktiv);
    QVERIFY(!stand(l, QStringLiteral("Löschen")).aktiv);
    QVERIFY(stand(l, QStringLiteral("Kopie")).aktiv);
    l.hatDatensaetze = false;
    QVERIFY(!stand(l, QStringLiteral("Kopie")).aktiv);
    QVERIFY(stand(l, QStringLiteral("Suchen")).aktiv);
    QVERIFY(maskenwerkzeuge().startsWith(QStringLiteral("Zurück;&Zurück;Pfeillinks;")));
}

void TestDatensatzpruefung::beschriftungen_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("groesse");
    QTest::addColumn<QRect>("erwartet");
    // Element at 200,100 of 300 x 20 on a surface 1000 x 500, 4 pixels apart, lines 16 high.
    QTest::newRow("links bis zum Rand") << 0 << 0 << QRect(0, 100, 196, 20);
    QTest::newRow("links mit Breite") << 0 << 50 << QRect(146, 100, 50, 20);
    QTest::newRow("oben") << 1 << 0 << QRect(200, 80, 300, 16);
    QTest::newRow("rechts bis zum Rand") << 2 << 0 << QRect(504, 100, 496, 20);
    QTest::newRow("unten mit Hoehe") << 3 << 30 << QRect(200, 124, 300, 30);
}

void TestDatensatzpruefung::beschriftungen()
{
    QFETCH(int, position);
    QFETCH(int, groesse);
    QFETCH(QRect, erwartet);
    Feldbeschriftung f;
    f.position = Beschriftungsposition(position);
    QCOMPARE(
        beschriftungsbereich(QRect(200, 100, 300, 20), f, groesse, QRect(0, 0, 1000, 500), 16, 4),
        erwartet);
    QCOMPARE(ausrichtungVon(Beschriftungsausrichtung::RechtsZentriert),
        Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(
        ausrichtungVon(Beschriftungsausrichtung::ZentriertOben), Qt::AlignHCenter | Qt::AlignTop);
}

void TestDatensatzpruefung::proportionaleLage()
{
    QCOMPARE(proportional(QRect(100, 50, 200, 20), QSize(1000, 500), QSize(2000, 1000)),
        QRect(200, 100, 400, 40));
    QCOMPARE(proportional(QRect(100, 50, 200, 20), QSize(1000, 500), QSize(500, 500)),
        QRect(50, 50, 100, 20));
    QCOMPARE(proportional(QRect(1, 2, 3, 4), QSize(), QSize(10, 10)), QRect(1, 2, 3, 4));
}

void TestDatensatzpruefung::oeffnenScheitert()
{
    test::ScriptedDialoge dialoge;
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(!s.oeffne(*m_db, QStringLiteral("SELECT * FROM Gibtsnicht")));
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Bei der Einstellung der Datenquelle ist ein Fehler aufgetreten!\n\nNr: ")));
    QVERIFY(!s.datensatz());
    QVERIFY(!s.hatDatensatz());
    QVERIFY(s.gesperrt());
    QVERIFY(!s.neu());
    QVERIFY(s.geheZu(3));
    QVERIFY(s.schliessen());
}

void TestDatensatzpruefung::bewegenSpeichertUndBleibtBeiFehler()
{
    test::ScriptedDialoge dialoge;
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(s.oeffne(*m_db, QStringLiteral(" SELECT * FROM Kunden ORDER BY KundenNr")));
    QCOMPARE(s.position(), 0);
    QCOMPARE(s.anzahl(), 3);
    ansicht.setze(Eingabefamilie::Gebunden, QStringLiteral("Anrede"), QStringLiteral("Dr."));
    QVERIFY(s.aenderungOffen());
    QVERIFY(s.geheZu(1));
    QCOMPARE(s.position(), 1);
    QCOMPARE(einzelwert(*m_db, QStringLiteral("SELECT Anrede FROM Kunden WHERE KundenNr = 1")),
        QVariant(QStringLiteral("Dr.")));
    QVERIFY(!s.aenderungOffen());

    // An invalid entry keeps the record without saving anything.
    ansicht.werte.clear();
    ansicht.setze(Eingabefamilie::Gebunden, QStringLiteral("Anrede"), QStringLiteral("Prof"));
    ansicht.eingabenGueltig = false;
    QVERIFY(!s.geheZu(2));
    QCOMPARE(s.position(), 1);
    ansicht.eingabenGueltig = true;

    // A failed save keeps the record and what was typed; cancelling drops it.
    ansicht.setze(Eingabefamilie::Gebunden, QStringLiteral("Name"), QVariant());
    QVERIFY(!s.geheZu(2));
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Aktualisieren der Daten!")));
    QCOMPARE(s.position(), 1);
    QVERIFY(ansicht.werte.at(0).geaendert);
    QVERIFY(s.aenderungOffen());
    QVERIFY(s.abbrechen());
    QVERIFY(!s.aenderungOffen());
    QVERIFY(s.geheZu(2));
    QCOMPARE(einzelwert(*m_db, QStringLiteral("SELECT Anrede FROM Kunden WHERE KundenNr = 2")),
        QVariant(QStringLiteral("Frau")));

    // "Zurück" on the first record keeps it.
    QVERIFY(s.geheZu(0));
    QVERIFY(s.geheZu(-1));
    QCOMPARE(s.position(), 0);
    QVERIFY(s.lage().amAnfang);
}

void TestDatensatzpruefung::neuOhneEingabeUndAbbruch()
{
    test::ScriptedDialoge dialoge;
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(s.oeffne(*m_db, QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr")));
    QVERIFY(s.geheZu(1));
    QVERIFY(s.neu());
    QVERIFY(s.hinzufuegen());
    QVERIFY(s.lage().hinzufuegen);
    // Leaving a new record nobody filled in adds no row.
    QVERIFY(s.geheZu(0));
    QVERIFY(!s.hinzufuegen());
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Kunden")), 3);

    QVERIFY(s.neu());
    QVERIFY(s.abbrechen());
    QVERIFY(!s.hinzufuegen());
    QCOMPARE(s.position(), 0);

    // Saving a new record that breaks a rule keeps it being added.
    QVERIFY(s.neu());
    ansicht.setze(Eingabefamilie::Gebunden, QStringLiteral("Anrede"), QStringLiteral("Herr"));
    QVERIFY(!s.speichern());
    QVERIFY(s.hinzufuegen());
    ansicht.setze(Eingabefamilie::Gebunden, QStringLiteral("Name"), QStringLiteral("Neumann"));
    QVERIFY(s.speichern());
    QVERIFY(!s.hinzufuegen());
    QCOMPARE(s.anzahl(), 4);
    // The saved record is the current one.
    QCOMPARE(s.datensatz()->value(QStringLiteral("Name")).toString(), QStringLiteral("Neumann"));
    QCOMPARE(s.datensatz()->value(QStringLiteral("KundenNr")).toInt(), 4);
}

void TestDatensatzpruefung::neukopieMitNeuemZaehler()
{
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(s.oeffne(*m_db, QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr")));
    QVERIFY(s.neuKopie());
    QVERIFY(s.hinzufuegen());
    engine::Recordset* rs = s.datensatz();
    QCOMPARE(rs->value(QStringLiteral("Name")).toString(), QStringLiteral("Meier"));
    QCOMPARE(rs->value(QStringLiteral("KundenNr")).toInt(), 4);
    // A copy is kept even when nothing was typed into it.
    QVERIFY(s.geheZu(0));
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Kunden WHERE Name = 'Meier'")), 2);
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Max(KundenNr) FROM Kunden")), 4);
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Menge FROM Kunden WHERE KundenNr = 4")), 5);
}

void TestDatensatzpruefung::loeschenMitUntertabellenzeilen()
{
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(s.oeffne(*m_db, QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr")));
    TabellenelementEinstellungen e;
    e.sql = QStringLiteral("SELECT * FROM Positionen");
    e.feldUntertabelle = QStringLiteral("KundenNr");
    Untertabellenabfrage a(*m_db, e);
    auto zeilen = a.oeffne(1);
    ansicht.tabellen = { zeilen.get() };
    // The relation has no cascade: without deleting the rows first the record could not go.
    QVERIFY(s.loeschen());
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Kunden")), 2);
    QCOMPARE(
        anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Positionen WHERE KundenNr = 1")), 0);
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Positionen")), 3);
    QCOMPARE(s.datensatz()->value(QStringLiteral("Name")).toString(), QStringLiteral("O'Brien"));
}

void TestDatensatzpruefung::loeschenGesperrtNimmtNichtsWeg()
{
    test::ScriptedDialoge dialoge;
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    QVERIFY(s.oeffne(*m_db, QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr")));
    QVERIFY(s.geheZu(2));
    TabellenelementEinstellungen e;
    e.sql = QStringLiteral("SELECT * FROM Positionen");
    e.feldUntertabelle = QStringLiteral("KundenNr");
    Untertabellenabfrage a(*m_db, e);
    auto zeilen = a.oeffne(3);
    ansicht.tabellen = { zeilen.get() };
    QVERIFY(!s.loeschen());
    QVERIFY(dialoge.letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Löschen des Datensatzes!\n\nFehler: 3200\n")));
    // The customer stays, and so does its position.
    QCOMPARE(anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Kunden")), 3);
    QCOMPARE(
        anzahl(*m_db, QStringLiteral("SELECT Count(*) FROM Positionen WHERE KundenNr = 3")), 1);
    QCOMPARE(s.position(), 2);
    QVERIFY(!m_ws->inTransaction());
    // Locked masks delete nothing.
    s.setzeEditiersperre(true);
    QVERIFY(!s.loeschen());
}

void TestDatensatzpruefung::loeschenLetzterUndEinziger()
{
    Ansicht ansicht;
    Maskensteuerung s(ansicht);
    m_db->execute(QStringLiteral("DELETE FROM Sperren"));
    m_db->execute(QStringLiteral("DELETE FROM Positionen"));
    QVERIFY(s.oeffne(*m_db, QStringLiteral("SELECT * FROM Kunden ORDER BY KundenNr")));
    QVERIFY(s.geheZu(2));
    QVERIFY(s.loeschen());
    // The last record gone, the new last one is shown.
    QCOMPARE(s.position(), 1);
    QCOMPARE(s.anzahl(), 2);
    QVERIFY(s.loeschen());
    QCOMPARE(s.position(), 0);
    QVERIFY(s.loeschen());
    QCOMPARE(s.anzahl(), 0);
    QVERIFY(!s.hatDatensatz());
    QVERIFY(!s.lage().hatDatensaetze);
    // The empty window waits for a new record; dropping it leaves nothing to delete.
    QVERIFY(s.hinzufuegen());
    QVERIFY(!s.loeschen());
    QVERIFY(s.abbrechen());
    QVERIFY(!s.loeschen());
    QVERIFY(s.neu());
}

QTEST_MAIN(TestDatensatzpruefung)
#include "tst_datensatzpruefung.moc"
