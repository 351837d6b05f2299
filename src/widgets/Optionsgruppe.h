#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

class QBoxLayout;
class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace kv {

/// The option group of a mask ("EingabeOptionbox"): a framed group with its caption and one
/// option button per option; choosing one writes that option's value into the field. The
/// buttons stand side by side when the group is much wider than high, else one below the other.
class Optionsgruppe : public Feldelement {
    Q_OBJECT
public:
    explicit Optionsgruppe(QWidget* parent = nullptr);

    void setzeEinstellungen(const OptionboxEinstellungen& e);
    const QList<Option>& optionen() const { return m_optionen; }
    /// Index of the chosen option; -1 when none is chosen.
    int gewaehlt() const;
    /// As if the user chose option index.
    void waehle(int index);
    QRadioButton* knopf(int index) const;

    /// Chooses the option whose value equals the stored one (numbers compared as numbers);
    /// none when no option has it.
    void zeigeWert(const QVariant& wert) override;
    /// The chosen option's value as written in the definition; Null when none is chosen.
    QVariant wert() const override;
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void keineWahl();

    QGroupBox* m_rahmen;
    QBoxLayout* m_knoepfe;
    QButtonGroup* m_gruppe;
    QList<Option> m_optionen;
    bool m_zeigt = false;
};

/// Whether an option value (as written in the definition) stands for a stored value.
bool optionswertPasst(const QString& option, const QVariant& wert);

} // namespace kv
