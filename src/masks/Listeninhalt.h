#pragma once

#include "masks/Elementeinstellungen.h"

namespace kv {

namespace engine {
class Database;
}

/// The rows of a drop-down list and the names of their columns.
struct Listeninhalt {
    QStringList spaltennamen;
    QList<QVariantList> zeilen;
    /// The column definitions: the element's own, or, when it has none and the rows come from
    /// a statement, one per field of the result typed by the field's type.
    QList<Combospalte> spalten;
};

/// The rows of a drop-down list: every row of its statement, read once, when it has one (a
/// statement that fails gives no rows), else its fixed values. db may be null (no rows from a
/// statement).
Listeninhalt listeninhalt(engine::Database* db, const ComboboxEinstellungen& e);

} // namespace kv
