#pragma once

// Type codes and attribute bits are the engine's (engine::dbText, engine::dbFixedField, ...).
#include "engine/DataType.h"

#include <QList>
#include <QString>
#include <optional>

namespace kv {

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
