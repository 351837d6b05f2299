#pragma once

#include <QList>
#include <QString>

namespace kv {

/// One column of the search row: the field it shows and what the user typed under it.
struct Suchzeilenspalte {
    /// The field as the record set names it.
    QString feld;
    /// The table and column the field comes from; empty for a computed field.
    QString quelltabelle;
    QString quellfeld;
    /// Engine type code of the field.
    int typ = 0;
    QString text;
};

/// A typed text as a LIKE pattern that matches exactly these characters: the dialect's
/// wildcards "*", "?", "#" and the class bracket "[" are each put in a class of their own.
QString LikeLiteral(const QString& text);

/// The field reference of a search-row column: "[Tabelle].[Feld]" when the field comes from a
/// table column, else the bracketed field name.
QString Suchzeilenfeld(const Suchzeilenspalte& spalte);

/// The condition of one column; empty when the column adds none: Text, Memo, Währung, Integer,
/// Long, Single and Double match values that begin with the text (a decimal comma typed into a
/// number column counts as the point the values are stored with); a Datum/Zeit column whose text
/// is a date matches that whole day; other types and texts that are no date add nothing.
QString Suchzeilenteil(const Suchzeilenspalte& spalte);

/// The conditions of every column with a text, joined with " AND "; empty when none applies.
QString Suchzeilenbedingung(const QList<Suchzeilenspalte>& spalten);

} // namespace kv
