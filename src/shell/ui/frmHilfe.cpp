#include "shell/ui/frmHilfe.h"

#include "shell/Anwendung.h"
#include "shell/Prozesswerte.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int DateiRolle = Qt::UserRole;

} // namespace

frmHilfe::frmHilfe(const QString& ordner, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_index(Hilfeindex::lade(ordner))
{
    setObjectName(QStringLiteral("frmHilfe"));
    setFont(Programmschrift());
    setWindowTitle(Anwendungstitel + QStringLiteral(" - Hilfe"));
    resize(820, 560);

    m_tabs = new QTabWidget;
    m_inhalt = new QListWidget;
    m_inhalt->setObjectName(QStringLiteral("Inhalt"));
    for (const Hilfeseite& s : m_index.seiten()) {
        auto* eintrag = new QListWidgetItem(s.titel, m_inhalt);
        eintrag->setData(DateiRolle, s.datei);
    }
    m_tabs->addTab(m_inhalt, QStringLiteral("Inhalt"));

    auto* suche = new QWidget;
    auto* sucheLayout = new QVBoxLayout(suche);
    auto* hinweis = new QLabel(QStringLiteral("Suchbegriff eingeben:"));
    m_suchfeld = new QLineEdit;
    m_suchfeld->setObjectName(QStringLiteral("Suchbegriff"));
    hinweis->setBuddy(m_suchfeld);
    m_treffer = new QListWidget;
    m_treffer->setObjectName(QStringLiteral("Stichwoerter"));
    sucheLayout->addWidget(hinweis);
    sucheLayout->addWidget(m_suchfeld);
    sucheLayout->addWidget(m_treffer);
    m_tabs->addTab(suche, QStringLiteral("Suchen"));

    m_browser = new QTextBrowser;
    m_browser->setSearchPaths({ ordner });
    m_browser->setOpenExternalLinks(true);

    auto* teiler = new QSplitter;
    teiler->addWidget(m_tabs);
    teiler->addWidget(m_browser);
    teiler->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(teiler);

    const auto seiteDesEintrags = [this](QListWidgetItem* e) {
        if (e)
            zeigeSeite(e->data(DateiRolle).toString());
    };
    connect(m_inhalt, &QListWidget::itemActivated, this, seiteDesEintrags);
    connect(m_inhalt, &QListWidget::itemClicked, this, seiteDesEintrags);
    connect(m_treffer, &QListWidget::itemActivated, this, seiteDesEintrags);
    connect(m_treffer, &QListWidget::itemClicked, this, seiteDesEintrags);
    connect(m_suchfeld, &QLineEdit::textChanged, this, &frmHilfe::sucheAktualisieren);
    connect(m_suchfeld, &QLineEdit::returnPressed, this,
        [this, seiteDesEintrags] { seiteDesEintrags(m_treffer->item(0)); });
    sucheAktualisieren();
}

void frmHilfe::zeigeInhalt()
{
    m_tabs->setCurrentIndex(0);
    zeigeSeite(Hilfeindex::Inhaltsseite);
}

void frmHilfe::zeigeSuche()
{
    m_tabs->setCurrentIndex(1);
    m_suchfeld->setFocus();
    m_suchfeld->selectAll();
}

void frmHilfe::zeigeSeite(const QString& datei)
{
    m_browser->setSource(QUrl(datei));
}

void frmHilfe::sucheAktualisieren()
{
    m_treffer->clear();
    for (const Hilfestichwort& s : m_index.suche(m_suchfeld->text())) {
        auto* eintrag = new QListWidgetItem(s.wort, m_treffer);
        eintrag->setData(DateiRolle, s.datei);
    }
}

} // namespace kv
