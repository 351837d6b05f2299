#include "shell/ui/TexteSymbolleiste.h"

#include "base/Hilfe.h"
#include "shell/Hilfeseiten.h"
#include "shell/Prozesswerte.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int LeisteRolle = Qt::UserRole;
constexpr int WerkzeugRolle = Qt::UserRole + 1;

} // namespace

TexteSymbolleiste::TexteSymbolleiste(const Leistenlayout& layout, QWidget* parent)
    : QDialog(parent)
    , m_layout(layout)
    , m_liste(new QTreeWidget)
    , m_text(new QLineEdit)
    , m_quickinfo(new QLineEdit)
{
    setObjectName(QStringLiteral("TexteSymbolleiste"));
    setFont(Programmschrift());
    setProperty(HilfeseiteEigenschaft, Hilfeseiten::TexteAendern);
    setWindowTitle(QStringLiteral("Texte der Symbolleiste ändern"));
    m_text->setObjectName(QStringLiteral("Text"));
    m_quickinfo->setObjectName(QStringLiteral("Quickinfo"));
    m_liste->setHeaderLabels({ QStringLiteral("Text"), QStringLiteral("Quickinfo") });
    m_liste->setRootIsDecorated(false);

    for (const Leistenbelegung& l : std::as_const(m_layout.leisten)) {
        if (l.menue)
            continue;
        auto* kopf = new QTreeWidgetItem(
            m_liste, { QStringLiteral("Name der Funktionsleiste: ") + l.titel });
        kopf->setData(0, LeisteRolle, l.name);
        kopf->setFirstColumnSpanned(true);
        QFont fett = kopf->font(0);
        fett.setBold(true);
        kopf->setFont(0, fett);
        QStringList gezeigt;
        for (const QString& werkzeug : l.werkzeuge) {
            // A tool twice on a bar has one text.
            if (werkzeug.isEmpty() || gezeigt.contains(werkzeug))
                continue;
            gezeigt.append(werkzeug);
            auto* e = new QTreeWidgetItem(kopf);
            e->setData(0, LeisteRolle, l.name);
            e->setData(0, WerkzeugRolle, werkzeug);
            eintragZeigen(e);
        }
    }
    m_liste->expandAll();
    m_liste->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* felder = new QFormLayout;
    felder->addRow(QStringLiteral("Text"), m_text);
    felder->addRow(QStringLiteral("Quickinfo"), m_quickinfo);
    auto* knoepfe = new QDialogButtonBox;
    QPushButton* zurueck
        = knoepfe->addButton(QStringLiteral("Zurücksetzen"), QDialogButtonBox::ResetRole);
    QPushButton* ok = knoepfe->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* abbruch
        = knoepfe->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
    for (QPushButton* k : { zurueck, ok, abbruch })
        k->setObjectName(k->text());
    connect(zurueck, &QPushButton::clicked, this, &TexteSymbolleiste::zuruecksetzen);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* gesamt = new QVBoxLayout(this);
    gesamt->addWidget(m_liste);
    gesamt->addLayout(felder);
    gesamt->addWidget(knoepfe);
    resize(520, 460);

    connect(m_liste, &QTreeWidget::currentItemChanged, this, &TexteSymbolleiste::auswahlZeigen);
    connect(m_text, &QLineEdit::textEdited, this, &TexteSymbolleiste::eingabeUebernehmen);
    connect(m_quickinfo, &QLineEdit::textEdited, this, &TexteSymbolleiste::eingabeUebernehmen);
    if (m_liste->topLevelItemCount() > 0 && m_liste->topLevelItem(0)->childCount() > 0)
        m_liste->setCurrentItem(m_liste->topLevelItem(0)->child(0));
    else
        auswahlZeigen();
}

QPushButton* TexteSymbolleiste::knopf(const QString& text) const
{
    return findChild<QPushButton*>(text);
}

bool TexteSymbolleiste::waehle(const QString& leiste, const QString& werkzeug)
{
    for (int i = 0; i < m_liste->topLevelItemCount(); ++i) {
        QTreeWidgetItem* kopf = m_liste->topLevelItem(i);
        if (kopf->data(0, LeisteRolle).toString() != leiste)
            continue;
        if (werkzeug.isEmpty()) {
            m_liste->setCurrentItem(kopf);
            return true;
        }
        for (int j = 0; j < kopf->childCount(); ++j) {
            if (kopf->child(j)->data(0, WerkzeugRolle).toString() == werkzeug) {
                m_liste->setCurrentItem(kopf->child(j));
                return true;
            }
        }
    }
    return false;
}

void TexteSymbolleiste::eintragZeigen(QTreeWidgetItem* eintrag)
{
    const Werkzeugtexte t = m_layout.anzeigetexte(
        eintrag->data(0, LeisteRolle).toString(), eintrag->data(0, WerkzeugRolle).toString());
    eintrag->setText(0, t.text);
    eintrag->setText(1, t.tooltip);
}

void TexteSymbolleiste::auswahlZeigen()
{
    const QTreeWidgetItem* e = m_liste->currentItem();
    const bool werkzeug = e && !e->data(0, WerkzeugRolle).toString().isEmpty();
    m_text->setEnabled(werkzeug);
    m_quickinfo->setEnabled(werkzeug);
    m_text->setText(werkzeug ? e->text(0) : QString());
    m_quickinfo->setText(werkzeug ? e->text(1) : QString());
}

void TexteSymbolleiste::eingabeUebernehmen()
{
    QTreeWidgetItem* e = m_liste->currentItem();
    if (!e || e->data(0, WerkzeugRolle).toString().isEmpty())
        return;
    m_layout.aendereTexte(e->data(0, LeisteRolle).toString(), e->data(0, WerkzeugRolle).toString(),
        { m_text->text(), m_quickinfo->text() });
    eintragZeigen(e);
}

void TexteSymbolleiste::zuruecksetzen()
{
    QTreeWidgetItem* e = m_liste->currentItem();
    if (!e)
        return;
    // A heading stands for every tool of its bar.
    QList<QTreeWidgetItem*> eintraege;
    if (e->data(0, WerkzeugRolle).toString().isEmpty()) {
        for (int i = 0; i < e->childCount(); ++i)
            eintraege.append(e->child(i));
    } else {
        eintraege.append(e);
    }
    for (QTreeWidgetItem* w : eintraege) {
        m_layout.setzeText(w->data(0, LeisteRolle).toString(), w->data(0, WerkzeugRolle).toString(),
            QString(), QString());
        eintragZeigen(w);
    }
    auswahlZeigen();
}

} // namespace kv
