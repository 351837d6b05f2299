#include "shell/ui/Befehlsauswahl.h"

#include "shell/Befehlstabelle.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

namespace kv {

namespace {

constexpr int NameRolle = Qt::UserRole;

QString ohneKuerzel(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

Befehlsauswahl::Befehlsauswahl(QWidget* parent)
    : QWidget(parent)
    , m_kategorien(new QListWidget)
    , m_befehle(new QListWidget)
    , m_beschreibung(new QLabel)
{
    m_kategorien->setObjectName(QStringLiteral("Kategorien"));
    m_befehle->setObjectName(QStringLiteral("Befehle"));
    m_beschreibung->setObjectName(QStringLiteral("Beschreibung"));
    m_beschreibung->setWordWrap(true);
    for (const QString& band : Befehlskategorien()) {
        auto* e = new QListWidgetItem(ohneKuerzel(Bandtitel(band)), m_kategorien);
        e->setData(NameRolle, band);
    }
    auto* raster = new QGridLayout(this);
    raster->setContentsMargins(0, 0, 0, 0);
    raster->addWidget(new QLabel(QStringLiteral("Kategorien")), 0, 0);
    raster->addWidget(m_kategorien, 1, 0);
    raster->addWidget(new QLabel(QStringLiteral("Befehle")), 0, 1);
    raster->addWidget(m_befehle, 1, 1);
    raster->addWidget(new QLabel(QStringLiteral("Beschreibung")), 2, 0);
    raster->addWidget(m_beschreibung, 2, 1);

    connect(m_kategorien, &QListWidget::currentRowChanged, this, &Befehlsauswahl::befehleFuellen);
    connect(m_befehle, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* e) {
        const QString name = e ? e->data(NameRolle).toString() : QString();
        const Befehl* b = FindeBefehl(name);
        m_beschreibung->setText(b ? b->beschreibung : QString());
        Q_EMIT befehlGewaehlt(name);
    });
    m_kategorien->setCurrentRow(0);
}

QString Befehlsauswahl::befehl() const
{
    const QListWidgetItem* e = m_befehle->currentItem();
    return e ? e->data(NameRolle).toString() : QString();
}

void Befehlsauswahl::befehleFuellen()
{
    m_befehle->clear();
    const QListWidgetItem* kategorie = m_kategorien->currentItem();
    if (!kategorie)
        return;
    for (const Befehl* b : Kategoriebefehle(kategorie->data(NameRolle).toString())) {
        auto* e = new QListWidgetItem(ohneKuerzel(b->text), m_befehle);
        e->setData(NameRolle, b->name);
    }
    m_befehle->setCurrentRow(0);
}

} // namespace kv
