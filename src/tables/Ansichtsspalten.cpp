#include "tables/Ansichtsspalten.h"

#include "tables/Felddarstellung.h"

namespace kv {

QList<Tabellenspalte> Ansichtsspalten(
    const Tabellendefinition& definition, const QList<Quellfeld>& felder)
{
    if (!definition.spalten.isEmpty())
        return definition.spalten;
    QList<Tabellenspalte> spalten;
    for (const Quellfeld& f : felder) {
        const Rasterspaltenformat art = rasterspaltenformat(qint16(f.typ));
        Tabellenspalte s;
        s.datenfeld = f.name;
        s.formatierung = art.zahlenformat;
        s.ausrichtung = art.ausrichtung == Ausrichtung::Rechts ? Spaltenausrichtung::Rechts
                                                               : Spaltenausrichtung::Links;
        s.editiersperre = art.gesperrt;
        spalten.append(s);
    }
    return spalten;
}

QString Spaltenstatustext(bool gesperrt, const QString& titel, const QString& datenfeld)
{
    return (gesperrt ? QStringLiteral("Anzeige") : QStringLiteral("Eingabe"))
        + QStringLiteral(" Spalte: ") + titel + QStringLiteral(" Datenfeld: ") + datenfeld;
}

} // namespace kv
