#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

namespace kv {

class Zelleneditor;

/// The multi-line text input of a mask ("EingabeTextMemo"). Line breaks go back in the form the
/// stored text had; Shift+Enter and Ctrl+Enter insert one (Enter moves on in the mask).
class Memoeingabe : public Feldelement {
    Q_OBJECT
public:
    explicit Memoeingabe(QWidget* parent = nullptr);

    void setzeEinstellungen(const TexteingabeEinstellungen& e);
    void setzeAusrichtung(HorizontaleAusrichtung h);
    /// Most characters; 0 or less: no limit.
    void setzeHoechstlaenge(int zeichen) { m_grenze = std::max(zeichen, 0); }
    int hoechstlaenge() const { return m_grenze; }

    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override;
    QString eingabetext() const override;
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    Zelleneditor* editor() const { return m_editor; }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void begrenzen();

    Zelleneditor* m_editor;
    int m_grenze = 0;
    bool m_zeigt = false;
};

} // namespace kv
