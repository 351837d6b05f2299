#include "masks/Formelausdruck.h"

#include "base/Format.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kv {

namespace {

/// Deeper nesting than anyone writes by hand; keeps the recursion far from the stack's end.
constexpr int HoechsteTiefe = 200;

struct Fehler {
    int nummer;
};

class Parser {
public:
    Parser(QStringView text, const QLocale& locale)
        : m_text(text)
        , m_dezimal(locale.decimalPoint().size() == 1 ? locale.decimalPoint().at(0) : QChar(u'.'))
        , m_gruppe(locale.groupSeparator().size() == 1 ? locale.groupSeparator().at(0) : QChar())
    { }

    /// Sets fehler instead of throwing across the caller.
    Formelergebnis auswerten()
    {
        if (const int f = klammerpruefung())
            return { 0, f };
        m_pos = 0;
        if (!ausdruck())
            return { 0, m_fehler };
        leerraum();
        if (m_pos < m_text.size())
            return { 0, zeichenfehler() };
        return { m_wert == 0 ? 0.0 : m_wert, 0 };
    }

private:
    int klammerpruefung() const
    {
        qsizetype tiefe = 0;
        for (const QChar c : m_text) {
            if (c == u'(')
                ++tiefe;
            else if (c == u')' && --tiefe < 0)
                return Formelfehler::Klammerfehler;
        }
        return tiefe == 0 ? 0 : Formelfehler::Klammerfehler;
    }

    void leerraum()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    QChar zeichen() const { return m_pos < m_text.size() ? m_text.at(m_pos) : QChar(); }

    bool fehler(int nummer)
    {
        if (m_fehler == 0)
            m_fehler = nummer;
        return false;
    }

    /// What an unexpected character means: a name or reference is an undefined variable.
    int zeichenfehler() const
    {
        const QChar c = zeichen();
        if (c.isLetter() || c == u'_' || c == u'{')
            return c == u'{' && !m_text.mid(m_pos).contains(u'}')
                ? Formelfehler::Syntaxfehler
                : Formelfehler::UndefinierteVariable;
        return Formelfehler::Syntaxfehler;
    }

    static bool istMinus(QChar c) { return c == u'-' || c == u'\u2212'; }
    static bool istMal(QChar c) { return c == u'*' || c == u'\u00D7'; }
    static bool istDurch(QChar c) { return c == u'/' || c == u'\u00F7'; }

    /// Checks a result for the range of doubles.
    bool pruefe(double ergebnis, bool operandenNichtNull)
    {
        if (!std::isfinite(ergebnis))
            return fehler(Formelfehler::Ueberlauf);
        if (operandenNichtNull && (ergebnis == 0 || std::fabs(ergebnis) < DBL_MIN))
            return fehler(Formelfehler::WertZuKlein);
        m_wert = ergebnis;
        return true;
    }

    bool ausdruck()
    {
        if (!term())
            return false;
        for (;;) {
            leerraum();
            const QChar op = zeichen();
            if (op != u'+' && !istMinus(op))
                return true;
            ++m_pos;
            const double links = m_wert;
            if (!term())
                return false;
            if (!pruefe(op == u'+' ? links + m_wert : links - m_wert, false))
                return false;
        }
    }

    bool term()
    {
        if (!faktor())
            return false;
        for (;;) {
            leerraum();
            const QChar op = zeichen();
            if (!istMal(op) && !istDurch(op))
                return true;
            ++m_pos;
            const double links = m_wert;
            if (!faktor())
                return false;
            const double rechts = m_wert;
            if (istDurch(op) && rechts == 0)
                return fehler(Formelfehler::DivisionDurchNull);
            const double ergebnis = istMal(op) ? links * rechts : links / rechts;
            if (!pruefe(ergebnis, links != 0 && rechts != 0))
                return false;
        }
    }

    bool faktor()
    {
        if (++m_tiefe > HoechsteTiefe)
            return fehler(Formelfehler::Syntaxfehler);
        const bool ok = faktorOhneTiefe();
        --m_tiefe;
        return ok;
    }

    bool faktorOhneTiefe()
    {
        leerraum();
        const QChar c = zeichen();
        if (c == u'+' || istMinus(c)) {
            ++m_pos;
            if (!faktor())
                return false;
            m_wert = istMinus(c) ? -m_wert : m_wert;
            return true;
        }
        if (c == u'(') {
            ++m_pos;
            if (!ausdruck())
                return false;
            leerraum();
            if (zeichen() != u')')
                return fehler(
                    m_pos < m_text.size() ? zeichenfehler() : Formelfehler::Klammerfehler);
            ++m_pos;
            return true;
        }
        if (c.isDigit() || c == m_dezimal || c == u'.')
            return zahl();
        return fehler(m_pos < m_text.size() ? zeichenfehler() : Formelfehler::Syntaxfehler);
    }

    bool istZahlzeichen(QChar c) const
    {
        return (c >= u'0' && c <= u'9') || c == m_dezimal || c == u'.'
            || (!m_gruppe.isNull() && c == m_gruppe);
    }

    /// Digits with the locale's separators, then an optional exponent; converted to the C form.
    bool zahl()
    {
        const qsizetype anfang = m_pos;
        while (m_pos < m_text.size() && istZahlzeichen(m_text.at(m_pos)))
            ++m_pos;
        const QStringView mantisse = m_text.mid(anfang, m_pos - anfang);
        std::string c;
        if (!cForm(mantisse, c))
            return fehler(Formelfehler::Syntaxfehler);
        const bool nichtNull = c.find_first_of("123456789") != std::string::npos;
        if (m_pos < m_text.size() && (m_text.at(m_pos) == u'e' || m_text.at(m_pos) == u'E')) {
            qsizetype p = m_pos + 1;
            std::string exponent = "e";
            if (p < m_text.size() && (m_text.at(p) == u'+' || istMinus(m_text.at(p)))) {
                exponent += m_text.at(p) == u'+' ? '+' : '-';
                ++p;
            }
            const qsizetype ziffern = p;
            while (p < m_text.size() && m_text.at(p) >= u'0' && m_text.at(p) <= u'9'
                && p - ziffern < 12)
                exponent += char(m_text.at(p++).unicode());
            if (p > ziffern) {
                c += exponent;
                m_pos = p;
                while (m_pos < m_text.size() && m_text.at(m_pos).isDigit())
                    ++m_pos;
                if (m_pos > p) // more exponent digits than any double has
                    return fehler(
                        exponent[1] == '-' ? Formelfehler::WertZuKlein : Formelfehler::Ueberlauf);
            }
        }
        errno = 0;
        char* ende = nullptr;
        const double wert = std::strtod(c.c_str(), &ende);
        if (ende != c.c_str() + c.size())
            return fehler(Formelfehler::Syntaxfehler);
        return pruefe(wert, nichtNull);
    }

    /// The mantissa in C form: the locale's decimal separator as ".", thousands separators only
    /// between complete groups of three; a "." that is no thousands separator is a decimal point.
    bool cForm(QStringView text, std::string& c) const
    {
        qsizetype dezimalstelle = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar z = text.at(i);
            if (z == m_dezimal && z != m_gruppe) {
                if (dezimalstelle >= 0)
                    return false;
                dezimalstelle = i;
            }
        }
        const QStringView ganz = dezimalstelle < 0 ? text : text.left(dezimalstelle);
        const QStringView rest = dezimalstelle < 0 ? QStringView() : text.mid(dezimalstelle + 1);
        for (const QChar z : rest) {
            if (!z.isDigit())
                return false;
        }
        std::string ganzteil;
        if (!ganzzahlteil(ganz, ganzteil, dezimalstelle < 0))
            return false;
        c = ganzteil;
        if (dezimalstelle >= 0) {
            c += '.';
            for (const QChar z : rest)
                c += char(z.unicode());
        }
        return c != "." && !c.empty();
    }

    bool ganzzahlteil(QStringView ganz, std::string& c, bool punktErlaubt) const
    {
        qsizetype gruppen = 0;
        bool gueltig = true;
        qsizetype letzte = -1;
        for (qsizetype i = 0; i < ganz.size(); ++i) {
            const QChar z = ganz.at(i);
            if (z.isDigit()) {
                c += char(z.unicode());
                continue;
            }
            if (z != m_gruppe) {
                // a "." in a locale whose decimal separator is something else
                if (z != u'.' || !punktErlaubt || ganz.mid(i + 1).contains(u'.'))
                    return false;
                c += '.';
                for (const QChar r : ganz.mid(i + 1)) {
                    if (!r.isDigit())
                        return false;
                    c += char(r.unicode());
                }
                return true;
            }
            gueltig = gueltig && (letzte < 0 ? i >= 1 && i <= 3 : i - letzte == 4);
            letzte = i;
            ++gruppen;
        }
        if (gruppen == 0)
            return true;
        gueltig = gueltig && ganz.size() - letzte == 4;
        if (gueltig)
            return true;
        // "12.5" in German: a lone "." that cannot group thousands is a decimal point
        if (m_gruppe == u'.' && gruppen == 1 && punktErlaubt) {
            c.insert(c.size() - size_t(ganz.size() - letzte - 1), 1, '.');
            return true;
        }
        return false;
    }

    QStringView m_text;
    QChar m_dezimal;
    QChar m_gruppe;
    qsizetype m_pos = 0;
    int m_tiefe = 0;
    int m_fehler = 0;
    double m_wert = 0;
};

} // namespace

Formelergebnis werteAusdruckAus(const QString& ausdruck, const QLocale& locale)
{
    return Parser(ausdruck, locale).auswerten();
}

QString formelfehlertext(int nummer)
{
    switch (nummer) {
    case Formelfehler::Syntaxfehler:
        return QStringLiteral("Syntaxfehler");
    case Formelfehler::UndefinierteVariable:
        return QStringLiteral("Undefinierte Variable");
    case Formelfehler::Klammerfehler:
        return QStringLiteral("Klammerfehler");
    case Formelfehler::DivisionDurchNull:
        return QStringLiteral("Division durch 0");
    case Formelfehler::Ueberlauf:
        return QStringLiteral("Überlauffehler");
    case Formelfehler::WertZuKlein:
        return QStringLiteral("Wert ist zu klein");
    default:
        return {};
    }
}

QString formelergebnistext(const Formelergebnis& ergebnis)
{
    if (ergebnis.fehler != 0)
        return QStringLiteral("Fehler: ") + QString::number(ergebnis.fehler) + u' '
            + formelfehlertext(ergebnis.fehler);
    return Format(ergebnis.wert);
}

} // namespace kv
