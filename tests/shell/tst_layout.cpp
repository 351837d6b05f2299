// Every window of the shell with the program fonts from 8 to 16 points: no text may be cut.
// CTest runs this once more at 200 % scaling. With KV_BILDER set, pictures of the windows are
// saved there to look at.

#include "Kundendatenbank.h"
#include "Programmumgebung.h"
#include "shell/AktuelleDatenbank.h"
#include "shell/Leistenlayout.h"
#include "shell/Prozesswerte.h"
#include "shell/Sicherung.h"
#include "shell/WebUpdatePruefung.h"
#include "shell/ui/GMainEP.h"
#include "shell/ui/TexteSymbolleiste.h"
#include "shell/ui/about.h"
#include "shell/ui/frmAnpassen.h"
#include "shell/ui/frmHilfe.h"
#include "shell/ui/frmMain.h"
#include "shell/ui/frmSicherung.h"
#include "shell/ui/frmTastatur.h"
#include "shell/ui/frmWebUpdate.h"
#include "shell/ui/frmZentrale.h"
#include "shell/ui/passwort.h"
#include "tables/ui/TabellenStrukturEditor.h"
#include "testutils/Layoutpruefung.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTest>

using namespace kv;

namespace {

/// Shows the window, lets it lay out and returns what does not fit.
QStringList pruefe(QWidget* fenster, const QString& name)
{
    fenster->show();
    QApplication::processEvents();
    test::bildSpeichern(fenster, name);
    return test::abgeschnitteneTexte(fenster);
}

QString bildname(const QString& fenster, int punkt)
{
    return fenster + QStringLiteral("-%1pt-%2x").arg(punkt).arg(qApp->devicePixelRatio());
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void fenster_data();
    void fenster();
    void hauptfensterUndZentrale_data() { fenster_data(); }
    void hauptfensterUndZentrale();

private:
    std::unique_ptr<test::Programmumgebung> m_umgebung;
};

void TestLayout::init()
{
    m_umgebung = std::make_unique<test::Programmumgebung>();
    m_umgebung->symboleAnlegen();
}

void TestLayout::cleanup()
{
    m_umgebung.reset();
}

void TestLayout::fenster_data()
{
    QTest::addColumn<int>("punkt");
    for (const int punkt : { 8, 10, 12, 14, 16 })
        QTest::addRow("%d pt", punkt) << punkt;
}

void TestLayout::fenster()
{
    QFETCH(int, punkt);
    Programmschrift() = QFont(QStringLiteral("Arial"));
    Programmschrift().setPointSizeF(punkt);
    Menueschrift() = Programmschrift();
    QStringList funde;
    const auto melden = [&funde](const QString& fenster, const QStringList& liste) {
        for (const QString& f : liste)
            funde.append(fenster + QStringLiteral(": ") + f);
    };

    SicherungsAuftrag sichern = ErzeugeSicherungsAuftrag(false, m_umgebung->ordner.path() + u'/');
    sichern.schrift = Programmschrift();
    melden(QStringLiteral("Sichern"),
        pruefe(std::make_unique<frmSicherung>(sichern).get(), bildname("sichern", punkt)));
    SicherungsAuftrag rueck = ErzeugeSicherungsAuftrag(true, QString());
    rueck.schrift = Programmschrift();
    melden(QStringLiteral("Rücksichern"),
        pruefe(std::make_unique<frmSicherung>(rueck).get(), bildname("ruecksichern", punkt)));

    {
        frmAnpassen anpassen(Leistenlayout::standard());
        auto* reiter = anpassen.findChild<QTabWidget*>();
        for (int i = 0; i < reiter->count(); ++i) {
            reiter->setCurrentIndex(i);
            melden(QStringLiteral("Anpassen ") + reiter->tabText(i),
                pruefe(&anpassen, bildname(QStringLiteral("anpassen%1").arg(i), punkt)));
        }
    }
    melden(QStringLiteral("Tastatur"),
        pruefe(std::make_unique<frmTastatur>(Tastenbelegung()).get(), bildname("tastatur", punkt)));
    melden(QStringLiteral("Texte"),
        pruefe(std::make_unique<TexteSymbolleiste>(Leistenlayout::standard()).get(),
            bildname("texte", punkt)));
    melden(QStringLiteral("Info"),
        pruefe(std::make_unique<about>(false).get(), bildname("info", punkt)));
    melden(QStringLiteral("Start"),
        pruefe(std::make_unique<about>(true).get(), bildname("start", punkt)));
    melden(QStringLiteral("Passwort"),
        pruefe(std::make_unique<passwort>().get(), bildname("passwort", punkt)));
    melden(QStringLiteral("Hilfe"),
        pruefe(std::make_unique<frmHilfe>().get(), bildname("hilfe", punkt)));
    melden(QStringLiteral("Texteditor"),
        pruefe(std::make_unique<TabellenStrukturEditor>(true, QStringLiteral("Kunden"), QString(),
                   QString(), m_umgebung->ordner.file(QStringLiteral("a.mdb")))
                   .get(),
            bildname("texteditor", punkt)));

    // The web update with its longest kind of result: a new version with release notes.
    QFile version(m_umgebung->ordner.file(QStringLiteral("Kelvad7.Txt")));
    QVERIFY(version.open(QIODevice::WriteOnly));
    version.write("Version=7\nRelease=9\nDownload=https://www.example.de/kelvado/kelvado-7.9.deb\n"
                  "Text=Der Druck von Etiketten berücksichtigt jetzt die Ränder des Druckers.\n"
                  "Text=Der Import aus Tabellenkalkulationen ist deutlich schneller geworden.\n");
    version.close();
    QFile ini(m_umgebung->ordner.file(QStringLiteral("KELVAD.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[WebUpdate]\r\nQuelle=" + m_umgebung->ordner.path().toUtf8() + "\r\n");
    ini.close();
    WebUpdateAuftrag auftrag = ErzeugeWebUpdateAuftrag();
    auftrag.iniPfad = ini.fileName();
    frmWebUpdate web(auftrag);
    web.pruefen();
    QTRY_VERIFY(!web.prueftGerade());
    QVERIFY(web.downloadMoeglich());
    melden(QStringLiteral("Web-Update"), pruefe(&web, bildname("webupdate", punkt)));

    QVERIFY2(funde.isEmpty(), qPrintable(funde.join(u'\n')));
}

void TestLayout::hauptfensterUndZentrale()
{
    QFETCH(int, punkt);
    // The fonts come from the settings, as at every start.
    const QString pfad = m_umgebung->ordner.file(QStringLiteral("Adressen.mdb"));
    test::KundendatenbankErzeugen(pfad);
    {
        Einstellungen e;
        e.schreibe(AbschnittSettings, QStringLiteral("Datenbank"), pfad);
        e.schreibe(AbschnittSettings, QStringLiteral("Schriftpoint"), QString::number(punkt));
        e.schreibe(AbschnittSettings, QStringLiteral("SchriftpointMenü"), QString::number(punkt));
    }
    std::unique_ptr<frmMain> f = GMainEP({}, QString());
    QStringList funde = pruefe(f.get(), bildname("hauptfenster", punkt));
    frmZentrale* zentrale = frmZentrale::finde(f->mdiArea());
    QVERIFY(zentrale);
    funde += pruefe(zentrale->parentWidget(), bildname("zentrale", punkt));

    // A font chosen while the navigator is open makes it grow as well.
    f->setzeSchriftwahl([punkt](const QFont& aktuell, const QString&) {
        QFont neu = aktuell;
        neu.setPointSizeF(punkt + 4);
        return std::optional<QFont>(neu);
    });
    f->ActiveBar21_ToolClick(QStringLiteral("ansichtschriftfenster"));
    funde += pruefe(zentrale->parentWidget(), bildname("zentrale-groesser", punkt));
    f->close();
    QVERIFY2(funde.isEmpty(), qPrintable(funde.join(u'\n')));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
