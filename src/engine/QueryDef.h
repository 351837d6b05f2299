#pragma once

#include "engine/catalog/Definitions.h"
#include "engine/core/Parameter.h"
#include "engine/core/QueryType.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

namespace kv::engine {

class Database;
class Recordset;

/// A query: named ones are stored in the database, unnamed ones live as long as the database
/// object. Names the statement cannot resolve become parameters.
class QueryDef {
public:
    QueryDef(Database* db, QString name, QString sql);
    /// A stored query of db as the catalog lists it.
    QueryDef(Database& db, QueryEntry stored);

    QString name() const { return m_entry.name; }
    /// Renames a stored query.
    void setName(const QString& name);
    QString sql() const { return m_entry.sql; }
    /// Stores the text at once for a stored query; the parameter list is built again.
    void setSql(const QString& sql);
    int type() const;
    /// The parameters the statement needs, with the values set so far.
    QList<Parameter>& parameters();
    /// Throws 3265 for an unknown name.
    void setParameter(const QString& name, const QVariant& value);
    QDateTime dateCreated() const { return m_entry.dateCreated; }
    QDateTime lastUpdated() const { return m_entry.lastUpdated; }
    bool isStored() const { return m_stored; }

    /// type: Recordset type (dynaset unless given). Throws 3061 when a parameter has no value.
    std::unique_ptr<Recordset> openRecordset(int type = 2);
    /// Runs an action query; returns the number of rows affected.
    qint64 execute();

    /// The type of any statement text.
    static int typeOf(const QString& sql);

    /// Stores the new query in db; Database::queryDefs().append() calls it.
    void store(Database& db);

private:
    void findParameters();

    Database* m_db;
    QueryEntry m_entry;
    QList<Parameter> m_parameters;
    bool m_parametersKnown = false;
    bool m_stored = false;
};

} // namespace kv::engine
