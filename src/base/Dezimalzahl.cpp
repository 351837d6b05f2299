#include "base/Dezimalzahl.h"

#include <cmath>
#include <cstdio>
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
    // "%.*e" rounds the exact binary value; the digit string it yields is the decimal value
    // the platform's formats work with.
    char puffer[40];
    const int n = std::snprintf(puffer, sizeof puffer, "%.*e", signifikant - 1, std::fabs(wert));
    const char* e = static_cast<const char*>(std::memchr(puffer, 'e', size_t(n)));
    for (const char* p = puffer; p < e; ++p) {
        if (*p >= '0' && *p <= '9')
            z.m_ziffern += *p;
    }
    z.m_punkt = std::atoi(e + 1) + 1;
    z.normalisiere();
    return z;
}

Dezimalzahl Dezimalzahl::ausGanzzahl(qint64 wert)
{
    Dezimalzahl z;
    z.m_negativ = wert < 0;
    // via unsigned so that the smallest qint64 keeps its digits
    quint64 betrag = wert < 0 ? quint64(0) - quint64(wert) : quint64(wert);
    z.m_ziffern = QByteArray::number(betrag);
    z.m_punkt = int(z.m_ziffern.size());
    z.normalisiere();
    return z;
}

void Dezimalzahl::normalisiere()
{
    qsizetype fuehrend = 0;
    while (fuehrend < m_ziffern.size() && m_ziffern.at(fuehrend) == '0')
        ++fuehrend;
    m_ziffern.remove(0, fuehrend);
    m_punkt -= int(fuehrend);
    while (!m_ziffern.isEmpty() && m_ziffern.back() == '0')
        m_ziffern.chop(1);
    if (m_ziffern.isEmpty())
        m_punkt = 0;
}

void Dezimalzahl::rundeAbIndex(int index)
{
    // keep digits [0, index), round by digit index
    if (index >= m_ziffern.size())
        return;
    if (index < 0) {
        m_ziffern.clear();
        m_punkt = 0;
        return;
    }
    const bool auf = m_ziffern.at(index) >= '5';
    m_ziffern.truncate(index);
    if (auf) {
        int i = index - 1;
        while (i >= 0 && m_ziffern.at(i) == '9') {
            m_ziffern[i] = '0';
            --i;
        }
        if (i >= 0) {
            m_ziffern[i] = char(m_ziffern.at(i) + 1);
        } else {
            m_ziffern.prepend('1');
            ++m_punkt;
        }
    }
    normalisiere();
}

void Dezimalzahl::rundeAufStellen(int n)
{
    rundeAbIndex(m_punkt + n);
}

void Dezimalzahl::rundeSignifikant(int n)
{
    rundeAbIndex(n);
}

QByteArray Dezimalzahl::ganzteil() const
{
    if (m_punkt <= 0)
        return QByteArray();
    QByteArray g = m_ziffern.left(m_punkt);
    if (g.size() < m_punkt)
        g.append(QByteArray(m_punkt - g.size(), '0'));
    return g;
}

QByteArray Dezimalzahl::nachkomma(int n) const
{
    QByteArray aus;
    aus.reserve(n);
    for (int k = 0; k < n; ++k) {
        const int index = m_punkt + k;
        aus += index >= 0 && index < m_ziffern.size() ? m_ziffern.at(index) : '0';
    }
    return aus;
}

} // namespace kv
