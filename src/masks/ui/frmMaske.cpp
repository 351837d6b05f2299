#include "masks/ui/frmMaske.h"

#include "base/Dialoge.h"
#include "base/Format.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "masks/Elementeinstellungen.h"
#include "masks/Formelausdruck.h"
#include "masks/Maskendefinitionsformat.h"
#include "masks/Maskenwerkzeuge.h"
#include "masks/RecordsetFormeldaten.h"
#include "masks/Standardmaske.h"
#include "masks/ui/Elementfabrik.h"
#include "masks/ui/Maskenflaeche.h"
#include "masks/ui/Untertabelle.h"
#include "widgets/Anzeigefeld.h"
#include "widgets/DataGrid.h"
#include "widgets/Farbwert.h"
#include "widgets/Feldelement.h"
#include "widgets/Navigationsleiste.h"
#include "widgets/Spineingabe.h"
#include "widgets/Werkzeugleiste.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QTabWidget>
#include <cmath>

namespace kv {

namespace {

int dpiVon(const QWidget* w)
{
    const int dpi = w->logicalDpiX();
    return dpi > 0 ? dpi : 96;
}

} // namespace

frmMaske::frmMaske(QWidget* parent)
    : QMainWindow(parent)
    , m_steuerung(*this)
{
    setObjectName(QStringLiteral("frmMaske"));
    setAttribute(Qt::WA_DeleteOnClose);
    connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* neu) { fokusGeaendert(neu); });
}

frmMaske::~frmMaske()
{
    // The sub-tables belong to no parent; their grids and rows go with the widgets.
    for (Untertabelle* t : m_tabellen)
        delete t;
}

void frmMaske::DefText(const QString& name, const QString& definitionstext)
{
    m_name = name;
    m_definitionstext = definitionstext;
}

frmMaske* frmMaske::oeffne(QMdiArea* mdi, engine::Database& db, const Maskenumgebung& umgebung,
    const QString& name, const QString& definitionstext)
{
    auto* fenster = new frmMaske;
    fenster->DefText(name, definitionstext);
    QMdiSubWindow* rahmen = mdi ? mdi->addSubWindow(fenster) : nullptr;
    fenster->laden(db, umgebung);
    if (rahmen) {
        const Maskendefinition& m = fenster->definition();
        const int dpi = dpiVon(fenster);
        const auto px = [dpi](double twips) { return int(std::lround(twips * dpi / 1440.0)); };
        rahmen->adjustSize();
        if (m.breite > 0)
            rahmen->resize(px(m.breite) + rahmen->width() - fenster->width(), rahmen->height());
        if (m.links > 0 || m.oben > 0)
            rahmen->move(px(m.links), px(m.oben));
        rahmen->show();
    } else {
        fenster->show();
    }
    fenster->activateWindow();
    return fenster;
}

void frmMaske::laden(engine::Database& db, const Maskenumgebung& umgebung)
{
    m_umgebung = umgebung;
    definitionLesen(db);
    kopfAnwenden();
    m_steuerung.setzeEditiersperre(m_definition.editiersperre);
    m_steuerung.oeffne(db, m_definition.sql);
    leistenAufbauen(m_umgebung.leisten);
    elementeErzeugen(db, m_umgebung.verzeichnis);
    tastenkuerzelAnlegen();
    m_geladen = true;
    anzeigen();
}

void frmMaske::definitionLesen(engine::Database& db)
{
    m_symboldatei = QStringLiteral("Maske")
        + (m_definitionstext.isEmpty() ? QStringLiteral("Standard") : QStringLiteral("Benutzer"))
        + QStringLiteral("32.ico");
    const QString symbol = QDir(m_umgebung.leisten.grafikverzeichnis).filePath(m_symboldatei);
    if (QFile::exists(symbol))
        setWindowIcon(QIcon(symbol));
    QString text = m_definitionstext;
    if (text.isEmpty()) {
        QList<Maskenfeld> felder;
        try {
            if (engine::TableDef* t = db.tableDefs().find(m_name))
                felder = maskenfelder(*t);
        } catch (const engine::EngineError&) {
            // Without the table the record source reports the failure.
        }
        text = standardmaskentext(m_name, felder, standardZeilenhoehe(m_umgebung.schrift),
            Standardmaskenvariante::Fenster);
    }
    m_definition = leseMaskendefinition(text).definition;
    m_formeln = formelliste(m_definition);
}

void frmMaske::kopfAnwenden()
{
    setWindowTitle(m_definition.titel.trimmed());
    QFont schrift = m_umgebung.schrift;
    if (m_definition.schriftgroesse > 0)
        schrift.setPointSizeF(m_definition.schriftgroesse);
    setFont(schrift);

    m_flaeche = new Maskenflaeche(m_definition, dpiVon(this));
    m_ansicht = new QScrollArea(this);
    m_ansicht->setObjectName(QStringLiteral("VSViewPort1"));
    m_ansicht->setWidget(m_flaeche);
    m_ansicht->setWidgetResizable(false);
    m_ansicht->setFrameShape(QFrame::NoFrame);
    if (m_definition.proportional) {
        m_ansicht->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_ansicht->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    setCentralWidget(m_ansicht);

    QPalette p = m_flaeche->palette();
    p.setColor(QPalette::Window, Farbe(m_definition.farbeMaskeHintergrund, p));
    p.setColor(QPalette::WindowText, Farbe(m_definition.farbeMaskeText, p));
    m_flaeche->setPalette(p);
    m_flaeche->setAutoFillBackground(true);
    m_ansicht->viewport()->setPalette(p);
    m_ansicht->viewport()->setAutoFillBackground(true);
    m_flaeche->setzeHintergrund(
        m_definition.hintergrundbildDatei, QString(), m_definition.hintergrundbildAusrichtung);
    resize(m_flaeche->entwurfsgroesse().boundedTo(
        QSize(m_definition.breite > 0 ? m_flaeche->pixel(m_definition.breite) : 1 << 20,
            m_definition.hoehe > 0 ? m_flaeche->pixel(m_definition.hoehe) : 1 << 20)));
}

void frmMaske::leistenAufbauen(const Leistendarstellung& leisten)
{
    m_leisten = new Fensterleisten(this, leisten);
    m_leisten->aufbauen(maskenwerkzeuge(), int(m_definition.funktionsleisteAnzeige),
        m_definition.bedienelementeOben ? QStringLiteral("OBEN") : QStringLiteral("UNTEN"));
    m_leisten->setzeNavigationsmodus(int(m_definition.videoleisteAnzeige));
    m_leisten->setzeStatuszeile(m_definition.fensterMitStatuszeile);
    connect(m_leisten, &Fensterleisten::werkzeugGeklickt, this, &frmMaske::werkzeug);
    Navigationsleiste* nav = m_leisten->navigation();
    connect(
        nav, &Navigationsleiste::schritt, this, [this](Navigationsschritt s) { schritt(int(s)); });
    connect(nav, &Navigationsleiste::befehl, this, [this](Navigationsbefehl b) {
        switch (b) {
        case Navigationsbefehl::Neu:
            werkzeug(QStringLiteral("neu"));
            break;
        case Navigationsbefehl::Loeschen:
            werkzeug(QStringLiteral("löschen"));
            break;
        case Navigationsbefehl::Speichern:
            m_steuerung.speichern();
            break;
        case Navigationsbefehl::Abbrechen:
            m_steuerung.abbrechen();
            break;
        }
        werkzeugeAktualisieren();
    });
}

void frmMaske::elementeErzeugen(engine::Database& db, const QString& verzeichnis)
{
    Elementumgebung u;
    u.db = &db;
    u.datensatz = m_steuerung.datensatz();
    u.verzeichnis = verzeichnis;
    u.gesperrt = m_steuerung.gesperrt();
    u.hintergrund = Farbe(m_definition.farbeElementHintergrund, palette());
    u.text = Farbe(m_definition.farbeElementText, palette());
    m_flaeche->setzeHintergrund(
        m_definition.hintergrundbildDatei, verzeichnis, m_definition.hintergrundbildAusrichtung);
    for (int i = 0; i < m_definition.elemente.size(); ++i) {
        const Maskenelement& d = m_definition.elemente.at(i);
        QWidget* behaelter = m_flaeche->behaelter(d.seite);
        if (!behaelter)
            continue;
        Element e;
        e.index = i;
        e.art = d.art;
        if (d.art == Maskenelementart::EingabeTabelle) {
            auto* t
                = new Untertabelle(db, TabellenelementEinstellungen::aus(d), u.gesperrt, behaelter);
            e.tabelle = int(m_tabellen.size());
            m_tabellen.push_back(t);
            e.steuerung = t->grid();
        } else {
            e.steuerung = erzeugeSteuerung(d, u, behaelter);
            e.feld = qobject_cast<Feldelement*>(e.steuerung);
        }
        if (!e.steuerung)
            continue;
        e.steuerung->setToolTip(d.tooltip());
        // The check box and the option group show their caption themselves.
        const bool eigeneBeschriftung = d.art == Maskenelementart::EingabeCheckbox
            || d.art == Maskenelementart::EingabeOptionbox;
        e.beschriftung = m_flaeche->platziere(
            e.steuerung, d.seite, d, eigeneBeschriftung ? QString() : d.beschriftung);
        e.steuerung->show();
        m_elemente.push_back(e);
        elementVerbinden(m_elemente.back());
    }
}

void frmMaske::elementVerbinden(const Element& e)
{
    for (QWidget* w : e.steuerung->findChildren<QWidget*>())
        w->installEventFilter(this);
    e.steuerung->installEventFilter(this);
    if (e.tabelle >= 0) {
        Untertabelle* t = m_tabellen.at(size_t(e.tabelle));
        connect(t, &Untertabelle::zeilenGeaendert, this, [this, t] {
            if (!t->einstellungen().neuberechnen)
                return;
            formelnBerechnen(false);
            t->summenAktualisieren();
        });
        return;
    }
    if (!e.feld)
        return;
    // Text and number inputs carry their entries into the formulas as they are typed.
    const bool textOderZahl = e.art == Maskenelementart::EingabeText
        || e.art == Maskenelementart::EingabeZahl || e.art == Maskenelementart::EingabeGanzzahl;
    connect(e.feld, &Feldelement::wertGeaendert, this, [this, textOderZahl] {
        if (textOderZahl)
            formelnBerechnen(true);
    });
}

QWidget* frmMaske::steuerelement(int index) const
{
    for (const Element& e : m_elemente) {
        if (e.index == index)
            return e.steuerung;
    }
    return nullptr;
}

Feldelement* frmMaske::feldelement(int index) const
{
    return qobject_cast<Feldelement*>(steuerelement(index));
}

QLabel* frmMaske::beschriftung(int index) const
{
    for (const Element& e : m_elemente) {
        if (e.index == index)
            return e.beschriftung;
    }
    return nullptr;
}

Untertabelle* frmMaske::untertabelle(int n) const
{
    return n >= 0 && n < int(m_tabellen.size()) ? m_tabellen.at(size_t(n)) : nullptr;
}

const frmMaske::Element* frmMaske::elementMit(const QWidget* w) const
{
    for (const Element& e : m_elemente) {
        if (w && (w == e.steuerung || e.steuerung->isAncestorOf(w)))
            return &e;
    }
    return nullptr;
}

// Showing ---------------------------------------------------------------------------------------

void frmMaske::anzeigen()
{
    if (!m_geladen)
        return;
    datensatzAnzeigen();
    untertabellenZeigen();
    formelnBerechnen(false);
    navigationstext();
    werkzeugeAktualisieren();
}

void frmMaske::datensatzAnzeigen()
{
    engine::Recordset* rs = m_steuerung.datensatz();
    const bool mitSatz = m_steuerung.hatDatensatz() || m_steuerung.hinzufuegen();
    for (const Element& e : m_elemente) {
        if (!e.feld || e.feld->datenfeld().isEmpty())
            continue;
        QVariant wert;
        if (rs && mitSatz) {
            try {
                wert = rs->value(e.feld->datenfeld());
            } catch (const engine::EngineError&) {
                // A field the record source lacks leaves the element empty.
            }
        }
        e.feld->zeigeWert(wert);
    }
}

void frmMaske::untertabellenZeigen()
{
    engine::Recordset* rs = m_steuerung.datensatz();
    const bool mitSatz = m_steuerung.hatDatensatz() || m_steuerung.hinzufuegen();
    for (Untertabelle* t : m_tabellen) {
        if (!rs || !mitSatz) {
            t->leeren();
            continue;
        }
        // A record being added has no rows yet, and none can be entered before it is saved.
        QVariant hauptwert;
        try {
            if (!m_steuerung.hinzufuegen())
                hauptwert = rs->value(t->einstellungen().feldHaupttabelle);
        } catch (const engine::EngineError&) {
            // No such main field: no rows belong to the record.
        }
        t->zeige(hauptwert);
    }
}

void frmMaske::formelnBerechnen(bool mitFenster)
{
    if (m_formeln.isEmpty())
        return;
    QList<engine::Recordset*> tabellen;
    for (Untertabelle* t : m_tabellen)
        tabellen.append(t->zeilen());
    const RecordsetFormeldaten daten(m_steuerung.datensatz(), tabellen);
    if (!daten.hatDatensatz())
        return;
    for (const Formeleintrag& f : m_formeln) {
        auto* anzeige = qobject_cast<Anzeigefeld*>(steuerelement(f.element));
        if (!anzeige)
            continue;
        const Formelergebnis r
            = werteAusdruckAus(loeseVerweiseAuf(f.formel, daten, mitFenster ? this : nullptr));
        const QString format = anzeige->einstellungen().anzeigeformat;
        const QString text
            = r.fehler == 0 && !format.isEmpty() ? Format(r.wert, format) : formelergebnistext(r);
        anzeige->setzeText(text);
        // Other display texts bound to the same field show the same result.
        const QString feld = anzeige->datenfeld().toUpper();
        if (feld.isEmpty())
            continue;
        for (const Element& e : m_elemente) {
            auto* andere = qobject_cast<Anzeigefeld*>(e.steuerung);
            if (andere && andere != anzeige && andere->datenfeld().toUpper() == feld)
                andere->setzeText(text);
        }
    }
}

void frmMaske::navigationstext()
{
    Navigationsleiste* nav = m_leisten->navigation();
    const QString feld = m_definition.videoleisteDatenfeld.trimmed();
    engine::Recordset* rs = m_steuerung.datensatz();
    if (!feld.isEmpty()) {
        QString text;
        if (rs && m_steuerung.hatDatensatz()) {
            try {
                text = Format(rs->value(feld));
            } catch (const engine::EngineError&) {
                // An unknown field shows nothing.
            }
        }
        nav->setzeText(text);
        return;
    }
    nav->setzeText(Positionstext(m_steuerung.position(), m_steuerung.anzahl()));
}

void frmMaske::werkzeugeAktualisieren()
{
    for (const Werkzeugstand& w : maskenwerkzeugstaende(m_steuerung.lage())) {
        m_leisten->setzeAktiv(w.name, w.aktiv);
        if (!w.text.isNull())
            m_leisten->setzeText(w.name, w.text);
        if (!w.tooltip.isNull())
            m_leisten->setzeTooltip(w.name, w.tooltip);
    }
    m_leisten->navigation()->setzeBearbeitbar(!m_steuerung.gesperrt());
}

void frmMaske::fokusGeaendert(QWidget* neu)
{
    if (!neu || !m_geladen || !isAncestorOf(neu))
        return;
    const Element* e = elementMit(neu);
    if (!e)
        return;
    if (m_definition.virtuell)
        m_ansicht->ensureWidgetVisible(e->steuerung);
    if (!m_definition.fensterMitStatuszeile)
        return;
    const Maskenelement& d = m_definition.elemente.at(e->index);
    QString text = d.hilfetext();
    if (text.isEmpty()) {
        const bool anzeige = !e->feld || e->feld->nurLesen();
        text = (anzeige ? QStringLiteral("Anzeige") : QStringLiteral("Eingabe"))
            + QStringLiteral(" Datenfeld: ") + d.datenfeld;
    }
    m_leisten->setzeHilfstext(text);
}

// The record logic's view ---------------------------------------------------------------------

QList<Elementwert> frmMaske::elementwerte() const
{
    QList<Elementwert> werte;
    for (const Element& e : m_elemente) {
        Feldelement* f = schreibendesFeld(e.steuerung, e.art);
        if (!f || f->datenfeld().isEmpty())
            continue;
        werte.append({ e.index, familieVon(e.art), f->datenfeld(),
            f->datenGeaendert() ? f->wert() : QVariant(), f->datenGeaendert() });
    }
    return werte;
}

bool frmMaske::eingabenPruefen()
{
    for (const Element& e : m_elemente) {
        auto* eingabe = qobject_cast<Spineingabe*>(e.steuerung);
        if (eingabe && !eingabe->pruefen())
            return false;
    }
    return true;
}

void frmMaske::alsGespeichertMarkieren(const QList<int>& elemente)
{
    for (const int i : elemente) {
        if (Feldelement* f = feldelement(i))
            f->setzeDatenGeaendert(false);
    }
}

bool frmMaske::tabellenzeileSpeichern(int n)
{
    return m_tabellen.at(size_t(n))->speichern();
}

engine::Recordset* frmMaske::tabellenzeilen(int n)
{
    return m_tabellen.at(size_t(n))->zeilen();
}

void frmMaske::hinweis(const QString& text)
{
    if (m_definition.fensterMitStatuszeile)
        m_leisten->setzeHilfstext(text);
    else if (m_umgebung.statustext)
        m_umgebung.statustext(text);
}

void frmMaske::anzahlBekannt()
{
    navigationstext();
    werkzeugeAktualisieren();
}

QStringList frmMaske::eingabetexte(const QString& feld) const
{
    QStringList texte;
    const QString gesucht = feld.trimmed().toUpper();
    for (const Element& e : m_elemente) {
        Feldelement* f = schreibendesFeld(e.steuerung, e.art);
        if (f && f->datenfeld().toUpper() == gesucht)
            texte.append(f->eingabetext());
    }
    return texte;
}

void frmMaske::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (m_definition.proportional && m_flaeche && m_ansicht)
        m_flaeche->skaliere(m_ansicht->viewport()->size());
}

void frmMaske::closeEvent(QCloseEvent* e)
{
    if (!m_steuerung.schliessen()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

} // namespace kv
