#include "tables/Feldtypen.h"

namespace kv {

QString Feldtypname(qint16 code)
{
    switch (code) {
    case feldtyp::Boolean:
        return QStringLiteral("Boolean");
    case feldtyp::Byte:
        return QStringLiteral("Byte");
    case feldtyp::Integer:
        return QStringLiteral("Integer");
    case feldtyp::Long:
        return QStringLiteral("Long");
    case feldtyp::Waehrung:
        return QStringLiteral("Währung");
    case feldtyp::Single:
        return QStringLiteral("Single");
    case feldtyp::Double:
        return QStringLiteral("Double");
    case feldtyp::DatumZeit:
        return QStringLiteral("Datum/Zeit");
    case feldtyp::Binary:
        return QStringLiteral("Binary");
    case feldtyp::Text:
        return QStringLiteral("Text");
    case feldtyp::LongBinary:
        return QStringLiteral("Long Binary (OLE/Grafik)");
    case feldtyp::Memo:
        return QStringLiteral("Memo");
    case feldtyp::Guid:
        return QStringLiteral("GUID");
    case feldtyp::BigInteger:
        return QStringLiteral("BigInteger");
    case feldtyp::VarBinary:
        return QStringLiteral("VarBinary");
    case feldtyp::Char:
        return QStringLiteral("Char");
    case feldtyp::Numerisch:
        return QStringLiteral("Numerisch");
    case feldtyp::Dezimal:
        return QStringLiteral("Dezimal");
    case feldtyp::Float:
        return QStringLiteral("Float");
    case feldtyp::Zeit:
        return QStringLiteral("Zeit");
    case feldtyp::TimeStamp:
        return QStringLiteral("TimeStamp");
    default:
        return QStringLiteral("Unbekannt");
    }
}

bool istWaehlbarerFeldtyp(qint16 code)
{
    return code >= feldtyp::Boolean && code <= feldtyp::Memo && code != feldtyp::Binary;
}

QList<Feldtypeintrag> feldtypliste()
{
    QList<Feldtypeintrag> liste;
    for (qint16 code = feldtyp::Boolean; code <= feldtyp::Memo; ++code) {
        if (istWaehlbarerFeldtyp(code))
            liste.append({ code, Feldtypname(code) });
    }
    return liste;
}

std::optional<int> typgroesse(qint16 code)
{
    switch (code) {
    case feldtyp::Boolean:
    case feldtyp::Byte:
        return 1;
    case feldtyp::Integer:
        return 2;
    case feldtyp::Long:
    case feldtyp::Single:
        return 4;
    case feldtyp::Waehrung:
    case feldtyp::Double:
    case feldtyp::DatumZeit:
        return 8;
    case feldtyp::LongBinary:
    case feldtyp::Memo:
        return 0;
    default:
        return std::nullopt;
    }
}

int feldattribute(bool fix, bool automatikwert)
{
    return (fix ? feldattribut::Fix : feldattribut::Variabel)
        | (automatikwert ? feldattribut::Automatikwert : 0);
}

QString feldgroessentext(int attribute)
{
    if (attribute & feldattribut::Variabel)
        return QStringLiteral("Variabel");
    if (attribute & feldattribut::Fix)
        return QStringLiteral("Fix");
    return {};
}

} // namespace kv
