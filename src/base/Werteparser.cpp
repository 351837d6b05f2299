#include "base/Werteparser.h"

#include "base/Landeseinstellungen.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>

namespace kv {

namespace {

const QDate k_tagNull(1899, 12, 30);

bool istLeerzeichen(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

bool passtTausender(QChar c, const QString& trenner)
{
    if (trenner.size() != 1)
        return false;
    if (c == trenner.at(0))
        return true;
    // Locales that group with a (narrow) no-break space also get a plain blank typed.
    return istLeerzeichen(trenner.at(0)) && istLeerzeichen(c);
}

std::optional<int> zweistelligesJahr(QStringView text)
{
    bool ok = false;
    const int jahr = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    if (text.size() <= 2)
        return jahr < 30 ? 2000 + jahr : 1900 + jahr;
    return jahr;
}

/// Month number of a month name or its abbreviation (case-insensitive), 0 when none.
int monatAusName(QStringView wort, const Regionaldaten& r)
{
    if (wort.endsWith(u'.'))
        wort.chop(1);
    if (wort.size() < 3)
        return 0;
    for (int m = 1; m <= 12; ++m) {
        if (wort.compare(r.monate[m], Qt::CaseInsensitive) == 0
            || wort.compare(r.monateKurz[m], Qt::CaseInsensitive) == 0
            || (wort.size() >= 3 && r.monate[m].startsWith(wort, Qt::CaseInsensitive)))
            return m;
    }
    return 0;
}

bool istZiffernfolge(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

std::optional<QDate> leseDatumsteil(QString text, const Regionaldaten& r)
{
    // A leading weekday ("Sonntag, 1. Februar 2009") says nothing the date does not.
    const qsizetype komma = text.indexOf(u',');
    if (komma >= 0) {
        const QStringView vorne = QStringView(text).left(komma).trimmed();
        bool wochentag = false;
        for (int t = 1; t <= 7; ++t) {
            if (vorne.compare(r.tage[t], Qt::CaseInsensitive) == 0
                || vorne.compare(r.tageKurz[t], Qt::CaseInsensitive) == 0)
                wochentag = true;
        }
        if (!wochentag)
            return std::nullopt;
        text = text.mid(komma + 1);
    }
    static const QRegularExpression trenner(QStringLiteral("[\\s./-]+"));
    const QStringList teile = text.split(trenner, Qt::SkipEmptyParts);
    if (teile.size() < 2 || teile.size() > 3)
        return std::nullopt;

    int monat = 0;
    QStringList zahlen;
    for (const QString& t : teile) {
        if (istZiffernfolge(t)) {
            zahlen.append(t);
            continue;
        }
        const int m = monat == 0 ? monatAusName(t, r) : 0;
        if (m == 0)
            return std::nullopt;
        monat = m;
    }

    QStringView tagText, monatText, jahrText;
    if (monat > 0) {
        if (zahlen.size() == 2 && zahlen.at(0).size() >= 3) {
            jahrText = zahlen.at(0);
            tagText = zahlen.at(1);
        } else {
            tagText = zahlen.at(0);
            if (zahlen.size() == 2)
                jahrText = zahlen.at(1);
        }
    } else if (zahlen.size() == 3 && (zahlen.at(0).size() >= 3 || r.datumsreihenfolge == 2)) {
        jahrText = zahlen.at(0);
        monatText = zahlen.at(1);
        tagText = zahlen.at(2);
    } else {
        const bool monatZuerst = r.datumsreihenfolge == 0;
        tagText = zahlen.at(monatZuerst ? 1 : 0);
        monatText = zahlen.at(monatZuerst ? 0 : 1);
        if (zahlen.size() == 3)
            jahrText = zahlen.at(2);
    }
    if (monat == 0)
        monat = monatText.toInt();
    const int tag = tagText.toInt();
    int jahr = QDate::currentDate().year();
    if (!jahrText.isEmpty()) {
        const std::optional<int> j = zweistelligesJahr(jahrText);
        if (!j)
            return std::nullopt;
        jahr = *j;
    }
    if (jahr < 100 || jahr > 9999 || !QDate::isValid(jahr, monat, tag))
        return std::nullopt;
    return QDate(jahr, monat, tag);
}

} // namespace

std::optional<double> ParseZahl(const QString& text, const QLocale& locale)
{
    const auto region = Regionaldaten::fuer(locale);
    const Regionaldaten& r = *region;
    QStringView s = QStringView(text).trimmed();
    bool negativ = false;
    bool vorzeichen = false;
    auto leseVorzeichen = [&] {
        if (!vorzeichen && !s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
            negativ = s.front() == u'-';
            vorzeichen = true;
            s = s.mid(1).trimmed();
        }
    };
    leseVorzeichen();
    if (!r.waehrung.isEmpty()) {
        if (s.startsWith(r.waehrung))
            s = s.mid(r.waehrung.size()).trimmed();
        else if (s.endsWith(r.waehrung))
            s = s.left(s.size() - r.waehrung.size()).trimmed();
    }
    leseVorzeichen();

    std::string ascii;
    ascii.reserve(size_t(s.size()) + 2);
    if (negativ)
        ascii += '-';
    qsizetype i = 0;
    int ziffern = 0;
    int gruppe = 0; // digits since the last thousands separator
    bool gruppiert = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c >= u'0' && c <= u'9') {
            ascii += char(c.unicode());
            ++ziffern;
            ++gruppe;
        } else if (passtTausender(c, r.tausenderzeichen) && i + 1 < s.size()
            && s.at(i + 1).isDigit()) {
            if (gruppe == 0 || gruppe > 3 || (gruppiert && gruppe != 3))
                return std::nullopt;
            gruppiert = true;
            gruppe = 0;
        } else {
            break;
        }
    }
    if (gruppiert && gruppe != 3)
        return std::nullopt;
    if (i < s.size() && QStringView(r.dezimalzeichen) == s.mid(i, r.dezimalzeichen.size())) {
        i += r.dezimalzeichen.size();
        ascii += '.';
        for (; i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'9'; ++i) {
            ascii += char(s.at(i).unicode());
            ++ziffern;
        }
    }
    if (ziffern == 0)
        return std::nullopt;
    if (i < s.size() && (s.at(i) == u'E' || s.at(i) == u'e')) {
        ascii += 'e';
        ++i;
        if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-'))
            ascii += char(s.at(i++).unicode());
        const qsizetype anfang = i;
        for (; i < s.size() && s.at(i) >= u'0' && s.at(i) <= u'9'; ++i)
            ascii += char(s.at(i).unicode());
        if (i == anfang)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    double wert = 0;
    const auto [ende, fehler] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), wert);
    if (fehler != std::errc() || ende != ascii.data() + ascii.size() || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

double Val(const QString& text)
{
    std::string ascii;
    qsizetype i = 0;
    const auto naechstes = [&]() -> QChar {
        while (i < text.size()
            && (text.at(i) == u' ' || text.at(i) == u'\t' || text.at(i) == u'\n'
                || text.at(i) == u'\r'))
            ++i;
        return i < text.size() ? text.at(i) : QChar();
    };
    if (naechstes() == u'&' && i + 1 < text.size()) {
        const QChar art = text.at(i + 1).toUpper();
        const int basis = art == u'H' ? 16 : art == u'O' ? 8 : 0;
        if (basis != 0) {
            i += 2;
            qint64 wert = 0;
            for (int stellen = 0; stellen < 16; ++stellen) {
                const char16_t c = naechstes().toUpper().unicode();
                const int ziffer = c >= u'0' && c <= u'9' ? c - u'0'
                    : c >= u'A' && c <= u'F'              ? c - u'A' + 10
                                                          : basis;
                if (ziffer >= basis)
                    break;
                wert = wert * basis + ziffer;
                ++i;
            }
            return double(wert);
        }
    }
    const QChar vorzeichen = naechstes();
    if (vorzeichen == u'-' || vorzeichen == u'+') {
        if (vorzeichen == u'-')
            ascii += '-';
        ++i;
    }
    bool punkt = false;
    bool exponent = false;
    for (QChar c = naechstes(); !c.isNull(); c = naechstes()) {
        if (c >= u'0' && c <= u'9') {
            ascii += char(c.unicode());
        } else if (c == u'.' && !punkt && !exponent) {
            punkt = true;
            ascii += '.';
        } else if ((c == u'E' || c == u'e' || c == u'D' || c == u'd') && !exponent) {
            exponent = true;
            ascii += 'e';
            ++i;
            const QChar vorzeichen = naechstes();
            if (vorzeichen == u'-' || vorzeichen == u'+') {
                ascii += char(vorzeichen.unicode());
                ++i;
            }
            continue;
        } else {
            break;
        }
        ++i;
    }
    double wert = 0;
    // from_chars reads the longest valid prefix ("1e" reads as 1)
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), wert);
    return std::isfinite(wert) ? wert : 0.0;
}

bool IstZahl(const QString& text, const QLocale& locale)
{
    return ParseZahl(text, locale).has_value();
}

std::optional<QDateTime> ParseDatum(const QString& text, const QLocale& locale)
{
    const auto region = Regionaldaten::fuer(locale);
    QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    // stored form "2009-02-01T10:30:00"
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ]|$)"));
    const QRegularExpressionMatch isoTreffer = iso.match(s);
    QDate datum;
    bool datumGelesen = false;
    if (isoTreffer.hasMatch()) {
        datum = QDate(isoTreffer.capturedView(1).toInt(), isoTreffer.capturedView(2).toInt(),
            isoTreffer.capturedView(3).toInt());
        if (!datum.isValid())
            return std::nullopt;
        datumGelesen = true;
        s = s.mid(isoTreffer.capturedEnd(3)).trimmed();
        if (s.startsWith(u'T'))
            s = s.mid(1);
    }

    static const QRegularExpression zeitMuster(
        QStringLiteral("(?:^|\\s)(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:[.,](\\d{1,3})\\d*)?)?"
                       "\\s*([ap]m?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    QTime zeit(0, 0);
    const QRegularExpressionMatch zeitTreffer = zeitMuster.match(s);
    if (zeitTreffer.hasMatch()) {
        int stunde = zeitTreffer.capturedView(1).toInt();
        const int minute = zeitTreffer.capturedView(2).toInt();
        const int sekunde = zeitTreffer.capturedView(3).toInt();
        const int milli = zeitTreffer.captured(4).leftJustified(3, u'0').toInt();
        const QStringView amPm = zeitTreffer.capturedView(5);
        if (!amPm.isEmpty()) {
            if (stunde < 1 || stunde > 12)
                return std::nullopt;
            stunde = stunde % 12 + (amPm.front().toLower() == u'p' ? 12 : 0);
        }
        if (!QTime::isValid(stunde, minute, sekunde, milli))
            return std::nullopt;
        zeit = QTime(stunde, minute, sekunde, milli);
        s = s.left(zeitTreffer.capturedStart()).trimmed();
    }
    if (datumGelesen) {
        if (!s.isEmpty())
            return std::nullopt;
    } else if (s.isEmpty()) {
        if (!zeitTreffer.hasMatch())
            return std::nullopt;
        datum = k_tagNull;
    } else {
        const std::optional<QDate> d = leseDatumsteil(s, *region);
        if (!d)
            return std::nullopt;
        datum = *d;
    }
    return QDateTime(datum, zeit);
}

bool IstDatum(const QString& text, const QLocale& locale)
{
    return ParseDatum(text, locale).has_value();
}

double DatumAlsZahl(const QDateTime& datum)
{
    const auto tage = double(k_tagNull.daysTo(datum.date()));
    const double anteil = datum.time().msecsSinceStartOfDay() / 86400000.0;
    // Before day 0 the fraction still counts forward from midnight: -1.25 is 29.12.1899 6:00.
    return tage >= 0 ? tage + anteil : tage - anteil;
}

std::optional<QDateTime> ZahlAlsDatum(double tage)
{
    if (!std::isfinite(tage) || tage < -657434.0 || tage >= 2958466.0)
        return std::nullopt;
    const double ganz = std::trunc(tage);
    qint64 milli = std::llround(std::fabs(tage - ganz) * 86400000.0);
    // whole seconds, as the formats show them
    milli = (milli + 500) / 1000 * 1000;
    QDate datum = k_tagNull.addDays(qint64(ganz));
    if (milli >= 86400000) {
        milli -= 86400000;
        datum = datum.addDays(tage >= 0 ? 1 : -1);
    }
    return QDateTime(datum, QTime::fromMSecsSinceStartOfDay(int(milli)));
}

} // namespace kv
