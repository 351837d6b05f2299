#include "base/Landeseinstellungen.h"

#include <QDate>
#include <mutex>
#include <vector>

namespace kv {

namespace {

qsizetype laufLaenge(const QString& s, qsizetype i)
{
    qsizetype n = 1;
    while (i + n < s.size() && s.at(i + n) == s.at(i))
        ++n;
    return n;
}

/// Copies a quoted literal starting at i (the opening quote); returns the index after it.
qsizetype kopiereZitat(const QString& s, qsizetype i, QString& aus)
{
    aus += u'\'';
    ++i;
    while (i < s.size()) {
        if (s.at(i) == u'\'') {
            if (i + 1 < s.size() && s.at(i + 1) == u'\'') {
                aus += QLatin1String("''");
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        aus += s.at(i++);
    }
    aus += u'\'';
    return i;
}

QString ersterTrennerNach(const QString& muster, const QString& buchstaben)
{
    bool imToken = false;
    for (const QChar c : muster) {
        if (buchstaben.contains(c)) {
            imToken = true;
        } else if (imToken && !c.isLetter() && c != u'\'') {
            return { c };
        }
    }
    return {};
}

QString vierstelligesJahr(QString muster)
{
    if (!muster.contains(QLatin1String("yyyy"))) {
        if (muster.contains(QLatin1String("yy")))
            muster.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        else
            muster.replace(u'y', QLatin1String("yyyy"));
    }
    return muster;
}

QString waehrungsVorlage(const QLocale& l, double eins, const QString& symbol)
{
    // Plain blanks as the platform writes them, so that typed text compares equal.
    QString text = l.toCurrencyString(eins, symbol, 2);
    text.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
    const QString zahl = QLatin1Char('1') + l.decimalPoint() + QLatin1String("00");
    const qsizetype pos = text.indexOf(zahl);
    if (pos < 0)
        return eins < 0 ? QLatin1String("-%1 ") + symbol : QLatin1String("%1 ") + symbol;
    return text.left(pos) + QLatin1String("%1") + text.mid(pos + zahl.size());
}

Regionaldaten baue(const QLocale& l)
{
    Regionaldaten r;
    r.locale = l;
    r.dezimalzeichen = l.decimalPoint();
    r.tausenderzeichen = l.groupSeparator();
    r.listentrenner
        = r.dezimalzeichen == QLatin1String(",") ? QStringLiteral(";") : QStringLiteral(",");
    r.waehrung = l.currencySymbol(QLocale::CurrencySymbol);
    r.waehrungIso = l.currencySymbol(QLocale::CurrencyIsoCode);
    r.waehrungPositiv = waehrungsVorlage(l, 1.0, r.waehrung);
    r.waehrungNegativ = waehrungsVorlage(l, -1.0, r.waehrung);
    r.kurzesDatum
        = vierstelligesJahr(qtMusterAlsPlattformMuster(l.dateFormat(QLocale::ShortFormat)));
    r.langesDatum = qtMusterAlsPlattformMuster(l.dateFormat(QLocale::LongFormat));
    r.zeitformat = qtMusterAlsPlattformMuster(l.timeFormat(QLocale::LongFormat));
    r.datumstrenner = ersterTrennerNach(r.kurzesDatum, QStringLiteral("dMy"));
    if (r.datumstrenner.isEmpty() || r.datumstrenner == QLatin1String(" "))
        r.datumstrenner = QStringLiteral("/");
    r.zeittrenner = ersterTrennerNach(r.zeitformat, QStringLiteral("hH"));
    if (r.zeittrenner.isEmpty())
        r.zeittrenner = QStringLiteral(":");
    r.vormittag = l.amText();
    r.nachmittag = l.pmText();
    const qsizetype tag = r.kurzesDatum.indexOf(u'd');
    const qsizetype monat = r.kurzesDatum.indexOf(u'M');
    const qsizetype jahr = r.kurzesDatum.indexOf(u'y');
    if (jahr >= 0 && jahr < tag && jahr < monat)
        r.datumsreihenfolge = 2;
    else if (monat >= 0 && monat < tag)
        r.datumsreihenfolge = 0;
    else
        r.datumsreihenfolge = 1;
    for (int m = 1; m <= 12; ++m) {
        r.monate[m] = l.standaloneMonthName(m, QLocale::LongFormat);
        r.monateKurz[m] = l.standaloneMonthName(m, QLocale::ShortFormat);
    }
    for (int t = 1; t <= 7; ++t) {
        const int qtTag = t == 1 ? 7 : t - 1; // Qt counts from Monday
        r.tage[t] = l.standaloneDayName(qtTag, QLocale::LongFormat);
        r.tageKurz[t] = l.standaloneDayName(qtTag, QLocale::ShortFormat);
    }
    return r;
}

} // namespace

std::shared_ptr<const Regionaldaten> Regionaldaten::fuer(const QLocale& locale)
{
    // Few locales are ever used; a short list beats hashing.
    static std::mutex sperre;
    static std::vector<std::shared_ptr<const Regionaldaten>> bekannt;
    const std::lock_guard<std::mutex> g(sperre);
    for (const auto& r : bekannt) {
        if (r->locale == locale)
            return r;
    }
    auto neu = std::make_shared<const Regionaldaten>(baue(locale));
    bekannt.push_back(neu);
    return neu;
}

QString Regionaldaten::einstellung(int element) const
{
    namespace G = Gebietselement;
    if (element >= G::Tagesname1 && element < G::Tagesname1 + 7)
        return tage[(element - G::Tagesname1 + 1) % 7 + 1];
    if (element >= G::TagesnameKurz1 && element < G::TagesnameKurz1 + 7)
        return tageKurz[(element - G::TagesnameKurz1 + 1) % 7 + 1];
    if (element >= G::Monatsname1 && element < G::Monatsname1 + 12)
        return monate[element - G::Monatsname1 + 1];
    if (element >= G::MonatsnameKurz1 && element < G::MonatsnameKurz1 + 12)
        return monateKurz[element - G::MonatsnameKurz1 + 1];
    switch (element) {
    case G::Sprache:
        return locale.nativeLanguageName();
    case G::Land:
        return locale.nativeTerritoryName();
    case G::Listentrenner:
        return listentrenner;
    case G::Dezimalzeichen:
    case G::WaehrungDezimalzeichen:
        return dezimalzeichen;
    case G::Tausenderzeichen:
    case G::WaehrungTausenderzeichen:
        return tausenderzeichen;
    case G::Gruppierung:
        return QStringLiteral("3;0");
    case G::Nachkommastellen:
    case G::WaehrungNachkommastellen:
        return QStringLiteral("2");
    case G::FuehrendeNull:
    case G::Jahrhundert:
        return QStringLiteral("1");
    case G::Waehrungssymbol:
        return waehrung;
    case G::WaehrungIso:
        return waehrungIso;
    case G::Datumstrenner:
        return datumstrenner;
    case G::Zeittrenner:
        return zeittrenner;
    case G::KurzesDatum:
        return kurzesDatum;
    case G::LangesDatum:
        return langesDatum;
    case G::Datumsreihenfolge:
        return QString::number(datumsreihenfolge);
    case G::Zeitformat24:
        return zeitformat.contains(u'H') ? QStringLiteral("1") : QStringLiteral("0");
    case G::Vormittag:
        return vormittag;
    case G::Nachmittag:
        return nachmittag;
    case G::Pluszeichen:
        return locale.positiveSign();
    case G::Minuszeichen:
        return locale.negativeSign();
    case G::Zeitformat:
        return zeitformat;
    case G::ErsterWochentag:
        return QString::number(int(locale.firstDayOfWeek()) - 1); // 0 = Monday
    default:
        return {};
    }
}

QString LandesEinstellung(int element)
{
    return Regionaldaten::fuer(QLocale())->einstellung(element);
}

QString SystemEinstellung(int element)
{
    return Regionaldaten::fuer(QLocale::system())->einstellung(element);
}

QString DatumsformatVierstellig()
{
    return vierstelligesJahr(LandesEinstellung(Gebietselement::KurzesDatum).toLower());
}

QString qtMusterAlsPlattformMuster(const QString& qtMuster)
{
    QString aus;
    qsizetype i = 0;
    while (i < qtMuster.size()) {
        const QChar c = qtMuster.at(i);
        if (c == u'\'') {
            i = kopiereZitat(qtMuster, i, aus);
            continue;
        }
        const qsizetype n = laufLaenge(qtMuster, i);
        const QString lauf = qtMuster.mid(i, n);
        i += n;
        switch (c.unicode()) {
        case u'y':
            aus += n == 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case u'A':
        case u'a':
            // "AP" / "ap" (one token) or "A" / "a"
            if (i < qtMuster.size() && (qtMuster.at(i) == u'P' || qtMuster.at(i) == u'p'))
                ++i;
            aus += QLatin1String("tt");
            break;
        case u'z':
        case u'Z':
            break;
        case u't':
            // time zone: drop it with the blank before it
            while (aus.endsWith(u' '))
                aus.chop(1);
            break;
        default:
            aus += lauf;
        }
    }
    return aus.trimmed();
}

QString plattformMusterAlsFormat(const QString& muster)
{
    QString aus;
    qsizetype i = 0;
    while (i < muster.size()) {
        const QChar c = muster.at(i);
        if (c == u'\'') {
            QString zitat;
            i = kopiereZitat(muster, i, zitat);
            const QString inhalt
                = zitat.mid(1, zitat.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
            if (!inhalt.isEmpty())
                aus += u'"' + inhalt + u'"';
            continue;
        }
        const qsizetype n = laufLaenge(muster, i);
        i += n;
        switch (c.unicode()) {
        case u'd':
        case u'y':
        case u's':
            aus += QString(n, c);
            break;
        case u'M':
            aus += QString(n, u'm');
            break;
        case u'm':
            aus += QString(n, u'n');
            break;
        case u'h':
        case u'H':
            aus += QString(n, u'h');
            break;
        case u't':
            aus += QLatin1String("AM/PM");
            break;
        default:
            for (qsizetype k = 0; k < n; ++k) {
                if (c.isLetter() || c == u'\\' || c == u'"')
                    aus += u'\\';
                aus += c;
            }
        }
    }
    return aus;
}

} // namespace kv
