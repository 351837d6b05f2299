#include "engine/catalog/Catalog.h"

#include "engine/catalog/CatalogText.h"
#include "engine/core/EngineError.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/SqlText.h"

// Relations between stored tables.

namespace kv::engine {

using namespace catalogtext;

bool Catalog::hasOrphans(const RelationDefinition& r) const
{
    QStringList pairs, notNull;
    for (const RelationField& f : r.fields) {
        pairs << QStringLiteral("p.") + quoteIdentifier(f.name) + QStringLiteral(" = c.")
                + quoteIdentifier(f.foreignName);
        notNull << QStringLiteral("c.") + quoteIdentifier(f.foreignName)
                + QStringLiteral(" IS NOT NULL");
    }
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM ") + quoteIdentifier(r.foreignTable)
            + QStringLiteral(" AS c WHERE ") + notNull.join(QStringLiteral(" AND "))
            + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + quoteIdentifier(r.table)
            + QStringLiteral(" AS p WHERE ") + pairs.join(QStringLiteral(" AND "))
            + QStringLiteral(") LIMIT 1"))
        .isValid();
}

void Catalog::createRelation(const RelationDefinition& r)
{
    if (r.fields.isEmpty())
        throw EngineError(
            err::NoFields, QStringLiteral("Die Beziehung '%1' enthält keine Felder.").arg(r.name));
    m_change.run(
        [&] {
            {
                Statement name(
                    m_db.handle(), QStringLiteral("SELECT 1 FROM MSysKvRelations WHERE Name = ?1"));
                name.bind(1, QVariant(r.name));
                if (r.name.trimmed().isEmpty() || name.step())
                    throw EngineError(err::NameExists,
                        QStringLiteral("Die Beziehung '%1' ist bereits vorhanden.").arg(r.name));
            }
            const std::vector<FieldDefinition> primary = m_reader.fields(r.table);
            const std::vector<FieldDefinition> foreign = m_reader.fields(r.foreignTable);
            if (primary.empty())
                throw EngineError::itemNotFound(r.table);
            if (foreign.empty())
                throw EngineError::itemNotFound(r.foreignTable);
            auto require = [](const std::vector<FieldDefinition>& fields, const QString& name) {
                for (const FieldDefinition& f : fields)
                    if (sameName(f.name, name))
                        return;
                throw EngineError::itemNotFound(name);
            };
            for (const RelationField& f : r.fields) {
                require(primary, f.name);
                require(foreign, f.foreignName);
            }
            if (r.enforced() && hasOrphans(r))
                throw EngineError(err::IntegrityChild,
                    QStringLiteral("Die Beziehung '%1' kann nicht erstellt werden: Daten in der "
                                   "Tabelle '%2' verletzen die referentielle Integrität.")
                        .arg(r.name, r.foreignTable));
            Statement st(m_db.handle(),
                QStringLiteral("INSERT INTO MSysKvRelations(Name, TableName, ForeignTable, "
                               "Attributes, Fields) VALUES (?1, ?2, ?3, ?4, ?5)"));
            st.bind(1, QVariant(r.name));
            st.bind(2, QVariant(r.table));
            st.bind(3, QVariant(r.foreignTable));
            st.bind(4, r.attributes);
            st.bind(5, QVariant(relationFieldsText(r.fields)));
            st.step();
            // The foreign side gets its index, named after the relation.
            IndexDefinition ix;
            ix.name = r.name;
            for (const RelationField& f : r.fields)
                ix.fields.append(IndexField { f.foreignName, false });
            ix.foreign = true;
            ix.sqlName = r.foreignTable + QLatin1Char('.') + r.name;
            storeIndex(r.foreignTable, ix);
        },
        ChangeScope::Relation, { r.table, r.foreignTable });
}

void Catalog::dropRelation(const QString& name)
{
    QString primary;
    QString foreign;
    {
        Statement st(m_db.handle(),
            QStringLiteral("SELECT TableName, ForeignTable FROM MSysKvRelations WHERE Name = ?1"));
        st.bind(1, QVariant(name));
        if (!st.step())
            throw EngineError::itemNotFound(name);
        primary = st.value(0).toString();
        foreign = st.value(1).toString();
    }
    m_change.run(
        [&] {
            QString foreignIndex;
            {
                Statement ix(m_db.handle(),
                    QStringLiteral(
                        "SELECT SqlName FROM MSysKvIndexes WHERE TableName = ?1 AND Name = ?2 "
                        "AND IsForeign = 1"));
                ix.bind(1, QVariant(foreign));
                ix.bind(2, QVariant(name));
                if (ix.step())
                    foreignIndex = ix.value(0).toString();
            }
            if (!foreignIndex.isEmpty())
                m_db.exec(QStringLiteral("DROP INDEX IF EXISTS ") + quoteIdentifier(foreignIndex));
            for (const char* sql :
                { "DELETE FROM MSysKvIndexes WHERE TableName = ?2 AND Name = ?1 AND "
                  "IsForeign = 1",
                    "DELETE FROM MSysKvRelations WHERE Name = ?1" }) {
                Statement del(m_db.handle(), QString::fromUtf8(sql));
                del.bind(1, QVariant(name));
                if (del.parameterCount() > 1)
                    del.bind(2, QVariant(foreign));
                del.step();
            }
        },
        ChangeScope::Relation, { primary, foreign });
}

} // namespace kv::engine
