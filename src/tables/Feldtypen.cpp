#include "tables/Feldtypen.h"

namespace kv {

QString Feldtypname(qint16 code)
{
    switch (code) {
    case engine::dbBoolean:
        return QStringLiteral("Boolean");
    case engine::dbByte:
        return QStringLiteral("Byte");
    case engine::dbInteger:
        return QStringLiteral("Integer");
    case engine::dbLong:
        return QStringLiteral("Long");
    case engine::dbCurrency:
        return QStringLiteral("Währung");
    case engine::dbSingle:
        return QStringLiteral("Single");
    case engine::dbDouble:
        return QStringLiteral("Double");
    case engine::dbDate:
        return QStringLiteral("Datum/Zeit");
    case engine::dbBinary:
        return QStringLiteral("Binary");
    case engine::dbText:
        return QStringLiteral("Text");
    case engine::dbLongBinary:
        return QStringLiteral("Long Binary (OLE/Grafik)");
    case engine::dbMemo:
        return QStringLiteral("Memo");
    case engine::dbGUID:
        return QStringLiteral("GUID");
    case engine::dbBigInt:
        return QStringLiteral("BigInteger");
    case engine::dbVarBinary:
        return QStringLiteral("VarBinary");
    case engine::dbChar:
        return QStringLiteral("Char");
    case engine::dbNumeric:
        return QStringLiteral("Numerisch");
    case engine::dbDecimal:
        return QStringLiteral("Dezimal");
    case engine::dbFloat:
        return QStringLiteral("Float");
    case engine::dbTime:
        return QStringLiteral("Zeit");
    case engine::dbTimeStamp:
        return QStringLiteral("TimeStamp");
    default:
        return QStringLiteral("Unbekannt");
    }
}

bool istWaehlbarerFeldtyp(qint16 code)
{
    return code >= engine::dbBoolean && code <= engine::dbMemo && code != engine::dbBinary;
}

QList<Feldtypeintrag> feldtypliste()
{
    QList<Feldtypeintrag> liste;
    for (qint16 code = engine::dbBoolean; code <= engine::dbMemo; ++code) {
        if (istWaehlbarerFeldtyp(code))
            liste.append({ code, Feldtypname(code) });
    }
    return liste;
}

std::optional<int> typgroesse(qint16 code)
{
    switch (code) {
    case engine::dbBoolean:
    case engine::dbByte:
        return 1;
    case engine::dbInteger:
        return 2;
    case engine::dbLong:
    case engine::dbSingle:
        return 4;
    case engine::dbCurrency:
    case engine::dbDouble:
    case engine::dbDate:
        return 8;
    case engine::dbLongBinary:
    case engine::dbMemo:
        return 0;
    default:
        return std::nullopt;
    }
}

int feldattribute(bool fix, bool automatikwert)
{
    return (fix ? engine::dbFixedField : engine::dbVariableField)
        | (automatikwert ? engine::dbAutoIncrField : 0);
}

QString feldgroessentext(int attribute)
{
    if (attribute & engine::dbVariableField)
        return QStringLiteral("Variabel");
    if (attribute & engine::dbFixedField)
        return QStringLiteral("Fix");
    return {};
}

} // namespace kv
