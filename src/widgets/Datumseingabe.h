#pragma once

#include "widgets/Spineingabe.h"

class QCalendarWidget;

namespace kv {

/// The date input of a mask ("EingabeDatum"): typed in the system's short date form, shown in
/// its display format, kept between the earliest and latest date; the arrows count by days and
/// the button opens a calendar. A time of day the stored value carries is kept.
class Datumseingabe : public Spineingabe {
    Q_OBJECT
public:
    explicit Datumseingabe(QWidget* parent = nullptr);

    void setzeEinstellungen(const DatumeingabeEinstellungen& e);
    const DatumeingabeEinstellungen& einstellungen() const { return m_e; }

    /// Opens the calendar (the button's action); nullptr when read-only.
    QCalendarWidget* kalenderOeffnen();

protected:
    std::optional<QVariant> lies(const QString& text) const override;
    QString anzeigetext(const QVariant& wert) const override;
    QString bearbeitungstext(const QVariant& wert) const override;
    QString ungueltigtext(const QString& text) const override;
    QVariant schritt(const QVariant& wert, int richtung) const override;
    void knopfGedrueckt() override { kalenderOeffnen(); }

private:
    /// The date with the time of the value taken before.
    QDateTime mitZeit(const QDate& datum) const;

    DatumeingabeEinstellungen m_e;
};

} // namespace kv
