#include "shell/Historienliste.h"

#include "shell/Einstellungen.h"
#include "shell/StartEinstellungen.h"

#include <QStringList>

namespace kv {

namespace {

constexpr QChar k_eintragTrenner = u';';
constexpr QChar k_feldTrenner = u',';
constexpr QChar k_anfuehrung = u'"';

// Splits at the separator outside double quotes; quoted text loses its quotes, doubled quotes
// inside become one. A text without quotes splits exactly like a plain split.
QStringList zerlege(QStringView text, QChar trenner, bool anfuehrungAufloesen)
{
    QStringList teile;
    QString teil;
    bool inAnfuehrung = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == k_anfuehrung) {
            if (inAnfuehrung && i + 1 < text.size() && text.at(i + 1) == k_anfuehrung) {
                teil += anfuehrungAufloesen ? QString(c) : QString(2, c);
                ++i;
            } else {
                inAnfuehrung = !inAnfuehrung;
                if (!anfuehrungAufloesen)
                    teil += c;
            }
        } else if (c == trenner && !inAnfuehrung) {
            teile.append(teil);
            teil.clear();
        } else {
            teil += c;
        }
    }
    teile.append(teil);
    return teile;
}

QString pfadText(const QString& pfad)
{
    if (!pfad.contains(k_eintragTrenner) && !pfad.contains(k_feldTrenner)
        && !pfad.contains(k_anfuehrung))
        return pfad;
    return k_anfuehrung + QString(pfad).replace(k_anfuehrung, QStringLiteral("\"\""))
        + k_anfuehrung;
}

} // namespace

void Historienliste::ausfuehren(Modus modus, const QString& argument)
{
    switch (modus) {
    case Modus::Laden:
        laden(argument);
        break;
    case Modus::Speichern:
        speichern();
        break;
    case Modus::Hinzufuegen:
        if (const auto eintrag = eintragAusText(argument))
            hinzufuegen(*eintrag);
        break;
    case Modus::Entfernen:
        if (const auto eintrag = eintragAusText(argument))
            entfernen(eintrag->pfad);
        break;
    }
}

void Historienliste::laden(const QString& text)
{
    m_eintraege = ausText(text);
    menueAufbauen();
}

void Historienliste::speichern() const
{
    Einstellungen().schreibe(AbschnittSettings, QStringLiteral("MRUListe"), text());
}

void Historienliste::hinzufuegen(const HistorieEintrag& eintrag)
{
    if (eintrag.pfad.isEmpty())
        return;
    m_eintraege.removeIf([&](const HistorieEintrag& e) {
        return e.pfad.compare(eintrag.pfad, Qt::CaseInsensitive) == 0;
    });
    m_eintraege.prepend(eintrag);
    if (m_eintraege.size() > MaxEintraege)
        m_eintraege.resize(MaxEintraege);
    menueAufbauen();
    speichern();
}

void Historienliste::entfernen(const QString& pfad)
{
    m_eintraege.removeIf(
        [&](const HistorieEintrag& e) { return e.pfad.compare(pfad, Qt::CaseInsensitive) == 0; });
    menueAufbauen();
    speichern();
}

QList<HistorieEintrag> Historienliste::ausText(const QString& text)
{
    QList<HistorieEintrag> eintraege;
    for (const QString& teil : zerlege(text, k_eintragTrenner, false)) {
        if (eintraege.size() == MaxEintraege)
            break;
        if (auto eintrag = eintragAusText(teil))
            eintraege.append(std::move(*eintrag));
    }
    return eintraege;
}

QString Historienliste::alsText(const QList<HistorieEintrag>& eintraege)
{
    QStringList teile;
    teile.reserve(eintraege.size());
    for (const HistorieEintrag& e : eintraege)
        teile.append(eintragText(e));
    return teile.join(k_eintragTrenner);
}

std::optional<HistorieEintrag> Historienliste::eintragAusText(const QString& text)
{
    const QStringList felder = zerlege(text, k_feldTrenner, true);
    HistorieEintrag e;
    e.pfad = felder.at(0).trimmed();
    if (e.pfad.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int typ = felder.size() > 1 ? felder.at(1).trimmed().toInt(&ok) : 0;
    e.typ = static_cast<qint16>(ok && typ >= 1 && typ <= 14 ? typ : DatenbankTypAusEndung(e.pfad));
    e.nurLesen = felder.size() > 2 && boolAusText(felder.at(2)).value_or(false);
    return e;
}

QString Historienliste::eintragText(const HistorieEintrag& eintrag)
{
    return pfadText(eintrag.pfad) + k_feldTrenner + QString::number(eintrag.typ) + k_feldTrenner
        + boolText(eintrag.nurLesen);
}

QList<HistorieMenuePunkt> Historienliste::menuePunkte(const QList<HistorieEintrag>& eintraege)
{
    QList<HistorieMenuePunkt> punkte;
    punkte.reserve(eintraege.size());
    for (qsizetype i = 0; i < eintraege.size(); ++i) {
        const QString& pfad = eintraege.at(i).pfad;
        const qsizetype nummer = i + 1;
        QString text = nummer < 10 ? QStringLiteral("&") : QString();
        text += QString::number(nummer) + QStringLiteral(". ")
            + QString(pfad).replace(QLatin1Char('&'), QStringLiteral("&&"));
        punkte.append({ text, QStringLiteral("Diese Datenbank öffnen: ") + pfad });
    }
    return punkte;
}

void Historienliste::menueAufbauen() const
{
    if (m_menueAufbau)
        m_menueAufbau(m_eintraege);
}

} // namespace kv
