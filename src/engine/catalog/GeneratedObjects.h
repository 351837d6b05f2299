#pragma once

#include <QStringList>

namespace kv::engine {

class CatalogReader;
class Connection;

/// The triggers (rules of fields and relations, "kv_…") and views (stored select queries,
/// marked in their SQL) that the catalog generates from its definitions, dropped and made again
/// as far as a change reaches.
class GeneratedObjects {
public:
    GeneratedObjects(Connection& db, const CatalogReader& reader);

    /// Drops every generated trigger and view.
    void dropAll();
    /// Drops every generated trigger of the tables in tables and, when views, the generated
    /// views that use one of names (tables or queries), directly or through another view, and
    /// the triggers of tables whose triggers use one of those. Returns the tables whose triggers
    /// went.
    QStringList dropOver(const QStringList& names, const QStringList& tables, bool views);
    /// The tables plus their relation partners.
    QStringList withPartners(const QStringList& tables) const;
    /// Makes every table's triggers, or only those of the tables in only (afresh).
    void createTriggers(const QStringList& only = {});
    /// Makes the views of the stored select queries that have none, queries over queries in
    /// rounds; parameter queries and broken texts get none (they are used by name only).
    void createQueryViews();

private:
    void dropTriggersOf(const QStringList& tables);

    Connection& m_db;
    const CatalogReader& m_reader;
};

} // namespace kv::engine
