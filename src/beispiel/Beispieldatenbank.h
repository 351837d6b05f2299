#pragma once

#include <QString>

namespace kv {

/// File name of the demo database inside its folder.
inline const QString BeispielDateiname = QStringLiteral("Beispiel.mdb");

/// Creates ordner/"Beispiel.mdb", a database in the program's own format with German demo
/// data (places, customers, articles with pictures, invoices with their items, relations and
/// stored queries), the same rows on every run; schreibeBeispieldefinitionen() adds the user
/// table views and masks beside it. The folder is created when missing. Returns
/// the path of the new file.
///
/// Throws engine::EngineError: 3204 when the file exists already (it is never overwritten),
/// any other engine error when the file cannot be written; a partly written file is removed.
QString erzeugeBeispieldatenbank(const QString& ordner);

} // namespace kv
