#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace kv::engine {

class Database;
class Field;
struct FieldDefinition;

/// A value that a field cannot hold after a change of type or size.
struct LostValue {
    qint64 row = 0; ///< 1-based, in the table's stored order
    QVariant value;
};

/// What a change of type or size would lose: how many values, and the first few.
struct ConversionLoss {
    qint64 count = 0;
    QList<LostValue> examples;
};

/// Counts the values of field in table that a field of type and size cannot hold (texts that
/// are no numbers, numbers out of range, texts longer than size, dates that do not parse);
/// keeps up to maxExamples of them.
ConversionLoss conversionLoss(Database& db, const QString& table, const QString& field, int type,
    int size, int maxExamples = 10);

/// How far a long change is: step of steps (both from 1). Called often while the work runs, so
/// that a window can repaint; a false answer stops the work, and all of it is rolled back.
using ChangeProgress = std::function<bool(int step, int steps)>;

/// Replaces the stored field name of table by replacement under the same name and place: the
/// values are converted (Null where the new type cannot hold them, texts cut to the size), its
/// indexes and relations follow. All or nothing: on failure (EngineError) the table is as
/// before. The values the way back would not restore are kept, so that undoFieldChange can
/// bring the field back. A stop through progress throws EngineError 3000 ("abgebrochen").
void replaceField(Database& db, const QString& table, const QString& name, const Field& replacement,
    const ChangeProgress& progress = {});
void replaceField(Database& db, const QString& table, const QString& name,
    const FieldDefinition& replacement, const ChangeProgress& progress = {});

/// The field whose last replacement can still be undone.
struct FieldChange {
    QString table;
    QString field;
};
/// nullopt when there is none, or when the field changed again since.
std::optional<FieldChange> undoableFieldChange(Database& db);
/// Brings the field of the last replacement back with its type, properties and every old value
/// of the rows that still exist; throws EngineError 3219 when there is nothing to undo. progress
/// as for replaceField: a stop leaves the changed field as it was.
void undoFieldChange(Database& db, const ChangeProgress& progress = {});
/// Drops what the undo keeps (after any other change of the structure).
void forgetFieldChange(Database& db);

} // namespace kv::engine
