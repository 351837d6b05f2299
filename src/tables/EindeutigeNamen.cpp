#include "tables/EindeutigeNamen.h"

#include <QSet>
#include <functional>

namespace kv {

namespace {

/// The first candidate not among the names: erster, then kandidat(1) ... kandidat(versuche).
std::optional<QString> ersterFreierName(const QString& erster, const QStringList& namen,
    int versuche, const std::function<QString(int)>& kandidat)
{
    QSet<QString> belegt;
    belegt.reserve(namen.size());
    for (const QString& name : namen)
        belegt.insert(name.toCaseFolded());
    if (!belegt.contains(erster.toCaseFolded()))
        return erster;
    for (int nummer = 1; nummer <= versuche; ++nummer) {
        const QString name = kandidat(nummer);
        if (!belegt.contains(name.toCaseFolded()))
            return name;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> eindeutigerTabellenname(const QString& wunsch, const QStringList& tabellen)
{
    return ersterFreierName(wunsch, tabellen, TabellennameVersuche,
        [&](int nummer) -> QString { return wunsch + QString::number(nummer); });
}

std::optional<QString> eindeutigerFeldname(const QString& basis, const QStringList& felder)
{
    const QString erster = basis.size() < FeldnameMaxLaenge ? basis + QLatin1Char('0') : basis;
    return ersterFreierName(erster, felder, FeldnameVersuche, [&](int nummer) -> QString {
        const QString zahl = QString::number(nummer);
        return basis.left(FeldnameMaxLaenge - zahl.size()) + zahl;
    });
}

QString keinFreierTabellennameText(const QString& wunsch)
{
    return QStringLiteral("Es konnte kein noch nicht vorhandener Tabellenname erzeugt werden!\n\n"
                          "Ihre Eingabe: %1\n\nBitte geben Sie einen anderen Namen ein.")
        .arg(wunsch);
}

QString keinFreierFeldnameText(const QString& basis)
{
    return QStringLiteral("Es konnte kein noch nicht vorhandener Feldname erzeugt werden!\n\n"
                          "Feldname: %1\n\nBitte benennen Sie zuerst vorhandene Felder um.")
        .arg(basis);
}

} // namespace kv
