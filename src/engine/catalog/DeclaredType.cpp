#include "engine/catalog/DeclaredType.h"

#include "engine/core/DataType.h"
#include "engine/sql/Dialect.h"

namespace kv::engine::datatype {

QString declaredType(int type, int size)
{
    const QString collation = QStringLiteral(" COLLATE ") + QLatin1String(sql::CollationName);
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
        return QStringLiteral("VARCHAR(%1)").arg(size) + collation;
    case dbLongBinary:
        return QStringLiteral("LONGBINARY");
    case dbMemo:
        return QStringLiteral("LONGTEXT") + collation;
    case dbGUID:
        return QStringLiteral("GUID");
    case dbBigInt:
        return QStringLiteral("BIGINT");
    case dbVarBinary:
        return QStringLiteral("VARBINARY(%1)").arg(size);
    case dbChar:
        return QStringLiteral("CHAR(%1)").arg(size) + collation;
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
        return QStringLiteral("VARCHAR(255)") + collation;
    }
}

void fromDeclaredType(const QString& declared, int& type, int& size)
{
    QString d = declared.trimmed().toUpper();
    size = 0;
    const qsizetype bracket = d.indexOf(QLatin1Char('('));
    if (bracket >= 0) {
        size = d.mid(bracket + 1, d.indexOf(QLatin1Char(')')) - bracket - 1).trimmed().toInt();
        d = d.left(bracket).trimmed();
    }
    d = d.section(QLatin1Char(' '), 0, 0);
    struct Entry {
        const char* name;
        int type;
    };
    static const Entry entries[] = { { "YESNO", dbBoolean }, { "BOOLEAN", dbBoolean },
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
    for (const Entry& e : entries) {
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

} // namespace kv::engine::datatype
