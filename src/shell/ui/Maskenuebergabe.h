#pragma once

class QMdiArea;
class QString;

namespace kv {

class AktuelleDatenbank;
class frmMaske;

/// Makes the mask window the navigator's receiver of masks: each standard or user mask opens
/// in a window of its own in mdi over the open database.
void MaskenfensterAnmelden(QMdiArea* mdi, AktuelleDatenbank& datenbank);

/// Opens a mask over the open database with the program's bars, fonts and status line;
/// nullptr when no database is open. An empty definition text opens the table's standard mask.
frmMaske* MaskeOeffnen(QMdiArea* mdi, AktuelleDatenbank& datenbank, const QString& name,
    const QString& definitionstext);

} // namespace kv
