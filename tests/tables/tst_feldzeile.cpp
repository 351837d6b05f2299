#include "tables/EindeutigeNamen.h"
#include "tables/FeldZeile.h"

#include <QTest>

using namespace kv;

class TestFeldZeile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typwechsel_data();
    void typwechsel();
    void automatikwertNurNeu();
    void neueZeile();
    void zellpruefung_data();
    void zellpruefung();
    void tabellenname();
    void tabellennameGrenze();
    void feldname();
    void feldnameGrenzen();
};

namespace {
const QString leer
    = QStringLiteral("Eine Leereingabe ist nicht zulässig!\n\nBitte ergänzen Sie die Eingabe!");
}

// Start: a new Text 80 row with every flag on that a type may clear.
void TestFeldZeile::typwechsel_data()
{
    QTest::addColumn<int>("typ");
    QTest::addColumn<int>("groesse");
    QTest::addColumn<bool>("fix");
    QTest::addColumn<bool>("nullwert");
    QTest::addColumn<bool>("automatik");
    // locked: Größe, Feldgröße, Nullwert erlaubt, Automatikwert, Prüfvorschrift/Fehlertext
    QTest::addColumn<QString>("gesperrt");

    QTest::newRow("Boolean") << 1 << 1 << true << false << false << "XXXX-";
    QTest::newRow("Byte") << 2 << 1 << true << false << false << "XXXX-";
    QTest::newRow("Integer") << 3 << 2 << true << false << false << "XXXX-";
    QTest::newRow("Long") << 4 << 4 << true << false << true << "XXX--";
    QTest::newRow("Währung") << 5 << 8 << true << false << false << "XXXX-";
    QTest::newRow("Single") << 6 << 4 << true << false << false << "XXXX-";
    QTest::newRow("Double") << 7 << 8 << true << false << false << "XXXX-";
    QTest::newRow("Datum") << 8 << 8 << true << false << false << "XXXX-";
    QTest::newRow("Text") << 10 << 80 << false << true << false << "---X-";
    QTest::newRow("Long Binary") << 11 << 0 << true << false << false << "XXXXX";
    QTest::newRow("Memo") << 12 << 0 << false << true << false << "XX-X-";
}

void TestFeldZeile::typwechsel()
{
    QFETCH(int, typ);
    QFETCH(int, groesse);
    QFETCH(bool, fix);
    QFETCH(bool, nullwert);
    QFETCH(bool, automatik);
    QFETCH(QString, gesperrt);

    FeldZeile z;
    z.name = QStringLiteral("Menge");
    z.groesse = 80;
    z.fix = true;
    z.nullwertErlaubt = true;
    z.automatikwert = true;
    z.erforderlich = true;
    z.vorgabewert = QStringLiteral("0");
    typWechseln(z, static_cast<qint16>(typ));

    QCOMPARE(z.typ, typ);
    QCOMPARE(z.groesse, groesse);
    QCOMPARE(z.fix, fix);
    QCOMPARE(z.nullwertErlaubt, nullwert);
    QCOMPARE(z.automatikwert, automatik);
    QVERIFY(z.erforderlich);
    QCOMPARE(z.vorgabewert, QStringLiteral("0"));

    const Feldspalte spalten[] = { Feldspalte::Groesse, Feldspalte::Feldgroesse,
        Feldspalte::NullwertErlaubt, Feldspalte::Automatikwert, Feldspalte::Pruefvorschrift };
    QString ist;
    for (Feldspalte s : spalten)
        ist += spalteGesperrt(z, s) ? QLatin1Char('X') : QLatin1Char('-');
    QCOMPARE(ist, gesperrt);
    QCOMPARE(spalteGesperrt(z, Feldspalte::Fehlertext), typ == 11);
    for (Feldspalte s : { Feldspalte::Feldname, Feldspalte::Typ, Feldspalte::Position,
             Feldspalte::WertErforderlich, Feldspalte::Vorgabewert })
        QVERIFY(!spalteGesperrt(z, s));
}

void TestFeldZeile::automatikwertNurNeu()
{
    FeldZeile z;
    z.neu = false;
    typWechseln(z, engine::dbLong);
    QVERIFY(spalteGesperrt(z, Feldspalte::Automatikwert));
    z.setzeAttribute(17);
    QVERIFY(z.fix && z.automatikwert);
    QCOMPARE(z.attribute(), 17);
    // Changing away from Long clears auto-increment on any row.
    typWechseln(z, engine::dbText);
    QVERIFY(!z.automatikwert);
    QCOMPARE(z.attribute(), 2);
}

void TestFeldZeile::neueZeile()
{
    const auto erste = neueFeldZeile({});
    QVERIFY(erste);
    QCOMPARE(erste->name, QStringLiteral("Neufeld0"));
    QCOMPARE(erste->typ, engine::dbText);
    QCOMPARE(erste->groesse, 50);
    QCOMPARE(erste->position, 1);
    QVERIFY(!erste->fix && !erste->automatikwert && !erste->erforderlich);
    QVERIFY(erste->nullwertErlaubt);
    QVERIFY(erste->neu);

    FeldZeile a = *erste;
    a.position = 7;
    FeldZeile b;
    b.name = QStringLiteral("NEUFELD1");
    b.position = 3;
    const auto dritte = neueFeldZeile({ a, b });
    QVERIFY(dritte);
    QCOMPARE(dritte->name, QStringLiteral("Neufeld2"));
    QCOMPARE(dritte->position, 8);
}

void TestFeldZeile::zellpruefung_data()
{
    QTest::addColumn<int>("spalte");
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("meldung"); // empty: accepted

    const int name = int(Feldspalte::Feldname), groesse = int(Feldspalte::Groesse);
    const QString numerisch
        = QStringLiteral("Die Eingabe muss numerisch sein!\n\nBitte korrigieren Sie die Eingabe!");
    const QString bereich = QStringLiteral("Der numerische Wert muss zwischen 0 und 255 "
                                           "liegen!\n\nBitte korrigieren Sie die Eingabe!");
    QTest::newRow("Name leer") << name << "" << leer;
    QTest::newRow("Name Blanks") << name << "   " << leer;
    QTest::newRow("Name") << name << "Kunde Nr"
                          << "";
    QTest::newRow("Größe leer") << groesse << "" << leer;
    QTest::newRow("Größe Text") << groesse << "12a" << numerisch;
    QTest::newRow("Größe Komma") << groesse << "1,5" << numerisch;
    QTest::newRow("Größe 0") << groesse << "0"
                             << "";
    QTest::newRow("Größe 255") << groesse << " 255 "
                               << "";
    QTest::newRow("Größe 256") << groesse << "256" << bereich;
    QTest::newRow("Größe negativ") << groesse << "-1" << bereich;
    QTest::newRow("Größe riesig") << groesse << "99999999999999999999999" << bereich;
    QTest::newRow("Position leer") << int(Feldspalte::Position) << "" << leer;
    QTest::newRow("Position Text") << int(Feldspalte::Position) << "zwei" << numerisch;
    QTest::newRow("Position 300") << int(Feldspalte::Position) << "300"
                                  << "";
    QTest::newRow("Vorgabe leer") << int(Feldspalte::Vorgabewert) << ""
                                  << "";
}

void TestFeldZeile::zellpruefung()
{
    QFETCH(int, spalte);
    QFETCH(QString, eingabe);
    QFETCH(QString, meldung);
    QCOMPARE(pruefeZelle(static_cast<Feldspalte>(spalte), eingabe).value_or(QString()), meldung);
    QCOMPARE(pruefeIndexname(QString()), std::optional(leer));
}

void TestFeldZeile::tabellenname()
{
    const QStringList tabellen { "Kunden", "Orte", "orte1", "ORTE2" };
    QCOMPARE(eindeutigerTabellenname("Rechnungen", tabellen), std::optional<QString>("Rechnungen"));
    QCOMPARE(eindeutigerTabellenname("kunden", tabellen), std::optional<QString>("kunden1"));
    QCOMPARE(eindeutigerTabellenname("Orte", tabellen), std::optional<QString>("Orte3"));
    QCOMPARE(eindeutigerTabellenname("Ärger", { "ÄRGER" }), std::optional<QString>("Ärger1"));
}

void TestFeldZeile::tabellennameGrenze()
{
    QStringList tabellen { "T" };
    for (int i = 1; i < TabellennameVersuche; ++i)
        tabellen.append(QStringLiteral("t%1").arg(i));
    QCOMPARE(eindeutigerTabellenname("T", tabellen), std::optional<QString>("T1001"));
    tabellen.append(QStringLiteral("T1001"));
    QVERIFY(!eindeutigerTabellenname("T", tabellen));
    QVERIFY(keinFreierTabellennameText("T").contains(QStringLiteral("Ihre Eingabe: T")));
}

void TestFeldZeile::feldname()
{
    QCOMPARE(eindeutigerFeldname("Neufeld", {}), std::optional<QString>("Neufeld0"));
    QCOMPARE(eindeutigerFeldname("Neufeld", { "neufeld0", "NEUFELD1" }),
        std::optional<QString>("Neufeld2"));
    // The temporary name of a replaced field.
    QCOMPARE(eindeutigerFeldname("Preis", { "Preis", "Preis0" }), std::optional<QString>("Preis1"));
}

void TestFeldZeile::feldnameGrenzen()
{
    QStringList felder { "F0" };
    for (int i = 1; i < FeldnameVersuche; ++i)
        felder.append(QStringLiteral("F%1").arg(i));
    QCOMPARE(eindeutigerFeldname("F", felder), std::optional<QString>("F1000"));
    felder.append(QStringLiteral("f1000"));
    QVERIFY(!eindeutigerFeldname("F", felder));

    // A base of 64 characters is tried as it is, then shortened to make room for the number.
    const QString lang(FeldnameMaxLaenge, QLatin1Char('x'));
    QCOMPARE(eindeutigerFeldname(lang, {}), std::optional(lang));
    QCOMPARE(eindeutigerFeldname(lang, { lang }), std::optional(QString(63, 'x') + "1"));
    const QString fast(63, QLatin1Char('y'));
    QCOMPARE(eindeutigerFeldname(fast, {}), std::optional(fast + "0"));
    QStringList belegt { fast + "0" };
    for (int i = 1; i <= 9; ++i)
        belegt.append(QString(63, 'y') + QString::number(i));
    QCOMPARE(eindeutigerFeldname(fast, belegt), std::optional(QString(62, 'y') + "10"));
}

QTEST_GUILESS_MAIN(TestFeldZeile)
#include "tst_feldzeile.moc"
