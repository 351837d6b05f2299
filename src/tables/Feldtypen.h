#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace kv {

/// The engine's field type codes (the Data Access Objects constants).
namespace feldtyp {
inline constexpr qint16 Boolean = 1;
inline constexpr qint16 Byte = 2;
inline constexpr qint16 Integer = 3;
inline constexpr qint16 Long = 4;
inline constexpr qint16 Waehrung = 5;
inline constexpr qint16 Single = 6;
inline constexpr qint16 Double = 7;
inline constexpr qint16 DatumZeit = 8;
inline constexpr qint16 Binary = 9;
inline constexpr qint16 Text = 10;
inline constexpr qint16 LongBinary = 11;
inline constexpr qint16 Memo = 12;
inline constexpr qint16 Guid = 15;
inline constexpr qint16 BigInteger = 16;
inline constexpr qint16 VarBinary = 17;
inline constexpr qint16 Char = 18;
inline constexpr qint16 Numerisch = 19;
inline constexpr qint16 Dezimal = 20;
inline constexpr qint16 Float = 21;
inline constexpr qint16 Zeit = 22;
inline constexpr qint16 TimeStamp = 23;
} // namespace feldtyp

/// Engine field attribute bits the system edits.
namespace feldattribut {
inline constexpr int Fix = 1;
inline constexpr int Variabel = 2;
inline constexpr int Automatikwert = 16;
} // namespace feldattribut

/// German display name of a type code; "Unbekannt" for every code without one.
QString Feldtypname(qint16 code);

struct Feldtypeintrag {
    qint16 code = 0;
    QString name;
};

/// The types the structure editor offers: codes 1 to 12 without 9, ascending.
QList<Feldtypeintrag> feldtypliste();

/// True for the codes of feldtypliste().
bool istWaehlbarerFeldtyp(qint16 code);

/// Size a field gets when this type is chosen; nullopt for Text (the entered size stays) and
/// for every type the editor does not offer.
std::optional<int> typgroesse(qint16 code);

/// Attribute value written for a field: 1 fixed or 2 variable size, plus 16 for auto-increment.
int feldattribute(bool fix, bool automatikwert);

/// "Variabel", "Fix" or empty, as printed structure lists show the size attribute.
QString feldgroessentext(int attribute);

} // namespace kv
