#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kv::engine::isam {

/// What a driver that writes records in place offers so that its writes can be taken back: a
/// record's bytes before a change, put back later, and the file cut back to a record count.
/// Memo blocks written meanwhile stay in the memo file, unreferenced.
class RecordUndo {
public:
    virtual ~RecordUndo() = default;
    /// Records in the file, deleted ones and those not yet written included.
    virtual qint64 recordsInFile() const = 0;
    /// The stored bytes of a record; empty when there is none.
    virtual QByteArray recordBytes(qint64 rowId) = 0;
    virtual void putRecordBytes(qint64 rowId, const QByteArray& bytes) = 0;
    /// Drops every record after the first count.
    virtual void cutRecords(qint64 count) = 0;

protected:
    RecordUndo() = default;
    RecordUndo(const RecordUndo&) = default;
    RecordUndo& operator=(const RecordUndo&) = default;
};

} // namespace kv::engine::isam
