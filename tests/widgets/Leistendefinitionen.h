#pragma once

#include "tables/Tabellenwerkzeuge.h"

#include <QString>

// The tool-definition strings of the runtime windows, as they build their bars; the table
// view's is its own.

namespace kv::test {

using kv::Tabellenleiste;

inline const QString Maskenleiste = Datensatzwerkzeuge
    + QStringLiteral(
        "DruckenReport;&Drucken;Drucken;Aktuellen Datensatz als Reportdruck ausdrucken;Alt+D|"
        "DruckenMaske;Drucken;DruckenMaske;Aktuellen Datensatz als Maskendruck ausdrucken;"
        "Control+Shift+M;13||"
        "Schließen;;Schließen;Arbeitsfenster schließen");

} // namespace kv::test
