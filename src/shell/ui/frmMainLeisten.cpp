#include "shell/ui/frmMain.h"

#include "shell/Befehlstabelle.h"
#include "shell/Einstellungen.h"
#include "shell/ui/TexteSymbolleiste.h"
#include "shell/ui/frmAnpassen.h"
#include "widgets/Werkzeugleiste.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QToolButton>
#include <algorithm>

// The main window's bars as the user arranged them.

namespace kv {

namespace {

Qt::ToolBarArea leistenbereich(const QString& bereich)
{
    if (bereich == QLatin1String("unten"))
        return Qt::BottomToolBarArea;
    if (bereich == QLatin1String("links"))
        return Qt::LeftToolBarArea;
    if (bereich == QLatin1String("rechts"))
        return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}

QString bereichsname(Qt::ToolBarArea bereich)
{
    switch (bereich) {
    case Qt::BottomToolBarArea:
        return QStringLiteral("unten");
    case Qt::LeftToolBarArea:
        return QStringLiteral("links");
    case Qt::RightToolBarArea:
        return QStringLiteral("rechts");
    default:
        return QStringLiteral("oben");
    }
}

} // namespace

Werkzeugleiste* frmMain::leiste(const QString& name) const
{
    if (name == m_hauptleiste->objectName())
        return m_hauptleiste;
    for (Werkzeugleiste* l : m_benutzerleisten) {
        if (l->objectName() == name)
            return l;
    }
    return nullptr;
}

void frmMain::setzeLeistenlayout(const Leistenlayout& layout)
{
    m_layout = layout;
    if (layout.optionen.grosseSymbole == m_symboleKlein) {
        setzeSymbolgroesse(!layout.optionen.grosseSymbole);
        Einstellungen().schreibeBool(
            AbschnittSettings, QStringLiteral("IconToolbarKlein"), m_symboleKlein);
    }
    m_menueAktionen.value(QStringLiteral("ansichtmenüpersonalisiert"))
        ->setChecked(layout.optionen.personalisiert);
    const bool hauptleisteVorher = !m_hauptleiste->isHidden();
    leistenAnwenden();
    if (!m_hauptleiste->isHidden() != hauptleisteVorher) {
        m_menueAktionen.value(QStringLiteral("ansichtsymbolleiste"))
            ->setChecked(!m_hauptleiste->isHidden());
        Einstellungen().schreibeBool(AbschnittSettings, QStringLiteral("HauptSymbolleisteAnzeigen"),
            !m_hauptleiste->isHidden());
    }
}

QList<Werkzeug> frmMain::werkzeugeFuer(const Leistenbelegung& leiste) const
{
    static const QList<Werkzeug> haupt = WerkzeugeAusDefinition(Hauptleistendefinition());
    QList<Werkzeug> werkzeuge;
    for (const QString& name : leiste.werkzeuge) {
        Werkzeug w;
        if (name.isEmpty()) {
            w.trennlinie = true;
            werkzeuge.append(w);
            continue;
        }
        const auto designt = std::find_if(
            haupt.cbegin(), haupt.cend(), [&](const Werkzeug& h) { return h.name == name; });
        if (designt != haupt.cend()) {
            w = *designt;
        } else if (const Befehl* b = FindeBefehl(name)) {
            w = werkzeugAusBefehl(*b);
            w.text.remove(QLatin1Char('&'));
            w.tastenkuerzel.clear();
        }
        const Werkzeugtexte texte = m_layout.anzeigetexte(leiste.name, name);
        w.text = texte.text;
        w.tooltip = texte.tooltip;
        const QAction* menue = m_menueAktionen.value(name);
        if (m_layout.optionen.tastenInQuickinfo && menue && !menue->shortcut().isEmpty())
            w.tooltip += QStringLiteral(" (") + Tastentext(menue->shortcut()) + QLatin1Char(')');
        werkzeuge.append(w);
    }
    return werkzeuge;
}

void frmMain::tastenAnwenden()
{
    for (const Befehl& b : Befehlstabelle()) {
        if (!Tastenbelegung::belegbar(b.name))
            continue;
        const QList<QKeySequence> tasten = m_layout.tasten.tasten(b.name);
        QAction* a = m_menueAktionen.value(b.name);
        if (!a && tasten.isEmpty())
            continue;
        if (!a)
            a = neueAktion(b.name);
        a->setShortcuts(tasten);
        // The key works also for commands on no menu (taken out, or tool-bar only); the
        // buttons never carry keys, so the action stays the key's only owner.
        addAction(a);
    }
}

void frmMain::leistenAnwenden()
{
    tastenAnwenden();
    for (qsizetype i = m_benutzerleisten.size() - 1; i >= 0; --i) {
        Werkzeugleiste* l = m_benutzerleisten.at(i);
        if (!m_layout.leiste(l->objectName())) {
            removeToolBar(l);
            m_benutzerleisten.removeAt(i);
            delete l;
        }
    }
    for (const Leistenbelegung& belegung : std::as_const(m_layout.leisten)) {
        if (belegung.menue) {
            menueNeuAufbauen(belegung);
            continue;
        }
        Werkzeugleiste* l = leiste(belegung.name);
        if (!l) {
            l = new Werkzeugleiste(belegung.name, belegung.titel, this);
            connect(l, &Werkzeugleiste::werkzeugGeklickt, this, &frmMain::ActiveBar21_ToolClick);
            l->setzeTextanzeige(m_hauptleiste->textanzeige());
            m_benutzerleisten.append(l);
        }
        l->setWindowTitle(belegung.titel);
        l->aufbauen(werkzeugeFuer(belegung));
        for (QAction* a : l->actions()) {
            if (!a->isSeparator())
                a->setEnabled(m_aktiv.value(a->objectName(), true));
        }
        for (QToolButton* knopf : l->findChildren<QToolButton*>()) {
            knopf->installEventFilter(this);
            // Qt's button for the buttons that do not fit.
            if (knopf->objectName() == QLatin1String("qt_toolbar_ext_button"))
                knopf->setToolTip(QStringLiteral("Weitere Schaltflächen"));
        }
        addToolBar(leistenbereich(belegung.bereich), l);
        l->setVisible(belegung.sichtbar);
        ToolbarIconsZuweisen(l, m_symboleKlein);
    }
    for (const Textaenderung& t : std::as_const(m_layout.texte)) {
        QAction* a = m_baender.contains(t.leiste) ? m_menueAktionen.value(t.werkzeug) : nullptr;
        if (!a)
            continue;
        if (!t.text.isEmpty())
            a->setText(t.text);
        if (!t.tooltip.isEmpty()) {
            a->setToolTip(t.tooltip);
            a->setStatusTip(t.tooltip);
        }
    }
}

void frmMain::menueNeuAufbauen(const Leistenbelegung& belegung)
{
    QMenu* menue = m_baender.value(belegung.name);
    if (!menue)
        return;
    // The history entries of "Datei" stay behind the user's entries.
    QList<QAction*> historie;
    if (belegung.name == QLatin1String("Datei")) {
        historie.append(m_historieTrenner);
        for (int i = 1; i <= MaxHistorie; ++i)
            historie.append(m_menueAktionen.value(Historienname(i)));
    }
    for (QAction* a : menue->actions()) {
        menue->removeAction(a);
        if (a->isSeparator() && a != m_historieTrenner && a->parent() == menue)
            delete a;
    }
    menueFuellen(menue, belegung.werkzeuge);
    menue->addActions(historie);
}

void frmMain::layoutAusFensterUebernehmen()
{
    for (Leistenbelegung& belegung : m_layout.leisten) {
        if (const Werkzeugleiste* l = leiste(belegung.name)) {
            belegung.sichtbar = !l->isHidden();
            belegung.bereich = bereichsname(toolBarArea(l));
        }
    }
}

void frmMain::menueAnpassen()
{
    layoutAusFensterUebernehmen();
    frmAnpassen dialog(m_layout, this);
    dialog.exec();
    setzeLeistenlayout(dialog.layout());
}

void frmMain::texteAendern()
{
    layoutAusFensterUebernehmen();
    TexteSymbolleiste dialog(m_layout, this);
    if (dialog.exec() == QDialog::Accepted)
        setzeLeistenlayout(dialog.layout());
}

bool frmMain::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // "Quickinfo anzeigen" off: the bars' buttons show no tool tips.
    if (ereignis->type() == QEvent::ToolTip && !m_layout.optionen.quickinfo
        && qobject_cast<QToolButton*>(objekt))
        return true;
    return QMainWindow::eventFilter(objekt, ereignis);
}

} // namespace kv
