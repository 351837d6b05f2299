#include "engine/cursor/RecordColumns.h"

#include "engine/catalog/DeclaredType.h"
#include "engine/cursor/Keyset.h"
#include "engine/cursor/RecordSource.h"
#include "engine/cursor/RowCache.h"
#include "engine/sqlite/SqlText.h"
#include "engine/sqlite/Statement.h"

namespace kv::engine {

std::vector<RecordColumn> describeColumns(const Statement& statement, const RecordSource& source,
    const QString& baseName, bool updatable, const StoredField& storedField)
{
    std::vector<RecordColumn> columns;
    const int n = statement.columnCount();
    for (int i = 0; i < n; ++i) {
        RecordColumn c;
        FieldDefinition& def = c.definition;
        def.name = statement.columnName(i);
        const QString origin = statement.columnTable(i);
        const QString column = statement.columnOrigin(i);
        const FieldDefinition* stored = nullptr;
        if (!origin.isEmpty()) {
            stored = storedField(statement.columnDatabase(i), origin, column, c.sourceTable);
            if (c.sourceTable.isEmpty())
                c.sourceTable = origin;
            c.sourceField = column;
        }
        if (stored) {
            const QString name = def.name;
            def = *stored;
            def.name = name;
        } else if (!statement.columnDeclType(i).isEmpty()) {
            datatype::fromDeclaredType(statement.columnDeclType(i), def.type, def.size);
        } else {
            def.type = 0; // decided by the first value
        }
        def.ordinalPosition = i;
        c.updatable = updatable && !origin.isEmpty()
            && (origin.compare(baseName, Qt::CaseInsensitive) == 0
                || source.baseTable().endsWith(QLatin1Char('.') + quoteIdentifier(origin)))
            && !def.isAutoIncrement();
        columns.push_back(std::move(c));
    }
    return columns;
}

void typeCalculatedColumns(std::vector<RecordColumn>& columns, RowCache& cache, Keyset& keys)
{
    bool open = false;
    for (const RecordColumn& c : columns)
        open = open || c.definition.type == 0;
    if (!open)
        return;
    if (!keys.empty() && cache.present(keys, 0)) {
        for (size_t i = 0; i < columns.size(); ++i) {
            FieldDefinition& f = columns[i].definition;
            if (f.type != 0)
                continue;
            switch (cache.value(keys, 0, static_cast<int>(i)).typeId()) {
            case QMetaType::LongLong:
                f.type = dbLong;
                break;
            case QMetaType::Double:
                f.type = dbDouble;
                break;
            case QMetaType::QByteArray:
                f.type = dbLongBinary;
                break;
            default:
                f.type = dbText;
                f.size = 255;
                break;
            }
            f.size = f.size ? f.size : datatype::defaultSize(f.type);
        }
    }
    for (RecordColumn& c : columns)
        if (c.definition.type == 0) {
            c.definition.type = dbText;
            c.definition.size = 255;
        }
}

} // namespace kv::engine
