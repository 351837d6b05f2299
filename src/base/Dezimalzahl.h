#pragma once

#include <QtGlobal>
#include <array>
#include <string_view>

namespace kv {

/// An unsigned decimal number as a digit string, so that the formats round half away from zero
/// on the decimal value the user sees rather than on the binary double (2.345 -> 2.35).
/// Value = 0.ziffern * 10^punkt; zero has no digits. Holds its digits inline: formatting a grid
/// cell allocates nothing here.
class Dezimalzahl {
public:
    Dezimalzahl() = default;
    /// From a double with significant decimal digits (15 for doubles, 7 for singles, as the
    /// formats of the platform show them). The sign goes to negativ().
    static Dezimalzahl ausDouble(double wert, int signifikant = 15);
    static Dezimalzahl ausGanzzahl(qint64 wert);

    bool negativ() const { return m_negativ; }
    bool istNull() const { return m_anzahl == 0; }
    /// Digits without leading or trailing zeros.
    std::string_view ziffern() const { return { m_ziffern.data(), size_t(m_anzahl) }; }
    /// Digit number index of ziffern(), '0' outside them (leading and trailing zeros).
    char ziffer(int index) const
    {
        return index >= 0 && index < m_anzahl ? m_ziffern[size_t(index)] : '0';
    }
    /// Digits before the decimal point (may be negative or beyond the digit count).
    int punkt() const { return m_punkt; }
    /// Count of digits before the point, 0 for less than 1.
    int ganzStellen() const { return m_punkt > 0 ? m_punkt : 0; }

    /// Multiplies by 10^n.
    void verschiebe(int n)
    {
        if (!istNull())
            m_punkt += n;
    }
    /// Rounds half away from zero to n decimal places.
    void rundeAufStellen(int n) { rundeAbIndex(m_punkt + n); }
    /// Rounds half away from zero to n significant digits.
    void rundeSignifikant(int n) { rundeAbIndex(n); }

private:
    void rundeAbIndex(int index);
    void normalisiere();

    // 19 digits of a qint64, one more for a carry
    std::array<char, 24> m_ziffern {};
    int m_anzahl = 0;
    int m_punkt = 0;
    bool m_negativ = false;
};

} // namespace kv
