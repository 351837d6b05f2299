#pragma once

#include "masks/Elementeinstellungen.h"
#include "widgets/Feldelement.h"

class QLineEdit;

namespace kv {

/// The single-line text input of a mask ("EingabeText"): at most the field's size in
/// characters, optionally an input format that allows certain characters per position.
class Texteingabe : public Feldelement {
    Q_OBJECT
public:
    explicit Texteingabe(QWidget* parent = nullptr);

    void setzeEinstellungen(const TexteingabeEinstellungen& e);
    /// Characters per position: "A" A to Z, "a" a to z, "9" digits, "#" digits and + - $ % \ , .,
    /// "@" other symbols, "B" 0 or 1, "x" hexadecimal digits; letters are turned to the case the
    /// position asks for. The format's length is the entry's length; empty allows any text.
    void setzeEingabeformat(const QString& format);
    /// Most characters; 0 or less: no limit.
    void setzeHoechstlaenge(int zeichen);
    int hoechstlaenge() const { return m_grenze; }
    void setzeAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v);

    void zeigeWert(const QVariant& wert) override;
    QVariant wert() const override;
    QString eingabetext() const override;
    void setzeNurLesen(bool ja) override;
    void setzeFarben(const QColor& hintergrund, const QColor& text) override;

    QLineEdit* zeile() const { return m_zeile; }

private:
    QLineEdit* m_zeile;
    int m_grenze = 0;
};

/// Whether character c may stand where format character f asks for one (see setzeEingabeformat).
bool passtZuFormatzeichen(QChar f, QChar c);

/// The Qt alignment of the element alignments.
Qt::Alignment qtAusrichtung(HorizontaleAusrichtung h, VertikaleAusrichtung v);

} // namespace kv
