#pragma once

#include "engine/Parameter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <memory>

namespace kv::engine {

class Database;
class Recordset;

/// Query types, derived from the statement text.
enum QueryType : int {
    dbQSelect = 0,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQSetOperation = 128,
};

/// A query: named ones are stored in the database, unnamed ones live as long as the database
/// object. Names the statement cannot resolve become parameters.
class QueryDef {
public:
    QueryDef(Database* db, QString name, QString sql);

    QString name() const { return m_name; }
    /// Renames a stored query.
    void setName(const QString& name);
    QString sql() const { return m_sql; }
    /// Stores the text at once for a stored query; the parameter list is built again.
    void setSql(const QString& sql);
    int type() const;
    /// The parameters the statement needs, with the values set so far.
    QList<Parameter>& parameters();
    /// Throws 3265 for an unknown name.
    void setParameter(const QString& name, const QVariant& value);
    QDateTime dateCreated() const { return m_dateCreated; }
    QDateTime lastUpdated() const { return m_lastUpdated; }
    bool isStored() const { return m_stored; }

    /// type: Recordset type (dynaset unless given). Throws 3061 when a parameter has no value.
    std::unique_ptr<Recordset> openRecordset(int type = 2);
    /// Runs an action query; returns the number of rows affected.
    qint64 execute();

    /// The type of any statement text.
    static int typeOf(const QString& sql);

private:
    friend class Catalog;
    friend class Database;
    void ermittleParameter();

    Database* m_db;
    QString m_name;
    QString m_sql;
    QList<Parameter> m_parameters;
    bool m_parameterBekannt = false;
    QDateTime m_dateCreated;
    QDateTime m_lastUpdated;
    bool m_stored = false;
};

} // namespace kv::engine
