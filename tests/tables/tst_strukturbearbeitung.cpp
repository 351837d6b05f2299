#include "Strukturdatenbank.h"
#include "engine/EngineError.h"
#include "tables/Feldersetzung.h"
#include "tables/Strukturbearbeitung.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;
using namespace kv::engine;

class TestStrukturbearbeitung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void zeilenUndIndizesEinerTabelle();
    void neueTabelleErstMitDemErstenFeld();
    void neueTabelleMitVergebenemNamen();
    void nurVorgabewertOhneFrageUndKopie();
    void neinBehaeltDasFeld();
    void typwechselMitRelationUndIndex();
    void fehlerInDerErsetzungLaesstAllesWieVorher();
    void schrittfehlerNennenDenSchritt();
    void feldLoeschen();
    void indexLoeschenUndUmbenennen();
    void tabelleUmbenennen();

private:
    Strukturbearbeitung& bearbeite(const QString& tabelle);
    int zeileVon(const QString& feld) const;
    int indexVon(const QString& index) const;

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Strukturbearbeitung> m_b;
};

namespace {
const QString Frage = QStringLiteral(
    "Sie haben grundlegende Eigenschaften eines \nDatenfeldes geändert, was ein Umkopieren von\n"
    "eventuell vorhandenen Daten erforderlich macht!\n\nBeachten Sie bitte, dass je nach "
    "Änderung unter\nUmständen ein Datenverlust möglich ist!\n\nMöchten Sie die Aktion jetzt "
    "durchführen?");
}

void TestStrukturbearbeitung::init()
{
    m_dir = std::make_unique<test::TempDir>();
    m_dlg = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("struktur.mdb")));
    test::legeStrukturtabellenAn(*m_db);
    test::fuelleStrukturtabellen(
        *m_db, { "Meier|12345", "Müller|0815", "Schulz|" }, { "1|12,50", "2|abc", "1|7" });
}

void TestStrukturbearbeitung::cleanup()
{
    m_b.reset();
    m_db.reset();
    m_ws.reset();
    QVERIFY(m_dlg->leer());
    m_dlg.reset();
    m_dir.reset();
}

Strukturbearbeitung& TestStrukturbearbeitung::bearbeite(const QString& tabelle)
{
    m_b = std::make_unique<Strukturbearbeitung>(*m_db, false, tabelle);
    return *m_b;
}

int TestStrukturbearbeitung::zeileVon(const QString& feld) const
{
    for (int i = 0; i < m_b->zeilen().size(); ++i)
        if (m_b->zeilen().at(i).name == feld)
            return i;
    return -1;
}

int TestStrukturbearbeitung::indexVon(const QString& index) const
{
    for (int i = 0; i < m_b->indizes().size(); ++i)
        if (m_b->indizes().at(i).name == index)
            return i;
    return -1;
}

void TestStrukturbearbeitung::zeilenUndIndizesEinerTabelle()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("kunden"));
    QCOMPARE(b.titel(), QStringLiteral("Tabellenstruktur ändern"));
    QCOMPARE(b.tabellenname(), QStringLiteral("Kunden"));
    QCOMPARE(b.zeilen().size(), 4);
    const FeldZeile& id = b.zeilen().at(0);
    QCOMPARE(id.typ, qint16(dbLong));
    QVERIFY(id.automatikwert);
    QVERIFY(id.fix);
    QVERIFY(!id.neu);
    const FeldZeile& name = b.zeilen().at(1);
    QCOMPARE(name.groesse, 40);
    QVERIFY(name.erforderlich);
    QVERIFY(!name.fix);
    QVERIFY(!b.zeileOffen(1));
    QCOMPARE(b.indizes().size(), 2);
    QCOMPARE(b.indizes().at(indexVon(QStringLiteral("NachPLZ"))).felder, QStringLiteral("-PLZ"));
    const IndexZeile& pk = b.indizes().at(indexVon(QStringLiteral("PrimaryKey")));
    QVERIFY(pk.primaer && pk.eindeutig && pk.erforderlich && !pk.fremdschluessel);
    QCOMPARE(b.verbindungsinfo(),
        QStringLiteral("Es ist momentan keine externe Verbindung festgelegt."));
    QCOMPARE(b.verbindungsknopf(), QStringLiteral("Externe Verbindung festlegen"));
    // The relation's index on the foreign side is a foreign key.
    Strukturbearbeitung& r = bearbeite(QStringLiteral("Rechnungen"));
    QCOMPARE(r.indizes().size(), 1);
    QVERIFY(r.indizes().at(0).fremdschluessel);
    QCOMPARE(r.indizes().at(0).felder, QStringLiteral("+KundeID"));
}

// A new table is stored with its first field; until then the database has no trace of it.
void TestStrukturbearbeitung::neueTabelleErstMitDemErstenFeld()
{
    m_b = std::make_unique<Strukturbearbeitung>(*m_db, true, QString());
    Strukturbearbeitung& b = *m_b;
    QCOMPARE(b.titel(), QStringLiteral("Tabellenstruktur neu erstellen"));
    QCOMPARE(b.tabellenname(), QStringLiteral("Tabelle"));
    QVERIFY(b.neueTabelle());
    QCOMPARE(b.zeilen().size(), 0);
    QCOMPARE(b.benenneTabelleUm(QStringLiteral("Artikel")), QStringLiteral("Artikel"));
    QVERIFY(!m_db->tableDefs().contains(QStringLiteral("Artikel")));

    QCOMPARE(b.neueZeile(), 0);
    QCOMPARE(b.zeilen().at(0).name, QStringLiteral("Neufeld0"));
    QCOMPARE(b.zeilen().at(0).position, 1);
    QVERIFY(b.zeileOffen(0));
    QVERIFY(!m_db->tableDefs().contains(QStringLiteral("Artikel")));
    FeldZeile z = b.zeilen().at(0);
    z.name = QStringLiteral("Bezeichnung");
    z.groesse = 60;
    b.setzeZeile(0, z);
    QCOMPARE(b.speichereZeile(0), Zeilenergebnis::Gespeichert);
    QVERIFY(!b.neueTabelle());
    QCOMPARE(b.titel(), QStringLiteral("Tabellenstruktur ändern"));
    const Field& f = m_db->tableDefs()
                         .item(QStringLiteral("Artikel"))
                         .fields()
                         .item(QStringLiteral("Bezeichnung"));
    QCOMPARE(f.size(), 60);
    QVERIFY(f.allowZeroLength());

    // The second field goes into the stored table, after the first.
    QCOMPARE(b.neueZeile(), 1);
    FeldZeile preis = b.zeilen().at(1);
    typWechseln(preis, dbCurrency);
    preis.name = QStringLiteral("Preis");
    b.setzeZeile(1, preis);
    QCOMPARE(b.speichereZeile(1), Zeilenergebnis::Gespeichert);
    QCOMPARE(b.zeilen().size(), 2);
    QCOMPARE(b.zeilen().at(1).typ, qint16(dbCurrency));
    QCOMPARE(b.speichereZeile(1), Zeilenergebnis::Unveraendert);
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestStrukturbearbeitung::neueTabelleMitVergebenemNamen()
{
    m_b = std::make_unique<Strukturbearbeitung>(*m_db, true, QStringLiteral("kunden"));
    Strukturbearbeitung& b = *m_b;
    QCOMPARE(b.neueZeile(), 0);
    QCOMPARE(b.speichereZeile(0), Zeilenergebnis::Gespeichert);
    QCOMPARE(m_dlg->texte(),
        QStringList { QStringLiteral(
            "Der Tabellenname ist bereits vorhanden. Es wird daher\nein noch nicht vorhandener "
            "Name erzeugt und verwendet.\n\nIhre Eingabe: kunden\nNeuer Tabellenname: kunden1") });
    QCOMPARE(b.tabellenname(), QStringLiteral("kunden1"));
    QVERIFY(m_db->tableDefs().contains(QStringLiteral("kunden1")));
}

// Only the default changes: no question, no replacement, the data stay.
void TestStrukturbearbeitung::nurVorgabewertOhneFrageUndKopie()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Kunden"));
    const int zeile = zeileVon(QStringLiteral("PLZ"));
    FeldZeile z = b.zeilen().at(zeile);
    z.vorgabewert = QStringLiteral("'99999'");
    z.erforderlich = true;
    b.setzeZeile(zeile, z);
    QVERIFY(b.zeileOffen(zeile));
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Gespeichert);
    QVERIFY(m_dlg->meldungen().isEmpty());
    const Field& plz
        = m_db->tableDefs().item(QStringLiteral("Kunden")).fields().item(QStringLiteral("PLZ"));
    QCOMPARE(plz.defaultValue(), QStringLiteral("'99999'"));
    QVERIFY(plz.required());
    QCOMPARE(plz.type(), int(dbText));
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Kunden"), QStringLiteral("PLZ")),
        (QStringList { "12345", "0815", "<Null>" }));
    QCOMPARE(b.indizes().at(indexVon(QStringLiteral("NachPLZ"))).felder, QStringLiteral("-PLZ"));
}

void TestStrukturbearbeitung::neinBehaeltDasFeld()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Kunden"));
    const int zeile = zeileVon(QStringLiteral("PLZ"));
    FeldZeile z = b.zeilen().at(zeile);
    typWechseln(z, dbLong);
    z.vorgabewert = QStringLiteral("0");
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Nein);
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Beibehalten);
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Strukturänderung"));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(Frage));
    QCOMPARE(m_dlg->letzteMeldung().standardKnopf, 2);
    QCOMPARE(m_dlg->letzteMeldung().symbol, Symbol::Frage);
    // The row shows the stored field again; nothing of the row's entries was stored.
    QCOMPARE(b.zeilen().at(zeile).typ, qint16(dbText));
    QVERIFY(!b.zeileOffen(zeile));
    const Field& plz
        = m_db->tableDefs().item(QStringLiteral("Kunden")).fields().item(QStringLiteral("PLZ"));
    QCOMPARE(plz.type(), int(dbText));
    QCOMPARE(plz.size(), 10);
    QVERIFY(plz.defaultValue().isEmpty());
}

// The field in the relation changes its type: the relation is rebuilt under its name with its
// flags, and keeps working; the field keeps its place.
void TestStrukturbearbeitung::typwechselMitRelationUndIndex()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Rechnungen"));
    const int zeile = zeileVon(QStringLiteral("KundeID"));
    FeldZeile z = b.zeilen().at(zeile);
    typWechseln(z, dbDouble);
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Gespeichert);
    QCOMPARE(zeileVon(QStringLiteral("KundeID")), zeile);
    QCOMPARE(b.zeilen().at(zeile).typ, qint16(dbDouble));
    m_db->relations().refresh();
    const Relation& r = m_db->relations().item(QStringLiteral("KundenRechnungen"));
    QCOMPARE(r.attributes(), qint64(dbRelationDeleteCascade));
    QCOMPARE(r.fields().value(0).foreignName, QStringLiteral("KundeID"));
    QVERIFY(b.indizes().at(0).fremdschluessel);
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("KundeID")),
        (QStringList { "1", "2", "1" }));
    m_db->execute(QStringLiteral("DELETE FROM Kunden WHERE ID = 1"));
    QCOMPARE(test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("KundeID")),
        QStringList { "2" });

    // A field of the primary side: Kunden.ID is a counter; as Double it is a plain number.
    Strukturbearbeitung& k = bearbeite(QStringLiteral("Kunden"));
    const int plz = zeileVon(QStringLiteral("PLZ"));
    FeldZeile p = k.zeilen().at(plz);
    p.groesse = 5;
    k.setzeZeile(plz, p);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QCOMPARE(k.speichereZeile(plz), Zeilenergebnis::Gespeichert);
    QCOMPARE(k.indizes().at(indexVon(QStringLiteral("NachPLZ"))).felder, QStringLiteral("-PLZ"));
}

// A unique index over the new values fails after the data are copied: the transaction goes
// back, and the table is exactly as before.
void TestStrukturbearbeitung::fehlerInDerErsetzungLaesstAllesWieVorher()
{
    auto ix = m_db->tableDefs()
                  .item(QStringLiteral("Rechnungen"))
                  .createIndex(QStringLiteral("Betraege"));
    ix->appendField(QStringLiteral("Betrag"));
    ix->setUnique(true);
    m_db->tableDefs().item(QStringLiteral("Rechnungen")).indexes().append(std::move(ix));
    m_db->execute(QStringLiteral("INSERT INTO Rechnungen (KundeID, Betrag) VALUES (2, '7.0')"));
    const QStringList vorher
        = test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag"));

    Strukturbearbeitung& b = bearbeite(QStringLiteral("Rechnungen"));
    const int zeile = zeileVon(QStringLiteral("Betrag"));
    FeldZeile z = b.zeilen().at(zeile);
    typWechseln(z, dbDouble);
    b.setzeZeile(zeile, z);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Abgelehnt);
    const QString meldung = m_dlg->letzteMeldung().text;
    QVERIFY2(meldung.startsWith(QStringLiteral("Die Strukturänderung konnte nicht durchgeführt "
                                               "werden!\nDie Tabelle bleibt unverändert.\n\n"
                                               "Fehler: 3022\nBeschreibung: ")),
        qPrintable(meldung));
    // The row keeps the entries, so that they can be corrected or dropped.
    QVERIFY(b.zeileOffen(zeile));
    b.verwirfZeile(zeile);
    QVERIFY(!b.zeileOffen(zeile));

    TableDef& t = m_db->tableDefs().item(QStringLiteral("Rechnungen"));
    QCOMPARE(t.fields().count(), 3);
    QCOMPARE(t.fields().item(QStringLiteral("Betrag")).type(), int(dbText));
    QCOMPARE(t.indexes().item(QStringLiteral("Betraege")).fields().value(0).name,
        QStringLiteral("Betrag"));
    QCOMPARE(
        test::spaltenwerte(*m_db, QStringLiteral("Rechnungen"), QStringLiteral("Betrag")), vorher);
    QCOMPARE(
        m_db->relations().item(QStringLiteral("KundenRechnungen")).fields().value(0).foreignName,
        QStringLiteral("KundeID"));
}

void TestStrukturbearbeitung::schrittfehlerNennenDenSchritt()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Kunden"));
    const int zeile = zeileVon(QStringLiteral("PLZ"));
    FeldZeile z = b.zeilen().at(zeile);
    z.name = QStringLiteral("name");
    b.setzeZeile(zeile, z);
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Abgelehnt);
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler bei der Zuweisung des Feldnamens!\n\nFehler: 3367\n")));
    QVERIFY(b.zeileOffen(zeile));

    // A new field whose name is taken fails when it is appended; the row stays for correction.
    const int neu = b.neueZeile();
    FeldZeile n = b.zeilen().at(neu);
    n.name = QStringLiteral("UMSATZ");
    b.setzeZeile(neu, n);
    QCOMPARE(b.speichereZeile(neu), Zeilenergebnis::Abgelehnt);
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Hinzufügen des Feldes!\n\nFehler: 3367\n")));
    QCOMPARE(b.zeilen().size(), 5);
    n.name = QStringLiteral("Rabatt");
    b.setzeZeile(neu, n);
    QCOMPARE(b.speichereZeile(neu), Zeilenergebnis::Gespeichert);
    // A rename of only the letter case is a rename.
    b.verwirfZeile(zeile);
    z = b.zeilen().at(zeile);
    z.name = QStringLiteral("plz");
    b.setzeZeile(zeile, z);
    QCOMPARE(b.speichereZeile(zeile), Zeilenergebnis::Gespeichert);
    QCOMPARE(b.zeilen().at(zeile).name, QStringLiteral("plz"));
}

void TestStrukturbearbeitung::feldLoeschen()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Kunden"));
    const int zeile = zeileVon(QStringLiteral("Umsatz"));
    m_dlg->erwarteAntwort(Antwort::Nein);
    QVERIFY(!b.loescheFeld(zeile));
    const Meldung frage = m_dlg->letzteMeldung();
    QCOMPARE(frage.text,
        QStringLiteral("Möchten Sie das Feld:\n\nUmsatz\n\nwirklich löschen?\n\n"
                       "Vorhandene Feldinhalte werden dadurch gelöscht!"));
    QCOMPARE(frage.titel, QStringLiteral("Feld löschen"));
    QCOMPARE(frage.standardKnopf, 2);
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(b.loescheFeld(zeile));
    QCOMPARE(b.zeilen().size(), 3);
    QVERIFY(!m_db->tableDefs()
                 .item(QStringLiteral("Kunden"))
                 .fields()
                 .contains(QStringLiteral("Umsatz")));
    // The engine refuses a field of an index: its reason under the step's message.
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(!b.loescheFeld(zeileVon(QStringLiteral("PLZ"))));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler beim Löschen des Feldes!\n\nFehler: 3280\n")));
    // A new row that was never stored just goes, without a question.
    const int neu = b.neueZeile();
    m_dlg->vergiss();
    QVERIFY(b.loescheFeld(neu));
    QVERIFY(m_dlg->meldungen().isEmpty());
    QCOMPARE(b.zeilen().size(), 3);
}

void TestStrukturbearbeitung::indexLoeschenUndUmbenennen()
{
    Strukturbearbeitung& r = bearbeite(QStringLiteral("Rechnungen"));
    QVERIFY(!r.loescheIndex(0));
    QCOMPARE(m_dlg->texte(),
        QStringList { QStringLiteral("Ein Fremdschlüssel kann leider nicht\ngelöscht werden! "
                                     "Dazu ist die entsprechende\nRelation zu löschen!") });
    QVERIFY(!r.benenneIndexUm(0, QStringLiteral("Anders")));
    QCOMPARE(r.indizes().at(0).name, QStringLiteral("KundenRechnungen"));

    Strukturbearbeitung& k = bearbeite(QStringLiteral("Kunden"));
    m_dlg->vergiss();
    const int plz = indexVon(QStringLiteral("NachPLZ"));
    QVERIFY(!k.benenneIndexUm(plz, QString()));
    QCOMPARE(m_dlg->texte(),
        QStringList { QStringLiteral(
            "Eine Leereingabe ist nicht zulässig!\n\nBitte ergänzen Sie die Eingabe!") });
    QVERIFY(!k.benenneIndexUm(plz, QStringLiteral("primarykey")));
    QVERIFY(m_dlg->letzteMeldung().text.startsWith(
        QStringLiteral("Fehler bei der Vergabe des Indexnamens!\n\nFehler: 3367\n")));
    QVERIFY(k.benenneIndexUm(plz, QStringLiteral("Postleitzahl")));
    QVERIFY(indexVon(QStringLiteral("Postleitzahl")) >= 0);
    QCOMPARE(indexVon(QStringLiteral("NachPLZ")), -1);

    m_dlg->vergiss();
    m_dlg->erwarteAntwort(Antwort::Ja);
    QVERIFY(k.loescheIndex(indexVon(QStringLiteral("Postleitzahl"))));
    QCOMPARE(m_dlg->letzteMeldung().text,
        QStringLiteral("Möchten Sie den Index:\n\nPostleitzahl\n\nwirklich löschen?"));
    QCOMPARE(m_dlg->letzteMeldung().titel, QStringLiteral("Index löschen"));
    QCOMPARE(k.indizes().size(), 1);
}

void TestStrukturbearbeitung::tabelleUmbenennen()
{
    Strukturbearbeitung& b = bearbeite(QStringLiteral("Kunden"));
    QCOMPARE(b.benenneTabelleUm(QStringLiteral("rechnungen")), QStringLiteral("rechnungen1"));
    QCOMPARE(m_dlg->texte(),
        QStringList { QStringLiteral(
            "Der Tabellenname ist bereits vorhanden. Es wird daher\nein noch nicht vorhandener "
            "Name erzeugt und verwendet.\n\nIhre Eingabe: rechnungen\nNeuer Tabellenname: "
            "rechnungen1") });
    QVERIFY(m_db->tableDefs().contains(QStringLiteral("rechnungen1")));
    // The relation follows the table.
    m_db->relations().refresh();
    QCOMPARE(m_db->relations().item(QStringLiteral("KundenRechnungen")).table(),
        QStringLiteral("rechnungen1"));
    m_dlg->vergiss();
    QCOMPARE(b.benenneTabelleUm(QStringLiteral("  ")), QStringLiteral("rechnungen1"));
    QCOMPARE(m_dlg->texte().size(), 1);
}

QTEST_GUILESS_MAIN(TestStrukturbearbeitung)
#include "tst_strukturbearbeitung.moc"
