#include "tables/Definitionszeilen.h"

#include "base/Format.h"
#include "base/Text.h"
#include "base/Werteparser.h"

#include <cmath>
#include <limits>

namespace kv {

QString definitionsschluessel(const QString& schluessel)
{
    return schluessel.toUpper();
}

QStringList definitionszeilen(const QString& text)
{
    QStringList zeilen;
    qsizetype anfang = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        zeilen.append(text.mid(anfang, i - anfang));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        anfang = i + 1;
    }
    if (anfang < n)
        zeilen.append(text.mid(anfang));
    return zeilen;
}

std::optional<Definitionszeile> zerlegeDefinitionszeile(const QString& zeile, int nummer)
{
    const qsizetype doppelpunkt = zeile.indexOf(u':');
    if (doppelpunkt < 0)
        return std::nullopt;
    return Definitionszeile { definitionsschluessel(zeile.left(doppelpunkt)),
        zeile.mid(doppelpunkt + 1), nummer };
}

QList<Definitionszeile> leseKopfzeilen(const QString& text, bool zeilenTrimmen,
    const std::function<bool(const Definitionszeile&)>& kopfzeile)
{
    QList<Definitionszeile> rest;
    const QStringList zeilen = definitionszeilen(text);
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString zeile = zeilenTrimmen ? ohneLeerzeichen(zeilen.at(i)) : zeilen.at(i);
        const std::optional<Definitionszeile> z = zerlegeDefinitionszeile(zeile, i + 1);
        if (z && !kopfzeile(*z))
            rest.append(*z);
    }
    return rest;
}

QString hinweisUnbekannteZeile(const Definitionszeile& zeile)
{
    return QStringLiteral("Zeile %1: Der Eintrag „%2“ ist unbekannt und wird übergangen.")
        .arg(zeile.nummer)
        .arg(zeile.schluessel.left(40));
}

QString ohneSchreibleerzeichen(const QString& wert)
{
    return wert.startsWith(u' ') ? wert.mid(1) : wert;
}

namespace {
double endlich(double wert)
{
    return std::isfinite(wert) ? wert : 0.0;
}
} // namespace

double leseZahl(const QString& wert)
{
    if (const std::optional<double> zahl = ParseZahl(wert))
        return endlich(*zahl);
    return leseWert(wert);
}

double leseWert(const QString& wert)
{
    return endlich(Val(wert));
}

bool leseSchalter(const QString& wert)
{
    return wert.trimmed() == u"1";
}

int leseGanzzahl(const QString& wert, int lo, int hi, int vorgabe)
{
    const double zahl = leseWert(wert);
    if (zahl < lo || zahl > hi || zahl != std::trunc(zahl))
        return vorgabe;
    return int(zahl);
}

std::optional<quint32> leseFarbe(const QString& wert)
{
    const QString t = wert.trimmed();
    if (t.isEmpty()
        || !(t.at(0).isDigit() || t.at(0) == u'-' || t.at(0) == u'+' || t.at(0) == u'&'))
        return std::nullopt;
    const double zahl = leseWert(t);
    constexpr double unten = double(std::numeric_limits<qint32>::min());
    constexpr double oben = double(std::numeric_limits<quint32>::max());
    if (zahl < unten || zahl > oben || zahl != std::trunc(zahl))
        return std::nullopt;
    return zahl < 0 ? quint32(qint32(zahl)) : quint32(zahl);
}

bool leseWahrheitswert(const QString& wert)
{
    const QString t = wert.trimmed();
    if (t.compare(u"wahr", Qt::CaseInsensitive) == 0
        || t.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    return leseWert(t) != 0.0;
}

float leseSchriftgroesse(const QString& wert)
{
    const double punkte = leseZahl(wert);
    return punkte > 0 && punkte <= 1638 ? float(punkte) : 0.0f;
}

QString vorlageEinzeilig(QString vorlage)
{
    const QLatin1String crlf("<crlf>");
    vorlage.replace(QLatin1String("\r\n"), crlf);
    vorlage.replace(u'\r', u'\n');
    vorlage.replace(QLatin1String("\n"), crlf);
    return vorlage;
}

double begrenzeTwips(double twips)
{
    if (!std::isfinite(twips))
        return 0.0;
    return std::clamp(twips, -Twipsgrenze, Twipsgrenze);
}

void Definitionsschreiber::zeile(const QString& schluessel, const QString& wert)
{
    m_text += schluessel;
    m_text += einzeilig(wert);
    m_text += QLatin1String("\r\n");
}

QString Definitionsschreiber::zahltext(double wert)
{
    return Format(QVariant::fromValue(float(wert)));
}

QString Definitionsschreiber::einzeilig(const QString& wert)
{
    if (!wert.contains(u'\r') && !wert.contains(u'\n'))
        return wert;
    QString ergebnis = wert;
    ergebnis.replace(QLatin1String("\r\n"), QLatin1String(" "));
    ergebnis.replace(u'\r', u' ');
    ergebnis.replace(u'\n', u' ');
    return ergebnis;
}

} // namespace kv
