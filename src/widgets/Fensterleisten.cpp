#include "widgets/Fensterleisten.h"

#include "widgets/Navigationsleiste.h"
#include "widgets/Werkzeugleiste.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QWidgetAction>

namespace kv {

Fensterleisten::Fensterleisten(QMainWindow* fenster, const Leistendarstellung& darstellung)
    : QObject(fenster)
    , m_fenster(fenster)
    , m_darstellung(darstellung)
    , m_funktionen(new Werkzeugleiste(
          QStringLiteral("Maskenfunktionen"), QStringLiteral("Funktionen"), fenster))
    , m_videoleiste(new QToolBar(QStringLiteral("Videoleiste"), fenster))
    , m_navigation(new Navigationsleiste(m_videoleiste))
    , m_statusleiste(new QStatusBar(fenster))
    , m_hilfstext(new QLabel(m_statusleiste))
{
    m_funktionen->setzeTastenInQuickinfo(true);
    m_funktionen->setzeTextanzeige(darstellung.textanzeige);
    connect(m_funktionen, &Werkzeugleiste::werkzeugGeklickt, this,
        [this](const QString& name) { Q_EMIT werkzeugGeklickt(name.toLower()); });

    m_videoleiste->setObjectName(QStringLiteral("Videoleiste"));
    m_videoleiste->setFont(darstellung.schrift);
    auto* video = new QWidgetAction(m_videoleiste);
    video->setObjectName(QStringLiteral("Video"));
    video->setDefaultWidget(m_navigation);
    m_videoleiste->addAction(video);

    m_statusleiste->setObjectName(QStringLiteral("Statusleiste"));
    m_statusleiste->setFont(darstellung.schrift);
    m_hilfstext->setObjectName(QStringLiteral("Hilfstext"));
    m_statusleiste->addWidget(m_hilfstext, 1);
    m_fenster->setStatusBar(m_statusleiste);
    m_statusleiste->hide();
}

void Fensterleisten::aufbauen(const QString& definition, int modus, const QString& position)
{
    m_funktionen->aufbauen(definition, modus);
    ToolbarIconsZuweisen(m_funktionen, m_darstellung.kleineSymbole, m_darstellung.grafikverzeichnis,
        m_darstellung.schrift);
    const Qt::ToolBarArea bereich = Werkzeugleiste::bereich(position);
    m_fenster->addToolBar(bereich, m_funktionen);
    m_fenster->addToolBar(bereich, m_videoleiste);
    m_funktionen->setVisible(modus > 0);
}

void Fensterleisten::setzeNavigationsmodus(int modus)
{
    m_navigation->setzeModus(modus);
    m_videoleiste->setVisible(modus != 0);
}

void Fensterleisten::setzeStatuszeile(bool zeigen)
{
    m_statusleiste->setVisible(zeigen);
}

void Fensterleisten::setzeHilfstext(const QString& text)
{
    m_hilfstext->setText(text);
}

QString Fensterleisten::hilfstext() const
{
    return m_hilfstext->text();
}

QAction* Fensterleisten::werkzeug(const QString& name) const
{
    return m_funktionen->werkzeug(name);
}

bool Fensterleisten::setzeAktiv(const QString& name, bool aktiv)
{
    return m_funktionen->setzeAktiv(name, aktiv);
}

bool Fensterleisten::setzeText(const QString& name, const QString& text)
{
    return m_funktionen->setzeText(name, text);
}

bool Fensterleisten::setzeTooltip(const QString& name, const QString& tooltip)
{
    return m_funktionen->setzeTooltip(name, tooltip);
}

} // namespace kv
