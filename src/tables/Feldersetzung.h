#pragma once

#include "engine/FieldReplacement.h"

#include <QString>
#include <memory>

namespace kv::engine {
class Database;
class Field;
class TableDef;
} // namespace kv::engine

namespace kv {

/// An unstored copy of a field with all its properties, ready to be changed and appended.
std::unique_ptr<engine::Field> feldkopie(engine::TableDef& tabelle, const engine::Field& feld);

/// The question asked before a field is replaced ("Strukturänderung"), with the values the new
/// type or size cannot hold when there are any.
QString strukturaenderungsfrage(const engine::ConversionLoss& verlust);

/// Replaces the stored field alterName of table tabelle by ersatz under the same name: the data
/// are copied into it, converted to its type, and its indexes and relations follow; all inside
/// one transaction. On failure the table stays exactly as it was and the user is told why.
/// fortschritt hears how far the work is and may stop it (then, too, nothing changes); it is
/// gone before a message appears.
bool ersetzeFeld(engine::Database& db, const QString& tabelle, const QString& alterName,
    const engine::Field& ersatz, engine::ChangeProgress fortschritt = {});

/// Brings back the field of the last replacement in the database with its type and values. On
/// failure (or a stop through fortschritt) the user is told why and nothing changes.
bool macheErsetzungRueckgaengig(engine::Database& db, engine::ChangeProgress fortschritt = {});

} // namespace kv
