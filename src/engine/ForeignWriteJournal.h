#pragma once

#include <QByteArray>
#include <QSet>
#include <vector>

namespace kv::engine {

namespace isam {
class IsamTable;
class RecordUndo;
} // namespace isam

/// Takes back what the writes into one foreign table did since its transaction or one of its
/// savepoints began, where SQLite's own journal cannot reach: the drivers write straight into
/// the file. It keeps the record count before the first append and each changed record's bytes
/// before its first change, once per savepoint, so that a statement that fails inside a
/// transaction leaves the file as it found it, like SQLite's tables. Tables whose driver cannot
/// take writes back keep them.
class ForeignWriteJournal {
public:
    /// The table whose writes are kept from now on; the journal is empty after commit() and
    /// rollback(), so a transaction begins with it empty.
    void begin(isam::IsamTable& table);
    /// Called before the driver writes.
    void beforeAppend();
    void beforeChange(qint64 rowId);

    /// SQLite's savepoint levels, as the virtual-table savepoint calls number them.
    void savepoint(int level);
    void release(int level);
    /// Back to the state of savepoint level, which stays; throws the driver's IsamError.
    void rollbackTo(int level);
    /// Back to the state at begin(); the journal is empty then.
    void rollback();
    /// The writes stay; the journal is empty.
    void commit();

private:
    struct Entry {
        qint64 rowId = 0; ///< 0: the record count before appends
        qint64 count = 0;
        QByteArray bytes;
    };
    struct Mark {
        int level = 0;
        size_t position = 0;
    };
    void undoTo(size_t position);
    void newInterval();

    isam::RecordUndo* m_undo = nullptr;
    std::vector<Entry> m_entries;
    std::vector<Mark> m_marks;
    QSet<qint64> m_kept; ///< rows whose bytes are kept since the last savepoint
    bool m_countKept = false;
};

} // namespace kv::engine
