#pragma once

#include "tables/Feldtypen.h"

#include <QList>
#include <QString>
#include <optional>

namespace kv {

/// Columns of the structure editor's field list, in their order.
enum class Feldspalte {
    Feldname,
    Typ,
    Groesse,
    Position,
    Feldgroesse,
    Automatikwert,
    WertErforderlich,
    NullwertErlaubt,
    Vorgabewert,
    Pruefvorschrift,
    Fehlertext,
};

inline constexpr int FeldspaltenAnzahl = 11;

/// Column caption; zweizeilig puts the line break where the grid header shows one.
QString feldspaltentitel(Feldspalte spalte, bool zweizeilig = false);

/// One row of the structure editor: the properties the system edits on a field.
struct FeldZeile {
    QString name;
    qint16 typ = engine::dbText;
    int groesse = 50;
    int position = 1;
    /// "Feldgröße": fixed (true) or variable size.
    bool fix = false;
    bool automatikwert = false;
    bool erforderlich = false;
    bool nullwertErlaubt = true;
    QString vorgabewert;
    QString pruefvorschrift;
    QString fehlertext;
    /// The field is not yet part of the stored table.
    bool neu = true;

    /// Engine attribute value (fixed/variable size, auto-increment).
    int attribute() const { return feldattribute(fix, automatikwert); }
    /// Takes "Feldgröße" and "Automatikwert" from an engine attribute value.
    void setzeAttribute(int attribute);

    bool operator==(const FeldZeile&) const = default;
};

/// Base text of the names of new field rows.
inline constexpr const char* NeufeldBasis = "Neufeld";

/// The row a new field starts with: a free "Neufeld" name, Text 50, zero-length allowed, placed
/// after the highest position of the rows. nullopt when no free name is left.
std::optional<FeldZeile> neueFeldZeile(const QList<FeldZeile>& zeilen);

/// Applies a change of the "Typ" cell: size, fixed size, zero-length and auto-increment follow
/// the new type.
void typWechseln(FeldZeile& zeile, qint16 neuerTyp);

/// A locked column can neither be edited nor take the focus in this row.
bool spalteGesperrt(const FeldZeile& zeile, Feldspalte spalte);

/// The check made when a cell of the field list is left; the message to show, or nullopt when
/// the input is acceptable.
std::optional<QString> pruefeZelle(Feldspalte spalte, const QString& eingabe);

/// The same check for the index name of the index list.
std::optional<QString> pruefeIndexname(const QString& eingabe);

/// The size entered in the "Größe" cell; nullopt when it is not a whole number.
std::optional<int> leseGroesse(const QString& eingabe);

} // namespace kv
