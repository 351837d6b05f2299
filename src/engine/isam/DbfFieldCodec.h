#pragma once

#include "engine/isam/DbfHeader.h"
#include "engine/isam/IsamField.h"
#include "engine/isam/IsamTable.h"
#include "engine/isam/ValueIssue.h"

#include <optional>

namespace kv::engine::isam {

/// The dBASE/FoxPro dialects we write.
enum class DbfFlavor {
    Dbase3, ///< version 0x03/0x83, dBASE III memo file
    Dbase4, ///< version 0x03/0x8B, dBASE IV memo file (dBASE IV and 5)
    FoxPro2, ///< version 0x03/0xF5, .FPT memo file
    VisualFoxPro, ///< version 0x30: binary integers, currency, date-time, Null flags
};

/// The engine's view of a stored field.
IsamField dbfIsamField(const DbfHeader& header, const DbfFieldDesc& field);
/// The field a writer of this flavour stores for an engine field (name and layout, no offset).
DbfFieldDesc dbfFieldFor(const IsamField& field, DbfFlavor flavor);

/// Decodes one field of a record. For memo fields the value is invalid and memoBlock receives
/// the block number (0 when the record points nowhere).
QVariant decodeDbfField(const DbfHeader& header, const DbfFieldDesc& field, const char* record,
    const CodePage& codePage, quint32* memoBlock);

/// Writes value into the field's bytes of record. Memo fields take the block number as value.
/// Returns what changed when the file cannot hold the value as it is; stored then receives the
/// value the file now holds.
std::optional<IssueKind> encodeDbfField(const DbfHeader& header, const DbfFieldDesc& field,
    const QVariant& value, char* record, const CodePage& codePage, QVariant* stored);

/// decodeDbfField straight into storage form for a column of the engine type, without a
/// QVariant; false when the field needs the general path (memos, variable-length fields,
/// dBASE 7 numbers, dates outside 1–9999). scratch is reused for the UTF-8 text.
bool storeDbfField(const DbfHeader& header, const DbfFieldDesc& field, const char* record,
    const CodePage& codePage, int type, StorageSink& out, QByteArray& scratch);

/// Text of a memo block; clipper removes the soft line breaks (0x8D before the line feed) that
/// Clipper's editor leaves in dBASE III memo files.
QString decodeDbfMemoText(const QByteArray& raw, const CodePage& codePage, bool clipper);

/// Sets or clears a Null flag bit (Visual FoxPro).
void setDbfNullBit(const DbfHeader& header, char* record, int bit, bool on);

} // namespace kv::engine::isam
