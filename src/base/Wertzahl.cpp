#include "base/Wertzahl.h"

#include "base/Werteparser.h"

#include <QLocale>

namespace kv {

bool IstZahlwert(const QVariant& wert)
{
    switch (wert.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

std::optional<double> WertAlsZahl(const QVariant& wert)
{
    if (IstZahlwert(wert))
        return wert.toDouble();
    const QString text = wert.toString().trimmed();
    if (std::optional<double> z = ParseZahl(text))
        return z;
    return IstZahl(text, QLocale::c()) ? ParseZahl(text, QLocale::c()) : std::nullopt;
}

} // namespace kv
