#include "engine/catalog/SchemaSql.h"

#include "engine/catalog/DeclaredType.h"
#include "engine/catalog/RuleTriggers.h"
#include "engine/sqlite/SqlText.h"

#include <QStringList>

namespace kv::engine {

QString columnDefinition(const FieldDefinition& f)
{
    QString def = quoteIdentifier(f.name) + QLatin1Char(' ');
    if (f.isAutoIncrement())
        return def + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    def += datatype::declaredType(f.type, f.size);
    if (!f.defaultValue.trimmed().isEmpty())
        def += QStringLiteral(" DEFAULT (") + RuleTriggers::expression(f.defaultValue)
            + QLatin1Char(')');
    return def;
}

QString indexStatement(const QString& table, const IndexDefinition& index)
{
    QStringList columns;
    for (const IndexField& f : index.fields)
        columns << quoteIdentifier(f.name) + (f.descending ? QStringLiteral(" DESC") : QString());
    return QStringLiteral("CREATE ") + (index.isUnique() ? QStringLiteral("UNIQUE ") : QString())
        + QStringLiteral("INDEX ") + quoteIdentifier(index.sqlName) + QStringLiteral(" ON ")
        + quoteIdentifier(table) + QStringLiteral(" (") + columns.join(QStringLiteral(", "))
        + QLatin1Char(')');
}

} // namespace kv::engine
