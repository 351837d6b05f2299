#pragma once

#include <QString>
#include <functional>

namespace kv {

/// Name of the dynamic property that gives a window its help page (a file name of the help,
/// "zentrale.html"); F1 anywhere inside the window shows that page.
inline constexpr char HilfeseiteEigenschaft[] = "hilfeseite";

/// Shows a help page; installed by the main window.
using Hilfeanzeige = std::function<void(const QString& seite)>;

void setzeHilfeanzeige(Hilfeanzeige anzeige);
/// Shows seite through the installed display; false when none is installed.
bool HilfeZeigen(const QString& seite);

} // namespace kv
