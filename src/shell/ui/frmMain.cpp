#include "shell/ui/frmMain.h"

#include "base/Format.h"
#include "base/Hilfe.h"
#include "base/Programmverzeichnis.h"
#include "shell/Aktionsschutz.h"
#include "shell/Anwendung.h"
#include "shell/Befehlsstatus.h"
#include "shell/Befehlstabelle.h"
#include "shell/Einstellungen.h"
#include "shell/Fensteranordnung.h"
#include "shell/Hilfeseiten.h"
#include "shell/Menuepersonalisierung.h"
#include "shell/Prozesswerte.h"
#include "shell/StartEinstellungen.h"
#include "shell/Statustext.h"
#include "shell/ui/Fensterzustand.h"
#include "shell/ui/Hilfetaste.h"
#include "shell/ui/Menueverhalten.h"
#include "shell/ui/frmHilfe.h"
#include "widgets/Werkzeugleiste.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QFontDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QWhatsThis>
#include <algorithm>

namespace kv {

namespace {

const QString Settings = AbschnittSettings;

std::optional<QFont> schriftdialog(const QFont& aktuell, const QString& titel)
{
    bool ok = false;
    const QFont schrift = QFontDialog::getFont(&ok, aktuell, QApplication::activeWindow(), titel);
    if (!ok)
        return std::nullopt;
    return schrift;
}

} // namespace

Werkzeug frmMain::werkzeugAusBefehl(const Befehl& b)
{
    Werkzeug w;
    w.name = b.name;
    w.text = b.text;
    w.symbol = b.symbol;
    w.tooltip = b.beschreibung;
    if (!b.tastenkuerzel.isEmpty())
        w.tastenkuerzel = QStringList { b.tastenkuerzel };
    return w;
}

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent)
    , m_mdi(new QMdiArea(this))
    , m_hauptleiste(new Werkzeugleiste(
          QStringLiteral("mtbHauptleiste"), Bandtitel(QStringLiteral("mtbHauptleiste")), this))
    , m_fenstergruppe(new QActionGroup(this))
    , m_datenbank(std::make_unique<Datenbankbefehle>())
    , m_fenster(std::make_unique<Fensteraufrufe>())
    , m_schriftwahl(schriftdialog)
{
    setObjectName(QStringLiteral("frmMain"));
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::Hauptfenster);
    new Hilfetaste(this);
    setzeHilfeanzeige([this](const QString& seite) {
        hilfe()->zeigeSeite(seite);
        hilfeAnzeigen();
    });
    setCentralWidget(m_mdi);
    // The caption keeps its trailing blank, as the program always showed it.
    setWindowTitle(Anwendungstitel + QLatin1Char(' '));
    resize(1024, 700);

    menuBar()->setObjectName(QStringLiteral("Menu Bar"));
    for (const QString& name : Menuebaender()) {
        QMenu* menue = menuBar()->addMenu(Bandtitel(name));
        menue->setObjectName(name);
        m_baender.insert(name, menue);
    }
    for (const QString& name :
        { QStringLiteral("mpAnpassenText"), QStringLiteral("mpAnpassenGröße") }) {
        auto* menue = new QMenu(Bandtitel(name), this);
        menue->setObjectName(name);
        m_baender.insert(name, menue);
        menueFuellen(menue, Bandinhalt(name));
    }
    for (const QString& name : Menuebaender())
        menueFuellen(m_baender.value(name), Bandinhalt(name));

    auto* textgruppe = new QActionGroup(this);
    for (const QString& name : Bandinhalt(QStringLiteral("mpAnpassenText")))
        textgruppe->addAction(m_menueAktionen.value(name));
    auto* groessengruppe = new QActionGroup(this);
    for (const QString& name : Bandinhalt(QStringLiteral("mpAnpassenGröße")))
        groessengruppe->addAction(m_menueAktionen.value(name));
    for (const char* name :
        { "ansichtsymbolleiste", "ansichtstatusleiste", "ansichtmenüpersonalisiert" })
        m_menueAktionen.value(QString::fromUtf8(name))->setCheckable(true);
    for (QAction* a : textgruppe->actions() + groessengruppe->actions())
        a->setCheckable(true);

    // The history entries follow the designed tools of "Datei": a separator and 20 hidden tools.
    QMenu* datei = m_baender.value(QStringLiteral("Datei"));
    m_historieTrenner = datei->addSeparator();
    m_historieTrenner->setObjectName(QStringLiteral("miSeparator"));
    for (int i = 1; i <= MaxHistorie; ++i) {
        QAction* a = neueAktion(Historienname(i));
        a->setVisible(false);
        datei->addAction(a);
    }
    m_historie.setzeMenueAufbau(
        [this](const QList<HistorieEintrag>& eintraege) { historieAufbauen(eintraege); });

    connect(m_baender.value(QStringLiteral("Fenster")), &QMenu::aboutToShow, this,
        &frmMain::fensterlisteAufbauen);
    for (const QString& name : Menuebaender())
        new Menueverhalten(
            m_baender.value(name), [this]() -> const Leistenlayout& { return m_layout; });

    connect(
        m_hauptleiste, &Werkzeugleiste::werkzeugGeklickt, this, &frmMain::ActiveBar21_ToolClick);
    m_hauptleiste->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_hauptleiste, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu kontext;
        menueFuellen(&kontext, Bandinhalt(QStringLiteral("mtbKontext")));
        kontext.exec(m_hauptleiste->mapToGlobal(pos));
    });
    addToolBar(Qt::TopToolBarArea, m_hauptleiste);

    statusleisteAufbauen();
    setzeStatusziel([this](const QString& text) { setzeStatustext(text); });

    const StartEinstellungen werte = StartEinstellungen::lade(Einstellungen());
    m_layout = Leistenlayout::standard();
    LayoutLaden(m_layout);
    // The settings decide what the main window's own switches show.
    m_layout.optionen.grosseSymbole = !werte.iconToolbarKlein;
    m_symboleKlein = werte.iconToolbarKlein;
    leistenAnwenden();
    m_menueAktionen.value(QStringLiteral("ansichtmenüpersonalisiert"))
        ->setChecked(m_layout.optionen.personalisiert);
    m_hauptleiste->setVisible(werte.hauptSymbolleisteAnzeigen);
    m_menueAktionen.value(QStringLiteral("ansichtsymbolleiste"))
        ->setChecked(werte.hauptSymbolleisteAnzeigen);
    statusBar()->setVisible(werte.hauptStatusleisteAnzeigen);
    m_menueAktionen.value(QStringLiteral("ansichtstatusleiste"))
        ->setChecked(werte.hauptStatusleisteAnzeigen);
    setzeTextanzeige(werte.toolbarTextanzeige);
    ToolbarIconsZuweisen(menuBar(), true);
    setzeSymbolgroesse(werte.iconToolbarKlein);
    statusBar()->setFont(Menueschrift());
    schriftenAnwenden();

    setzeWerkzeugAktiv(QStringLiteral("transaktionupdate"), false);
    setzeWerkzeugAktiv(QStringLiteral("transaktionrollback"), false);
    SetzeBefehlsstatus(false);
}

frmMain::~frmMain()
{
    setzeStatusziel({});
    setzeHilfeanzeige({});
}

QAction* frmMain::neueAktion(const QString& name)
{
    const Befehl* b = FindeBefehl(name);
    Werkzeug w;
    if (b)
        w = werkzeugAusBefehl(*b);
    w.name = name;
    QAction* a = WerkzeugAktion(w, this);
    a->setShortcuts(m_layout.tasten.tasten(name));
    a->setEnabled(m_aktiv.value(name, true));
    connect(a, &QAction::triggered, this, [this, name] { ActiveBar21_ToolClick(name); });
    m_menueAktionen.insert(name, a);
    return a;
}

void frmMain::menueFuellen(QMenu* menue, const QStringList& namen)
{
    for (const QString& name : namen) {
        if (name.isEmpty())
            menue->addSeparator()->setObjectName(QStringLiteral("miSeparator"));
        else if (QMenu* unter = m_baender.value(name))
            menue->addMenu(unter);
        else if (name == QLatin1String("MDIListe"))
            continue; // filled when the menu opens
        else if (QAction* vorhanden = m_menueAktionen.value(name))
            menue->addAction(vorhanden);
        else
            menue->addAction(neueAktion(name));
    }
}

void frmMain::statusleisteAufbauen()
{
    QStatusBar* leiste = statusBar();
    leiste->setObjectName(QStringLiteral("msb"));
    leiste->setWindowTitle(Bandtitel(QStringLiteral("msb")));

    m_hilfstext = new QLabel(StatustextAnzeige(QString()));
    m_hilfstext->setObjectName(QStringLiteral("Hilfstext"));
    leiste->addWidget(m_hilfstext, 1);

    const Befehl* aktiv = FindeBefehl(QStringLiteral("AktiveDatenbank"));
    m_aktiveDatenbank = new QToolButton;
    m_aktiveDatenbank->setObjectName(aktiv->name);
    m_aktiveDatenbank->setAutoRaise(true);
    m_aktiveDatenbank->setText(aktiv->text);
    m_aktiveDatenbank->setToolTip(aktiv->beschreibung);
    m_aktiveDatenbank->setStatusTip(aktiv->beschreibung);
    connect(m_aktiveDatenbank, &QToolButton::clicked, this,
        [this] { ActiveBar21_ToolClick(QStringLiteral("AktiveDatenbank")); });
    leiste->addPermanentWidget(m_aktiveDatenbank);

    const Befehl* datum = FindeBefehl(QStringLiteral("Datum"));
    // The program's short date, with the four-digit year the other windows show.
    m_datum = new QLabel(Format(QDate::currentDate(), QStringLiteral("Short Date")));
    m_datum->setObjectName(datum->name);
    m_datum->setToolTip(datum->beschreibung);
    leiste->addPermanentWidget(m_datum);
}

void frmMain::ActiveBar21_ToolClick(const QString& tool)
{
    const Befehl* b = FindeBefehl(tool);
    if (!b)
        return;
    if (Historiennummer(tool) == 0)
        m_layout.zuletztVerwendet
            = Menuepersonalisierung::Verwendet(m_layout.zuletztVerwendet, tool);
    // A refused password ends the command without a further message.
    if (b->aktion > 0 && !PruefeAktionsschutz(b->aktion))
        return;

    using Z = Befehlsziel;
    switch (b->ziel) {
    case Z::Keins:
        break;
    case Z::DateiNeu:
        m_datenbank->neu();
        break;
    case Z::DateiOeffnen:
        m_datenbank->oeffnen();
        break;
    case Z::DateiSchliessen:
        m_datenbank->schliessen();
        break;
    case Z::DateiSpeichern:
        m_datenbank->speichern();
        break;
    case Z::DateiSpeichernUnter:
        m_datenbank->speichernUnter();
        break;
    case Z::DateiKomprimieren:
        m_datenbank->komprimieren();
        break;
    case Z::DateiReparieren:
        m_datenbank->reparieren();
        break;
    case Z::DateiSichern:
        m_datenbank->sichern();
        break;
    case Z::DateiRuecksichern:
        m_datenbank->ruecksichern();
        break;
    case Z::Historie:
        if (Historiennummer(tool) <= m_historie.eintraege().size())
            m_datenbank->historieOeffnen(Historiennummer(tool));
        break;
    case Z::Ende:
        close();
        break;
    case Z::TransaktionBeginnen:
        m_datenbank->transaktionBeginnen();
        break;
    case Z::TransaktionUpdate:
        m_datenbank->transaktionUpdate();
        break;
    case Z::TransaktionRollback:
        m_datenbank->transaktionRollback();
        break;
    case Z::Datenzentrale:
        m_fenster->datenzentrale();
        break;
    case Z::Strukturgenerator:
        m_fenster->strukturgenerator();
        break;
    case Z::Import:
        m_fenster->importExport(false);
        break;
    case Z::Export:
        m_fenster->importExport(true);
        break;
    case Z::GlobalesAendern:
        m_fenster->global(0);
        break;
    case Z::GlobalesLoeschen:
        m_fenster->global(1);
        break;
    case Z::Hochzaehlautomatik:
        m_fenster->global(2);
        break;
    case Z::Optionen:
        m_fenster->optionen();
        break;
    case Z::MenueAnpassen:
        menueAnpassen();
        break;
    case Z::TexteAnpassen:
        m_fenster->texteAnpassen();
        break;
    case Z::Symbolleiste:
        umschalten(m_hauptleiste, tool);
        break;
    case Z::Statusleiste:
        umschalten(statusBar(), tool);
        break;
    case Z::MenuePersonalisiert:
        // The menus read the switch each time they open.
        m_layout.optionen.personalisiert = !m_layout.optionen.personalisiert;
        m_menueAktionen.value(tool)->setChecked(m_layout.optionen.personalisiert);
        break;
    case Z::Textanzeige:
        setzeTextanzeige(Textanzeigewert(tool));
        Einstellungen().schreibe(Settings, b->einstellung, QString::number(Textanzeigewert(tool)));
        break;
    case Z::Symbolgroesse:
        setzeSymbolgroesse(tool == QLatin1String("mpklein"));
        Einstellungen().schreibeBool(Settings, b->einstellung, m_symboleKlein);
        break;
    case Z::SchriftFenster:
        schriftWaehlen(false);
        break;
    case Z::SchriftSymbolleisten:
        schriftWaehlen(true);
        break;
    case Z::Ueberlappend:
        m_mdi->cascadeSubWindows();
        break;
    case Z::Untereinander:
        anordnen(true);
        break;
    case Z::Nebeneinander:
        anordnen(false);
        break;
    case Z::SymboleAnordnen:
        symboleAnordnen();
        break;
    case Z::AlleSchliessen:
        EntladeFenster(2);
        break;
    case Z::Hilfethemen:
        hilfe()->zeigeInhalt();
        hilfeAnzeigen();
        break;
    case Z::HilfeSuchen:
        hilfe()->zeigeSuche();
        hilfeAnzeigen();
        break;
    case Z::Direkthilfe:
        QWhatsThis::enterWhatsThisMode();
        break;
    case Z::Webupdate:
        m_fenster->webupdate();
        break;
    case Z::Info:
        m_fenster->info();
        break;
    }
}

void frmMain::setzeDatenbankbefehle(std::unique_ptr<Datenbankbefehle> befehle)
{
    m_datenbank = befehle ? std::move(befehle) : std::make_unique<Datenbankbefehle>();
}

void frmMain::setzeFensteraufrufe(std::unique_ptr<Fensteraufrufe> aufrufe)
{
    m_fenster = aufrufe ? std::move(aufrufe) : std::make_unique<Fensteraufrufe>();
}

void frmMain::SetzeBefehlsstatus(bool offen, bool nurLesen, bool transaktionen)
{
    for (const auto& [name, aktiv] : Befehlsstatus(offen, nurLesen, transaktionen))
        setzeWerkzeugAktiv(name, aktiv);
}

void frmMain::setzeAktiveDatenbank(const QString& datenbank)
{
    const Datenbankanzeige anzeige = Datenbankanzeige::fuer(datenbank);
    m_aktiveDatenbank->setText(anzeige.text);
    m_aktiveDatenbank->setToolTip(anzeige.beschreibung);
    m_aktiveDatenbank->setStatusTip(anzeige.beschreibung);
}

QList<QAction*> frmMain::werkzeuge(const QString& name) const
{
    QList<QAction*> gefunden;
    for (QAction* a : findChildren<QAction*>(name)) {
        if (!a->isSeparator())
            gefunden.append(a);
    }
    return gefunden;
}

void frmMain::setzeWerkzeugAktiv(const QString& name, bool aktiv)
{
    m_aktiv.insert(name, aktiv);
    for (QAction* a : werkzeuge(name))
        a->setEnabled(aktiv);
}

bool frmMain::werkzeugAktiv(const QString& name) const
{
    const QList<QAction*> aktionen = werkzeuge(name);
    return !aktionen.isEmpty() && aktionen.constFirst()->isEnabled();
}

void frmMain::setzeStatustext(const QString& text)
{
    m_hilfstext->setText(StatustextAnzeige(text));
    // Long operations set the text and keep the event loop busy; show it now.
    m_hilfstext->repaint();
}

QString frmMain::statustext() const
{
    return m_hilfstext->text();
}

void frmMain::ToolbarIconsZuweisen(QWidget* leiste, bool klein)
{
    kv::ToolbarIconsZuweisen(leiste, klein, Grafikverzeichnis(), Menueschrift());
}

int frmMain::PopupAuswahl(const QStringList& eintraege)
{
    return kv::PopupAuswahl(eintraege, Grafikverzeichnis(), QCursor::pos(), this);
}

void frmMain::EntladeFenster(int n)
{
    const int behalten = std::max(0, n - 1);
    for (;;) {
        const QList<QMdiSubWindow*> fenster = m_mdi->subWindowList(QMdiArea::CreationOrder);
        if (fenster.size() <= behalten)
            return;
        QMdiSubWindow* opfer = fenster.at(behalten);
        if (!opfer->close())
            return;
        // A closed sub-window without WA_DeleteOnClose stays in the list: take it out.
        if (m_mdi->subWindowList().contains(opfer)) {
            m_mdi->removeSubWindow(opfer);
            opfer->deleteLater();
        }
    }
}

frmHilfe* frmMain::hilfe()
{
    if (!m_hilfe)
        m_hilfe = std::make_unique<frmHilfe>();
    return m_hilfe.get();
}

void frmMain::hilfeAnzeigen()
{
    frmHilfe* h = hilfe();
    // Asked from a modal dialog, the help would be blocked by it: there it is modal itself until
    // the user closes it.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality gewuenscht = modal && modal != h ? Qt::ApplicationModal : Qt::NonModal;
    if (h->windowModality() != gewuenscht) {
        h->hide();
        h->setWindowModality(gewuenscht);
    }
    h->show();
    h->raise();
    h->activateWindow();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Child windows with unsaved work may refuse; then the program keeps running.
    m_mdi->closeAllSubWindows();
    const QList<QMdiSubWindow*> offen = m_mdi->subWindowList();
    if (std::any_of(
            offen.cbegin(), offen.cend(), [](const QWidget* w) { return w->isVisible(); })) {
        event->ignore();
        return;
    }
    m_datenbank->beenden();
    layoutAusFensterUebernehmen();
    LayoutSpeichern(m_layout);
    Einstellungen einstellungen;
    SchriftenSpeichern(einstellungen);
    m_historie.speichern();
    HauptfensterzustandSpeichern(this, einstellungen);
    einstellungen.sichern();
    if (m_hilfe)
        m_hilfe->close();
    event->accept();
}

void frmMain::historieAufbauen(const QList<HistorieEintrag>& eintraege)
{
    const QList<HistorieMenuePunkt> punkte = Historienliste::menuePunkte(eintraege);
    for (int i = 1; i <= MaxHistorie; ++i) {
        QAction* a = m_menueAktionen.value(Historienname(i));
        if (i <= punkte.size()) {
            a->setText(punkte.at(i - 1).text);
            a->setStatusTip(punkte.at(i - 1).beschreibung);
            a->setToolTip(punkte.at(i - 1).beschreibung);
            a->setVisible(true);
        } else {
            a->setVisible(false);
        }
    }
}

void frmMain::fensterlisteAufbauen()
{
    QMenu* menue = m_baender.value(QStringLiteral("Fenster"));
    for (QAction* a : std::as_const(m_fensterliste)) {
        menue->removeAction(a);
        delete a;
    }
    m_fensterliste.clear();
    int nummer = 0;
    for (QMdiSubWindow* fenster : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        ++nummer;
        const QString titel
            = fenster->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = menue->addAction(
            (nummer < 10 ? QStringLiteral("&%1 ").arg(nummer) : QStringLiteral("%1 ").arg(nummer))
            + titel);
        a->setObjectName(QStringLiteral("MDIListe"));
        a->setCheckable(true);
        a->setChecked(fenster == m_mdi->activeSubWindow());
        a->setActionGroup(m_fenstergruppe);
        connect(a, &QAction::triggered, this, [this, fenster] {
            fenster->showNormal();
            m_mdi->setActiveSubWindow(fenster);
        });
        m_fensterliste.append(a);
    }
}

void frmMain::umschalten(QWidget* leiste, const QString& werkzeug)
{
    const bool sichtbar = leiste->isHidden();
    leiste->setVisible(sichtbar);
    m_menueAktionen.value(werkzeug)->setChecked(sichtbar);
    Einstellungen().schreibeBool(Settings, FindeBefehl(werkzeug)->einstellung, sichtbar);
}

void frmMain::setzeTextanzeige(int wert)
{
    if (wert < 0 || wert > 4)
        wert = 0;
    m_hauptleiste->setzeTextanzeige(wert);
    for (Werkzeugleiste* leiste : std::as_const(m_benutzerleisten))
        leiste->setzeTextanzeige(wert);
    m_menueAktionen.value(TextanzeigeWerkzeug(wert))->setChecked(true);
}

void frmMain::setzeSymbolgroesse(bool klein)
{
    m_symboleKlein = klein;
    m_layout.optionen.grosseSymbole = !klein;
    m_menueAktionen.value(klein ? QStringLiteral("mpklein") : QStringLiteral("mpgross"))
        ->setChecked(true);
    ToolbarIconsZuweisen(m_hauptleiste, klein);
    for (Werkzeugleiste* leiste : std::as_const(m_benutzerleisten))
        ToolbarIconsZuweisen(leiste, klein);
}

void frmMain::schriftWaehlen(bool symbolleisten)
{
    QFont& schrift = symbolleisten ? Menueschrift() : Programmschrift();
    const Befehl* b = FindeBefehl(symbolleisten ? QStringLiteral("ansichtschriftsymbolleiste")
                                                : QStringLiteral("ansichtschriftfenster"));
    const std::optional<QFont> gewaehlt = m_schriftwahl(schrift, b->beschreibung);
    if (!gewaehlt)
        return;
    schrift.setFamily(gewaehlt->family());
    schrift.setPointSizeF(gewaehlt->pointSizeF());
    schrift.setBold(false);
    schriftenAnwenden();
}

void frmMain::schriftenAnwenden()
{
    m_menueAktionen.value(QStringLiteral("ansichtschriftfenster"))
        ->setText(QStringLiteral("Schrift Arbeitsfenster: ") + Programmschrift().family());
    m_menueAktionen.value(QStringLiteral("ansichtschriftsymbolleiste"))
        ->setText(QStringLiteral("Schrift Symbolleisten: ") + Menueschrift().family());
    for (QMdiSubWindow* fenster : m_mdi->subWindowList()) {
        if (fenster->widget())
            fenster->widget()->setFont(Programmschrift());
    }
    menuBar()->setFont(Menueschrift());
    for (QMenu* menue : std::as_const(m_baender))
        menue->setFont(Menueschrift());
    m_hauptleiste->setFont(Menueschrift());
    for (Werkzeugleiste* leiste : std::as_const(m_benutzerleisten))
        leiste->setFont(Menueschrift());
    statusBar()->setFont(Menueschrift());
}

void frmMain::anordnen(bool untereinander)
{
    QList<QMdiSubWindow*> fenster;
    for (QMdiSubWindow* f : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (f->isVisible() && !f->isMinimized())
            fenster.append(f);
    }
    const QRect flaeche = m_mdi->viewport()->rect();
    const QList<QRect> rahmen = untereinander ? Untereinander(int(fenster.size()), flaeche)
                                              : Nebeneinander(int(fenster.size()), flaeche);
    for (qsizetype i = 0; i < fenster.size(); ++i) {
        fenster.at(i)->showNormal();
        fenster.at(i)->setGeometry(rahmen.at(i));
    }
}

void frmMain::symboleAnordnen()
{
    QList<QMdiSubWindow*> symbole;
    for (QMdiSubWindow* f : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (f->isMinimized())
            symbole.append(f);
    }
    if (symbole.isEmpty())
        return;
    const QList<QPoint> positionen = Symbolpositionen(
        int(symbole.size()), symbole.constFirst()->size(), m_mdi->viewport()->rect());
    for (qsizetype i = 0; i < symbole.size(); ++i)
        symbole.at(i)->move(positionen.at(i));
}

} // namespace kv
