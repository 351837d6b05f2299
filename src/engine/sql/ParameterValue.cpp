#include "engine/sql/ParameterValue.h"

#include "engine/core/BooleanText.h"
#include "engine/core/EngineError.h"
#include "engine/sql/DateSerial.h"
#include "engine/sql/DdlTypes.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace kv::engine::sql {

namespace {

[[noreturn]] void notConverted(const QString& name, const QVariant& value, const QString& what)
{
    throw EngineError(err::TypeMismatch,
        QStringLiteral("Der Wert '%1' für den Parameter '%2' ist %3.")
            .arg(value.toString(), name, what));
}

std::optional<double> germanNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    case QMetaType::Bool:
        return value.toBool() ? -1.0 : 0.0;
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    bool ok = false;
    // German first ("12,5", "1.234,5"); a point as decimal separator ("12.5") after that.
    double d = QLocale(QLocale::German, QLocale::Germany).toDouble(text, &ok);
    if (!ok)
        d = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

QVariant dateValue(const QString& name, const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    std::optional<double> serial;
    if (value.typeId() == QMetaType::QString)
        serial = dateserial::fromText(value.toString().trimmed());
    else if (const auto n = germanNumber(value))
        serial = n;
    if (!serial)
        notConverted(name, value, QStringLiteral("kein gültiges Datum"));
    return QString::fromStdString(dateserial::toIso(*serial));
}

QVariant booleanValue(const QString& name, const QVariant& value)
{
    if (const auto b
        = booleanFromWord(value.toString(), JaNein | WahrFalsch | TrueFalse | YesNo | EinAus))
        return *b ? -1 : 0;
    if (const auto n = germanNumber(value))
        return *n != 0 ? -1 : 0;
    notConverted(name, value, QStringLiteral("kein gültiger Wahrheitswert (Ja oder Nein)"));
}

QVariant wholeValue(const QString& name, const QVariant& value, qint64 low, qint64 high)
{
    const auto n = germanNumber(value);
    if (!n)
        notConverted(name, value, QStringLiteral("keine gültige Zahl"));
    const double r = std::nearbyint(*n); // half to even, as CLng rounds
    if (r < double(low) || r > double(high))
        notConverted(
            name, value, QStringLiteral("keine Zahl zwischen %1 und %2").arg(low).arg(high));
    return qint64(r);
}

} // namespace

QVariant parameterValue(const QString& name, const QString& typeName, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return value;
    bool counter = false;
    const QString base = typeName.section(QLatin1Char('('), 0, 0).trimmed();
    const QString declared
        = declaredColumnType(base, 0, 0, counter).section(QLatin1Char('('), 0, 0);
    if (declared.isEmpty())
        return value;
    if (declared.startsWith(QLatin1String("VARCHAR"))
        || declared.startsWith(QLatin1String("LONGTEXT")))
        return value.toString();
    if (declared.contains(QLatin1String("BINARY")) || declared == QLatin1String("GUID"))
        return value;
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QVariant(QMetaType::fromType<QString>()); // an empty entry is Null, not missing
    if (declared == QLatin1String("DATETIME"))
        return dateValue(name, value);
    if (declared == QLatin1String("YESNO"))
        return booleanValue(name, value);
    if (declared == QLatin1String("INTEGER"))
        return wholeValue(name, value, -2147483648LL, 2147483647LL);
    if (declared == QLatin1String("SMALLINT"))
        return wholeValue(name, value, -32768, 32767);
    if (declared == QLatin1String("TINYINT"))
        return wholeValue(name, value, 0, 255);
    const auto n = germanNumber(value);
    if (!n)
        notConverted(name, value, QStringLiteral("keine gültige Zahl"));
    if (declared == QLatin1String("CURRENCY"))
        return std::nearbyint(*n * 10000.0) / 10000.0;
    return *n;
}

QList<Parameter> typedParameters(
    const QList<Parameter>& values, const QList<DeclaredParameter>& declared)
{
    if (declared.isEmpty())
        return values;
    QList<Parameter> typed = values;
    for (Parameter& p : typed)
        for (const DeclaredParameter& d : declared)
            if (d.name.compare(p.name, Qt::CaseInsensitive) == 0)
                p.value = parameterValue(d.name, d.typeName, p.value);
    return typed;
}

} // namespace kv::engine::sql
