#include "engine/catalog/Catalog.h"

#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/catalog/SchemaSql.h"
#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

// The indexes of stored tables.

namespace kv::engine {

using namespace catalogtext;

void Catalog::storeIndex(const QString& table, const IndexDefinition& index)
{
    m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quoteIdentifier(index.sqlName));
    m_db.exec(indexStatement(table, index));
    Statement st(m_db.handle(),
        QStringLiteral("INSERT OR REPLACE INTO MSysKvIndexes(TableName, Name, SqlName, IsPrimary, "
                       "IsUnique, IsRequired, IgnoreNulls, IsForeign, Fields) VALUES (?1, ?2, ?3, "
                       "?4, ?5, ?6, ?7, ?8, ?9)"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(index.name));
    st.bind(3, QVariant(index.sqlName));
    st.bind(4, qint64(index.primary));
    st.bind(5, qint64(index.isUnique()));
    st.bind(6, qint64(index.isRequired()));
    st.bind(7, qint64(index.ignoreNulls));
    st.bind(8, qint64(index.foreign));
    st.bind(9, QVariant(indexFieldsText(index.fields)));
    st.step();
}

void Catalog::createIndex(const QString& table, IndexDefinition& index)
{
    if (index.fields.isEmpty())
        throw EngineError(
            err::NoFields, QStringLiteral("Der Index '%1' enthält keine Felder.").arg(index.name));
    if (index.name.trimmed().isEmpty())
        throw EngineError(err::SyntaxError, QStringLiteral("Ungültiger (leerer) Indexname."));
    m_change.run(
        [&] {
            const std::vector<FieldDefinition> fields = m_reader.fields(table);
            for (const IndexField& f : index.fields) {
                bool found = false;
                for (const FieldDefinition& p : fields)
                    found = found || sameName(p.name, f.name);
                if (!found)
                    throw EngineError::itemNotFound(f.name);
            }
            {
                Statement present(m_db.handle(),
                    QStringLiteral(
                        "SELECT Name, IsPrimary FROM MSysKvIndexes WHERE TableName = ?1"));
                present.bind(1, QVariant(table));
                while (present.step()) {
                    if (sameName(present.value(0).toString(), index.name))
                        throw EngineError(err::NameExists,
                            QStringLiteral("Der Index '%1' ist bereits vorhanden.")
                                .arg(index.name));
                    if (index.primary && present.value(1).toInt() != 0)
                        throw EngineError(err::InvalidOperation,
                            QStringLiteral("Die Tabelle '%1' hat bereits einen Primärschlüssel.")
                                .arg(table));
                }
            }
            if (index.sqlName.isEmpty())
                index.sqlName = table + QLatin1Char('.') + index.name;
            storeIndex(table, index);
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

void Catalog::dropIndex(const QString& table, const QString& name)
{
    m_change.run(
        [&] {
            Statement st(m_db.handle(),
                QStringLiteral(
                    "SELECT SqlName FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2"));
            st.bind(1, QVariant(table));
            st.bind(2, QVariant(name));
            const QString sqlName = st.step() ? st.value(0).toString() : name;
            st.reset();
            m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quoteIdentifier(sqlName));
            Statement del(m_db.handle(),
                QStringLiteral("DELETE FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2"));
            del.bind(1, QVariant(table));
            del.bind(2, QVariant(name));
            del.step();
            touchTable(m_db, table);
        },
        ChangeScope::Tables, { table });
}

void Catalog::renameIndex(const QString& table, const QString& oldName, const QString& newName)
{
    m_change.requireChangeable();
    Savepoint sp(m_db);
    Statement st(m_db.handle(),
        QStringLiteral("UPDATE MSysKvIndexes SET Name = ?3 WHERE TableName = ?1 AND Name = ?2"));
    st.bind(1, QVariant(table));
    st.bind(2, QVariant(oldName));
    st.bind(3, QVariant(newName));
    st.step();
    touchTable(m_db, table);
    sp.release();
}

} // namespace kv::engine
