#include "engine/Recordset.h"
#include "engine/model/RecordCounter.h"
#include "engine/model/RecordsetModel.h"
#include "testutils/Kundendatenbank.h"
#include "testutils/TempDir.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>
#include <sqlite3.h>

using namespace kv;
using namespace kv::engine;

using namespace kv::test::Kunde;

namespace {
// One test's database with a model over the whole table, checked by the model tester.
struct Umgebung {
    // abwarten: until the worker has counted the rows of a large table.
    explicit Umgebung(
        int zeilen, const QString& quelle = QStringLiteral("Kunden"), bool abwarten = true)
        : db(test::kundenDatenbank(ws, dir.file(QStringLiteral("a.kdb")), zeilen))
    {
        modell.setRecordset(db->openRecordset(quelle));
        if (abwarten)
            zaehlungAbwarten();
    }
    bool zaehlungAbwarten()
    {
        return QTest::qWaitFor([this] { return !modell.counting(); }, 60000);
    }
    Recordset& rs() { return *modell.recordset(); }
    QString text(int zeile, int spalte, int rolle = Qt::DisplayRole)
    {
        return modell.index(zeile, spalte).data(rolle).toString();
    }
    QVariant wert(int zeile, int spalte)
    {
        return modell.index(zeile, spalte).data(Rasterrolle::Wert);
    }
    bool tippe(int zeile, int spalte, const QString& text)
    {
        return modell.setData(modell.index(zeile, spalte), text, Qt::EditRole);
    }
    QByteArray lesezeichen(int zeile)
    {
        return modell.index(zeile, 0).data(Rasterrolle::Lesezeichen).toByteArray();
    }
    int anzahl(const QString& sql) { return db->openRecordset(sql)->value(0).toInt(); }
    // Runs a statement on a connection of its own, as another program would.
    void fremd(const QString& sql)
    {
        Workspace anderer;
        anderer.openDatabase(dir.file(QStringLiteral("a.kdb")))->execute(sql);
    }

    test::TempDir dir;
    Workspace ws;
    std::unique_ptr<Database> db;
    RecordsetModel modell;
    QAbstractItemModelTester tester { &modell,
        QAbstractItemModelTester::FailureReportingMode::QtTest };
};
} // namespace

class TestRecordsetModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void leereMengeZeigtNurDieNeuzeile();
    void eineZeileInAllenDarstellungen();
    void spaltenNachNameUndHerkunft();
    void eingabenNachFeldtyp_data();
    void eingabenNachFeldtyp();
    void aendernUndSpeichern();
    void pruefregelLaesstDieZeileInBearbeitung();
    void neueZeileMitVorgabenUndLesezeichen();
    void neueZeileDurchTippenUndVerwerfen();
    void pflichtfeldInDerNeuenZeile();
    void aktuelleUndLetzteZeileLoeschen();
    void loeschenAbgelehntLaesstAllesStehen();
    void aktuelleZeileInBeidenRichtungen();
    void nurLesbareMengeOhneNeuzeile();
    void neuzeileAbschalten();
    void ersetzteMengeUndNeuLesen();
    void gesperrteDateiMeldetEinmal();
    void geaendertesSchemaMeldetEinmal();
    void seitenUeberDenZwischenspeicherHinaus();
    void ersteZeilenSofortDieUebrigenNachDemZaehlen();
    void ersetzteMengeVerwirftDieAlteZaehlung();
    void abgebrochenesZaehlenLaesstDasRasterBenutzbar();
    void anzahlVonAussen();
    void laufendeZaehlungBleibtBeimModell();
    void neueZeileWartetAufDieAnzahl();
    void zaehlerAntwortetNichtNachDemAbbruch();
    void vonAnderenGeloeschteZeileSpeichern();
    void zuGrosseAnzahlKommtBeimLesenRecht();
    void zaehlenEndetImmerMitSignal();
};

void TestRecordsetModel::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestRecordsetModel::leereMengeZeigtNurDieNeuzeile()
{
    Umgebung u(0);
    QCOMPARE(u.modell.rowCount(), 1);
    QCOMPARE(u.modell.columnCount(), 8);
    QVERIFY(u.modell.index(0, 0).data(Rasterrolle::Neuzeile).toBool());
    QCOMPARE(u.text(0, Name), QString());
    QVERIFY(u.lesezeichen(0).isEmpty());
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QCOMPARE(u.modell.currentRow(), -1);
    QCOMPARE(u.modell.zeileVon(QByteArray("12345678")), -1);

    RecordsetModel ohne;
    QAbstractItemModelTester t(&ohne, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(ohne.rowCount(), 0);
    QCOMPARE(ohne.columnCount(), 0);
    QVERIFY(!ohne.neueZeileBeginnen());
    QCOMPARE(ohne.zeileSpeichern(), std::nullopt);
    ohne.setzeSpalten({ { QStringLiteral("Name"), {} } });
    QCOMPARE(ohne.columnCount(), 1);
    QCOMPARE(ohne.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
}

void TestRecordsetModel::eineZeileInAllenDarstellungen()
{
    Umgebung u(1);
    {
        auto rs = u.db->openRecordset(QStringLiteral("Kunden"));
        rs->edit();
        rs->setValue(QStringLiteral("Umsatz"), 1234.5);
        rs->setValue(QStringLiteral("Geboren"), QDateTime(QDate(2009, 2, 1), QTime(0, 0)));
        rs->setValue(QStringLiteral("Aktiv"), true);
        rs->setValue(QStringLiteral("Notiz"), QStringLiteral("erste Zeile\r\nzweite"));
        rs->setValue(QStringLiteral("Ort"), QVariant());
        rs->update();
    }
    u.modell.refresh();
    u.modell.setzeSpalten({ { QStringLiteral("ID"), {} }, { QStringLiteral("Name"), {} },
        { QStringLiteral("Ort"), {} }, { QStringLiteral("Umsatz"), QStringLiteral("Currency") },
        { QStringLiteral("Geboren"), QStringLiteral("Short Date") },
        { QStringLiteral("Aktiv"), {} }, { QStringLiteral("Notiz"), {} },
        { QStringLiteral("Bild"), {} } });
    QCOMPARE(u.modell.rowCount(), 2);
    QCOMPARE(u.text(0, ID), QStringLiteral("1"));
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    QCOMPARE(u.text(0, Ort), QString()); // Null
    QCOMPARE(u.wert(0, Ort), QVariant());
    QCOMPARE(u.text(0, Umsatz), QStringLiteral("1.234,50 €"));
    QCOMPARE(u.text(0, Umsatz, Qt::EditRole), QStringLiteral("1234,5"));
    QCOMPARE(u.wert(0, Umsatz).toDouble(), 1234.5);
    QCOMPARE(u.text(0, Geboren), QStringLiteral("01.02.2009"));
    QCOMPARE(u.text(0, Geboren, Qt::EditRole), QStringLiteral("01.02.2009"));
    QCOMPARE(u.wert(0, Geboren).toDateTime(), QDateTime(QDate(2009, 2, 1), QTime(0, 0)));
    QCOMPARE(u.text(0, Aktiv), QStringLiteral("Wahr"));
    QCOMPARE(u.wert(0, Aktiv), QVariant(true));
    QCOMPARE(u.text(0, Notiz), QStringLiteral("erste Zeile\r\nzweite"));
    QCOMPARE(u.text(0, Bild), QString());

    QCOMPARE(
        u.modell.headerData(Umsatz, Qt::Horizontal, Rasterrolle::Feldtyp).toInt(), int(dbCurrency));
    QCOMPARE(u.modell.headerData(Umsatz, Qt::Horizontal, Rasterrolle::Quelltabelle).toString(),
        QStringLiteral("Kunden"));
    QVERIFY(u.modell.headerData(Name, Qt::Horizontal, Rasterrolle::Aktualisierbar).toBool());
    // Counters and pictures are not typed into.
    QVERIFY(!u.modell.headerData(ID, Qt::Horizontal, Rasterrolle::Aktualisierbar).toBool());
    QVERIFY(!(u.modell.flags(u.modell.index(0, ID)) & Qt::ItemIsEditable));
    QVERIFY(!(u.modell.flags(u.modell.index(0, Bild)) & Qt::ItemIsEditable));
    QVERIFY(u.modell.flags(u.modell.index(0, Name)) & Qt::ItemIsEditable);

    u.rs().moveFirst();
    QCOMPARE(u.lesezeichen(0), u.rs().bookmark());
    QCOMPARE(u.lesezeichen(1), QByteArray()); // the add-new row
    QCOMPARE(u.modell.zeileVon(u.rs().bookmark()), 0);
    const QList<Datenfeldinfo> felder = u.modell.datenfelder();
    QCOMPARE(felder.size(), 8);
    QCOMPARE(felder.at(Geboren).typ, int(dbDate));
    QCOMPARE(felder.at(Name).quellfeld, QStringLiteral("Name"));
}

void TestRecordsetModel::spaltenNachNameUndHerkunft()
{
    Umgebung u(2);
    u.modell.setzeSpalten({ { QStringLiteral("name"), QStringLiteral(">") },
        { QStringLiteral("[Kunden].[Umsatz]"), QStringLiteral("0.00") },
        { QStringLiteral("Fehlt"), {} } });
    QCOMPARE(u.modell.columnCount(), 3);
    QCOMPARE(u.text(1, 0), QStringLiteral("K2"));
    QCOMPARE(u.text(1, 1), QStringLiteral("2,00"));
    QCOMPARE(u.modell.headerData(1, Qt::Horizontal, Rasterrolle::Datenfeld).toString(),
        QStringLiteral("[Kunden].[Umsatz]"));
    // A field the set lacks: an empty column that takes no entry.
    QCOMPARE(u.text(0, 2), QString());
    QCOMPARE(u.modell.headerData(2, Qt::Horizontal, Rasterrolle::Feldtyp).toInt(), 0);
    QVERIFY(!(u.modell.flags(u.modell.index(0, 2)) & Qt::ItemIsEditable));
    QVERIFY(!u.tippe(0, 2, QStringLiteral("x")));

    // The bindings stay when the set is replaced.
    u.modell.setRecordset(u.db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE ID = 2")));
    QCOMPARE(u.modell.columnCount(), 3);
    QCOMPARE(u.text(0, 0), QStringLiteral("K2"));
    u.modell.setzeSpalten({});
    QCOMPARE(u.modell.columnCount(), 8);
}

void TestRecordsetModel::eingabenNachFeldtyp_data()
{
    QTest::addColumn<int>("spalte");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<bool>("angenommen");
    QTest::addColumn<QVariant>("gespeichert");
    QTest::newRow("waehrung") << int(Umsatz) << "1.234,56" << true << QVariant(1234.56);
    QTest::newRow("waehrung leer ist null") << int(Umsatz) << "" << true << QVariant();
    QTest::newRow("waehrung text") << int(Umsatz) << "viel" << false << QVariant(1.0);
    QTest::newRow("waehrung punkt falsch gruppiert")
        << int(Umsatz) << "12.5" << false << QVariant(1.0);
    QTest::newRow("datum") << int(Geboren) << "3.4.1990" << true
                           << QVariant(QDateTime(QDate(1990, 4, 3), QTime(0, 0)));
    QTest::newRow("datum mit zeit") << int(Geboren) << "3.4.1990 10:30" << true
                                    << QVariant(QDateTime(QDate(1990, 4, 3), QTime(10, 30)));
    QTest::newRow("kein datum") << int(Geboren) << "31.02.1990" << false << QVariant();
    QTest::newRow("ja") << int(Aktiv) << "Ja" << true << QVariant(true);
    QTest::newRow("falsch") << int(Aktiv) << "falsch" << true << QVariant(false);
    QTest::newRow("minus eins") << int(Aktiv) << "-1" << true << QVariant(true);
    QTest::newRow("vielleicht") << int(Aktiv) << "vielleicht" << false << QVariant();
    QTest::newRow("memo mit umbruch")
        << int(Notiz) << "a\r\nb" << true << QVariant(QStringLiteral("a\r\nb"));
    QTest::newRow("text") << int(Ort) << "  Köln " << true << QVariant(QStringLiteral("  Köln "));
}

void TestRecordsetModel::eingabenNachFeldtyp()
{
    QFETCH(int, spalte);
    QFETCH(QString, eingabe);
    QFETCH(bool, angenommen);
    QFETCH(QVariant, gespeichert);
    Umgebung u(1);
    QCOMPARE(u.tippe(0, spalte, eingabe), angenommen);
    QCOMPARE(u.modell.bearbeiteteZeile(), angenommen ? 0 : -1);
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    u.rs().moveFirst();
    QCOMPARE(u.rs().value(spalte), gespeichert);
}

void TestRecordsetModel::aendernUndSpeichern()
{
    Umgebung u(3);
    QSignalSpy begonnen(&u.modell, &Rastermodell::bearbeitungBegonnen);
    u.modell.setzeAktuelleZeile(1);
    QVERIFY(u.tippe(1, Name, QStringLiteral("Meier")));
    QCOMPARE(begonnen.size(), 1);
    QCOMPARE(begonnen.at(0).at(0).toInt(), 1);
    QCOMPARE(begonnen.at(0).at(1).toBool(), false);
    QVERIFY(u.tippe(1, Umsatz, QStringLiteral("7,25")));
    QCOMPARE(begonnen.size(), 1); // one edit per row
    QCOMPARE(u.modell.bearbeiteteZeile(), 1);
    QCOMPARE(u.text(1, Name), QStringLiteral("Meier"));
    // Another row cannot be changed while one is pending.
    QVERIFY(!u.tippe(2, Name, QStringLiteral("Schulz")));
    // Not written before it is saved.
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Meier'")), 0);

    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Meier' AND "
                                     "Umsatz = 7.25")),
        1);
    QCOMPARE(u.text(1, Name), QStringLiteral("Meier"));
    QCOMPARE(u.rs().absolutePosition(), 1);
    QCOMPARE(u.modell.rowCount(), 4);

    // A dropped edit shows the stored values again.
    QVERIFY(u.tippe(2, Name, QStringLiteral("Schulz")));
    u.modell.zeileVerwerfen();
    QCOMPARE(u.text(2, Name), QStringLiteral("K3"));
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Schulz'")), 0);
}

void TestRecordsetModel::pruefregelLaesstDieZeileInBearbeitung()
{
    Umgebung u(2);
    QVERIFY(u.tippe(0, Umsatz, QStringLiteral("-5")));
    const auto fehler = u.modell.zeileSpeichern();
    QVERIFY(fehler);
    QCOMPARE(fehler->nummer, qint64(err::ValidationRule));
    QCOMPARE(fehler->beschreibung, QStringLiteral("Kein negativer Umsatz!"));
    // The row stays in edit with what the user typed, the file and the set as they were.
    QCOMPARE(u.modell.bearbeiteteZeile(), 0);
    QCOMPARE(u.text(0, Umsatz, Qt::EditRole), QStringLiteral("-5"));
    QCOMPARE(u.rs().editMode(), int(dbEditNone));
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Umsatz < 0")), 0);

    QVERIFY(u.tippe(0, Umsatz, QStringLiteral("5")));
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT Umsatz FROM Kunden WHERE ID = 1")), 5);
}

void TestRecordsetModel::neueZeileMitVorgabenUndLesezeichen()
{
    Umgebung u(2);
    QSignalSpy begonnen(&u.modell, &Rastermodell::bearbeitungBegonnen);
    QVERIFY(u.modell.index(2, 0).data(Rasterrolle::Neuzeile).toBool());
    QVERIFY(u.modell.neueZeileBeginnen());
    QVERIFY(u.modell.neueZeileBeginnen()); // already in progress
    QCOMPARE(begonnen.size(), 1);
    QCOMPARE(begonnen.at(0).at(0).toInt(), 2);
    QCOMPARE(begonnen.at(0).at(1).toBool(), true);
    QCOMPARE(u.modell.rowCount(), 4);
    QCOMPARE(u.modell.bearbeiteteZeile(), 2);
    QVERIFY(!u.modell.index(2, 0).data(Rasterrolle::Neuzeile).toBool());
    QVERIFY(u.modell.index(3, 0).data(Rasterrolle::Neuzeile).toBool());
    // The defaults and the next counter value show before anything is typed.
    QCOMPARE(u.text(2, Ort), QStringLiteral("Bonn"));
    QCOMPARE(u.text(2, ID), QStringLiteral("3"));
    QVERIFY(u.lesezeichen(2).isEmpty());
    QCOMPARE(u.rs().editMode(), int(dbEditNone));

    QVERIFY(u.tippe(2, Name, QStringLiteral("Neu")));
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.modell.rowCount(), 4);
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QVERIFY(u.modell.index(3, 0).data(Rasterrolle::Neuzeile).toBool());
    const QByteArray neu = u.lesezeichen(2);
    QVERIFY(!neu.isEmpty());
    QCOMPARE(neu, u.rs().lastModified());
    QCOMPARE(u.modell.zeileVon(neu), 2);
    // The saved record is the set's current one.
    QCOMPARE(u.rs().bookmark(), neu);
    QCOMPARE(u.modell.currentRow(), 2);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Neu' AND Ort = "
                                     "'Bonn' AND ID = 3")),
        1);
}

void TestRecordsetModel::neueZeileDurchTippenUndVerwerfen()
{
    Umgebung u(1);
    // Typing into the add-new row begins the new record.
    QVERIFY(u.tippe(1, Name, QStringLiteral("Getippt")));
    QCOMPARE(u.modell.bearbeiteteZeile(), 1);
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.text(1, Name), QStringLiteral("Getippt"));
    QCOMPARE(u.text(1, Ort), QStringLiteral("Bonn"));
    u.modell.zeileVerwerfen();
    QCOMPARE(u.modell.rowCount(), 2);
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QVERIFY(u.modell.index(1, 0).data(Rasterrolle::Neuzeile).toBool());
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 1);
}

void TestRecordsetModel::pflichtfeldInDerNeuenZeile()
{
    Umgebung u(1);
    QVERIFY(u.modell.neueZeileBeginnen());
    QVERIFY(u.tippe(1, Umsatz, QStringLiteral("3")));
    const auto fehler = u.modell.zeileSpeichern();
    QVERIFY(fehler);
    QCOMPARE(fehler->nummer, qint64(err::Required));
    QCOMPARE(u.modell.bearbeiteteZeile(), 1);
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.text(1, Umsatz, Qt::EditRole), QStringLiteral("3"));
    QVERIFY(u.tippe(1, Name, QStringLiteral("Jetzt")));
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 2);
}

void TestRecordsetModel::aktuelleUndLetzteZeileLoeschen()
{
    Umgebung u(4);
    u.modell.setzeAktuelleZeile(1);
    const QByteArray zweite = u.lesezeichen(1);
    QCOMPARE(u.modell.loeschen({ zweite }), std::nullopt);
    QCOMPARE(u.modell.rowCount(), 4);
    QCOMPARE(u.text(1, Name), QStringLiteral("K3"));
    QCOMPARE(u.modell.zeileVon(zweite), -1);
    // The row that moved into its place is current, in the model and in the set.
    QCOMPARE(u.modell.currentRow(), 1);
    QCOMPARE(u.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K3"));

    u.modell.setzeAktuelleZeile(2);
    QCOMPARE(u.modell.loeschen({ u.lesezeichen(2) }), std::nullopt);
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.modell.currentRow(), 1);
    QCOMPARE(u.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K3"));
    QVERIFY(u.modell.index(2, 0).data(Rasterrolle::Neuzeile).toBool());

    // Several at once, an unknown bookmark skipped; then the set is empty.
    QCOMPARE(u.modell.loeschen({ u.lesezeichen(1), QByteArray("unbekannt"), u.lesezeichen(0) }),
        std::nullopt);
    QCOMPARE(u.modell.rowCount(), 1);
    QCOMPARE(u.modell.currentRow(), -1);
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 0);
}

void TestRecordsetModel::loeschenAbgelehntLaesstAllesStehen()
{
    Umgebung u(3);
    u.db->execute(QStringLiteral("INSERT INTO Auftraege (Nr, Kunde) VALUES (1, 2)"));
    const QList<QByteArray> alle { u.lesezeichen(0), u.lesezeichen(1), u.lesezeichen(2) };
    u.modell.setzeAktuelleZeile(2);
    const auto fehler = u.modell.loeschen(alle);
    QVERIFY(fehler);
    QCOMPARE(fehler->nummer, qint64(err::IntegrityParent));
    QVERIFY(!fehler->beschreibung.isEmpty());
    // The first went, the refused one and those after it stay.
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.text(0, Name), QStringLiteral("K2"));
    QCOMPARE(u.text(1, Name), QStringLiteral("K3"));
    QCOMPARE(u.modell.currentRow(), 1);
    QCOMPARE(u.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K3"));
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 2);
}

void TestRecordsetModel::aktuelleZeileInBeidenRichtungen()
{
    Umgebung u(5);
    QSignalSpy gefolgt(&u.modell, &Rastermodell::aktuelleZeileGeaendert);
    u.modell.setzeAktuelleZeile(3);
    QCOMPARE(u.rs().absolutePosition(), 3);
    QCOMPARE(gefolgt.size(), 0); // the grid's own move is not reported back
    // The add-new row leaves the set where it is.
    u.modell.setzeAktuelleZeile(5);
    QCOMPARE(u.rs().absolutePosition(), 3);

    u.rs().moveFirst();
    u.modell.syncPosition();
    QCOMPARE(gefolgt.size(), 1);
    QCOMPARE(gefolgt.at(0).at(0).toInt(), 0);
    u.modell.syncPosition();
    QCOMPARE(gefolgt.size(), 1);
    u.rs().moveLast();
    u.modell.syncPosition();
    QCOMPARE(gefolgt.last().at(0).toInt(), 4);
    QCOMPARE(u.modell.currentRow(), 4);
    // Painting reads through a clone and leaves the set alone.
    for (int zeile = 0; zeile < u.modell.rowCount(); ++zeile)
        u.text(zeile, Name);
    QCOMPARE(u.rs().absolutePosition(), 4);
}

void TestRecordsetModel::nurLesbareMengeOhneNeuzeile()
{
    Umgebung u(2,
        QStringLiteral("SELECT Kunden.Name, Auftraege.Nr FROM Kunden LEFT JOIN Auftraege ON "
                       "Kunden.ID = Auftraege.Kunde"));
    QVERIFY(!u.rs().updatable());
    QCOMPARE(u.modell.rowCount(), 2);
    QVERIFY(!u.modell.index(1, 0).data(Rasterrolle::Neuzeile).toBool());
    QVERIFY(!(u.modell.flags(u.modell.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!u.tippe(0, 0, QStringLiteral("x")));
    QVERIFY(!u.modell.neueZeileBeginnen());
    u.modell.setzeNeuzeile(true);
    QCOMPARE(u.modell.rowCount(), 2);
}

void TestRecordsetModel::neuzeileAbschalten()
{
    Umgebung u(2);
    QVERIFY(u.modell.neueZeileBeginnen());
    QVERIFY(u.tippe(2, Name, QStringLiteral("weg")));
    // Switching the add-new row off takes an unsaved new record along.
    u.modell.setzeNeuzeile(false);
    QCOMPARE(u.modell.rowCount(), 2);
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QVERIFY(!u.modell.neueZeileBeginnen());
    u.modell.setzeNeuzeile(true);
    QCOMPARE(u.modell.rowCount(), 3);
    QVERIFY(u.modell.index(2, 0).data(Rasterrolle::Neuzeile).toBool());
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden")), 2);
}

void TestRecordsetModel::ersetzteMengeUndNeuLesen()
{
    Umgebung u(3);
    const quint64 erste = u.modell.generation();
    QVERIFY(u.tippe(0, Name, QStringLiteral("verworfen")));
    u.modell.setRecordset(u.db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE ID > 1")));
    QVERIFY(u.modell.generation() > erste);
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.text(0, Name), QStringLiteral("K2"));

    // Records added by another program appear after a refresh; the set keeps its record.
    u.modell.setzeAktuelleZeile(1);
    u.fremd(QStringLiteral("INSERT INTO Kunden (Name) VALUES ('Fremd')"));
    const quint64 vorher = u.modell.generation();
    u.modell.refresh();
    QVERIFY(u.modell.generation() > vorher);
    QCOMPARE(u.modell.rowCount(), 4);
    QCOMPARE(u.text(2, Name), QStringLiteral("Fremd"));
    QCOMPARE(u.modell.currentRow(), 1);
    QCOMPARE(u.rs().value(QStringLiteral("Name")).toString(), QStringLiteral("K3"));

    u.modell.setRecordset(nullptr);
    QCOMPARE(u.modell.rowCount(), 0);
    QCOMPARE(u.modell.columnCount(), 0); // every field of no set
}

void TestRecordsetModel::gesperrteDateiMeldetEinmal()
{
    Umgebung u(1200);
    QSignalSpy fehler(&u.modell, &Rastermodell::lesefehler);
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    // Another program holds the file locked while the grid reads a page it has not read yet.
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(u.dir.file(QStringLiteral("a.kdb")).toUtf8().constData(), &h), SQLITE_OK);
    QCOMPARE(sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int zeile = 1100; zeile < 1110; ++zeile) {
        for (int spalte = 0; spalte < u.modell.columnCount(); ++spalte)
            QCOMPARE(u.text(zeile, spalte), QString());
    }
    QCOMPARE(fehler.size(), 1);
    QCOMPARE(fehler.at(0).at(0).toLongLong(), qint64(err::FileLocked));
    QVERIFY(!fehler.at(0).at(1).toString().isEmpty());
    // Rows read before still show.
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    QCOMPARE(sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(h);
    u.modell.refresh();
    QVERIFY(u.zaehlungAbwarten());
    QCOMPARE(u.text(1100, Name), QStringLiteral("K1101"));
    QCOMPARE(fehler.size(), 1);
}

void TestRecordsetModel::geaendertesSchemaMeldetEinmal()
{
    Umgebung u(1200);
    QSignalSpy fehler(&u.modell, &Rastermodell::lesefehler);
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(u.dir.file(QStringLiteral("a.kdb")).toUtf8().constData(), &h), SQLITE_OK);
    QCOMPARE(sqlite3_exec(h, "DROP TABLE Auftraege; DROP TABLE Kunden", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(h);
    for (int zeile = 1100; zeile < 1110; ++zeile)
        QCOMPARE(u.text(zeile, Name), QString());
    QCOMPARE(fehler.size(), 1);
    // A row that cannot be read cannot be edited either.
    QVERIFY(!u.tippe(1100, Name, QStringLiteral("x")));
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    // A refresh that fails reports once more, and the grid stays usable.
    u.modell.refresh();
    QCOMPARE(u.text(0, Name), QString());
    QCOMPARE(fehler.size(), 2);
}

void TestRecordsetModel::seitenUeberDenZwischenspeicherHinaus()
{
    // More rows than the row cache keeps: reading far apart and back gives the right rows.
    Umgebung u(5000);
    for (int zeile : { 4999, 0, 2500, 511, 512, 4096, 1 })
        QCOMPARE(u.text(zeile, Name), QStringLiteral("K%1").arg(zeile + 1));
    QCOMPARE(u.modell.rowCount(), 5001);
    QVERIFY(u.tippe(4999, Name, QStringLiteral("Letzter")));
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.text(4999, Name), QStringLiteral("Letzter"));
    QCOMPARE(u.modell.loeschen({ u.lesezeichen(0) }), std::nullopt);
    QCOMPARE(u.text(4998, Name), QStringLiteral("Letzter"));
    QCOMPARE(u.text(0, Name), QStringLiteral("K2"));
}

namespace {
// Rows of a whole table that a set knows right after opening: the rest is counted.
constexpr int ErsteZeilen = 512;
} // namespace

void TestRecordsetModel::ersteZeilenSofortDieUebrigenNachDemZaehlen()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    QSignalSpy eingefuegt(&u.modell, &QAbstractItemModel::rowsInserted);
    QVERIFY(u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), ErsteZeilen + 1);
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    QVERIFY(u.modell.index(ErsteZeilen, 0).data(Rasterrolle::Neuzeile).toBool());
    QVERIFY(u.zaehlungAbwarten());
    QVERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), 3001);
    QCOMPARE(eingefuegt.size(), 1);
    QCOMPARE(eingefuegt.at(0).at(1).toInt(), ErsteZeilen);
    QCOMPARE(eingefuegt.at(0).at(2).toInt(), 2999);
    QCOMPARE(u.text(2999, Name), QStringLiteral("K3000"));
    QVERIFY(u.modell.index(3000, 0).data(Rasterrolle::Neuzeile).toBool());
    QVERIFY(!u.modell.canFetchMore({}));

    // A set whose keys are all read at opening needs no count.
    u.modell.setRecordset(
        u.db->openRecordset(QStringLiteral("SELECT * FROM Kunden WHERE ID > 10")));
    QVERIFY(!u.modell.zaehltNoch());
    QVERIFY(!u.modell.counting());
    QCOMPARE(u.modell.rowCount(), 2991);
}

void TestRecordsetModel::ersetzteMengeVerwirftDieAlteZaehlung()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    // A second, smaller table on its own file; its set replaces the first while the count of
    // the first may still run or its answer wait in the queue.
    Workspace ws2;
    auto klein = test::kundenDatenbank(ws2, u.dir.file(QStringLiteral("b.kdb")), 900);
    const quint64 erste = u.modell.generation();
    u.modell.setRecordset(klein->openRecordset(QStringLiteral("Kunden")));
    QVERIFY(u.modell.generation() > erste);
    QCOMPARE(u.modell.rowCount(), ErsteZeilen + 1);
    QVERIFY(u.zaehlungAbwarten());
    QCoreApplication::processEvents();
    QCOMPARE(u.modell.rowCount(), 901);
    QCOMPARE(u.text(899, Name), QStringLiteral("K900"));

    // A refresh starts a new count too; the old one's answer is dropped as well.
    u.modell.setRecordset(u.db->openRecordset(QStringLiteral("Kunden")));
    u.modell.refresh();
    QVERIFY(u.zaehlungAbwarten());
    QCoreApplication::processEvents();
    QCOMPARE(u.modell.rowCount(), 3001);
}

void TestRecordsetModel::anzahlVonAussen()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    const quint64 marke = u.modell.countElsewhere();
    QVERIFY(!u.modell.counting());
    QCoreApplication::processEvents();
    QVERIFY(u.modell.zaehltNoch());
    // An answer for an earlier set is dropped; the right one makes the number final.
    u.modell.countFrom(marke - 1, 10);
    QVERIFY(u.modell.zaehltNoch());
    u.modell.countFrom(marke, 3000);
    QVERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), 3001);
    QCOMPARE(u.text(2999, Name), QStringLiteral("K3000"));

    // When the count made elsewhere fails, the model counts for itself.
    u.modell.refresh();
    const quint64 zweite = u.modell.countElsewhere();
    u.modell.countFrom(zweite, -1);
    QVERIFY(u.modell.counting());
    QVERIFY(u.zaehlungAbwarten());
    QTRY_VERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), 3001);
}

void TestRecordsetModel::laufendeZaehlungBleibtBeimModell()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    // The first rows asked for start the worker with the next pass of the event loop.
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    QCoreApplication::processEvents();
    QVERIFY(u.modell.counting());
    // No events since: the worker's answer, if already there, waits in the queue.
    QCOMPARE(u.modell.countElsewhere(), 0u);
    QVERIFY(u.modell.counting());
    QVERIFY(u.zaehlungAbwarten());
    QTRY_VERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), 3001);
}

void TestRecordsetModel::abgebrochenesZaehlenLaesstDasRasterBenutzbar()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    u.modell.zaehlenAbbrechen();
    QVERIFY(!u.modell.counting());
    QCoreApplication::processEvents();
    // The number stays open with the rows known so far.
    QVERIFY(u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), ErsteZeilen + 1);
    QCOMPARE(u.text(511, Name), QStringLiteral("K512"));
    // Scrolling to the end reads on, and the end of the table makes the number final.
    QVERIFY(u.modell.canFetchMore({}));
    u.modell.fetchMore({});
    QCOMPARE(u.modell.rowCount(), 3001);
    QVERIFY(!u.modell.zaehltNoch());
    QVERIFY(!u.modell.canFetchMore({}));
    QCOMPARE(u.text(2999, Name), QStringLiteral("K3000"));
    QVERIFY(u.tippe(2999, Name, QStringLiteral("Geändert")));
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.text(2999, Name), QStringLiteral("Geändert"));

    // Ctrl+End after a cancelled count counts at once.
    u.modell.refresh();
    u.modell.zaehlenAbbrechen();
    QCOMPARE(u.modell.rowCount(), ErsteZeilen + 1);
    u.modell.anzahlErmitteln();
    QVERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.rowCount(), 3001);
}

void TestRecordsetModel::zaehlenEndetImmerMitSignal()
{
    // Exactly the rows of the first step: the set cannot know that no more follow, and the
    // count that proves it adds no row.
    {
        Umgebung u(ErsteZeilen, QStringLiteral("Kunden"), false);
        QSignalSpy beendet(&u.modell, &Rastermodell::zaehlenBeendet);
        QSignalSpy eingefuegt(&u.modell, &QAbstractItemModel::rowsInserted);
        QVERIFY(u.modell.zaehltNoch());
        QVERIFY(beendet.wait(60000));
        QVERIFY(!u.modell.zaehltNoch());
        QCOMPARE(eingefuegt.size(), 0);
        QCOMPARE(u.modell.rowCount(), ErsteZeilen + 1);
    }
    // With new rows: the number is final when the signal comes, not only after it.
    {
        Umgebung u(3000, QStringLiteral("Kunden"), false);
        QList<bool> nochOffen;
        connect(&u.modell, &Rastermodell::zaehlenBeendet, this,
            [&] { nochOffen.append(u.modell.zaehltNoch()); });
        QTRY_COMPARE_WITH_TIMEOUT(nochOffen.size(), 1, 60000);
        QCOMPARE(nochOffen, QList<bool> { false });
        QCOMPARE(u.modell.rowCount(), 3001);
    }
    // A count that cannot run (another program holds the file) ends too; the number stays open.
    {
        Umgebung u(3000, QStringLiteral("Kunden"), false);
        QSignalSpy beendet(&u.modell, &Rastermodell::zaehlenBeendet);
        sqlite3* h = nullptr;
        QCOMPARE(
            sqlite3_open(u.dir.file(QStringLiteral("a.kdb")).toUtf8().constData(), &h), SQLITE_OK);
        QCOMPARE(sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY(beendet.wait(60000));
        QVERIFY(u.modell.zaehltNoch());
        QVERIFY(!u.modell.counting());
        QCOMPARE(sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(h);
        // Ctrl+End counts here then.
        u.modell.anzahlErmitteln();
        QVERIFY(!u.modell.zaehltNoch());
        QCOMPARE(u.modell.rowCount(), 3001);
        QCOMPARE(beendet.size(), 2);
    }
}

void TestRecordsetModel::neueZeileWartetAufDieAnzahl()
{
    Umgebung u(3000, QStringLiteral("Kunden"), false);
    QSignalSpy begonnen(&u.modell, &Rastermodell::bearbeitungBegonnen);
    // Typing into the add-new row below the known rows: the new record goes after all 3000.
    QVERIFY(u.tippe(ErsteZeilen, Name, QStringLiteral("Neu")));
    QVERIFY(!u.modell.zaehltNoch());
    QCOMPARE(u.modell.bearbeiteteZeile(), 3000);
    QCOMPARE(begonnen.size(), 1);
    QCOMPARE(begonnen.at(0).at(0).toInt(), 3000);
    QCOMPARE(u.modell.zeileSpeichern(), std::nullopt);
    QCOMPARE(u.modell.rowCount(), 3002);
    QCOMPARE(u.text(3000, Name), QStringLiteral("Neu"));
    QVERIFY(!u.lesezeichen(3000).isEmpty());
    QVERIFY(u.zaehlungAbwarten());
    QCoreApplication::processEvents();
    QCOMPARE(u.modell.rowCount(), 3002);
}

void TestRecordsetModel::zaehlerAntwortetNichtNachDemAbbruch()
{
    test::TempDir dir;
    Workspace ws;
    const QString pfad = dir.file(QStringLiteral("z.kdb"));
    test::kundenDatenbank(ws, pfad, 20)->close();
    RecordCounter zaehler;
    QSignalSpy gezaehlt(&zaehler, &RecordCounter::counted);
    const QString quelle = QStringLiteral("SELECT * FROM [Kunden]");
    zaehler.start(pfad, {}, quelle, 7);
    QVERIFY(gezaehlt.wait(60000));
    QCOMPARE(gezaehlt.at(0).at(0).toULongLong(), 7u);
    QCOMPARE(gezaehlt.at(0).at(1).toLongLong(), 20);
    QVERIFY(!zaehler.running());

    // Cancelled: its answer never comes, also when it was already on its way.
    zaehler.start(pfad, {}, quelle, 8);
    zaehler.cancel();
    QCoreApplication::processEvents();
    QCOMPARE(gezaehlt.size(), 1);

    // A file another program holds locked cannot be counted; the answer says so.
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open(pfad.toUtf8().constData(), &h), SQLITE_OK);
    QCOMPARE(sqlite3_exec(h, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    zaehler.start(pfad, {}, quelle, 9);
    QVERIFY(gezaehlt.wait(60000));
    QCOMPARE(gezaehlt.at(1).at(0).toULongLong(), 9u);
    QCOMPARE(gezaehlt.at(1).at(1).toLongLong(), -1);
    sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(h);
}

void TestRecordsetModel::vonAnderenGeloeschteZeileSpeichern()
{
    Umgebung u(3);
    QVERIFY(u.tippe(1, Name, QStringLiteral("Neu")));
    u.fremd(QStringLiteral("DELETE FROM Kunden WHERE ID = 2"));
    const auto fehler = u.modell.zeileSpeichern();
    QVERIFY(fehler);
    QCOMPARE(fehler->nummer, qint64(err::RecordDeleted));
    QVERIFY(!fehler->beschreibung.isEmpty());
    // The row stays in edit with the user's text; dropping it leaves the others as they were.
    QCOMPARE(u.modell.bearbeiteteZeile(), 1);
    QCOMPARE(u.text(1, Name), QStringLiteral("Neu"));
    u.modell.zeileVerwerfen();
    QCOMPARE(u.modell.bearbeiteteZeile(), -1);
    QCOMPARE(u.text(2, Name), QStringLiteral("K3"));
    u.modell.refresh();
    QCOMPARE(u.modell.rowCount(), 3);
    QCOMPARE(u.text(1, Name), QStringLiteral("K3"));
    QCOMPARE(u.anzahl(QStringLiteral("SELECT count(*) FROM Kunden WHERE Name = 'Neu'")), 0);
}

// Another program deletes records after the worker counted them: the last row is the true last
// record, reading past the true end takes the surplus rows away, and no error is reported.
void TestRecordsetModel::zuGrosseAnzahlKommtBeimLesenRecht()
{
    Umgebung u(3000);
    QCOMPARE(u.modell.rowCount(), 3001);
    QSignalSpy fehler(&u.modell, &Rastermodell::lesefehler);
    u.fremd(QStringLiteral("DELETE FROM Kunden WHERE ID BETWEEN 1001 AND 1010"));
    QCOMPARE(u.text(2999, Name), QStringLiteral("K3000"));
    for (int zeile = 2998; zeile >= 0; zeile -= 7)
        u.text(zeile, Name); // scrolling up reads the keys between
    QCOMPARE(u.text(0, Name), QStringLiteral("K1"));
    u.text(2995, Name); // past the true end now
    QTRY_COMPARE(u.modell.rowCount(), 2991);
    QCOMPARE(u.text(2989, Name), QStringLiteral("K3000"));
    QCOMPARE(u.text(1000, Name), QStringLiteral("K1011"));
    QCOMPARE(fehler.size(), 0);

    // And the other way: records added after the count appear when the end is read.
    Umgebung v(1000);
    v.fremd(QStringLiteral("INSERT INTO Kunden (Name) SELECT 'Fremd' & ID FROM Kunden WHERE "
                           "ID <= 20"));
    QCOMPARE(v.text(999, Name), QStringLiteral("K1000"));
    QTRY_COMPARE(v.modell.rowCount(), 1021);
    QCOMPARE(v.text(1019, Name), QStringLiteral("Fremd20"));
    QCOMPARE(v.text(1000, Name), QStringLiteral("Fremd1"));
}

QTEST_GUILESS_MAIN(TestRecordsetModel)
#include "tst_recordsetmodel.moc"
