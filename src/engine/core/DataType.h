#pragma once

#include <QString>
#include <QVariant>

namespace kv::engine {

/// The engine's field type codes (the published DAO constants).
enum DataType : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
};

/// Field attribute bits.
enum FieldAttribute : int {
    dbFixedField = 1,
    dbVariableField = 2,
    dbAutoIncrField = 16,
    dbUpdatableField = 32,
    dbDescending = 1, // on index fields
};

/// Table attribute bits.
enum TableAttribute : qint64 {
    dbHiddenObject = 0x1,
    dbSystemObject = static_cast<qint64>(0x80000002LL),
    dbAttachedTable = 0x40000000,
};

/// Conversions between type codes, declared SQLite column types and stored values.
namespace datatype {

/// The size a type carries when its size is not free (Text keeps its own).
int defaultSize(int type);

/// A stored value as the caller sees it: Date → QDateTime, Boolean → bool, integers →
/// int/qlonglong, Currency/Single/Double → double, Text/Memo → QString, binaries → QByteArray.
QVariant fromStorage(const QVariant& stored, int type);

/// A caller's value as it is stored: dates as ISO text, Booleans -1/0, Currency rounded
/// to 4 decimals, numbers from text where the text is a number.
QVariant toStorage(const QVariant& value, int type);

/// "yyyy-MM-dd HH:mm:ss" text to QDateTime without QDateTime's slow parser.
QDateTime parseIsoDate(QStringView text);

bool isTextType(int type);
/// The attributes a new field of the type has: variable length for texts and binaries of any
/// length, fixed for the rest.
int defaultAttributes(int type);

} // namespace datatype

} // namespace kv::engine
