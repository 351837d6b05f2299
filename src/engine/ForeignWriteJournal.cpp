#include "engine/ForeignWriteJournal.h"

#include "engine/isam/IsamTable.h"

#include <algorithm>

namespace kv::engine {

void ForeignWriteJournal::begin(isam::IsamTable& table)
{
    // What is kept stays: a table shared by two virtual tables is begun by the second one in
    // the middle of the transaction of the first.
    m_undo = table.recordUndo();
}

void ForeignWriteJournal::newInterval()
{
    m_kept.clear();
    m_countKept = false;
}

void ForeignWriteJournal::beforeAppend()
{
    if (!m_undo || m_countKept)
        return;
    m_entries.push_back({ 0, m_undo->recordsInFile(), {} });
    m_countKept = true;
}

void ForeignWriteJournal::beforeChange(qint64 rowId)
{
    if (!m_undo || rowId < 1 || m_kept.contains(rowId))
        return;
    QByteArray bytes = m_undo->recordBytes(rowId);
    if (bytes.isEmpty())
        return; // no such record: the driver refuses the change itself
    m_entries.push_back({ rowId, 0, std::move(bytes) });
    m_kept.insert(rowId);
}

void ForeignWriteJournal::savepoint(int level)
{
    release(level);
    m_marks.push_back({ level, m_entries.size() });
    newInterval();
}

void ForeignWriteJournal::release(int level)
{
    // What was kept since stays: it belongs to the savepoint or transaction around.
    while (!m_marks.empty() && m_marks.back().level >= level)
        m_marks.pop_back();
}

void ForeignWriteJournal::rollbackTo(int level)
{
    while (!m_marks.empty() && m_marks.back().level > level)
        m_marks.pop_back();
    // A table that joined the transaction after that savepoint was as at its begin() then.
    undoTo(m_marks.empty() ? 0 : m_marks.back().position);
    newInterval();
}

void ForeignWriteJournal::rollback()
{
    m_marks.clear();
    undoTo(0);
    newInterval();
}

void ForeignWriteJournal::commit()
{
    m_entries.clear();
    m_marks.clear();
    newInterval();
}

void ForeignWriteJournal::undoTo(size_t position)
{
    // Newest first, so that a record changed in several savepoints ends as the oldest kept.
    while (m_entries.size() > position) {
        const Entry& e = m_entries.back();
        if (e.rowId == 0)
            m_undo->cutRecords(e.count);
        else
            m_undo->putRecordBytes(e.rowId, e.bytes);
        m_entries.pop_back();
    }
}

} // namespace kv::engine
