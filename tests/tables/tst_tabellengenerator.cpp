#include "base/LeseDatei.h"
#include "engine/DataType.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/TableDef.h"
#include "engine/Workspace.h"
#include "tables/Tabellendefinitionsformat.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/TabellenGenerator.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace kv;
using namespace kv::engine;

// The table-view designer as the user drives it: lists, preview, colours, saving, closing.
class TestTabellenGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void neueAnsichtUndFeldlisten();
    void eingabehilfe();
    void spaltenlisteMitVorschau();
    void vorschauVerliertAlleSpalten();
    void zeilenpruefung();
    void farben();
    void speichernSchreibtDatei();
    void vorhandeneAnsichtBearbeiten();
    void schliessenFragt();
    void festlegen();

private:
    TabellenGenerator* oeffne(const QString& text = QString(), const QString& datei = QString());
    void waehleFeld(int zeile, const QString& feld);
    QStringList eintraege(const QComboBox* c) const;

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dialoge;
    std::unique_ptr<Workspace> m_ws;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<QMdiArea> m_mdi;
    Tabellenumgebung m_umgebung;
    QPointer<TabellenGenerator> m_g;
};

void TestTabellenGenerator::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_dir = std::make_unique<test::TempDir>();
    m_dialoge = std::make_unique<test::ScriptedDialoge>();
    m_ws = std::make_unique<Workspace>();
    m_db = m_ws->createDatabase(m_dir->file(QStringLiteral("Firma.mdb")));
    m_db->execute(QStringLiteral("CREATE TABLE Kunden (ID COUNTER PRIMARY KEY, Name TEXT(50), "
                                 "Ort TEXT(50), Umsatz CURRENCY, Bild LONGBINARY)"));
    m_db->execute(QStringLiteral("INSERT INTO Kunden (Name, Ort, Umsatz) VALUES ('Meier', "
                                 "'Bonn', 10)"));
    m_mdi = std::make_unique<QMdiArea>();
    m_mdi->resize(1100, 800);
    m_mdi->show();
    m_umgebung = Tabellenumgebung();
    m_umgebung.datenbank = m_db.get();
    m_umgebung.datenbankpfad = m_db->name();
    m_umgebung.modell = Recordsetansicht();
}

void TestTabellenGenerator::cleanup()
{
    m_mdi.reset();
    m_db.reset();
    m_ws.reset();
    QVERIFY(m_dialoge->leer());
    m_dialoge.reset();
    m_dir.reset();
    QLocale::setDefault(QLocale::c());
}

TabellenGenerator* TestTabellenGenerator::oeffne(const QString& text, const QString& datei)
{
    m_g = TabellenGenerator::oeffnen(m_mdi.get(), m_umgebung,
        datei.isEmpty() ? QStringLiteral("Kunden") : QString(), text, datei);
    return m_g;
}

void TestTabellenGenerator::waehleFeld(int zeile, const QString& feld)
{
    auto* c = qobject_cast<QComboBox*>(
        m_g->spaltenliste()->cellWidget(zeile, TabellenGenerator::Datenfeld));
    QVERIFY(c);
    c->setCurrentText(feld);
}

QStringList TestTabellenGenerator::eintraege(const QComboBox* c) const
{
    QStringList liste;
    for (int i = 0; i < c->count(); ++i)
        liste.append(c->itemText(i));
    return liste;
}

void TestTabellenGenerator::neueAnsichtUndFeldlisten()
{
    oeffne();
    QCOMPARE(m_g->windowTitle(), QStringLiteral("Tabellen-Generator neu erstellen"));
    QCOMPARE(m_g->fenstertitel()->text(), QStringLiteral("Standard-Tabelle Kunden"));
    QCOMPARE(m_g->sqlFeld()->toPlainText(), QStringLiteral("SELECT * From [Kunden]"));
    QVERIFY(m_g->schalter(QStringLiteral("Suchzeile"))->isChecked());
    QVERIFY(m_g->schalter(QStringLiteral("Zebramuster"))->isChecked());
    QVERIFY(!m_g->schalter(QStringLiteral("Editiersperre"))->isChecked());
    const QStringList felder { "ID", "Name", "Ort", "Umsatz", "Bild" };
    QCOMPARE(m_g->felder(), felder);
    QCOMPARE(eintraege(m_g->Combo1()), QStringList({ "(ohne)", "<crlf>" }) + felder);
    QCOMPARE(eintraege(m_g->videoleisteDatenfeld()), QStringList({ "(ohne)" }) + felder);
    // The preview shows the source with every field while the list is empty.
    QCOMPARE(m_g->vorschau()->spaltenanzahl(), 5);
    QCOMPARE(m_g->vorschau()->datenzeilen(), 1);
    QVERIFY(m_g->vorschau()->nurLesen());
    // One empty row to start a column in.
    QCOMPARE(m_g->spaltenliste()->rowCount(), 1);
    QVERIFY(!m_g->entwurf().geaendert());
}

void TestTabellenGenerator::eingabehilfe()
{
    oeffne();
    QLineEdit* vorlage = m_g->zwischenablageformat();
    vorlage->setText(QStringLiteral("Kunde: "));
    vorlage->setCursorPosition(7);
    QComboBox* hilfe = m_g->Combo1();
    Q_EMIT hilfe->activated(hilfe->findText(QStringLiteral("Name")));
    Q_EMIT hilfe->activated(1);
    Q_EMIT hilfe->activated(0);
    Q_EMIT hilfe->activated(hilfe->findText(QStringLiteral("Ort")));
    QCOMPARE(vorlage->text(), QStringLiteral("Kunde: {Name}<crlf>{Ort}"));
    QCOMPARE(hilfe->currentIndex(), 0);
    QVERIFY(m_g->entwurf().geaendert());
}

void TestTabellenGenerator::spaltenlisteMitVorschau()
{
    oeffne();
    QTableWidget* liste = m_g->spaltenliste();
    waehleFeld(0, QStringLiteral("Name"));
    QCOMPARE(liste->rowCount(), 2);
    waehleFeld(1, QStringLiteral("Umsatz"));
    liste->item(1, TabellenGenerator::Titel)->setText(QStringLiteral("Betrag"));
    liste->item(1, TabellenGenerator::Summe)->setCheckState(Qt::Checked);
    waehleFeld(2, QStringLiteral("Ort"));
    QCOMPARE(liste->rowCount(), 4);
    DataGrid* vorschau = m_g->vorschau();
    QCOMPARE(vorschau->spaltenanzahl(), 3);
    QCOMPARE(vorschau->spaltentitel(1), QStringLiteral("Betrag"));
    QVERIFY(vorschau->fusszeile());

    // Moving the current column.
    liste->setCurrentCell(2, TabellenGenerator::Titel);
    m_g->spalteVerschieben(-1);
    QCOMPARE(m_g->definitionAusFenster().spalten.at(1).datenfeld, QStringLiteral("Ort"));
    QCOMPARE(liste->currentRow(), 1);
    QCOMPARE(vorschau->datenfeld(1), QStringLiteral("Ort"));
    m_g->spalteVerschieben(+1);
    QCOMPARE(m_g->definitionAusFenster().spalten.at(2).datenfeld, QStringLiteral("Ort"));

    // Widths come from the preview.
    vorschau->ansicht()->setColumnWidth(0, 200);
    const Tabellendefinition d = m_g->definitionAusFenster();
    QCOMPARE(d.spalten.size(), 3);
    QCOMPARE(d.spalten.at(0).breite, float(qRound(200 * 1440.0 / m_g->logicalDpiX())));
    QVERIFY(d.spalten.at(1).summe);

    // Everything goes, the report fields too.
    m_g->alleSpaltenLoeschen();
    QCOMPARE(m_g->definitionAusFenster().spalten.size(), 0);
    QCOMPARE(liste->rowCount(), 1);
    QCOMPARE(vorschau->spaltenanzahl(), 5);
}

void TestTabellenGenerator::vorschauVerliertAlleSpalten()
{
    // The new view shows every field with its search row; a source that cannot be opened takes
    // all columns away at once, a good one brings them back.
    oeffne();
    QVERIFY(m_g->schalter(QStringLiteral("Suchzeile"))->isChecked());
    DataGrid* vorschau = m_g->vorschau();
    QCOMPARE(vorschau->spaltenanzahl(), 5);
    QVERIFY(vorschau->suchzeile());
    vorschau->setzeSuchtext(1, QStringLiteral("Mei"));
    m_g->quelleSetzen(QStringLiteral("SELECT * FROM GibtEsNicht"));
    QCOMPARE(vorschau->spaltenanzahl(), 0);
    QCOMPARE(vorschau->suchtext(1), QString());
    QCoreApplication::processEvents();
    m_g->quelleSetzen(QStringLiteral("SELECT Name, Ort FROM Kunden"));
    QCOMPARE(vorschau->spaltenanzahl(), 2);
    QCOMPARE(vorschau->datenfeld(1), QStringLiteral("Ort"));
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestTabellenGenerator::zeilenpruefung()
{
    oeffne();
    QTableWidget* liste = m_g->spaltenliste();
    waehleFeld(0, QStringLiteral("Name"));
    // A title without a data field: the row cannot be left.
    liste->item(1, TabellenGenerator::Titel)->setText(QStringLiteral("Ohne Feld"));
    liste->setCurrentCell(1, TabellenGenerator::Titel);
    liste->setCurrentCell(0, TabellenGenerator::Titel);
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral("Eine Leereingabe ist nicht zulässig!\n\nBitte ergänzen Sie die Eingabe!"));
    QCOMPARE(liste->currentRow(), 1);

    // A report name without its picture field.
    m_dialoge->vergiss();
    QTableWidget* report = m_g->reportfeldliste();
    report->item(0, TabellenGenerator::Reportname)->setText(QStringLiteral("Foto"));
    QCOMPARE(report->rowCount(), 2);
    report->setCurrentCell(0, TabellenGenerator::Reportname);
    report->setCurrentCell(1, TabellenGenerator::Reportname);
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral(
            "Die Auswahl des Grafikfeldes fehlt noch!\n\nBitte ergänzen Sie die Eingabe!"));
    QCOMPARE(report->currentRow(), 0);
}

void TestTabellenGenerator::farben()
{
    oeffne();
    int gefragt = 0;
    m_g->setzeFarbwahl([&](const QColor&) -> std::optional<QColor> {
        ++gefragt;
        return QColor(255, 0, 0);
    });
    QVERIFY(m_g->standardfarbe(2)->isChecked());
    m_g->farbeWaehlen(2);
    QCOMPARE(gefragt, 1);
    QVERIFY(!m_g->standardfarbe(2)->isChecked());
    QCOMPARE(m_g->definitionAusFenster().farbe(Tabellenfarbe::HintergrundZebramuster),
        std::optional<quint32>(0x0000FFu));
    QCOMPARE(m_g->vorschau()->farbe(Rasterfarbe::HintergrundZebramuster), QColor(255, 0, 0));
    // Cancelled: nothing changes.
    m_g->setzeFarbwahl([](const QColor&) { return std::optional<QColor>(); });
    m_g->farbeWaehlen(2);
    QCOMPARE(m_g->definitionAusFenster().farbe(Tabellenfarbe::HintergrundZebramuster),
        std::optional<quint32>(0x0000FFu));
    // "Standardfarbe" puts the designer's default back.
    m_g->standardfarbe(2)->setChecked(true);
    QCOMPARE(
        m_g->definitionAusFenster().farbe(Tabellenfarbe::HintergrundZebramuster), std::nullopt);
    QCOMPARE(m_g->definitionAusFenster().designerfarbe(Tabellenfarbe::HintergrundZebramuster),
        16776960u);
}

void TestTabellenGenerator::speichernSchreibtDatei()
{
    oeffne();
    auto* rahmen = qobject_cast<QMdiSubWindow*>(m_g->parentWidget());
    rahmen->setGeometry(30, 40, 720, 480);
    m_g->Text1()->setText(QStringLiteral("Umsatzliste"));
    m_g->fenstertitel()->setText(QStringLiteral("Umsätze"));
    m_g->schalter(QStringLiteral("Editiersperre"))->setChecked(true);
    waehleFeld(0, QStringLiteral("Name"));
    m_g->zwischenablageformat()->setText(QStringLiteral("{Name}<crlf>{Ort}"));
    // The user widens the column in the preview; the file gets that width in twips.
    m_g->vorschau()->ansicht()->horizontalHeader()->resizeSection(0, m_g->logicalDpiX() * 2);
    const float breite = float(qRound(720 * 1440.0 / m_g->logicalDpiX()));
    QPointer<TabellenGenerator> g = m_g;
    QVERIFY(m_g->speichern());
    QTRY_VERIFY(!g);

    const QString datei = m_dir->file(QStringLiteral("Firma_KELVAD_Umsatzliste.TSK"));
    QVERIFY(QFile::exists(datei));
    const Tabellendefinition d = leseTabellendefinition(LeseDatei(datei)).definition;
    QCOMPARE(d.titel, QStringLiteral("Umsätze"));
    QVERIFY(d.editiersperre);
    QVERIFY(d.suchzeile);
    QCOMPARE(d.sql, QStringLiteral("SELECT * From [Kunden]"));
    QCOMPARE(d.zwischenablageformat, QStringLiteral("{Name}<crlf>{Ort}"));
    QCOMPARE(d.spalten.size(), 1);
    QCOMPARE(d.spalten.at(0).breite, 2880.0f);
    // The window's own size, in twips.
    QCOMPARE(d.breite, breite);
    QVERIFY(d.hoehe > 0);
    QVERIFY(m_dialoge->meldungen().isEmpty());
}

void TestTabellenGenerator::vorhandeneAnsichtBearbeiten()
{
    const QString datei = m_dir->file(QStringLiteral("Firma_KELVAD_Liste.TSK"));
    const QString text = QStringLiteral(
        "KV-Tabelle: Liste\r\nSQL: SELECT * FROM Kunden\r\nVideoleisteDatenfeld: Ort\r\n"
        "Reportfelder: Bild,Foto\r\nHöhe: 4320\r\nBreite: 7200\r\nLinks: 0\r\nOben: 0\r\n"
        "Spalte: ;Kunde;Name;1440;1;1;;;0\r\nSpalte: ;;Umsatz;0;1;0;Currency;;1\r\n");
    oeffne(text, datei);
    QCOMPARE(m_g->windowTitle(), QStringLiteral("Tabellen-Generator ändern"));
    QCOMPARE(m_g->Text1()->text(), QStringLiteral("Liste"));
    QCOMPARE(m_g->videoleisteDatenfeld()->currentText(), QStringLiteral("Ort"));
    QCOMPARE(m_g->spaltenliste()->rowCount(), 3);
    QCOMPARE(
        m_g->spaltenliste()->item(0, TabellenGenerator::Titel)->text(), QStringLiteral("Kunde"));
    QCOMPARE(m_g->reportfeldliste()->item(0, TabellenGenerator::Reportname)->text(),
        QStringLiteral("Foto"));
    const Tabellendefinition d = m_g->definitionAusFenster();
    // Widths nobody touched are written back as read: no pixel rounding, 0 stays the default.
    QCOMPARE(d.spalten.at(0).breite, 1440.0f);
    QCOMPARE(d.spalten.at(1).breite, 0.0f);
    QCOMPARE(d.spalten.at(1).formatierung, QStringLiteral("Currency"));
    QCOMPARE(d.reportfelder.size(), 1);
    // The designer takes the size written in the file.
    const QWidget* rahmen = m_g->parentWidget();
    QCOMPARE(rahmen->width(), qRound(7200 * m_g->logicalDpiX() / 1440.0));
    QVERIFY(!m_g->entwurf().geaendert());

    // A column the user widens in the preview takes the preview's width.
    QHeaderView* koepfe = m_g->vorschau()->ansicht()->horizontalHeader();
    QCOMPARE(koepfe->count(), 2);
    koepfe->resizeSection(0, 2 * koepfe->sectionSize(0));
    const Tabellendefinition breiter = m_g->definitionAusFenster();
    QCOMPARE(breiter.spalten.at(0).breite, 2880.0f);
    QCOMPARE(breiter.spalten.at(1).breite, 0.0f);
    QVERIFY(m_g->entwurf().geaendert());
}

void TestTabellenGenerator::schliessenFragt()
{
    oeffne();
    // Unchanged: closes without a question.
    QPointer<TabellenGenerator> g = m_g;
    QVERIFY(m_g->close());
    QTRY_VERIFY(!g);
    QVERIFY(m_dialoge->meldungen().isEmpty());

    oeffne();
    m_g->Text1()->setText(QStringLiteral("Frage"));
    QTest::keyClicks(m_g->fenstertitel(), QStringLiteral("x"));
    m_dialoge->erwarteAntwort(Antwort::Abbrechen);
    QVERIFY(!m_g->close());
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral("Möchten Sie die Änderungen in der Strukturdatei speichern?"));
    const QString datei = m_dir->file(QStringLiteral("Firma_KELVAD_Frage.TSK"));
    QVERIFY(!QFile::exists(datei));
    m_dialoge->erwarteAntwort(Antwort::Nein);
    QVERIFY(m_g->close());
    QVERIFY(!QFile::exists(datei));

    oeffne();
    m_g->Text1()->setText(QStringLiteral("Frage"));
    QTest::keyClicks(m_g->fenstertitel(), QStringLiteral("y"));
    m_dialoge->erwarteAntwort(Antwort::Ja);
    QVERIFY(m_g->close());
    QVERIFY(QFile::exists(datei));
}

void TestTabellenGenerator::festlegen()
{
    oeffne();
    m_g->festlegen();
    QCOMPARE(m_dialoge->letzteMeldung().text,
        QStringLiteral("Dieses Fenster ist in dieser Version noch nicht verfügbar."));
    m_g->close();

    QString gegeben;
    m_umgebung.abfrageGenerator = [&](const QString& sql) -> std::optional<QString> {
        gegeben = sql;
        return QStringLiteral("SELECT Name, Ort FROM Kunden");
    };
    oeffne();
    m_g->festlegen();
    QCOMPARE(gegeben, QStringLiteral("SELECT * From [Kunden]"));
    QCOMPARE(m_g->sqlFeld()->toPlainText(), QStringLiteral("SELECT Name, Ort FROM Kunden"));
    QCOMPARE(m_g->felder(), (QStringList { "Name", "Ort" }));
    QCOMPARE(m_g->vorschau()->spaltenanzahl(), 2);
    QVERIFY(m_g->entwurf().geaendert());
    m_dialoge->erwarteAntwort(Antwort::Nein);
    m_g->close();
}

QTEST_MAIN(TestTabellenGenerator)
#include "tst_tabellengenerator.moc"
