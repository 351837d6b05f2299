#pragma once

#include <QHash>
#include <QString>

namespace kv::engine {

class Connection;

/// The files of attached tables: each is attached once under a schema of its own ("kvlnk_1",
/// …), and the attached table is a temporary view of the same name over its table there.
class LinkedTables {
public:
    explicit LinkedTables(Connection& db);

    /// The schema of the file at path, attaching it when it is not yet; throws 3024 when the
    /// file is missing. ATTACH is not allowed inside a transaction.
    QString schemaFor(const QString& path);
    /// Attaches the files of every attached table and creates their views; a missing file shows
    /// when its table is used, not now.
    void attachAll();
    /// Where the rows of a table live: "main"."T" or the attached file's schema and table.
    QString qualifiedTable(const QString& table) const;
    /// The same unquoted: the schema and the name there.
    void resolve(const QString& table, QString& schema, QString& name) const;
    /// The schema and the name there of an attached table, attaching its file when it is not
    /// yet; main and table for any other table.
    void locate(const QString& table, QString& schema, QString& source);

private:
    /// The file and the name there of an attached table; false for any other table.
    bool lookUp(const QString& table, QString& path, QString& source) const;

    Connection& m_db;
    QHash<QString, QString> m_schemas; // file path → schema name
};

} // namespace kv::engine
