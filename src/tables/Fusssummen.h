#pragma once

#include "tables/Tabellendefinition.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace kv {

/// A grid column whose total the footer shows.
struct Summenspalte {
    /// Column index in the grid.
    int spalte = 0;
    QString datenfeld;
    QString format;
    Spaltenausrichtung ausrichtung = Spaltenausrichtung::Links;
};

/// The columns with the sum flag, in column order.
QList<Summenspalte> Summenspalten(const QList<Tabellenspalte>& spalten);

/// One statement that totals every sum column over exactly the records of quelle (its
/// conditions and TOP included, its order left out, since it changes no total): a Null counts
/// as 0, no record gives 0. Empty without sum columns. mitAnzahl adds the number of records as
/// the last value, so that one walk serves both.
QString SummenSql(
    const QString& quelle, const QList<Summenspalte>& spalten, bool mitAnzahl = false);

/// The footer text of a total: formatted with the column's format when it has one, else the
/// plain number; Null shows 0.
QString Summentext(const QVariant& summe, const QString& format);

} // namespace kv
