#pragma once

#include "tables/ui/Tabellenumgebung.h"

#include <QString>

class QMdiArea;

namespace kv {

class AktuelleDatenbank;

/// What the table-view window and its designer get from the program now: the open database,
/// the icon folder, the child windows' bar settings and the program font.
Tabellenumgebung TabellenumgebungFuer(const AktuelleDatenbank& datenbank);

/// Installs the hand-over entries for table views: the window (standard and user views) and
/// the designer (a new view for a table, a copy of another view's text, or a view's file to
/// change) open in mdi for the database open at the time of the call. modell makes the grid
/// model over a record set; without it the window's entry stays empty (the navigator says the
/// window is not available) and the designer shows no preview rows.
void TabellenfensterEinrichten(
    QMdiArea* mdi, AktuelleDatenbank& datenbank, Ansichtsmodellmacher modell);

/// Opens the standard table view of tabelle (the command line's "/TABELLE:"); a name that is
/// no table of the open database is reported, as is a window that is not available.
void StandardtabelleOeffnen(const QString& tabelle);

} // namespace kv
