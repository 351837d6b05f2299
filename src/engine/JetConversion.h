#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kv::engine {

class Workspace;

/// What a conversion made, for the final message.
struct JetConversionResult {
    QString target;
    int tables = 0;
    qint64 rows = 0;
    int indexes = 0;
    int relations = 0;
    int queries = 0;
    /// Stored queries the dialect could not take over; their text is kept in the table
    /// JetConversion::KeptQueriesTable of the new database.
    QStringList keptQueries;
    /// Indexes and relations the data did not allow, German, one line each.
    QStringList skipped;
};

/// Converts a database file of the previous engine (Jet 3/4 .MDB, read through mdbtools) into
/// a new file of our own: tables with their field types and sizes, the data, indexes,
/// relations and the stored queries. The original is only read.
class JetConversion {
public:
    /// Name of the table of the new database that keeps the queries not taken over.
    static const QString KeptQueriesTable;

    /// True for a file of the previous engine (Jet 3/4 or its successor's header), which is no
    /// SQLite file and cannot be opened as it is.
    static bool isJetFile(const QString& path);

    /// A name beside source that no file has yet: "<name> (umgewandelt).mdb", then with a
    /// number.
    static QString freeTargetName(const QString& source);

    /// Called now and then with the step done so far of total and what is being done; returning
    /// false cancels the conversion.
    using Progress = std::function<bool(int done, int total, const QString& what)>;

    /// Writes target (which must not exist). Throws EngineError (German, naming the file) when
    /// the source cannot be read or the conversion fails or is cancelled; target is then
    /// removed. A source with a database password needs it: 3031 when password is not it.
    static JetConversionResult run(Workspace& ws, const QString& source, const QString& target,
        const Progress& progress = {}, const QString& password = {});
};

} // namespace kv::engine
