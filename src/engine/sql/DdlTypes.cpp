#include "engine/sql/DdlTypes.h"

#include "engine/sql/Dialect.h"

#include <iterator>

namespace kv::engine::sql {

namespace {

enum class Sizing { None, Text, Binary, Decimal };

struct DdlType {
    const char* name;
    const char* declared;
    Sizing sizing;
    bool autoIncrement;
};

// The dialect's type names and their synonyms; the declared forms are those the engine reads
// its type codes back from.
constexpr DdlType types[] = {
    { "TEXT", "VARCHAR", Sizing::Text, false },
    { "VARCHAR", "VARCHAR", Sizing::Text, false },
    { "CHAR", "VARCHAR", Sizing::Text, false },
    { "CHARACTER", "VARCHAR", Sizing::Text, false },
    { "STRING", "VARCHAR", Sizing::Text, false },
    { "ALPHANUMERIC", "VARCHAR", Sizing::Text, false },
    { "NVARCHAR", "VARCHAR", Sizing::Text, false },
    { "MEMO", "LONGTEXT", Sizing::None, false },
    { "LONGTEXT", "LONGTEXT", Sizing::None, false },
    { "LONGCHAR", "LONGTEXT", Sizing::None, false },
    { "NOTE", "LONGTEXT", Sizing::None, false },
    { "NTEXT", "LONGTEXT", Sizing::None, false },
    { "LONG", "INTEGER", Sizing::None, false },
    { "INTEGER", "INTEGER", Sizing::None, false },
    { "INT", "INTEGER", Sizing::None, false },
    { "INTEGER4", "INTEGER", Sizing::None, false },
    { "SHORT", "SMALLINT", Sizing::None, false },
    { "SMALLINT", "SMALLINT", Sizing::None, false },
    { "INTEGER2", "SMALLINT", Sizing::None, false },
    { "BYTE", "TINYINT", Sizing::None, false },
    { "TINYINT", "TINYINT", Sizing::None, false },
    { "INTEGER1", "TINYINT", Sizing::None, false },
    { "CURRENCY", "CURRENCY", Sizing::None, false },
    { "MONEY", "CURRENCY", Sizing::None, false },
    { "SINGLE", "REAL", Sizing::None, false },
    { "REAL", "REAL", Sizing::None, false },
    { "FLOAT4", "REAL", Sizing::None, false },
    { "IEEESINGLE", "REAL", Sizing::None, false },
    { "DOUBLE", "DOUBLE", Sizing::None, false },
    { "FLOAT", "DOUBLE", Sizing::None, false },
    { "FLOAT8", "DOUBLE", Sizing::None, false },
    { "NUMBER", "DOUBLE", Sizing::None, false },
    { "IEEEDOUBLE", "DOUBLE", Sizing::None, false },
    { "DATETIME", "DATETIME", Sizing::None, false },
    { "DATE", "DATETIME", Sizing::None, false },
    { "TIME", "DATETIME", Sizing::None, false },
    { "TIMESTAMP", "DATETIME", Sizing::None, false },
    { "YESNO", "YESNO", Sizing::None, false },
    { "BIT", "YESNO", Sizing::None, false },
    { "LOGICAL", "YESNO", Sizing::None, false },
    { "LOGICAL1", "YESNO", Sizing::None, false },
    { "BOOLEAN", "YESNO", Sizing::None, false },
    { "COUNTER", "INTEGER", Sizing::None, true },
    { "AUTOINCREMENT", "INTEGER", Sizing::None, true },
    { "LONGBINARY", "LONGBINARY", Sizing::None, false },
    { "OLEOBJECT", "LONGBINARY", Sizing::None, false },
    { "IMAGE", "LONGBINARY", Sizing::None, false },
    { "GENERAL", "LONGBINARY", Sizing::None, false },
    { "BINARY", "BINARY", Sizing::Binary, false },
    { "VARBINARY", "BINARY", Sizing::Binary, false },
    { "GUID", "GUID", Sizing::None, false },
    { "UNIQUEIDENTIFIER", "GUID", Sizing::None, false },
    { "DECIMAL", "DECIMAL", Sizing::Decimal, false },
    { "NUMERIC", "DECIMAL", Sizing::Decimal, false },
    { "DEC", "DECIMAL", Sizing::Decimal, false },
};

} // namespace

QString declaredColumnType(const QString& typeName, int size, int scale, bool& autoIncrement)
{
    const QString upper = typeName.toUpper();
    for (const DdlType& t : types) {
        if (upper != QLatin1String(t.name))
            continue;
        autoIncrement = t.autoIncrement;
        const QString collate = QStringLiteral(" COLLATE ") + QLatin1String(CollationName);
        switch (t.sizing) {
        case Sizing::Text:
            return QStringLiteral("VARCHAR(%1)").arg(size > 0 ? qMin(size, 255) : 255) + collate;
        case Sizing::Binary:
            return QStringLiteral("BINARY(%1)").arg(size > 0 ? size : 255);
        case Sizing::Decimal:
            return size > 0 ? QStringLiteral("DECIMAL(%1,%2)").arg(size).arg(qMax(scale, 0))
                            : QStringLiteral("DECIMAL(18,0)");
        case Sizing::None:
            break;
        }
        QString declared = QLatin1String(t.declared);
        if (declared == QLatin1String("LONGTEXT"))
            declared += collate;
        return declared;
    }
    return {};
}

} // namespace kv::engine::sql
