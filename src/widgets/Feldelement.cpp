#include "widgets/Feldelement.h"

#include "base/Format.h"
#include "widgets/Werkzeugleiste.h"

namespace kv {

Feldelement::Feldelement(QWidget* parent)
    : QWidget(parent)
{ }

QString Feldelement::eingabetext() const
{
    return Format(wert());
}

bool Feldelement::leer() const
{
    const QVariant w = wert();
    return w.isNull() || !w.isValid();
}

void Feldelement::setzeNurLesen(bool ja)
{
    m_nurLesen = ja;
}

void Feldelement::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(this, hintergrund, text);
}

void Feldelement::meldeAenderung()
{
    m_geaendert = true;
    Q_EMIT wertGeaendert();
}

int Feldelement::waehleAusMenue(const QStringList& eintraege, const QPoint& pos)
{
    if (m_menueauswahl)
        return m_menueauswahl(eintraege, pos);
    return PopupAuswahl(eintraege, QString(), mapToGlobal(pos), this);
}

void Feldelement::faerbe(QWidget* teil, const QColor& hintergrund, const QColor& text) const
{
    QPalette p = teil->palette();
    if (hintergrund.isValid()) {
        p.setColor(QPalette::Base, hintergrund);
        p.setColor(QPalette::Window, hintergrund);
        p.setColor(QPalette::Button, hintergrund);
    }
    if (text.isValid()) {
        p.setColor(QPalette::Text, text);
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
    }
    teil->setPalette(p);
}

} // namespace kv
