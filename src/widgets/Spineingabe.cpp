#include "widgets/Spineingabe.h"

#include "base/Dialoge.h"
#include "widgets/Texteingabe.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv {

namespace {

QToolButton* pfeil(QWidget* parent, Qt::ArrowType richtung, const QString& name)
{
    auto* k = new QToolButton(parent);
    k->setObjectName(name);
    k->setArrowType(richtung);
    k->setFocusPolicy(Qt::NoFocus);
    k->setAutoRepeat(true);
    k->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    k->setFixedWidth(14);
    return k;
}

bool mitKnopf(Spinanzeige s)
{
    return s == Spinanzeige::EinMitButtonLinks || s == Spinanzeige::EinMitButtonRechts
        || s == Spinanzeige::EinMitButtonLinksBeiFokus
        || s == Spinanzeige::EinMitButtonRechtsBeiFokus;
}

bool knopfLinks(Spinanzeige s)
{
    return s == Spinanzeige::EinMitButtonLinks || s == Spinanzeige::EinMitButtonLinksBeiFokus;
}

bool nurBeiFokus(Spinanzeige s)
{
    return s == Spinanzeige::EinBeiFokus || s == Spinanzeige::EinMitButtonLinksBeiFokus
        || s == Spinanzeige::EinMitButtonRechtsBeiFokus;
}

} // namespace

Spineingabe::Spineingabe(QWidget* parent)
    : Feldelement(parent)
    , m_zeile(new QLineEdit(this))
    , m_auf(pfeil(this, Qt::UpArrow, QStringLiteral("PfeilAuf")))
    , m_ab(pfeil(this, Qt::DownArrow, QStringLiteral("PfeilAb")))
    , m_knopf(new QToolButton(this))
{
    m_knopf->setObjectName(QStringLiteral("Knopf"));
    m_knopf->setFocusPolicy(Qt::NoFocus);
    m_knopf->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    auto* pfeile = new QVBoxLayout;
    pfeile->setContentsMargins(0, 0, 0, 0);
    pfeile->setSpacing(0);
    pfeile->addWidget(m_auf);
    pfeile->addWidget(m_ab);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_zeile);
    layout->addLayout(pfeile);
    setFocusProxy(m_zeile);
    m_zeile->installEventFilter(this);
    m_zeile->setAlignment(
        qtAusrichtung(HorizontaleAusrichtung::Links, VertikaleAusrichtung::Zentriert));
    connect(m_zeile, &QLineEdit::textEdited, this, [this] {
        m_bearbeitet = true;
        meldeAenderung();
    });
    connect(m_auf, &QToolButton::clicked, this, [this] { schrittAusfuehren(1); });
    connect(m_ab, &QToolButton::clicked, this, [this] { schrittAusfuehren(-1); });
    connect(m_knopf, &QToolButton::clicked, this, [this] {
        if (!nurLesen())
            knopfGedrueckt();
    });
    sichtbarkeitAnwenden();
}

void Spineingabe::setzeSpinanzeige(Spinanzeige s)
{
    m_spin = s;
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    layout->removeWidget(m_knopf);
    layout->insertWidget(knopfLinks(s) ? 0 : layout->count(), m_knopf);
    sichtbarkeitAnwenden();
}

void Spineingabe::setzeAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v)
{
    m_zeile->setAlignment(qtAusrichtung(h, v));
}

void Spineingabe::sichtbarkeitAnwenden()
{
    const bool an = m_spin != Spinanzeige::Aus && (!nurBeiFokus(m_spin) || m_fokus);
    m_auf->setVisible(an);
    m_ab->setVisible(an);
    m_knopf->setVisible(an && mitKnopf(m_spin));
}

void Spineingabe::zeigeWert(const QVariant& wert)
{
    m_wert = wert;
    m_bearbeitet = false;
    neuAnzeigen();
    setzeDatenGeaendert(false);
}

void Spineingabe::neuAnzeigen()
{
    if (m_bearbeitet)
        return;
    m_zeile->setText(m_wert.isNull() ? QString()
            : m_fokus                ? bearbeitungstext(m_wert)
                                     : anzeigetext(m_wert));
}

QVariant Spineingabe::wert() const
{
    if (!m_bearbeitet)
        return m_wert;
    const std::optional<QVariant> gelesen = lies(m_zeile->text());
    return gelesen ? *gelesen : m_wert;
}

QString Spineingabe::eingabetext() const
{
    if (m_bearbeitet)
        return m_zeile->text();
    return m_wert.isNull() ? QString() : bearbeitungstext(m_wert);
}

bool Spineingabe::leer() const
{
    return m_bearbeitet ? m_zeile->text().trimmed().isEmpty() : m_wert.isNull();
}

bool Spineingabe::gueltig() const
{
    return !m_bearbeitet || lies(m_zeile->text()).has_value();
}

bool Spineingabe::pruefen()
{
    if (gueltig())
        return true;
    const QString text = m_zeile->text();
    zeigeMeldung(ungueltigtext(text));
    Q_EMIT eingabeAbgelehnt(text);
    m_zeile->setFocus(Qt::OtherFocusReason);
    m_zeile->selectAll();
    return false;
}

void Spineingabe::setzeEingabe(const QVariant& wert)
{
    m_zeile->setText(wert.isNull() ? QString() : bearbeitungstext(wert));
    m_bearbeitet = true;
    meldeAenderung();
    if (!m_fokus)
        verlassen();
}

void Spineingabe::setzeNurLesen(bool ja)
{
    Feldelement::setzeNurLesen(ja);
    m_zeile->setReadOnly(ja);
    m_auf->setEnabled(!ja);
    m_ab->setEnabled(!ja);
    m_knopf->setEnabled(!ja);
}

void Spineingabe::setzeFarben(const QColor& hintergrund, const QColor& text)
{
    faerbe(m_zeile, hintergrund, text);
}

void Spineingabe::schrittAusfuehren(int richtung)
{
    if (nurLesen() || !gueltig())
        return;
    setzeEingabe(schritt(wert(), richtung));
}

void Spineingabe::verlassen()
{
    if (!m_bearbeitet)
        return;
    const std::optional<QVariant> gelesen = lies(m_zeile->text());
    if (!gelesen) {
        // The message waits until the focus has settled, then takes it back.
        QTimer::singleShot(0, this, [this] {
            if (!m_fokus)
                pruefen();
        });
        return;
    }
    m_wert = *gelesen;
    m_bearbeitet = false;
    neuAnzeigen();
}

bool Spineingabe::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == m_zeile) {
        switch (ereignis->type()) {
        case QEvent::FocusIn:
            m_fokus = true;
            sichtbarkeitAnwenden();
            neuAnzeigen();
            break;
        case QEvent::FocusOut:
            // A pop-up (calendar, calculator) takes the focus without leaving the input.
            if (static_cast<QFocusEvent*>(ereignis)->reason() == Qt::PopupFocusReason)
                break;
            m_fokus = false;
            sichtbarkeitAnwenden();
            verlassen();
            neuAnzeigen();
            break;
        case QEvent::KeyPress: {
            const int taste = static_cast<QKeyEvent*>(ereignis)->key();
            if (m_spin != Spinanzeige::Aus && (taste == Qt::Key_Up || taste == Qt::Key_Down)) {
                schrittAusfuehren(taste == Qt::Key_Up ? 1 : -1);
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return Feldelement::eventFilter(objekt, ereignis);
}

} // namespace kv
