#include "widgets/Zahleingabe.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "masks/Formelausdruck.h"
#include "widgets/Eingabepruefung.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <cmath>

namespace kv {

namespace {

QString grenztext(const std::optional<double>& grenze)
{
    return grenze ? Format(*grenze) : QString();
}

/// The calculator: one line for an arithmetic expression; Enter puts the result into the input.
class Rechner : public QLineEdit {
public:
    explicit Rechner(Zahleingabe* eingabe)
        : QLineEdit(eingabe)
        , m_eingabe(eingabe)
    {
        setObjectName(QStringLiteral("Rechner"));
        setWindowFlag(Qt::Popup);
        setAttribute(Qt::WA_DeleteOnClose);
        setPlaceholderText(QStringLiteral("Rechnung, z. B. 12*3+4"));
        setToolTip(QStringLiteral("Enter übernimmt das Ergebnis, Escape bricht ab."));
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            const Formelergebnis r = werteAusdruckAus(text());
            if (r.fehler != 0) {
                setToolTip(formelergebnistext(r));
                selectAll();
                return;
            }
            m_eingabe->setzeEingabe(QVariant(r.wert));
            close();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

private:
    Zahleingabe* m_eingabe;
};

} // namespace

Zahleingabe::Zahleingabe(QWidget* parent)
    : Spineingabe(parent)
    , m_format(ZahleingabeEinstellungen().wirksamesFormat())
{
    knopf()->setText(QStringLiteral("…"));
    knopf()->setToolTip(QStringLiteral("Rechner"));
}

void Zahleingabe::setzeEinstellungen(const ZahleingabeEinstellungen& e, bool ganzzahl)
{
    m_e = e;
    m_ganzzahl = ganzzahl;
    if (ganzzahl) {
        m_e.dezimalstellen.reset();
        m_e.waehrung = false;
    }
    m_format = m_e.wirksamesFormat();
    setzeNurLesen(e.sperre);
    setzeSpinanzeige(e.spin);
    setzeAusrichtung(e.horizontal, e.vertikal);
    neuAnzeigen();
}

std::optional<QVariant> Zahleingabe::lies(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return QVariant();
    const std::optional<double> zahl = ParseZahl(text);
    if (!zahl || !std::isfinite(*zahl) || !m_e.imBereich(*zahl))
        return std::nullopt;
    if (m_ganzzahl) {
        if (*zahl != std::floor(*zahl) || std::fabs(*zahl) > 9.0e15)
            return std::nullopt;
        return QVariant(qlonglong(*zahl));
    }
    return QVariant(*zahl);
}

QString Zahleingabe::anzeigetext(const QVariant& wert) const
{
    return Format(wert, m_format);
}

QString Zahleingabe::bearbeitungstext(const QVariant& wert) const
{
    return Format(wert);
}

QString Zahleingabe::ungueltigtext(const QString& text) const
{
    return UngueltigerEingabewert(
        datenfeld(), text, grenztext(m_e.minimum), grenztext(m_e.maximum), false);
}

QVariant Zahleingabe::schritt(const QVariant& wert, int richtung) const
{
    double zahl = wert.isNull() ? 0.0 : wert.toDouble() + richtung;
    if (m_e.minimum)
        zahl = std::max(zahl, *m_e.minimum);
    if (m_e.maximum)
        zahl = std::min(zahl, *m_e.maximum);
    return m_ganzzahl ? QVariant(qlonglong(std::llround(zahl))) : QVariant(zahl);
}

void Zahleingabe::rechnerOeffnen()
{
    auto* rechner = new Rechner(this);
    rechner->setText(eingabetext());
    rechner->selectAll();
    rechner->resize(std::max(width(), 160), rechner->sizeHint().height());
    rechner->move(mapToGlobal(QPoint(0, height())));
    rechner->show();
    rechner->setFocus(Qt::PopupFocusReason);
}

} // namespace kv
