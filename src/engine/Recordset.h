#pragma once

#include "engine/Field.h"
#include "engine/core/Parameter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace kv::engine {

class Connection;
class Database;
class ErrorList;
class ExternalUse;
class Keyset;
class RecordSource;
class RowCache;
struct KeyQuery;
struct RecordColumn;

/// Record set types.
enum RecordsetType : int {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
};

/// Edit modes.
enum EditMode : int {
    dbEditNone = 0,
    dbEditInProgress = 1,
    dbEditAdd = 2,
};

/// A keyset cursor over the result of a statement. A dynaset over one base table is
/// updatable; everything else (joins, groups, unions, snapshots) is a read-only copy. The
/// keys of the result are read at open, those of a whole table in table order as the cursor
/// reaches them (Keyset); row values are fetched in pages on demand into a bounded cache
/// (RowCache), so memory grows with the keys, not with the rows.
/// Bookmarks are opaque and valid in every clone of the set.
class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    int type() const { return m_type; }
    bool updatable() const { return m_updatable; }
    /// Number of records (counts them when the set has not read them all).
    qint64 recordCount() const;
    /// Records the set knows of without reading on; recordCount() once recordCountKnown().
    qint64 knownRecordCount() const;
    /// Whether recordCount() costs nothing.
    bool recordCountKnown() const;
    /// A count of the records made elsewhere (by a worker on its own connection): lets a
    /// half-read set go to its last records without reading or counting every key. Ignored once
    /// the set knows its count.
    void noteRecordCount(qint64 records);
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    /// Moves rows rows from the current record (or from the bookmark start when given).
    void move(qint64 rows, const QByteArray& start = {});
    /// Opaque; throws 3021 without a current record.
    QByteArray bookmark() const;
    /// Throws 3159-style 3265 when the bookmark does not belong to this set.
    void setBookmark(const QByteArray& bookmark);
    /// 0-based position of the current record, -1 without one.
    qint64 absolutePosition() const;
    void setAbsolutePosition(qint64 position);
    int editMode() const { return m_editMode; }

    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    Field& field(int index);
    /// Throws 3265 for an unknown name.
    Field& field(const QString& name);
    QList<Field*> fields();
    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    void setValue(const QString& name, const QVariant& value);
    void setValue(int index, const QVariant& value);

    /// Starts a new record with the field defaults and the next auto-increment value.
    void addNew();
    void edit();
    /// Writes the record. A rule violation throws and leaves the record in edit mode.
    void update();
    void cancelUpdate();
    /// Deletes the current record; the position stays on the deleted record until a move.
    void remove();
    /// Bookmark of the last added or changed record.
    QByteArray lastModified() const { return m_lastModified; }

    /// A second cursor over the same keys, positioned on no record.
    std::unique_ptr<Recordset> clone() const;
    /// Searches from the first record; criteria: an SQL condition.
    void findFirst(const QString& criteria);
    void findNext(const QString& criteria);
    void findLast(const QString& criteria);
    void findPrevious(const QString& criteria);
    bool noMatch() const { return m_noMatch; }
    /// Up to rows records from the current one as rows of values; moves past them.
    QList<QVariantList> getRows(qint64 rows);
    /// Runs the statement again (new parameter values are taken).
    void requery();
    void close();
    bool isOpen() const { return m_db != nullptr; }

    /// For the query window and the grids: the statement the set was opened on.
    QString source() const { return m_source; }
    /// The database the set was opened on; nullptr once closed.
    Database* database() const { return m_db; }

    /// Opens a set on db; Database::openRecordset and QueryDef::openRecordset call it. With
    /// keysLater, a set whose keys another connection can read (a sorted or filtered table)
    /// opens without them: see pendingKeys.
    static std::unique_ptr<Recordset> open(Database& db, const QString& source, int type,
        const QList<Parameter>& parameters, bool keysLater = false);
    /// For a set opened with keys later that has none yet: the statement that reads them, for a
    /// worker's own connection to the same file. Nothing else may be done with the set until
    /// setKeys has given them. Empty when the set has its keys.
    std::optional<KeyQuery> pendingKeys() const;
    /// For a set opened with keys later that has none yet, when its order is total: the
    /// statement that reads its first rows keys, the head of those pendingKeys' statement
    /// reads. nullopt otherwise (the statement limits its rows itself, or has no keys pending).
    std::optional<KeyQuery> pendingFirstKeys(qint64 rows) const;
    /// The keys read with pendingKeys' statement; the set is on its first record then. A set
    /// whose keys follow is completed in place: its position and its rows stay.
    void setKeys(std::vector<qint64> keys);
    /// The keys read with pendingFirstKeys' statement: the set opens on them and its other keys
    /// follow (setKeys). Until then it ends after them, its count is not known, and whatever
    /// needs every key reads them on the set's own connection.
    void setFirstKeys(std::vector<qint64> keys);
    /// Whether the set holds its first keys only and the rest is to follow.
    bool keysFollow() const;
    /// A set whose keys follow keeps those it has as all its records (their reading was
    /// cancelled or failed).
    void stopFollowing();

private:
    Recordset() = default;
    void openSource();
    void readKeys();
    void completeOpen();
    std::unique_ptr<RowCache> makeCache(const std::vector<RecordColumn>& columns) const;
    void makeFields(const std::vector<RecordColumn>& columns);
    /// The stored definition of a column's origin (see StoredField).
    const FieldDefinition* storedField(const QString& schema, const QString& table,
        const QString& column, QString& tableName) const;
    int indexOf(const QString& name) const;
    ErrorList* errorList() const;
    void requireRow() const;
    QVariantList currentRow() const;
    void requireOpen() const;
    void requireCurrent() const;
    void setPosition(qint64 position);
    void find(const QString& criteria, qint64 start, int direction);
    void beforeMove();
    QVariant defaultOf(const Field& field) const;

    Database* m_db = nullptr;
    const Connection* m_connection = nullptr; // the database's; checked on every read
    QString m_source;
    // Before the statements over them: the files named with IN stay attached until those end.
    std::shared_ptr<ExternalUse> m_externals; // shared with the clones
    QList<Parameter> m_parameters;
    QStringList m_parameterNames;
    int m_type = dbOpenDynaset;
    bool m_updatable = false;

    std::shared_ptr<const RecordSource> m_rows; // shared with the clones
    std::shared_ptr<Keyset> m_keys;
    std::unique_ptr<RowCache> m_cache;
    std::vector<RecordColumn> m_columns; // until the keys are read
    bool m_keysPending = false;
    std::vector<std::unique_ptr<Field>> m_fields;
    qint64 m_pos = -1; // -1 BOF, size() EOF
    quint64 m_keyShifts = 0; // the keys' shifts the cache's pages were read at
    bool m_onDeleted = false;
    int m_editMode = dbEditNone;
    QVariantList m_buffer;
    std::vector<bool> m_changed;
    qint64 m_editKey = 0;
    QByteArray m_lastModified;
    bool m_noMatch = false;
};

} // namespace kv::engine
