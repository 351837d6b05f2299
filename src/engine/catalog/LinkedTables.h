#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace kv::engine {

class Connection;

/// The files of attached tables: each is attached once under a schema of its own ("kvlnk_1",
/// …), and the attached table is a temporary view of the same name over its table there.
/// A table of a foreign format (dBASE, Paradox, Excel, …) is instead a temporary virtual table
/// of the same name over the file, made by the object model's foreign-table module.
class LinkedTables {
public:
    explicit LinkedTables(Connection& db);

    /// The schema of the file at path, attaching it when it is not yet; throws 3024 when the
    /// file is missing. ATTACH is not allowed inside a transaction.
    QString schemaFor(const QString& path);
    /// Attaches the files of every attached table and creates their views; a missing file is
    /// kept in problems() and shows again when its table is used. A foreign table that cannot be
    /// made is left out; why is kept in problems().
    void attachAll();
    /// German messages (naming the table and its file) of the attached tables attachAll could
    /// not reach: foreign tables that could not be made, files that are missing.
    const QStringList& problems() const { return m_problems; }
    /// One line of problems(): the table's name before the driver's message.
    static QString tableProblem(const QString& table, const QString& why);
    /// Makes the temporary virtual table over a foreign file's table; throws the driver's
    /// German message when the file cannot be read.
    void createForeign(const QString& table, const QString& connect, const QString& source);
    /// True for an attached table of a foreign format.
    bool isForeign(const QString& table) const;
    /// Where the rows of a table live: "main"."T" or the attached file's schema and table.
    QString qualifiedTable(const QString& table) const;
    /// The same unquoted: the schema and the name there.
    void resolve(const QString& table, QString& schema, QString& name) const;
    /// The schema and the name there of an attached table, attaching its file when it is not
    /// yet; main and table for any other table.
    void locate(const QString& table, QString& schema, QString& source);

private:
    /// The file and the name there of an attached table; false for any other table.
    bool lookUp(
        const QString& table, QString& path, QString& source, QString* connect = nullptr) const;

    Connection& m_db;
    QHash<QString, QString> m_schemas; // file path → schema name
    QStringList m_problems;
};

} // namespace kv::engine
