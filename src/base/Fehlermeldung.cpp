#include "base/Fehlermeldung.h"

namespace kv {

namespace {

QString nummernZeile(qint64 nummer, Fehlerkennung kennung)
{
    switch (kennung) {
    case Fehlerkennung::Nr:
        return QStringLiteral("Nr: ") + QString::number(nummer);
    case Fehlerkennung::Fehler:
        return QStringLiteral("Fehler: ") + QString::number(nummer);
    case Fehlerkennung::FehlerKompakt:
        break;
    }
    return QStringLiteral("Fehler:") + QString::number(nummer);
}

} // namespace

QString fehlermeldung(
    const QString& satz, qint64 nummer, const QString& beschreibung, Fehlerkennung kennung)
{
    return satz + Zeilenumbruch + Zeilenumbruch + nummernZeile(nummer, kennung) + Zeilenumbruch
        + QStringLiteral("Beschreibung: ") + beschreibung;
}

QString fehlermeldung(const QString& satz, const QString& objekt, qint64 nummer,
    const QString& beschreibung, Fehlerkennung kennung)
{
    return fehlermeldung(
        satz + Zeilenumbruch + Zeilenumbruch + objekt, nummer, beschreibung, kennung);
}

void zeigeFehler(
    const QString& satz, qint64 nummer, const QString& beschreibung, Fehlerkennung kennung)
{
    zeigeMeldung(fehlermeldung(satz, nummer, beschreibung, kennung));
}

void zeigeFehler(const QString& satz, const QString& objekt, qint64 nummer,
    const QString& beschreibung, Fehlerkennung kennung)
{
    zeigeMeldung(fehlermeldung(satz, objekt, nummer, beschreibung, kennung));
}

} // namespace kv
