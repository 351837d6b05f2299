#include "engine/isam/DbfTable.h"
#include "engine/isam/IsamError.h"

namespace kv::engine::isam {

QByteArray DbfTable::recordBytes(qint64 rowId)
{
    QByteArray record;
    if (rowId < 1 || readRecords(rowId, 1, record) != 1)
        return {};
    return record;
}

void DbfTable::putRecordBytes(qint64 rowId, const QByteArray& bytes)
{
    if (rowId < 1 || rowId > m_header.recordCount || bytes.size() != m_header.recordLength)
        return;
    writePending();
    writeRecordStart(rowId, bytes.constData(), bytes.size());
    m_liveCount = -1;
}

void DbfTable::cutRecords(qint64 count)
{
    if (count < 0 || count >= m_header.recordCount)
        return;
    writePending();
    // flush() writes the new count and the end mark after the last record.
    if (!m_file.resize(m_header.headerLength + count * m_header.recordLength))
        throw IsamError::ioError(m_path, m_file.errorString());
    m_header.recordCount = count;
    m_liveCount = -1;
    m_dirty = true;
    ++m_generation;
}

} // namespace kv::engine::isam
