#include "base/Dezimalzahl.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kv {

Dezimalzahl Dezimalzahl::ausDouble(double wert, int signifikant)
{
    Dezimalzahl z;
    z.m_negativ = std::signbit(wert) && wert != 0.0;
    if (wert == 0.0 || !std::isfinite(wert))
        return z;
    signifikant = qBound(1, signifikant, 17);
    // Scientific notation rounded from the exact binary value; its digits are the decimal value
    // the platform's formats work with.
    char puffer[48];
    const auto ergebnis = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert),
        std::chars_format::scientific, signifikant - 1);
    const char* e
        = static_cast<const char*>(std::memchr(puffer, 'e', size_t(ergebnis.ptr - puffer)));
    for (const char* p = puffer; p < e; ++p) {
        if (*p >= '0' && *p <= '9')
            z.m_ziffern[size_t(z.m_anzahl++)] = *p;
    }
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), ergebnis.ptr, exponent);
    z.m_punkt = exponent + 1;
    z.normalisiere();
    return z;
}

Dezimalzahl Dezimalzahl::ausGanzzahl(qint64 wert)
{
    Dezimalzahl z;
    z.m_negativ = wert < 0;
    // via unsigned so that the smallest qint64 keeps its digits
    const quint64 betrag = wert < 0 ? quint64(0) - quint64(wert) : quint64(wert);
    const auto ergebnis = std::to_chars(z.m_ziffern.data(), z.m_ziffern.data() + 20, betrag);
    z.m_anzahl = int(ergebnis.ptr - z.m_ziffern.data());
    z.m_punkt = z.m_anzahl;
    z.normalisiere();
    return z;
}

void Dezimalzahl::normalisiere()
{
    int fuehrend = 0;
    while (fuehrend < m_anzahl && m_ziffern[size_t(fuehrend)] == '0')
        ++fuehrend;
    if (fuehrend > 0) {
        std::memmove(m_ziffern.data(), m_ziffern.data() + fuehrend, size_t(m_anzahl - fuehrend));
        m_anzahl -= fuehrend;
        m_punkt -= fuehrend;
    }
    while (m_anzahl > 0 && m_ziffern[size_t(m_anzahl - 1)] == '0')
        --m_anzahl;
    if (m_anzahl == 0)
        m_punkt = 0;
}

void Dezimalzahl::rundeAbIndex(int index)
{
    // keep the digits before index, round by the digit at index
    if (index >= m_anzahl)
        return;
    if (index < 0) {
        m_anzahl = 0;
        m_punkt = 0;
        return;
    }
    const bool auf = m_ziffern[size_t(index)] >= '5';
    m_anzahl = index;
    if (auf) {
        int i = index - 1;
        while (i >= 0 && m_ziffern[size_t(i)] == '9') {
            m_ziffern[size_t(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++m_ziffern[size_t(i)];
        } else {
            // all nines: 0.999 -> 1.000; the digits left are zeros, trimmed below
            m_ziffern[0] = '1';
            m_anzahl = 1;
            ++m_punkt;
        }
    }
    normalisiere();
}

} // namespace kv
