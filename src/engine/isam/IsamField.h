#pragma once

#include "engine/core/DataType.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <iterator>

namespace kv::engine::isam {

/// One field of a foreign table in the engine's terms, with what the format itself says.
struct IsamField {
    QString name;
    int type = dbText; ///< engine type code (DataType)
    int size = 0; ///< Text: characters; other types the engine size
    int width = 0; ///< the format's own width (digits of a dBASE N field, bytes of an alpha)
    int decimals = 0; ///< decimals of a fixed-point field
    bool required = false;
    bool autoIncrement = false;
    QString nativeType; ///< the format's type name ("N", "M", "A", "Currency", …)

    bool operator==(const IsamField&) const = default;
};

using IsamFields = QVector<IsamField>;

/// The engine size of a type whose size is not free (Text and the binaries keep their own).
constexpr int fixedSize(int type)
{
    constexpr int sizes[] = { 0, 1, 1, 2, 4, 8, 4, 8, 8, 0, 0, 0, 0, 0, 0, 16, 8 };
    return type >= 0 && type < int(std::size(sizes)) ? sizes[type] : 0;
}

/// One row's values by field position. Null is an invalid QVariant; dates are QDateTime (a
/// date alone has midnight) or the engine's stored text "yyyy-MM-dd HH:mm:ss", which needs no
/// time-zone lookup and also holds a time the local clock skips; Booleans bool, integers
/// int/qlonglong, Currency and floating point double, Text and Memo QString, binaries QByteArray.
using IsamRow = QVector<QVariant>;

/// A stored value as a driver takes it: datatype::fromStorage, but dates stay the stored text
/// (a QDateTime per value costs a time-zone lookup, and a skipped hour has none).
QVariant driverValue(const QVariant& stored, int type);

} // namespace kv::engine::isam
