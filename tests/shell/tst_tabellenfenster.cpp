#include "base/NichtVerfuegbar.h"
#include "beispiel/Beispieldatenbank.h"
#include "beispiel/Beispieldefinitionen.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Einstellungen.h"
#include "shell/Objektuebergabe.h"
#include "shell/Zentralebefehle.h"
#include "shell/Zentraleliste.h"
#include "shell/ui/Tabellenfenster.h"
#include "tables/ui/Recordsetansicht.h"
#include "tables/ui/TabellenGenerator.h"
#include "tables/ui/frmTabelle.h"
#include "testutils/ScriptedDialoge.h"
#include "testutils/TempDir.h"
#include "widgets/DataGrid.h"
#include "widgets/Navigationsleiste.h"

#include "Kundendatenbank.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>

using namespace kv;

// The way from the navigator's hand-over (and the command line) to the table-view windows.
class TestTabellenfenster : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void ohneModellNichtVerfuegbar();
    void designerOeffnet();
    void ansichtOeffnet();
    void navigatorOeffnetAnsicht();
    void beispielansichtenOeffnen();

private:
    template <typename T> T* einziges() const
    {
        QList<T*> fenster;
        for (QMdiSubWindow* s : m_mdi->subWindowList()) {
            if (auto* f = qobject_cast<T*>(s->widget()))
                fenster.append(f);
        }
        return fenster.size() == 1 ? fenster.constFirst() : nullptr;
    }

    std::unique_ptr<test::TempDir> m_dir;
    std::unique_ptr<test::ScriptedDialoge> m_dlg;
    std::unique_ptr<QMdiArea> m_mdi;
};

void TestTabellenfenster::init()
{
    m_dir = std::make_unique<test::TempDir>();
    QDir(m_dir->path()).mkdir(QStringLiteral("einstellungen"));
    Einstellungen::setzeSpeicherordner(m_dir->file(QStringLiteral("einstellungen")));
    m_dlg = std::make_unique<test::ScriptedDialoge>();
    m_mdi = std::make_unique<QMdiArea>();
    m_mdi->resize(900, 700);
    m_mdi->show();
    const QString pfad = m_dir->file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad, 3);
    AktuelleDatenbank& db = aktuelleDatenbank();
    db.Datenbank = pfad;
    db.DatenbankTyp = 1;
    db.oeffne();
    QVERIFY(db.offen());
}

void TestTabellenfenster::cleanup()
{
    m_mdi.reset();
    aktuelleDatenbank().schliesse();
    objektuebergabe() = Objektuebergabe();
    m_dlg.reset();
    m_dir.reset();
}

void TestTabellenfenster::ohneModellNichtVerfuegbar()
{
    TabellenfensterEinrichten(m_mdi.get(), aktuelleDatenbank(), {});
    QVERIFY(!objektuebergabe().tabelle);
    QVERIFY(objektuebergabe().tabellenGenerator);
    // The command line's table view says why nothing opens.
    StandardtabelleOeffnen(QStringLiteral("Kunden"));
    QCOMPARE(m_dlg->texte(), QStringList { NichtVerfuegbarText() });
    QVERIFY(m_mdi->subWindowList().isEmpty());
}

void TestTabellenfenster::designerOeffnet()
{
    TabellenfensterEinrichten(m_mdi.get(), aktuelleDatenbank(), Recordsetansicht());
    // A new view for a standard row: the table's name and no text.
    objektuebergabe().tabellenGenerator(QStringLiteral("Kunden"), QString());
    TabellenGenerator* g = einziges<TabellenGenerator>();
    QVERIFY(g);
    QCOMPARE(g->windowTitle(), QStringLiteral("Tabellen-Generator neu erstellen"));
    QCOMPARE(g->felder(), (QStringList { "Name", "Notiz" }));
    QCOMPARE(g->vorschau()->datenzeilen(), 3);
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestTabellenfenster::ansichtOeffnet()
{
    TabellenfensterEinrichten(m_mdi.get(), aktuelleDatenbank(), Recordsetansicht());
    QVERIFY(objektuebergabe().tabelle);
    StandardtabelleOeffnen(QStringLiteral("Kunden"));
    frmTabelle* f = einziges<frmTabelle>();
    QVERIFY(f);
    QVERIFY(f->standardansicht());
    QCOMPARE(f->TDBGrid1()->datenzeilen(), 3);
    QVERIFY(m_dlg->meldungen().isEmpty());

    // A name that is no table of the database is reported; nothing more opens.
    StandardtabelleOeffnen(QStringLiteral("Gibtsnicht"));
    QCOMPARE(m_dlg->meldungen().size(), 1);
    QVERIFY(m_dlg->letzteMeldung().text.endsWith(QStringLiteral("Gibtsnicht")));
    QCOMPARE(m_mdi->subWindowList().size(), 1);
}

void TestTabellenfenster::navigatorOeffnetAnsicht()
{
    // The way a user goes: "Öffnen" on the navigator's standard-table row.
    TabellenfensterEinrichten(m_mdi.get(), aktuelleDatenbank(), Recordsetansicht());
    AktuelleDatenbank& db = aktuelleDatenbank();
    Zentraleliste liste;
    liste.ListenRefresh(*db.db(), db.Datenbank, db.DatenbankTyp, Zentraleschalter());
    int zeile = -1;
    for (int i = 0; i < liste.zeilen().size(); ++i) {
        const Zentralezeile& z = liste.zeilen().at(i);
        if (z.art == Zeilenart::StandardTabelle && z.schluessel == QStringLiteral("Kunden"))
            zeile = i;
    }
    QVERIFY(zeile >= 0);
    Zentraleumgebung umgebung;
    umgebung.datenbank = &db;
    umgebung.aktionErlaubt = [](int) { return true; };
    Zentralebefehle befehle(umgebung);
    QVERIFY(!befehle.knopf(Zentraleknopf::Oeffnen, liste, zeile));

    frmTabelle* f = einziges<frmTabelle>();
    QVERIFY(f);
    QCOMPARE(f->TDBGrid1()->datenzeilen(), 3);
    QVERIFY(!m_dlg->texte().contains(NichtVerfuegbarText()));
    QVERIFY(m_dlg->meldungen().isEmpty());
}

void TestTabellenfenster::beispielansichtenOeffnen()
{
    // The demo database's own table views, opened the way a user does from the navigator.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AktuelleDatenbank& db = aktuelleDatenbank();
    db.schliesse();
    const QString pfad = erzeugeBeispieldatenbank(m_dir->file(QStringLiteral("Beispiel")));
    schreibeBeispieldefinitionen(pfad);
    db.Datenbank = pfad;
    db.DatenbankTyp = 1;
    db.oeffne();
    QVERIFY(db.offen());
    TabellenfensterEinrichten(m_mdi.get(), db, Recordsetansicht());
    Zentraleliste liste;
    liste.ListenRefresh(*db.db(), db.Datenbank, db.DatenbankTyp, Zentraleschalter());
    Zentraleumgebung umgebung;
    umgebung.datenbank = &db;
    umgebung.aktionErlaubt = [](int) { return true; };
    Zentralebefehle befehle(umgebung);

    QStringList geoeffnet;
    for (int zeile = 0; zeile < liste.zeilen().size(); ++zeile) {
        const Zentralezeile& z = liste.zeilen().at(zeile);
        if (z.art != Zeilenart::BenutzerTabelle || z.platzhalter())
            continue;
        QVERIFY(!befehle.knopf(Zentraleknopf::Oeffnen, liste, zeile));
        frmTabelle* f = einziges<frmTabelle>();
        QVERIFY2(f, qPrintable(z.anzeige));
        geoeffnet.append(f->windowTitle());
        QVERIFY2(f->datensatz(), qPrintable(z.anzeige));
        QVERIFY(f->TDBGrid1()->datenzeilen() > 0);
        QVERIFY(f->TDBGrid1()->suchzeile());
        if (f->definition().hatSummen()) {
            // The invoice items: sums in the footer.
            QSignalSpy fertig(f, &frmTabelle::summenFertig);
            if (f->summenLaufen())
                QVERIFY(fertig.wait(20000));
            QVERIFY(f->TDBGrid1()->zebramuster());
            bool summe = false;
            for (int s = 0; s < f->TDBGrid1()->spaltenanzahl(); ++s)
                summe = summe || !f->TDBGrid1()->fusstext(s).isEmpty();
            QVERIFY(summe);
        } else {
            // The customer list over a query: read-only, the navigation bar shows the name.
            QVERIFY(f->gesperrt());
            QVERIFY(!f->leisten()->navigation()->text().isEmpty());
            QVERIFY(!f->leisten()->navigation()->text().startsWith(QStringLiteral("Datensatz")));
        }
        QVERIFY2(m_dlg->meldungen().isEmpty(), qPrintable(m_dlg->texte().join(QLatin1Char('|'))));
        m_mdi->closeAllSubWindows();
        QTRY_VERIFY(m_mdi->subWindowList().isEmpty());
    }
    geoeffnet.sort();
    QCOMPARE(geoeffnet,
        (QStringList { QStringLiteral("Kundenliste (nur lesen)"),
            QStringLiteral("Rechnungspositionen mit Summen") }));
    QLocale::setDefault(QLocale::c());
}

QTEST_MAIN(TestTabellenfenster)
#include "tst_tabellenfenster.moc"
