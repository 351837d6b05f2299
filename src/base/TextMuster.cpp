#include "base/TextMuster.h"

#include "base/Formatabschnitte.h"

namespace kv::formatdetail {

bool TextMuster::hatZeichenplatz(const QString& abschnitt)
{
    return findeAusserhalbLiteralen(abschnitt,
        [](const QString& s, qsizetype i) { return s.at(i) == u'@' || s.at(i) == u'&'; });
}

bool TextMuster::hatTextplatz(const QString& abschnitt)
{
    return findeAusserhalbLiteralen(abschnitt,
        [](const QString& s, qsizetype i) { return QStringLiteral("@&<>!").contains(s.at(i)); });
}

TextMuster::TextMuster(const QString& abschnitt)
{
    qsizetype i = 0;
    while (i < abschnitt.size()) {
        QString text;
        if (!leseLiteral(abschnitt, i, text)) {
            const QChar c = abschnitt.at(i++);
            if (c == u'@' || c == u'&') {
                m_elemente.append({ true, c == u'@', QString() });
                ++m_plaetze;
                continue;
            }
            if (c == u'<' || c == u'>') {
                m_gross = c == u'>' ? 1 : -1;
                continue;
            }
            if (c == u'!') {
                m_vonLinks = true;
                continue;
            }
            text = c;
        }
        if (!m_elemente.isEmpty() && !m_elemente.back().platz)
            m_elemente.back().text += text;
        else
            m_elemente.append({ false, false, text });
    }
}

QString TextMuster::formatiere(const QString& eingabe) const
{
    const QString text = m_gross > 0 ? eingabe.toUpper()
        : m_gross < 0                ? eingabe.toLower()
                                     : eingabe;
    if (m_plaetze == 0) {
        QString aus;
        for (const Element& e : m_elemente)
            aus += e.text;
        return aus + text;
    }
    // Characters fill the places from the right (from the left with "!"); the outermost place
    // takes whatever does not fit.
    const qsizetype ueberzaehlig = qMax<qsizetype>(0, text.size() - m_plaetze);
    const qsizetype fehlend = qMax<qsizetype>(0, m_plaetze - text.size());
    QString aus;
    int platz = 0;
    qsizetype zeichen = 0;
    for (const Element& e : m_elemente) {
        if (!e.platz) {
            aus += e.text;
            continue;
        }
        const int nr = platz++;
        const bool leer = m_vonLinks ? nr >= text.size() : nr < fehlend;
        if (leer) {
            if (e.pflicht)
                aus += u' ';
            continue;
        }
        qsizetype anzahl = 1;
        if (!m_vonLinks && nr == fehlend)
            anzahl += ueberzaehlig;
        aus += text.mid(zeichen, anzahl);
        zeichen += anzahl;
        if (m_vonLinks && nr == m_plaetze - 1)
            aus += text.mid(zeichen);
    }
    return aus;
}

} // namespace kv::formatdetail
