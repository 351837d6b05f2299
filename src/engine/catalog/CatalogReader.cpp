#include "engine/catalog/CatalogReader.h"

#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/DeclaredType.h"
#include "engine/catalog/LinkedTables.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

#include <algorithm>

namespace kv::engine {

using namespace catalogtext;

CatalogReader::CatalogReader(Connection& db, LinkedTables& linked)
    : m_db(db)
    , m_linked(linked)
{ }

std::vector<TableEntry> CatalogReader::tables() const
{
    std::vector<TableEntry> tables;
    Statement st(m_db.handle(),
        QStringLiteral(
            "SELECT m.name, o.Attributes, o.DateCreated, o.LastUpdated, '', '' FROM sqlite_master "
            "m "
            "LEFT JOIN MSysKvObjects o ON o.Name = m.name "
            "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
            "UNION ALL SELECT Name, Attributes, DateCreated, LastUpdated, Connect, SourceTableName "
            "FROM MSysKvObjects WHERE Kind = 'L' ORDER BY 1 COLLATE NOCASE"));
    while (st.step()) {
        TableEntry t;
        t.name = st.value(0).toString();
        t.attributes = st.value(1).toLongLong();
        if (isCatalogTable(t.name))
            t.attributes |= dbSystemObject;
        t.dateCreated = datatype::parseIsoDate(st.value(2).toString());
        t.lastUpdated = datatype::parseIsoDate(st.value(3).toString());
        t.connect = st.value(4).toString();
        t.sourceTableName = st.value(5).toString();
        if (!t.connect.isEmpty())
            t.attributes |= dbAttachedTable;
        tables.push_back(std::move(t));
    }
    return tables;
}

std::vector<FieldDefinition> CatalogReader::fields(const QString& table) const
{
    QString schema;
    QString source;
    m_linked.locate(table, schema, source);
    std::vector<FieldDefinition> fields;
    int keyColumns = 0;
    {
        Statement st(m_db.handle(),
            QStringLiteral(
                "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?1, "
                "?2)"));
        st.bind(1, QVariant(source));
        st.bind(2, QVariant(schema));
        while (st.step()) {
            FieldDefinition f;
            f.name = st.value(0).toString();
            datatype::fromDeclaredType(st.value(1).toString(), f.type, f.size);
            f.required = st.value(2).toInt() != 0;
            f.defaultValue = st.value(3).toString();
            f.attributes = datatype::defaultAttributes(f.type);
            f.allowZeroLength = datatype::isTextType(f.type);
            if (st.value(4).toInt() > 0) {
                ++keyColumns;
                if (st.value(1).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive)
                    == 0)
                    f.attributes |= dbAutoIncrField;
            }
            f.ordinalPosition = static_cast<int>(fields.size());
            fields.push_back(f);
        }
    }
    if (keyColumns > 1)
        for (FieldDefinition& f : fields)
            f.attributes &= ~dbAutoIncrField;
    const bool hasCatalog = m_db.scalar(QStringLiteral("SELECT count(*) FROM %1.sqlite_master "
                                                       "WHERE name = 'MSysKvFields'")
                                            .arg(quoteIdentifier(schema)))
                                .toInt()
        > 0;
    if (hasCatalog) {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT Name, Type, Size, Attributes, DefaultValue, Required, "
                           "AllowZeroLength, ValidationRule, ValidationText, OrdinalPosition FROM "
                           "%1.MSysKvFields WHERE TableName = ?1")
                .arg(quoteIdentifier(schema)));
        st.bind(1, QVariant(source));
        while (st.step()) {
            for (FieldDefinition& f : fields) {
                if (!sameName(f.name, st.value(0).toString()))
                    continue;
                f.type = st.value(1).toInt();
                f.size = st.value(2).toInt();
                f.attributes = st.value(3).toInt();
                f.defaultValue = st.value(4).toString();
                f.required = st.value(5).toInt() != 0;
                f.allowZeroLength = st.value(6).toInt() != 0;
                f.validationRule = st.value(7).toString();
                f.validationText = st.value(8).toString();
                f.ordinalPosition = st.value(9).toInt();
            }
        }
    }
    return fields;
}

std::vector<FieldDefinition> CatalogReader::fieldsInOrder(const QString& table) const
{
    std::vector<FieldDefinition> f = fields(table);
    std::stable_sort(f.begin(), f.end(), [](const FieldDefinition& a, const FieldDefinition& b) {
        return a.ordinalPosition < b.ordinalPosition;
    });
    return f;
}

std::vector<IndexDefinition> CatalogReader::indexes(const QString& table) const
{
    std::vector<IndexDefinition> indexes;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, SqlName, IsPrimary, IsUnique, IsRequired, IgnoreNulls, "
                       "IsForeign, Fields FROM MSysKvIndexes WHERE TableName = ?1 ORDER BY Name "
                       "COLLATE NOCASE"));
    st.bind(1, QVariant(table));
    QStringList known;
    while (st.step()) {
        IndexDefinition ix;
        ix.name = st.value(0).toString();
        ix.sqlName = st.value(1).toString();
        ix.primary = st.value(2).toInt() != 0;
        ix.unique = st.value(3).toInt() != 0;
        ix.required = st.value(4).toInt() != 0;
        ix.ignoreNulls = st.value(5).toInt() != 0;
        ix.foreign = st.value(6).toInt() != 0;
        ix.fields = indexFields(st.value(7).toString());
        known << ix.sqlName;
        indexes.push_back(std::move(ix));
    }
    // Indexes made by other tools appear under their SQLite names.
    Statement other(m_db.handle(),
        QStringLiteral("SELECT il.name, il.\"unique\", il.origin FROM pragma_index_list(?1) il"));
    other.bind(1, QVariant(table));
    while (other.step()) {
        const QString name = other.value(0).toString();
        if (known.contains(name) || name.startsWith(QLatin1String("sqlite_autoindex")))
            continue;
        IndexDefinition ix;
        ix.name = name;
        ix.sqlName = name;
        ix.unique = other.value(1).toInt() != 0;
        Statement columns(m_db.handle(),
            QStringLiteral("SELECT name, desc FROM pragma_index_xinfo(?1) WHERE key = 1"));
        columns.bind(1, QVariant(name));
        while (columns.step())
            ix.fields.append(
                IndexField { columns.value(0).toString(), columns.value(1).toInt() != 0 });
        indexes.push_back(std::move(ix));
    }
    return indexes;
}

std::vector<RelationDefinition> CatalogReader::relations() const
{
    std::vector<RelationDefinition> relations;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, TableName, ForeignTable, Attributes, Fields FROM "
                       "MSysKvRelations ORDER BY Name COLLATE NOCASE"));
    while (st.step())
        relations.push_back(RelationDefinition { st.value(0).toString(), st.value(1).toString(),
            st.value(2).toString(), st.value(3).toLongLong(),
            relationFields(st.value(4).toString()) });
    return relations;
}

std::vector<QueryEntry> CatalogReader::queries() const
{
    std::vector<QueryEntry> queries;
    Statement st(m_db.handle(),
        QStringLiteral("SELECT Name, SQL, DateCreated, LastUpdated FROM MSysKvQueries ORDER BY "
                       "Name COLLATE NOCASE"));
    while (st.step())
        queries.push_back(QueryEntry { st.value(0).toString(), st.value(1).toString(),
            datatype::parseIsoDate(st.value(2).toString()),
            datatype::parseIsoDate(st.value(3).toString()) });
    return queries;
}

QString CatalogReader::property(const QString& name) const
{
    if (!hasCatalogTables(m_db))
        return QString();
    Statement st(
        m_db.handle(), QStringLiteral("SELECT Value FROM MSysKvProperties WHERE Name = ?1"));
    st.bind(1, QVariant(name));
    return st.step() ? st.value(0).toString() : QString();
}

} // namespace kv::engine
