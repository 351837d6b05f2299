#include "widgets/Datumseingabe.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "widgets/Eingabepruefung.h"

#include <QCalendarWidget>
#include <QToolButton>

namespace kv {

namespace {

const QString KurzesDatum = QStringLiteral("Short Date");

QString grenztext(const std::optional<QDate>& grenze)
{
    return grenze ? Format(QVariant(grenze->startOfDay()), KurzesDatum) : QString();
}

QDate datumVon(const QVariant& wert)
{
    return wert.metaType().id() == QMetaType::QDate ? wert.toDate() : wert.toDateTime().date();
}

} // namespace

Datumseingabe::Datumseingabe(QWidget* parent)
    : Spineingabe(parent)
{
    knopf()->setArrowType(Qt::DownArrow);
    knopf()->setToolTip(QStringLiteral("Kalender"));
}

void Datumseingabe::setzeEinstellungen(const DatumeingabeEinstellungen& e)
{
    m_e = e;
    setzeNurLesen(e.sperre);
    setzeSpinanzeige(e.spin);
    setzeAusrichtung(e.horizontal, e.vertikal);
    neuAnzeigen();
}

QDateTime Datumseingabe::mitZeit(const QDate& datum) const
{
    const QVariant vorher = uebernommenerWert();
    const QTime zeit = vorher.isNull() ? QTime(0, 0) : vorher.toDateTime().time();
    return QDateTime(datum, zeit);
}

std::optional<QVariant> Datumseingabe::lies(const QString& text) const
{
    if (text.trimmed().isEmpty()) {
        if (!m_e.leereingabe)
            return std::nullopt;
        return QVariant();
    }
    const std::optional<QDateTime> datum = ParseDatum(text);
    if (!datum || !datum->date().isValid() || !m_e.imBereich(datum->date()))
        return std::nullopt;
    // A typed time wins; a date alone keeps the time the value had.
    if (datum->time() != QTime(0, 0))
        return QVariant(*datum);
    return QVariant(mitZeit(datum->date()));
}

QString Datumseingabe::anzeigetext(const QVariant& wert) const
{
    return Format(wert, m_e.anzeigeformat.isEmpty() ? KurzesDatum : m_e.anzeigeformat);
}

QString Datumseingabe::bearbeitungstext(const QVariant& wert) const
{
    return Format(wert, KurzesDatum);
}

QString Datumseingabe::ungueltigtext(const QString& text) const
{
    return UngueltigerEingabewert(
        datenfeld(), text, grenztext(m_e.minimum), grenztext(m_e.maximum), true);
}

QVariant Datumseingabe::schritt(const QVariant& wert, int richtung) const
{
    QDate datum = wert.isNull() ? QDate::currentDate() : datumVon(wert).addDays(richtung);
    if (m_e.minimum && datum < *m_e.minimum)
        datum = *m_e.minimum;
    if (m_e.maximum && datum > *m_e.maximum)
        datum = *m_e.maximum;
    return QVariant(mitZeit(datum));
}

QCalendarWidget* Datumseingabe::kalenderOeffnen()
{
    if (nurLesen())
        return nullptr;
    auto* kalender = new QCalendarWidget(this);
    kalender->setObjectName(QStringLiteral("Kalender"));
    kalender->setWindowFlag(Qt::Popup);
    kalender->setAttribute(Qt::WA_DeleteOnClose);
    if (m_e.minimum)
        kalender->setMinimumDate(*m_e.minimum);
    if (m_e.maximum)
        kalender->setMaximumDate(*m_e.maximum);
    const QVariant jetzt = wert();
    kalender->setSelectedDate(jetzt.isNull() ? QDate::currentDate() : datumVon(jetzt));
    connect(kalender, &QCalendarWidget::clicked, this, [this, kalender](QDate d) {
        setzeEingabe(QVariant(mitZeit(d)));
        kalender->close();
    });
    connect(kalender, &QCalendarWidget::activated, this, [this, kalender](QDate d) {
        setzeEingabe(QVariant(mitZeit(d)));
        kalender->close();
    });
    kalender->move(mapToGlobal(QPoint(0, height())));
    kalender->show();
    kalender->setFocus(Qt::PopupFocusReason);
    return kalender;
}

} // namespace kv
