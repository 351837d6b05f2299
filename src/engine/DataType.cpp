#include "engine/DataType.h"

#include "engine/sql/Dialect.h"

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

QString declaredType(int type, int size)
{
    const QString kollation = QStringLiteral(" COLLATE ") + QLatin1String(sql::CollationName);
    switch (type) {
    case dbBoolean:
        return QStringLiteral("YESNO");
    case dbByte:
        return QStringLiteral("TINYINT");
    case dbInteger:
        return QStringLiteral("SMALLINT");
    case dbLong:
        return QStringLiteral("INTEGER");
    case dbCurrency:
        return QStringLiteral("CURRENCY");
    case dbSingle:
        return QStringLiteral("REAL");
    case dbDouble:
        return QStringLiteral("DOUBLE");
    case dbDate:
        return QStringLiteral("DATETIME");
    case dbBinary:
        return QStringLiteral("BINARY(%1)").arg(size);
    case dbText:
        return QStringLiteral("VARCHAR(%1)").arg(size) + kollation;
    case dbLongBinary:
        return QStringLiteral("LONGBINARY");
    case dbMemo:
        return QStringLiteral("LONGTEXT") + kollation;
    case dbGUID:
        return QStringLiteral("GUID");
    case dbBigInt:
        return QStringLiteral("BIGINT");
    case dbVarBinary:
        return QStringLiteral("VARBINARY(%1)").arg(size);
    case dbChar:
        return QStringLiteral("CHAR(%1)").arg(size) + kollation;
    case dbNumeric:
        return QStringLiteral("NUMERIC");
    case dbDecimal:
        return QStringLiteral("DECIMAL");
    case dbFloat:
        return QStringLiteral("FLOAT");
    case dbTime:
        return QStringLiteral("TIME");
    case dbTimeStamp:
        return QStringLiteral("TIMESTAMP");
    default:
        return QStringLiteral("VARCHAR(255)") + kollation;
    }
}

void fromDeclaredType(const QString& declared, int& type, int& size)
{
    QString d = declared.trimmed().toUpper();
    size = 0;
    const qsizetype klammer = d.indexOf(QLatin1Char('('));
    if (klammer >= 0) {
        size = d.mid(klammer + 1, d.indexOf(QLatin1Char(')')) - klammer - 1).trimmed().toInt();
        d = d.left(klammer).trimmed();
    }
    d = d.section(QLatin1Char(' '), 0, 0);
    struct Eintrag {
        const char* name;
        int type;
    };
    static const Eintrag eintraege[] = { { "YESNO", dbBoolean }, { "BOOLEAN", dbBoolean },
        { "BIT", dbBoolean }, { "TINYINT", dbByte }, { "BYTE", dbByte }, { "SMALLINT", dbInteger },
        { "SHORT", dbInteger }, { "INTEGER", dbLong }, { "INT", dbLong }, { "LONG", dbLong },
        { "COUNTER", dbLong }, { "AUTOINCREMENT", dbLong }, { "CURRENCY", dbCurrency },
        { "MONEY", dbCurrency }, { "REAL", dbSingle }, { "SINGLE", dbSingle },
        { "DOUBLE", dbDouble }, { "DATETIME", dbDate }, { "DATE", dbDate }, { "BINARY", dbBinary },
        { "VARCHAR", dbText }, { "TEXT", dbText }, { "LONGBINARY", dbLongBinary },
        { "BLOB", dbLongBinary }, { "OLEOBJECT", dbLongBinary }, { "LONGTEXT", dbMemo },
        { "MEMO", dbMemo }, { "GUID", dbGUID }, { "BIGINT", dbBigInt },
        { "VARBINARY", dbVarBinary }, { "CHAR", dbChar }, { "NUMERIC", dbNumeric },
        { "DECIMAL", dbDecimal }, { "FLOAT", dbFloat }, { "TIME", dbTime },
        { "TIMESTAMP", dbTimeStamp } };
    for (const Eintrag& e : eintraege) {
        if (d == QLatin1String(e.name)) {
            type = e.type;
            if (type == dbText && (size <= 0 || d == QLatin1String("TEXT")))
                size = size > 0 ? size : 255;
            if (type != dbText && type != dbChar && type != dbBinary && type != dbVarBinary)
                size = defaultSize(type);
            return;
        }
    }
    // SQLite's affinity rules for types we did not write ourselves.
    if (d.contains(QLatin1String("INT"))) {
        type = dbLong;
    } else if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("CLOB"))
        || d.contains(QLatin1String("TEXT"))) {
        type = dbText;
        size = 255;
        return;
    } else if (d.isEmpty() || d.contains(QLatin1String("BLOB"))) {
        type = d.isEmpty() ? dbText : dbLongBinary;
        size = d.isEmpty() ? 255 : 0;
        return;
    } else {
        type = dbDouble;
    }
    size = defaultSize(type);
}

namespace {
int ziffern(QStringView t, qsizetype von, qsizetype anzahl, bool& ok)
{
    int wert = 0;
    for (qsizetype i = von; i < von + anzahl; ++i) {
        const QChar c = t[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            ok = false;
            return 0;
        }
        wert = wert * 10 + (c.unicode() - '0');
    }
    return wert;
}
} // namespace

QDateTime parseIsoDate(QStringView text)
{
    if (text.size() == 19 || text.size() == 10) {
        bool ok = true;
        const int j = ziffern(text, 0, 4, ok);
        const int mo = ziffern(text, 5, 2, ok);
        const int t = ziffern(text, 8, 2, ok);
        int h = 0, mi = 0, s = 0;
        if (text.size() == 19) {
            h = ziffern(text, 11, 2, ok);
            mi = ziffern(text, 14, 2, ok);
            s = ziffern(text, 17, 2, ok);
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
    const bool istText = value.typeId() == QMetaType::QString;
    switch (type) {
    case dbBoolean:
        if (istText) {
            const QString t = value.toString().trimmed();
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                || t.compare(QLatin1String("wahr"), Qt::CaseInsensitive) == 0)
                return QVariant(qlonglong(-1));
            if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0
                || t.compare(QLatin1String("falsch"), Qt::CaseInsensitive) == 0)
                return QVariant(qlonglong(0));
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
        else if (istText)
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
