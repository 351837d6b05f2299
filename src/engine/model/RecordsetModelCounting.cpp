#include "engine/model/RecordsetModel.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"

#include <QTimer>
#include <limits>

// The number of rows of a set that does not know it yet: the worker's count, rows read on as
// the view scrolls, and the count made final on demand.

namespace kv::engine {

namespace {
// Rows fetchMore adds at least; the set reads its keys in growing steps anyway.
constexpr qint64 FetchStep = 4096;
constexpr qint64 MostRows = std::numeric_limits<int>::max() - 2;
// A count nobody showed rows for starts after this pause.
constexpr int CountAfterMs = 200;
} // namespace

void RecordsetModel::startCount()
{
    m_countWanted = false;
    m_countPosted = false;
    if (m_countFinal || !m_rs || !m_rs->database())
        return;
    if (m_counter.running()) {
        launchCount(); // again: a record changed under the running count
        return;
    }
    m_countWanted = true;
    QTimer::singleShot(CountAfterMs, this, [this, generation = m_generation] {
        if (generation == m_generation)
            beginCount();
    });
}

void RecordsetModel::countAfterFirstRows() const
{
    // Queued: it starts after the paint that asked for the rows.
    m_countPosted = true;
    auto* self = const_cast<RecordsetModel*>(this);
    QMetaObject::invokeMethod(
        self,
        [self, generation = m_generation] {
            if (generation == self->m_generation)
                self->beginCount();
        },
        Qt::QueuedConnection);
}

void RecordsetModel::beginCount()
{
    if (!m_countWanted)
        return; // started or cancelled meanwhile
    m_countWanted = false;
    if (!m_countFinal && m_rs && m_rs->database())
        launchCount();
}

void RecordsetModel::launchCount()
{
    const Database& db = *m_rs->database();
    m_counter.start(db.name(), db.connect(), m_rs->source(), m_generation);
}

void RecordsetModel::counted(quint64 generation, qint64 records)
{
    if (generation != m_generation || m_countFinal || !m_rs)
        return; // for a set shown before, or the number became final meanwhile
    if (records < 0) {
        // The rows grow as the view reads on; Ctrl+End counts here.
        Q_EMIT zaehlenBeendet();
        return;
    }
    takeCount(records);
}

void RecordsetModel::anzahlErmitteln()
{
    if (m_countFinal || !m_rs)
        return;
    // The worker is well on its way; counting again here would start from the beginning.
    m_countWanted = false;
    takeCount(m_counter.wait());
}

void RecordsetModel::takeCount(qint64 counted)
{
    qint64 records = m_records;
    try {
        // The set goes to its last rows by this number; another program may have added or
        // removed rows since it was counted, which the set learns when its keys meet.
        m_rs->noteRecordCount(counted);
        records = m_rs->recordCount();
    } catch (const EngineError& e) {
        // The rows known so far stay; reading on is tried again later.
        noteReadError(m_records, e.number(), e.description());
        Q_EMIT zaehlenBeendet();
        return;
    }
    setRecords(records);
    m_countFinal = true;
    Q_EMIT zaehlenBeendet();
}

quint64 RecordsetModel::countElsewhere()
{
    // A worker already under way finishes sooner than a walk that starts now, and stopping it
    // would wait for its thread.
    if (m_counter.running())
        return 0;
    m_countWanted = false;
    return m_generation;
}

void RecordsetModel::countFrom(quint64 generation, qint64 records)
{
    if (generation != m_generation || m_countFinal || !m_rs)
        return;
    if (records >= 0)
        takeCount(records);
    else
        startCount();
}

void RecordsetModel::zaehlenAbbrechen()
{
    // The number stays open: scrolling on reads more rows, Ctrl+End counts in this thread.
    m_countWanted = false;
    m_counter.cancel();
}

void RecordsetModel::beginInsertRows(const QModelIndex& parent, int first, int last)
{
    ++m_announcing;
    Rastermodell::beginInsertRows(parent, first, last);
}

void RecordsetModel::endInsertRows()
{
    Rastermodell::endInsertRows();
    --m_announcing;
}

void RecordsetModel::beginRemoveRows(const QModelIndex& parent, int first, int last)
{
    ++m_announcing;
    Rastermodell::beginRemoveRows(parent, first, last);
}

void RecordsetModel::endRemoveRows()
{
    Rastermodell::endRemoveRows();
    --m_announcing;
}

void RecordsetModel::beginResetModel()
{
    ++m_announcing;
    Rastermodell::beginResetModel();
}

void RecordsetModel::endResetModel()
{
    Rastermodell::endResetModel();
    --m_announcing;
}

bool RecordsetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_countFinal && m_rs && m_records < MostRows && m_announcing == 0
        && !connectionBusy();
}

void RecordsetModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    qint64 known = m_records;
    bool complete = false;
    try {
        if (!m_reader)
            m_reader = m_rs->clone();
        m_readerRow = -1;
        // Reaching for a row further on makes the set read its keys up to there.
        try {
            m_reader->setAbsolutePosition(m_records + FetchStep - 1);
        } catch (const EngineError& e) {
            if (e.number() != err::InvalidArgument)
                throw;
        }
        known = m_rs->knownRecordCount();
        complete = m_rs->recordCountKnown();
    } catch (const EngineError& e) {
        noteReadError(m_records, e.number(), e.description());
        return;
    }
    // Rows the worker counted beyond these come with its answer.
    if (known > m_records)
        setRecords(known);
    if (complete) {
        m_counter.cancel();
        setRecords(m_rs->recordCount());
        m_countFinal = true;
        Q_EMIT zaehlenBeendet();
    }
}

void RecordsetModel::recountRows()
{
    if (!m_rs || !m_countFinal || m_announcing > 0)
        return;
    try {
        if (m_rs->recordCountKnown())
            setRecords(m_rs->recordCount());
    } catch (const EngineError& e) {
        noteReadError(m_records, e.number(), e.description());
    }
}

void RecordsetModel::setRecords(qint64 records)
{
    const int rows = int(std::clamp<qint64>(records, 0, MostRows));
    if (rows == m_records)
        return;
    if (rows > m_records) {
        // Before a new record in progress and the add-new row, which move down.
        beginInsertRows({}, m_records, rows - 1);
        const int added = rows - m_records;
        m_records = rows;
        if (m_edit.isNew)
            m_edit.row += added;
        endInsertRows();
        return;
    }
    // Fewer than thought: another program deleted records.
    if (m_edit.row >= rows && !m_edit.isNew)
        zeileVerwerfen();
    beginRemoveRows({}, rows, m_records - 1);
    const int removed = m_records - rows;
    m_records = rows;
    if (m_edit.isNew)
        m_edit.row -= removed;
    if (m_current >= rows)
        m_current = rows - 1;
    endRemoveRows();
}

} // namespace kv::engine
