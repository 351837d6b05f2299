#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

namespace kv {

/// The display text of a mask ("AnzeigeText"): a field's value in its display format, a static
/// text, or what the window computed for a formula; with a frame, a raised or inset text style,
/// a text colour and a font size of its own. It takes no entries.
class Anzeigefeld : public Feldelement {
    Q_OBJECT
public:
    explicit Anzeigefeld(QWidget* parent = nullptr);

    /// Static texts show at once; a formula shows nothing until its result is set.
    void setzeEinstellungen(const AnzeigetextEinstellungen& e);
    const AnzeigetextEinstellungen& einstellungen() const { return m_e; }

    void setzeText(const QString& text);
    const QString& text() const { return m_text; }

    /// Shows a field's value in the display format.
    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override { return m_wert; }
    QString eingabetext() const override { return m_text; }
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    AnzeigetextEinstellungen m_e;
    QString m_text;
    QVariant m_wert;
    QColor m_hintergrund;
    QColor m_textfarbe;
};

} // namespace kv
