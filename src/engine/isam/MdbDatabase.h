#pragma once

#include "engine/isam/IsamTable.h"

#include <memory>

namespace kv::engine::isam {

struct MdbFile;

/// A database file of the previous engine (Jet 3 and Jet 4 .MDB) read through mdbtools: its
/// tables with their rows, and the definitions a conversion needs (indexes, relations, stored
/// queries). Nothing here writes to the file.
class MdbDatabase : public IsamDatabase {
public:
    /// Throws IsamError naming the file when it is missing or no Jet database mdbtools can read,
    /// and 3031 when the file has a database password and password is not it (mdbtools itself
    /// would read it without).
    explicit MdbDatabase(const QString& path, const QString& password = {});
    ~MdbDatabase() override;

    /// 3 for Jet 3 (Access 97), 4 for Jet 4 (Access 2000–2003).
    int jetVersion() const;
    QStringList tableNames() const override;
    std::unique_ptr<IsamTable> openTable(const QString& name, bool writable = false) override;

    struct IndexInfo {
        QString name;
        QStringList fields;
        QList<bool> descending;
        bool primary = false;
        bool unique = false;
        bool ignoreNulls = false;
        bool required = false;
    };
    QVector<IndexInfo> indexes(const QString& table) const;

    struct RelationInfo {
        QString name;
        QString table; ///< the referencing ("many") table
        QStringList fields;
        QString foreignTable; ///< the referenced ("one") table
        QStringList foreignFields;
        int attributes
            = 0; ///< the stored flags: 2 no integrity, 256 cascade updates, 4096 cascade deletes
        bool enforced() const { return !(attributes & 2); }
        bool cascadeUpdates() const { return attributes & 256; }
        bool cascadeDeletes() const { return attributes & 4096; }
    };
    QVector<RelationInfo> relations() const;

    struct QueryInfo {
        QString name;
        int type = 0; ///< 0 select, 16 crosstab, 32 delete, 48 update, 64 append, 80 make-table, 96
                      ///< DDL, 112 pass-through, 128 union
        bool hidden = false;
        QString sql; ///< rebuilt from the stored parts
    };
    QVector<QueryInfo> queries() const;

private:
    std::shared_ptr<MdbFile> m_file;
};

/// One row of the stored parts of a query (the system table of query definitions).
struct JetQueryPart {
    int attribute = 0;
    QString expression;
    int flag = 0;
    QString name1;
    QString name2;
    int order = 0;
};

/// The SQL text of a stored query rebuilt from its parts, lines joined with CR LF and ended by
/// ";" the way the old engine shows it.
QString jetQuerySql(QVector<JetQueryPart> parts);

} // namespace kv::engine::isam
