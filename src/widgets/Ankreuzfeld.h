#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

class QCheckBox;
class QLabel;

namespace kv {

/// The check box of a mask ("EingabeCheckbox") with its own text: the box left or right, the
/// text aligned and, when wanted, over several lines; a click on the text toggles the box.
class Ankreuzfeld : public Feldelement {
    Q_OBJECT
public:
    explicit Ankreuzfeld(QWidget* parent = nullptr);

    void setzeEinstellungen(const CheckboxEinstellungen& e);
    void setzeText(const QString& text);
    QString text() const;

    bool angekreuzt() const;
    /// As if the user clicked the box.
    void umschalten();

    /// Null shows an empty box.
    void zeigeWert(const QVariant& wert) override;
    /// True when ticked, else false (never Null).
    QVariant wert() const override;
    bool leer() const override { return false; }
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    QCheckBox* box() const { return m_box; }
    QLabel* beschriftung() const { return m_text; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    QCheckBox* m_box;
    QLabel* m_text;
    bool m_zeigt = false;
};

} // namespace kv
