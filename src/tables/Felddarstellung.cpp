#include "tables/Felddarstellung.h"

#include "tables/Feldtypen.h"

namespace kv {

Rasterspaltenformat rasterspaltenformat(qint16 typ)
{
    switch (typ) {
    case feldtyp::DatumZeit:
        return { QStringLiteral("Short Date"), Ausrichtung::Links, false };
    case feldtyp::Waehrung:
        return { QStringLiteral("Currency"), Ausrichtung::Rechts, false };
    case feldtyp::Byte:
    case feldtyp::Integer:
    case feldtyp::Long:
    case feldtyp::Single:
    case feldtyp::Double:
        return { QStringLiteral("General Number"), Ausrichtung::Rechts, false };
    case feldtyp::Text:
    case feldtyp::Memo:
        return { QString(), Ausrichtung::Links, false };
    case feldtyp::Boolean:
        return {};
    default:
        return { QString(), Ausrichtung::Unveraendert, true };
    }
}

Reportfeldart reportfeldart(qint16 typ)
{
    switch (typ) {
    case feldtyp::DatumZeit:
        return Reportfeldart::Datum;
    case feldtyp::Waehrung:
    case feldtyp::Integer:
    case feldtyp::Long:
    case feldtyp::Single:
    case feldtyp::Double:
        return Reportfeldart::Zahl;
    case feldtyp::Text:
    case feldtyp::Memo:
        return Reportfeldart::Text;
    case feldtyp::Boolean:
        return Reportfeldart::Boolean;
    default:
        return Reportfeldart::Keine;
    }
}

std::optional<Maskenelementart> standardmaskenelement(qint16 typ)
{
    switch (typ) {
    case feldtyp::Memo:
        return Maskenelementart::EingabeTextMemo;
    case feldtyp::Boolean:
        return Maskenelementart::EingabeCheckbox;
    case feldtyp::LongBinary:
        return std::nullopt;
    default:
        return Maskenelementart::EingabeText;
    }
}

} // namespace kv
