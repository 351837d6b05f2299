#include "masks/Feldwert.h"

#include "base/Format.h"
#include "base/Werteparser.h"
#include "base/Wertzahl.h"
#include "engine/DataType.h"

#include <QDateTime>
#include <cmath>

namespace kv {

namespace {

using namespace engine;

std::optional<double> zahl(const QVariant& w)
{
    if (w.metaType().id() == QMetaType::Bool)
        return w.toBool() ? -1.0 : 0.0;
    if (w.metaType().id() == QMetaType::QDateTime)
        return DatumAlsZahl(w.toDateTime());
    return WertAlsZahl(w);
}

std::optional<QVariant> wahrheitswert(const QVariant& w)
{
    if (w.metaType().id() == QMetaType::Bool)
        return w;
    if (IstZahlwert(w))
        return QVariant(w.toDouble() != 0);
    const QString t = w.toString().trimmed().toLower();
    for (const char* ja : { "wahr", "ja", "true", "yes", "-1", "1" }) {
        if (t == QLatin1String(ja))
            return QVariant(true);
    }
    for (const char* nein : { "falsch", "nein", "false", "no", "0" }) {
        if (t == QLatin1String(nein))
            return QVariant(false);
    }
    return std::nullopt;
}

std::optional<QVariant> datumswert(const QVariant& w)
{
    switch (w.metaType().id()) {
    case QMetaType::QDateTime:
        return w;
    case QMetaType::QDate:
        return QVariant(w.toDate().startOfDay());
    default:
        break;
    }
    if (IstZahlwert(w)) {
        const std::optional<QDateTime> d = ZahlAlsDatum(w.toDouble());
        return d ? std::optional<QVariant>(QVariant(*d)) : std::nullopt;
    }
    const std::optional<QDateTime> d = ParseDatum(w.toString());
    return d ? std::optional<QVariant>(QVariant(*d)) : std::nullopt;
}

} // namespace

std::optional<QVariant> feldwert(const QVariant& wert, int feldtyp, int feldgroesse)
{
    if (!wert.isValid() || wert.isNull())
        return QVariant();
    if (wert.metaType().id() == QMetaType::QString && wert.toString().isEmpty())
        return QVariant();
    switch (feldtyp) {
    case dbText:
    case dbChar:
    case dbMemo: {
        QString text = wert.metaType().id() == QMetaType::QString ? wert.toString() : Format(wert);
        if (feldtyp != dbMemo && feldgroesse > 0 && text.size() > feldgroesse)
            text.truncate(feldgroesse);
        return QVariant(text);
    }
    case dbBoolean:
        return wahrheitswert(wert);
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbBigInt: {
        const std::optional<double> z = zahl(wert);
        if (!z || !std::isfinite(*z))
            return std::nullopt;
        return QVariant(qlonglong(std::llround(*z)));
    }
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal: {
        const std::optional<double> z = zahl(wert);
        if (!z || !std::isfinite(*z))
            return std::nullopt;
        return QVariant(*z);
    }
    case dbDate:
    case dbTime:
    case dbTimeStamp:
        return datumswert(wert);
    case dbBinary:
    case dbLongBinary:
    case dbVarBinary:
        return QVariant(wert.toByteArray());
    default:
        return wert;
    }
}

} // namespace kv
