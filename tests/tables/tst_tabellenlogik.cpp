#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tables/Ansichtsspalten.h"
#include "tables/Fusssummen.h"
#include "tables/Kopfsortierung.h"
#include "tables/Suchbedingung.h"
#include "tables/Suchzeile.h"
#include "tables/Tabellenwerkzeuge.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;
using namespace kv::engine;

// The rules of the table-view window that need no window: search-row conditions, condition
// insertion, head-click sorting, tool states, default columns and footer sums.
class TestTabellenlogik : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void suchzeilenteil_data();
    void suchzeilenteil();
    void suchzeileVerbindetSpalten();
    void suchtextWoertlich_data();
    void suchtextWoertlich();
    void datumFindetGanzenTag();
    void bedingungEinsetzen_data();
    void bedingungEinsetzen();
    void gesamtbedingung();
    void kopfsortierung();
    void werkzeugzustaende_data();
    void werkzeugzustaende();
    void spaltenOhneSpaltenzeilen();
    void summen();
    void summenSqlBehaeltTop();

private:
    std::unique_ptr<Database> kundendatenbank();
    QStringList namen(Database& db, const QString& sql);

    test::TempDir m_dir;
    Workspace m_ws;
    int m_nummer = 0;
};

std::unique_ptr<Database> TestTabellenlogik::kundendatenbank()
{
    auto db = m_ws.createDatabase(m_dir.file(QStringLiteral("k%1.mdb").arg(++m_nummer)));
    db->execute(QStringLiteral("CREATE TABLE Kunden (ID LONG, Name TEXT(50), Geburt DATETIME, "
                               "Umsatz CURRENCY, Aktiv BIT, Stufe BYTE, Notiz MEMO)"));
    const QStringList namen { QStringLiteral("Meier"), QStringLiteral("O'Neil"),
        QStringLiteral("A*B"), QStringLiteral("AxB"), QStringLiteral("Was?"),
        QStringLiteral("Wasn"), QStringLiteral("Nr#1"), QStringLiteral("Nr11"),
        QStringLiteral("[Klammer]"), QStringLiteral("Klammer]"), QStringLiteral("Müller"),
        QStringLiteral("100%") };
    for (int i = 0; i < namen.size(); ++i) {
        db->execute(
            QStringLiteral("INSERT INTO Kunden (ID, Name, Geburt, Umsatz, Aktiv, Stufe) "
                           "VALUES (%1, '%2', #2009-02-0%3 1%3:30:00#, %4, True, %1)")
                .arg(i + 1)
                .arg(QString(namen.at(i)).replace(QStringLiteral("'"), QStringLiteral("''")))
                .arg(i % 3 + 1)
                .arg(i == 3 ? QStringLiteral("Null") : QString::number(12.5 * (i + 1))));
    }
    return db;
}

QStringList TestTabellenlogik::namen(Database& db, const QString& sql)
{
    QStringList ergebnis;
    auto rs = db.openRecordset(sql, dbOpenSnapshot);
    while (!rs->eof()) {
        ergebnis.append(rs->value(QStringLiteral("Name")).toString());
        rs->moveNext();
    }
    return ergebnis;
}

void TestTabellenlogik::suchzeilenteil_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bedingung");

    QTest::newRow("Text als Anfang") << int(dbText) << "Mei"
                                     << "[Kunden].[Name] LIKE 'Mei*'";
    QTest::newRow("Memo") << int(dbMemo) << "x"
                          << "[Kunden].[Name] LIKE 'x*'";
    QTest::newRow("Long") << int(dbLong) << "12"
                          << "[Kunden].[Name] LIKE '12*'";
    QTest::newRow("Währung mit Komma") << int(dbCurrency) << "12,5"
                                       << "[Kunden].[Name] LIKE '12.5*'";
    QTest::newRow("Double") << int(dbDouble) << "1"
                            << "[Kunden].[Name] LIKE '1*'";
    QTest::newRow("Single") << int(dbSingle) << "1"
                            << "[Kunden].[Name] LIKE '1*'";
    QTest::newRow("Integer") << int(dbInteger) << "1"
                             << "[Kunden].[Name] LIKE '1*'";
    QTest::newRow("gültiges Datum") << int(dbDate) << "1.2.2009"
                                    << "([Kunden].[Name] >= #02-01-2009# AND [Kunden].[Name] < "
                                       "#02-02-2009#)";
    QTest::newRow("kein Datum") << int(dbDate) << "gestern"
                                << "";
    QTest::newRow("Boolean") << int(dbBoolean) << "1"
                             << "";
    QTest::newRow("Byte") << int(dbByte) << "1"
                          << "";
    QTest::newRow("Long Binary") << int(dbLongBinary) << "1"
                                 << "";
    QTest::newRow("leerer Text") << int(dbText) << ""
                                 << "";
    QTest::newRow("Zeichen wörtlich") << int(dbText) << "a'*?#[b]"
                                      << "[Kunden].[Name] LIKE 'a''[*][?][#][[]b]*'";
}

void TestTabellenlogik::suchzeilenteil()
{
    QFETCH(int, typ);
    QFETCH(QString, text);
    QFETCH(QString, bedingung);
    const Suchzeilenspalte s { QStringLiteral("Kunde"), QStringLiteral("Kunden"),
        QStringLiteral("Name"), typ, text };
    QCOMPARE(Suchzeilenteil(s), bedingung);
}

void TestTabellenlogik::suchzeileVerbindetSpalten()
{
    const QList<Suchzeilenspalte> spalten {
        { QStringLiteral("Name"), QStringLiteral("Kunden"), QStringLiteral("Name"), dbText,
            QStringLiteral("M") },
        { QStringLiteral("Aktiv"), QStringLiteral("Kunden"), QStringLiteral("Aktiv"), dbBoolean,
            QStringLiteral("Ja") },
        { QStringLiteral("Betrag"), QString(), QString(), dbDouble, QStringLiteral("3") },
        { QStringLiteral("Vor name"), QStringLiteral("Kunden 2"), QString(), dbText,
            QStringLiteral("A") },
    };
    QCOMPARE(Suchzeilenbedingung(spalten),
        QStringLiteral("[Kunden].[Name] LIKE 'M*' AND [Betrag] LIKE '3*' AND [Kunden 2].[Vor "
                       "name] LIKE 'A*'"));
    QCOMPARE(Suchzeilenbedingung({}), QString());
}

void TestTabellenlogik::suchtextWoertlich_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("treffer");

    QTest::newRow("Hochkomma") << "O'" << QStringList { "O'Neil" };
    QTest::newRow("Stern") << "A*" << QStringList { "A*B" };
    QTest::newRow("Fragezeichen") << "Was?" << QStringList { "Was?" };
    QTest::newRow("Raute") << "Nr#" << QStringList { "Nr#1" };
    QTest::newRow("offene Klammer") << "[K" << QStringList { "[Klammer]" };
    QTest::newRow("schließende Klammer") << "Klammer]" << QStringList { "Klammer]" };
    QTest::newRow("Prozent") << "100%" << QStringList { "100%" };
    QTest::newRow("Umlaut ohne Groß/klein") << "mü" << QStringList { "Müller" };
    QTest::newRow("Ausbruchsversuch") << "x' OR 'a'='a" << QStringList {};
}

void TestTabellenlogik::suchtextWoertlich()
{
    QFETCH(QString, text);
    QFETCH(QStringList, treffer);
    auto db = kundendatenbank();
    const QString bedingung = Suchzeilenbedingung({ { QStringLiteral("Name"),
        QStringLiteral("Kunden"), QStringLiteral("Name"), dbText, text } });
    const QString sql
        = BedingungEinsetzen(QStringLiteral("SELECT * From [Kunden] ORDER BY [ID]"), bedingung);
    QCOMPARE(namen(*db, sql), treffer);
}

void TestTabellenlogik::datumFindetGanzenTag()
{
    auto db = kundendatenbank();
    auto rs = db->openRecordset(QStringLiteral("SELECT * FROM Kunden"), dbOpenDynaset);
    const Field& geburt = rs->field(QStringLiteral("Geburt"));
    const QString bedingung = Suchzeilenbedingung({ { QStringLiteral("Geburt"),
        geburt.sourceTable(), geburt.sourceField(), dbDate, QStringLiteral("2.2.2009") } });
    // Every second of the third customers has a time of day: the whole day is found.
    QCOMPARE(namen(*db,
                 BedingungEinsetzen(QStringLiteral("SELECT * FROM Kunden ORDER BY ID"), bedingung)),
        (QStringList { "O'Neil", "Was?", "Nr11", "Müller" }));
}

void TestTabellenlogik::bedingungEinsetzen_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("bedingung");
    QTest::addColumn<QString>("ergebnis");

    QTest::newRow("ohne WHERE") << "SELECT * From [Kunden]"
                                << "c"
                                << "SELECT * From [Kunden] WHERE c";
    QTest::newRow("ORDER BY bleibt am Ende") << "SELECT * FROM T ORDER BY Z"
                                             << "c"
                                             << "SELECT * FROM T WHERE c ORDER BY Z";
    QTest::newRow("eigene Bedingung bleibt") << "SELECT * FROM T WHERE Y=2 ORDER BY Z"
                                             << "c"
                                             << "SELECT * FROM T WHERE (Y=2) AND (c) ORDER BY Z";
    QTest::newRow("Semikolon") << "SELECT * FROM T;"
                               << "c"
                               << "SELECT * FROM T WHERE c";
    QTest::newRow("Semikolon nach ORDER BY") << "SELECT * FROM T ORDER BY Z;"
                                             << "c"
                                             << "SELECT * FROM T WHERE c ORDER BY Z";
    QTest::newRow("vor GROUP BY")
        << "SELECT Ort, Count(*) FROM T GROUP BY Ort ORDER BY Ort"
        << "c"
        << "SELECT Ort, Count(*) FROM T WHERE c GROUP BY Ort ORDER BY Ort";
    QTest::newRow("Wörter in Literalen zählen nicht")
        << "SELECT * FROM T WHERE Name = 'x ORDER BY y WHERE' ORDER BY [Order By]"
        << "c"
        << "SELECT * FROM T WHERE (Name = 'x ORDER BY y WHERE') AND (c) ORDER BY [Order By]";
    QTest::newRow("Unterabfrage") << "SELECT * FROM T WHERE ID IN (SELECT ID FROM U WHERE a=1)"
                                  << "c"
                                  << "SELECT * FROM T WHERE (ID IN (SELECT ID FROM U WHERE a=1)) "
                                     "AND (c)";
    QTest::newRow("leere Bedingung") << "SELECT * FROM T ORDER BY Z"
                                     << " "
                                     << "SELECT * FROM T ORDER BY Z";
}

void TestTabellenlogik::bedingungEinsetzen()
{
    QFETCH(QString, sql);
    QFETCH(QString, bedingung);
    QFETCH(QString, ergebnis);
    QCOMPARE(BedingungEinsetzen(sql, bedingung), ergebnis);
}

void TestTabellenlogik::gesamtbedingung()
{
    QCOMPARE(Gesamtbedingung(QStringLiteral("a = 1 OR b = 2"), QStringLiteral("x LIKE 'M*'")),
        QStringLiteral("(a = 1 OR b = 2) And x LIKE 'M*'"));
    QCOMPARE(Gesamtbedingung(QStringLiteral("a"), QString()), QStringLiteral("a"));
    QCOMPARE(Gesamtbedingung(QString(), QStringLiteral("b")), QStringLiteral("b"));
    QCOMPARE(Gesamtbedingung(QString(), QString()), QString());

    F3Suchzustand z;
    QVERIFY(!z.inKraft());
    z.SuchArt = 3;
    QVERIFY(!z.inKraft());
    z.SQL = QStringLiteral("X=1");
    QVERIFY(z.inKraft());
}

void TestTabellenlogik::kopfsortierung()
{
    Kopfsortierung s;
    QVERIFY(!s.aktiv());
    QCOMPARE(s.anwenden(QStringLiteral("SELECT * FROM T")), QStringLiteral("SELECT * FROM T"));
    QCOMPARE(s.klick(QStringLiteral("Name"), dbText), QStringLiteral("ASC"));
    QCOMPARE(s.anwenden(QStringLiteral("SELECT * FROM T ORDER BY ID")),
        QStringLiteral("SELECT * FROM T Order By [Name] ASC"));
    // The same head again turns the order round, and back.
    QCOMPARE(s.klick(QStringLiteral("Name"), dbText), QStringLiteral("DESC"));
    QCOMPARE(s.klick(QStringLiteral("name"), dbText), QStringLiteral("ASC"));
    QCOMPARE(s.klick(QStringLiteral("Name"), dbText), QStringLiteral("DESC"));
    // Another column keeps the direction in force.
    QCOMPARE(s.klick(QStringLiteral("Ort"), dbText), QStringLiteral("DESC"));
    QCOMPARE(s.feld(), QStringLiteral("Ort"));
    // A memo head sorts nothing and leaves the state.
    QCOMPARE(s.klick(QStringLiteral("Notiz"), dbMemo), std::nullopt);
    QCOMPARE(s.feld(), QStringLiteral("Ort"));
    QCOMPARE(s.richtung(), QStringLiteral("DESC"));
    QCOMPARE(s.anwenden(QStringLiteral("SELECT * FROM T WHERE c")),
        QStringLiteral("SELECT * FROM T WHERE c Order By [Ort] DESC"));
}

void TestTabellenlogik::werkzeugzustaende_data()
{
    QTest::addColumn<bool>("daten");
    QTest::addColumn<bool>("gesperrt");
    QTest::addColumn<bool>("hinzufuegen");
    QTest::addColumn<QString>("aktiv");
    QTest::addColumn<QString>("neu");
    QTest::addColumn<QString>("schliessen");

    const QString alle = QStringLiteral("Zurück Vor Neukopie Löschen Suchen Kopie DruckenReport "
                                        "DruckenTabelle Neu Schließen");
    QTest::newRow("Datensätze") << true << false << false << alle << "Neu"
                                << "Schließen";
    QTest::newRow("leer") << false << false << false << "Neu Schließen"
                          << "Neu"
                          << "Schließen";
    QTest::newRow("gesperrt") << true << true << false
                              << "Zurück Vor Suchen Kopie DruckenReport DruckenTabelle Schließen"
                              << "Neu"
                              << "Schließen";
    QTest::newRow("leer und gesperrt") << false << true << false << "Schließen"
                                       << "Neu"
                                       << "Schließen";
    QTest::newRow("beim Hinzufügen") << true << false << true << "Neu Schließen"
                                     << "Speichern"
                                     << "Abbruch";
}

void TestTabellenlogik::werkzeugzustaende()
{
    QFETCH(bool, daten);
    QFETCH(bool, gesperrt);
    QFETCH(bool, hinzufuegen);
    QFETCH(QString, aktiv);
    QFETCH(QString, neu);
    QFETCH(QString, schliessen);
    const QList<Werkzeugzustand> z = Tabellenwerkzeugzustaende({ daten, gesperrt, hinzufuegen });
    QStringList aktive;
    for (const Werkzeugzustand& w : z) {
        if (w.aktiv)
            aktive.append(w.name);
        if (w.name == QLatin1String("Neu")) {
            QCOMPARE(w.text, neu);
            QCOMPARE(w.tooltip,
                hinzufuegen ? QStringLiteral("Speichert den neuen Datensatz")
                            : QStringLiteral("Neuen Datensatz erzeugen"));
        }
        if (w.name == QLatin1String("Schließen")) {
            QCOMPARE(w.text, schliessen);
            QCOMPARE(w.tooltip,
                hinzufuegen ? QStringLiteral("Eingabe abbrechen ohne Speicherung")
                            : QStringLiteral("Arbeitsfenster schließen"));
        }
    }
    QCOMPARE(aktive.join(u' '), aktiv);
}

void TestTabellenlogik::spaltenOhneSpaltenzeilen()
{
    Tabellendefinition d;
    const QList<Quellfeld> felder { { QStringLiteral("Datum"), dbDate },
        { QStringLiteral("Preis"), dbCurrency }, { QStringLiteral("Menge"), dbByte },
        { QStringLiteral("Anzahl"), dbLong }, { QStringLiteral("Name"), dbText },
        { QStringLiteral("Notiz"), dbMemo }, { QStringLiteral("Aktiv"), dbBoolean },
        { QStringLiteral("Bild"), dbLongBinary }, { QStringLiteral("Kennung"), dbGUID } };
    const QList<Tabellenspalte> s = Ansichtsspalten(d, felder);
    QCOMPARE(s.size(), felder.size());
    const auto pruefe = [&](int i, const char* format, Spaltenausrichtung a, bool gesperrt) {
        QCOMPARE(s.at(i).datenfeld, felder.at(i).name);
        QCOMPARE(s.at(i).titel, QString());
        QCOMPARE(s.at(i).formatierung, QString::fromUtf8(format));
        QCOMPARE(s.at(i).ausrichtung, a);
        QCOMPARE(s.at(i).editiersperre, gesperrt);
        QVERIFY(!s.at(i).summe);
    };
    pruefe(0, "Short Date", Spaltenausrichtung::Links, false);
    pruefe(1, "Currency", Spaltenausrichtung::Rechts, false);
    pruefe(2, "General Number", Spaltenausrichtung::Rechts, false);
    pruefe(3, "General Number", Spaltenausrichtung::Rechts, false);
    pruefe(4, "", Spaltenausrichtung::Links, false);
    pruefe(5, "", Spaltenausrichtung::Links, false);
    pruefe(6, "", Spaltenausrichtung::Links, false);
    pruefe(7, "", Spaltenausrichtung::Links, true);
    pruefe(8, "", Spaltenausrichtung::Links, true);

    // Column records replace the fields whatever the source holds.
    d.spalten = { { QString(), QStringLiteral("Gibtsnicht"), 0, Spaltenausrichtung::Zentriert, true,
        QStringLiteral("0.0"), true } };
    QCOMPARE(Ansichtsspalten(d, felder), d.spalten);

    QCOMPARE(Spaltenstatustext(true, QStringLiteral("Kunde"), QStringLiteral("Name")),
        QStringLiteral("Anzeige Spalte: Kunde Datenfeld: Name"));
    QCOMPARE(Spaltenstatustext(false, QStringLiteral("Ort"), QStringLiteral("Ort")),
        QStringLiteral("Eingabe Spalte: Ort Datenfeld: Ort"));
}

void TestTabellenlogik::summen()
{
    auto db = kundendatenbank();
    const QList<Tabellenspalte> spalten {
        { QStringLiteral("Kunde"), QStringLiteral("Name"), 0, Spaltenausrichtung::Links, false,
            QString(), false },
        { QString(), QStringLiteral("Umsatz"), 0, Spaltenausrichtung::Rechts, false,
            QStringLiteral("Currency"), true },
        { QString(), QStringLiteral("ID"), 0, Spaltenausrichtung::Zentriert, false, QString(),
            true },
    };
    const QList<Summenspalte> summen = Summenspalten(spalten);
    QCOMPARE(summen.size(), 2);
    QCOMPARE(summen.at(0).spalte, 1);
    QCOMPARE(summen.at(1).spalte, 2);
    QCOMPARE(summen.at(1).ausrichtung, Spaltenausrichtung::Zentriert);
    QCOMPARE(SummenSql(QStringLiteral("SELECT * FROM Kunden"), {}), QString());

    // Customer 4 has a Null turnover, which counts 0: 12,5 * (1+2+3+5+…+12) = 12,5 * 74.
    auto rs = db->openRecordset(
        SummenSql(QStringLiteral("SELECT * FROM Kunden ORDER BY Name;"), summen), dbOpenSnapshot);
    QCOMPARE(Summentext(rs->value(0), summen.at(0).format), QStringLiteral("925,00 €"));
    QCOMPARE(Summentext(rs->value(1), summen.at(1).format), QStringLiteral("78"));

    // Only the records of the condition count; none give 0.
    rs = db->openRecordset(
        SummenSql(QStringLiteral("SELECT * FROM Kunden WHERE ID < 3"), summen), dbOpenSnapshot);
    QCOMPARE(Summentext(rs->value(0), QString()), QStringLiteral("37,5"));
    rs = db->openRecordset(
        SummenSql(QStringLiteral("SELECT * FROM Kunden WHERE ID > 99"), summen), dbOpenSnapshot);
    QCOMPARE(Summentext(rs->value(0), QStringLiteral("Currency")), QStringLiteral("0,00 €"));
    QCOMPARE(Summentext(QVariant(), QString()), QStringLiteral("0"));
}

void TestTabellenlogik::summenSqlBehaeltTop()
{
    auto db = kundendatenbank();
    const QList<Summenspalte> summe { { 0, QStringLiteral("ID"), QString(),
        Spaltenausrichtung::Links } };
    // The two highest numbers, 12 and 11: the order decides which records TOP takes.
    auto rs = db->openRecordset(
        SummenSql(QStringLiteral("SELECT TOP 2 * FROM Kunden ORDER BY ID DESC"), summe),
        dbOpenSnapshot);
    QCOMPARE(rs->value(0).toLongLong(), 23);
}

QTEST_GUILESS_MAIN(TestTabellenlogik)
#include "tst_tabellenlogik.moc"
