#include "engine/catalog/TableRebuild.h"

#include "engine/catalog/CatalogReader.h"
#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/SchemaSql.h"
#include "engine/sql/Lexer.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

namespace kv::engine {

using namespace catalogtext;

namespace {
bool hasCatalogRow(Connection& db, const QString& table, const QString& field)
{
    Statement st(db.handle(),
        QStringLiteral("SELECT count(*) FROM MSysKvFields WHERE TableName = ?1 AND Name = ?2"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(field));
    st.step();
    return st.int64(0) > 0;
}
} // namespace

void rebuildTable(Connection& db, const CatalogReader& reader, const QString& table,
    const ColumnSources& sources, const std::function<void()>& rowsCopied)
{
    const std::vector<FieldDefinition> fields = reader.fields(table);
    QStringList present;
    {
        Statement st(db.handle(), QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
        st.bind(1, QVariant(table));
        while (st.step())
            present << st.value(0).toString();
    }
    // Catalog rows of fields that the table does not hold yet are the fields being added.
    Statement catalogRows(db.handle(),
        QStringLiteral("SELECT Name FROM MSysKvFields WHERE TableName = ?1 ORDER BY "
                       "OrdinalPosition"));
    catalogRows.bind(1, QVariant(table));
    QStringList added;
    while (catalogRows.step())
        if (!present.contains(catalogRows.value(0).toString(), Qt::CaseInsensitive))
            added << catalogRows.value(0).toString();
    // Fields of the catalog and the physical table merged: physical ones keep their place.
    std::vector<FieldDefinition> target;
    for (const FieldDefinition& f : fields)
        if (hasCatalogRow(db, table, f.name) || !isCatalogTable(table))
            target.push_back(f);
    // The reader only knows physical columns; the new ones come from the catalog.
    for (const QString& name : added) {
        Statement st(db.handle(),
            QStringLiteral("SELECT Type, Size, Attributes, DefaultValue FROM MSysKvFields WHERE "
                           "TableName = ?1 AND Name = ?2"));
        st.bind(1, QVariant(table));
        st.bind(2, QVariant(name));
        st.step();
        FieldDefinition f;
        f.name = name;
        f.type = st.value(0).toInt();
        f.size = st.value(1).toInt();
        f.attributes = st.value(2).toInt();
        f.defaultValue = st.value(3).toString();
        target.push_back(f);
    }
    QStringList definitions, targets, values;
    for (const FieldDefinition& f : target) {
        // Dropped fields: the catalog row is gone already.
        if (!hasCatalogRow(db, table, f.name))
            continue;
        definitions << columnDefinition(f);
        if (present.contains(f.name, Qt::CaseInsensitive)) {
            targets << quoteIdentifier(f.name);
            values << sources.value(f.name.toLower(), quoteIdentifier(f.name));
        } else if (f.isAutoIncrement()) {
            targets << quoteIdentifier(f.name);
            values << QStringLiteral("rowid");
        }
    }
    // Rows keep their identity (the counter is the rowid where there is one).
    bool counter = false;
    for (const FieldDefinition& f : target)
        counter = counter || (f.isAutoIncrement() && hasCatalogRow(db, table, f.name));
    if (!counter) {
        targets << QStringLiteral("rowid");
        values << QStringLiteral("rowid");
    }
    const bool hasSequences = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master "
                                                       "WHERE name = 'sqlite_sequence'"))
                                  .toInt()
        > 0;
    const QString tableLiteral = sql::quoteLiteral(table);
    const QVariant sequence = hasSequences
        ? db.scalar(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ") + tableLiteral)
        : QVariant();
    const QString temp = QStringLiteral("kv_neu_") + table;
    db.exec(QStringLiteral("CREATE TABLE ") + quoteIdentifier(temp) + QStringLiteral(" (")
        + definitions.join(QStringLiteral(", ")) + QLatin1Char(')'));
    db.exec(QStringLiteral("INSERT INTO ") + quoteIdentifier(temp) + QStringLiteral(" (")
        + targets.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ")
        + values.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + quoteIdentifier(table));
    if (rowsCopied)
        rowsCopied();
    db.exec(QStringLiteral("DROP TABLE ") + quoteIdentifier(table));
    db.exec(QStringLiteral("ALTER TABLE ") + quoteIdentifier(temp) + QStringLiteral(" RENAME TO ")
        + quoteIdentifier(table));
    if (sequence.isValid())
        db.exec(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, %1) WHERE name = ")
                    .arg(sequence.toLongLong())
            + tableLiteral);
    Statement ix(db.handle(),
        QStringLiteral("SELECT Name, SqlName, IsPrimary, IsUnique, Fields FROM MSysKvIndexes "
                       "WHERE TableName = ?1"));
    ix.bind(1, QVariant(table));
    while (ix.step()) {
        IndexDefinition index;
        index.name = ix.value(0).toString();
        index.sqlName = ix.value(1).toString();
        index.primary = ix.value(2).toInt() != 0;
        index.unique = ix.value(3).toInt() != 0;
        index.fields = indexFields(ix.value(4).toString());
        db.exec(indexStatement(table, index));
    }
}

} // namespace kv::engine
