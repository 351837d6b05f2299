#include "widgets/Optionsgruppe.h"

#include "base/Werteparser.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

namespace kv {

bool optionswertPasst(const QString& option, const QVariant& wert)
{
    if (wert.isNull() || !wert.isValid())
        return false;
    switch (wert.metaType().id()) {
    case QMetaType::Bool: {
        const std::optional<double> zahl = ParseZahl(option);
        return zahl && (*zahl != 0) == wert.toBool();
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: {
        // Definition files may carry "1.5" as well as the user's "1,5".
        std::optional<double> zahl = ParseZahl(option);
        if (!zahl && IstZahl(option, QLocale::c()))
            zahl = ParseZahl(option, QLocale::c());
        return zahl && *zahl == wert.toDouble();
    }
    default:
        return option == wert.toString();
    }
}

Optionsgruppe::Optionsgruppe(QWidget* parent)
    : Feldelement(parent)
    , m_rahmen(new QGroupBox(this))
    , m_knoepfe(new QBoxLayout(QBoxLayout::TopToBottom, m_rahmen))
    , m_gruppe(new QButtonGroup(this))
{
    auto* layout = new QBoxLayout(QBoxLayout::TopToBottom, this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rahmen);
    m_knoepfe->setContentsMargins(4, 0, 4, 0);
    m_knoepfe->setSpacing(2);
    connect(m_gruppe, &QButtonGroup::idToggled, this, [this](int, bool an) {
        if (an && !m_zeigt)
            meldeAenderung();
    });
}

void Optionsgruppe::setzeEinstellungen(const OptionboxEinstellungen& e)
{
    for (QAbstractButton* k : m_gruppe->buttons()) {
        m_gruppe->removeButton(k);
        delete k;
    }
    m_optionen = e.optionen;
    m_rahmen->setTitle(e.beschriftung);
    for (int i = 0; i < m_optionen.size(); ++i) {
        auto* k = new QRadioButton(m_optionen.at(i).text, m_rahmen);
        k->setObjectName(QStringLiteral("Option%1").arg(i));
        if (e.textLinks)
            k->setLayoutDirection(Qt::RightToLeft);
        m_gruppe->addButton(k, i);
        m_knoepfe->addWidget(k);
    }
    if (QAbstractButton* erster = m_gruppe->button(0))
        setFocusProxy(erster);
    setzeNurLesen(e.sperre);
}

int Optionsgruppe::gewaehlt() const
{
    return m_gruppe->checkedId();
}

void Optionsgruppe::waehle(int index)
{
    if (QAbstractButton* k = m_gruppe->button(index); k && !nurLesen())
        k->setChecked(true);
}

QRadioButton* Optionsgruppe::knopf(int index) const
{
    return qobject_cast<QRadioButton*>(m_gruppe->button(index));
}

void Optionsgruppe::keineWahl()
{
    m_gruppe->setExclusive(false);
    for (QAbstractButton* k : m_gruppe->buttons())
        k->setChecked(false);
    m_gruppe->setExclusive(true);
}

void Optionsgruppe::zeigeWert(const QVariant& wert)
{
    m_zeigt = true;
    keineWahl();
    for (int i = 0; i < m_optionen.size(); ++i) {
        if (optionswertPasst(m_optionen.at(i).wert, wert)) {
            m_gruppe->button(i)->setChecked(true);
            break;
        }
    }
    m_zeigt = false;
    setzeDatenGeaendert(false);
}

QVariant Optionsgruppe::wert() const
{
    const int i = gewaehlt();
    if (i < 0 || i >= m_optionen.size() || m_optionen.at(i).wert.isEmpty())
        return QVariant();
    return QVariant(m_optionen.at(i).wert);
}

void Optionsgruppe::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    for (QAbstractButton* k : m_gruppe->buttons())
        k->setEnabled(!ja);
}

void Optionsgruppe::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_rahmen, hintergrund, text);
}

void Optionsgruppe::resizeEvent(QResizeEvent* e)
{
    m_knoepfe->setDirection(
        width() >= 3 * height() ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    Feldelement::resizeEvent(e);
}

} // namespace kv
