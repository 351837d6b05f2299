#include "base/DatumMuster.h"

#include "base/Formatabschnitte.h"

namespace kv::formatdetail {

namespace {
const QDate k_tagNull(1899, 12, 30);

qsizetype laufLaenge(const QString& s, qsizetype i)
{
    const QChar c = s.at(i).toLower();
    qsizetype n = 1;
    while (i + n < s.size() && s.at(i + n).toLower() == c)
        ++n;
    return n;
}

/// Length of an AM/PM token at i (0 when there is none).
qsizetype amPmLaenge(const QString& s, qsizetype i)
{
    const QStringView rest = QStringView(s).mid(i);
    if (rest.startsWith(u"am/pm", Qt::CaseInsensitive))
        return 5;
    if (rest.startsWith(u"ampm", Qt::CaseInsensitive))
        return 4;
    if (rest.startsWith(u"a/p", Qt::CaseInsensitive))
        return 3;
    return 0;
}

QString zweistellig(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}
} // namespace

bool DatumMuster::hatDatumsplatz(const QString& abschnitt)
{
    return findeAusserhalbLiteralen(abschnitt, [](const QString& s, qsizetype i) {
        return QStringLiteral("dwmqyhnsc").contains(s.at(i).toLower()) || amPmLaenge(s, i) > 0
            || QStringView(s).mid(i).startsWith(u"ttttt", Qt::CaseInsensitive);
    });
}

DatumMuster::DatumMuster(const QString& abschnitt, const Regionaldaten& r)
{
    lies(abschnitt, r, 0);
    // "m" is a minute right after an hour or right before a second.
    auto naechsterPlatz = [this](qsizetype von, int schritt) -> const Element* {
        for (qsizetype j = von + schritt; j >= 0 && j < m_elemente.size(); j += schritt) {
            if (m_elemente.at(j).typ != Typ::Literal)
                return &m_elemente.at(j);
        }
        return nullptr;
    };
    for (qsizetype j = 0; j < m_elemente.size(); ++j) {
        Element& e = m_elemente[j];
        if (e.typ != Typ::Monat && e.typ != Typ::Monat2)
            continue;
        const Element* davor = naechsterPlatz(j, -1);
        const Element* danach = naechsterPlatz(j, 1);
        if ((davor && (davor->typ == Typ::Stunde || davor->typ == Typ::Stunde2))
            || (danach && (danach->typ == Typ::Sekunde || danach->typ == Typ::Sekunde2)))
            e.typ = e.typ == Typ::Monat ? Typ::Minute : Typ::Minute2;
    }
    for (const Element& e : std::as_const(m_elemente)) {
        if (e.typ == Typ::AmPm)
            m_zwoelfStunden = true;
        if (e.typ == Typ::Allgemein && !m_allgemein)
            m_allgemein = std::make_shared<const QList<DatumMuster>>(
                QList<DatumMuster> { kurzesDatum(r), langeZeit(r) });
    }
}

void DatumMuster::literal(const QString& text)
{
    if (!m_elemente.isEmpty() && m_elemente.back().typ == Typ::Literal)
        m_elemente.back().text += text;
    else
        m_elemente.append({ Typ::Literal, text });
}

void DatumMuster::lies(const QString& abschnitt, const Regionaldaten& r, int tiefe)
{
    qsizetype i = 0;
    while (i < abschnitt.size()) {
        QString text;
        if (leseLiteral(abschnitt, i, text)) {
            literal(text);
            continue;
        }
        const qsizetype amPm = amPmLaenge(abschnitt, i);
        if (amPm > 0) {
            const QString token = abschnitt.mid(i, amPm);
            m_elemente.append({ Typ::AmPm, amPm == 4 ? r.vormittag + u'/' + r.nachmittag : token });
            i += amPm;
            continue;
        }
        const QChar c = abschnitt.at(i).toLower();
        const qsizetype n = laufLaenge(abschnitt, i);
        auto platz = [this](Typ typ) { m_elemente.append({ typ, QString() }); };
        switch (c.unicode()) {
        case u'd':
            if (n >= 5 && tiefe == 0) {
                lies(plattformMusterAlsFormat(n == 5 ? r.kurzesDatum : r.langesDatum), r, 1);
                break;
            }
            platz(n == 1 ? Typ::Tag : n == 2 ? Typ::Tag2 : n == 3 ? Typ::TagKurz : Typ::TagLang);
            break;
        case u'w':
            platz(n == 1 ? Typ::Wochentag : Typ::Woche);
            break;
        case u'm':
            platz(n == 1     ? Typ::Monat
                    : n == 2 ? Typ::Monat2
                    : n == 3 ? Typ::MonatKurz
                             : Typ::MonatLang);
            break;
        case u'n':
            platz(n == 1 ? Typ::Minute : Typ::Minute2);
            break;
        case u'q':
            for (qsizetype k = 0; k < n; ++k)
                platz(Typ::Quartal);
            break;
        case u'y':
            if (n >= 4)
                platz(Typ::Jahr4);
            else if (n >= 2)
                platz(Typ::Jahr2);
            if (n == 1 || n == 3)
                platz(Typ::Jahrestag);
            break;
        case u'h':
            platz(n == 1 ? Typ::Stunde : Typ::Stunde2);
            break;
        case u's':
            platz(n == 1 ? Typ::Sekunde : Typ::Sekunde2);
            break;
        case u'c':
            for (qsizetype k = 0; k < n; ++k)
                platz(Typ::Allgemein);
            break;
        case u't':
            if (n == 5 && tiefe == 0)
                lies(plattformMusterAlsFormat(r.zeitformat), r, 1);
            else
                literal(abschnitt.mid(i, n));
            break;
        case u'/':
            literal(r.datumstrenner);
            i += 1;
            continue;
        case u':':
            literal(r.zeittrenner);
            i += 1;
            continue;
        default:
            literal(QString(abschnitt.at(i)));
            i += 1;
            continue;
        }
        i += n;
    }
}

DatumMuster DatumMuster::kurzesDatum(const Regionaldaten& r)
{
    return { plattformMusterAlsFormat(r.kurzesDatum), r };
}

DatumMuster DatumMuster::langeZeit(const Regionaldaten& r)
{
    return { plattformMusterAlsFormat(r.zeitformat), r };
}

QString DatumMuster::allgemein(const QDateTime& wert, const DatumMuster& datum,
    const DatumMuster& zeit, const Regionaldaten& r)
{
    const bool ohneZeit = wert.time() == QTime(0, 0);
    if (wert.date() == k_tagNull && !ohneZeit)
        return zeit.formatiere(wert, r);
    if (ohneZeit)
        return datum.formatiere(wert, r);
    return datum.formatiere(wert, r) + u' ' + zeit.formatiere(wert, r);
}

QString DatumMuster::formatiere(const QDateTime& wert, const Regionaldaten& r) const
{
    const QDate d = wert.date();
    const QTime t = wert.time();
    const int wochentag = d.dayOfWeek() % 7 + 1; // 1 = Sunday
    QString aus;
    for (const Element& e : m_elemente) {
        switch (e.typ) {
        case Typ::Literal:
            aus += e.text;
            break;
        case Typ::Tag:
            aus += QString::number(d.day());
            break;
        case Typ::Tag2:
            aus += zweistellig(d.day());
            break;
        case Typ::TagKurz:
            aus += r.tageKurz[wochentag];
            break;
        case Typ::TagLang:
            aus += r.tage[wochentag];
            break;
        case Typ::Wochentag:
            aus += QString::number(wochentag);
            break;
        case Typ::Woche: {
            // Weeks start on Sunday; the week of 1 January is week 1.
            const int ersterTag = QDate(d.year(), 1, 1).dayOfWeek() % 7;
            aus += QString::number((d.dayOfYear() - 1 + ersterTag) / 7 + 1);
            break;
        }
        case Typ::Monat:
            aus += QString::number(d.month());
            break;
        case Typ::Monat2:
            aus += zweistellig(d.month());
            break;
        case Typ::MonatKurz:
            aus += r.monateKurz[d.month()];
            break;
        case Typ::MonatLang:
            aus += r.monate[d.month()];
            break;
        case Typ::Quartal:
            aus += QString::number((d.month() - 1) / 3 + 1);
            break;
        case Typ::Jahrestag:
            aus += QString::number(d.dayOfYear());
            break;
        case Typ::Jahr2:
            aus += zweistellig(d.year() % 100);
            break;
        case Typ::Jahr4:
            aus += QString::number(d.year()).rightJustified(4, u'0');
            break;
        case Typ::Stunde:
        case Typ::Stunde2: {
            int h = t.hour();
            if (m_zwoelfStunden) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            aus += e.typ == Typ::Stunde ? QString::number(h) : zweistellig(h);
            break;
        }
        case Typ::Minute:
            aus += QString::number(t.minute());
            break;
        case Typ::Minute2:
            aus += zweistellig(t.minute());
            break;
        case Typ::Sekunde:
            aus += QString::number(t.second());
            break;
        case Typ::Sekunde2:
            aus += zweistellig(t.second());
            break;
        case Typ::AmPm: {
            const qsizetype strich = e.text.indexOf(u'/');
            aus += t.hour() < 12 ? e.text.left(strich) : e.text.mid(strich + 1);
            break;
        }
        case Typ::Allgemein:
            aus += allgemein(wert, m_allgemein->at(0), m_allgemein->at(1), r);
            break;
        }
    }
    return aus;
}

} // namespace kv::formatdetail
