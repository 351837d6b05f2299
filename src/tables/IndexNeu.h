#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine {
class TableDef;
}

namespace kv {

/// What the dialog for a new index holds.
struct IndexEingabe {
    QString name;
    /// "+Feld;-Feld" (see leseIndexfeldtext).
    QString felder;
    bool primaer = false;
    bool eindeutig = false;
    bool erforderlich = false;
    bool nullwerteIgnorieren = false;

    /// OK is offered only with a name and at least one character of fields.
    bool vollstaendig() const { return !name.isEmpty() && !felder.isEmpty(); }
};

/// The fields an index can be built on, in the table's order: all but Memo and Long Binary.
QStringList indexfaehigeFelder(engine::TableDef& tabelle);

/// Appends the index to the table; a primary index is always unique and required and never
/// ignores nulls. False after the message "Fehler beim Hinzufügen des Index!" with the engine's
/// number and text; the table's indexes are unchanged then.
bool legeIndexAn(engine::TableDef& tabelle, const IndexEingabe& eingabe);

} // namespace kv
