#include "base/ZahlMuster.h"

#include "base/Formatabschnitte.h"

#include <charconv>
#include <functional>

namespace kv::formatdetail {

namespace {
/// Digits by index, most significant first.
struct Ziffern {
    std::function<char(int)> an;
    int laenge;
};

struct Platz {
    int plaetze; ///< places of this part
    int mindestens; ///< digits shown at least (from the leftmost "0")
    int nummer; ///< this place, counted from the left
};

/// Appends the digits that fall on one place: each place takes one digit counted from the
/// right, the leftmost also every digit the others cannot hold.
void haengeZiffernAn(
    QString& aus, const Ziffern& z, Platz p, bool gruppieren, const QString& trenner)
{
    const int laenge = qMax(z.laenge, p.mindestens);
    const int auffuellen = laenge - z.laenge;
    const int vonRechts = p.plaetze - 1 - p.nummer;
    const int letzte = laenge - 1 - vonRechts;
    for (int index = p.nummer == 0 ? 0 : letzte; index <= letzte; ++index) {
        if (index < 0)
            continue;
        aus += QLatin1Char(index < auffuellen ? '0' : z.an(index - auffuellen));
        const int stelle = laenge - 1 - index;
        if (gruppieren && stelle > 0 && stelle % 3 == 0)
            aus += trenner;
    }
}

bool istExponent(const QString& s, qsizetype i)
{
    return (s.at(i) == u'E' || s.at(i) == u'e') && i + 1 < s.size()
        && (s.at(i + 1) == u'+' || s.at(i + 1) == u'-');
}
} // namespace

bool ZahlMuster::hatZiffernplatz(const QString& abschnitt)
{
    return findeAusserhalbLiteralen(abschnitt,
        [](const QString& s, qsizetype i) { return s.at(i) == u'0' || s.at(i) == u'#'; });
}

ZahlMuster::ZahlMuster(const QString& abschnitt)
{
    enum class Bereich { Ganz, Bruch, Exp } bereich = Bereich::Ganz;
    QList<qsizetype> kommas; // indexes into m_elemente of "," in the integer part
    auto literal = [this](const QString& text) {
        if (!m_elemente.isEmpty() && m_elemente.back().typ == Typ::Literal)
            m_elemente.back().text += text;
        else
            m_elemente.append({ Typ::Literal, false, text });
    };
    qsizetype i = 0;
    while (i < abschnitt.size()) {
        QString text;
        if (leseLiteral(abschnitt, i, text)) {
            literal(text);
            continue;
        }
        const QChar c = abschnitt.at(i);
        if (c == u'0' || c == u'#') {
            const Typ typ = bereich == Bereich::Ganz ? Typ::Ganz
                : bereich == Bereich::Bruch          ? Typ::Bruch
                                                     : Typ::ExpZiffer;
            m_elemente.append({ typ, c == u'0', QString() });
        } else if (c == u'.' && bereich == Bereich::Ganz) {
            m_elemente.append({ Typ::Punkt, false, QString() });
            m_hatPunkt = true;
            bereich = Bereich::Bruch;
        } else if (c == u',' && bereich == Bereich::Ganz) {
            kommas.append(m_elemente.size());
            m_elemente.append({ Typ::Literal, false, QStringLiteral(",") });
        } else if (c == u'%') {
            m_verschiebung += 2;
            literal(QStringLiteral("%"));
        } else if (!m_exponent && istExponent(abschnitt, i)) {
            m_exponent = true;
            m_expPlus = abschnitt.at(i + 1) == u'+';
            m_elemente.append({ Typ::ExpZeichen, false, QString(c) });
            bereich = Bereich::Exp;
            ++i;
        } else {
            literal(QString(c));
        }
        ++i;
    }

    // A comma between integer places turns on grouping; commas after the last integer place
    // divide by 1000 each; any other comma is shown as it is.
    QList<qsizetype> entfernen;
    for (const qsizetype k : kommas) {
        bool davor = false;
        bool danach = false;
        for (qsizetype j = 0; j < m_elemente.size(); ++j) {
            if (m_elemente.at(j).typ == Typ::Ganz)
                (j < k ? davor : danach) = true;
        }
        if (davor && danach) {
            m_gruppieren = true;
            entfernen.append(k);
        } else if (davor) {
            m_verschiebung -= 3;
            entfernen.append(k);
        }
    }
    for (qsizetype j = entfernen.size() - 1; j >= 0; --j)
        m_elemente.removeAt(entfernen.at(j));

    for (const Element& e : std::as_const(m_elemente)) {
        if (e.typ == Typ::Ganz) {
            ++m_ganzPlaetze;
            if (e.null || m_ganzMindestens > 0)
                ++m_ganzMindestens;
        } else if (e.typ == Typ::Bruch) {
            ++m_bruchPlaetze;
        } else if (e.typ == Typ::ExpZiffer) {
            ++m_expPlaetze;
            if (e.null || m_expMindestens > 0)
                ++m_expMindestens;
        }
    }
}

QString ZahlMuster::formatiere(Dezimalzahl zahl, const Regionaldaten& r, bool* nurNullen) const
{
    zahl.verschiebe(m_verschiebung);
    int exponent = 0;
    if (m_exponent) {
        const int mantisse = m_ganzMindestens > 0 ? m_ganzMindestens : (m_ganzPlaetze > 0 ? 1 : 0);
        zahl.rundeSignifikant(mantisse + m_bruchPlaetze);
        if (!zahl.istNull()) {
            exponent = zahl.punkt() - mantisse;
            zahl.verschiebe(-exponent);
        }
    } else {
        zahl.rundeAufStellen(m_bruchPlaetze);
    }
    if (nurNullen)
        *nurNullen = zahl.istNull();
    const auto bruchZiffer = [&zahl](int k) { return zahl.ziffer(zahl.punkt() + k); };

    // Trailing "#" places show no zeros.
    int bruchGezeigt = m_bruchPlaetze;
    for (qsizetype j = m_elemente.size() - 1; j >= 0 && bruchGezeigt > 0; --j) {
        const Element& e = m_elemente.at(j);
        if (e.typ != Typ::Bruch)
            continue;
        if (e.null || bruchZiffer(bruchGezeigt - 1) != '0')
            break;
        --bruchGezeigt;
    }

    const Ziffern ganz { [&zahl](int i) { return zahl.ziffer(i); }, zahl.ganzStellen() };
    char expPuffer[8];
    const int expLaenge = exponent == 0
        ? 0
        : int(
            std::to_chars(expPuffer, expPuffer + sizeof expPuffer, qAbs(exponent)).ptr - expPuffer);
    const Ziffern exp { [&expPuffer](int i) { return expPuffer[i]; }, expLaenge };

    QString aus;
    aus.reserve(24);
    int ganzPlatz = 0;
    int bruchPlatz = 0;
    int expPlatz = 0;
    bool ganzGezeigt = m_ganzPlaetze > 0;
    for (const Element& e : m_elemente) {
        // Without integer places the integer digits still appear, before the fraction.
        if (!ganzGezeigt
            && (e.typ == Typ::Punkt || e.typ == Typ::Bruch || e.typ == Typ::ExpZeichen)) {
            haengeZiffernAn(aus, ganz, { 1, 0, ganzPlatz }, m_gruppieren, r.tausenderzeichen);
            ganzGezeigt = true;
        }
        switch (e.typ) {
        case Typ::Literal:
            aus += e.text;
            break;
        case Typ::Ganz:
            haengeZiffernAn(aus, ganz, { m_ganzPlaetze, m_ganzMindestens, ganzPlatz++ },
                m_gruppieren, r.tausenderzeichen);
            break;
        case Typ::Punkt:
            aus += r.dezimalzeichen;
            break;
        case Typ::Bruch:
            if (bruchPlatz < bruchGezeigt)
                aus += QLatin1Char(bruchZiffer(bruchPlatz));
            ++bruchPlatz;
            break;
        case Typ::ExpZeichen:
            aus += e.text;
            if (exponent < 0)
                aus += u'-';
            else if (m_expPlus)
                aus += u'+';
            if (m_expPlaetze == 0)
                haengeZiffernAn(aus, exp, { 1, 0, 0 }, false, QString());
            break;
        case Typ::ExpZiffer:
            haengeZiffernAn(
                aus, exp, { m_expPlaetze, m_expMindestens, expPlatz++ }, false, QString());
            break;
        }
    }
    return aus;
}

} // namespace kv::formatdetail
