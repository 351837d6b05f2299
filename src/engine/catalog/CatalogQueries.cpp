#include "engine/catalog/Catalog.h"

#include "engine/catalog/CatalogTables.h"
#include "engine/catalog/CatalogText.h"
#include "engine/sqlite/Connection.h"

// Stored queries.

namespace kv::engine {

using namespace catalogtext;

void Catalog::storeQuery(QueryEntry& query, bool isNew)
{
    m_change.run(
        [&] {
            const QString now = catalogTimestamp();
            if (isNew)
                requireFreeName(m_db, query.name);
            Statement st(m_db.handle(),
                isNew ? QStringLiteral("INSERT INTO MSysKvQueries(Name, SQL, DateCreated, "
                                       "LastUpdated) VALUES (?1, ?2, ?3, ?3)")
                      : QStringLiteral(
                          "UPDATE MSysKvQueries SET SQL = ?2, LastUpdated = ?3 WHERE Name = ?1"));
            st.bind(1, QVariant(query.name));
            st.bind(2, QVariant(query.sql));
            st.bind(3, QVariant(now));
            st.step();
            if (isNew)
                query.dateCreated = datatype::parseIsoDate(now);
            query.lastUpdated = datatype::parseIsoDate(now);
        },
        isNew ? ChangeScope::NewQuery : ChangeScope::Tables, { query.name });
}

void Catalog::dropQuery(const QString& name)
{
    m_change.run(
        [&] {
            Statement st(
                m_db.handle(), QStringLiteral("DELETE FROM MSysKvQueries WHERE Name = ?1"));
            st.bind(1, QVariant(name));
            st.step();
        },
        ChangeScope::Tables, { name });
}

void Catalog::renameQuery(const QString& oldName, const QString& newName)
{
    m_change.run(
        [&] {
            if (!sameName(oldName, newName))
                requireFreeName(m_db, newName);
            Statement st(m_db.handle(),
                QStringLiteral(
                    "UPDATE MSysKvQueries SET Name = ?2, LastUpdated = ?3 WHERE Name = ?1"));
            st.bind(1, QVariant(oldName));
            st.bind(2, QVariant(newName));
            st.bind(3, QVariant(catalogTimestamp()));
            st.step();
        },
        ChangeScope::Tables, { oldName, newName });
}

} // namespace kv::engine
