#include "tables/Felddarstellung.h"

#include "tables/Feldtypen.h"

namespace kv {

Rasterspaltenformat rasterspaltenformat(qint16 typ)
{
    switch (typ) {
    case engine::dbDate:
        return { QStringLiteral("Short Date"), Ausrichtung::Links, false };
    case engine::dbCurrency:
        return { QStringLiteral("Currency"), Ausrichtung::Rechts, false };
    case engine::dbByte:
    case engine::dbInteger:
    case engine::dbLong:
    case engine::dbSingle:
    case engine::dbDouble:
        return { QStringLiteral("General Number"), Ausrichtung::Rechts, false };
    case engine::dbText:
    case engine::dbMemo:
        return { QString(), Ausrichtung::Links, false };
    case engine::dbBoolean:
        return {};
    default:
        return { QString(), Ausrichtung::Unveraendert, true };
    }
}

Reportfeldart reportfeldart(qint16 typ)
{
    switch (typ) {
    case engine::dbDate:
        return Reportfeldart::Datum;
    case engine::dbCurrency:
    case engine::dbInteger:
    case engine::dbLong:
    case engine::dbSingle:
    case engine::dbDouble:
        return Reportfeldart::Zahl;
    case engine::dbText:
    case engine::dbMemo:
        return Reportfeldart::Text;
    case engine::dbBoolean:
        return Reportfeldart::Boolean;
    default:
        return Reportfeldart::Keine;
    }
}

std::optional<Maskenelementart> standardmaskenelement(qint16 typ)
{
    switch (typ) {
    case engine::dbMemo:
        return Maskenelementart::EingabeTextMemo;
    case engine::dbBoolean:
        return Maskenelementart::EingabeCheckbox;
    case engine::dbLongBinary:
        return std::nullopt;
    default:
        return Maskenelementart::EingabeText;
    }
}

} // namespace kv
