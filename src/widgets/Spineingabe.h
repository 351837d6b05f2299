#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

#include <optional>

class QLineEdit;
class QToolButton;

namespace kv {

/// The common part of the number and date inputs: a line that shows the value in its display
/// format and, while it has the focus, in the form it is typed; arrows and a button on either
/// side as the spin display asks; a check of every entry when the input is left, which reports
/// an invalid entry and takes the focus back.
class Spineingabe : public Feldelement {
    Q_OBJECT
public:
    explicit Spineingabe(QWidget* parent = nullptr);

    void setzeSpinanzeige(Spinanzeige s);
    Spinanzeige spinanzeige() const { return m_spin; }
    void setzeAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v);

    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override;
    QString eingabetext() const override;
    bool leer() const override;
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    /// The entry can be taken (an untouched value always can).
    bool gueltig() const;
    /// Checks the entry; an invalid one is reported ("Der Eingabewert ist ungültig!…") and the
    /// input takes the focus. False when it was invalid.
    bool pruefen();
    /// Puts a value in as if the user had typed it.
    void setzeEingabe(const QVariant& wert);

    QLineEdit* zeile() const { return m_zeile; }
    QToolButton* pfeilAuf() const { return m_auf; }
    QToolButton* pfeilAb() const { return m_ab; }
    /// The calculator or calendar button.
    QToolButton* knopf() const { return m_knopf; }

Q_SIGNALS:
    /// An invalid entry was reported.
    void eingabeAbgelehnt(const QString& text);

protected:
    /// The value of a typed text; a null QVariant for an empty entry when that is allowed;
    /// nullopt when the text is no allowed value.
    virtual std::optional<QVariant> lies(const QString& text) const = 0;
    /// The value in the display format (the input without focus).
    virtual QString anzeigetext(const QVariant& wert) const = 0;
    /// The value as it is typed.
    virtual QString bearbeitungstext(const QVariant& wert) const = 0;
    /// The message that refuses text.
    virtual QString ungueltigtext(const QString& text) const = 0;
    /// The value one step up (richtung 1) or down (-1) from wert.
    virtual QVariant schritt(const QVariant& wert, int richtung) const = 0;
    /// The side button (calculator, calendar) was pressed.
    virtual void knopfGedrueckt() = 0;
    /// Called when the display form changes (format, limits): shows the value again.
    void neuAnzeigen();
    /// The value last shown or taken, whatever the line holds now.
    const QVariant& uebernommenerWert() const { return m_wert; }

    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void sichtbarkeitAnwenden();
    void schrittAusfuehren(int richtung);
    void verlassen();

    QLineEdit* m_zeile;
    QToolButton* m_auf;
    QToolButton* m_ab;
    QToolButton* m_knopf;
    Spinanzeige m_spin = Spinanzeige::Aus;
    QVariant m_wert;
    /// The line holds what the user typed, not the shown value.
    bool m_bearbeitet = false;
    bool m_fokus = false;
};

} // namespace kv
