#include "widgets/Ankreuzfeld.h"

#include "widgets/Texteingabe.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace kv {

Ankreuzfeld::Ankreuzfeld(QWidget* parent)
    : Feldelement(parent)
    , m_box(new QCheckBox(this))
    , m_text(new QLabel(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    layout->addWidget(m_text, 1);
    setFocusProxy(m_box);
    m_text->installEventFilter(this);
    m_text->setBuddy(m_box);
    connect(m_box, &QCheckBox::toggled, this, [this] {
        if (!m_zeigt)
            meldeAenderung();
    });
}

void Ankreuzfeld::setzeEinstellungen(const CheckboxEinstellungen& e)
{
    setzeNurLesen(e.sperre);
    setzeText(e.text);
    m_text->setAlignment(qtAusrichtung(e.textausrichtung, VertikaleAusrichtung::Zentriert));
    m_text->setWordWrap(e.mehrzeilig);
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    layout->removeWidget(m_box);
    layout->insertWidget(e.boxausrichtung == Boxausrichtung::Rechts ? 1 : 0, m_box);
    m_box->setStyleSheet(e.boxgroesse > 0
            ? QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }")
                  .arg(e.boxgroesse)
            : QString());
}

void Ankreuzfeld::setzeText(const QString& text)
{
    m_text->setText(text);
}

QString Ankreuzfeld::text() const
{
    return m_text->text();
}

bool Ankreuzfeld::angekreuzt() const
{
    return m_box->isChecked();
}

void Ankreuzfeld::umschalten()
{
    if (!nurLesen())
        m_box->toggle();
}

void Ankreuzfeld::zeigeWert(const QVariant& wert)
{
    m_zeigt = true;
    m_box->setChecked(!wert.isNull() && wert.toBool());
    m_zeigt = false;
    setzeDatenGeaendert(false);
}

QVariant Ankreuzfeld::wert() const
{
    return QVariant(m_box->isChecked());
}

void Ankreuzfeld::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    m_box->setEnabled(!ja);
}

void Ankreuzfeld::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_text, QColor(), text);
    faerbe(m_box, hintergrund, text);
}

bool Ankreuzfeld::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_text && ereignis->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
        umschalten();
        m_box->setFocus(Qt::MouseFocusReason);
        return true;
    }
    return Feldelement::eventFilter(objekt, ereignis);
}

} // namespace kv
