#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kv::engine {

class Database;

/// The work of the command-line tool kvsql: runs dialect statements on a database and writes
/// select results as CSV (or aligned text) and action results as the number of changed records.
class ScriptRunner {
public:
    struct Options {
        bool table = false; ///< aligned text instead of CSV
        QList<QPair<QString, QString>> parameters; ///< name, value
    };

    ScriptRunner(Database& db, Options options, QTextStream& out);

    /// Runs one statement; throws EngineError.
    void run(const QString& statement);

    /// Splits a script into statements: a statement ends with a line whose text ends in ";"
    /// (a PARAMETERS clause alone does not end one) and at the end of the text.
    static QStringList split(const QString& script);

    /// A value as stored: ISO dates, "." decimals, Booleans -1/0, Null empty.
    static QString storedText(const QVariant& value);

private:
    void writeRows(const QStringList& names, const QList<QStringList>& rows);

    Database& m_db;
    Options m_options;
    QTextStream& m_out;
};

} // namespace kv::engine
