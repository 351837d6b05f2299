#include "engine/core/DataType.h"

#include "engine/core/BooleanText.h"

#include <QDateTime>
#include <cmath>

namespace kv::engine::datatype {

int defaultSize(int type)
{
    switch (type) {
    case dbBoolean:
    case dbByte:
        return 1;
    case dbInteger:
        return 2;
    case dbLong:
    case dbSingle:
        return 4;
    case dbCurrency:
    case dbDouble:
    case dbDate:
    case dbBigInt:
        return 8;
    case dbGUID:
        return 16;
    case dbText:
        return 50;
    default:
        return 0;
    }
}

bool isTextType(int type)
{
    return type == dbText || type == dbMemo || type == dbChar;
}

int defaultAttributes(int type)
{
    return isTextType(type) || type == dbLongBinary ? dbVariableField : dbFixedField;
}

namespace {
int digits(QStringView t, qsizetype from, qsizetype count, bool& ok)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}
} // namespace

QDateTime parseIsoDate(QStringView text)
{
    if (text.size() == 19 || text.size() == 10) {
        bool ok = true;
        const int j = digits(text, 0, 4, ok);
        const int mo = digits(text, 5, 2, ok);
        const int t = digits(text, 8, 2, ok);
        int h = 0, mi = 0, s = 0;
        if (text.size() == 19) {
            h = digits(text, 11, 2, ok);
            mi = digits(text, 14, 2, ok);
            s = digits(text, 17, 2, ok);
        }
        if (ok)
            return QDateTime(QDate(j, mo, t), QTime(h, mi, s));
    }
    QDateTime d = QDateTime::fromString(text.toString(), Qt::ISODate);
    return d;
}

QVariant fromStorage(const QVariant& stored, int type)
{
    if (!stored.isValid() || stored.isNull())
        return QVariant();
    switch (type) {
    case dbBoolean:
        if (stored.typeId() == QMetaType::QString)
            return QVariant(stored.toString() != QLatin1String("0")
                && stored.toString().compare(QLatin1String("false"), Qt::CaseInsensitive) != 0);
        return QVariant(stored.toLongLong() != 0);
    case dbByte:
    case dbInteger:
    case dbLong:
        if (stored.typeId() == QMetaType::LongLong)
            return QVariant(static_cast<int>(stored.toLongLong()));
        return stored;
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal:
        if (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Double)
            return QVariant(stored.toDouble());
        return stored;
    case dbDate:
    case dbTime:
    case dbTimeStamp:
        if (stored.typeId() == QMetaType::QString) {
            const QDateTime d = parseIsoDate(stored.toString());
            return d.isValid() ? QVariant(d) : stored;
        }
        return stored;
    case dbText:
    case dbMemo:
    case dbChar:
        if (stored.typeId() != QMetaType::QString && stored.typeId() != QMetaType::QByteArray)
            return QVariant(stored.toString());
        return stored;
    default:
        return stored;
    }
}

QVariant toStorage(const QVariant& value, int type)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    switch (type) {
    case dbBoolean:
        if (isText) {
            const QString t = value.toString().trimmed();
            if (const auto b = booleanFromWord(t, WahrFalsch | TrueFalse))
                return QVariant(qlonglong(*b ? -1 : 0));
            bool ok = false;
            const double d = t.toDouble(&ok);
            return ok ? QVariant(qlonglong(d != 0 ? -1 : 0)) : value;
        }
        return QVariant(qlonglong(value.toDouble() != 0 ? -1 : 0));
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbBigInt: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            return value;
        return QVariant(qlonglong(std::llround(d)));
    }
    case dbCurrency: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? QVariant(std::round(d * 10000.0) / 10000.0) : value;
    }
    case dbSingle:
    case dbDouble:
    case dbFloat:
    case dbNumeric:
    case dbDecimal: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        return ok ? QVariant(d) : value;
    }
    case dbDate:
    case dbTimeStamp:
    case dbTime: {
        QDateTime d;
        if (value.typeId() == QMetaType::QDateTime)
            d = value.toDateTime();
        else if (value.typeId() == QMetaType::QDate)
            d = QDateTime(value.toDate(), QTime(0, 0));
        else if (isText)
            d = parseIsoDate(value.toString().trimmed());
        if (!d.isValid())
            return value;
        return QVariant(d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    case dbText:
    case dbMemo:
    case dbChar:
        return QVariant(value.toString());
    default:
        return value;
    }
}

} // namespace kv::engine::datatype
