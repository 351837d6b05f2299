#include "engine/model/RecordCounter.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "engine/model/WalkCache.h"

#include <QMutex>
#include <atomic>

namespace kv::engine {

struct RecordCounter::Job {
    std::atomic<bool> cancelled { false };
    std::atomic<qint64> records { -1 };
    // The counter while it wants the answer; guarded, so that it cannot go away while the
    // worker posts to it.
    QMutex mutex;
    RecordCounter* receiver = nullptr;
};

namespace {
QString countStatement(QString source)
{
    source = source.trimmed();
    while (source.endsWith(QLatin1Char(';')))
        source.chop(1);
    return QStringLiteral("SELECT Count(*) FROM (%1) AS Zaehlung").arg(source);
}

qint64 count(const QString& path, const QString& connect, const QString& source,
    const std::atomic<bool>& cancelled)
{
    // Everything opened here belongs to this thread and is closed before it ends.
    Workspace ws;
    auto db = ws.openDatabase(path, false, true, connect);
    db->setCancelFlag(&cancelled);
    if (cancelled)
        return -1;
    cacheForOneWalk(*db);
    const QVariantList row = db->firstRow(countStatement(source));
    return row.isEmpty() ? -1 : row.constFirst().toLongLong();
}
} // namespace

RecordCounter::RecordCounter(QObject* parent)
    : QObject(parent)
{ }

RecordCounter::~RecordCounter()
{
    cancel();
}

void RecordCounter::start(
    const QString& path, const QString& connect, const QString& source, quint64 generation)
{
    cancel();
    auto job = std::make_shared<Job>();
    job->receiver = this;
    m_job = job;
    m_thread = std::thread([job, path, connect, source, generation] {
        qint64 records = -1;
        try {
            records = count(path, connect, source, job->cancelled);
        } catch (const EngineError&) {
            records = -1; // locked, gone or a statement the count cannot wrap
        }
        job->records = records;
        QMutexLocker lock(&job->mutex);
        if (RecordCounter* to = job->receiver; to && !job->cancelled) {
            const std::weak_ptr<Job> self = job;
            QMetaObject::invokeMethod(
                to,
                [to, self, generation, records] {
                    // Queued: by now the count may have been cancelled or another started.
                    if (to->m_job && to->m_job == self.lock())
                        to->finish(generation, records);
                },
                Qt::QueuedConnection);
        }
    });
}

void RecordCounter::finish(quint64 generation, qint64 records)
{
    // The worker has posted its last word and ends.
    if (m_thread.joinable())
        m_thread.join();
    m_job.reset();
    Q_EMIT counted(generation, records);
}

qint64 RecordCounter::wait()
{
    if (!m_job)
        return -1;
    if (m_thread.joinable())
        m_thread.join();
    const qint64 records = m_job->records;
    // The answer posted meanwhile finds another job or none and is dropped.
    m_job.reset();
    return records;
}

void RecordCounter::cancel()
{
    if (m_job) {
        m_job->cancelled = true;
        QMutexLocker lock(&m_job->mutex);
        m_job->receiver = nullptr;
    }
    // The worker stops at its next check of the flag; opening the file may take a moment.
    if (m_thread.joinable())
        m_thread.join();
    m_job.reset();
}

} // namespace kv::engine
