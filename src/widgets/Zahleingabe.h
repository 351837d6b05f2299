#pragma once

#include "widgets/Spineingabe.h"

namespace kv {

/// The number input of a mask ("EingabeZahl", "EingabeGanzzahl"): the value in its display
/// format, typed in the user's locale, kept within minimum and maximum; the arrows count by one
/// and the button opens a small calculator whose result becomes the entry.
class Zahleingabe : public Spineingabe {
    Q_OBJECT
public:
    explicit Zahleingabe(QWidget* parent = nullptr);

    /// ganzzahl: only whole numbers are taken.
    void setzeEinstellungen(const ZahleingabeEinstellungen& e, bool ganzzahl);
    const ZahleingabeEinstellungen& einstellungen() const { return m_e; }
    bool ganzzahl() const { return m_ganzzahl; }
    /// The format the value is shown in without the focus.
    QString anzeigeformat() const { return m_format; }

    /// Opens the calculator (the button's action).
    void rechnerOeffnen();

protected:
    std::optional<QVariant> lies(const QString& text) const override;
    QString anzeigetext(const QVariant& wert) const override;
    QString bearbeitungstext(const QVariant& wert) const override;
    QString ungueltigtext(const QString& text) const override;
    QVariant schritt(const QVariant& wert, int richtung) const override;
    void knopfGedrueckt() override { rechnerOeffnen(); }

private:
    ZahleingabeEinstellungen m_e;
    bool m_ganzzahl = false;
    QString m_format;
};

} // namespace kv
