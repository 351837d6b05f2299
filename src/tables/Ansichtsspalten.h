#pragma once

#include "tables/Tabellendefinition.h"

#include <QList>
#include <QString>

namespace kv {

/// A field of the record source as the table view needs it for its columns.
struct Quellfeld {
    QString name;
    /// Engine type code.
    int typ = 0;
};

/// The grid columns of a table view: with column records one column per record in file order
/// (title, field, width, alignment, lock, format and sum as written); without them one column per
/// field of the source, formatted, aligned and locked by its type.
QList<Tabellenspalte> Ansichtsspalten(
    const Tabellendefinition& definition, const QList<Quellfeld>& felder);

/// The status line's text for the current column: "Anzeige" for a locked column or "Eingabe",
/// then " Spalte: " with the title and " Datenfeld: " with the field.
QString Spaltenstatustext(bool gesperrt, const QString& titel, const QString& datenfeld);

} // namespace kv
