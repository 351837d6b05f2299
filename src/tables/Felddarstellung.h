#pragma once

#include "tables/Maskenelementarten.h"

#include <QString>
#include <optional>

namespace kv {

// How a field's type decides its presentation in grids, reports and generated masks. The
// callers ask here instead of repeating the rule.

enum class Ausrichtung { Unveraendert, Links, Rechts };

/// A grid column of a table view without column records (and of lists formatted the same way).
struct Rasterspaltenformat {
    /// Named number format ("Short Date", "Currency", "General Number") or empty.
    QString zahlenformat;
    Ausrichtung ausrichtung = Ausrichtung::Unveraendert;
    /// The column cannot be edited.
    bool gesperrt = false;
};

Rasterspaltenformat rasterspaltenformat(qint16 typ);

/// How a field is handed to the report engine; Keine: not handed at all.
enum class Reportfeldart { Keine, Text, Zahl, Datum, Boolean };

Reportfeldart reportfeldart(qint16 typ);

/// Element kind of the field in a generated standard mask; nullopt: the field gets no element.
std::optional<Maskenelementart> standardmaskenelement(qint16 typ);

} // namespace kv
