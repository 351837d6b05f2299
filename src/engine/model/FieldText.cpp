#include "engine/model/FieldText.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "engine/DataType.h"
#include "engine/core/BooleanText.h"

#include <cmath>

namespace kv::engine {

bool isBinaryType(int type)
{
    return type == dbBinary || type == dbLongBinary || type == dbVarBinary;
}

QString displayText(const QVariant& value, int type, const QString& format)
{
    if (value.isNull() || isBinaryType(type))
        return QString();
    return Format(value, format);
}

QString editText(const QVariant& value, int type)
{
    return displayText(value, type, QString());
}

std::optional<QVariant> valueFromText(const QString& text, int type)
{
    if (isBinaryType(type))
        return std::nullopt;
    if (text.isEmpty())
        return QVariant();
    switch (type) {
    case dbBoolean:
        if (const auto b
            = booleanFromWord(text, JaNein | WahrFalsch | TrueFalse | YesNo | EinsNull))
            return QVariant(*b);
        return std::nullopt;
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbBigInt:
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal: {
        const auto number = ParseZahl(text);
        if (!number || !std::isfinite(*number))
            return std::nullopt;
        // Whole numbers for whole-number fields stay exact; a fraction is rounded when the
        // record is written.
        const bool whole
            = type == dbByte || type == dbInteger || type == dbLong || type == dbBigInt;
        if (whole && *number == std::floor(*number) && std::fabs(*number) < 9.0e15)
            return QVariant(qlonglong(*number));
        return QVariant(*number);
    }
    case dbDate:
    case dbTime:
    case dbTimeStamp: {
        const auto date = ParseDatum(text);
        if (!date)
            return std::nullopt;
        return QVariant(*date);
    }
    default:
        return QVariant(text);
    }
}

} // namespace kv::engine
