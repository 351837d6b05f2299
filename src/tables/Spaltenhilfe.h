#pragma once

#include "tables/FeldZeile.h"

#include <QString>

namespace kv {

/// The tip of a column of the structure editor's field list: "In dieser Spalte können Sie "
/// with the column's first line, then each further line on its own line; locked columns add the
/// note that other field types lock them.
QString feldspaltenhilfe(Feldspalte spalte);

/// The tip of the index list's name column; a foreign-key index cannot be renamed.
QString indexnamenhilfe(bool fremdschluessel);
/// The tip of the index list's other columns.
QString indexeigenschaftenhilfe();

} // namespace kv
