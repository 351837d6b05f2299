#pragma once

#include <QString>
#include <QtGlobal>

namespace kv {

/// An unsigned decimal number as a digit string, so that the formats round half away from zero
/// on the decimal value the user sees rather than on the binary double (2.345 -> 2.35).
/// Value = 0.ziffern * 10^punkt; zero has no digits.
class Dezimalzahl {
public:
    Dezimalzahl() = default;
    /// From a double with significant decimal digits (15 for doubles, 7 for singles, as the
    /// formats of the platform show them). The sign goes to negativ().
    static Dezimalzahl ausDouble(double wert, int signifikant = 15);
    static Dezimalzahl ausGanzzahl(qint64 wert);

    bool negativ() const { return m_negativ; }
    bool istNull() const { return m_ziffern.isEmpty(); }
    /// Digits without leading or trailing zeros.
    const QByteArray& ziffern() const { return m_ziffern; }
    /// Digits before the decimal point (may be negative or beyond the digit count).
    int punkt() const { return m_punkt; }

    /// Multiplies by 10^n.
    void verschiebe(int n)
    {
        if (!istNull())
            m_punkt += n;
    }
    /// Rounds half away from zero to n decimal places.
    void rundeAufStellen(int n);
    /// Rounds half away from zero to n significant digits.
    void rundeSignifikant(int n);

    /// Digits before the point, without leading zeros ("" for less than 1).
    QByteArray ganzteil() const;
    /// The first n digits after the point, padded with zeros.
    QByteArray nachkomma(int n) const;

private:
    void rundeAbIndex(int index);
    void normalisiere();

    QByteArray m_ziffern;
    int m_punkt = 0;
    bool m_negativ = false;
};

} // namespace kv
