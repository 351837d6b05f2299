#include "widgets/Anzeigefeld.h"

#include "base/Format.h"
#include "widgets/Farbwert.h"
#include "widgets/Texteingabe.h"

#include <QPainter>
#include <QPainterPath>
#include <qdrawutil.h>

namespace kv {

Anzeigefeld::Anzeigefeld(QWidget* parent)
    : Feldelement(parent)
{
    Feldelement::setzeNurLesen(true);
}

void Anzeigefeld::setzeEinstellungen(const AnzeigetextEinstellungen& e)
{
    m_e = e;
    if (e.schriftgroesse) {
        QFont f = font();
        f.setPointSizeF(*e.schriftgroesse);
        setFont(f);
    }
    if (e.formel.trimmed().isEmpty())
        m_text = e.statischerText;
    update();
}

void Anzeigefeld::setzeText(const QString& text)
{
    m_text = text;
    update();
}

void Anzeigefeld::zeigeWert(const QVariant& wert)
{
    m_wert = wert;
    setzeText(Format(wert, m_e.anzeigeformat));
    setzeDatenGeaendert(false);
}

void Anzeigefeld::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    m_hintergrund = hintergrund;
    m_textfarbe = text;
    update();
}

QSize Anzeigefeld::sizeHint() const
{
    return fontMetrics().size(0, m_text.isEmpty() ? QStringLiteral("X") : m_text) + QSize(6, 4);
}

void Anzeigefeld::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    QRect r = rect();
    if (m_hintergrund.isValid())
        maler.fillRect(r, m_hintergrund);
    const QColor linie = palette().color(QPalette::WindowText);
    switch (m_e.umrandung) {
    case Umrandung::Einfach:
        qDrawPlainRect(&maler, r, linie, 1);
        r.adjust(1, 1, -1, -1);
        break;
    case Umrandung::EinfachAbgerundet: {
        maler.save();
        maler.setRenderHint(QPainter::Antialiasing);
        maler.setPen(linie);
        maler.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        maler.restore();
        r.adjust(2, 2, -2, -2);
        break;
    }
    case Umrandung::Ohne:
        break;
    }
    const bool eingestanzt = m_e.schriftstil == Schriftstil::Eingestanzt
        || m_e.schriftstil == Schriftstil::EingestanztMitRahmen;
    if (m_e.schriftstil == Schriftstil::HervortretendMitRahmen
        || m_e.schriftstil == Schriftstil::EingestanztMitRahmen) {
        qDrawShadePanel(&maler, r, palette(), eingestanzt, 1);
        r.adjust(1, 1, -1, -1);
    }
    r.adjust(2, 1, -2, -1);
    const int ausrichtung = int(qtAusrichtung(m_e.horizontal, m_e.vertikal))
        | (m_e.mehrzeilig ? Qt::TextWordWrap : Qt::TextSingleLine);
    if (m_e.schriftstil != Schriftstil::Ohne) {
        // The shadow or light edge makes the text stand out of or sink into the surface.
        maler.setPen(
            eingestanzt ? palette().color(QPalette::Light) : palette().color(QPalette::Dark));
        maler.drawText(r.translated(1, 1), ausrichtung, m_text);
    }
    QColor farbe = m_textfarbe.isValid() ? m_textfarbe : palette().color(QPalette::WindowText);
    if (m_e.textfarbe != Textfarbe::Schwarz)
        farbe = Farbe(textfarbwert(m_e.textfarbe), palette());
    maler.setPen(farbe);
    maler.drawText(r, ausrichtung, m_text);
}

} // namespace kv
