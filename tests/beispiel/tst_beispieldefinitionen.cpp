#include "base/Format.h"
#include "base/LeseDatei.h"
#include "beispiel/Beispieldatenbank.h"
#include "beispiel/Beispieldefinitionen.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Formelauswertung.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/RecordsetFormeldaten.h"
#include "masks/Standardmaske.h"
#include "tables/Definitionsdatei.h"
#include "tables/Tabellendefinitionsformat.h"
#include "testutils/TempDir.h"

#include <QFile>
#include <QFont>
#include <QSet>
#include <QTest>

using namespace kv;

class TestBeispieldefinitionen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void dateienImNavigator();
    void tabellenansichtenPassenZurQuelle();
    void jedeElementartKommtVor();
    void maskenfelderGibtEsInDerQuelle();
    void formelnRechnenMitDenDaten();
    void vorhandeneDateienBleiben();
    void standardmaske_data();
    void standardmaske();
    void standardmaskeLiestSich();

private:
    Maskendefinition maske(const QString& name) const;
    Tabellendefinition ansicht(const QString& name) const;

    test::TempDir m_dir;
    QString m_pfad;
    engine::Workspace m_ws;
    std::unique_ptr<engine::Database> m_db;
};

void TestBeispieldefinitionen::initTestCase()
{
    m_pfad = erzeugeBeispieldatenbank(m_dir.path());
    QCOMPARE(schreibeBeispieldefinitionen(m_pfad).size(), 7);
    m_db = m_ws.openDatabase(m_pfad);
}

void TestBeispieldefinitionen::cleanupTestCase()
{
    m_db.reset();
    QLocale::setDefault(QLocale::c());
}

Maskendefinition TestBeispieldefinitionen::maske(const QString& name) const
{
    const Maskendefinitionslesung l = leseMaskendefinition(
        LeseDatei(definitionsdateiname(m_pfad, name, Definitionsart::Maske)));
    if (!l.hinweise.isEmpty())
        qWarning() << l.hinweise;
    return l.definition;
}

Tabellendefinition TestBeispieldefinitionen::ansicht(const QString& name) const
{
    return leseTabellendefinition(
        LeseDatei(definitionsdateiname(m_pfad, name, Definitionsart::Tabelle)))
        .definition;
}

void TestBeispieldefinitionen::dateienImNavigator()
{
    QStringList masken;
    QStringList tabellen;
    for (const Definitionsdatei& d : definitionsdateien(m_pfad)) {
        (d.art == Definitionsart::Maske ? masken : tabellen).append(d.name);
        const QString titel = definitionstitel(d.pfad, d.art);
        QVERIFY2(!titel.isEmpty() && !titel.startsWith(QStringLiteral("kein Titel")),
            qPrintable(d.pfad));
    }
    masken.sort();
    tabellen.sort();
    QCOMPARE(masken,
        (QStringList { QStringLiteral("Artikel"), QStringLiteral("Kundenkartei"),
            QStringLiteral("Rechnungen"), QStringLiteral("Rechnungsposition") }));
    QCOMPARE(tabellen,
        (QStringList { QStringLiteral("Kundenliste"), QStringLiteral("Rechnungspositionen") }));
    QVERIFY(QFile::exists(m_dir.file(QStringLiteral("Beispiel_Logo.png"))));
}

void TestBeispieldefinitionen::tabellenansichtenPassenZurQuelle()
{
    const Tabellendefinition summen = ansicht(QStringLiteral("Rechnungspositionen"));
    QVERIFY(summen.suchzeile && summen.zebramuster && summen.hatSummen());
    QVERIFY(!summen.zwischenablageformat.isEmpty());
    QCOMPARE(summen.laufzeitfarbe(Tabellenfarbe::HintergrundZebramuster),
        std::optional<quint32>(0xE0FFFF));
    const Tabellendefinition liste = ansicht(QStringLiteral("Kundenliste"));
    QVERIFY(liste.editiersperre);
    for (const Tabellendefinition* d : { &summen, &liste }) {
        auto rs = m_db->openRecordset(d->sql);
        QVERIFY(rs->recordCount() > 0 || !rs->eof());
        QSet<QString> felder;
        for (const engine::Field* f : rs->fields())
            felder.insert(f->name().toUpper());
        for (const Tabellenspalte& s : d->spalten)
            QVERIFY2(felder.contains(s.datenfeld.toUpper()), qPrintable(s.datenfeld));
        if (!d->videoleisteDatenfeld.isEmpty())
            QVERIFY(felder.contains(d->videoleisteDatenfeld.toUpper()));
    }
}

void TestBeispieldefinitionen::jedeElementartKommtVor()
{
    QSet<int> arten;
    for (const char* name : { "Kundenkartei", "Rechnungen", "Artikel", "Rechnungsposition" })
        for (const Maskenelement& e : maske(QString::fromUtf8(name)).elemente)
            arten.insert(int(e.art));
    QCOMPARE(arten.size(), 13);
    const Maskendefinition kunden = maske(QStringLiteral("Kundenkartei"));
    QCOMPARE(kunden.seitenzahl(), 2);
    const int datum = kunden.elementeDerArt(Maskenelementart::EingabeDatum).value(0);
    const DatumeingabeEinstellungen d = DatumeingabeEinstellungen::aus(kunden.elemente.at(datum));
    QCOMPARE(d.minimum, QDate(1900, 1, 1));
    QCOMPARE(d.maximum, QDate(2010, 12, 31));
    const int zahl = kunden.elementeDerArt(Maskenelementart::EingabeGanzzahl).value(0);
    QCOMPARE(ZahleingabeEinstellungen::aus(kunden.elemente.at(zahl)).maximum,
        std::optional<double>(999999));
}

void TestBeispieldefinitionen::maskenfelderGibtEsInDerQuelle()
{
    for (const char* name : { "Kundenkartei", "Rechnungen", "Artikel", "Rechnungsposition" }) {
        const Maskendefinition m = maske(QString::fromUtf8(name));
        auto rs = m_db->openRecordset(m.sql);
        QSet<QString> felder;
        for (const engine::Field* f : rs->fields())
            felder.insert(f->name().toUpper());
        for (const Maskenelement& e : m.elemente) {
            if (e.art == Maskenelementart::AnzeigeStatikbild) {
                QVERIFY(QFile::exists(m_dir.file(StatikbildEinstellungen::aus(e).datei)));
                continue;
            }
            if (!e.datenfeld.isEmpty())
                QVERIFY2(felder.contains(e.datenfeld.toUpper()), qPrintable(e.datenfeld));
            if (e.art == Maskenelementart::EingabeCombobox)
                QVERIFY(m_db->openRecordset(ComboboxEinstellungen::aus(e).sql)->recordCount() > 0);
        }
    }
}

void TestBeispieldefinitionen::formelnRechnenMitDenDaten()
{
    const Maskendefinition m = maske(QStringLiteral("Rechnungen"));
    auto rechnungen = m_db->openRecordset(m.sql);
    const int tabelle = m.elementeDerArt(Maskenelementart::EingabeTabelle).value(0);
    QCOMPARE(m.reportTabellenelement(), tabelle);
    const TabellenelementEinstellungen t
        = TabellenelementEinstellungen::aus(m.elemente.at(tabelle));
    auto positionen
        = m_db->openRecordset(t.anweisung(rechnungen->value(QStringLiteral("RechnungsNr"))));
    QVERIFY(!positionen->eof());
    auto summe = m_db->openRecordset(
        QStringLiteral(
            "SELECT Sum([Menge]*[Einzelpreis]) AS S FROM Rechnungspositionen WHERE RechnungsNr = ")
        + rechnungen->value(QStringLiteral("RechnungsNr")).toString());
    const double erwartet = summe->value(QStringLiteral("S")).toDouble();

    const RecordsetFormeldaten daten(rechnungen.get(), { positionen.get() });
    const QList<Formeleintrag> formeln = formelliste(m);
    QCOMPARE(formeln.size(), 2);
    const QStringList texte = berechneFormeln(formeln, daten);
    QCOMPARE(texte.value(0), Format(erwartet));
    QCOMPARE(texte.value(1), Format(erwartet * 1.19));

    const Maskendefinition position = maske(QStringLiteral("Rechnungsposition"));
    auto zeile = m_db->openRecordset(position.sql);
    const RecordsetFormeldaten pd(zeile.get(), {});
    QCOMPARE(berechneFormeln(formelliste(position), pd).value(0),
        Format(zeile->value(QStringLiteral("Menge")).toDouble()
            * zeile->value(QStringLiteral("Preis")).toDouble()));
}

void TestBeispieldefinitionen::vorhandeneDateienBleiben()
{
    const QString pfad
        = definitionsdateiname(m_pfad, QStringLiteral("Kundenliste"), Definitionsart::Tabelle);
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("KV-Tabelle: meine eigene\r\n");
    f.close();
    const QStringList geschrieben = schreibeBeispieldefinitionen(m_pfad);
    QVERIFY(geschrieben.isEmpty());
    QCOMPARE(definitionstitel(pfad, Definitionsart::Tabelle), QStringLiteral("meine eigene"));
}

void TestBeispieldefinitionen::standardmaske_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QStringList>("arten");

    QTest::newRow("Orte") << "Orte" << QStringList(5, QStringLiteral("EingabeText"));
    QTest::newRow("Kunden") << "Kunden"
                            << QStringList { "EingabeText", "EingabeText", "EingabeText",
                                   "EingabeText", "EingabeText", "EingabeText", "EingabeText",
                                   "EingabeText", "EingabeText", "EingabeCheckbox",
                                   "EingabeTextMemo" };
    // The picture (long binary) gets no element.
    QTest::newRow("Artikel") << "Artikel" << QStringList(5, QStringLiteral("EingabeText"));
    QTest::newRow("Rechnungen") << "Rechnungen"
                                << QStringList { "EingabeText", "EingabeText", "EingabeText",
                                       "EingabeCheckbox" };
}

void TestBeispieldefinitionen::standardmaske()
{
    QFETCH(QString, tabelle);
    QFETCH(QStringList, arten);
    const int zeile = 300;
    const QString text = standardmaskentext(tabelle, maskenfelder(m_db->tableDefs().item(tabelle)),
        zeile, Standardmaskenvariante::Designer);
    const Maskendefinitionslesung l = leseMaskendefinition(text);
    QVERIFY(l.hinweise.isEmpty());
    const Maskendefinition& m = l.definition;
    QCOMPARE(m.titel, QStringLiteral("Standardmaske ") + tabelle);
    QCOMPARE(m.sql, QStringLiteral("SELECT * From [") + tabelle + u']');
    QCOMPARE(m.elemente.size(), arten.size());
    int oben = 100;
    for (int i = 0; i < arten.size(); ++i) {
        const Maskenelement& e = m.elemente.at(i);
        QCOMPARE(maskenelementname(e.art), arten.at(i));
        QCOMPARE(e.datenfeld, e.beschriftung);
        QCOMPARE(e.links, 2500);
        QCOMPARE(e.breite, 4000);
        QCOMPARE(e.oben, oben);
        QCOMPARE(e.hoehe, e.art == Maskenelementart::EingabeTextMemo ? 3 * zeile : zeile);
        oben += e.hoehe + 100;
    }
    QCOMPARE(m.hoehe, oben);
    // "Höhe" stands after the elements.
    QVERIFY(text.endsWith(
        QStringLiteral("\r\nHöhe: ") + QString::number(oben) + QStringLiteral("\r\n")));
}

void TestBeispieldefinitionen::standardmaskeLiestSich()
{
    const QList<Maskenfeld> felder = maskenfelder(m_db->tableDefs().item(QStringLiteral("Kunden")));
    const QString fenster = standardmaskentext(
        QStringLiteral("Kunden"), felder, 315, Standardmaskenvariante::Fenster);
    QVERIFY(fenster.startsWith(QStringLiteral(
        "KV-Maske: Standard-Maske Kunden\r\nVirtuell: 1\r\nBedienelemente: oben\r\n"
        "Feldbeschriftung: 0;-500;7\r\nVideoleisteAnzeige: 1\r\nFunktionsleisteAnzeige: 1\r\n"
        "SQL: SELECT * From [Kunden]\r\nEingabeText: 0;KundenNr;KundenNr;2500;100;4000;315\r\n")));
    const Maskendefinition m = leseMaskendefinition(fenster).definition;
    QVERIFY(m.virtuell && m.bedienelementeOben);
    QCOMPARE(m.videoleisteAnzeige, Videoleiste::Voll);
    QCOMPARE(standardZeilenhoehe(215.4), 315);
    QVERIFY(standardZeilenhoehe(QFont()) > 100);
}

QTEST_MAIN(TestBeispieldefinitionen)
#include "tst_beispieldefinitionen.moc"
