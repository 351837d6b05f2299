#pragma once

class QMdiArea;

namespace kv {

class AktuelleDatenbank;

/// Makes the structure overview the window of the command "Struktur-Generator" (main menu and
/// navigator alike): shown in mdi for the open database, with its stored geometry.
void StrukturGeneratorEinrichten(QMdiArea* mdi, AktuelleDatenbank& datenbank);

} // namespace kv
