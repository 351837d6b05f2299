#include "base/LeseDatei.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tables/Definitionstext.h"
#include "tables/Definitionszeilen.h"
#include "tables/Kopiertext.h"
#include "tables/Tabellendefinitionsformat.h"
#include "testutils/TempDir.h"

#include <QDate>
#include <QFile>
#include <QTest>

using namespace kv;

class TestTabellendefinition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void randfaelle_data();
    void randfaelle();
    void spaltenstuecke_data();
    void spaltenstuecke();
    void vollstaendigeDateiHinUndZurueck();
    void kleinschreibungLiestKanonisch();
    void weglassregeln();
    void zwischenablageformat();
    void formatMitAbschnitten();
    void schlechteEingabe();
    void zeilenenden();
    void standardtexte();
    void dateiInWindows1252();
    void kopieOhneVorlage();
    void kopieMitVorlage_data();
    void kopieMitVorlage();
};

namespace {

Tabellendefinition lies(const QString& text)
{
    return leseTabellendefinition(text).definition;
}

/// Every key set, as the designer would write it.
Tabellendefinition vollstaendig()
{
    Tabellendefinition d;
    d.titel = QStringLiteral("Kunden nach Ort");
    d.bedienelementeOben = true;
    d.tabellenTitel = QStringLiteral("Alle Kunden");
    d.videoleisteAnzeige = Videoleiste::Reduziert;
    d.funktionsleisteAnzeige = Funktionsleiste::VollMitVorZurueck;
    d.sql = QStringLiteral("SELECT * From [Kunden] WHERE [Name] Like 'M*'");
    d.hoehe = 6000;
    d.breite = 9000.5f;
    d.links = 120;
    d.oben = 240;
    d.videoleisteDatenfeld = QStringLiteral("Name");
    d.editiersperre = true;
    d.zwischenablageformat = QStringLiteral("{Vorname} {Name}<crlf>{Ort}");
    d.schriftgroesse = 10.5f;
    d.reportfelder = { { QStringLiteral("Bild"), QStringLiteral("Foto") },
        { QStringLiteral("Logo"), QStringLiteral("Zeichen") } };
    d.zeilenhoehe = 300;
    d.reportDateiFilter = QStringLiteral("Kunden*");
    for (int i = 0; i < TabellenfarbenAnzahl; ++i)
        d.farben[size_t(i)] = quint32(0x102030 + i);
    d.suchzeile = d.zebramuster = d.rechteSpalteExpandieren = true;
    d.proportionaleSpaltenbreiten = d.datenbankVorgabenUmsetzen = d.fensterMitStatuszeile = true;
    d.spalten = {
        { QStringLiteral("Nummer"), QStringLiteral("KundenNr"), 800, Spaltenausrichtung::Rechts,
            true, QString(), false },
        { QString(), QStringLiteral("Name"), 2000.5f, Spaltenausrichtung::Links, false,
            QStringLiteral(">"), false },
        { QStringLiteral("Umsatz"), QStringLiteral("Umsatz"), 1200, Spaltenausrichtung::Zentriert,
            false, QStringLiteral("#,##0.00 €"), true },
    };
    return d;
}

const char* const VollstaendigerText = "KV-Tabelle: Kunden nach Ort\r\n"
                                       "Bedienelemente: Oben\r\n"
                                       "TabellenTitel: Alle Kunden\r\n"
                                       "VideoleisteAnzeige: 2\r\n"
                                       "FunktionsleisteAnzeige: 3\r\n"
                                       "SQL: SELECT * From [Kunden] WHERE [Name] Like 'M*'\r\n"
                                       "Höhe: 6000\r\n"
                                       "Breite: 9000,5\r\n"
                                       "Links: 120\r\n"
                                       "Oben: 240\r\n"
                                       "VideoleisteDatenfeld: Name\r\n"
                                       "Editiersperre: 1\r\n"
                                       "Zwischenablageformat:{Vorname} {Name}<crlf>{Ort}\r\n"
                                       "Schriftgröße: 10,5\r\n"
                                       "Reportfelder: Bild,Foto;Logo,Zeichen\r\n"
                                       "Zeilenhöhe: 300\r\n"
                                       "TabelleReportDateiFilter: Kunden*\r\n"
                                       "FarbeHintergrundAllgemein: 1056816\r\n"
                                       "FarbeHintergrundAuswahlzeile: 1056817\r\n"
                                       "FarbeHintergrundZebramuster: 1056818\r\n"
                                       "FarbeHintergrundNormalzeile: 1056819\r\n"
                                       "FarbeHintergrundSuchzeile: 1056820\r\n"
                                       "FarbeHintergrundFusszeile: 1056821\r\n"
                                       "FarbeTextAllgemein: 1056822\r\n"
                                       "FarbeTextAuswahlzeile: 1056823\r\n"
                                       "FarbeTextZebramuster: 1056824\r\n"
                                       "FarbeTextNormalzeile: 1056825\r\n"
                                       "FarbeTextSuchzeile: 1056826\r\n"
                                       "FarbeTextFusszeile: 1056827\r\n"
                                       "Suchzeile: 1\r\n"
                                       "Zebramuster: 1\r\n"
                                       "RechteSpalteExpandieren: 1\r\n"
                                       "ProportionaleSpaltenbreiten: 1\r\n"
                                       "DatenbankVorgabenUmsetzen: 1\r\n"
                                       "FensterMitStatuszeile: 1\r\n"
                                       "Spalte: ;Nummer;KundenNr;800;1;1;;;0\r\n"
                                       "Spalte: ;;Name;2000,5;0;0;>;;0\r\n"
                                       "Spalte: ;Umsatz;Umsatz;1200;2;0;#,##0.00 €;;1\r\n";

} // namespace

void TestTabellendefinition::randfaelle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("spalten");
    QTest::addColumn<bool>("editiersperre");
    QTest::addColumn<bool>("suchzeile");
    QTest::addColumn<bool>("farbeGesetzt");

    QTest::newRow("ohne Spalten") << "KV-Tabelle: T\r\nSQL: SELECT * From [Kunden]\r\n"
                                  << 0 << false << false << false;
    QTest::newRow("Editiersperre 1") << "Editiersperre: 1\r\n" << 0 << true << false << false;
    QTest::newRow("Editiersperre 2") << "Editiersperre: 2\r\n" << 0 << false << false << false;
    QTest::newRow("Editiersperre 1,0") << "Editiersperre:  1 \r\n" << 0 << true << false << false;
    QTest::newRow("Suchzeile 2") << "Suchzeile: 2\r\n" << 0 << false << false << false;
    QTest::newRow("Suchzeile mit Blanks") << "Suchzeile:  1  \r\n" << 0 << false << true << false;
    QTest::newRow("Suchzeile 01") << "Suchzeile: 01\r\n" << 0 << false << false << false;
    QTest::newRow("Farbe 0") << "FarbeTextAllgemein: 0\r\n" << 0 << false << false << false;
    QTest::newRow("Farbe 255") << "FarbeTextAllgemein: 255\r\n" << 0 << false << false << true;
    QTest::newRow("Zeile ohne Doppelpunkt") << "Spalte ;A;B\r\nSpalte: ;A;B\r\n"
                                            << 1 << false << false << false;
    QTest::newRow("Schlüssel mit Blank davor") << " Spalte: ;A;B\r\n"
                                               << 0 << false << false << false;
}

void TestTabellendefinition::randfaelle()
{
    QFETCH(QString, text);
    QFETCH(int, spalten);
    QFETCH(bool, editiersperre);
    QFETCH(bool, suchzeile);
    QFETCH(bool, farbeGesetzt);
    const Tabellendefinition d = lies(text);
    QCOMPARE(d.spalten.size(), qsizetype(spalten));
    QCOMPARE(d.editiersperre, editiersperre);
    QCOMPARE(d.suchzeile, suchzeile);
    QCOMPARE(d.laufzeitfarbe(Tabellenfarbe::TextAllgemein).has_value(), farbeGesetzt);
}

void TestTabellendefinition::spaltenstuecke_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("anzeigetitel");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<float>("breite");
    QTest::addColumn<int>("ausrichtung");
    QTest::addColumn<bool>("sperre");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("summe");

    QTest::newRow("vollständig") << "Spalte: ;Betrag;Preis;1440;1;1;Currency;;1"
                                 << "Betrag"
                                 << "Betrag"
                                 << "Preis" << 1440.0f << 1 << true << "Currency" << true;
    QTest::newRow("leerer Titel") << "Spalte: ;;Name;0;0;0;;;0"
                                  << ""
                                  << "Name"
                                  << "Name" << 0.0f << 0 << false << "" << false;
    QTest::newRow("Ausrichtung 7") << "Spalte: ;A;B;100;7;0;;;0"
                                   << "A"
                                   << "A"
                                   << "B" << 100.0f << 0 << false << "" << false;
    QTest::newRow("Ausrichtung -1") << "Spalte: ;A;B;100;-1;0;;;0"
                                    << "A"
                                    << "A"
                                    << "B" << 100.0f << 0 << false << "" << false;
    QTest::newRow("fehlende Stücke") << "Spalte: ;Nur Titel"
                                     << "Nur Titel"
                                     << "Nur Titel"
                                     << "" << 0.0f << 0 << false << "" << false;
    QTest::newRow("überzählige Stücke") << "Spalte: ;A;B;10;2;-1;0.00;x;1;9;9;9"
                                        << "A"
                                        << "A"
                                        << "B" << 10.0f << 2 << true << "0.00" << true;
    QTest::newRow("Blanks um Stücke") << "Spalte:  ;  A  ; B ; 10 ; 1 ; 0 ; >  ;; 1 "
                                      << "A"
                                      << "A"
                                      << "B" << 10.0f << 1 << false << ">" << true;
    QTest::newRow("negative Breite") << "Spalte: ;A;B;-500;0;0;;;0"
                                     << "A"
                                     << "A"
                                     << "B" << 0.0f << 0 << false << "" << false;
    QTest::newRow("riesige Breite") << "Spalte: ;A;B;1E30;0;0;;;0"
                                    << "A"
                                    << "A"
                                    << "B" << float(Twipsgrenze) << 0 << false << "" << false;
    QTest::newRow("Breite kein Wert") << "Spalte: ;A;B;breit;0;0;;;0"
                                      << "A"
                                      << "A"
                                      << "B" << 0.0f << 0 << false << "" << false;
    QTest::newRow("Breite deutsch") << "Spalte: ;A;B;1234,5;0;0;;;0"
                                    << "A"
                                    << "A"
                                    << "B" << 1234.5f << 0 << false << "" << false;
    QTest::newRow("Breite mit Exponent") << "Spalte: ;A;B;1,5E-04;0;0;;;0"
                                         << "A"
                                         << "A"
                                         << "B" << 0.00015f << 0 << false << "" << false;
    QTest::newRow("Kleinbuchstaben") << "spalte: ;A;B;1;0;Wahr;;;True"
                                     << "A"
                                     << "A"
                                     << "B" << 1.0f << 0 << true << "" << true;
}

void TestTabellendefinition::spaltenstuecke()
{
    QFETCH(QString, zeile);
    const Tabellendefinition d = lies(zeile + QStringLiteral("\r\n"));
    QCOMPARE(d.spalten.size(), 1);
    const Tabellenspalte& s = d.spalten.first();
    QTEST(s.titel, "titel");
    QTEST(s.anzeigetitel(), "anzeigetitel");
    QTEST(s.datenfeld, "feld");
    QTEST(s.breite, "breite");
    QTEST(int(s.ausrichtung), "ausrichtung");
    QTEST(s.editiersperre, "sperre");
    QTEST(s.formatierung, "format");
    QTEST(s.summe, "summe");
}

void TestTabellendefinition::vollstaendigeDateiHinUndZurueck()
{
    const Tabellendefinition d = vollstaendig();
    const QString text = tabellendefinitionstext(d);
    QCOMPARE(text, QString::fromUtf8(VollstaendigerText));
    const Tabellendefinitionslesung lesung = leseTabellendefinition(text);
    QVERIFY(lesung.hinweise.isEmpty());
    QCOMPARE(lesung.definition, d);
}

void TestTabellendefinition::kleinschreibungLiestKanonisch()
{
    // A hand-edited file: keys in any case, lines in another order, blanks around values.
    QString text = QString::fromUtf8(VollstaendigerText).toLower();
    text.replace(QStringLiteral("kv-tabelle: kunden nach ort"),
        QStringLiteral("KV-tabelle:   Kunden nach Ort  "));
    QStringList zeilen = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    std::reverse(zeilen.begin(), zeilen.end() - 3); // headers reversed, columns stay in order
    const Tabellendefinition d = lies(zeilen.join(QStringLiteral("\r\n")));
    QCOMPARE(d.titel, QStringLiteral("Kunden nach Ort"));
    QVERIFY(d.bedienelementeOben);
    QCOMPARE(d.spalten.size(), 3);
    QCOMPARE(d.spalten.at(0).datenfeld, QStringLiteral("kundennr"));
    QCOMPARE(d.spalten.at(2).summe, true);
    QCOMPARE(d.schriftgroesse, 10.5f);
    // Read again from its canonical text, it stays the same.
    QCOMPARE(lies(tabellendefinitionstext(d)), d);
}

void TestTabellendefinition::weglassregeln()
{
    Tabellendefinition d;
    d.schriftgroesse = 5;
    const QString text = tabellendefinitionstext(d);
    for (const char* fehlt : { "Schriftgröße", "Zwischenablageformat", "Reportfelder", "Zeilenhöhe",
             "TabelleReportDateiFilter", "Spalte:" })
        QVERIFY2(!text.contains(QString::fromUtf8(fehlt)), fehlt);
    // Every other key is always written, colours with the designer's defaults.
    QVERIFY(text.startsWith(QStringLiteral("KV-Tabelle: \r\nBedienelemente: Unten\r\n")));
    QVERIFY(text.contains(QStringLiteral("FarbeHintergrundZebramuster: 16776960\r\n")));
    QVERIFY(text.contains(QStringLiteral("FarbeHintergrundAuswahlzeile: 2147483661\r\n")));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 30);
    // Decided on the written number: a size that writes as "5" is not written.
    d.schriftgroesse = 5.0000001f;
    QVERIFY(!tabellendefinitionstext(d).contains(QStringLiteral("Schriftgröße")));
    d.schriftgroesse = 5.5f;
    QVERIFY(tabellendefinitionstext(d).contains(QStringLiteral("Schriftgröße: 5,5\r\n")));
}

void TestTabellendefinition::zwischenablageformat()
{
    // Written without a blank after the colon, read back untrimmed.
    Tabellendefinition d;
    d.zwischenablageformat = QStringLiteral(" {A} <crlf> {B} ");
    const QString text = tabellendefinitionstext(d);
    QVERIFY(text.contains(QStringLiteral("\r\nZwischenablageformat: {A} <crlf> {B} \r\n")));
    QCOMPARE(lies(text).zwischenablageformat, d.zwischenablageformat);
    QCOMPARE(lies(QStringLiteral("ZWISCHENABLAGEFORMAT:{A}")).zwischenablageformat,
        QStringLiteral("{A}"));
    // Real line breaks in the template go into the file as the placeholder.
    d.zwischenablageformat = QStringLiteral("{A}\n{B}\r\n{C}");
    QCOMPARE(lies(tabellendefinitionstext(d)).zwischenablageformat,
        QStringLiteral("{A}<crlf>{B}<crlf>{C}"));
}

void TestTabellendefinition::formatMitAbschnitten()
{
    Tabellendefinition d;
    d.spalten = { { QStringLiteral("Saldo; netto"), QStringLiteral("Saldo"), 0,
        Spaltenausrichtung::Rechts, false, QStringLiteral("#,##0.00;-#,##0.00;\"null\""), true } };
    const QString text = tabellendefinitionstext(d);
    QVERIFY(text.contains(
        QStringLiteral("Spalte: ;Saldo, netto;Saldo;0;1;0;#,##0.00|-#,##0.00|\"null\";;1\r\n")));
    const Tabellenspalte s = lies(text).spalten.value(0);
    QCOMPARE(s.formatierung, d.spalten.first().formatierung);
    QCOMPARE(s.titel, QStringLiteral("Saldo, netto"));
    QCOMPARE(s.summe, true);
}

void TestTabellendefinition::schlechteEingabe()
{
    const QString text = QStringLiteral("KV-Tabelle\r\n"
                                        "Unbekannt: 5\r\n"
                                        "Höhe: hoch\r\n"
                                        "Breite: 1e400\r\n"
                                        "Links: -1e9\r\n"
                                        "VideoleisteAnzeige: 9\r\n"
                                        "FunktionsleisteAnzeige: abc\r\n"
                                        "Schriftgröße: 99999\r\n"
                                        "Zeilenhöhe: -20\r\n"
                                        "FarbeHintergrundAllgemein: 1099511627776\r\n"
                                        "FarbeHintergrundSuchzeile: grün\r\n"
                                        "FarbeTextSuchzeile: -2147483643\r\n"
                                        "Reportfelder: ;,Name;Bild;\t,Tab;\r\n"
                                        "Spalte:\r\n"
                                        "\x01\x02:\x7f\r\n");
    const Tabellendefinitionslesung l = leseTabellendefinition(text);
    const Tabellendefinition& d = l.definition;
    QCOMPARE(d.titel, QString());
    QCOMPARE(d.hoehe, 0.0f);
    QCOMPARE(d.breite, 0.0f);
    QCOMPARE(d.links, -float(Twipsgrenze));
    QCOMPARE(d.videoleisteAnzeige, Videoleiste::Voll);
    QCOMPARE(d.funktionsleisteAnzeige, Funktionsleiste::Aus);
    QCOMPARE(d.schriftgroesse, 0.0f);
    QCOMPARE(d.zeilenhoehe, 0.0f);
    QVERIFY(!d.farbe(Tabellenfarbe::HintergrundAllgemein));
    QVERIFY(!d.farbe(Tabellenfarbe::HintergrundSuchzeile));
    // Older files hold system colours as negative numbers.
    QCOMPARE(d.farbe(Tabellenfarbe::TextSuchzeile), std::optional<quint32>(0x80000005u));
    QCOMPARE(d.reportfelder, (QList<Reportfeld> { { QStringLiteral("Bild"), QString() } }));
    QCOMPARE(d.spalten.size(), 1);
    QCOMPARE(d.spalten.first(), Tabellenspalte());
    QCOMPARE(l.hinweise,
        (QStringList { QStringLiteral("Die Farbe in „FarbeHintergrundAllgemein:“ ist kein "
                                      "gültiger Farbwert."),
            QStringLiteral("Die Farbe in „FarbeHintergrundSuchzeile:“ ist kein gültiger Farbwert."),
            QStringLiteral("Zeile 2: Der Eintrag „UNBEKANNT“ ist unbekannt und wird übergangen."),
            QStringLiteral(
                "Zeile 15: Der Eintrag „\x01\x02“ ist unbekannt und wird übergangen.") }));
}

void TestTabellendefinition::zeilenenden()
{
    const Tabellendefinition crlf
        = lies(QStringLiteral("KV-Tabelle: A\r\nSuchzeile: 1\r\nSpalte: ;T;F"));
    QCOMPARE(lies(QStringLiteral("KV-Tabelle: A\nSuchzeile: 1\nSpalte: ;T;F\n")), crlf);
    QCOMPARE(lies(QStringLiteral("KV-Tabelle: A\rSuchzeile: 1\rSpalte: ;T;F\r")), crlf);
    QCOMPARE(crlf.spalten.size(), 1);
    QVERIFY(crlf.suchzeile);
    // A statement with line breaks (typed into the designer) stays on its line.
    Tabellendefinition d;
    d.sql = QStringLiteral("SELECT *\r\nFROM [Kunden]\nORDER BY [Name]");
    QCOMPARE(lies(tabellendefinitionstext(d)).sql,
        QStringLiteral("SELECT * FROM [Kunden] ORDER BY [Name]"));
}

void TestTabellendefinition::standardtexte()
{
    QCOMPARE(designerStandardtext(QStringLiteral("Kunden")),
        QStringLiteral("KV-Tabelle: Standard-Tabelle Kunden\r\nTabellenTitel: Kunden\r\n"
                       "Suchzeile: 1\r\nZebramuster: 1\r\nVideoleisteAnzeige: 1\r\n"
                       "FunktionsleisteAnzeige: 1\r\nSQL: SELECT * From [Kunden]\r\n"));
    QCOMPARE(laufzeitStandardtext(QStringLiteral("Kunden")),
        QStringLiteral("KV-Tabelle: Standard-Tabelle Kunden\r\nTabellenTitel: Kunden\r\n"
                       "VideoleisteAnzeige: 1\r\nSuchzeile: 1\r\nFunktionsleisteAnzeige: 1\r\n"
                       "SQL: SELECT * From [Kunden]\r\n"));
    const Tabellendefinition d = standardTabellendefinition(QStringLiteral("Rechnungs Positionen"));
    QCOMPARE(d.titel, QStringLiteral("Standard-Tabelle Rechnungs Positionen"));
    QCOMPARE(d.sql, QStringLiteral("SELECT * From [Rechnungs Positionen]"));
    QVERIFY(d.suchzeile);
    QVERIFY(!d.zebramuster);
    QVERIFY(d.datenbankVorgabenUmsetzen);
    QCOMPARE(d.videoleisteAnzeige, Videoleiste::Voll);
    QCOMPARE(d.funktionsleisteAnzeige, Funktionsleiste::VollOhneVorZurueck);
    QVERIFY(d.spalten.isEmpty());
    // The designer shows the standard colours until the file sets others.
    QCOMPARE(d.designerfarbe(Tabellenfarbe::HintergrundZebramuster), 0xFFFF00u);
    QCOMPARE(d.designerfarbe(Tabellenfarbe::TextFusszeile), 0x80000012u);
    QVERIFY(!d.laufzeitfarbe(Tabellenfarbe::TextFusszeile));
}

void TestTabellendefinition::dateiInWindows1252()
{
    const test::TempDir dir;
    const QString pfad = dir.file(QStringLiteral("Beispiel_KELVAD_Umsätze.TSK"));
    const Tabellendefinition d = vollstaendig();
    QVERIFY(!speichereTabellendefinition(pfad, d));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("H\xF6he: 6000\r\n"));
    QVERIFY(bytes.contains("#,##0.00 \x80;;1\r\n"));
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QCOMPARE(lies(LeseDatei(pfad)), d);
    const std::optional<QString> fehler
        = speichereTabellendefinition(dir.file(QStringLiteral("fehlt/x.TSK")), d);
    QVERIFY(fehler
        && fehler->startsWith(QStringLiteral("Fehler beim Öffnen der Strukturdatei!\n\nNr: ")));
}

namespace {

struct Kopierdatenbank {
    test::TempDir dir;
    engine::Workspace ws;
    std::unique_ptr<engine::Database> db;
    std::unique_ptr<engine::Recordset> rs;

    Kopierdatenbank()
    {
        db = ws.createDatabase(dir.file(QStringLiteral("kopie.mdb")));
        db->execute(
            QStringLiteral("CREATE TABLE [Kunden] ([Nr] LONG, [Name] TEXT(40), [Umsatz] CURRENCY, "
                           "[Seit] DATETIME, [Aktiv] BIT, [Bild] LONGBINARY, [Notiz] MEMO)"));
        db->execute(QStringLiteral(
            "INSERT INTO [Kunden] VALUES (7, 'Meier {Nr}', 1234.5, #2021-03-04#, True, Null, "
            "'Zeile1')"));
        rs = db->openRecordset(QStringLiteral("SELECT * From [Kunden]"));
    }
};

} // namespace

void TestTabellendefinition::kopieOhneVorlage()
{
    Kopierdatenbank k;
    const QList<Kopierfeld> felder = kopierfelder(*k.rs, nullptr);
    QCOMPARE(felder.size(), 7);
    // Each field as the grid shows it, the picture left out.
    QCOMPARE(kopiertext(QString(), felder),
        QStringLiteral("7\nMeier {Nr}\n1.234,50 €\n04.03.2021\nWahr\nZeile1\n"));
}

void TestTabellendefinition::kopieMitVorlage_data()
{
    QTest::addColumn<QString>("vorlage");
    QTest::addColumn<QString>("text");

    QTest::newRow("Felder und Umbruch") << "{Nr}: {Name}<crlf>{Umsatz}"
                                        << "7: Meier {Nr}\n1.234,50 €";
    QTest::newRow("Großschreibung") << "{NAME}<CRLF>{nr}"
                                    << "Meier {Nr}\n7";
    QTest::newRow("unbekanntes Feld") << "{Ort} {Name} {"
                                      << "{Ort} Meier {Nr} {";
    QTest::newRow("Blanks bleiben") << "  {Seit}  "
                                    << "  04.03.2021  ";
    QTest::newRow("Bild bleibt leer") << "[{Bild}]"
                                      << "[]";
    QTest::newRow("Spaltenformat der Ansicht") << "{Umsatz}"
                                               << "1234,5000";
}

void TestTabellendefinition::kopieMitVorlage()
{
    QFETCH(QString, vorlage);
    Kopierdatenbank k;
    Tabellendefinition ansicht;
    if (QByteArray(QTest::currentDataTag()) == "Spaltenformat der Ansicht")
        ansicht.spalten = { { QString(), QStringLiteral("umsatz"), 0, Spaltenausrichtung::Rechts,
            false, QStringLiteral("0.0000"), true } };
    QTEST(kopiertext(vorlage, kopierfelder(*k.rs, &ansicht)), "text");
}

QTEST_GUILESS_MAIN(TestTabellendefinition)
#include "tst_tabellendefinition.moc"
