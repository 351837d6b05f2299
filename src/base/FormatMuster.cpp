#include "base/FormatMuster.h"

#include "base/DatumMuster.h"
#include "base/Dezimalzahl.h"
#include "base/Formatabschnitte.h"
#include "base/TextMuster.h"
#include "base/Werteparser.h"
#include "base/ZahlMuster.h"

namespace kv {

using formatdetail::DatumMuster;
using formatdetail::TextMuster;
using formatdetail::ZahlMuster;

struct FormatMuster::Zahl {
    Dezimalzahl wert;
    int signifikant = 0;
};

struct FormatMuster::Wert {
    enum class Typ { Null, Zahl, Datum, Text } typ = Typ::Null;
    Dezimalzahl zahl;
    double d = 0;
    /// Significant digits of the general form; 0 for whole numbers, which show all digits.
    int signifikant = 0;
    bool wahrheit = false;
    QDateTime datum;
    QString text;

    explicit Wert(const QVariant& v)
    {
        switch (v.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            return;
        case QMetaType::Bool:
            typ = Typ::Zahl;
            wahrheit = true;
            d = v.toBool() ? -1 : 0;
            zahl = Dezimalzahl::ausGanzzahl(qint64(d));
            return;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
            typ = Typ::Zahl;
            d = v.toDouble();
            zahl = Dezimalzahl::ausGanzzahl(v.toLongLong());
            return;
        case QMetaType::ULongLong:
        case QMetaType::ULong:
            setzeDouble(v.toDouble(), 15);
            if (v.toULongLong() <= quint64(std::numeric_limits<qint64>::max())) {
                zahl = Dezimalzahl::ausGanzzahl(qint64(v.toULongLong()));
                signifikant = 0;
            }
            return;
        case QMetaType::Double:
            setzeDouble(v.toDouble(), 15);
            return;
        case QMetaType::Float:
            setzeDouble(double(v.toFloat()), 7);
            return;
        case QMetaType::QDateTime:
            setzeDatum(v.toDateTime());
            return;
        case QMetaType::QDate:
            setzeDatum(QDateTime(v.toDate(), QTime(0, 0)));
            return;
        case QMetaType::QTime:
            setzeDatum(QDateTime(QDate(1899, 12, 30), v.toTime()));
            return;
        default:
            if (v.isNull())
                return;
            typ = Typ::Text;
            text = v.toString();
        }
    }

    void setzeDouble(double wert, int stellen)
    {
        typ = Typ::Zahl;
        d = wert;
        zahl = Dezimalzahl::ausDouble(wert, stellen);
        signifikant = stellen;
    }
    void setzeDatum(const QDateTime& d)
    {
        if (!d.isValid())
            return;
        typ = Typ::Datum;
        datum = d;
    }
};

namespace {

/// The general number form: up to the significant digits, no grouping, exponent form for very
/// large and very small magnitudes (1E+15, 1E-05).
QString allgemeineZahl(const Dezimalzahl& z, int signifikant, const Regionaldaten& r)
{
    if (z.istNull())
        return QStringLiteral("0");
    QString aus;
    if (z.negativ())
        aus += u'-';
    const std::string_view ziffern = z.ziffern();
    if ((signifikant > 0 && z.punkt() > signifikant) || z.punkt() < -3) {
        aus += QLatin1Char(ziffern.front());
        if (ziffern.size() > 1)
            aus += r.dezimalzeichen + QLatin1StringView(ziffern.substr(1));
        const int exponent = z.punkt() - 1;
        aus += exponent < 0 ? QLatin1String("E-") : QLatin1String("E+");
        aus += QString::number(qAbs(exponent)).rightJustified(2, u'0');
        return aus;
    }
    if (z.ganzStellen() == 0)
        aus += u'0';
    for (int i = 0; i < z.ganzStellen(); ++i)
        aus += QLatin1Char(z.ziffer(i));
    if (int(ziffern.size()) > z.punkt()) {
        aus += r.dezimalzeichen;
        for (int i = z.punkt(); i < int(ziffern.size()); ++i)
            aus += QLatin1Char(z.ziffer(i));
    }
    return aus;
}

} // namespace

std::optional<FormatMuster::Zahl> FormatMuster::zahlVon(const Wert& w) const
{
    switch (w.typ) {
    case Wert::Typ::Zahl:
        return Zahl { w.zahl, w.signifikant };
    case Wert::Typ::Datum:
        return Zahl { Dezimalzahl::ausDouble(DatumAlsZahl(w.datum)), 15 };
    case Wert::Typ::Text:
        if (const std::optional<double> d = ParseZahl(w.text, locale()))
            return Zahl { Dezimalzahl::ausDouble(*d), 15 };
        if (const std::optional<QDateTime> d = ParseDatum(w.text, locale()))
            return Zahl { Dezimalzahl::ausDouble(DatumAlsZahl(*d)), 15 };
        return std::nullopt;
    case Wert::Typ::Null:
        break;
    }
    return std::nullopt;
}

std::optional<QDateTime> FormatMuster::datumVon(const Wert& w) const
{
    switch (w.typ) {
    case Wert::Typ::Datum:
        return w.datum;
    case Wert::Typ::Zahl:
        return ZahlAlsDatum(w.d);
    case Wert::Typ::Text:
        if (std::optional<QDateTime> d = ParseDatum(w.text, locale()))
            return d;
        if (const std::optional<double> d = ParseZahl(w.text, locale()))
            return ZahlAlsDatum(*d);
        return std::nullopt;
    case Wert::Typ::Null:
        break;
    }
    return std::nullopt;
}

FormatMuster::FormatMuster(const QString& format, const QLocale& locale)
    : m_region(Regionaldaten::fuer(locale))
{
    if (!format.isEmpty()) {
        uebersetzeBenannt(format.trimmed().toLower());
        if (m_art == Art::Leer)
            uebersetzeMuster(format);
    }
    if (m_art == Art::Leer || m_art == Art::Text || m_art == Art::AllgemeinesDatum) {
        m_kurzesDatum = std::make_unique<DatumMuster>(DatumMuster::kurzesDatum(*m_region));
        m_langeZeit = std::make_unique<DatumMuster>(DatumMuster::langeZeit(*m_region));
    }
}

FormatMuster::~FormatMuster() = default;
FormatMuster::FormatMuster(FormatMuster&&) noexcept = default;
FormatMuster& FormatMuster::operator=(FormatMuster&&) noexcept = default;

void FormatMuster::uebersetzeBenannt(const QString& name)
{
    const Regionaldaten& r = *m_region;
    auto zahl = [this](const char* muster) {
        m_art = Art::Zahl;
        m_zahlen.push_back(std::make_unique<ZahlMuster>(QLatin1String(muster)));
        m_leer.push_back(false);
    };
    auto datum = [this, &r](const QString& muster) {
        m_art = Art::Datum;
        m_daten.push_back(std::make_unique<DatumMuster>(muster, r));
    };
    auto wahrheit = [this](const char* wahr, const char* falsch) {
        m_art = Art::Wahrheit;
        m_wahr = QString::fromUtf8(wahr);
        m_falsch = QString::fromUtf8(falsch);
    };
    if (name == QLatin1String("general number")) {
        m_art = Art::AllgemeineZahl;
    } else if (name == QLatin1String("currency")) {
        zahl("#,##0.00");
        m_art = Art::Waehrung;
    } else if (name == QLatin1String("fixed")) {
        zahl("0.00");
    } else if (name == QLatin1String("standard")) {
        zahl("#,##0.00");
    } else if (name == QLatin1String("percent")) {
        zahl("0.00%");
    } else if (name == QLatin1String("scientific")) {
        zahl("0.00E+00");
    } else if (name == QLatin1String("yes/no")) {
        wahrheit("Ja", "Nein");
    } else if (name == QLatin1String("true/false")) {
        wahrheit("Wahr", "Falsch");
    } else if (name == QLatin1String("on/off")) {
        wahrheit("Ein", "Aus");
    } else if (name == QLatin1String("general date")) {
        m_art = Art::AllgemeinesDatum;
    } else if (name == QLatin1String("long date")) {
        datum(plattformMusterAlsFormat(r.langesDatum));
    } else if (name == QLatin1String("medium date")) {
        // day, abbreviated month, two-digit year in the locale's style
        datum(r.datumstrenner == QLatin1String(".") ? QStringLiteral("dd. mmm yy")
                                                    : QStringLiteral("dd-mmm-yy"));
    } else if (name == QLatin1String("short date")) {
        datum(plattformMusterAlsFormat(r.kurzesDatum));
    } else if (name == QLatin1String("long time")) {
        datum(plattformMusterAlsFormat(r.zeitformat));
    } else if (name == QLatin1String("medium time")) {
        datum(QStringLiteral("hh:nn AM/PM"));
    } else if (name == QLatin1String("short time")) {
        datum(QStringLiteral("hh:nn"));
    }
}

void FormatMuster::uebersetzeMuster(const QString& format)
{
    const QStringList abschnitte = formatdetail::teileAbschnitte(format);
    m_art = Art::Zahl;
    for (const QString& a : abschnitte) {
        if (a.isEmpty())
            continue;
        if (ZahlMuster::hatZiffernplatz(a))
            m_art = Art::Zahl;
        else if (TextMuster::hatZeichenplatz(a))
            m_art = Art::Text;
        else if (DatumMuster::hatDatumsplatz(a))
            m_art = Art::Datum;
        else if (TextMuster::hatTextplatz(a))
            m_art = Art::Text;
        else
            continue;
        break;
    }
    const Regionaldaten& r = *m_region;
    const int anzahl = int(std::min<qsizetype>(abschnitte.size(),
        m_art == Art::Zahl       ? 4
            : m_art == Art::Text ? 2
                                 : 1));
    for (int i = 0; i < anzahl; ++i) {
        const QString& a = abschnitte.at(i);
        m_leer.push_back(a.isEmpty());
        if (m_art == Art::Zahl)
            m_zahlen.push_back(std::make_unique<ZahlMuster>(a));
        else if (m_art == Art::Datum)
            m_daten.push_back(std::make_unique<DatumMuster>(a, r));
        else
            m_texte.push_back(std::make_unique<TextMuster>(a));
    }
}

QString FormatMuster::anwenden(const QVariant& v) const
{
    const Wert w(v);
    switch (m_art) {
    case Art::Leer:
        return allgemeinerText(w);
    case Art::Zahl:
        return alsZahl(w);
    case Art::Datum:
        return alsDatum(w);
    case Art::Text:
        return alsText(w);
    case Art::AllgemeineZahl:
        if (const std::optional<Zahl> z = zahlVon(w))
            return allgemeineZahl(z->wert, z->signifikant, *m_region);
        return w.text;
    case Art::Waehrung: {
        const std::optional<Zahl> z = zahlVon(w);
        if (!z)
            return w.text;
        bool nurNullen = false;
        const QString betrag = m_zahlen.front()->formatiere(z->wert, *m_region, &nurNullen);
        QString aus = z->wert.negativ() && !nurNullen ? m_region->waehrungNegativ
                                                      : m_region->waehrungPositiv;
        return aus.replace(QLatin1String("%1"), betrag);
    }
    case Art::Wahrheit:
        if (const std::optional<Zahl> z = zahlVon(w))
            return z->wert.istNull() ? m_falsch : m_wahr;
        return w.text;
    case Art::AllgemeinesDatum:
        if (const std::optional<QDateTime> d = datumVon(w))
            return DatumMuster::allgemein(*d, *m_kurzesDatum, *m_langeZeit, *m_region);
        return w.text;
    }
    return {};
}

QString FormatMuster::alsZahl(const Wert& w) const
{
    const auto abschnitt = [this](size_t i) -> const ZahlMuster* {
        return i < m_zahlen.size() && !m_leer.at(i) ? m_zahlen.at(i).get() : nullptr;
    };
    if (w.typ == Wert::Typ::Null) {
        const ZahlMuster* nullAbschnitt = abschnitt(3);
        return nullAbschnitt ? nullAbschnitt->formatiere(Dezimalzahl(), *m_region) : QString();
    }
    const std::optional<Zahl> z = zahlVon(w);
    if (!z)
        return w.text;
    const bool negativ = z->wert.negativ() && !z->wert.istNull();
    if (negativ) {
        if (const ZahlMuster* m = abschnitt(1))
            return m->formatiere(z->wert, *m_region);
    } else if (z->wert.istNull()) {
        if (const ZahlMuster* m = abschnitt(2))
            return m->formatiere(z->wert, *m_region);
    }
    bool nurNullen = false;
    const QString aus = m_zahlen.front()->formatiere(z->wert, *m_region, &nurNullen);
    // A negative that rounds to zero shows no minus sign.
    return negativ && !nurNullen ? u'-' + aus : aus;
}

QString FormatMuster::alsDatum(const Wert& w) const
{
    if (w.typ == Wert::Typ::Null)
        return {};
    if (const std::optional<QDateTime> d = datumVon(w))
        return m_daten.front()->formatiere(*d, *m_region);
    return w.text;
}

QString FormatMuster::alsText(const Wert& w) const
{
    const QString text = allgemeinerText(w);
    if (text.isEmpty()) {
        if (m_texte.size() > 1 && !m_leer.at(1))
            return m_texte.at(1)->formatiere(text);
        if (w.typ == Wert::Typ::Null)
            return {};
    }
    return m_texte.front()->formatiere(text);
}

QString FormatMuster::allgemeinerText(const Wert& w) const
{
    switch (w.typ) {
    case Wert::Typ::Null:
        return {};
    case Wert::Typ::Zahl:
        if (w.wahrheit)
            return w.zahl.istNull() ? QStringLiteral("Falsch") : QStringLiteral("Wahr");
        return allgemeineZahl(w.zahl, w.signifikant, *m_region);
    case Wert::Typ::Datum:
        return DatumMuster::allgemein(w.datum, *m_kurzesDatum, *m_langeZeit, *m_region);
    case Wert::Typ::Text:
        return w.text;
    }
    return {};
}

} // namespace kv
