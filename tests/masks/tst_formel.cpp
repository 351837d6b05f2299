#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "masks/Formelausdruck.h"
#include "masks/Formelauswertung.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/RecordsetFormeldaten.h"
#include "testutils/TempDir.h"

#include <QTest>

using namespace kv;

class TestFormel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void ausdruecke_data();
    void ausdruecke();
    void cGebietsschema_data();
    void cGebietsschema();
    void tiefeVerschachtelung();
    void leererWertIstNull();
    void summeUeberTabellenelement();
    void fehlendesTabellenelement();
    void ohneDatensatzKeinErgebnis();
    void unaufgeloesteVerweise();
    void werteWerdenNichtErneutGelesen();
    void fensterwerte();
    void formelliste();

private:
    std::unique_ptr<RecordsetFormeldaten> daten(const QString& kopfFilter, int tabellen);

    test::TempDir m_dir;
    engine::Workspace m_ws;
    std::unique_ptr<engine::Database> m_db;
    std::unique_ptr<engine::Recordset> m_kopf;
    std::vector<std::unique_ptr<engine::Recordset>> m_zeilen;
};

void TestFormel::initTestCase()
{
    m_db = m_ws.createDatabase(m_dir.file(QStringLiteral("formel.mdb")));
    m_db->execute(QStringLiteral(
        "CREATE TABLE [Kopf] ([Nr] LONG, [Menge] LONG, [Preis] CURRENCY, [Text] TEXT(20), "
        "[Frei] BIT)"));
    m_db->execute(QStringLiteral("CREATE TABLE [Zeilen] ([KopfNr] LONG, [Betrag] DOUBLE)"));
    m_db->execute(QStringLiteral("INSERT INTO [Kopf] VALUES (1, 3, Null, '{Menge}', True)"));
    m_db->execute(QStringLiteral("INSERT INTO [Kopf] VALUES (2, 4, 2.5, '', False)"));
    for (const char* z : { "(2, 10.25)", "(2, Null)", "(2, 0.5)" })
        m_db->execute(QStringLiteral("INSERT INTO [Zeilen] VALUES ") + QString::fromUtf8(z));
}

/// The record set of Kopf at the record filtered, with table elements over Zeilen of that
/// record (the second of them empty).
std::unique_ptr<RecordsetFormeldaten> TestFormel::daten(const QString& kopfFilter, int tabellen)
{
    m_kopf = m_db->openRecordset(QStringLiteral("SELECT * From [Kopf] WHERE ") + kopfFilter);
    m_zeilen.clear();
    QList<engine::Recordset*> elemente;
    for (int i = 0; i < tabellen; ++i) {
        const QString nr = i == 0 && !m_kopf->eof() ? m_kopf->value(QStringLiteral("Nr")).toString()
                                                    : QStringLiteral("0");
        m_zeilen.push_back(
            m_db->openRecordset(QStringLiteral("SELECT * From [Zeilen] WHERE [KopfNr] = ") + nr));
        elemente.append(m_zeilen.back().get());
    }
    return std::make_unique<RecordsetFormeldaten>(m_kopf.get(), elemente);
}

void TestFormel::ausdruecke_data()
{
    QTest::addColumn<QString>("ausdruck");
    QTest::addColumn<QString>("ergebnis");

    QTest::newRow("Punkt vor Strich") << "1+2*3"
                                      << "7";
    QTest::newRow("Klammern") << "(1+2)*3"
                              << "9";
    QTest::newRow("links nach rechts") << "8-3-2"
                                       << "3";
    QTest::newRow("Division") << "10/4"
                              << "2,5";
    QTest::newRow("Dezimalkomma") << "2,5*2"
                                  << "5";
    QTest::newRow("Tausenderpunkt") << "1.234,5+0,5"
                                    << "1235";
    QTest::newRow("Punkt als Dezimalzeichen") << "1.5*2"
                                              << "3";
    QTest::newRow("Dezimalkomma ohne Null") << ",5+1"
                                            << "1,5";
    QTest::newRow("Exponent") << "1,5E3+1"
                              << "1501";
    QTest::newRow("unäres Minus") << "-(2-5)"
                                  << "3";
    QTest::newRow("doppeltes Minus") << "5--3"
                                     << "8";
    QTest::newRow("Vorzeichen nach Mal") << "2*-3"
                                         << "-6";
    QTest::newRow("Leerraum") << "  ( 1 + 2 ) * 2  "
                              << "6";
    QTest::newRow("Zeichen × ÷ −") << "6×2÷3−1"
                                   << "3";
    QTest::newRow("Rundung") << "0,1+0,2"
                             << "0,3";
    QTest::newRow("Konstante") << "42"
                               << "42";
    QTest::newRow("Null ohne Vorzeichen") << "-0"
                                          << "0";
    QTest::newRow("Division durch 0") << "7/0"
                                      << "Fehler: 9 Division durch 0";
    QTest::newRow("Division durch 0 in Klammer") << "1/(2-2)"
                                                 << "Fehler: 9 Division durch 0";
    QTest::newRow("Klammer offen") << "(1+2"
                                   << "Fehler: 8 Klammerfehler";
    QTest::newRow("Klammer zu viel") << "1+2)"
                                     << "Fehler: 8 Klammerfehler";
    QTest::newRow("Klammer falsch herum") << ")1+2("
                                          << "Fehler: 8 Klammerfehler";
    QTest::newRow("Name") << "Menge*2"
                          << "Fehler: 7 Undefinierte Variable";
    QTest::newRow("Verweis übrig") << "{Fehlt}+1"
                                   << "Fehler: 7 Undefinierte Variable";
    QTest::newRow("leer") << ""
                          << "Fehler: 6 Syntaxfehler";
    QTest::newRow("nur Blanks") << "   "
                                << "Fehler: 6 Syntaxfehler";
    QTest::newRow("Operator am Ende") << "1+"
                                      << "Fehler: 6 Syntaxfehler";
    QTest::newRow("zwei Zahlen") << "2 3"
                                 << "Fehler: 6 Syntaxfehler";
    QTest::newRow("leere Klammer") << "()"
                                   << "Fehler: 6 Syntaxfehler";
    QTest::newRow("zwei Kommas") << "1,2,3"
                                 << "Fehler: 6 Syntaxfehler";
    QTest::newRow("offene geschweifte") << "{1"
                                        << "Fehler: 6 Syntaxfehler";
    QTest::newRow("Überlauf") << "1E308*10"
                              << "Fehler: 12 Überlauffehler";
    QTest::newRow("Überlauf im Literal") << "1E400"
                                         << "Fehler: 12 Überlauffehler";
    QTest::newRow("riesiger Exponent") << "1E99999999999999999"
                                       << "Fehler: 12 Überlauffehler";
    QTest::newRow("zu klein") << "1E-300/1E300"
                              << "Fehler: 15 Wert ist zu klein";
    QTest::newRow("zu kleines Literal") << "1E-400"
                                        << "Fehler: 15 Wert ist zu klein";
    QTest::newRow("Null bleibt erlaubt") << "0*1E-300"
                                         << "0";
}

void TestFormel::ausdruecke()
{
    QFETCH(QString, ausdruck);
    QTEST(formelergebnistext(werteAusdruckAus(ausdruck)), "ergebnis");
}

void TestFormel::cGebietsschema_data()
{
    QTest::addColumn<QString>("ausdruck");
    QTest::addColumn<double>("wert");
    QTest::addColumn<int>("fehler");

    QTest::newRow("Punkt") << "2.5*2" << 5.0 << 0;
    QTest::newRow("Tausender") << "1,000.5" << 1000.5 << 0;
    QTest::newRow("Komma ohne Gruppe") << "2,5" << 0.0 << 6;
}

void TestFormel::cGebietsschema()
{
    QFETCH(QString, ausdruck);
    const Formelergebnis e = werteAusdruckAus(ausdruck, QLocale::c());
    QTEST(e.fehler, "fehler");
    QTEST(e.wert, "wert");
}

void TestFormel::tiefeVerschachtelung()
{
    const int n = 100000;
    const QString klammern = QString(n, u'(') + u'1' + QString(n, u')');
    QCOMPARE(werteAusdruckAus(klammern).fehler, 6);
    QCOMPARE(werteAusdruckAus(QString(n, u'-') + u'1').fehler, 6);
    QCOMPARE(formelergebnistext(werteAusdruckAus(QString(50, u'(') + u'2' + QString(50, u')'))),
        QStringLiteral("2"));
    QCOMPARE(werteAusdruckAus(QStringLiteral("1+").repeated(n) + u'1').wert, double(n + 1));
    QCOMPARE(werteAusdruckAus(QString(n, u'9')).fehler, 12);
}

void TestFormel::leererWertIstNull()
{
    const auto d = daten(QStringLiteral("[Nr] = 1"), 0);
    QCOMPARE(berechneFormel(QStringLiteral("{Menge}*{Preis}"), *d), QStringLiteral("0"));
    QCOMPARE(berechneFormel(QStringLiteral("{Menge}+{Text2}"), *d),
        QStringLiteral("Fehler: 7 Undefinierte Variable"));
    // A Boolean counts as -1 or 0.
    QCOMPARE(berechneFormel(QStringLiteral("{Frei}*2"), *d), QStringLiteral("-2"));
    const auto zwei = daten(QStringLiteral("[Nr] = 2"), 0);
    QCOMPARE(berechneFormel(QStringLiteral("{Menge}*{Preis}"), *zwei), QStringLiteral("10"));
    QCOMPARE(berechneFormel(QStringLiteral("{Preis}/{ Menge }"), *zwei), QStringLiteral("0,625"));
    QCOMPARE(berechneFormel(QStringLiteral("{Preis}/({Menge}-4)"), *zwei),
        QStringLiteral("Fehler: 9 Division durch 0"));
}

void TestFormel::summeUeberTabellenelement()
{
    const auto d = daten(QStringLiteral("[Nr] = 2"), 2);
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("{@1/Betrag}"), *d), QStringLiteral("10,75"));
    QCOMPARE(berechneFormel(QStringLiteral("{@1/betrag}*{Menge}"), *d), QStringLiteral("43"));
    // The second element shows no rows: its sum is 0.
    QCOMPARE(berechneFormel(QStringLiteral("{@2/Betrag}"), *d), QStringLiteral("0"));
    // The grid's position does not move.
    QVERIFY(m_zeilen.front()->bof() || !m_zeilen.front()->eof());
    const auto leer = daten(QStringLiteral("[Nr] = 1"), 1);
    QCOMPARE(berechneFormel(QStringLiteral("{@1/Betrag}"), *leer), QStringLiteral("0"));
}

void TestFormel::fehlendesTabellenelement()
{
    const auto d = daten(QStringLiteral("[Nr] = 2"), 2);
    for (const char* f :
        { "{@3/Betrag}", "{@0/Betrag}", "{@1/}", "{@1}", "{@x/Betrag}", "{@1/Unbekannt}" }) {
        const QString text = berechneFormel(QString::fromUtf8(f), *d);
        QVERIFY2(text.startsWith(QStringLiteral("Fehler: ")), f);
        QCOMPARE(loeseVerweiseAuf(QString::fromUtf8(f), *d), QString::fromUtf8(f));
    }
    const auto ohne = daten(QStringLiteral("[Nr] = 2"), 0);
    QVERIFY(berechneFormel(QStringLiteral("{@1/Betrag}"), *ohne)
                .startsWith(QStringLiteral("Fehler: ")));
}

void TestFormel::ohneDatensatzKeinErgebnis()
{
    const auto d = daten(QStringLiteral("[Nr] = 99"), 1);
    QVERIFY(!d->hatDatensatz());
    const QList<Formeleintrag> liste { { 0, QStringLiteral("{Menge}*2") },
        { 1, QStringLiteral("1/0") } };
    QVERIFY(berechneFormeln(liste, *d).isEmpty());
    const auto mit = daten(QStringLiteral("[Nr] = 2"), 1);
    QCOMPARE(berechneFormeln(liste, *mit),
        (QStringList { QStringLiteral("8"), QStringLiteral("Fehler: 9 Division durch 0") }));
}

void TestFormel::unaufgeloesteVerweise()
{
    const auto d = daten(QStringLiteral("[Nr] = 2"), 1);
    // The first reference that cannot be resolved stops the resolving.
    QCOMPARE(
        loeseVerweiseAuf(QStringLiteral("{Fehlt}+{Menge}"), *d), QStringLiteral("{Fehlt}+{Menge}"));
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("{Menge}+{Fehlt}+{Menge}"), *d),
        QStringLiteral("4+{Fehlt}+{Menge}"));
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("{Menge}+{Menge"), *d), QStringLiteral("4+{Menge"));
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("Menge}+{"), *d), QStringLiteral("Menge}+{"));
}

void TestFormel::werteWerdenNichtErneutGelesen()
{
    const auto d = daten(QStringLiteral("[Nr] = 1"), 0);
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("{Text}"), *d), QStringLiteral("{Menge}"));
    QCOMPARE(berechneFormel(QStringLiteral("{Text}"), *d),
        QStringLiteral("Fehler: 7 Undefinierte Variable"));
}

namespace {
/// The texts a mask window would report for its input controls.
class Eingaben : public Fensterwerte {
public:
    QStringList eingabetexte(const QString& feld) const override
    {
        if (feld.toUpper() == u"MENGE")
            return { QStringLiteral("5"), QStringLiteral("9") };
        if (feld.toUpper() == u"PREIS")
            return { QString() };
        return {};
    }
};
} // namespace

void TestFormel::fensterwerte()
{
    const auto d = daten(QStringLiteral("[Nr] = 2"), 0);
    const Eingaben eingaben;
    QCOMPARE(loeseVerweiseAuf(QStringLiteral("{menge}*{Preis}+{Nr}"), *d, &eingaben),
        QStringLiteral("5*0+2"));
    QCOMPARE(berechneFormel(QStringLiteral("{Menge}*{Preis}"), *d), QStringLiteral("10"));
}

void TestFormel::formelliste()
{
    const Maskendefinition m = leseMaskendefinition(
        QStringLiteral("AnzeigeText: 0;;A;0;0;1;1;0;;;;;;;;;{Menge}*2\r\n"
                       "AnzeigeText: 0;Menge;B\r\n"
                       "EingabeText: 0;C;C;0;0;1;1;0;;;;;;;;;x\r\n"
                       "AnzeigeText: 0;;D;0;0;1;1;0;;;;;;;;;  \r\n"
                       "AnzeigeText: 0;;E;0;0;1;1;0;;;;;;;;Statisch;{@1/Betrag}\r\n"))
                                   .definition;
    const QList<Formeleintrag> liste = kv::formelliste(m);
    QCOMPARE(liste.size(), 2);
    QCOMPARE(liste.at(0).element, 0);
    QCOMPARE(liste.at(1).element, 4);
    QCOMPARE(liste.at(1).formel, QStringLiteral("{@1/Betrag}"));
}

QTEST_GUILESS_MAIN(TestFormel)
#include "tst_formel.moc"
